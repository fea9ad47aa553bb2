#include "config/Catalogue.h"

#include "app/ProgramState.h"
#include "config/SettingsReaders.h"

namespace {

struct CatalogueRow
{
    quint8 size;
    quint8 reg0;
    quint8 reg1;
    const char *name;
    qint32 minVal, maxVal, tickerNum, subTickerNum;
    qint16 decPointNum;
};

// Unit-dependent rows have two forms; the second is used when the unit flag is on.
struct UnitRow
{
    int index;
    bool ProgramState::*flag;
    CatalogueRow alternative;
};

const std::array<CatalogueRow, kCatalogueSize> kRows = {{
    {2, 0x00, 0x01, "RPM", 0, 8000, 8, 5, 0},
    {2, 0x04, 0x05, "Air Flow", 0, 6, 6, 10, 2},
    {2, 0x06, 0x07, "Air Flow RH", 0, 6, 6, 10, 2},
    {1, 0x08, 0, "Water Temp C", 0, 120, 12, 5, 0},
    {1, 0x09, 0, "O2 Sensor", 0, 100, 10, 5, 0},
    {1, 0x0A, 0, "O2 Sensor RH", 0, 100, 10, 5, 0},
    {1, 0x0B, 0, "Speed kph", 0, 240, 12, 4, 1},
    {1, 0x0C, 0, "Battery", 6, 16, 10, 5, 1},
    {1, 0x0D, 0, "Throttle", 0, 6, 6, 10, 2},
    {1, 0x0F, 0, "Fuel Temp C", 0, 120, 12, 5, 0},
    {1, 0x11, 0, "Air Temp C", 0, 120, 12, 5, 0},
    {1, 0x12, 0, "EGT", 0, 6, 6, 10, 2},
    {2, 0x14, 0x15, "Injector", 0, 40, 8, 5, 2},
    {1, 0x16, 0, "Timing", 0, 70, 7, 10, 0},
    {1, 0x17, 0, "AAC", 0, 100, 10, 5, 0},
    {1, 0x1A, 0, "A/F Base", 50, 150, 10, 5, 0},
    {1, 0x1B, 0, "A/F Base RH", 50, 150, 10, 5, 0},
    {1, 0x1C, 0, "A/F Base SL", 50, 150, 10, 5, 0},
    {1, 0x1D, 0, "A/F Base SL RH", 50, 150, 10, 5, 0},
    {2, 0x22, 0x23, "Injector RH", 0, 40, 8, 5, 2},
    {0, 0, 0, "Duty Cycle", 0, 110, 11, 5, 2},
    {0, 0, 0, "Duty Cycle RH", 0, 110, 11, 5, 2},
    {1, 0x35, 0, "O2 Sensor B1", 0, 100, 10, 5, 0},
    {1, 0x36, 0, "O2 Sensor B2", 0, 100, 10, 5, 0},
}};

const std::array<UnitRow, 4> kUnitRows = {{
    {3, &ProgramState::fahr, {1, 0x08, 0, "Water Temp F", 20, 300, 14, 4, 0}},
    {6, &ProgramState::mph, {1, 0x0B, 0, "Speed mph", 0, 150, 15, 5, 1}},
    {9, &ProgramState::fahr, {1, 0x0F, 0, "Fuel Temp F", 20, 300, 14, 4, 0}},
    {10, &ProgramState::fahr, {1, 0x11, 0, "Air Temp F", 20, 300, 14, 4, 0}},
}};

const CatalogueRow &rowFor(const ProgramState &state, int index)
{
    for (const UnitRow &u : kUnitRows) {
        if (u.index == index && state.*u.flag)
            return u.alternative;
    }
    return kRows[index];
}

void fill(GaugeInfo &g, const CatalogueRow &row)
{
    g.setSize(row.size);
    if (row.size >= 1)
        g.setIniStr(0, row.reg0);
    if (row.size == 2)
        g.setIniStr(1, row.reg1);
    g.setName(QString::fromLatin1(row.name));
    g.setMinVal(row.minVal);
    g.setMaxVal(row.maxVal);
    g.setTickerNum(row.tickerNum);
    g.setSubTickerNum(row.subTickerNum);
    g.setDecPointNum(row.decPointNum);
}

} // namespace

void GaugeInfo::setDecPointNum(qint32 dPointN)
{
    if (dPointN < -32768 || dPointN > 32767)
        throw std::overflow_error("decimals outside 16 bits");
    m_decPointNum = static_cast<qint16>(dPointN);
}

int GaugeInfo::checkedRegister(int i)
{
    if (i < 0 || i > 1)
        throw std::out_of_range("register index above 1");
    return i;
}

const std::array<const char *, kCatalogueSize> &parameterChoiceList()
{
    static const std::array<const char *, kCatalogueSize> list = {
        "RPM",
        "Air Flow",
        "Air Flow Right Hand",
        "Water Temperature",
        "O2 Sensor",
        "O2 Sensor Right Hand",
        "Speed",
        "Battery Voltage",
        "Throttle Position Sensor",
        "Fuel Temperature",
        "Intake Air Temperature",
        "Exhaust Gas Temperature",
        "Injector Time",
        "Ignition Timing",
        "AAC Valve",
        "Air Fuel Base",
        "Air Fuel Base Right Hand",
        "Air Fuel Base Self Learn",
        "Air Fuel Base Self Learn Right Hand",
        "Injector Time Right Hand",
        "Duty Cycle (require RPM & Inj)",
        "Duty Cycle RH (require RPM & Inj RH)",
        "O2 Sensor B1",
        "O2 sensor B2",
    };
    return list;
}

void getSetup(ProgramState &state, const SettingsStore &store)
{
    state.FrameLen = 0;
    state.DashFrameLen = 0;
    for (int k = 0; k < kCatalogueSize; ++k)
        fill(state.Gauges[k], rowFor(state, k));

    const QString setup = QStringLiteral("Setup");
    for (int g = 0; g < kGaugeCount; ++g)
        state.GaugeSel[g] =
            SettingsReaders::catalogueIndex(store, setup, QStringLiteral("Gauge%1").arg(g));
    const char *const registerKeys[kOptionalRegisterCount] = {"Register13", "Register1E",
                                                              "Register1F", "Register21"};
    for (int r = 0; r < kOptionalRegisterCount; ++r)
        state.GaugeSel[kGaugeCount + r] =
            SettingsReaders::flagByte(store, setup, QString::fromLatin1(registerKeys[r]));

    const QString dashboard = QStringLiteral("Dashboard");
    for (int d = 0; d < 2; ++d)
        state.DashSel[d] =
            SettingsReaders::catalogueIndex(store, dashboard, QStringLiteral("Gauge%1").arg(d));

    for (int g = 0; g < kGaugeCount; ++g)
        state.FrameLen += state.Gauges[state.GaugeSel[g]].size();
    for (int r = 0; r < kOptionalRegisterCount; ++r)
        state.FrameLen += state.GaugeSel[kGaugeCount + r];
    for (int d = 0; d < 2; ++d)
        state.DashFrameLen += state.Gauges[state.DashSel[d]].size();
}
