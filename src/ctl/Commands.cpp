// The sub-commands. Each parses its arguments, connects, runs the window's
// operation and prints the result.
#include "ctl/CtlCommands.h"
#include "ctl/ScanOutput.h"

#include "link/Exchange.h"
#include "link/Wait.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace lmk::ctl {

int parseCommand(Context &ctx, QCommandLineParser &p, const QStringList &args,
                 const QString &description) {
    p.setApplicationDescription(description);
    p.addHelpOption();
    p.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    if (!p.parse(QStringList{QStringLiteral("lmkctl ") + args.first()} + args.mid(1))) {
        ctx.err << "lmkctl " << args.first() << ": " << p.errorText() << Qt::endl;
        return ExitUsage;
    }
    if (p.isSet(QStringLiteral("help"))) {
        QString help = p.helpText();
        const QString program = QCoreApplication::arguments().value(0);
        if (!program.isEmpty())
            help.replace(program + QLatin1String(" [options]"),
                         QStringLiteral("lmkctl ") + args.first() + QLatin1String(" [options]"));
        ctx.out << help;
        ctx.out.flush();
        return ExitDone;
    }
    return -1;
}

int runVersion(Context &ctx, const QStringList &args) {
    QCommandLineParser p;
    if (int rc = parseCommand(ctx, p, args, QStringLiteral("Prints the receiver's version text, e.g. LMK540 V103.")); rc >= 0)
        return rc;
    if (!p.positionalArguments().isEmpty()) {
        ctx.err << "lmkctl version: takes no arguments" << Qt::endl;
        return ExitUsage;
    }
    if (!ctx.connect())
        return ExitNoConnection;
    ExchangeResult r;
    const QString text = receiverVersionText(ctx.link, &r);
    if (text.isEmpty())
        return ctx.fail(r.end == ExchangeEnd::Timeout ? QString::fromLatin1(kTimeoutText)
                                                      : QString(),
                        r.end == ExchangeEnd::Finished ? ExchangeEnd::Timeout : r.end);
    ctx.out << text << Qt::endl;
    return ExitDone;
}

int exitCodeFor(ExchangeEnd end) {
    switch (end) {
    case ExchangeEnd::Status:
    case ExchangeEnd::Finished:
        return ExitDone;
    case ExchangeEnd::Timeout:
        return ExitTimeout;
    case ExchangeEnd::LinkLost:
    case ExchangeEnd::NoTransport:
        return ExitNoConnection;
    case ExchangeEnd::Aborted:
    case ExchangeEnd::ShuttingDown:
        return ExitInterrupted;
    case ExchangeEnd::Unexpected:
    case ExchangeEnd::Busy:
        break;
    }
    return ExitRefused;
}

const QList<Command> &commands() {
    static const QList<Command> list{
        {"version", "print the receiver's version text", runVersion},
        {"sync", "print whether the bootloader or the configuration is active", runSync},
        {"tasks", "list the external tasks", runTasks},
        {"upload", "load a file into the configuration or an external task", runUpload},
        {"scan", "copy the screen into a PNG or BMP file", runScan},
        {"memory", "read, write, clear or show the 63 memory slots", runMemory},
        {"terminal", "terminal lines from standard input, received text to standard output (USB)", runTerminal},
        {"ap", "show or set the receiver's WiFi access point (USB)", runAp},
    };
    return list;
}

} // namespace lmk::ctl
