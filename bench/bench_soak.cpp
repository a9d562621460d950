// A day of work in a few minutes: one main window (offscreen) and one link,
// kept for the whole run, against lmk-sim over WLAN and over the simulated
// USB library. A seeded random mix of operations runs through the window's
// own handlers; about one in ten meets a fault that the simulator injects for
// that operation only (lmk-sim --control). Every operation must end with the
// message the program gives for that outcome, the operation after it must
// work, uploads must arrive byte-identical and scans must be pixel-exact.
//
// Prints the operations by outcome, resident memory and open descriptors
// after operation 50 and at the end, the longest gap of the window's thread
// (BenchFigures.h: no timer of its own) and the CPU share while operations
// wait for a reply that does not come; at the end wall and CPU time of each
// transport's run as rows of the table every bench prints. Goals: growth
// below 5 MB over the operations after the 50th, descriptors unchanged, gap
// below 50 ms. Exits 1 when a check fails (goals are reported, not tested).
//
//   bench_soak [--seed N] [--ops N] [--transport wlan|usb|both] [--verbose]
#include "BenchFigures.h"
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "app/TFMain.h"
#include "display/ScanCodec.h"
#include "display/ui/DisplayPage.h"
#include "link/DeviceLink.h"
#include "link/Wait.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"
#include "memory/SlotTransferOperation.h"
#include "memory/ui/MemoryPage.h"
#include "terminal/ui/ChatMemo.h"
#include "terminal/ui/TerminalPage.h"
#include "upload/ui/UpdatePage.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <functional>
#include <utility>
#include <memory>

#include <sys/resource.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <unistd.h>

using namespace lmk;

namespace {

QTextStream out(stdout);

enum class Op {
    ScanFull,
    ScanPartial,
    UploadConfig,
    UploadTask,
    Sync,
    TaskSearch,
    SlotRead,
    SlotWrite,
    SlotClear,
    TerminalLine,
    ApFillIn,
    FindWlan,
    Count
};
const char *const kOpNames[] = {"scan full",  "scan partial", "upload config", "upload task",
                                "sync",       "task search",  "slot read",     "slot write",
                                "slot clear", "terminal line", "ap fill-in",   "find wlan"};
// Relative frequencies in the mix.
const int kOpWeights[] = {6, 8, 7, 6, 5, 5, 4, 3, 2, 6, 3, 3};

enum class Fault { None, Silent, Delay, Close, Garbage, Oversized, Refusal };
const char *const kFaultNames[] = {"ok", "silent", "delay", "close", "garbage", "oversized",
                                   "refusal"};

// Messages as the program shows them.
const QString kTimeout = QStringLiteral("Timeout: Device doesn't respond!");
const QString kNoAnswer = QStringLiteral("Device doesn't respond!");
const QString kScanDone = QStringLiteral("All data received!");
const QString kWlanLost = QStringLiteral("LMK doesn't respond to WLAN!");
const QString kUploadDone = QStringLiteral("File transfer finished successfully!");
const QString kUploadRefused = QStringLiteral("Exception caused by device driver!");
const QString kUploadCannot = QStringLiteral("File cannot be loaded into LMK!");
const QString kSearchDone = QStringLiteral("Transfer finished!");
const QString kReadError = QStringLiteral("Error on reading!");
const QString kSaveError = QStringLiteral("Error on saving!");
const QString kClearError = QStringLiteral("Fehler beim Speichern!");
const QString kNoUsb = QStringLiteral("No USB connection available!");

// Frames as the simulator would send them (4-byte header, then payload).
QString framed(const QByteArray &payload) {
    QByteArray f;
    const int n = int(payload.size()) + 4;
    f.append(char(n & 0xFF)).append(char(n >> 8)).append(2, '\0').append(payload);
    return QString::fromLatin1(f.toHex());
}

// Waits (processing events) until `done` holds; false when `ms` ran out.
bool waitFor(const std::function<bool()> &done, int ms) {
    return waitWhile([&] { return !done(); }, ms);
}

qint64 residentBytes() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

// Bytes the program holds on the heap (glibc): with the resident size it
// tells growth of the program's data from memory the allocator keeps.
qint64 heapInUse() {
#if defined(__GLIBC__)
    const struct mallinfo2 m = mallinfo2();
    return qint64(m.uordblks + m.hblkhd);
#else
    return 0;
#endif
}

int openDescriptors() {
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System |
                                                                QDir::Files | QDir::Dirs)
                   .size());
}

