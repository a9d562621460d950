// Flood benchmark: the receiver sends frames nobody asked for, about 1 MB/s
// for a minute (lmk-sim --control, "flood"), to a window that is open and
// idle, over the simulated USB library (or WLAN). Does the program stay
// bounded and responsive?
//
// Prints resident memory (VmRSS before, every 10 s, at the end of the flood
// and after it; the growth at the end and at most, and VmHWM), the CPU time
// the program spent, the longest gap of the window's thread (BenchFigures.h)
// and the longest wait of an event posted to the window's thread from
// outside, 10 times a second: how long what the window is asked to do waits
// behind the flood. After the flood it waits (at most --drain seconds) until
// such an event gets through within 100 ms and prints how long that took.
// Goals: growth at most 20 MB, longest gap below 8 ms.
//
//   bench_flood [--seconds N] [--rate BYTES_PER_S] [--frame BYTES]
//               [--link usb|wlan] [--page update|terminal] [--drain S]
// Defaults: 60 s, 1000000 bytes/s, frames of 64 bytes, usb, update page,
// drain 60 s.
#include "BenchFigures.h"
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "app/TFMain.h"
#include "link/DeviceLink.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

using namespace lmk;

namespace {

using Clock = std::chrono::steady_clock;

// Posts an event to the window's thread every 100 ms from a thread of its
// own, and notes how long each one waited before it was handled.
class QueueProbe : public QObject {
public:
    static inline const QEvent::Type kType = QEvent::Type(QEvent::registerEventType());

    class ProbeEvent : public QEvent {
    public:
        ProbeEvent() : QEvent(kType), posted(Clock::now()) {}
        Clock::time_point posted;
    };

    QueueProbe() {
        m_thread = std::thread([this] {
            std::unique_lock<std::mutex> lock(m_lock);
            while (!m_stop) {
                QCoreApplication::postEvent(this, new ProbeEvent);
                m_wake.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_stop; });
            }
        });
    }
    ~QueueProbe() override {
        {
            std::lock_guard<std::mutex> g(m_lock);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
        QCoreApplication::removePostedEvents(this);
    }

    // Longest wait since arm(), and since the last call, in ms.
    void arm() { m_longestMs = m_recentMs = 0; }
    double longestMs() const { return m_longestMs; }
    double takeRecentMs() { return std::exchange(m_recentMs, 0.0); }
    double lastMs() const { return m_lastMs; }
    int handled() const { return m_handled; }

    bool event(QEvent *e) override {
        if (e->type() != kType)
            return QObject::event(e);
        m_lastMs = std::chrono::duration<double, std::milli>(
                       Clock::now() - static_cast<ProbeEvent *>(e)->posted)
                       .count();
        m_longestMs = std::max(m_longestMs, m_lastMs);
        m_recentMs = std::max(m_recentMs, m_lastMs);
        ++m_handled;
        return true;
    }

private:
    std::thread m_thread;
    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_stop = false;
    double m_longestMs = 0;
    double m_recentMs = 0;
    double m_lastMs = 0;
    int m_handled = 0;
};

// Runs the application's own event loop for `ms` (the bench is its main).
void runFor(int ms) {
    QTimer::singleShot(ms, QCoreApplication::instance(), &QCoreApplication::quit);
    QCoreApplication::exec();
}

