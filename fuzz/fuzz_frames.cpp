// Bytes from the wire into every decoder of the link: identification, the full and dashboard
// streams, and fault codes. The first bytes choose the gauge selection and the units, the rest
// is the chunk. Nothing may crash or read outside the chunk, whatever the ECU or the cable sends.
#include "app/Dialogs.h"
#include "app/ProgramState.h"
#include "config/SettingsDefaults.h"
#include "config/SettingsStore.h"
#include "diagnostics/FaultCodes.h"
#include "link/Clock.h"
#include "link/EcuLink.h"
#include "link/LiveData.h"
#include "link/SerialPort.h"

#include <cstddef>
#include <cstdint>

namespace {

class NullPort : public SerialPort
{
public:
    PortOpenError open(const PortConfig &) override { return {}; }
    void close() override {}
    bool isOpen() const override { return false; }
    bool write(const QByteArray &) override { return false; }
    qint64 bytesWaiting() const override { return 0; }

protected:
    QByteArray takeAll() override { return {}; }
    void dropAll() override {}
};

class StillClock : public Clock
{
public:
    quint32 tickCount() const override { return 0; }
    void sleep(int) override {}
};

class SilentDialogs : public Dialogs
{
public:
    void warning(const QString &) override {}
    void beep() override {}
    std::optional<quint32> chooseColour(quint32) override { return std::nullopt; }
    QString saveFileName(const QString &, const QString &, const QString &,
                         const QString &) override
    {
        return {};
    }
};

constexpr size_t kChoiceBytes = 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < kChoiceBytes)
        return 0;
    MemorySettingsStore settings;
    applyStartupDefaults(settings);
    for (int g = 0; g < 12; ++g)
        settings.save("Setup", QString("Gauge%1").arg(g), QString::number(data[g] % 24));
    const char *registers[] = {"Register13", "Register1E", "Register1F", "Register21"};
    for (int r = 0; r < 4; ++r)
        settings.save("Setup", registers[r], QString::number(data[12 + r] & 1));
    settings.save("Dashboard", "Gauge0", QString::number(data[16] % 24));
    settings.save("Dashboard", "Gauge1", QString::number(data[17] % 24));

    ProgramState state;
    state.fahr = data[18] & 1;
    state.mph = data[18] & 2;
    state.OBDIImodel = data[18] & 4;
    state.SpeedCorrect = 0.5f + data[19] / 100.0f;
    getSetup(state, settings);

    const QByteArray chunk(reinterpret_cast<const char *>(data + kChoiceBytes),
                           int(size - kChoiceBytes));
    getFullData(state, chunk);
    getDashData(state, chunk);

    FaultCodeBuffer codes;
    getSelfDiagData(codes, chunk);
    (void)faultCodeListing(codes);

    NullPort port;
    StillClock clock;
    SilentDialogs dialogs;
    EcuLink link(port, clock, settings, dialogs, state);
    link.getConnectData(chunk);
    (void)LiveData::fullDataRequest(state);
    (void)LiveData::dashboardRequest(state);
    return 0;
}
