#include "link/Wait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace lmk {

bool waitWhile(const std::function<bool()> &condition, int maxMs) {
    if (!condition())
        return true;
    QDeadlineTimer deadline(maxMs < 0 ? QDeadlineTimer::Forever : QDeadlineTimer(maxMs));
    // A heartbeat, so the blocking event processing below returns in time to
    // check the condition and the deadline even when nothing else happens.
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.start(maxMs >= 0 ? qBound(1, maxMs, kWaitSliceMs) : kWaitSliceMs);
    while (condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (maxMs >= 0) {
            const qint64 left = deadline.remainingTime();
            if (left >= 0 && left < heartbeat.interval())
                heartbeat.setInterval(int(qMax<qint64>(1, left)));
        }
    }
    return true;
}

void processPendingEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace lmk
