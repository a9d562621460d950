#include "link/Wait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace lmk {

namespace {
// When events were last processed on this thread (by a wait or on demand).
QElapsedTimer &lastProcessed() {
    static QElapsedTimer t;
    return t;
}
void markProcessed() { lastProcessed().start(); }
} // namespace

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
        markProcessed();
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
    markProcessed();
}

void processPendingEventsUnlessRecent(int ms) {
    if (!lastProcessed().isValid() || lastProcessed().elapsed() >= ms)
        processPendingEvents();
}

} // namespace lmk
