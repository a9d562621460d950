// The sub-commands. Each parses its arguments, connects, runs the window's
// operation and prints the result.
#include "ctl/CtlCommands.h"

#include "link/Wait.h"

#include <QCommandLineParser>

namespace lmk::ctl {

int runVersion(Context &ctx, const QCommandLineParser &p) {
    if (!p.positionalArguments().isEmpty())
        return ctx.usageError(QStringLiteral("takes no arguments"));
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
    link.discardStaleInput();
    link.SendToDevice(QByteArray(1, char(0x12)));
    waitWhile([&] { return text.isEmpty() && link.AwaitingReply && link.hasTransport(); });
    link.stopReplyTimer();
    link.AwaitingReply = 0;
    QObject::disconnect(c1);
    QObject::disconnect(c2);
    if (text.isEmpty()) {
        if (!link.hasTransport())
            return ExitNoConnection;
        ctx.err << "lmkctl: " << kTimeoutText << Qt::endl;
        return ExitTimeout;
    }
    if (p.isSet(QStringLiteral("json")))
        ctx.printJson({{QStringLiteral("version"), text},
                       {QStringLiteral("transport"), ctx.usb ? QStringLiteral("usb") : QStringLiteral("wlan")}});
    else
        ctx.out << text << Qt::endl;
    return ExitDone;
}

} // namespace lmk::ctl
