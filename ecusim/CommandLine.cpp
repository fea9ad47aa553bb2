#include "ecusim/CommandLine.h"

#include <QCommandLineParser>
#include <QStringList>

#include <cmath>
#include <optional>

namespace {

const char *const kDescription =
    "The virtual ECU: plays the engine control unit's side of the serial protocol on a\n"
    "pseudo-terminal, with an engine that repeats a drive cycle (crank, idle, free revs,\n"
    "0-100 km/h pull, cruise, braking, idle).\n"
    "\n"
    "Standard output: the first line is the device path to open (the link path with --link,\n"
    "the served path with --device); a new line follows each time the device comes back.\n"
    "Standard error: one line per request received, unless --quiet.\n"
    "\n"
    "Every request byte the ECU takes is answered at once by its complement (0xFF - byte); the\n"
    "wake-up bytes 0xFF and the stream bytes 0xF0 and 0x30 are not answered.";

std::optional<quint8> hexByte(QString text)
{
    text = text.trimmed();
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        text = text.mid(2);
    bool ok = false;
    const uint value = text.toUInt(&ok, 16);
    if (!ok || text.isEmpty() || text.size() > 2 || value > 0xFF)
        return std::nullopt;
    return quint8(value);
}

bool isNone(const QString &text)
{
    return text.trimmed().isEmpty() ||
           text.trimmed().compare(QLatin1String("none"), Qt::CaseInsensitive) == 0;
}

std::optional<QList<FaultCode>> faultList(const QString &text)
{
    QList<FaultCode> faults;
    if (isNone(text))
        return faults;
    for (const QString &item : text.split(QLatin1Char(','))) {
        const QStringList parts = item.split(QLatin1Char(':'));
        bool ok = false;
        const std::optional<quint8> code = hexByte(parts.value(0));
        const uint starts = parts.value(1).trimmed().toUInt(&ok);
        if (parts.size() != 2 || !code || !ok || starts > 255)
            return std::nullopt;
        faults.append({*code, quint8(starts)});
    }
    return faults;
}

std::optional<QSet<quint8>> registerSet(const QString &text)
{
    QSet<quint8> registers;
    if (isNone(text))
        return registers;
    for (const QString &item : text.split(QLatin1Char(','))) {
        const std::optional<quint8> reg = hexByte(item);
        if (!reg)
            return std::nullopt;
        registers.insert(*reg);
    }
    return registers;
}

// A count of seconds (fractions allowed) as milliseconds.
std::optional<qint64> seconds(const QString &text)
{
    bool ok = false;
    const double s = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(s) || s < 0 || s > 1e9)
        return std::nullopt;
    return qint64(std::llround(s * 1000));
}

std::optional<int> count(const QString &text, int min, int max)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < min || n > max)
        return std::nullopt;
    return n;
}

// A flag and what stores its value; switches have no reader and are read by name.
struct Flag
{
    QCommandLineOption option;
    bool (*read)(const QString &value, CommandLine &out) = nullptr;
};

QCommandLineOption option(const char *name, const char *description, const char *valueName = "")
{
    return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(description),
                              QString::fromLatin1(valueName));
}

// Stores a parsed value when there is one.
template <typename T, typename U> bool store(const std::optional<T> &value, U &field)
{
    if (!value)
        return false;
    field = *value;
    return true;
}

std::optional<quint8> identity(const QString &text)
{
    const std::optional<quint8> b = hexByte(text);
    if (b && *b == Protocol::kWakeUp)
        return std::nullopt;
    return b;
}

std::optional<quint8> memoryCommand(const QString &text)
{
    const std::optional<quint8> b = hexByte(text);
    if (b && EcuConfigRules::isReservedCommand(*b))
        return std::nullopt;
    return b;
}

std::optional<QByteArray> partNumber(const QString &text)
{
    const QByteArray latin = text.toLatin1();
    if (text.size() != EcuConfigRules::kPartNumberLength || QString::fromLatin1(latin) != text)
        return std::nullopt;
    return latin;
}

