// Scan benchmark: a full WVGA display copy (800 columns of 480 pixels) from
// lmk-sim without artificial delay, over WLAN and over the simulated USB
// library, through the page's "Scan" handler. Prints per transport the
// median wall time, columns per second, the program's CPU time (user +
// system), the longest gap of the window's thread during the scan
// (BenchFigures.h), and the ratio of the program's wall time to that of
// ref_scan, a plain blocking-socket client doing the same exchange against
// the same simulator in the same run. Goals: ratio at most 1.3, longest gap
// under 50 ms. Both modes end with their figures as rows of the table every
// bench prints.
//
// With --delay MS the simulator answers every request MS later, as a real
// link would; the scan is then set against its floor, the round trips times
// the delay (801 replies for 800 columns: the acceptance and one column per
// acknowledgement), and its CPU time against ref_scan's. Goals: ratio at
// most 1.05, longest gap under 16 ms. It also measures the live mirror
// ("Live" checked) in frames per second for the full WVGA and the diagram
// WVGA area, beside the floor's frames per second. ref_scan runs against the same delayed simulator, so
// that what the machine allows at all can be told from the program's part.
//
//   bench_scan [runs] [--delay MS]     (default 5 runs)
// BENCH_ONLY=wlan|usb runs one transport; BENCH_VERBOSE=1 prints every run
// and the slowest steps of the column counter.
#include "BenchFigures.h"
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "display/ScanOperation.h"
#include "display/ui/DisplayPage.h"
#include "link/DeviceLink.h"
#include "link/Wait.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <sys/resource.h>

using namespace lmk;

namespace {

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

using lmkbench::cpuMs;
using GapMeter = lmkbench::WindowGapMeter;

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

// The reference client on the simulator's socket for this transport.
bool runReferenceOn(SimProcess &sim, const QString &transport, int runs, Result &r) {
    const bool wlan = transport == QLatin1String("wlan");
    return runReference(wlan ? QStringLiteral("tcp") : QStringLiteral("unix"),
                        wlan ? QString::number(sim.port()) : sim.usbSocketPath(), runs, r);
}

// A link to the simulator over `transport`, open as after start-up.
std::unique_ptr<DeviceLink> openLink(SimProcess &sim, const QString &transport) {
    auto link = std::make_unique<DeviceLink>();
    if (transport == QLatin1String("usb")) {
        sim.useUsb();
        if (link->openUsb() == 0) {
            std::fprintf(stderr, "simulated USB did not open\n");
            return nullptr;
        }
    } else {
        link->setEndpoint(QStringLiteral("127.0.0.1"), sim.port());
        link->setWlanChecked(true);
        link->openTcp(); // the connection is open before any scan
    }
    return link;
}

// Frames per second of the live mirror over `frames` whole frames, counted
// from the end of the first one (which starts from a cold link).
double liveFramesPerSecond(DisplayPage &page, int frames, double &longestGapMs, GapMeter &gaps) {
    auto *live = page.findChild<QCheckBox *>(QStringLiteral("CB_Live"));
    int done = 0;
    qint64 elapsedMs = 0;
    QElapsedTimer clock;
    const QMetaObject::Connection c = QObject::connect(
        &page.scanOperation(), &ScanOperation::runningChanged, &page, [&](bool running) {
            if (running)
                return;
            if (++done == 1) {
                clock.start();
                gaps.arm();
            }
            if (done == frames + 1) {
                elapsedMs = clock.elapsed();
                live->setChecked(false);
            }
        });
    live->setChecked(true);
    waitWhile([&] { return live->isChecked() || page.liveRunning(); }, 120000);
    gaps.disarm();
    longestGapMs = gaps.longestMs();
    QObject::disconnect(c);
    return done > frames && elapsedMs > 0 ? frames * 1000.0 / double(elapsedMs) : 0.0;
}

int runDelayed(int runs, int delayMs, ScriptedDialogs &dialogs, GapMeter &gaps) {
    const double floorMs = 801.0 * delayMs;
    std::printf("full WVGA scan, 800 x 480, lmk-sim --delay %d, %d runs each, medians\n", delayMs,
                runs);
    std::printf("%-5s %9s %9s %7s %8s %9s %9s %9s %9s\n", "link", "wall_ms", "floor_ms", "ratio",
                "gap_ms", "ref_ms", "ref_ratio", "cpu_ms", "ref_cpu");
    struct Row {
        QString transport;
        double wall, cpu, refWall, refCpu, gap;
    };
    QList<Row> rows;
    bool ok = true;
    struct Live {
        QString transport, area;
        double fps, floorFps, gap;
    };
    QList<Live> live;
    for (const QString transport : {QStringLiteral("wlan"), QStringLiteral("usb")}) {
        const QString only = qEnvironmentVariable("BENCH_ONLY");
        if (!only.isEmpty() && only != transport)
            continue;
        SimProcess sim;
        if (!sim.start({QStringLiteral("--delay"), QString::number(delayMs)})) {
            std::fprintf(stderr, "lmk-sim did not start\n");
            return 1;
        }
        // The plain blocking client against the same delayed simulator: what
        // this machine allows at all.
        Result ref;
        if (!runReferenceOn(sim, transport, runs, ref))
            return 1;
        auto link = openLink(sim, transport);
        if (!link)
            return 1;
        auto page = std::make_unique<DisplayPage>(*link);
        page->show();
        std::vector<double> wall, cpu;
        double gap = 0;
        for (int i = 0; i < runs; ++i) {
            dialogs.texts.clear();
            QElapsedTimer t;
            const double cpu0 = cpuMs();
            gaps.arm();
            t.start();
            page->B_DispcpyClick();
            wall.push_back(t.nsecsElapsed() / 1e6);
            cpu.push_back(cpuMs() - cpu0);
            gaps.disarm();
            gap = std::max(gap, gaps.longestMs());
            if (dialogs.texts != QStringList{QStringLiteral("All data received!")}) {
                std::fprintf(stderr, "%s scan ended with: %s\n", qPrintable(transport),
                             qPrintable(dialogs.texts.join(QLatin1String(" / "))));
                ok = false;
            }
            if (qEnvironmentVariableIsSet("BENCH_VERBOSE"))
                std::printf("  run %d: %.1f ms, ratio %.3f\n", i, wall.back(), wall.back() / floorMs);
        }
        const double w = median(wall);
        const double refMs = median(ref.refWall);
        std::printf("%-5s %9.1f %9.1f %7.3f %8.2f %9.1f %9.3f %9.1f %9.1f\n", qPrintable(transport),
                    w, floorMs, w / floorMs, gap, refMs, refMs / floorMs, median(cpu),
                    median(ref.refCpu));
        rows.append({transport, w, median(cpu), refMs, median(ref.refCpu), gap});
        std::fflush(stdout);

        const int frames = std::max(2, runs);
        for (const char *preset : {"RB_GWVGA", "RB_DWVGA"}) {
            page->findChild<QRadioButton *>(QLatin1String(preset))->click();
            const int columns = page->area().w();
            double liveGap = 0;
            dialogs.texts.clear();
            const double fps = liveFramesPerSecond(*page, frames, liveGap, gaps);
            if (!dialogs.texts.isEmpty()) {
                std::fprintf(stderr, "%s live mirror ended with: %s\n", qPrintable(transport),
                             qPrintable(dialogs.texts.join(QLatin1String(" / "))));
                ok = false;
            }
            live.append({transport, QLatin1String(preset) == QLatin1String("RB_GWVGA")
                                        ? QStringLiteral("full WVGA")
                                        : QStringLiteral("diagram WVGA"),
                         fps, 1000.0 / ((columns + 1.0) * delayMs), liveGap});
        }
        page.reset();
        link.reset();
        SimProcess::noUsb();
    }
    std::printf("live mirror, %d frames each after the first\n", std::max(2, runs));
    std::printf("%-5s %-13s %9s %10s %7s %8s\n", "link", "area", "frames/s", "floor_f/s", "ratio",
                "gap_ms");
    for (const Live &l : live)
        std::printf("%-5s %-13s %9.3f %10.3f %7.3f %8.2f\n", qPrintable(l.transport),
                    qPrintable(l.area), l.fps, l.floorFps, l.fps > 0 ? l.floorFps / l.fps : 0.0,
                    l.gap);
    std::printf("goals: ratio <= 1.05, gap < 16 ms (gap is the largest over all runs)\n\n");
    const std::string name = "scan WVGA delay " + std::to_string(delayMs);
    lmkbench::printTableHeader();
    for (const Row &r : rows)
        lmkbench::printTableRow(name.c_str(), qPrintable(r.transport), r.wall, r.cpu, r.refWall,
                                r.refCpu, r.gap);
    std::printf("(medians over %d runs; longest gap: the largest of the runs)\n", runs);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int runs = 5;
    int delayMs = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--delay") == 0 && i + 1 < argc)
            delayMs = std::max(1, atoi(argv[++i]));
        else
            runs = std::max(1, atoi(argv[i]));
    }
    ScriptedDialogs dialogs;
    GapMeter gaps;
    if (delayMs > 0)
        return runDelayed(runs, delayMs, dialogs, gaps);

