#include "link/ReceiverAddress.h"

#include "link/DeviceLink.h"

#include <QSettings>

namespace lmk {

namespace {
// ~/.config/lmkinterface/lmkinterface.conf on Linux (XDG_CONFIG_HOME).
QSettings settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("lmkinterface"),
                     QStringLiteral("lmkinterface"));
}
const QString kHostKey = QStringLiteral("receiver/host");
const QString kPortKey = QStringLiteral("receiver/port");
} // namespace

quint16 portFromText(const QString &text) {
    bool ok = false;
    const uint p = text.trimmed().toUInt(&ok);
    return (ok && p > 0 && p <= 0xFFFF) ? quint16(p) : 0;
}

ReceiverAddress savedReceiverAddress() {
    const QSettings s = settings();
    ReceiverAddress a;
    a.host = s.value(kHostKey).toString().trimmed();
    a.port = portFromText(s.value(kPortKey).toString());
    return a;
}

void saveReceiverAddress(const QString &host, quint16 port) {
    QSettings s = settings();
    s.setValue(kHostKey, host.trimmed());
    s.setValue(kPortKey, port);
    s.sync();
}

ReceiverAddress receiverAddress() {
    const ReceiverAddress saved = savedReceiverAddress();
    ReceiverAddress a;
    a.host = QString::fromLatin1(kDefaultHost);
    a.port = kDefaultPort;
    if (const QString h = qEnvironmentVariable("LMK_HOST").trimmed(); !h.isEmpty()) {
        a.host = h;
        a.hostSource = ReceiverAddress::Source::Environment;
    } else if (!saved.host.isEmpty()) {
        a.host = saved.host;
        a.hostSource = ReceiverAddress::Source::Saved;
    }
    if (const quint16 p = portFromText(qEnvironmentVariable("LMK_PORT")); p != 0) {
        a.port = p;
        a.portSource = ReceiverAddress::Source::Environment;
    } else if (saved.port != 0) {
        a.port = saved.port;
        a.portSource = ReceiverAddress::Source::Saved;
    }
    return a;
}

} // namespace lmk
