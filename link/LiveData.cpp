#include "link/LiveData.h"

#include "app/Numbers.h"
#include "app/ProgramState.h"
#include "link/EcuLink.h"
#include "link/Protocol.h"
#include "link/SerialPort.h"

#include <optional>

using Numbers::Dec;

namespace {

constexpr int kRequestThreshold = 100; // while the request's echoes come back
constexpr qint32 kFullDataSettle = 50;
constexpr qint32 kDashboardSettle = 10;

// The optional on/off registers, in request and frame order.
constexpr quint8 kOptionalRegisters[kOptionalRegisterCount] = {0x13, 0x1E, 0x1F, 0x21};

enum Entry {
    RPM = 0,
    AirFlow = 1,
    AirFlowRH = 2,
    WaterTemp = 3,
    O2 = 4,
    O2RH = 5,
    Speed = 6,
    Battery = 7,
    Throttle = 8,
    FuelTemp = 9,
    AirTemp = 10,
    EGT = 11,
    Injector = 12,
    Timing = 13,
    AAC = 14,
    InjectorRH = 19,
    DutyCycle = 20,
    DutyCycleRH = 21,
};

// Reads values from a chunk; any read past its end, or a 16-bit value that overflows, ends the
// decoding of the chunk (values already stored stay).
class FrameReader
{
public:
    FrameReader(const QByteArray &chunk, int position) : m_chunk(chunk), m_p(position) {}

    std::optional<int> byte()
    {
        if (m_p >= m_chunk.size())
            return std::nullopt;
        return quint8(m_chunk[m_p++]);
    }
    std::optional<int> word()
    {
        if (m_p + 1 >= m_chunk.size() || quint8(m_chunk[m_p]) >= 0x80)
            return std::nullopt;
        const int raw = quint8(m_chunk[m_p]) * 256 + quint8(m_chunk[m_p + 1]);
        m_p += 2;
        return raw;
    }

private:
    const QByteArray &m_chunk;
    int m_p;
};

// Where the first frame starting 0xFF, count begins within offsets 0..lastStart; -1 when none.
int findFrame(const QByteArray &chunk, quint8 count, int lastStart)
{
    for (int i = 0; i <= lastStart; ++i) {
        if (i + 1 >= chunk.size())
            return -1;
        if (quint8(chunk[i]) == Protocol::kFrameStart && quint8(chunk[i + 1]) == count)
            return i;
    }
    return -1;
}

float temperature(const ProgramState &state, int b)
{
    return state.fahr ? Dec((b - 50) * 1.8 + 32, 1) : float(b - 50);
}

float dutyCycle(const ProgramState &state, int injector)
{
    const float pulse = state.LiveValues[RPM] / 1200.0f * state.LiveValues[injector];
    return Dec(pulse, 2);
}

// Decodes catalogue entry k into LiveValues; false when the chunk gave out.
bool decodeEntry(ProgramState &state, int k, FrameReader &in)
{
    float &out = state.LiveValues[k];
    switch (k) {
    case RPM:
    case AirFlow:
    case AirFlowRH:
    case Injector:
    case InjectorRH: {
        const std::optional<int> raw = in.word();
        if (!raw)
            return false;
        const double scale = k == RPM ? 12.5 : (k == AirFlow || k == AirFlowRH) ? 0.005 : 0.01;
        out = Dec(*raw * scale, k == RPM ? 0 : 2);
        return true;
    }
    case DutyCycle:
        out = dutyCycle(state, Injector);
        return true;
    case DutyCycleRH:
        out = dutyCycle(state, InjectorRH);
        return true;
    default:
        break;
    }

    const std::optional<int> b = in.byte();
    if (!b)
        return false;
    switch (k) {
    case WaterTemp:
    case FuelTemp:
    case AirTemp:
        out = temperature(state, *b);
        break;
    case Speed:
        if (state.mph)
            out = Dec(*b * 2 / 1.6 * state.SpeedCorrect, 1);
        else
            out = Dec(float(*b * 2) * state.SpeedCorrect,
                      1); // single precision, as the unit reads it
        break;
    case Battery:
        out = Dec(*b * 0.08, 1);
        break;
    case Throttle:
    case EGT:
        out = Dec(*b * 0.02, 2);
        break;
    case Timing:
        out = float(110 - *b);
        break;
    case AAC:
        out = Dec(*b / 2.55, 0);
        break;
    default: // O2 sensors and the A/F base values are shown raw
        out = float(*b);
        break;
    }
    return true;
}

QString onOff(int bits, int mask)
{
    return (bits & mask) ? QStringLiteral("On") : QStringLiteral("Off");
}

// Sets the indicator texts that one on/off register carries.
void decodeSwitches(ProgramState &state, quint8 reg, int b)
{
    auto &flags = state.FlagText;
    switch (reg) {
    case 0x13:
        flags[0] = onOff(b, 0x01); // closed throttle
        flags[1] = onOff(b, 0x08); // power steering
        flags[2] = onOff(b, 0x10); // air con switch
        flags[3] = onOff(b, 0x02); // start signal
        flags[4] = onOff(b, 0x04); // neutral
        break;
    case 0x1E: {
        flags[5] = onOff(b, 0x80); // air con relay
        flags[6] = onOff(b, 0x40); // fuel pump
        flags[8] = onOff(b, 0x20); // valve timing
        static const char *const fan[4] = {"Off", "Low", "High", "On"};
        flags[7] = QString::fromLatin1(fan[b & 0x03]);
        break;
    }
    case 0x1F:
        flags[9] = onOff(b, 0x20);  // waste gate solenoid
        flags[11] = onOff(b, 0x01); // EGR solenoid
        break;
    case 0x21:
        flags[10] = (b & 0x80) ? QStringLiteral("Lean") : QStringLiteral("Rich");
        break;
    default:
        break;
    }
}

void appendEntryRegisters(QByteArray &registers, const GaugeInfo &g)
{
    if (g.size() >= 1)
        registers.append(char(g.iniStr(0)));
    if (g.size() == 2)
        registers.append(char(g.iniStr(1)));
}

} // namespace

