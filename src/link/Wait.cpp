#include "link/Wait.h"

#include "link/StopRequest.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <memory>

namespace lmk {

namespace {
int g_activeWaits = 0;

// One heartbeat for all waits, so the blocking event processing returns in
// time to check the condition and the deadline even when nothing else
// happens. It keeps running between waits that follow each other closely
// and stops at its first tick without a wait.
QTimer *heartbeat() {
    static QPointer<QTimer> timer;
    if (!timer) {
        timer = new QTimer(QCoreApplication::instance());
        timer->setInterval(kWaitSliceMs);
        QObject::connect(timer, &QTimer::timeout, timer, [] {
            if (g_activeWaits == 0)
                heartbeat()->stop();
        });
    }
    return timer;
}
} // namespace

bool waitWhile(const std::function<bool()> &condition, int maxMs) {
    if (!condition())
        return true;
    const QDeadlineTimer deadline(maxMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever)
                                            : QDeadlineTimer(maxMs, Qt::PreciseTimer));
    QTimer *beat = heartbeat();
    if (!beat->isActive())
        beat->start();
    ++g_activeWaits;
    // A precise wake-up for the deadline once it is closer than a heartbeat.
    std::unique_ptr<QTimer> lastSlice;
    bool done = true;
    while (condition()) {
        // A requested stop (Ctrl+C, SIGTERM, ...) ends every wait.
        if (deadline.hasExpired() || stopRequested()) {
            done = false;
            break;
        }
        if (maxMs >= 0 && !lastSlice) {
            const qint64 left = deadline.remainingTime();
            if (left < kWaitSliceMs) {
                lastSlice = std::make_unique<QTimer>();
                lastSlice->setSingleShot(true);
                lastSlice->setTimerType(Qt::PreciseTimer);
                lastSlice->start(int(qMax<qint64>(1, left)));
            }
        }
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    --g_activeWaits;
    return done;
}

void processPendingEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace lmk
