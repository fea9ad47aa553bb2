#pragma once

#include <QString>
#include <array>
#include <stdexcept>

class SettingsStore;
struct ProgramState;

constexpr int kCatalogueSize = 24;
constexpr int kGaugeCount = 12;
constexpr int kOptionalRegisterCount = 4;

// One catalogue record: a parameter's name, the ECU registers that carry it and its gauge scale.
class GaugeInfo
{
public:
    quint8 size() const { return m_size; }
    void setSize(quint8 newSize) { m_size = newSize; }
    QString name() const { return m_name; }
    void setName(const QString &newName) { m_name = newName; }
    quint8 iniStr(int i) const { return m_iniStr.at(checkedRegister(i)); }
    void setIniStr(int i, quint8 newIniStr) { m_iniStr.at(checkedRegister(i)) = newIniStr; }
    qint32 minVal() const { return m_minVal; }
    void setMinVal(qint32 minV) { m_minVal = minV; }
    qint32 maxVal() const { return m_maxVal; }
    void setMaxVal(qint32 maxV) { m_maxVal = maxV; }
    qint32 tickerNum() const { return m_tickerNum; }
    void setTickerNum(qint32 tickerN) { m_tickerNum = tickerN; }
    qint32 subTickerNum() const { return m_subTickerNum; }
    void setSubTickerNum(qint32 subTickerN) { m_subTickerNum = subTickerN; }
    qint32 decPointNum() const { return m_decPointNum; }
    // Decimals are kept in 16 bits; a value outside that range is refused.
    void setDecPointNum(qint32 dPointN);

private:
    static int checkedRegister(int i);

    quint8 m_size = 0;
    QString m_name;
    std::array<quint8, 2> m_iniStr{};
    qint32 m_minVal = 0;
    qint32 m_maxVal = 0;
    qint32 m_tickerNum = 0;
    qint32 m_subTickerNum = 0;
    qint16 m_decPointNum = 0;
};

using GaugeCatalogue = std::array<GaugeInfo, kCatalogueSize>;

// The 24 longer texts of the parameter choice lists, in catalogue order.
const std::array<const char *, kCatalogueSize> &parameterChoiceList();

// Fills the catalogue for the current units, reads the gauge selections and computes the frame
// lengths.
void getSetup(ProgramState &state, const SettingsStore &store);
