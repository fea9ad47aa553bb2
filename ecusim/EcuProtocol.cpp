#include "ecusim/EcuProtocol.h"

#include "ecusim/EcuRegisters.h"
#include "ecusim/EngineModel.h"
#include "ecusim/MemoryImage.h"

#include <QStringList>

#include <algorithm>

namespace {

constexpr int kMaxItems = 255;      // a frame's count byte
constexpr int kMaxLoggedItems = 16; // the request log names at most this many

QString hex(quint32 value, int digits = 2)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

QByteArray frame(const QByteArray &data)
{
    return QByteArray(1, char(Protocol::kFrameStart)) + char(data.size()) + data;
}

template <typename List, typename Text> QString listText(const List &items, Text text)
{
    QStringList parts;
    for (int i = 0; i < int(items.size()) && i < kMaxLoggedItems; ++i)
        parts << text(items[i]);
    if (items.size() > kMaxLoggedItems)
        parts << QStringLiteral("... (%1 in all)").arg(items.size());
    return parts.join(QLatin1Char(' '));
}

} // namespace

EcuProtocol::EcuProtocol(const EcuConfig &config)
    : m_config(config), m_memory(MemoryImage::build()), m_faults(config.faults)
{}

QString EcuProtocol::receive(quint8 byte)
{
    switch (m_parse) {
    case Parse::Command:
        return command(byte);
    case Parse::WakeUp1:
        if (byte == Protocol::kWakeUp) {
            m_parse = Parse::WakeUp2;
            return {};
        }
        m_parse = Parse::Command; // a lone 0xFF is noise
        return command(byte);
    case Parse::WakeUp2:
        if (byte == Protocol::kWakeUp)
            return {}; // a longer run of wake-up bytes
        m_parse = Parse::Command;
        return wakeUp(byte);
    case Parse::Register:
        acknowledge(byte);
        if (m_registers.size() < kMaxItems)
            m_registers.append(char(byte));
        m_parse = Parse::Command;
        return {};
    case Parse::AddressHigh:
        acknowledge(byte);
        m_addressHigh = byte;
        m_parse = Parse::AddressLow;
        return {};
    case Parse::AddressLow:
        acknowledge(byte);
        if (m_addresses.size() < kMaxItems)
            m_addresses.append(quint16(m_addressHigh << 8 | byte));
        m_parse = Parse::Command;
        return {};
    case Parse::TestCode:
        acknowledge(byte);
        m_testCode = byte;
        m_parse = Parse::TestValue;
        return {};
    case Parse::TestValue:
        acknowledge(byte);
        m_test = ActiveTest{m_testCode, byte};
        m_parse = Parse::Command;
        return QStringLiteral("active test %1 %2: %3")
            .arg(hex(m_testCode), hex(byte), QLatin1String(ActiveTests::name(m_testCode)));
    }
    return {};
}

QString EcuProtocol::command(quint8 byte)
{
    if (byte == Protocol::kWakeUp) {
        m_parse = Parse::WakeUp1;
        return {};
    }
    if (!m_awake)
        return QStringLiteral("byte %1 ignored: not woken up").arg(hex(byte));
    if (byte == Protocol::kStartStream)
        return startStream();
    if (byte == Protocol::kStopStream)
        return stopStream();
    if (byte == Protocol::kReadRegister) {
        acknowledge(byte);
        beginRequest(Request::Registers);
        m_parse = Parse::Register;
        return {};
    }
    if (byte == m_config.memoryReadCommand) {
        acknowledge(byte);
        beginRequest(Request::Memory);
        m_parse = Parse::AddressHigh;
        return {};
    }
    switch (byte) {
    case Protocol::kIdentify:
        acknowledge(byte);
        beginRequest(Request::Identify);
        return QStringLiteral("identify");
    case Protocol::kReadFaultCodes:
        acknowledge(byte);
        beginRequest(Request::FaultCodes);
        return QStringLiteral("read fault codes");
    case Protocol::kEraseFaultCodes:
        acknowledge(byte);
        beginRequest(Request::None);
        m_faults.clear();
        return QStringLiteral("erase fault codes");
    case Protocol::kActiveTest:
        acknowledge(byte);
        m_parse = Parse::TestCode;
        return {};
    default:
        return QStringLiteral("unknown byte %1 ignored").arg(hex(byte));
    }
}

QString EcuProtocol::wakeUp(quint8 identity)
{
    m_streaming = false;
    m_requestDone = true;
    if (identity != m_config.identity) {
        m_awake = false;
        return QStringLiteral("wake-up %1: not this ECU (%2), silent")
            .arg(hex(identity), hex(m_config.identity));
    }
    m_awake = true;
    acknowledge(identity);
    return QStringLiteral("wake-up %1: answered %2").arg(hex(identity), hex(quint8(~identity)));
}

QString EcuProtocol::startStream()
{
    m_streaming = true;
    m_requestDone = true;
    return QStringLiteral("start stream: ") + describeRequest();
}

QString EcuProtocol::stopStream()
{
    const bool testEnded = m_test.has_value();
    m_test.reset();
    m_streaming = false;
    m_requestDone = true;
    return testEnded ? QStringLiteral("stop stream, active test ended")
                     : QStringLiteral("stop stream");
}

