#pragma once
// Helpers for tests that drive a DeviceLink without the window: one request
// as an operation would run it, and the boxes the window shows for the
// link's reports.

#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "link/Exchange.h"
#include "link/ReplyState.h"

#include <QObject>

namespace lmk {

// As the window does: the link's reports become information boxes.
inline void showLinkReports(DeviceLink &link) {
    QObject::connect(&link, &DeviceLink::connectionLost, &link,
                     [] { dialogs().information(QString::fromLatin1(kWlanLostText)); });
    QObject::connect(&link, &DeviceLink::accessPointNotFound, &link,
                     [] { dialogs().information(QString::fromLatin1(kApNotFoundText)); });
}

// One request and its reply: a status word, or how the wait ended. A
// version reply ends it too (Finished).
inline ExchangeResult requestOnce(DeviceLink &link, const QByteArray &bytes, int replyMs = 1000) {
    Exchange exchange(link, QStringLiteral("Test request"));
    exchange.sink.version = [&](const QString &) { exchange.finish(); };
    return exchange.request(bytes, replyMs);
}

} // namespace lmk
