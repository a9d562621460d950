// Upload benchmark: a 4 MiB file to lmk-sim (no artificial delay) through
// the "Update 54/55" page, over WLAN and over the simulated USB, set against
// ref_upload, a plain blocking client doing the same exchange, in the same
// run. Prints wall time, throughput and CPU time (user + system) of the
// program, the reference's figures, and program / reference (goal: at most
// 1.3), and the longest gap of the window's thread during the upload
// (BenchFigures.h: measured without a timer of its own). The last lines are
// the same figures as rows of the table every bench prints.
//
// With --delay MS the simulator answers every request MS later, as a real
// link would. The protocol is stop-and-wait, so no upload can be faster than
// its round trips times the delay: the floor. The program's time / floor is
// printed as well (goal: at most 1.05 for 1 MiB).
//
// --pulse also runs the old probe, a 1 ms timer in the measured process, and
// prints its longest gap beside the meter's: it costs the program about 16 ms
// of CPU per second, so its CPU figures are not the program's.
//
//   bench_upload [--size BYTES] [--runs N] [--link wlan|usb] [--delay MS] [--pulse]
#include "BenchFigures.h"
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "link/DeviceLink.h"
#include "upload/ui/UpdatePage.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace lmk;
using lmkbench::cpuMs;

namespace {

struct Figures {
    double wallMs = 0;
    double cpuMs = 0;
    double maxGapMs = 0;   // longest gap of the window's thread
    double pulseGapMs = 0; // the same by the 1 ms timer (--pulse)
    bool ok = false;
};

QStringList simOptions(int delayMs) {
    return delayMs > 0 ? QStringList{QStringLiteral("--delay"), QString::number(delayMs)}
                       : QStringList{};
}

// Requests of one upload: header, three name packets, one per 256 bytes.
qint64 roundTrips(qint64 size) { return 4 + (size + 255) / 256; }

QByteArray storedUpload(const SimProcess &sim) {
    QFile f(QDir(sim.stateDir()).filePath(QStringLiteral("upload-1.bin")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Figures runProgram(bool usb, const QString &path, const QByteArray &file, int delayMs,
                   lmkbench::WindowGapMeter &gaps, bool withPulse) {
    Figures fig;
    SimProcess sim;
    if (!sim.start(simOptions(delayMs)))
        return fig;
    ScriptedDialogs dlg;
    DeviceLink link;
    if (usb) {
        sim.useUsb();
        if (link.openUsb() == 0)
            return fig;
    } else {
        link.setEndpoint(QStringLiteral("127.0.0.1"), sim.port());
        link.setWlanChecked(true);
    }
    QTabWidget tabs;
    tabs.setObjectName(QStringLiteral("PC_main"));
    auto *page = new UpdatePage(link, &tabs);
    tabs.addTab(page, QStringLiteral("Update 54/55"));
    if (qEnvironmentVariableIsEmpty("BENCH_HIDDEN"))
        tabs.show();
    page->B_SyncClick();
    page->selectUploadFile(path);
    dlg.clear();

    // The old probe, only with --pulse: a 1 ms timer whose longest gap is
    // noted.
    QTimer pulse;
    pulse.setTimerType(Qt::PreciseTimer);
    QElapsedTimer sinceTick;
    qint64 maxPulseNs = 0;
    QObject::connect(&pulse, &QTimer::timeout, [&] {
        maxPulseNs = std::max(maxPulseNs, sinceTick.nsecsElapsed());
        sinceTick.start();
    });
    QElapsedTimer wall;
    const double cpu0 = cpuMs();
    if (withPulse)
        pulse.start(1);
    sinceTick.start();
    gaps.arm();
    wall.start();
    page->B_StartClick();
    fig.wallMs = double(wall.nsecsElapsed()) / 1e6;
    fig.cpuMs = cpuMs() - cpu0;
    // B_StartClick ends with the outcome box, which the scripted dialogs
    // answer at once; the gap up to here is part of the upload.
    gaps.disarm();
    fig.maxGapMs = gaps.longestMs();
    if (withPulse) {
        maxPulseNs = std::max(maxPulseNs, sinceTick.nsecsElapsed());
        pulse.stop();
        fig.pulseGapMs = double(maxPulseNs) / 1e6;
    }
    fig.ok = dlg.texts == QStringList{QStringLiteral("File transfer finished successfully!")} &&
             storedUpload(sim) == file;
    if (!fig.ok)
        std::fprintf(stderr, "program run failed: %s\n",
                     qPrintable(dlg.texts.join(QLatin1String(" | "))));
    if (usb)
        link.closeUsb();
    SimProcess::noUsb();
    return fig;
}

Figures runReference(bool usb, const QString &path, const QByteArray &file, int delayMs) {
    Figures fig;
    SimProcess sim;
    if (!sim.start(simOptions(delayMs)))
        return fig;
    QProcess ref;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LMK_SIM_USB"), sim.usbSocketPath());
    ref.setProcessEnvironment(env);
    const QString binary = QStringLiteral(LMK_BINARY_DIR "/bench/ref_upload");
    if (usb)
        ref.start(binary, {QStringLiteral("usb"), QStringLiteral(LMK_USB_SIM_LIBRARY), path});
    else
        ref.start(binary, {QStringLiteral("wlan"), QString::number(sim.port()), path});
    if (!ref.waitForFinished(300000))
        return fig;
    const QString out = QString::fromLatin1(ref.readAllStandardOutput());
    static const QRegularExpression re(QStringLiteral("wall_ms=([0-9.]+) cpu_ms=([0-9.]+)"));
    const auto m = re.match(out);
    fig.ok = ref.exitCode() == 0 && m.hasMatch() && storedUpload(sim) == file;
    if (m.hasMatch()) {
        fig.wallMs = m.captured(1).toDouble();
        fig.cpuMs = m.captured(2).toDouble();
    }
    if (!fig.ok)
        std::fprintf(stderr, "reference run failed: %s %s\n", qPrintable(out),
                     ref.readAllStandardError().constData());
    return fig;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qint64 size = 4 * 1024 * 1024;
    int runs = 3;
    QString only;
    int delayMs = 0;
    const QStringList args = app.arguments();
    const bool withPulse = args.contains(QLatin1String("--pulse"));
    lmkbench::WindowGapMeter gaps;
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--size"))
            size = args[i + 1].toLongLong();
        else if (args[i] == QLatin1String("--runs"))
            runs = qMax(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--link"))
            only = args[i + 1];
        else if (args[i] == QLatin1String("--delay"))
            delayMs = qMax(0, args[i + 1].toInt());
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LMKBENCH.RPD"));
    QByteArray file(size, '\0');
    quint32 x = 1;
    for (qint64 i = 0; i < size; ++i) {
        x = x * 1664525u + 1013904223u;
        file[i] = char(x >> 24);
    }
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(file) != file.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }

    const qint64 trips = roundTrips(size);
    const double floorMs = double(trips) * delayMs;
    std::printf("upload of %lld bytes, %d run(s) each, medians\n", size, runs);
    if (delayMs > 0)
        std::printf("link delay %d ms per reply: %lld round trips, floor %.1f ms\n", delayMs,
                    trips, floorMs);
    std::printf("%-5s %12s %10s %12s | %12s %12s | %8s %8s | %10s", "link", "wall ms", "MiB/s",
                "cpu ms", "ref wall ms", "ref cpu ms", "ratio", "cpu ratio", "max gap ms");
    if (withPulse)
        std::printf(" %12s", "pulse gap ms");
    if (delayMs > 0)
        std::printf(" | %10s %10s", "prog/floor", "ref/floor");
    std::printf("\n");
    struct Row {
        const char *link;
        double wall, cpu, refWall, refCpu, gap;
    };
    std::vector<Row> rows;
    bool allOk = true;
    for (bool usb : {false, true}) {
        if (!only.isEmpty() && only != QLatin1String(usb ? "usb" : "wlan"))
            continue;
        std::vector<double> pw, pc, pg, pp, rw, rc;
        for (int r = 0; r < runs; ++r) {
            // Alternate, so that a slow phase of the machine hits both.
            const Figures p = runProgram(usb, path, file, delayMs, gaps, withPulse);
            const Figures f = runReference(usb, path, file, delayMs);
            allOk = allOk && p.ok && f.ok;
            pw.push_back(p.wallMs);
            pc.push_back(p.cpuMs);
            pg.push_back(p.maxGapMs);
            pp.push_back(p.pulseGapMs);
            rw.push_back(f.wallMs);
            rc.push_back(f.cpuMs);
        }
        const double wall = median(pw), refWall = median(rw);
        const double cpu = median(pc), refCpu = median(rc);
        const double gap = *std::max_element(pg.begin(), pg.end());
        std::printf("%-5s %12.1f %10.2f %12.1f | %12.1f %12.1f | %8.2f %8.2f | %10.1f",
                    usb ? "usb" : "wlan", wall,
                    wall > 0 ? (double(size) / (1024.0 * 1024.0)) / (wall / 1000.0) : 0.0, cpu,
                    refWall, refCpu, refWall > 0 ? wall / refWall : 0.0,
                    refCpu > 0 ? cpu / refCpu : 0.0, gap);
        if (withPulse)
            std::printf(" %12.1f", *std::max_element(pp.begin(), pp.end()));
        if (delayMs > 0)
            std::printf(" | %10.3f %10.3f", wall / floorMs, refWall / floorMs);
        std::printf("\n");
        std::fflush(stdout);
        rows.push_back({usb ? "usb" : "wlan", wall, cpu, refWall, refCpu, gap});
    }
    std::printf("\n");
    const std::string name = "upload " +
                             (size % (1024 * 1024) == 0
                                  ? std::to_string(size / (1024 * 1024)) + " MiB"
                                  : std::to_string(size) + " B") +
                             (delayMs > 0 ? " delay " + std::to_string(delayMs) : std::string());
    lmkbench::printTableHeader();
    for (const Row &r : rows)
        lmkbench::printTableRow(name.c_str(), r.link, r.wall, r.cpu, r.refWall, r.refCpu, r.gap);
    std::printf("(medians over %d runs; longest gap: the largest of the runs%s)\n", runs,
                withPulse ? "; cpu includes the 1 ms pulse" : "");
    std::printf("%s\n", allOk ? "all uploads arrived byte-identical"
                              : "SOME UPLOADS FAILED (see standard error)");
    return allOk ? 0 : 1;
}