qint64 cpuMicros() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return qint64(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000000 + u.ru_utime.tv_usec +
           u.ru_stime.tv_usec;
}

using GapProbe = lmkbench::WindowGapMeter;

struct Plan {
    Op op;
    Fault fault = Fault::None;
    QString rule;     // the simulator's fault rule, without the transport
    int delayMs = 0;  // Delay: how late the reply comes
};

class Soak {
  public:
    Soak(const QString &transport, quint32 seed, bool verbose)
        : m_transport(transport), m_usb(transport == QLatin1String("usb")), m_rng(seed),
          m_verbose(verbose) {}

    bool run(int ops);
    double wallMs = 0, cpuMs = 0, gapMs = 0; // of the whole run, after start-up

  private:
    bool start();
    Plan plan();
    bool perform(const Plan &p, int index);
    // The operation itself; returns false with m_why set when a check fails.
    bool scan(bool full);
    bool upload(bool task);
    bool sync();
    bool taskSearch();
    bool slotTransfer(Op op);
    bool terminalLine();
    bool apFillIn();
    bool findWlan();
    // What the user does to get going again after a fault.
    bool recover(const Plan &p);
    bool expectTexts(const QStringList &want);
    bool control(const QString &command);
    QByteArray stateFile(const QString &name) const;
    bool fail(const QString &why) {
        m_why = why;
        return false;
    }

    QString m_transport;
    bool m_usb;
    QRandomGenerator m_rng;
    bool m_verbose;
    ScriptedDialogs m_dialogs;
    SimProcess m_sim;
    std::unique_ptr<DeviceLink> m_link;
    std::unique_ptr<TFMain> m_window;
    QTemporaryDir m_files;
    GapProbe *m_gap = nullptr;
    QString m_why;
    Plan m_current{Op::Sync};
    QMap<QString, int> m_outcomes;
    QString m_longestGapOp; // the operation during which the longest gap fell
    double m_longestGap = 0;
    int m_uploadsChecked = 0;
    int m_scansChecked = 0;
    qint64 m_waitWallUs = 0;
    qint64 m_waitCpuUs = 0;
};

bool Soak::start() {
    if (!m_sim.start({QStringLiteral("--control"), QStringLiteral("--mode"),
                      QStringLiteral("boot")}))
        return fail(QStringLiteral("cannot start lmk-sim"));
    if (m_usb)
        m_sim.useUsb();
    else
        SimProcess::noUsb();
    m_link = std::make_unique<DeviceLink>();
    // Both runs can find the access point; over USB the library is the
    // transport as long as it is open.
    m_link->setEndpoint(QStringLiteral("127.0.0.1"), m_sim.port());
    m_window = std::make_unique<TFMain>(*m_link);
    m_window->show();
    m_window->FormCreate();
    if (!m_dialogs.texts.isEmpty())
        return fail(QStringLiteral("start-up showed: ") + m_dialogs.texts.join(QLatin1String(" | ")));
    if (m_usb != m_link->usbOpen())
        return fail(QStringLiteral("the USB library is not in the expected state"));
    if (!m_window->updatePage()->bootActive())
        return fail(QStringLiteral("start-up did not find the bootloader"));
    return true;
}

