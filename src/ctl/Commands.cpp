// The sub-commands. Each parses its arguments, connects, runs the window's
// operation and prints the result.
#include "ctl/CtlContext.h"

#include "link/Wait.h"

#include <QCommandLineParser>

namespace lmk::ctl {

namespace {

// Parses a command's options; prints help or usage errors. Returns -1 to go
// on, or the exit code to return.
int parse(Context &ctx, QCommandLineParser &p, const QStringList &args, const QString &description) {
    p.setApplicationDescription(description);
    p.addHelpOption();
    p.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    if (!p.parse(QStringList{QStringLiteral("lmkctl ") + args.first()} + args.mid(1))) {
        ctx.err << "lmkctl " << args.first() << ": " << p.errorText() << Qt::endl;
        return ExitUsage;
    }
    if (p.isSet(QStringLiteral("help"))) {
        ctx.out << p.helpText();
        ctx.out.flush();
        return ExitDone;
    }
    return -1;
}

int runVersion(Context &ctx, const QStringList &args) {
    QCommandLineParser p;
    if (int rc = parse(ctx, p, args, QStringLiteral("Prints the receiver's version text, e.g. LMK540 V103.")); rc >= 0)
        return rc;
    if (!p.positionalArguments().isEmpty()) {
        ctx.err << "lmkctl version: takes no arguments" << Qt::endl;
        return ExitUsage;
    }
    if (!ctx.connect())
        return ExitNoConnection;
    DeviceLink &link = ctx.link;
    QString text;
    const auto c1 = QObject::connect(&link, &DeviceLink::usbDeviceTextChanged,
                                     [&](const QString &t) { text = t; });
    const auto c2 = QObject::connect(&link, &DeviceLink::wlanDeviceTextChanged,
                                     [&](const QString &t) { text = t; });
    link.setStatusText({});
    link.startReplyTimer(1000);
    link.AwaitingReply = 1;
    link.SendToDevice(QByteArray(1, char(0x12)));
    waitWhile([&] { return text.isEmpty() && link.AwaitingReply && link.hasTransport(); });
    link.stopReplyTimer();
    link.AwaitingReply = 0;
    QObject::disconnect(c1);
    QObject::disconnect(c2);
    if (text.isEmpty()) {
        if (!link.hasTransport())
            return ExitNoConnection;
        ctx.err << kTimeoutText << Qt::endl;
        return ExitTimeout;
    }
    ctx.out << text << Qt::endl;
    return ExitDone;
}

} // namespace

const QList<Command> &commands() {
    static const QList<Command> list{
        {"version", "print the receiver's version text", runVersion},
    };
    return list;
}

} // namespace lmk::ctl
