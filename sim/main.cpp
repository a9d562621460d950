// lmk-sim: a simulated LMK54/55 receiver for tests and manual runs.
//
//   lmk-sim --port 0 --usb-socket /tmp/lmk.sock --state-dir /tmp/lmk --log /tmp/lmk.log
//
// prints "LISTENING <port>" once both sides listen and serves until SIGTERM
// or SIGINT.
#include "Control.h"
#include "Faults.h"
#include "SimCore.h"
#include "SimServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &c, 1);
}

// SIGTERM and SIGINT end the event loop through a self-pipe.
bool installSignalHandlers(QCoreApplication &app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return false;
    auto *notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        notifier->setEnabled(false);
        QCoreApplication::quit();
    });
    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    return true;
}

int fail(const QString &message) {
    std::fprintf(stderr, "lmk-sim: %s\n", qPrintable(message));
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    // The plain Unix event loop keeps timers to the microsecond; reply
    // delays of a few milliseconds then stand for a real link's.
    qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lmk-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated LMK54/55 receiver: answers over TCP on 127.0.0.1 (WLAN) and "
                       "over a local socket for the simulated USB library (USB). Every request "
                       "is logged as '<transport> <hex>'.\n\n") +
        sim::FaultPlan::helpText());
    parser.addHelpOption();
    parser.addOption({QStringLiteral("port"),
                      QStringLiteral("TCP port on 127.0.0.1; 0 picks a free one (default 55555)."),
                      QStringLiteral("port"), QStringLiteral("55555")});
    parser.addOption({QStringLiteral("usb-socket"),
                      QStringLiteral("Path of the local socket that the simulated USB library "
                                     "connects to (its LMK_SIM_USB)."),
                      QStringLiteral("path")});
    parser.addOption({QStringLiteral("state-dir"),
                      QStringLiteral("Folder for uploads, slots and settings (created)."),
                      QStringLiteral("dir")});
    parser.addOption({QStringLiteral("log"),
                      QStringLiteral("Request log file (appended); default standard error."),
                      QStringLiteral("file")});
    sim::FaultPlan::addOptions(parser);
    parser.addOption({QStringLiteral("control"),
                      QStringLiteral("Take fault commands on standard input while running "
                                     "(fault RULE, flood RULE, clear, ping; each answered OK or ERROR).")});
    for (sim::Feature *f : sim::features())
        f->addOptions(parser);
    parser.process(app);

    bool ok = false;
    const uint port = parser.value(QStringLiteral("port")).toUInt(&ok);
    if (!ok || port > 65535)
        return fail(QStringLiteral("--port needs a number from 0 to 65535"));
    QString error;
    if (!sim::FaultPlan::instance().configure(parser, error))
        return fail(error);
    for (sim::Feature *f : sim::features())
        if (!f->configure(parser, error))
            return fail(error);
    if (parser.isSet(QStringLiteral("state-dir")) &&
        !sim::setStateDir(parser.value(QStringLiteral("state-dir"))))
        return fail(QStringLiteral("cannot create --state-dir"));
    if (!sim::openLog(parser.value(QStringLiteral("log"))))
        return fail(QStringLiteral("cannot open --log file"));
    if (!installSignalHandlers(app))
        return fail(QStringLiteral("cannot install signal handlers"));

    sim::SimServer server;
    if (!server.listen(quint16(port), parser.value(QStringLiteral("usb-socket")), error))
        return fail(error);
    std::printf("LISTENING %u\n", unsigned(server.port()));
    std::fflush(stdout);
    if (parser.isSet(QStringLiteral("control")))
        new sim::Control(STDIN_FILENO, &app);

    const int rc = app.exec();
    sim::closeLog();
    return rc;
}