// One operation of the mix, and now and then a fault for it.
Plan Soak::plan() {
    int total = 0;
    for (int w : kOpWeights)
        total += w;
    int pick = int(m_rng.bounded(total));
    int i = 0;
    while (pick >= kOpWeights[i])
        pick -= kOpWeights[i++];
    Plan p{Op(i)};
    if (m_rng.bounded(10) != 0)
        return p;

    // The faults that make sense for this operation, with the request byte
    // they hit.
    struct Choice {
        Fault fault;
        QString rule;
        int delayMs;
    };
    QList<Choice> c;
    const QString unknownFrame = QStringLiteral("raw=") + framed(QByteArray::fromHex("77000000"));
    const QString oversized = QStringLiteral("raw=00050000") + QString(64, QLatin1Char('e'));
    switch (p.op) {
    case Op::ScanFull:
    case Op::ScanPartial:
        for (const char *cmd : {"08", "00"}) { // the request, or the first column
            const QString k = QString::fromLatin1(cmd);
            c << Choice{Fault::Silent, k + QStringLiteral(":silent"), 0}
              << Choice{Fault::Delay, k + QStringLiteral(":delay=2600"), 2600}
              << Choice{Fault::Close, k + QStringLiteral(":close"), 0}
              << Choice{Fault::Oversized, k + QLatin1Char(':') + oversized, 0};
        }
        c << Choice{Fault::Refusal, QStringLiteral("08:raw=") + framed(QByteArray::fromHex("03000000")), 0}
          << Choice{Fault::Garbage, QStringLiteral("00:raw=") + framed(QByteArray::fromHex("0000abcdef")), 0};
        break;
    case Op::UploadConfig:
    case Op::UploadTask: {
        const QString header = QString::fromLatin1(p.op == Op::UploadConfig ? "09" : "0c");
        for (const QString &k : {header, QStringLiteral("84")}) { // header, first data packet
            c << Choice{Fault::Silent, k + QStringLiteral(":silent"), 0}
              << Choice{Fault::Delay, k + QStringLiteral(":delay=3500"), 3500}
              << Choice{Fault::Close, k + QStringLiteral(":close"), 0}
              << Choice{Fault::Garbage, k + QLatin1Char(':') + unknownFrame, 0}
              << Choice{Fault::Oversized, k + QLatin1Char(':') + oversized, 0}
              << Choice{Fault::Refusal, k + QStringLiteral(":raw=") + framed(QByteArray::fromHex("5a000000")), 0};
        }
        break;
    }
    case Op::Sync:
        c << Choice{Fault::Silent, QStringLiteral("55:silent"), 0}
          << Choice{Fault::Close, QStringLiteral("55:close"), 0}
          << Choice{Fault::Garbage, QStringLiteral("55:") + unknownFrame, 0};
        break;
    case Op::TaskSearch:
        c << Choice{Fault::Silent, QStringLiteral("0b:silent"), 0}
          << Choice{Fault::Close, QStringLiteral("0b:close"), 0}
          << Choice{Fault::Garbage, QStringLiteral("0b:raw=") + framed(QByteArray::fromHex("0b000000")), 0}
          << Choice{Fault::Oversized, QStringLiteral("0b:") + oversized, 0};
        break;
    case Op::SlotRead:
        c << Choice{Fault::Silent, QStringLiteral("10:silent"), 0}
          << Choice{Fault::Close, QStringLiteral("10:close"), 0}
          << Choice{Fault::Garbage, QStringLiteral("10:raw=") + framed(QByteArray::fromHex("1000000001000000abcd")), 0};
        break;
    case Op::SlotWrite:
    case Op::SlotClear:
        c << Choice{Fault::Silent, QStringLiteral("11:silent"), 0}
          << Choice{Fault::Close, QStringLiteral("11:close"), 0}
          << Choice{Fault::Refusal, QStringLiteral("11:raw=") + framed(QByteArray::fromHex("5a000000")), 0};
        break;
    case Op::TerminalLine:
        if (m_usb)
            c << Choice{Fault::Silent, QStringLiteral("19:silent"), 0};
        break;
    case Op::ApFillIn:
        if (m_usb)
            c << Choice{Fault::Silent, QStringLiteral("0d:silent"), 0};
        break;
    case Op::FindWlan:
        if (!m_usb)
            c << Choice{Fault::Silent, QStringLiteral("12:silent"), 0};
        break;
    case Op::Count:
        break;
    }
    if (c.isEmpty())
        return p;
    const Choice &ch = c[int(m_rng.bounded(int(c.size())))];
    p.fault = ch.fault;
    p.rule = m_transport + QLatin1Char(':') + ch.rule;
    p.delayMs = ch.delayMs;
    return p;
}

bool Soak::control(const QString &command) {
    m_gap->pause();
    const bool ok = m_sim.control(command);
    m_gap->pause();
    return ok;
}

