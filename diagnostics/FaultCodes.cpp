#include "diagnostics/FaultCodes.h"

#include "link/EcuLink.h"
#include "link/Protocol.h"
#include "link/SerialPort.h"

namespace {

constexpr int kThreshold = 100;
constexpr qint32 kSettle = 50;
constexpr int kScanPositions = 91; // where a frame may start in a chunk

struct FaultText
{
    quint8 code;
    const char *text;
    bool ownLineForStarts; // the starts text goes on the next line
};

const FaultText kFaults[] = {
    {0x11, "Code 11: Camshaft Angle Sensor circuit (CAS)", false},
    {0x12, "Code 12: Air-Flow Meter circuit (AFM)", false},
    {0x13, "Code 13: Engine Coolant Temperature Sensor Circuit", true},
    {0x14, "Code 14: Speed Sensor circuit", false},
    {0x21, "Code 21: Ignition signal circuit", false},
    {0x26, "Code 26: Boost Pressure sensor", false},
    {0x31, "Code 31: ECU - Control Unit", false},
    {0x32, "Code 32: EGR function", false},
    {0x33, "Code 33: O2 Sensor", false},
    {0x34, "Code 34: Detonation Sensor circuit", false},
    {0x35, "Code 35: EGR Temp. Sensor", false},
    {0x42, "Code 42: Fuel Temperature Sensor circuit", false},
    {0x43, "Code 43: Throttle Position Sensor Circuit", true},
    {0x45, "Code 45: Injector leak", false},
    {0x51, "Code 51: Injector circuit", false},
    {0x53, "Code 53: O2 Sensor", false},
    {0x54, "Code 54: Signal circuit from the automatic transmission", false},
};

constexpr quint8 kNoFaults = 0x55;
const char *const kLineEnd = "\r\n";

QString codeLine(quint8 code)
{
    for (const FaultText &f : kFaults) {
        if (f.code == code)
            return QString::fromLatin1(f.text) + (f.ownLineForStarts ? kLineEnd : "");
    }
    return QStringLiteral("Code ") + QString::number(code, 16).toUpper();
}

} // namespace

void iniSelfDiag(EcuLink &link)
{
    link.port().setReceiveThreshold(kThreshold);
    link.write(Protocol::readFaultCodes());
    link.WAITmS(kSettle);
    link.port().discardInput();
}

void getSelfDiagData(FaultCodeBuffer &buffer, const QByteArray &Rdata)
{
    const int scanEnd = qMin<int>(kScanPositions, Rdata.size());
    int p = -1;
    for (int i = 0; i < scanEnd; ++i) {
        if (quint8(Rdata[i]) == Protocol::kFrameStart) {
            p = i;
            break;
        }
    }
    if (p < 0 || p + 1 >= Rdata.size())
        return;
    const int n = quint8(Rdata[p + 1]);
    buffer.bytes[0] = quint8(n);
    // Only bytes that arrived are copied, and never more than the buffer holds.
    for (int k = 1; k <= n && k <= FaultCodeBuffer::kDataBytes && p + 1 + k < Rdata.size(); ++k)
        buffer.bytes[k] = quint8(Rdata[p + 1 + k]);
}

QString faultCodeListing(const FaultCodeBuffer &diagCodes)
{
    QString text;
    const int n = diagCodes.bytes[0];
    // A pair must lie wholly inside the buffer: a longer frame lists its first 25 pairs.
    for (int i = 1; i <= n && i + 1 <= FaultCodeBuffer::kDataBytes; i += 2) {
        const quint8 code = diagCodes.bytes[i];
        if (code == kNoFaults) {
            text = QStringLiteral("Code 55: No Faults");
            continue;
        }
        text +=
            codeLine(code) +
            QStringLiteral(" >Car started %1 times with this fault").arg(diagCodes.bytes[i + 1]) +
            QLatin1String(kLineEnd);
    }
    return text;
}

QString resettingText()
{
    return QStringLiteral("****  RESETTING ECU  ****");
}
