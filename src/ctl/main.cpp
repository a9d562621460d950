// lmkctl: the receiver from the command line and from scripts. It drives the
// same link, codecs and operations as the window.
#include "ctl/CtlContext.h"
#include "ctl/ScanOutput.h"

#include <QCoreApplication>

using namespace lmk;
using namespace lmk::ctl;

namespace {

void usage(QTextStream &s) {
    s << "Usage: lmkctl [--host H] [--port P] [--usb] [--trace] COMMAND [ARGS]\n\n"
         "Transport:\n"
         "  --host H    the receiver's access point (default: LMK_HOST or "
      << kDefaultHost
      << ")\n"
         "  --port P    its TCP port (default: LMK_PORT or 55555)\n"
         "  --usb       use the USB library named by LMK_USB_LIBRARY\n"
         "  --trace     print every request and frame in hex on standard error\n"
         "  --help      this text;  --version  the program's version\n\nCommands:\n";
    for (const Command &c : commands())
        s << "  " << QString::fromLatin1(c.name).leftJustified(10) << c.summary << '\n';
    s << "\n'lmkctl COMMAND --help' describes a command.\n"
         "Exit codes: 0 done, 1 refused or error reported by the receiver, 2 wrong usage,\n"
         "3 no connection, 4 timeout, 130 interrupted by Ctrl+C.\n";
    s.flush();
}

} // namespace

int main(int argc, char *argv[]) {
    // With --clipboard one that reaches the desktop's clipboard.
    const std::unique_ptr<QCoreApplication> app = createApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lmkctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.4"));

    QStringList args = app->arguments().mid(1);
    QTextStream err(stderr);
    QTextStream out(stdout);
    QString host = DeviceLink::configuredHost();
    quint16 port = DeviceLink::configuredPort();
    bool usb = false;
    bool trace = false;

    // Global options come before the command.
    while (!args.isEmpty() && args.first().startsWith(QLatin1String("--"))) {
        const QString opt = args.takeFirst();
        if (opt == QLatin1String("--help")) {
            usage(out);
            return ExitDone;
        }
        if (opt == QLatin1String("--version")) {
            out << "lmkctl 1.4" << Qt::endl;
            return ExitDone;
        }
        if (opt == QLatin1String("--usb")) {
            usb = true;
        } else if (opt == QLatin1String("--trace")) {
            trace = true;
        } else if (opt == QLatin1String("--host") && !args.isEmpty()) {
            host = args.takeFirst();
        } else if (opt == QLatin1String("--port") && !args.isEmpty()) {
            bool ok = false;
            const uint p = args.takeFirst().toUInt(&ok);
            if (!ok || p == 0 || p > 0xFFFF) {
                err << "lmkctl: --port needs a number from 1 to 65535" << Qt::endl;
                return ExitUsage;
            }
            port = quint16(p);
        } else {
            err << "lmkctl: unknown option " << opt << Qt::endl;
            usage(err);
            return ExitUsage;
        }
    }
    if (args.isEmpty()) {
        usage(err);
        return ExitUsage;
    }
    const Command *command = nullptr;
    for (const Command &c : commands())
        if (args.first() == QLatin1String(c.name))
            command = &c;
    if (!command) {
        err << "lmkctl: unknown command " << args.first() << Qt::endl;
        usage(err);
        return ExitUsage;
    }

    ConsoleDialogs dialogs;
    setDialogs(&dialogs);
    DeviceLink link;
    link.setEndpoint(host, port);
    if (trace) {
        QObject::connect(&link, &DeviceLink::requestSent, [](const QByteArray &b, const QString &t) {
            QTextStream(stderr) << "> " << t << ' ' << b.toHex(' ') << Qt::endl;
        });
        QObject::connect(&link, &DeviceLink::frameDelivered, [](const QByteArray &b) {
            QTextStream(stderr) << "< " << b.toHex(' ') << Qt::endl;
        });
        QObject::connect(&link, &DeviceLink::staleInputDropped, [](int bytes) {
            QTextStream(stderr) << "< (" << bytes << " bytes from before the request dropped)"
                                << Qt::endl;
        });
    }
    Context ctx(link, dialogs);
    ctx.usb = usb;
    const int rc = command->run(ctx, args);
    link.drainWlan();
    link.closeTcp();
    link.closeUsb();
    setDialogs(nullptr);
    return rc;
}