namespace LiveData {

QByteArray fullDataRequest(const ProgramState &state)
{
    QByteArray registers;
    for (int g = 0; g < kGaugeCount; ++g)
        appendEntryRegisters(registers, state.Gauges[state.GaugeSel[g]]);
    for (int r = 0; r < kOptionalRegisterCount; ++r) {
        if (state.GaugeSel[kGaugeCount + r] == 1)
            registers.append(char(kOptionalRegisters[r]));
    }
    return Protocol::readRegisters(registers);
}

QByteArray dashboardRequest(const ProgramState &state)
{
    QByteArray registers("\x00\x01\x0B", 3); // RPM high, RPM low, speed
    for (int d = 0; d < 2; ++d)
        appendEntryRegisters(registers, state.Gauges[state.DashSel[d]]);
    return Protocol::readRegisters(registers);
}

int fullDataThreshold(const ProgramState &state)
{
    return 2 * (state.FrameLen + 2);
}

int dashboardThreshold(const ProgramState &state)
{
    // Two full-stream frames' worth, but never less than two dashboard frames: a chunk must be
    // able to hold one whole dashboard frame even when the full selection is nearly empty.
    return qMax(fullDataThreshold(state), 2 * (state.DashFrameLen + 3 + 2));
}

} // namespace LiveData

void iniFullData(EcuLink &link, const ProgramState &state)
{
    if (state.FrameLen == 0)
        return; // only derived values selected: there is nothing to ask for
    link.port().setReceiveThreshold(kRequestThreshold);
    link.write(LiveData::fullDataRequest(state));
    link.WAITmS(kFullDataSettle);
    link.port().discardInput();
    link.port().setReceiveThreshold(LiveData::fullDataThreshold(state));
}

void getFullData(ProgramState &state, const QByteArray &Rdata)
{
    const int start = findFrame(Rdata, state.FrameLen, state.FrameLen + 2);
    if (start < 0)
        return;
    FrameReader in(Rdata, start + 2);
    for (int g = 0; g < kGaugeCount; ++g) {
        if (!decodeEntry(state, state.GaugeSel[g], in))
            return;
    }
    for (int r = 0; r < kOptionalRegisterCount; ++r) {
        if (state.GaugeSel[kGaugeCount + r] != 1)
            continue;
        const std::optional<int> b = in.byte();
        if (!b)
            return;
        decodeSwitches(state, kOptionalRegisters[r], *b);
    }
}

void iniDashboard(EcuLink &link, const ProgramState &state)
{
    link.port().setReceiveThreshold(kRequestThreshold);
    link.write(LiveData::dashboardRequest(state));
    link.WAITmS(kDashboardSettle);
    link.port().discardInput();
    link.port().setReceiveThreshold(LiveData::dashboardThreshold(state));
}

void getDashData(ProgramState &state, const QByteArray &Rdata)
{
    const int start = findFrame(Rdata, quint8(state.DashFrameLen + 3), state.DashFrameLen + 2);
    if (start < 0)
        return;
    FrameReader in(Rdata, start + 2);
    if (!decodeEntry(state, RPM, in) || !decodeEntry(state, Speed, in))
        return;
    for (int d = 0; d < 2; ++d) {
        if (!decodeEntry(state, state.DashSel[d], in))
            return;
    }
}
