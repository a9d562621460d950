#pragma once
// What every benchmark measures the same way, at next to no cost to the
// program it measures:
//
// - WindowGapMeter: the longest time the window's thread went without
//   turning to its events. It adds no timer and no wake-up of its own: an
//   application event filter (called for the window thread's events only)
//   and the thread's event dispatcher (aboutToBlock, awake) mark the moments
//   at which the thread is at its event loop anyway. The longest time
//   between two marks is the gap; time the thread spent blocked in its
//   event loop, waiting for something to happen, is not a gap. Only events
//   that come through the event loop mark (posted and queued events, timers,
//   sockets, the window system's): an event sent directly from inside a
//   handler (a paint, a resize) does not tell that the thread is free.
// - cpuMs(): user + system CPU time of the whole process (all threads).
// - residentKiB(): VmRSS / VmHWM from /proc/self/status.
// - Table rows: one line per measurement in one format for every bench,
//   "| bench | link | wall ms | cpu ms | ref wall ms | ref cpu ms | wall
//   ratio | cpu ratio | longest gap ms |", ready to quote.
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <sys/resource.h>

namespace lmkbench {

inline double cpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

struct Resident {
    qint64 rssKiB = 0; // VmRSS
    qint64 hwmKiB = 0; // VmHWM, the peak so far
};

inline Resident residentKiB() {
    Resident r;
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return r;
    for (const QByteArray &line : f.readAll().split('\n')) {
        const auto value = [&] { return line.mid(6).trimmed().split(' ').value(0).toLongLong(); };
        if (line.startsWith("VmRSS:"))
            r.rssKiB = value();
        else if (line.startsWith("VmHWM:"))
            r.hwmKiB = value();
    }
    return r;
}

class WindowGapMeter : public QObject {
public:
    WindowGapMeter() {
        m_clock.start();
        QCoreApplication::instance()->installEventFilter(this);
        if (auto *d = QAbstractEventDispatcher::instance(QCoreApplication::instance()->thread())) {
            connect(d, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
                mark();
                m_blocked = true;
            });
            connect(d, &QAbstractEventDispatcher::awake, this, [this] { mark(); });
        }
    }
    ~WindowGapMeter() override { QCoreApplication::instance()->removeEventFilter(this); }

    // Starts a measurement: the longest gap from now on.
    void arm() {
        m_armed = true;
        m_blocked = false;
        m_longest = 0;
        m_recent = 0;
        m_last = m_clock.nsecsElapsed();
    }
    // Ends it; the gap up to now counts.
    void disarm() {
        mark();
        m_armed = false;
    }
    // The bench blocks on purpose (reads a file, talks to the simulator):
    // the time up to the next mark is not the program's.
    void pause() { m_blocked = true; }
    double longestMs() const { return double(m_longest) / 1e6; }
    // The longest gap since the last call.
    double takeRecentMs() { return double(std::exchange(m_recent, 0)) / 1e6; }

    bool eventFilter(QObject *, QEvent *e) override {
        if (fromLoop(e))
            mark();
        return false;
    }

private:
    static bool fromLoop(const QEvent *e) {
        if (e->spontaneous() || e->type() >= QEvent::User)
            return true;
        switch (e->type()) {
        case QEvent::Timer:
        case QEvent::SockAct:
        case QEvent::SockClose:
        case QEvent::MetaCall:
        case QEvent::DeferredDelete:
        case QEvent::UpdateRequest:
        case QEvent::Quit:
            return true;
        default:
            return false;
        }
    }

    void mark() {
        if (!m_armed)
            return;
        const qint64 now = m_clock.nsecsElapsed();
        if (!m_blocked) {
            m_longest = std::max(m_longest, now - m_last);
            m_recent = std::max(m_recent, now - m_last);
        }
        m_blocked = false;
        m_last = now;
    }

    QElapsedTimer m_clock;
    bool m_armed = false;
    bool m_blocked = false;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    qint64 m_recent = 0;
};

// The table every bench prints its figures in. A figure below zero is
// printed as "-" (no reference client, no ratio).
inline void printTableHeader() {
    std::printf("| bench | link | wall ms | cpu ms (user+sys) | ref wall ms | ref cpu ms | "
                "wall ratio | cpu ratio | longest gap ms |\n"
                "|---|---|---:|---:|---:|---:|---:|---:|---:|\n");
}

inline void printTableRow(const char *bench, const char *link, double wallMs, double cpu,
                          double refWallMs = -1, double refCpuMs = -1, double gapMs = -1) {
    const auto f = [](double v, int decimals) {
        if (v < 0)
            return std::string("-");
        char b[32];
        std::snprintf(b, sizeof b, "%.*f", decimals, v);
        return std::string(b);
    };
    std::printf("| %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", bench, link,
                f(wallMs, 1).c_str(), f(cpu, 1).c_str(), f(refWallMs, 1).c_str(),
                f(refCpuMs, 1).c_str(), f(refWallMs > 0 ? wallMs / refWallMs : -1, 2).c_str(),
                f(refCpuMs > 0 ? cpu / refCpuMs : -1, 2).c_str(), f(gapMs, 1).c_str());
    std::fflush(stdout);
}

} // namespace lmkbench