QByteArray Soak::stateFile(const QString &name) const {
    QFile f(m_sim.stateDir() + QLatin1Char('/') + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool Soak::expectTexts(const QStringList &want) {
    if (m_dialogs.texts == want)
        return true;
    return fail(QStringLiteral("showed [%1], expected [%2]")
                    .arg(m_dialogs.texts.join(QLatin1String(" | ")), want.join(QLatin1String(" | "))));
}

bool Soak::perform(const Plan &p, int index) {
    m_current = p;
    m_dialogs.clear();
    m_dialogs.defaultAnswer = true;
    if (p.fault != Fault::None && !control(QStringLiteral("fault ") + p.rule))
        return fail(QStringLiteral("the simulator refused the rule ") + p.rule);
    const qint64 cpu0 = cpuMicros();
    QElapsedTimer wall;
    wall.start();
    bool ok = false;
    switch (p.op) {
    case Op::ScanFull: ok = scan(true); break;
    case Op::ScanPartial: ok = scan(false); break;
    case Op::UploadConfig: ok = upload(false); break;
    case Op::UploadTask: ok = upload(true); break;
    case Op::Sync: ok = sync(); break;
    case Op::TaskSearch: ok = taskSearch(); break;
    case Op::SlotRead:
    case Op::SlotWrite:
    case Op::SlotClear: ok = slotTransfer(p.op); break;
    case Op::TerminalLine: ok = terminalLine(); break;
    case Op::ApFillIn: ok = apFillIn(); break;
    case Op::FindWlan: ok = findWlan(); break;
    case Op::Count: break;
    }
    if (p.fault == Fault::Silent || p.fault == Fault::Delay) {
        m_waitWallUs += wall.nsecsElapsed() / 1000;
        m_waitCpuUs += cpuMicros() - cpu0;
    }
    if (p.fault != Fault::None) {
        if (!control(QStringLiteral("clear")))
            return fail(QStringLiteral("the simulator did not clear its rules"));
        // A late reply arrives while nothing waits for it: it must not show
        // anything.
        if (p.delayMs > 0 && ok) {
            m_dialogs.clear();
            waitFor([] { return false; }, int(qMax<qint64>(0, p.delayMs + 300 - wall.elapsed())));
            if (!m_dialogs.texts.isEmpty())
                ok = fail(QStringLiteral("the late reply showed: ") +
                          m_dialogs.texts.join(QLatin1String(" | ")));
        }
        if (ok)
            ok = recover(p);
    }
    const QString key = QString::fromLatin1(kOpNames[int(p.op)]) + QStringLiteral(", ") +
                        QString::fromLatin1(kFaultNames[int(p.fault)]);
    ++m_outcomes[key];
    if (const double gap = m_gap->takeRecentMs(); gap > m_longestGap) {
        m_longestGap = gap;
        m_longestGapOp = QStringLiteral("op %1, %2").arg(index).arg(key);
    }
    if (m_verbose)
        out << m_transport << ' ' << index << ": " << key << " (" << wall.elapsed() << " ms, heap "
            << heapInUse() / 1024 << " KiB)"
            << (ok ? "" : " FAILED") << '\n'
            << Qt::flush;
    return ok;
}

bool Soak::recover(const Plan &p) {
    m_dialogs.clear();
    m_window->showPage(0);
    if (p.fault == Fault::Close) {
        // The receiver went away: the user looks for it again.
        if (m_usb) {
            m_window->MI_USBClick();
            if (!m_link->usbOpen())
                return fail(QStringLiteral("Find USB Device did not reopen the library"));
        } else {
            m_window->MI_WLANClick();
            if (!m_link->wlanChecked())
                return fail(QStringLiteral("Find WLAN Connection did not reconnect"));
        }
    }
    if (p.fault == Fault::Close) {
        // The user reads the version text before going on (the version reply
        // is handled by the next event processing).
        waitFor([] { return false; }, 300);
    }
    if (!m_window->updatePage()->bootActive())
        m_window->updatePage()->B_SyncClick();
    if (!m_dialogs.texts.isEmpty())
        return fail(QStringLiteral("recovery showed: ") + m_dialogs.texts.join(QLatin1String(" | ")));
    if (!m_window->updatePage()->bootActive())
        return fail(QStringLiteral("Synchronize after the fault did not find the bootloader"));
    return true;
}

// The messages of an operation that waits for a reply, for a fault on the
// link: over USB a closed connection is noticed by nobody (the reply timer
// ends the wait); over WLAN the link reports it first.
QStringList linkFaultTexts(bool usb, Fault f, const QString &afterLoss, const QString &onTimeout) {
    if (f == Fault::Close && !usb)
        return afterLoss.isEmpty() ? QStringList{kWlanLost} : QStringList{kWlanLost, afterLoss};
    return {onTimeout};
}

bool Soak::scan(bool full) {
    DisplayPage *page = m_window->displayPage();
    m_window->showPage(1);
    if (full) {
        page->RB_GWVGAClick();
    } else {
        const int x = int(m_rng.bounded(790)), y = int(m_rng.bounded(470));
        const int w = 1 + int(m_rng.bounded(qMin(120, 800 - x))),
                  h = 3 + int(m_rng.bounded(qMin(120, 480 - y) - 2));
        auto set = [&](const char *name, int v) {
            m_window->findChild<QSpinBox *>(QLatin1String(name))->setValue(v);
        };
        set("SE_X", x);
        set("SE_Y", y);
        set("SE_B", w);
        set("SE_H", h);
    }
    const ScanArea area = page->area();
    page->B_DispcpyClick();
    const Fault f = m_current.fault;
    QStringList want{kScanDone};
    switch (f) {
    case Fault::None: break;
    case Fault::Silent:
    case Fault::Delay: want = {kTimeout}; break;
    case Fault::Close: want = linkFaultTexts(m_usb, f, kNoAnswer, kTimeout); break;
    case Fault::Oversized: want = {m_usb ? kTimeout : kNoAnswer}; break;
    case Fault::Garbage:
    case Fault::Refusal: want = {kNoAnswer}; break;
    }
    if (!expectTexts(want))
        return fail(m_why + QStringLiteral(" (area %1,%2 %3 x %4)")
                                .arg(area.x()).arg(area.y()).arg(area.w()).arg(area.h()));
    if (f != Fault::None)
        return true;
    // Pixel-exact: the area part of the picture against the simulated screen.
    m_gap->pause();
    const QByteArray screen = stateFile(QStringLiteral("screen.raw"));
    if (screen.size() != 800 * 480)
        return fail(QStringLiteral("the simulator's screen is missing"));
    const QImage &img = page->picture();
    for (int j = 0; j < area.h(); ++j) {
        for (int i = 0; i < area.w(); ++i) {
            const Rgb c = pixelToRgb(quint8(screen[(area.y() + j) * 800 + area.x() + i]));
            if ((img.pixel(5 + i, 5 + j) & 0xFFFFFF) != (qRgb(c.r, c.g, c.b) & 0xFFFFFF))
                return fail(QStringLiteral("pixel %1,%2 of the area differs").arg(i).arg(j));
        }
    }
    m_gap->pause();
    ++m_scansChecked;
    return true;
}

bool Soak::upload(bool task) {
    UpdatePage *page = m_window->updatePage();
    m_window->showPage(0);
    QString name = QStringLiteral("LMK_SOAK.RPD");
    if (task) {
        page->setTargetIndex(1);
        page->RG_TargetClick();
        auto *tasks = m_window->findChild<QComboBox *>(QStringLiteral("CB_Tasks"));
        static const QRegularExpression taskEntry(QStringLiteral("^[0-9A-F]{4}  "));
        if (!taskEntry.match(tasks->itemText(0)).hasMatch()) { // the user searches first
            page->B_SearchClick();
            m_dialogs.clear();
            if (tasks->count() == 0)
                return fail(QStringLiteral("no task to upload into"));
        }
        tasks->setCurrentIndex(int(m_rng.bounded(tasks->count())));
        // A file named for the task, so that the name check does not ask.
        name = QStringLiteral("UPD_%1.RPD").arg(tasks->currentText().left(4));
    } else {
        page->setTargetIndex(0);
        page->RG_TargetClick();
    }
    // A file of 1 byte to 256 KiB, mostly small.
    const int size = 1 + int(m_rng.bounded(m_rng.bounded(4) == 0 ? 256 * 1024 : 4096));
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = char(m_rng.generate());
    m_gap->pause();
    const QString path = m_files.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != size)
        return fail(QStringLiteral("cannot write the upload file"));
    f.close();
    const QByteArray indexBefore = stateFile(QStringLiteral("uploads.txt"));
    m_gap->pause();
    page->selectUploadFile(path);
    page->B_StartClick();

    const Fault fault = m_current.fault;
    QStringList want{kUploadDone};
    switch (fault) {
    case Fault::None: break;
    case Fault::Silent:
    case Fault::Delay: want = {kTimeout}; break;
    // Over WLAN the loss and the oversized frame end the wait early with the
    // text the transfer started with.
    case Fault::Close: want = linkFaultTexts(m_usb, fault, kUploadCannot, kTimeout); break;
    case Fault::Oversized: want = {m_usb ? kTimeout : kUploadCannot}; break;
    case Fault::Garbage: want = {kUploadCannot}; break;
    case Fault::Refusal: want = {kUploadRefused}; break;
    }
    if (!expectTexts(want))
        return false;
    if (fault != Fault::None)
        return true;
    // Byte-identical: the simulator's copy of the file just stored.
    m_gap->pause();
    const QByteArray index = stateFile(QStringLiteral("uploads.txt"));
    const QList<QByteArray> lines = index.mid(indexBefore.size()).trimmed().split('\n');
    if (index.size() == indexBefore.size() || lines.size() != 1)
        return fail(QStringLiteral("the simulator stored no upload"));
    const QByteArray seq = lines.first().split(' ').value(0);
    if (stateFile(QStringLiteral("upload-%1.bin").arg(QString::fromLatin1(seq))) != bytes)
        return fail(QStringLiteral("upload %1 arrived changed").arg(QString::fromLatin1(seq)));
    m_gap->pause();
    ++m_uploadsChecked;
    return true;
}

bool Soak::sync() {
    UpdatePage *page = m_window->updatePage();
    m_window->showPage(0);
    page->B_SyncClick();
    const Fault f = m_current.fault;
    if (!expectTexts(f == Fault::Close && !m_usb ? QStringList{kWlanLost} : QStringList{}))
        return false;
    if (f == Fault::None && !page->bootActive())
        return fail(QStringLiteral("Synchronize did not find the bootloader"));
    if (f != Fault::None && (page->bootActive() || page->configActive()))
        return fail(QStringLiteral("an indicator is checked without an answer"));
    return true;
}

bool Soak::taskSearch() {
    UpdatePage *page = m_window->updatePage();
    m_window->showPage(0);
    page->setTargetIndex(1);
    page->RG_TargetClick();
    page->B_SearchClick();
    const Fault f = m_current.fault;
    QStringList want{kSearchDone};
    if (f == Fault::Close && !m_usb)
        want = {kWlanLost, kSearchDone};
    if (!expectTexts(want))
        return false;
    auto *tasks = m_window->findChild<QComboBox *>(QStringLiteral("CB_Tasks"));
    const int wantTasks = f == Fault::None ? 2 : 0;
    if (tasks->count() != wantTasks)
        return fail(QStringLiteral("the task list holds %1 entries, expected %2")
                        .arg(tasks->count())
                        .arg(wantTasks));
    return true;
}

bool Soak::slotTransfer(Op op) {
    MemoryPage *page = m_window->memoryPage();
    m_window->showPage(0);
    MemoryImage &image = page->memorySlots().image();
    if (op == Op::SlotWrite && image.size() < kSlotImageSize) { // nothing to write yet
        page->B_LadenClick();
        if (!m_dialogs.texts.isEmpty())
            return fail(QStringLiteral("the read before the write showed ") + m_dialogs.texts.first());
    }
    if (op == Op::SlotRead)
        page->B_LadenClick();
    else if (op == Op::SlotWrite)
        page->B_SpeichernClick();
    else
        page->B_LoeschenClick();
    const Fault f = m_current.fault;
    const QStringList question = op == Op::SlotClear ? m_dialogs.texts.mid(0, 1) : QStringList{};
    QStringList want = question;
    switch (f) {
    case Fault::None: break;
    case Fault::Silent:
    case Fault::Delay:
    case Fault::Oversized: want << kTimeout; break;
    case Fault::Close: {
        // A lost write or clear says how far it got (its first request was
        // the one the link was lost on).
        const QString stopped =
            op == Op::SlotRead ? QString()
                               : SlotTransferOperation::stoppedText(
                                     op == Op::SlotWrite ? SlotTransferOperation::Kind::Write
                                                         : SlotTransferOperation::Kind::Clear,
                                     0);
        want << linkFaultTexts(m_usb, f, stopped, kTimeout);
        break;
    }
    case Fault::Garbage: want << kReadError; break;
    case Fault::Refusal: want << (op == Op::SlotClear ? kClearError : kSaveError); break;
    }
    // A slot operation that stops names the slot on a line of its own.
    for (QString &t : m_dialogs.texts)
        t = t.section(QLatin1Char('\n'), 0, 0);
    if (!expectTexts(want))
        return false;
    if (f != Fault::None)
        return true;
    m_gap->pause();
    const QByteArray held = stateFile(QStringLiteral("slots.bin"));
    m_gap->pause();
    if (op != Op::SlotClear && held != image.data().left(kSlotImageSize))
        return fail(QStringLiteral("the window's slots differ from the receiver's"));
    if (op == Op::SlotClear && held.count('\0') < held.size() - kSlotCount * 4)
        return fail(QStringLiteral("the receiver's slots were not cleared"));
    return true;
}

bool Soak::terminalLine() {
    auto *ssid = m_window->findChild<QLineEdit *>(QStringLiteral("E_SSID"));
    if (m_window->pageShown() != 2) {
        ssid->clear();
        m_window->showPage(2);
        // Over USB the user waits for the access-point form to fill in.
        if (m_usb && !waitFor([&] { return !ssid->text().isEmpty(); }, 1000))
            return fail(QStringLiteral("the access-point form was not filled in"));
    }
    auto *memo = m_window->findChild<ChatMemo *>(QStringLiteral("M_Chat"));
    memo->setFocus();
    const qsizetype answersBefore = memo->chatText().count(QLatin1String("LMK540 V103"));
    QTest::keyClicks(memo, QStringLiteral("ver"));
    QTest::keyClick(memo, Qt::Key_Return);
    if (!m_usb)
        return expectTexts({kNoUsb});
    const bool answered = waitFor(
        [&] { return memo->chatText().count(QLatin1String("LMK540 V103")) > answersBefore; },
        1000);
    if (!expectTexts({}))
        return false;
    if (answered != (m_current.fault == Fault::None))
        return fail(answered ? QStringLiteral("a lost line was answered")
                             : QStringLiteral("no answer to \"ver\""));
    return true;
}

bool Soak::apFillIn() {
    m_window->showPage(0);
    auto *ssid = m_window->findChild<QLineEdit *>(QStringLiteral("E_SSID"));
    ssid->clear();
    m_window->showPage(2);
    const bool filled =
        waitFor([&] { return ssid->text() == QLatin1String("LMK5x-0001"); }, 1000);
    if (!expectTexts({}))
        return false;
    const bool wantFilled = m_usb && m_current.fault == Fault::None;
    if (filled != wantFilled)
        return fail(filled ? QStringLiteral("the form was filled without an answer")
                           : QStringLiteral("the form was not filled in"));
    m_window->showPage(0);
    return true;
}

bool Soak::findWlan() {
    m_window->showPage(0); // on the terminal page the version would be terminal text
    m_window->MI_WLANClick();
    if (!expectTexts({}))
        return false;
    if (!m_link->wlanChecked())
        return fail(QStringLiteral("Find WLAN Connection did not connect"));
    const bool version = waitFor(
        [&] {
            return m_window->findChild<QLineEdit *>(QStringLiteral("EWLANDevice"))->text() ==
                   QLatin1String("LMK540 V103");
        },
        1500);
    if (version != (m_current.fault == Fault::None))
        return fail(version ? QStringLiteral("a version text without a reply")
                            : QStringLiteral("no version text after Find WLAN Connection"));
    return true;
}

bool Soak::run(int ops) {
    GapProbe gap;
    m_gap = &gap;
    if (!start()) {
        out << m_transport << ": " << m_why << '\n';
        return false;
    }
    gap.arm();
    const double cpu0 = lmkbench::cpuMs();
    qint64 rss50 = 0, rssEnd = 0, heap50 = 0, heapEnd = 0;
    int fd50 = 0, fdEnd = 0;
    int failures = 0;
    QElapsedTimer total;
    total.start();
    for (int i = 1; i <= ops; ++i) {
        const Plan p = plan();
        if (!perform(p, i)) {
            ++failures;
            out << m_transport << " op " << i << " (" << kOpNames[int(p.op)] << ", "
                << kFaultNames[int(p.fault)] << (p.rule.isEmpty() ? "" : " ") << p.rule
                << "): " << m_why << '\n'
                << Qt::flush;
            // Back to a known state for the next one.
            control(QStringLiteral("clear"));
            m_dialogs.clear();
            m_window->showPage(0);
            if (!m_usb && !m_link->wlanChecked())
                m_window->MI_WLANClick();
            m_window->updatePage()->B_SyncClick();
        }
        if (i == qMin(50, ops)) {
            rss50 = residentBytes();
            heap50 = heapInUse();
            fd50 = openDescriptors();
        }
    }
    gap.disarm();
    wallMs = double(total.nsecsElapsed()) / 1e6;
    cpuMs = lmkbench::cpuMs() - cpu0;
    gapMs = gap.longestMs();
    rssEnd = residentBytes();
    heapEnd = heapInUse();
    fdEnd = openDescriptors();

    out << "== " << m_transport << ": " << ops << " operations in " << total.elapsed() / 1000.0
        << " s, " << failures << " failed checks\n";
    for (auto it = m_outcomes.cbegin(); it != m_outcomes.cend(); ++it)
        out << "  " << it.key() << ": " << it.value() << '\n';
    out << "  uploads compared byte for byte: " << m_uploadsChecked
        << ", scans compared pixel for pixel: " << m_scansChecked << '\n';
    const double growthMb = double(rssEnd - rss50) / (1024.0 * 1024.0);
    out << "  resident memory: after op " << qMin(50, ops) << " " << rss50 / 1024 << " KiB, at end "
        << rssEnd / 1024 << " KiB, growth " << QString::number(growthMb, 'f', 2) << " MB (goal < 5)"
        << (growthMb < 5 ? "" : " MISSED") << '\n';
    if (heap50 > 0)
        out << "  heap in use: after op " << qMin(50, ops) << " " << heap50 / 1024 << " KiB, at end "
            << heapEnd / 1024 << " KiB\n";
    out << "  open descriptors: after op " << qMin(50, ops) << " " << fd50 << ", at end " << fdEnd
        << (fd50 == fdEnd ? " (unchanged)" : " CHANGED") << '\n';
    out << "  longest gap of the window's thread: " << QString::number(gapMs, 'f', 1)
        << " ms (goal < 50)" << (gapMs < 50 ? "" : " MISSED") << ", during " << m_longestGapOp
        << '\n';
    if (m_waitWallUs > 0)
        out << "  CPU while waiting for replies that do not come: "
            << QString::number(100.0 * double(m_waitCpuUs) / double(m_waitWallUs), 'f', 1)
            << " % of " << QString::number(m_waitWallUs / 1e6, 'f', 1) << " s\n";
    out << Qt::flush;

    m_link->closeUsb();
    m_window.reset();
    m_link.reset();
    SimProcess::noUsb();
    m_gap = nullptr;
    return failures == 0;
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    quint32 seed = 1;
    int ops = 500;
    QStringList transports{QStringLiteral("wlan"), QStringLiteral("usb")};
    bool verbose = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        const QString next = i + 1 < args.size() ? args[i + 1] : QString();
        if (a == QLatin1String("--seed") && !next.isEmpty()) {
            seed = next.toUInt();
            ++i;
        } else if (a == QLatin1String("--ops") && next.toInt() > 0) {
            ops = next.toInt();
            ++i;
        } else if (a == QLatin1String("--transport") &&
                   (next == QLatin1String("wlan") || next == QLatin1String("usb"))) {
            transports = {next};
            ++i;
        } else if (a == QLatin1String("--transport") && next == QLatin1String("both")) {
            ++i;
        } else if (a == QLatin1String("--verbose")) {
            verbose = true;
        } else {
            out << "usage: bench_soak [--seed N] [--ops N] [--transport wlan|usb|both] "
                   "[--verbose]\n";
            return 2;
        }
    }
    out << "seed " << seed << ", " << ops << " operations per transport\n";
    bool ok = true;
    struct Row {
        QString transport;
        double wall, cpu, gap;
    };
    QList<Row> rows;
    for (const QString &t : transports) {
        // Each transport its own mix, both from the one seed.
        Soak soak(t, t == QLatin1String("usb") ? seed ^ 0x5eedu : seed, verbose);
        ok = soak.run(ops) && ok;
        rows.append({t, soak.wallMs, soak.cpuMs, soak.gapMs});
    }
    out << '\n' << Qt::flush;
    const QByteArray name = QStringLiteral("soak %1 ops seed %2").arg(ops).arg(seed).toLatin1();
    lmkbench::printTableHeader();
    for (const Row &r : rows)
        lmkbench::printTableRow(name.constData(), qPrintable(r.transport), r.wall, r.cpu, -1, -1,
                                r.gap);
    return ok ? 0 : 1;
}
