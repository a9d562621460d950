// The sub-commands. Each parses its arguments, connects, runs the window's
// operation and prints the result.
#include "ctl/CtlCommands.h"
#include "ctl/CtlEnding.h"
#include "ctl/ScanOutput.h"

#include "link/Exchange.h"
#include "link/Wait.h"
#include "memory/SlotNameEscape.h"

#include <QCommandLineParser>

namespace lmk::ctl {

int runVersion(Context &ctx, const QCommandLineParser &p) {
    if (!p.positionalArguments().isEmpty())
        return ctx.usageError(QStringLiteral("takes no arguments"));
    if (!ctx.connect())
        return ExitNoConnection;
    ExchangeResult r;
    const QString text = receiverVersionText(ctx.link, &r);
    if (text.isEmpty() && r.end == ExchangeEnd::Unexpected)
        return ctx.fail(QStringLiteral("The receiver answered the version request with a reply "
                                       "code it does not know (0x%1).")
                            .arg(QString::number(r.code & 0xFF, 16).toUpper().rightJustified(2, u'0')),
                        r.end);
    if (text.isEmpty())
        return ctx.fail(r.end == ExchangeEnd::Timeout ? QString::fromLatin1(kTimeoutText)
                                                      : QString(),
                        r.end == ExchangeEnd::Finished ? ExchangeEnd::Timeout : r.end);
    if (p.isSet(QStringLiteral("json")))
        ctx.printJson({{QStringLiteral("version"), text},
                       {QStringLiteral("transport"), ctx.usb ? QStringLiteral("usb") : QStringLiteral("wlan")}});
    else
        ctx.out << escapeSlotText(text) << Qt::endl; // the receiver's text, never raw
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
        return stopExitCode();
    case ExchangeEnd::Unexpected:
    case ExchangeEnd::Busy:
        break;
    }
    return ExitRefused;
}

} // namespace lmk::ctl