std::optional<QString> path(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

std::optional<quint32> seed(const QString &text)
{
    bool ok = false;
    const uint n = text.trimmed().toUInt(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

QList<Flag> flags()
{
    return {
        {option("device",
                "Serve this terminal device (a null-modem port, one end of a socat pair) instead "
                "of opening a pseudo-terminal.",
                "path"),
         [](const QString &v, CommandLine &o) { return store(path(v), o.simulator.servedDevice); }},
        {option("link",
                "Keep a symbolic link at <path> pointing at the device while it exists, so the "
                "port name survives a hang-up; this is the path printed.",
                "path"),
         [](const QString &v, CommandLine &o) { return store(path(v), o.simulator.linkPath); }},
        {option("id", "The ECU's identity byte, in hex (default EF; FF is not allowed).", "hex"),
         [](const QString &v, CommandLine &o) {
             return store(identity(v), o.simulator.ecu.identity);
         }},
        {option("part-number", "The five part-number characters (default 65U00).", "text"),
         [](const QString &v, CommandLine &o) {
             return store(partNumber(v), o.simulator.ecu.partNumber);
         }},
        {option("obd2", "The OBDII variant: identification frames 0xFF 0x20 with the part number "
                        "at offsets 29 to 33.")},
        {option("memory-command", "The memory-read command byte, in hex (default C9).", "hex"),
         [](const QString &v, CommandLine &o) {
             return store(memoryCommand(v), o.simulator.ecu.memoryReadCommand);
         }},
        {option("faults",
                "Stored fault codes as code:starts pairs, codes in hex as they read (default "
                "11:3,43:12); 'none' for a clean memory (code 55).",
                "list"),
         [](const QString &v, CommandLine &o) {
             return store(faultList(v), o.simulator.ecu.faults);
         }},
        {option("silent-registers",
                "Registers the ECU never answers, in hex, comma-separated; 'none' for none. "
                "Default: every register the engine model does not define; with a list, the "
                "undefined ones not in it read 00.",
                "list"),
         [](const QString &v, CommandLine &o) {
             return store(registerSet(v), o.simulator.ecu.silentRegisters);
         }},
        {option("baud", "Line speed in bit/s, 10 bits a byte (default 9600).", "bits"),
         [](const QString &v, CommandLine &o) {
             return store(count(v, 50, 4000000), o.simulator.line.bitsPerSecond);
         }},
        {option("unpaced", "No line-speed pacing: answers go out at once and streams in bursts, "
                           "for fast tests.")},
        {option("start-at", "Start the drive cycle this many seconds in (default 0: cranking).",
                "seconds"),
         [](const QString &v, CommandLine &o) {
             return store(seconds(v), o.simulator.cycleStartMs);
         }},
        {option("never-answer", "Read every request and answer nothing (a dead ECU or cable).")},
        {option("garbage", "Put <n> random bytes on the line before every frame.", "n"),
         [](const QString &v, CommandLine &o) {
             return store(count(v, 0, 1000), o.simulator.faults.garbageBytes);
         }},
        {option("drop-every", "Lose every <n>-th byte sent (0: none).", "n"),
         [](const QString &v, CommandLine &o) {
             return store(count(v, 0, 1000000), o.simulator.faults.dropEvery);
         }},
        {option("hang-up-after",
                "Close the device after this many seconds, as when the cable is pulled; the "
                "program then exits unless --back-after is given.",
                "seconds"),
         [](const QString &v, CommandLine &o) {
             return store(seconds(v), o.simulator.faults.hangUpAfterMs);
         }},
        {option("back-after",
                "After a hang-up, bring the device back after this many seconds (with --link, "
                "under the same name) and print its path again.",
                "seconds"),
         [](const QString &v, CommandLine &o) { return store(seconds(v), o.backAfterMs); }},
        {option("seed", "Seed of the garbage bytes (default 1).", "n"),
         [](const QString &v, CommandLine &o) { return store(seed(v), o.simulator.faults.seed); }},
        {QCommandLineOption(QStringList{QStringLiteral("q"), QStringLiteral("quiet")},
                            QStringLiteral("No request log on standard error."))},
    };
}

} // namespace

void CommandLineOptions::add(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    parser.addHelpOption();
    parser.addVersionOption();
    for (const Flag &f : flags())
        parser.addOption(f.option);
}

bool CommandLineOptions::read(const QCommandLineParser &parser, CommandLine *out, QString *error)
{
    CommandLine result;
    for (const Flag &f : flags()) {
        const QString name = f.option.names().constLast();
        if (!parser.isSet(name))
            continue;
        if (!f.read)
            continue; // a switch, read below
        const QString value = parser.value(name);
        if (!f.read(value, result)) {
            *error = QStringLiteral("invalid value for --%1: '%2'").arg(name, value);
            return false;
        }
    }
    result.simulator.ecu.obd2 = parser.isSet(QStringLiteral("obd2"));
    result.simulator.line.paced = !parser.isSet(QStringLiteral("unpaced"));
    result.simulator.faults.neverAnswer = parser.isSet(QStringLiteral("never-answer"));
    result.quiet = parser.isSet(QStringLiteral("quiet"));
    if (!parser.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments()[0]);
        return false;
    }
    *out = result;
    return true;
}
