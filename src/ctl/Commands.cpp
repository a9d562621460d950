// The sub-commands. Each parses its arguments, connects, runs the window's
// operation and prints the result.
#include "ctl/CtlCommands.h"
#include "ctl/ScanOutput.h"

#include "link/Wait.h"

#include <QCommandLineParser>

namespace lmk::ctl {

int runVersion(Context &ctx, const QCommandLineParser &p) {
    if (!p.positionalArguments().isEmpty())
        return ctx.usageError(QStringLiteral("takes no arguments"));
    if (!ctx.connect())
        return ExitNoConnection;
    DeviceLink &link = ctx.link;
    const QString text = receiverVersionText(link);
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