    std::printf("full WVGA scan, 800 x 480, %d runs each, medians\n", runs);
    std::printf("%-5s %9s %10s %9s %8s %9s %9s %7s\n", "link", "wall_ms", "columns/s", "cpu_ms",
                "gap_ms", "ref_ms", "ref_cpu", "ratio");
    bool ok = true;
    struct Row {
        QString transport;
        double wall, cpu, refWall, refCpu, gap;
    };
    QList<Row> rows;
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
        if (!runReferenceOn(sim, transport, runs, r))
            return 1;
        auto link = openLink(sim, transport);
        if (!link)
            return 1;
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
            gaps.disarm();
            if (dialogs.texts != QStringList{QStringLiteral("All data received!")}) {
                std::fprintf(stderr, "%s scan ended with: %s\n", qPrintable(transport),
                             qPrintable(dialogs.texts.join(QLatin1String(" / "))));
                ok = false;
            }
            r.wall.push_back(ns / 1e6);
            r.cpu.push_back(cpuMs() - cpu0);
            r.gap.push_back(gaps.longestMs());
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
        rows.append({transport, wall, median(r.cpu), ref, median(r.refCpu),
                     *std::max_element(r.gap.begin(), r.gap.end())});
        page.reset();
        link.reset();
        SimProcess::noUsb();
    }
    std::printf("goals: ratio <= 1.30, gap < 50 ms (gap is the largest over all runs)\n\n");
    lmkbench::printTableHeader();
    for (const Row &row : rows)
        lmkbench::printTableRow("scan WVGA", qPrintable(row.transport), row.wall, row.cpu,
                                row.refWall, row.refCpu, row.gap);
    std::printf("(medians over %d runs; longest gap: the largest of the runs)\n", runs);
    return ok ? 0 : 1;
}
