// lmkctl: the receiver from the command line and from scripts. It drives the
// same link, codecs and operations as the window.
#include "ctl/CtlCommands.h"
#include "ctl/CtlEnding.h"
#include "ctl/HelpText.h"
#include "ctl/ScanOutput.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include "link/StopRequest.h"

using namespace lmk;
using namespace lmk::ctl;

namespace {

constexpr const char *kVersionLine = "lmkctl 1.4";

bool takesValue(const QString &arg) {
    for (const Option &o : globalOptions())
        if (!o.value.isEmpty())
            for (const QString &n : o.names)
                if (arg == (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n)
                    return true;
    return false;
}

// The index of the command's name: the first argument that is neither an
// option nor the value of a global option; -1 when there is none.
int commandIndex(const QStringList &args) {
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--"))
            return i + 1 < args.size() ? i + 1 : -1;
        if (a.size() > 1 && a.startsWith(QLatin1Char('-'))) {
            if (takesValue(a))
                ++i;
            continue;
        }
        return i;
    }
    return -1;
}

void addOptions(QCommandLineParser &p, const QList<Option> &options) {
    for (const Option &o : options)
        p.addOption(QCommandLineOption(o.names, o.help, o.value, o.defaultValue));
}

// One line naming the problem of a parse that failed.
QString parseProblem(const QCommandLineParser &p) {
    const QStringList unknown = p.unknownOptionNames();
    if (!unknown.isEmpty()) {
        const QString &n = unknown.first();
        return QStringLiteral("unknown option '%1%2'")
            .arg(n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), n);
    }
    QString text = p.errorText().trimmed();
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

int usageError(const QString &where, const QString &problem) {
    QTextStream(stderr) << where << ": " << problem << " (see '"
                        << (where == QLatin1String("lmkctl") ? QStringLiteral("lmkctl --help")
                                                             : where + QStringLiteral(" --help"))
                        << "')" << Qt::endl;
    return ExitUsage;
}

// The exit code once standard output has taken everything: a failed write
// (a full disk) is reported and fails the run; a reader that went away
// ends it quietly.
int checkedExit(int rc) {
    StandardOutput &out = StandardOutput::instance();
    if (out.closedPipe())
        return 128 + kClosedPipeSignal;
    if (out.failure() != 0) {
        if (!out.failureReported())
            QTextStream(stderr) << "lmkctl: " << out.failureText() << Qt::endl;
        return rc == ExitDone ? ExitRefused : rc;
    }
    return rc;
}

int printText(const QString &text) {
    QTextStream out(&StandardOutput::instance());
    out << text;
    out.flush();
    return checkedExit(ExitDone);
}

// `lmkctl help [COMMAND]` and `lmkctl completion bash|zsh`: nothing goes to
// the receiver.
int runBuiltIn(const Command &command, const QStringList &args) {
    if (command.name == QLatin1String("help")) {
        if (args.isEmpty())
            return printText(programHelp());
        const Command *c = findCommand(args.first());
        if (!c || args.size() > 1)
            return usageError(QStringLiteral("lmkctl help"),
                              c ? QStringLiteral("takes one command")
                                : QStringLiteral("unknown command '%1'").arg(args.first()));
        return printText(commandHelp(*c));
    }
    if (args.size() == 1 && command.actions.contains(args.first()))
        return printText(completionScript(args.first()));
    return usageError(QStringLiteral("lmkctl completion"), QStringLiteral("expected bash or zsh"));
}

} // namespace

int main(int argc, char *argv[]) {
    // With --clipboard one that reaches the desktop's clipboard.
    const std::unique_ptr<QCoreApplication> app = createApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lmkctl"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.4"));

    QStringList args = app->arguments().mid(1);
    const int at = commandIndex(args);
    const Command *command = at >= 0 ? findCommand(args[at]) : nullptr;

    QCommandLineParser p;
    p.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    addOptions(p, globalOptions());
    // Qt's usual spelling of help; it is help here too, never a run.
    p.addOption(QCommandLineOption(QStringList{QStringLiteral("help-all")}, QString()));
    if (command)
        addOptions(p, command->options);
    QStringList parsed = args;
    if (at >= 0)
        parsed.removeAt(at);
    const QString where = command ? QStringLiteral("lmkctl ") + command->name : QStringLiteral("lmkctl");
    const bool parsedOk = p.parse(QStringList{QStringLiteral("lmkctl")} + parsed);
    const bool help = p.isSet(QStringLiteral("help")) || p.isSet(QStringLiteral("help-all"));
    if (!parsedOk) {
        // Help asked for next to a mistake is still help, and still no run.
        if (!help)
            return usageError(where, parseProblem(p));
    }
    if (help)
        return printText(command ? commandHelp(*command) : programHelp());
    if (p.isSet(QStringLiteral("version")))
        return printText(QString::fromLatin1(kVersionLine) + QLatin1Char('\n'));
    if (at < 0) {
        if (args.isEmpty()) {
            QTextStream(stderr) << programHelp();
            return ExitUsage;
        }
        return usageError(where, QStringLiteral("no command given"));
    }
    if (!command)
        return usageError(where, QStringLiteral("unknown command '%1'").arg(args[at]));
    if (!command->run)
        return runBuiltIn(*command, p.positionalArguments());

    QString host = DeviceLink::configuredHost();
    quint16 port = DeviceLink::configuredPort();
    if (p.isSet(QStringLiteral("host"))) {
        host = p.value(QStringLiteral("host")).trimmed();
        if (host.isEmpty())
            return usageError(where, QStringLiteral("--host needs a host name or address"));
    }
    if (p.isSet(QStringLiteral("port"))) {
        bool ok = false;
        const uint v = p.value(QStringLiteral("port")).toUInt(&ok);
        if (!ok || v == 0 || v > 0xFFFF)
            return usageError(where, QStringLiteral("--port needs a number from 1 to 65535"));
        port = quint16(v);
    }

    ConsoleDialogs dialogs;
    setDialogs(&dialogs);
    DeviceLink link;
    link.setEndpoint(host, port);
    if (p.isSet(QStringLiteral("trace"))) {
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
    ctx.usb = p.isSet(QStringLiteral("usb"));
    ctx.quiet = p.isSet(QStringLiteral("quiet"));
    ctx.command = command->name;
    // From here on SIGINT, SIGTERM and SIGHUP stop the command cleanly.
    const StopSignals stopSignals;
    int rc = command->run(ctx, p);
    ctx.out.flush();
    if (stopRequested()) {
        // The command has wound down; what it said about how far it got
        // stands, else the stop is named here.
        rc = ctx.stopped(QString());
    }
    link.drainWlan();
    link.closeTcp();
    link.closeUsb();
    setDialogs(nullptr);
    return checkedExit(rc);
}
