// orvantis-ecusim: the virtual ECU on a pseudo-terminal. See --help.
#include "ecusim/CommandLine.h"
#include "ecusim/EcuSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

// Ctrl+C, kill and a closed terminal end the event loop, so the device and the link go away
// in order instead of leaving a dangling link behind.
void quitOnSignals(QCoreApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(sig, &action, nullptr);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvantis-ecusim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANTIS_VERSION));

    QCommandLineParser parser;
    CommandLineOptions::add(parser);
    parser.process(app);
    CommandLine options;
    QString error;
    QTextStream err(stderr);
    if (!CommandLineOptions::read(parser, &options, &error)) {
        err << "orvantis-ecusim: " << error << Qt::endl;
        return 2;
    }

    EcuSimulator simulator(options.simulator);
    QTextStream out(stdout);
    if (!options.quiet) {
        QObject::connect(&simulator, &EcuSimulator::requestLogged, [&](const QString &line) {
            err << QStringLiteral("[%1] ").arg(simulator.engineMs() / 1000.0, 9, 'f', 3) << line
                << Qt::endl;
        });
    }
    const auto announce = [&] { out << simulator.devicePath() << Qt::endl; };
    QObject::connect(&simulator, &EcuSimulator::hungUp, &app, [&] {
        if (options.backAfterMs < 0) {
            app.quit();
            return;
        }
        QTimer::singleShot(int(options.backAfterMs), &app, [&] {
            if (simulator.start()) {
                announce();
                return;
            }
            err << "orvantis-ecusim: " << simulator.errorString() << Qt::endl;
            app.exit(1);
        });
    });
    if (!simulator.start()) {
        err << "orvantis-ecusim: " << simulator.errorString() << Qt::endl;
        return 1;
    }
    announce();
    quitOnSignals(app);
    return app.exec();
}
