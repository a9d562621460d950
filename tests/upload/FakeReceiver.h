#pragma once
// An in-process receiver behind a DeviceLink that believes a USB device is
// open (setUsbOpenForTest, no USB library loaded): every request reaches
// `respond` through DeviceLink::requestSent, and its answers are posted to
// the link's event target as USB frames, each `delayMs` after the one before.

#include "link/DeviceEvents.h"
#include "link/DeviceLink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace lmk {

class FakeReceiver : public QObject {
  public:
    struct Answer {
        QByteArray payload;
        int delayMs = 0;
    };
    using Respond = std::function<QList<Answer>(const QByteArray &request)>;

    static QByteArray word(quint8 code) { return QByteArray(1, char(code)) + QByteArray(3, '\0'); }

    explicit FakeReceiver(DeviceLink &link) : m_link(link) {
        link.setUsbOpenForTest(1 != 0);
        clock.start();
        connect(&link, &DeviceLink::requestSent, this,
                [this](const QByteArray &bytes, const QString &) { onRequest(bytes); });
    }

    Respond respond;
    QList<QByteArray> requests;
    QElapsedTimer clock;

    void post(const QByteArray &payload) {
        QCoreApplication::postEvent(m_link.eventTarget(), new DeviceDataEvent(payload));
    }

  private:
    void onRequest(const QByteArray &bytes) {
        requests << bytes;
        if (!respond)
            return;
        int at = 0;
        for (const Answer &a : respond(bytes)) {
            at += a.delayMs;
            if (at == 0) {
                post(a.payload);
            } else {
                QPointer<FakeReceiver> self(this);
                const QByteArray p = a.payload;
                QTimer::singleShot(at, this, [self, p] {
                    if (self)
                        self->post(p);
                });
            }
        }
    }

    DeviceLink &m_link;
};

} // namespace lmk