double mb(qint64 kib) { return double(kib) / 1024.0; }

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int seconds = 60, rate = 1000000, frameBytes = 64, drainS = 60;
    QString transport = QStringLiteral("usb"), pageName = QStringLiteral("update");
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        const QString next = i + 1 < args.size() ? args[i + 1] : QString();
        bool ok = true;
        if (a == QLatin1String("--seconds"))
            seconds = next.toInt(&ok);
        else if (a == QLatin1String("--rate"))
            rate = next.toInt(&ok);
        else if (a == QLatin1String("--frame"))
            frameBytes = next.toInt(&ok);
        else if (a == QLatin1String("--drain"))
            drainS = next.toInt(&ok);
        else if (a == QLatin1String("--link") &&
                 (next == QLatin1String("usb") || next == QLatin1String("wlan")))
            transport = next;
        else if (a == QLatin1String("--page") &&
                 (next == QLatin1String("update") || next == QLatin1String("terminal")))
            pageName = next;
        else
            ok = false;
        if (!ok || seconds < 1 || drainS < 0) {
            std::fprintf(stderr, "usage: bench_flood [--seconds N] [--rate BYTES_PER_S] "
                                 "[--frame BYTES] [--link usb|wlan] [--page update|terminal] "
                                 "[--drain S]\n");
            return 2;
        }
        ++i;
    }
    const bool usb = transport == QLatin1String("usb");

    ScriptedDialogs dialogs;
    SimProcess sim;
    if (!sim.start({QStringLiteral("--control"), QStringLiteral("--mode"), QStringLiteral("boot")})) {
        std::fprintf(stderr, "lmk-sim did not start\n");
        return 1;
    }
    if (usb)
        sim.useUsb();
    else
        SimProcess::noUsb();
    auto link = std::make_unique<DeviceLink>();
    link->setEndpoint(QStringLiteral("127.0.0.1"), sim.port());
    auto window = std::make_unique<TFMain>(*link);
    window->show();
    window->FormCreate();
    if (usb != link->usbOpen() || (!usb && !link->wlanChecked())) {
        std::fprintf(stderr, "the window found no %s connection\n", qPrintable(transport));
        return 1;
    }
    window->showPage(pageName == QLatin1String("terminal") ? 2 : 0);
    runFor(1000); // start-up settles (over USB the terminal page asks for its form)
    dialogs.clear();

    std::printf("flood of frames nobody asked for: %s, %d bytes/s for %d s, frames of %d bytes, "
                "window on the %s page\n",
                qPrintable(transport), rate, seconds, frameBytes, qPrintable(pageName));
    const lmkbench::Resident before = lmkbench::residentKiB();
    std::printf("resident before: %.1f MB (peak so far %.1f MB)\n", mb(before.rssKiB),
                mb(before.hwmKiB));
    std::fflush(stdout);

    lmkbench::WindowGapMeter gaps;
    QueueProbe probe;
    qint64 peakKiB = before.rssKiB;
    QTimer sampler; // once a second: next to nothing
    int tick = 0;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const qint64 rss = lmkbench::residentKiB().rssKiB;
        peakKiB = std::max(peakKiB, rss);
        if (++tick % 10 == 0) {
            std::printf("  %3d s: resident %.1f MB, longest wait of a posted event %.1f ms\n", tick,
                        mb(rss), probe.takeRecentMs());
            std::fflush(stdout);
        }
    });

    const QString rule = QStringLiteral("%1:%2:%3:%4").arg(transport).arg(rate).arg(seconds).arg(frameBytes);
    probe.arm();
    const double cpu0 = lmkbench::cpuMs();
    QElapsedTimer wall;
    wall.start();
    if (!sim.control(QStringLiteral("flood ") + rule)) {
        std::fprintf(stderr, "the simulator refused the flood %s\n", qPrintable(rule));
        return 1;
    }
    gaps.arm();
    sampler.start(1000);
    runFor(seconds * 1000);
    gaps.disarm();
    const double floodWallMs = double(wall.nsecsElapsed()) / 1e6;
    const double cpu = lmkbench::cpuMs() - cpu0;
    const double gapMs = gaps.longestMs();
    const lmkbench::Resident atEnd = lmkbench::residentKiB();
    peakKiB = std::max(peakKiB, atEnd.rssKiB);
    const double floodWaitMs = probe.longestMs();

    // After the flood: how long until what the window is asked to do gets
    // through within 100 ms again.
    QElapsedTimer drain;
    drain.start();
    const int handledAtEnd = probe.handled();
    bool drained = false;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (probe.handled() > handledAtEnd + 1 && probe.lastMs() < 100) {
            drained = true;
            QCoreApplication::quit();
        } else if (drain.elapsed() > drainS * 1000) {
            QCoreApplication::quit();
        }
    });
    check.start(50);
    QCoreApplication::exec();
    check.stop();
    sampler.stop();
    const double drainMs = double(drain.elapsed());
    const double longestWaitMs = probe.longestMs();
    const lmkbench::Resident after = lmkbench::residentKiB();
    peakKiB = std::max(peakKiB, after.rssKiB);

    const double growthEnd = mb(atEnd.rssKiB - before.rssKiB);
    const double growthPeak = mb(peakKiB - before.rssKiB);
    std::printf("resident at the end of the flood: %.1f MB (growth %.1f MB), at most %.1f MB "
                "(growth %.1f MB), after it %.1f MB, peak VmHWM %.1f MB\n",
                mb(atEnd.rssKiB), growthEnd, mb(peakKiB), growthPeak, mb(after.rssKiB),
                mb(after.hwmKiB));
    std::printf("longest wait of a posted event: %.1f ms during the flood, %.1f ms with the time "
                "after it; after the flood the window took %s\n",
                floodWaitMs, longestWaitMs,
                drained ? qPrintable(QStringLiteral("%1 ms to answer within 100 ms again")
                                         .arg(drainMs, 0, 'f', 0))
                        : qPrintable(QStringLiteral("longer than %1 s to catch up").arg(drainS)));
    std::printf("goals: growth <= 20 MB, longest gap < 8 ms; window messages: %d\n\n",
                int(dialogs.texts.size()));
    const std::string name = "flood " + std::to_string(rate / 1000) + " kB/s " +
                             std::to_string(seconds) + " s, " + pageName.toStdString() + " page";
    lmkbench::printTableHeader();
    lmkbench::printTableRow(name.c_str(), qPrintable(transport), floodWallMs, cpu, -1, -1, gapMs);
    std::printf("\n| bench | link | rss before MB | growth at end MB | growth at most MB | "
                "VmHWM MB | longest posted-event wait ms | caught up after ms |\n"
                "|---|---|---:|---:|---:|---:|---:|---:|\n"
                "| %s | %s | %.1f | %.1f | %.1f | %.1f | %.1f | %s |\n",
                name.c_str(), qPrintable(transport), mb(before.rssKiB), growthEnd, growthPeak,
                mb(after.hwmKiB), longestWaitMs,
                drained ? QByteArray::number(drainMs, 'f', 0).constData() : "-");
    std::fflush(stdout);

    if (usb)
        link->closeUsb();
    window.reset();
    link.reset();
    SimProcess::noUsb();
    return 0;
}