void EcuProtocol::acknowledge(quint8 byte)
{
    m_acks.append(char(~byte));
}

void EcuProtocol::beginRequest(Request kind)
{
    if (!m_requestDone && m_request == kind)
        return; // more pairs or triplets of the same request
    m_request = kind;
    m_registers.clear();
    m_addresses.clear();
    m_requestDone = false;
}

QByteArray EcuProtocol::takeAcknowledgements()
{
    QByteArray acks;
    acks.swap(m_acks);
    return acks;
}

void EcuProtocol::endSession()
{
    m_awake = false;
    m_streaming = false;
    m_requestDone = true;
    m_parse = Parse::Command;
    m_test.reset();
    m_acks.clear();
}

bool EcuProtocol::isSilent(quint8 reg) const
{
    if (m_config.silentRegisters)
        return m_config.silentRegisters->contains(reg);
    return !EcuRegisters::isDefined(reg);
}

QString EcuProtocol::describeRequest() const
{
    switch (m_request) {
    case Request::None:
        return QStringLiteral("nothing to send");
    case Request::Identify:
        return QStringLiteral("identification frames, part number %1")
            .arg(QString::fromLatin1(m_config.partNumber));
    case Request::Registers: {
        QString text = QStringLiteral("registers ") +
                       listText(m_registers, [](char r) { return hex(quint8(r)); });
        for (char r : m_registers) {
            if (isSilent(quint8(r)))
                return text +
                       QStringLiteral(" (register %1 does not answer: silent)").arg(hex(quint8(r)));
        }
        return text;
    }
    case Request::FaultCodes:
        if (m_faults.isEmpty())
            return QStringLiteral("fault codes: 55 (no faults)");
        return QStringLiteral("fault codes ") + listText(m_faults, [](const FaultCode &f) {
                   return QStringLiteral("%1 (%2 starts)").arg(hex(f.code)).arg(f.starts);
               });
    case Request::Memory:
        return QStringLiteral("memory ") + hex(m_config.memoryReadCommand) + QLatin1Char(' ') +
               listText(m_addresses, [](quint16 a) { return hex(a, 4); });
    }
    return {};
}

bool EcuProtocol::isAnswering() const
{
    if (!m_streaming)
        return false;
    switch (m_request) {
    case Request::None:
        return false;
    case Request::Identify:
    case Request::FaultCodes:
        return true;
    case Request::Registers:
        return !m_registers.isEmpty() &&
               std::none_of(m_registers.begin(), m_registers.end(),
                            [this](char r) { return isSilent(quint8(r)); });
    case Request::Memory:
        return !m_addresses.isEmpty();
    }
    return false;
}

QByteArray EcuProtocol::nextFrame(qint64 nowMs) const
{
    if (!isAnswering())
        return {};
    switch (m_request) {
    case Request::None:
        return {};
    case Request::Identify:
        return identificationFrame();
    case Request::Registers:
        return registerFrame(nowMs);
    case Request::FaultCodes:
        return faultFrame();
    case Request::Memory:
        return memoryFrame(nowMs);
    }
    return {};
}

QByteArray EcuProtocol::identificationFrame() const
{
    const int count = m_config.obd2 ? Protocol::kIdentCountObd2 : Protocol::kIdentCount;
    const int partAt =
        m_config.obd2 ? Protocol::kIdentPartNumberOffsetObd2 : Protocol::kIdentPartNumberOffset;
    // The bytes before the part number are the ECU's own business; none of them is 0xFF, so
    // no frame start shows up where there is none.
    QByteArray data(count, char(0));
    for (int i = 0; i < count; ++i)
        data[i] = char((i * 37 + 11) % 0xF0);
    data.replace(partAt - 2, EcuConfigRules::kPartNumberLength,
                 m_config.partNumber.leftJustified(EcuConfigRules::kPartNumberLength, ' ', true));
    return frame(data);
}

QByteArray EcuProtocol::registerFrame(qint64 nowMs) const
{
    const EngineState state = EngineModel::at(nowMs, m_test);
    QByteArray data;
    data.reserve(m_registers.size());
    for (char r : m_registers)
        data.append(char(EcuRegisters::read(quint8(r), state).value_or(0)));
    return frame(data);
}

QByteArray EcuProtocol::memoryFrame(qint64 nowMs) const
{
    const EngineState state = EngineModel::at(nowMs, m_test);
    QByteArray data;
    data.reserve(m_addresses.size());
    for (quint16 a : m_addresses)
        data.append(char(MemoryImage::read(m_memory, a, state)));
    return frame(data);
}

QByteArray EcuProtocol::faultFrame() const
{
    const QList<FaultCode> faults =
        m_faults.isEmpty() ? QList<FaultCode>{{EcuConfigRules::kNoFaultsCode, 0}} : m_faults;
    QByteArray data;
    for (const FaultCode &f : faults.mid(0, kMaxItems / 2)) {
        data.append(char(f.code));
        data.append(char(f.starts));
    }
    return frame(data);
}
