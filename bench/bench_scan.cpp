// Scan benchmark: a full WVGA display copy (800 columns of 480 pixels) from
// lmk-sim without artificial delay, over WLAN and over the simulated USB
// library, through the page's "Scan" handler. Prints per transport the
// median wall time, columns per second, the program's CPU time, the longest
// gap between two events processed during the scan, and the ratio of the
// program's wall time to that of ref_scan, a plain blocking-socket client
// doing the same exchange against the same simulator in the same run.
// Goals: ratio at most 1.3, longest event gap under 50 ms.
//
//   bench_scan [runs]     (default 5)
// BENCH_ONLY=wlan|usb runs one transport; BENCH_VERBOSE=1 prints every run
// and the slowest steps of the column counter.
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "display/ScanOperation.h"
#include "display/ui/DisplayPage.h"
#include "link/DeviceLink.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>

using namespace lmk;

namespace {

double cpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Longest time between two consecutive events delivered anywhere in the
// application while armed.
class GapMeter : public QObject {
public:
    bool armed = false;
    qint64 last = 0;
    qint64 longest = 0;
    QElapsedTimer clock;
    GapMeter() { clock.start(); }
    void arm() {
        armed = true;
        longest = 0;
        last = clock.nsecsElapsed();
    }
    bool eventFilter(QObject *, QEvent *) override {
        if (armed) {
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - last);
            last = now;
        }
        return false;
    }
};

struct Result {
    std::vector<double> wall, cpu, gap, refWall, refCpu;
};

bool runReference(const QString &kind, const QString &where, int runs, Result &r) {
    QProcess ref;
    ref.start(QStringLiteral(LMK_BINARY_DIR "/bench/ref_scan"),
              {kind, where, QString::number(runs)});
    if (!ref.waitForFinished(120000) || ref.exitCode() != 0) {
        std::fprintf(stderr, "ref_scan failed: %s\n", ref.readAllStandardError().constData());
        return false;
    }
    for (const QByteArray &line : ref.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() >= 4 && f[0] == "ref_ms") {
            r.refWall.push_back(f[1].toDouble());
            r.refCpu.push_back(f[3].toDouble());
        }
    }
    return int(r.refWall.size()) == runs;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    ScriptedDialogs dialogs;
    GapMeter gaps;
    app.installEventFilter(&gaps);

    std::printf("full WVGA scan, 800 x 480, %d runs each, medians\n", runs);
    std::printf("%-5s %9s %10s %9s %8s %9s %9s %7s\n", "link", "wall_ms", "columns/s", "cpu_ms",
                "gap_ms", "ref_ms", "ref_cpu", "ratio");
    bool ok = true;
    for (const QString transport : {QStringLiteral("wlan"), QStringLiteral("usb")}) {
        const QString only = qEnvironmentVariable("BENCH_ONLY"); // "wlan" or "usb"
        if (!only.isEmpty() && only != transport)
            continue;
        SimProcess sim;
        if (!sim.start()) {
            std::fprintf(stderr, "lmk-sim did not start\n");
            return 1;
        }
        Result r;
        if (!runReference(transport == QLatin1String("wlan") ? QStringLiteral("tcp") : QStringLiteral("unix"),
                          transport == QLatin1String("wlan") ? QString::number(sim.port())
                                                             : sim.usbSocketPath(),
                          runs, r))
            return 1;
        auto link = std::make_unique<DeviceLink>();
        if (transport == QLatin1String("usb")) {
            sim.useUsb();
            if (link->openUsb() == 0) {
                std::fprintf(stderr, "simulated USB did not open\n");
                return 1;
            }
        } else {
            link->setEndpoint(QStringLiteral("127.0.0.1"), sim.port());
            link->setWlanChecked(true);
            link->openTcp(); // as at start-up: the connection is open before any scan
        }
        auto page = std::make_unique<DisplayPage>(*link);
        page->show();
        std::vector<qint64> stamps;
        QElapsedTimer colClock;
        colClock.start();
        QObject::connect(&page->scanOperation(), &ScanOperation::counterChanged, &app,
                         [&] { stamps.push_back(colClock.nsecsElapsed()); });
        for (int i = 0; i < runs; ++i) {
            dialogs.texts.clear();
            stamps.clear();
            const double cpu0 = cpuMs();
            QElapsedTimer t;
            gaps.arm();
            t.start();
            page->B_DispcpyClick();
            const qint64 ns = t.nsecsElapsed();
            gaps.armed = false;
            if (dialogs.texts != QStringList{QStringLiteral("All data received!")}) {
                std::fprintf(stderr, "%s scan ended with: %s\n", qPrintable(transport),
                             qPrintable(dialogs.texts.join(QLatin1String(" / "))));
                ok = false;
            }
            r.wall.push_back(ns / 1e6);
            r.cpu.push_back(cpuMs() - cpu0);
            r.gap.push_back(gaps.longest / 1e6);
            if (qEnvironmentVariableIsSet("BENCH_VERBOSE"))
                std::printf("  run %d: %.1f ms, cpu %.1f ms, gap %.2f ms\n", i, ns / 1e6,
                            r.cpu.back(), r.gap.back());
            if (qEnvironmentVariableIsSet("BENCH_VERBOSE")) {
                std::vector<double> d;
                for (size_t k = 1; k < stamps.size(); ++k) {
                    d.push_back((stamps[k] - stamps[k - 1]) / 1e6);
                    if (d.back() > 5)
                        std::printf("    slow column step at counter %zu\n", k);
                }
                std::sort(d.rbegin(), d.rend());
                int slow = 0;
                for (double x : d)
                    slow += x > 5;
                std::printf("    column gaps: max %.2f, 2nd %.2f, >5 ms: %d, median %.3f\n",
                            d.empty() ? 0 : d[0], d.size() > 1 ? d[1] : 0, slow,
                            d.empty() ? 0 : d[d.size() / 2]);
            }
        }
        const double wall = median(r.wall), ref = median(r.refWall);
        std::printf("%-5s %9.1f %10.0f %9.1f %8.2f %9.1f %9.1f %7.2f\n", qPrintable(transport), wall,
                    800.0 / (wall / 1000.0), median(r.cpu),
                    *std::max_element(r.gap.begin(), r.gap.end()), ref, median(r.refCpu),
                    ref > 0 ? wall / ref : 0.0);
        std::fflush(stdout);
        page.reset();
        link.reset();
        SimProcess::noUsb();
    }
    std::printf("goals: ratio <= 1.30, gap < 50 ms (gap is the largest over all runs)\n");
    return ok ? 0 : 1;
}
