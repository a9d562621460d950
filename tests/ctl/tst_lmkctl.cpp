// lmkctl end to end: the built program run as a child process against a real
// lmk-sim, over WLAN and over the simulated USB library. Checks what lands in
// the simulator (uploads, slots, access point, screen) and the exit codes.
#include "CtlRun.h"
#include "SimProcess.h"
#include "display/ScanCodec.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <cstring>
#include <sys/types.h>
#endif

using namespace lmk;
using namespace lmk::test;

namespace {

using Run = CtlRun;

bool writeAll(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

enum class Link { Wlan, Usb, None };

} // namespace

class TestLmkctl : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    // The data folder lmkctl keeps its backups in (XDG_DATA_HOME).
    QString m_dataHome;
    // Where the window saves the receiver's address (XDG_CONFIG_HOME).
    QString m_configHome;
    // Variables taken out of lmkctl's environment for one test.
    QStringList m_unset;

    // Runs lmkctl with the simulator (or no receiver) as its transport.
    Run lmkctl(const QStringList &args, const SimProcess *sim, Link link = Link::Wlan,
               const QByteArray &input = {}) {
        // A variable without a value is taken out of lmkctl's environment.
        QList<std::pair<QString, QString>> env{
            {QStringLiteral("LMK_PORT"),
             sim && link != Link::None ? QString::number(sim->port()) : QStringLiteral("9")},
            {QStringLiteral("LC_ALL"), QStringLiteral("C")},
            {QStringLiteral("XDG_DATA_HOME"), m_dataHome},
            {QStringLiteral("XDG_CONFIG_HOME"), m_configHome},
            {QStringLiteral("LMK_SIM_USB"), QString()},
        };
        for (const QString &name : m_unset)
            env.append({name, QString()});
        QStringList all = args;
        if (link == Link::Usb) {
            all.prepend(QStringLiteral("--usb"));
            if (sim) {
                env.append({QStringLiteral("LMK_USB_LIBRARY"), QStringLiteral(LMK_USB_SIM_LIBRARY)});
                env.append({QStringLiteral("LMK_SIM_USB"), sim->usbSocketPath()});
            }
        }
        return runCtl(all, input, {}, env);
    }

    // Compares a scan file with the simulator's screen: the area's pixels,
    // and black around them when framed. Returns "" or what differs.
    static QString checkScanFile(const QString &file, const SimProcess &sim, const QRect &area,
                                 bool framed) {
        const QByteArray raw =
            fileContents(QDir(sim.stateDir()).filePath(QStringLiteral("screen.raw")));
        if (raw.size() != 800 * 480)
            return QStringLiteral("no screen from the simulator");
        QImage img(file);
        if (img.isNull())
            return QStringLiteral("no picture");
        img = img.convertToFormat(QImage::Format_RGB32);
        const int off = framed ? 5 : 0;
        if (img.size() != (framed ? QSize(810, 490) : area.size()))
            return QStringLiteral("size %1 x %2").arg(img.width()).arg(img.height());
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const int ax = x - off, ay = y - off;
                const bool inside = ax >= 0 && ay >= 0 && ax < area.width() && ay < area.height();
                const QRgb want = inside ? screenPixel(raw, 800, area.x() + ax, area.y() + ay)
                                         : qRgb(0, 0, 0);
                if ((img.pixel(x, y) & 0xFFFFFF) != (want & 0xFFFFFF))
                    return QStringLiteral("pixel %1,%2: %3, expected %4")
                        .arg(x).arg(y)
                        .arg(img.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                        .arg(want & 0xFFFFFF, 6, 16, QLatin1Char('0'));
            }
        }
        return QString();
    }

    // The area's pixels as the receiver's screen holds them, in RGB.
    static QRgb screenPixel(const QByteArray &raw, int width, int x, int y) {
        const Rgb c = pixelToRgb(quint8(raw[y * width + x]));
        return qRgb(c.r, c.g, c.b);
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_dataHome = path(QStringLiteral("data"));
        m_configHome = path(QStringLiteral("config"));
        QVERIFY(QFile::exists(QStringLiteral(LMK_CTL_BINARY)));
        QVERIFY(writeAll(path(QStringLiteral("LMK1.RPD")), pseudoRandomBytes(5000)));
        QVERIFY(writeAll(path(QStringLiteral("zero.Mem")), QByteArray(63 * 256, '\0')));
        QVERIFY(writeAll(path(QStringLiteral("short.Mem")), QByteArray(63 * 256 - 1, '\0')));
        QVERIFY(writeAll(path(QStringLiteral("random.Mem")), pseudoRandomBytes(63 * 256)));
    }

    void help_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("expected");
        QTest::newRow("program") << QStringList{"--help"} << "Exit codes";
        QTest::newRow("version") << QStringList{"version", "--help"} << "version text";
        QTest::newRow("sync") << QStringList{"sync", "--help"} << "bootloader";
        QTest::newRow("tasks") << QStringList{"tasks", "--help"} << "external tasks";
        QTest::newRow("upload") << QStringList{"upload", "--help"} << "--ids";
        QTest::newRow("scan") << QStringList{"scan", "--help"} << "--framed";
        QTest::newRow("memory") << QStringList{"memory", "--help"} << "--csv";
        QTest::newRow("terminal") << QStringList{"terminal", "--help"} << "standard input";
        QTest::newRow("ap") << QStringList{"ap", "--help"} << "--passkey";
    }
    void help() {
        QFETCH(QStringList, args);
        QFETCH(QString, expected);
        const Run r = lmkctl(args, nullptr, Link::None);
        QCOMPARE(r.rc, 0);
        // Help texts are wrapped to the terminal's width.
        QVERIFY2(r.out.simplified().contains(expected.toLatin1()), r.out.constData());
        QVERIFY(r.err.isEmpty());
    }

    void sync_data() {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("boot") << "boot" << QByteArray("Bootloader active\n");
        QTest::newRow("config") << "config" << QByteArray("Configuration active\n");
        QTest::newRow("none") << "none" << QByteArray("Neither bootloader nor configuration active\n");
    }
    void sync() {
        QFETCH(QString, mode);
        QFETCH(QByteArray, expected);
        SimProcess sim;
        QVERIFY(sim.start({"--mode", mode}));
        const Run r = lmkctl({"sync"}, &sim);
        QCOMPARE(r.rc, 0);
        QCOMPARE(r.out, expected);
    }

    void tasks() {
        SimProcess sim;
        QVERIFY(sim.start({"--tasks", "01A2:0003:00F0,1A2B:0003:0000"}));
        const Run r = lmkctl({"tasks"}, &sim);
        QCOMPARE(r.rc, 0);
        QCOMPARE(r.out, QByteArray("01A2  0003  00F0\n1A2B  0003  0000\n"));
        QVERIFY(r.err.contains("Transfer finished!"));
        // The window's request order: synchronise, then the list.
        const QList<QByteArray> req = sim.requests(QStringLiteral("wlan"));
        QVERIFY(!req.isEmpty());
        QCOMPARE(req.first(), QByteArray::fromHex("55"));
        QCOMPARE(req.last(), QByteArray::fromHex("0B"));
    }

    void tasksNone() {
        SimProcess sim;
        QVERIFY(sim.start({"--tasks", "none"}));
        const Run r = lmkctl({"tasks"}, &sim);
        QCOMPARE(r.rc, 0);
        QCOMPARE(r.out, QByteArray("No Tasks found!\n"));
    }

    void upload_data() {
        QTest::addColumn<bool>("usb");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("size");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("stored"); // the line in uploads.txt after the sequence number
        QTest::newRow("configuration") << false << "LMK1.RPD" << 5000 << QStringList{}
                                       << "config 0000,0000,0000 5000 LMK1.RPD";
        QTest::newRow("configuration, odd size, usb")
            << true << "LMK2.RPD" << 1027 << QStringList{} << "config 0000,0000,0000 1027 LMK2.RPD";
        QTest::newRow("task by number")
            << false << "LMK_1A2B.RP" << 3000 << QStringList{"--task", "2"}
            << "task 1A2B,0003,0000 3000 LMK_1A2B.R";
        QTest::newRow("task by ids, name mismatch answered")
            << false << "other.bin" << 700 << QStringList{"--ids", "1a2b,3,0", "--yes"}
            << "task 1A2B,0003,0000 700 other.bin";
    }
    void upload() {
        QFETCH(bool, usb);
        QFETCH(QString, name);
        QFETCH(int, size);
        QFETCH(QStringList, options);
        QFETCH(QString, stored);
        SimProcess sim;
        QVERIFY(sim.start({"--tasks", "01A2:0003:00F0,1A2B:0003:0000", "--upload-erase", "2"}));
        const QByteArray bytes = pseudoRandomBytes(size);
        const QString file = path(name);
        QVERIFY(writeAll(file, bytes));
        const Run r = lmkctl(QStringList{"upload", file} + options, &sim, usb ? Link::Usb : Link::Wlan);
        QVERIFY2(r.rc == 0, r.err.constData());
        QVERIFY(r.err.contains("File transfer finished successfully!"));
        QVERIFY(r.out.contains(QByteArray::number(size) + " bytes loaded"));
        QVERIFY(!r.err.contains('\r')); // no progress bar when standard error is no terminal
        QCOMPARE(fileContents(QDir(sim.stateDir()).filePath(QStringLiteral("upload-1.bin"))), bytes);
        QCOMPARE(QString::fromLatin1(fileContents(QDir(sim.stateDir()).filePath(QStringLiteral("uploads.txt")))),
                 QStringLiteral("1 ") + stored + QLatin1Char('\n'));
    }

    void uploadNameMismatchStops() {
        SimProcess sim;
        QVERIFY(sim.start());
        const QString file = path(QStringLiteral("firmware.RPD"));
        QVERIFY(writeAll(file, pseudoRandomBytes(100)));
        const Run r = lmkctl({"upload", file}, &sim);
        QCOMPARE(r.rc, 2);
        QVERIFY(r.err.contains("File not related to selected task, load?"));
        QVERIFY(r.err.contains("--yes"));
        QVERIFY(!QFile::exists(QDir(sim.stateDir()).filePath(QStringLiteral("uploads.txt"))));
        for (const QByteArray &q : sim.requests())
            QVERIFY(q.at(0) != 0x09); // no header went out
    }

    void scan_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<bool>("framed");
        QTest::newRow("full wvga png") << QStringList{} << "full.png" << QRect(0, 0, 800, 480) << false;
        QTest::newRow("diagram vga bmp") << QStringList{"--preset", "diagram-vga"} << "dvga.bmp"
                                         << QRect(0, 93, 520, 387) << false;
        QTest::newRow("area png") << QStringList{"--area", "700,400,100,80"} << "area.PNG"
                                  << QRect(700, 400, 100, 80) << false;
        QTest::newRow("one column bmp") << QStringList{"--area", "790,470,1,3"} << "one.bmp"
                                          << QRect(790, 470, 1, 3) << false;
        QTest::newRow("one row png") << QStringList{"--area", "10,20,5,1"} << "row.png"
                                     << QRect(10, 20, 5, 1) << false;
        QTest::newRow("two rows bmp") << QStringList{"--area", "40,200,3,2"} << "rows.bmp"
                                      << QRect(40, 200, 3, 2) << false;
        QTest::newRow("bottom right corner png") << QStringList{"--area", "790,470,10,10"} << "corner.png"
                                                 << QRect(790, 470, 10, 10) << false;
        QTest::newRow("framed diagram wvga bmp")
            << QStringList{"--preset", "diagram-wvga", "--framed"} << "framed.bmp"
            << QRect(0, 93, 648, 387) << true;
        QTest::newRow("framed full vga png") << QStringList{"--preset", "full-vga", "--framed"}
                                             << "framed.png" << QRect(0, 0, 640, 480) << true;
    }
    void scan() {
        QFETCH(QStringList, options);
        QFETCH(QString, file);
        QFETCH(QRect, area);
        QFETCH(bool, framed);
        SimProcess sim;
        QVERIFY(sim.start());
        const QString out = path(file);
        QFile::remove(out);
        const Run r = lmkctl(QStringList{"scan", "-o", out} + options, &sim);
        QVERIFY2(r.rc == 0, r.err.constData());
        QVERIFY(r.err.contains("All data received!"));

        const QString bad = checkScanFile(out, sim, area, framed);
        QVERIFY2(bad.isEmpty(), qPrintable(bad));
    }

    // --count N: N numbered files, each a whole capture of its own.
    void scanSeries_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("%03d form") << "series-%03d.png"
                                   << QStringList{"series-001.png", "series-002.png", "series-003.png"};
        QTest::newRow("number before the extension")
            << "plain.bmp" << QStringList{"plain-1.bmp", "plain-2.bmp", "plain-3.bmp"};
    }
    void scanSeries() {
        QFETCH(QString, pattern);
        QFETCH(QStringList, files);
        SimProcess sim;
        QVERIFY(sim.start());
        const QRect area(100, 50, 20, 30);
        QElapsedTimer t;
        t.start();
        const Run r = lmkctl({"scan", "--area", "100,50,20,30", "--count", "3", "--interval", "0.3",
                              "-o", path(pattern)},
                             &sim);
        QVERIFY2(r.rc == 0, r.err.constData());
        QVERIFY(t.elapsed() >= 600); // two intervals between three captures
        QVERIFY(!r.err.contains("columns/s")); // no progress when stderr is not a terminal
        for (const QString &f : files) {
            const QString bad = checkScanFile(path(f), sim, area, false);
            QVERIFY2(bad.isEmpty(), qPrintable(f + QStringLiteral(": ") + bad));
            QVERIFY(r.out.contains(path(f).toUtf8()));
        }
        int requests = 0;
        for (const QByteArray &q : sim.requests())
            requests += q.startsWith(char(0x08));
        QCOMPARE(requests, 3);
    }

#ifdef Q_OS_UNIX
    // Ctrl+C during a series: the running scan is aborted with 0A, the files
    // written so far stay, the exit code is 130.
    void scanSeriesInterrupted() {
        SimProcess sim;
        QVERIFY(sim.start({"--delay", "2"}));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LMK_HOST"), QStringLiteral("127.0.0.1"));
        env.insert(QStringLiteral("LMK_PORT"), QString::number(sim.port()));
        QProcess p;
        p.setProcessEnvironment(env);
        const QString first = path(QStringLiteral("live-001.png"));
        QFile::remove(first);
        QFile::remove(path(QStringLiteral("live-002.png")));
        p.start(QStringLiteral(LMK_CTL_BINARY),
                {"scan", "--area", "0,0,200,480", "--count", "0", "-o", path(QStringLiteral("live-%03d.png"))});
        QVERIFY(p.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(first), 20000);
        QTest::qWait(150); // well inside the second capture (200 round trips of 2 ms)
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 130);
        QVERIFY(p.readAllStandardError().contains("Interrupted; 1 file written."));
        QVERIFY(checkScanFile(first, sim, QRect(0, 0, 200, 480), false).isEmpty());
        QVERIFY(!QFile::exists(path(QStringLiteral("live-002.png"))));
        QTRY_VERIFY_WITH_TIMEOUT(sim.requests().contains(QByteArray(1, '\x0a')), 2000);
    }
#endif

    // Name patterns: every %d form is filled, %% is a percent sign, %T the
    // capture's local time; a series without a number form numbers itself.
    void scanNames_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("names"); // what the files are called, as a pattern
        QTest::newRow("every %d form") << "two-%d-%02d.png" << 2 << "two-(1-01|2-02)\\.png";
        QTest::newRow("%% is a percent sign") << "pct-%%d.png" << 1 << "pct-%d\\.png";
        QTest::newRow("%% in a series") << "pct-%%-%d.bmp" << 2 << "pct-%-[12]\\.bmp";
        QTest::newRow("%T local time") << "t-%T.png" << 1 << "t-(\\d{8}-\\d{6})\\.png";
        QTest::newRow("%T in a series") << "t-%T-%d.png" << 2 << "t-(\\d{8}-\\d{6})-[12]\\.png";
    }
    void scanNames() {
        QFETCH(QString, pattern);
        QFETCH(int, count);
        QFETCH(QString, names);
        SimProcess sim;
        QVERIFY(sim.start());
        QTemporaryDir dir;
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        const Run r = lmkctl({"scan", "--area", "10,10,4,4", "--count", QString::number(count), "-o",
                              dir.filePath(pattern)},
                             &sim);
        QVERIFY2(r.rc == 0, r.err.constData());
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);
        const QStringList files = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(int(files.size()), count);
        const QRegularExpression re(QRegularExpression::anchoredPattern(names));
        for (const QString &f : files) {
            const QRegularExpressionMatch m = re.match(f);
            QVERIFY2(m.hasMatch(), qPrintable(f));
            if (m.lastCapturedIndex() >= 1 && m.captured(1).size() == 15) { // %T
                const QDateTime t = QDateTime::fromString(m.captured(1), QStringLiteral("yyyyMMdd-HHmmss"));
                QVERIFY2(t >= before && t <= after, qPrintable(m.captured(1)));
            }
        }
    }

    // A series never replaces a file: it stops before the first capture
    // whose file exists (exit 2), unless --overwrite; a single capture
    // replaces its file as the window's Save does.
    void scanNoOverwrite_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("rc");
        QTest::addColumn<int>("scans");
        QTest::newRow("series stops before the existing file") << QStringList{"--count", "3"} << 2 << 1;
        QTest::newRow("--overwrite") << QStringList{"--count", "3", "--overwrite"} << 0 << 3;
    }
    void scanNoOverwrite() {
        QFETCH(QStringList, options);
        QFETCH(int, rc);
        QFETCH(int, scans);
        SimProcess sim;
        QVERIFY(sim.start());
        QTemporaryDir dir;
        const QString second = dir.filePath(QStringLiteral("s-002.png"));
        QVERIFY(writeAll(second, "earlier"));
        const Run r = lmkctl(QStringList{"scan", "--area", "10,10,4,4", "-o", dir.filePath("s-%03d.png")} + options,
                             &sim);
        QVERIFY2(r.rc == rc, r.err.constData());
        int requests = 0;
        for (const QByteArray &q : sim.requests())
            requests += q.startsWith(char(0x08));
        QCOMPARE(requests, scans);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("s-001.png"))));
        if (rc != 0) {
            QVERIFY2(r.err.contains(second.toUtf8() + " exists"), r.err.constData());
            QCOMPARE(fileContents(second), QByteArray("earlier"));
            QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("s-003.png"))));
        } else {
            QVERIFY(!QImage(second).isNull());
        }
    }

    // An output that cannot be written is found before anything is sent.
    void scanUnwritableOutput() {
        SimProcess sim;
        QVERIFY(sim.start());
        const QString out = path(QStringLiteral("no-such-folder/x.png"));
        const Run r = lmkctl({"scan", "-o", out}, &sim);
        QCOMPARE(r.rc, 2);
        QVERIFY2(r.err.contains("nothing was scanned"), r.err.constData());
        for (const QByteArray &q : sim.requests())
            QVERIFY(!q.startsWith(char(0x08)));
    }

    // The facts of a capture: the PNG's text chunks and --json say the same;
    // a BMP carries none. --scale enlarges by whole pixels.
    void scanFacts_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("scale");
        QTest::newRow("png") << "facts.png" << 1;
        QTest::newRow("png 3 x") << "facts3.png" << 3;
        QTest::newRow("bmp 2 x") << "facts2.bmp" << 2;
    }
    void scanFacts() {
        QFETCH(QString, file);
        QFETCH(int, scale);
        SimProcess sim;
        QVERIFY(sim.start());
        const QString out = path(file);
        QFile::remove(out);
        const QRect area(700, 400, 100, 80);
        const Run r = lmkctl({"scan", "--area", "700,400,100,80", "--scale", QString::number(scale),
                              "--json", "-o", out},
                             &sim);
        QVERIFY2(r.rc == 0, r.err.constData());
        const QJsonObject j = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(j.value("file").toString(), out);
        QCOMPARE(j.value("width").toInt(), 100 * scale);
        QCOMPARE(j.value("height").toInt(), 80 * scale);
        QCOMPARE(j.value("scale").toInt(), scale);
        QCOMPARE(j.value("receiver").toString(), QStringLiteral("LMK540 V103"));
        QCOMPARE(j.value("program").toString(), QStringLiteral("lmkctl 1.4"));
        const QJsonObject a = j.value("area").toObject();
        QCOMPARE(QRect(a.value("x").toInt(), a.value("y").toInt(), a.value("w").toInt(), a.value("h").toInt()), area);
        const QDateTime t = QDateTime::fromString(j.value("time").toString(), Qt::ISODate);
        QVERIFY(qAbs(t.secsTo(QDateTime::currentDateTime())) < 60);

        const QMap<QString, QString> texts = pngTexts(fileContents(out));
        if (file.endsWith(QLatin1String(".png"))) {
            QCOMPARE(texts.value("Source"), j.value("receiver").toString());
            QCOMPARE(texts.value("Area"), QStringLiteral("700,400,100,80"));
            QCOMPARE(texts.value("Creation Time"), j.value("time").toString());
            QCOMPARE(texts.value("Software"), j.value("program").toString());
        } else {
            QVERIFY(texts.isEmpty());
        }
        // Every pixel of the 1 x picture is a scale x scale block.
        const QImage img = QImage(out).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(img.size(), area.size() * scale);
        const QByteArray raw = fileContents(QDir(sim.stateDir()).filePath(QStringLiteral("screen.raw")));
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) !=
                    (screenPixel(raw, 800, area.x() + x / scale, area.y() + y / scale) & 0xFFFFFF))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
    }

    // --clipboard needs a display: without one a clear error (exit 2) and
    // nothing is sent; with one the picture goes there.
    void scanClipboard_data() {
        QTest::addColumn<QString>("platform"); // QT_QPA_PLATFORM; "" and no DISPLAY: no display
        QTest::addColumn<int>("rc");
        QTest::newRow("no display") << "" << 2;
        QTest::newRow("offscreen") << "offscreen" << 0;
    }
    void scanClipboard() {
        QFETCH(QString, platform);
        QFETCH(int, rc);
        SimProcess sim;
        QVERIFY(sim.start());
        const QByteArray saved[3] = {qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY")};
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
        if (platform.isEmpty())
            qunsetenv("QT_QPA_PLATFORM");
        else
            qputenv("QT_QPA_PLATFORM", platform.toLatin1());
        const Run r = lmkctl({"scan", "--area", "0,0,8,8", "--clipboard"}, &sim);
        const char *names[3] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
        for (int i = 0; i < 3; ++i)
            if (saved[i].isEmpty())
                qunsetenv(names[i]);
            else
                qputenv(names[i], saved[i]);
        QVERIFY2(r.rc == rc, r.err.constData());
        int scans = 0;
        for (const QByteArray &q : sim.requests())
            scans += q.startsWith(char(0x08));
        if (rc == 2) {
            QVERIFY2(r.err.contains("--clipboard needs a display"), r.err.constData());
            QCOMPARE(scans, 0);
        } else {
            QCOMPARE(scans, 1);
            QVERIFY2(r.out.startsWith("clipboard: 8 x 8 pixels"), r.out.constData());
        }
    }

    // An upload prints every phase on a line of its own, the erase too,
    // with the time left once bytes flow.
    void uploadPhases() {
        SimProcess sim;
        QVERIFY(sim.start({"--upload-erase", "3", "--upload-gap", "100", "--delay", "2"}));
        const Run r = lmkctl({"upload", path(QStringLiteral("LMK1.RPD"))}, &sim);
        QVERIFY2(r.rc == 0, r.err.constData());
        const QList<QByteArray> lines = r.err.split('\n');
        qsizetype erase = -1, bytes = -1;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].startsWith("Clearing memory:") && erase < 0)
                erase = i;
            if (lines[i].startsWith("Bytes sent:") && bytes < 0)
                bytes = i;
        }
        QVERIFY2(erase >= 0 && bytes > erase, r.err.constData());
        QVERIFY2(lines[erase].endsWith("-:-- left"), lines[erase].constData());
        QVERIFY2(QRegularExpression(QStringLiteral("\\d+:\\d\\d left$")).match(QString::fromLatin1(lines[bytes])).hasMatch(),
                 lines[bytes].constData());
    }

    // Columns missing at the end of a scan: exit 1, no file.
    void scanIncomplete() {
        SimProcess sim;
        QVERIFY(sim.start({"--scan-fault", "last-first"}));
        const QString out = path(QStringLiteral("incomplete.png"));
        QFile::remove(out);
        const Run r = lmkctl({"scan", "--area", "0,0,10,480", "-o", out}, &sim);
        QCOMPARE(r.rc, 1);
        QVERIFY2(r.err.contains("Scan incomplete: 9 of 10 columns missing!"), r.err.constData());
        QVERIFY(!QFile::exists(out));
    }

    void memoryRoundTrip() {
        SimProcess sim;
        QVERIFY(sim.start());
        const QString slotsFile = QDir(sim.stateDir()).filePath(QStringLiteral("slots.bin"));
        const QString first = path(QStringLiteral("first.Mem"));
        Run r = lmkctl({"memory", "read", "-o", first}, &sim);
        QVERIFY2(r.rc == 0, r.err.constData());
        const QByteArray original = fileContents(first);
        QCOMPARE(original.size(), 63 * 256);
        QCOMPARE(original, fileContents(slotsFile));

        // Slots 1 and 2 swapped, slot 63 cleared, written back.
        QByteArray changed = original;
        changed.replace(0, 256, original.mid(256, 256));
        changed.replace(256, 256, original.mid(0, 256));
        changed.replace(62 * 256, 256, QByteArray(256, '\0'));
        QVERIFY(changed != original);
        const QString edited = path(QStringLiteral("edited.Mem"));
        QVERIFY(writeAll(edited, changed));
        r = lmkctl({"memory", "write", edited}, &sim);
        QVERIFY2(r.rc == 0, r.err.constData());
        QCOMPARE(fileContents(slotsFile), changed);
        QVERIFY2(r.err.contains("63 slots written and verified"), r.err.constData());

        const QString again = path(QStringLiteral("again.Mem"));
        r = lmkctl({"memory", "read", "-o", again}, &sim);
        QVERIFY2(r.rc == 0, r.err.constData());
        QCOMPARE(fileContents(again), changed);
    }

    // A read is whole only when slots 1 to 63 each came once: otherwise exit
    // 1, the slots named, no file (before: exit 0 and slot 5 all zero; 50
    // records numbered 64 gave an 806,400-byte file).
    void memoryReadIncomplete_data() {
        QTest::addColumn<bool>("usb");
        QTest::addColumn<QStringList>("simOptions");
        QTest::addColumn<QString>("message");
        for (bool usb : {false, true}) {
            const char *t = usb ? "usb" : "wlan";
            QTest::addRow("%s/status word for slot 5", t)
                << usb << QStringList{"--slot-fault", "5:status"}
                << "The device answered 1 read request with a status word instead of a slot; "
                   "slot 5 did not come.";
            QTest::addRow("%s/slot 4 twice", t)
                << usb << QStringList{"--slot-fault", "4:twice"}
                << "Slot 63 did not come; slot 4 came more than once.";
            QTest::addRow("%s/slot numbers 64 and FFFFFFFF", t)
                << usb
                << QStringList{"--slot-fault", "9:number=64", "--slot-fault", "10:number=0xFFFFFFFF"}
                << "Slots 9 and 10 did not come; records for slot number 64 and 0xFFFFFFFF came";
        }
    }
    void memoryReadIncomplete() {
        QFETCH(bool, usb);
        QFETCH(QStringList, simOptions);
        QFETCH(QString, message);
        SimProcess sim;
        QVERIFY(sim.start(simOptions));
        const QString out = path(QStringLiteral("incomplete.Mem"));
        QFile::remove(out);
        const Run r = lmkctl({"memory", "read", "-o", out}, &sim, usb ? Link::Usb : Link::Wlan);
        QCOMPARE(r.rc, 1);
        QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
        QVERIFY2(r.err.contains("The memory slots were not changed."), r.err.constData());
        QVERIFY(!QFile::exists(out));
    }

    void memoryClear() {
        SimProcess sim;
        QVERIFY(sim.start());
        const QString slotsFile = QDir(sim.stateDir()).filePath(QStringLiteral("slots.bin"));
        Run r = lmkctl({"memory", "read", "-o", path(QStringLiteral("before.Mem"))}, &sim);
        QVERIFY2(r.rc == 0, r.err.constData());
        QVERIFY(fileContents(slotsFile) != QByteArray(63 * 256, '\0'));
        r = lmkctl({"memory", "clear", "--yes"}, &sim);
        QVERIFY2(r.rc == 0, r.err.constData());
        QCOMPARE(fileContents(slotsFile), QByteArray(63 * 256, '\0'));
    }

    void memoryShowCsv() {
        SimProcess sim;
        QVERIFY(sim.start());
        const QString file = path(QStringLiteral("show.Mem"));
        Run r = lmkctl({"memory", "read", "-o", file}, &sim);
        QVERIFY2(r.rc == 0, r.err.constData());
        // Only slot 1 kept: a known record, the rest empty.
        QVERIFY(writeAll(file, fileContents(file).left(256)));

        // The CSV that export writes and import reads, not the grid's texts;
        // a warning about the size on standard error.
        r = lmkctl({"memory", "show", file, "--csv"}, nullptr, Link::None);
        QCOMPARE(r.rc, 0);
        QVERIFY2(r.err.contains("is 256 bytes, not 16128 (63 slots of 256 bytes)"), r.err.constData());
        const QList<QByteArray> lines = r.out.split('\n');
        QCOMPARE(lines.size(), 1 + 1 + 1); // headings, the one whole slot, the final line end
        QCOMPARE(QString::fromUtf8(lines[0]),
                 QStringLiteral("Platz,Name,Frequenz,Modulation,Bandbreite,Verschiebung,Hochpass,"
                                "Eingang,Abschwächer,Filter HP,Filter TP,Version"));
        QCOMPARE(lines[1], QByteArray("1,DCF77,77500.0,DSB,300,0,75 kHz,0 Ohm,0 dB,\"7,0M\",170k,1"));
        const QString csv = path(QStringLiteral("show.csv"));
        QVERIFY(writeAll(csv, r.out));
        const QString back = path(QStringLiteral("show-back.Mem"));
        r = lmkctl({"memory", "import", csv, "--base", file, "-o", back}, nullptr, Link::None);
        QVERIFY2(r.rc == 0, r.err.constData());
        QCOMPARE(fileContents(back).left(256), fileContents(file));
    }

    void terminal() {
        SimProcess sim;
        QVERIFY(sim.start());
        const Run r = lmkctl({"terminal"}, &sim, Link::Usb, "ver\nhelp\n");
        QVERIFY2(r.rc == 0, r.err.constData());
        QVERIFY2(r.out.contains("LMK540 V103"), r.out.constData());
        QVERIFY(r.out.contains("Commands:"));
        const QList<QByteArray> req = sim.requests(QStringLiteral("usb"));
        QVERIFY(req.contains(QByteArray::fromHex("0D01")));
        QVERIFY(req.contains(QByteArray::fromHex("19057665720D0A000000")));
        QCOMPARE(req.last(), QByteArray::fromHex("0D00"));
    }

    void terminalLineTooLong() {
        SimProcess sim;
        QVERIFY(sim.start());
        const Run r = lmkctl({"terminal"}, &sim, Link::Usb, QByteArray(254, 'a') + "\nver\n");
        QCOMPARE(r.rc, 2); // wrong usage, nothing the receiver refused
        QVERIFY(r.err.contains("Line too long: at most 253 characters can be sent!"));
        QVERIFY(r.out.contains("LMK540 V103")); // the next line still went out
    }

    void apShow_data() {
        QTest::addColumn<QStringList>("simOptions");
        QTest::addColumn<QByteArray>("out");
        const QStringList values{"--ap-ssid", "HOMEBASE01", "--ap-channel", "9", "--ap-power", "7"};
        const QByteArray shown = "Name (SSID): HOMEBASE01\nPasskey: lmk-passkey-0123456789\n"
                                 "Channel: 9\nTX-Power: 7 dBm\n";
        QTest::newRow("one frame") << values << shown;
        QTest::newRow("cut inside the power value")
            << QStringList{"--ap-power", "12", "--ap-cut", "84"} // "1" | "2\r\n"
            << QByteArray("Name (SSID): LMK5x-0001\nPasskey: lmk-passkey-0123456789\n"
                          "Channel: 6\nTX-Power: 12 dBm\n");
        // Printed as the receiver sent them, also where the window's form
        // could not show them.
        QTest::newRow("channel 13, power abc")
            << QStringList{"--ap-ssid", "LONGER-NAME-12", "--ap-channel", "13", "--ap-power", "abc"}
            << QByteArray("Name (SSID): LONGER-NAME-12\nPasskey: lmk-passkey-0123456789\n"
                          "Channel: 13\nTX-Power: abc dBm\n");
    }
    void apShow() {
        QFETCH(QStringList, simOptions);
        QFETCH(QByteArray, out);
        SimProcess sim;
        QVERIFY(sim.start(simOptions));
        const Run r = lmkctl({"ap", "show"}, &sim, Link::Usb);
        QVERIFY2(r.rc == 0, r.err.constData());
        QCOMPARE(r.out, out);
    }

    void apSet_data() {
        QTest::addColumn<QStringList>("simOptions");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("saved");
        QTest::newRow("all four") << QStringList{}
                                  << QStringList{"--ssid", "ABCDEFGHIJ", "--passkey",
                                                 "0123456789012345678901", "--channel", "3",
                                                 "--power", "15"}
                                  << "ssid=ABCDEFGHIJ\npasskey=0123456789012345678901\nchannel=3\n"
                                     "power=15\n";
        // The values not given go back as the receiver reported them.
        QTest::newRow("only the channel")
            << QStringList{"--ap-power", "17"} << QStringList{"--channel", "11"}
            << "ssid=LMK5x-0001\npasskey=lmk-passkey-0123456789\nchannel=11\npower=17\n";
        QTest::newRow("the channel for a receiver's 13")
            << QStringList{"--ap-channel", "13"} << QStringList{"--channel", "0", "--power", "1"}
            << "ssid=LMK5x-0001\npasskey=lmk-passkey-0123456789\nchannel=0\npower=1\n";
    }
    void apSet() {
        QFETCH(QStringList, simOptions);
        QFETCH(QStringList, args);
        QFETCH(QString, saved);
        SimProcess sim;
        QVERIFY(sim.start(simOptions));
        const Run r = lmkctl(QStringList{"ap", "set"} + args, &sim, Link::Usb);
        QVERIFY2(r.rc == 0, r.err.constData());
        QCOMPARE(QString::fromLatin1(fileContents(QDir(sim.stateDir()).filePath(QStringLiteral("accesspoint.txt")))),
                 saved);
        bool frame = false;
        for (const QByteArray &q : sim.requests(QStringLiteral("usb")))
            frame = frame || (q.size() == 88 && q.startsWith(QByteArray::fromHex("1956")));
        QVERIFY(frame);
    }

    // Exit 0 only when the WiFi module confirmed the settings; otherwise the
    // matching code and the text that came.
    void apSetConfirmation_data() {
        QTest::addColumn<QStringList>("simOptions");
        QTest::addColumn<int>("rc");
        QTest::addColumn<QString>("message");
        QTest::newRow("confirmed") << QStringList{} << 0 << "";
        // Over USB a lost link looks the same: the library reports nothing.
        QTest::newRow("silence") << QStringList{"--fault", "usb:19#1:silent"} << 4
                                 << "did not confirm the settings within 3 s";
        QTest::newRow("other text")
            // One frame (4-byte header, length 19) of text instead of the answer.
            << QStringList{"--fault", "usb:19#1:raw=130000004552523a2042616420417267730d0a"} << 1
            << "did not confirm the settings (no \"Saved\" line)";
    }
    void apSetConfirmation() {
        QFETCH(QStringList, simOptions);
        QFETCH(int, rc);
        QFETCH(QString, message);
        SimProcess sim;
        QVERIFY(sim.start(simOptions));
        const Run r = lmkctl({"ap", "set", "--channel", "3"}, &sim, Link::Usb);
        QVERIFY2(r.rc == rc, r.err.constData());
        QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
        if (rc == 0)
            QVERIFY2(r.out.contains("Saved"), r.out.constData());
        if (message.contains(QLatin1String("no \"Saved\"")))
            QVERIFY2(r.out.contains("ERR: Bad Args"), r.out.constData());
    }

    void apSetChecks_data() {
        QTest::addColumn<QStringList>("simOptions");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("messages");
        const QString s10 = "ABCDEFGHIJ", p22 = "0123456789012345678901";
        auto all = [](const QString &s, const QString &p, const QString &c, const QString &d) {
            return QStringList{"--ssid", s, "--passkey", p, "--channel", c, "--power", d};
        };
        QTest::newRow("short ssid") << QStringList{} << all("ABC", p22, "3", "15")
                                    << QStringList{"Name / SSID muss 10 Zeichen lang sein!"};
        QTest::newRow("short ssid and passkey")
            << QStringList{} << all("ABC", "0123", "3", "15")
            << QStringList{"Name / SSID muss 10 Zeichen lang sein!",
                           "Passwort muss 22 Zeichen lang sein!"};
        QTest::newRow("channel out of range")
            << QStringList{} << all(s10, p22, "12", "15")
            << QStringList{"--channel needs a number from 0 to 11"};
        QTest::newRow("power not a number")
            << QStringList{} << all(s10, p22, "3", "max")
            << QStringList{"--power needs a number from 0 to 19"};
        // Longer than the window takes: refused, not cut.
        QTest::newRow("ssid of 11") << QStringList{} << all(s10 + "K", p22, "3", "15")
                                    << QStringList{"Name (SSID) \"ABCDEFGHIJK\" is longer than 10"};
        QTest::newRow("passkey of 24") << QStringList{} << all(s10, p22 + "XY", "3", "15")
                                       << QStringList{"Passkey \"" + p22 + "XY\" is longer than 22"};
        QTest::newRow("ssid with a character outside Latin-1")
            << QStringList{} << all("LMK5x-€-01", p22, "3", "15")
            << QStringList{"Name (SSID) \"LMK5x-€-01\" holds characters the WiFi module cannot take: €"};
        QTest::newRow("set without values") << QStringList{} << QStringList{}
                                            << QStringList{"at least one of"};
        // A value not given that the receiver reported unusable is not sent back.
        QTest::newRow("receiver's channel 13")
            << QStringList{"--ap-channel", "13"} << QStringList{"--power", "5"}
            << QStringList{"The receiver reported channel \"13\"", "give --channel"};
        QTest::newRow("receiver's power abc")
            << QStringList{"--ap-power", "abc"} << QStringList{"--ssid", s10}
            << QStringList{"The receiver reported TX-Power \"abc\"", "give --power"};
        QTest::newRow("receiver's ssid of 14")
            << QStringList{"--ap-ssid", "LONGER-NAME-14"} << QStringList{"--channel", "2"}
            << QStringList{"Name (SSID) \"LONGER-NAME-14\" is longer than 10", "give --ssid"};
    }
    void apSetChecks() {
        QFETCH(QStringList, simOptions);
        QFETCH(QStringList, args);
        QFETCH(QStringList, messages);
        SimProcess sim;
        QVERIFY(sim.start(simOptions));
        const Run r = lmkctl(QStringList{"ap", "set"} + args, &sim, Link::Usb);
        QCOMPARE(r.rc, 2);
        for (const QString &m : messages)
            QVERIFY2(r.err.contains(m.toUtf8()), r.err.constData());
        for (const QByteArray &q : sim.requests(QStringLiteral("usb")))
            QVERIFY(!q.startsWith(QByteArray::fromHex("1956")));
        // What the options give is checked before anything goes out.
        if (simOptions.isEmpty())
            QCOMPARE(sim.requests(QStringLiteral("usb")), QList<QByteArray>{});
    }

    // Before a write or clear the receiver's slots go into a backup file;
    // when that read fails, nothing is written.
    void memoryBackup_data() {
        QTest::addColumn<QStringList>("simOptions");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("rc");
        QTest::addColumn<bool>("backup");  // a backup of the slots as they were
        QTest::addColumn<bool>("written"); // the receiver's slots changed
        QTest::addColumn<QString>("message");
        const QStringList write{"memory", "write", "%DIR%/random.Mem"};
        const QStringList clear{"memory", "clear", "--yes"};
        const QString made = QStringLiteral("Backup of the receiver's slots: ");
        QTest::newRow("write") << QStringList() << write << 0 << true << true << made;
        QTest::newRow("clear") << QStringList() << clear << 0 << true << true << made;
        QTest::newRow("write, --no-backup") << QStringList() << write + QStringList{"--no-backup"} << 0
                                            << false << true << QString();
        QTest::newRow("write, backup read times out")
            << QStringList{"--slot-silent", "5"} << write << 4 << false << false
            << "No backup of the receiver's slots: Timeout: Device doesn't respond!\n"
               "Nothing was written; --no-backup writes without a backup.";
        QTest::newRow("clear, backup read short")
            << QStringList{"--slot-short", "7"} << clear << 1 << false << false
            << "No backup of the receiver's slots: Error on reading!";
    }
    void memoryBackup() {
        QFETCH(QStringList, simOptions);
        QFETCH(QStringList, args);
        QFETCH(int, rc);
        QFETCH(bool, backup);
        QFETCH(bool, written);
        QFETCH(QString, message);
        QTemporaryDir data;
        const QString keep = m_dataHome;
        m_dataHome = data.path();
        const auto restore = qScopeGuard([&] { m_dataHome = keep; });
        SimProcess sim;
        QVERIFY(sim.start(simOptions));
        const QString slotsFile = QDir(sim.stateDir()).filePath(QStringLiteral("slots.bin"));
        QVERIFY(QTest::qWaitFor([&] { return fileContents(slotsFile).size() == 63 * 256; }, 5000));
        const QByteArray before = fileContents(slotsFile);
        for (QString &a : args)
            a.replace(QLatin1String("%DIR%"), m_dir.path());

        Run r = lmkctl(args, &sim);
        QVERIFY2(r.rc == rc, r.err.constData());
        QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
        QCOMPARE(fileContents(slotsFile) != before, written);

        // Every read of the backup comes before the first write.
        const QList<QByteArray> requests = sim.requests(QStringLiteral("wlan"));
        QList<char> commands;
        for (const QByteArray &q : requests)
            commands << q.at(0);
        const qsizetype firstWrite = commands.indexOf(char(0x11));
        const qsizetype reads = written ? firstWrite : commands.count(char(0x10));
        const qsizetype writes = commands.count(char(0x11));
        // Without a backup one read request learns the length of the replies.
        QCOMPARE(reads, backup ? 63 : written ? 1 : reads);
        QCOMPARE(writes > 0, written);
        if (written) // a write is read back after it; a clear is not
            QCOMPARE(commands.mid(commands.lastIndexOf(char(0x11)) + 1).count(char(0x10)),
                     args.contains(QStringLiteral("write")) ? 63 : 0);
        r = lmkctl({"memory", "backups"}, nullptr, Link::None);
        QCOMPARE(r.rc, 0);
        const QList<QByteArray> listed = r.out.split('\n').mid(0, r.out.count('\n'));
        QCOMPARE(listed.size(), backup ? 1 : 0);
        if (backup) {
            QCOMPARE(fileContents(QString::fromLocal8Bit(listed.first())), before);
            QVERIFY(r.out.startsWith(data.path().toLocal8Bit() + "/lmkinterface/backups/slots_"));
        }
    }

    // A receiver that sends 248 bytes of each record: a write asks first
    // (--yes) with or without a backup. Before, --no-backup zeroed bytes
    // 248-255 of every slot without asking.
    void memoryWriteShortReplies_data() {
        QTest::addColumn<bool>("usb");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("rc");
        for (bool usb : {false, true}) {
            const char *t = usb ? "usb" : "wlan";
            QTest::addRow("%s/backup", t) << usb << QStringList{} << 2;
            QTest::addRow("%s/--no-backup", t) << usb << QStringList{"--no-backup"} << 2;
            QTest::addRow("%s/--no-backup --yes", t) << usb << QStringList{"--no-backup", "--yes"} << 0;
        }
    }
    void memoryWriteShortReplies() {
        QFETCH(bool, usb);
        QFETCH(QStringList, options);
        QFETCH(int, rc);
        QTemporaryDir data;
        const QString keep = m_dataHome;
        m_dataHome = data.path();
        const auto restore = qScopeGuard([&] { m_dataHome = keep; });
        SimProcess sim;
        QVERIFY(sim.start({"--slot-reply-length", "256"}));
        const QString slotsFile = QDir(sim.stateDir()).filePath(QStringLiteral("slots.bin"));
        QVERIFY(QTest::qWaitFor([&] { return fileContents(slotsFile).size() == 63 * 256; }, 5000));
        const QByteArray before = fileContents(slotsFile);
        // A file of its own: short.Mem is the fixture's image of 62 slots.
        const QString file = path(QStringLiteral("whole5A.Mem"));
        QVERIFY(writeAll(file, QByteArray(63 * 256, '\x5A')));
        const Run r = lmkctl(QStringList{"memory", "write", file} + options, &sim,
                             usb ? Link::Usb : Link::Wlan);
        QVERIFY2(r.rc == rc, r.err.constData());
        if (rc == 2) {
            QVERIFY2(r.err.contains("The receiver sends 248 of the 256 bytes"), r.err.constData());
            QVERIFY2(r.err.contains("Nothing was written; --yes writes anyway."), r.err.constData());
            QCOMPARE(fileContents(slotsFile), before);
        } else {
            QCOMPARE(fileContents(slotsFile), QByteArray(63 * 256, '\x5A'));
        }
    }

    // `--dialect excel-de`: ';', decimal comma, a byte order mark; import
    // reads it back to the same bytes. An unknown dialect is a usage error.
    void memoryExportDialect() {
        QByteArray image(63 * 256, '\0');
        std::memcpy(image.data() + 18, "DCF77", 5);
        image[156] = char(0x58); // 775000 tenths (0x0BD358)
        image[157] = char(0xD3);
        image[158] = char(0x0B);
        const QString mem = path(QStringLiteral("dialect.Mem"));
        QVERIFY(writeAll(mem, image));
        const QString csv = path(QStringLiteral("dialect.csv"));
        Run r = lmkctl({"memory", "export", mem, "--dialect", "excel-de", "-o", csv}, nullptr,
                       Link::None);
        QVERIFY2(r.rc == 0, r.err.constData());
        const QByteArray text = fileContents(csv);
        QVERIFY(text.startsWith("\xEF\xBB\xBFPlatz;Name;Frequenz;"));
        QVERIFY2(text.contains("\r\n1;DCF77;77500,0;"), text.constData());
        const QString back = path(QStringLiteral("dialect-back.Mem"));
        r = lmkctl({"memory", "import", csv, "--base", mem, "-o", back}, nullptr, Link::None);
        QVERIFY2(r.rc == 0, r.err.constData());
        QCOMPARE(fileContents(back), image);
        r = lmkctl({"memory", "export", mem, "--dialect", "excel"}, nullptr, Link::None);
        QCOMPARE(r.rc, 2);
        QVERIFY2(r.err.contains("unknown --dialect 'excel'; one of plain, excel-de"), r.err.constData());
    }

    // Recovery files (the window's unsaved changes) are listed after the
    // backups, each marked; with --json under "recoveries".
    void memoryBackupsListRecoveries() {
        QTemporaryDir data;
        const QString keep = m_dataHome;
        m_dataHome = data.path();
        const auto restore = qScopeGuard([&] { m_dataHome = keep; });
        const QString dir = data.filePath(QStringLiteral("lmkinterface/backups"));
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(writeAll(dir + QStringLiteral("/slots_2026-12-10_10-00-00.Mem"), QByteArray(63 * 256, 'b')));
        QVERIFY(writeAll(dir + QStringLiteral("/recovery_2026-12-10_11-00-00.Mem"), QByteArray(63 * 256, 'r')));
        Run r = lmkctl({"memory", "backups"}, nullptr, Link::None);
        QCOMPARE(r.rc, 0);
        QCOMPARE(QString::fromLocal8Bit(r.out),
                 dir + QStringLiteral("/slots_2026-12-10_10-00-00.Mem\n") + dir +
                     QStringLiteral("/recovery_2026-12-10_11-00-00.Mem  (unsaved changes, recovered)\n"));
        r = lmkctl({"memory", "backups", "--json"}, nullptr, Link::None);
        QCOMPARE(r.rc, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(o.value(QStringLiteral("recoveries")).toArray().size(), 1);
        QCOMPARE(o.value(QStringLiteral("backups")).toArray().size(), 1);
    }

    void memoryCsvAndDiff() {
        SimProcess sim;
        QVERIFY(sim.start());
        const QString image = path(QStringLiteral("csv.Mem"));
        Run r = lmkctl({"memory", "read", "-o", image}, &sim);
        QVERIFY2(r.rc == 0, r.err.constData());
        const QString csv = path(QStringLiteral("slots.csv"));
        r = lmkctl({"memory", "export", image, "-o", csv}, nullptr, Link::None);
        QVERIFY2(r.rc == 0, r.err.constData());
        r = lmkctl({"memory", "export", image}, nullptr, Link::None);
        QCOMPARE(r.out, fileContents(csv));
        QVERIFY(r.out.startsWith("Platz,Name,Frequenz,"));
        QVERIFY(r.out.contains("\n1,DCF77,77500.0,"));

        // Onto its own image: byte-identical.
        const QString back = path(QStringLiteral("back.Mem"));
        r = lmkctl({"memory", "import", csv, "--base", image, "-o", back}, nullptr, Link::None);
        QVERIFY2(r.rc == 0, r.err.constData());
        QCOMPARE(fileContents(back), fileContents(image));
        r = lmkctl({"memory", "diff", image, back}, nullptr, Link::None);
        QCOMPARE(r.rc, 0);
        QCOMPARE(r.out, QByteArray());

        // Onto all zero: the fields arrive, the opaque bytes do not.
        QByteArray text = fileContents(csv);
        text.replace("\n1,DCF77,", "\n1,DCF77 neu,");
        QVERIFY(writeAll(csv, text));
        const QString fresh = path(QStringLiteral("fresh.Mem"));
        // Never onto all zero unasked: the option is named, nothing written.
        r = lmkctl({"memory", "import", csv, "-o", fresh}, nullptr, Link::None);
        QCOMPARE(r.rc, 2);
        QVERIFY2(r.err.contains("--base FILE.Mem is required"), r.err.constData());
        QVERIFY2(r.err.contains("--zero-base"), r.err.constData());
        QVERIFY(!QFile::exists(fresh));
        r = lmkctl({"memory", "import", csv, "--zero-base", "-o", fresh}, nullptr, Link::None);
        QVERIFY2(r.rc == 0, r.err.constData());
        r = lmkctl({"memory", "diff", image, fresh}, nullptr, Link::None);
        QCOMPARE(r.rc, 1);
        const QList<QByteArray> lines = r.out.split('\n');
        QCOMPARE(lines.size(), 63 + 1);
        QCOMPARE(lines[0], QByteArray("Slot 1: Name \"DCF77\" -> \"DCF77 neu\""));
        QCOMPARE(lines[1], QByteArray("Slot 2: opaque bytes"));

        // A bad cell: its line and column, and no file.
        text.replace("\n2,MSF 60,60000.0,", "\n2,MSF 60,60000.05,");
        QVERIFY(writeAll(csv, text));
        const QString bad = path(QStringLiteral("bad.Mem"));
        r = lmkctl({"memory", "import", csv, "--base", image, "-o", bad}, nullptr, Link::None);
        QCOMPARE(r.rc, 2);
        QVERIFY2(r.err.startsWith("lmkctl: slots.csv: Line 3, column 3: Frequenz: "), r.err.constData());
        QVERIFY(!QFile::exists(bad));
    }

    // Exit codes: 1 refused, 2 wrong usage, 3 no connection, 4 timeout.
    void exitCodes_data() {
        QTest::addColumn<QStringList>("simOptions");
        QTest::addColumn<int>("link"); // Link
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("rc");
        QTest::addColumn<QString>("message");
        const QStringList none;
        const int wlan = int(Link::Wlan), usb = int(Link::Usb), nolink = int(Link::None);
        const QString notFound = QStringLiteral("Access Point LMK5x not found!");
        const QString timeout = QStringLiteral("Timeout: Device doesn't respond!");
        const QString noUsb = QStringLiteral("No USB connection available!");

        QTest::newRow("version, no connection") << none << nolink << QStringList{"version"} << 3 << notFound;
        QTest::newRow("sync, no connection") << none << nolink << QStringList{"sync"} << 3 << notFound;
        QTest::newRow("tasks, no connection") << none << nolink << QStringList{"tasks"} << 3 << notFound;
        QTest::newRow("upload, no connection")
            << none << nolink << QStringList{"upload", "%DIR%/LMK1.RPD"} << 3 << notFound;
        QTest::newRow("scan, no connection") << none << nolink << QStringList{"scan", "-o", "%DIR%/x.png"} << 3 << notFound;
        QTest::newRow("memory read, no connection")
            << none << nolink << QStringList{"memory", "read", "-o", "%DIR%/x.Mem"} << 3 << notFound;
        QTest::newRow("terminal without --usb") << none << wlan << QStringList{"terminal"} << 3 << noUsb;
        QTest::newRow("ap show without --usb") << none << wlan << QStringList{"ap", "show"} << 3 << noUsb;
        QTest::newRow("ap show, no usb library") << none << nolink << QStringList{"--usb", "ap", "show"} << 3 << noUsb;

        QTest::newRow("scan, connection dropped") << QStringList{"--scan-fault", "drop:2"} << wlan
                                                  << QStringList{"scan", "-o", "%DIR%/x.png"} << 3
                                                  << "LMK doesn't respond to WLAN!";
        QTest::newRow("upload, no task ids") << QStringList{"--tasks", "none"} << wlan
                                             << QStringList{"upload", "%DIR%/LMK1.RPD", "--task", "1", "--yes"}
                                             << 1 << "No tasks found!";
        QTest::newRow("memory clear without --yes") << none << wlan << QStringList{"memory", "clear"}
                                                    << 2 << "--yes";

        QTest::newRow("sync, timeout") << QStringList{"--silent"} << wlan << QStringList{"sync"} << 4 << timeout;
        QTest::newRow("tasks, timeout") << QStringList{"--fault", "0B:silent"} << wlan << QStringList{"tasks"} << 4 << timeout;
        QTest::newRow("upload, timeout") << QStringList{"--upload-silent-at", "2"} << wlan
                                         << QStringList{"upload", "%DIR%/LMK1.RPD"} << 4 << timeout;
        QTest::newRow("scan, timeout") << QStringList{"--scan-fault", "silence:3"} << wlan
                                       << QStringList{"scan", "-o", "%DIR%/x.png"} << 4 << timeout;
        QTest::newRow("memory read, timeout") << QStringList{"--slot-silent", "5"} << wlan
                                              << QStringList{"memory", "read", "-o", "%DIR%/x.Mem"} << 4 << timeout;
        QTest::newRow("ap show, timeout") << QStringList{"--ap-silent"} << usb << QStringList{"ap", "show"} << 4 << timeout;

        QTest::newRow("upload, refused") << QStringList{"--upload-refuse-at", "1"} << wlan
                                         << QStringList{"upload", "%DIR%/LMK1.RPD"} << 1
                                         << "Exception caused by device driver!";
        QTest::newRow("upload, usb refused") << QStringList{"--upload-refuse-at", "0"} << usb
                                             << QStringList{"upload", "%DIR%/LMK1.RPD"} << 1
                                             << "Exception caused by device driver!";
        QTest::newRow("upload, configuration active") << QStringList{"--mode", "config"} << wlan
                                                      << QStringList{"upload", "%DIR%/LMK1.RPD"} << 1
                                                      << "Bootloader not active!";
        // A bootloader seen only on confirmation does not enable the upload.
        QTest::newRow("upload, bootloader late") << QStringList{"--sync-answers", "55,5A"} << wlan
                                                 << QStringList{"upload", "%DIR%/LMK1.RPD", "--task", "1"}
                                                 << 1 << "Bootloader not active!";
        QTest::newRow("tasks, configuration active") << QStringList{"--mode", "config"} << wlan
                                                     << QStringList{"tasks"} << 1 << "Bootloader not active!";
        QTest::newRow("scan, refused") << QStringList{"--scan-refuse", "3"} << wlan
                                       << QStringList{"scan", "-o", "%DIR%/x.png"} << 1
                                       << "Device doesn't respond! The receiver refused the scan, "
                                          "code 3: a code without a known meaning.";
        QTest::newRow("scan, area off a VGA screen") << QStringList{"--screen-vga"} << wlan
                                                     << QStringList{"scan", "--area", "600,0,100,10", "-o", "%DIR%/x.png"} << 1
                                                     << "code 1: the area is not on the receiver's screen";
        QTest::newRow("memory write, refused") << QStringList{"--slot-refuse", "3"} << wlan
                                               << QStringList{"memory", "write", "%DIR%/zero.Mem"} << 1
                                               << "Error on saving!\nWriting stopped at slot 3 of "
                                                  "63: slots 1–2 hold the new data.";
        // Before: exit 4 with the timeout text after the reply timer.
        QTest::newRow("memory read, unexpected reply")
            << QStringList{"--fault", "wlan:10#2:raw=080000001f000000"} << wlan
            << QStringList{"memory", "read", "-o", "%DIR%/x.Mem"} << 1
            << "Unexpected reply from the device (code 0x1F).\nReading stopped at slot 2 of 63";
        QTest::newRow("memory write, unexpected reply")
            << QStringList{"--fault", "wlan:11#1:raw=08000000c1000000"} << wlan
            << QStringList{"memory", "write", "%DIR%/zero.Mem"} << 1
            << "Unexpected reply from the device (code 0xC1).\nWriting stopped at slot 1 of 63";
        QTest::newRow("memory clear, unexpected reply")
            << QStringList{"--fault", "wlan:11#4:raw=0800000077000000"} << wlan
            << QStringList{"memory", "clear", "--yes"} << 1
            << "Unexpected reply from the device (code 0x77).\nClearing stopped at slot 4 of 63";

        // The 68th read (the 5th after the backup's 63) brings other bytes
        // for slot 5 than were written.
        QTest::newRow("memory write, read back differs")
            << QStringList{"--fault", "wlan:10#68:raw=0c01000010000000" "05000000" +
                                          QString(QStringLiteral("ab")).repeated(256)}
            << wlan << QStringList{"memory", "write", "%DIR%/zero.Mem"} << 1
            << "63 slots written, but slot 5 differs from what was written";
        // Before, bytes 249-256 of every slot were overwritten unasked.
        QTest::newRow("memory write, short slot replies")
            << QStringList{"--slot-reply-length", "256"} << wlan
            << QStringList{"memory", "write", "%DIR%/zero.Mem"} << 2
            << "Nothing was written; --yes writes anyway.";
        QTest::newRow("memory write, short slot replies, --yes")
            << QStringList{"--slot-reply-length", "256"} << wlan
            << QStringList{"memory", "write", "%DIR%/zero.Mem", "--yes"} << 0
            << "63 slots written and verified";
        QTest::newRow("unknown command") << none << wlan << QStringList{"frobnicate"} << 2 << "unknown command";
        QTest::newRow("scan, unknown extension") << none << wlan << QStringList{"scan", "-o", "%DIR%/x.jpg"} << 2 << ".png or .bmp";
        QTest::newRow("scan, area off screen") << none << wlan << QStringList{"scan", "--area", "700,0,200,10", "-o", "%DIR%/x.png"} << 2 << "--area";
        // Before: the whole records went out, exit 1 with nothing on stderr.
        QTest::newRow("memory write, short image")
            << none << wlan << QStringList{"memory", "write", "%DIR%/short.Mem"} << 2
            << "The memory image holds 62 of the 63 slots (16127 of 16128 bytes); nothing was "
               "written.";
        QTest::newRow("upload, missing file") << none << wlan << QStringList{"upload", "%DIR%/none.RPD"} << 2 << "no such file";
        QTest::newRow("upload, bad ids") << none << wlan << QStringList{"upload", "%DIR%/LMK1.RPD", "--ids", "1,2"} << 2 << "--ids";
        QTest::newRow("upload, task beyond list") << QStringList{"--tasks", "01A2:0003:00F0"} << wlan
                                                  << QStringList{"upload", "%DIR%/LMK1.RPD", "--task", "2"} << 2 << "lists 1 task";
    }
    void exitCodes() {
        QFETCH(QStringList, simOptions);
        QFETCH(int, link);
        QFETCH(QStringList, args);
        QFETCH(int, rc);
        QFETCH(QString, message);
        SimProcess sim;
        QVERIFY(sim.start(simOptions));
        for (QString &a : args)
            a.replace(QLatin1String("%DIR%"), m_dir.path());
        const Run r = lmkctl(args, &sim, Link(link));
        QVERIFY2(r.rc == rc, qPrintable(QStringLiteral("exit code %1, stderr: %2")
                                            .arg(r.rc).arg(QString::fromUtf8(r.err))));
        QVERIFY2(r.err.contains(message.toUtf8()), r.err.constData());
        // The line that says what went wrong names the program first.
        const QByteArray first = message.section(QLatin1Char('\n'), 0, 0).toUtf8();
        bool prefixed = rc == 0; // a success message is no error
        for (const QByteArray &line : r.err.split('\n'))
            prefixed = prefixed || (line.contains(first) && line.startsWith("lmkctl"));
        QVERIFY2(prefixed, r.err.constData());
    }

    void trace() {
        SimProcess sim;
        QVERIFY(sim.start());
        const Run r = lmkctl({"--trace", "version"}, &sim);
        QCOMPARE(r.rc, 0);
        QCOMPARE(r.out, QByteArray("LMK540 V103\n"));
        QVERIFY(r.err.contains("> "));
        QVERIFY(r.err.contains(" 12"));
    }

    // Help of any kind runs nothing: no request reaches the receiver, also
    // when the rest of the line would flash, clear or overwrite.
    void helpSendsNothing_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("link"); // Link
        QTest::addColumn<QString>("usage");
        const QStringList commands{"version", "sync",     "tasks", "upload", "scan",
                                   "memory",  "terminal", "ap",    "help",   "completion"};
        for (const QString &c : commands) {
            const QString usage = QStringLiteral("Usage: lmkctl ") + c;
            QTest::addRow("%s --help", qPrintable(c)) << QStringList{c, "--help"} << int(Link::Wlan) << usage;
            QTest::addRow("%s --help-all", qPrintable(c)) << QStringList{c, "--help-all"} << int(Link::Usb) << usage;
            QTest::addRow("%s -h", qPrintable(c)) << QStringList{c, "-h"} << int(Link::Usb) << usage;
            QTest::addRow("help %s", qPrintable(c)) << QStringList{"help", c} << int(Link::Wlan) << usage;
        }
        QTest::newRow("upload FILE --help-all")
            << QStringList{"upload", "%DIR%/LMK1.RPD", "--help-all"} << int(Link::Wlan) << "Usage: lmkctl upload";
        QTest::newRow("sync --help-all over usb") << QStringList{"sync", "--help-all"} << int(Link::Usb) << "Usage: lmkctl sync";
        QTest::newRow("memory clear --yes --help")
            << QStringList{"memory", "clear", "--yes", "--help"} << int(Link::Wlan) << "Usage: lmkctl memory";
        QTest::newRow("memory write FILE -h, a bad option too")
            << QStringList{"memory", "write", "%DIR%/zero.Mem", "--bogus", "-h"} << int(Link::Wlan) << "Usage: lmkctl memory";
        QTest::newRow("ap set --ssid S --help")
            << QStringList{"ap", "set", "--ssid", "HOMEBASE01", "--help"} << int(Link::Usb) << "Usage: lmkctl ap";
        QTest::newRow("--help before the command")
            << QStringList{"--help", "upload", "%DIR%/LMK1.RPD"} << int(Link::Wlan) << "Usage: lmkctl upload";
        QTest::newRow("program -h") << QStringList{"-h"} << int(Link::Wlan) << "Usage: lmkctl [OPTIONS] COMMAND";
        QTest::newRow("program help") << QStringList{"help"} << int(Link::Wlan) << "Usage: lmkctl [OPTIONS] COMMAND";
    }
    void helpSendsNothing() {
        QFETCH(QStringList, args);
        QFETCH(int, link);
        QFETCH(QString, usage);
        SimProcess sim;
        QVERIFY(sim.start());
        for (QString &a : args)
            a.replace(QLatin1String("%DIR%"), m_dir.path());
        const Run r = lmkctl(args, &sim, Link(link));
        QVERIFY2(r.rc == 0, r.err.constData());
        QVERIFY2(r.out.startsWith(usage.toUtf8()), r.out.constData());
        QVERIFY2(r.err.isEmpty(), r.err.constData());
        QVERIFY(!r.out.contains("--help-all"));
        QVERIFY2(sim.logLines().isEmpty(), qPrintable(sim.logLines().join(QLatin1Char('\n'))));
    }

    // The usual forms: --opt=value, global options anywhere, values named
    // when missing; a mistake is one line that names it and the way to help.
    void optionForms_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("rc");
        QTest::addColumn<QString>("out"); // what standard output starts with
        QTest::addColumn<QString>("err"); // the one line on standard error
        const QString v = QStringLiteral("LMK540 V103\n");
        QTest::newRow("--host= --port=") << QStringList{"--host=127.0.0.1", "--port=%PORT%", "version"} << 0 << v << "";
        QTest::newRow("global options after the command")
            << QStringList{"version", "--host", "127.0.0.1", "--port", "%PORT%"} << 0 << v << "";
        QTest::newRow("global options on both sides")
            << QStringList{"--host=127.0.0.1", "version", "--port=%PORT%", "-q"} << 0 << v << "";
        QTest::newRow("-V") << QStringList{"-V"} << 0 << "lmkctl 1.4\n" << "";
        QTest::newRow("--version") << QStringList{"--version"} << 0 << "lmkctl 1.4\n" << "";
        QTest::newRow("help upload") << QStringList{"help", "upload"} << 0 << "Usage: lmkctl upload [OPTIONS] FILE" << "";
        QTest::newRow("--host without a value")
            << QStringList{"--host"} << 2 << ""
            << "lmkctl: missing value after '--host' (see 'lmkctl --help')\n";
        QTest::newRow("--host without a value after the command")
            << QStringList{"version", "--host"} << 2 << ""
            << "lmkctl version: missing value after '--host' (see 'lmkctl version --help')\n";
        QTest::newRow("-o without a value")
            << QStringList{"scan", "-o"} << 2 << ""
            << "lmkctl scan: missing value after '-o' (see 'lmkctl scan --help')\n";
        QTest::newRow("unknown option")
            << QStringList{"upload", "x.RPD", "--bogus"} << 2 << ""
            << "lmkctl upload: unknown option '--bogus' (see 'lmkctl upload --help')\n";
        QTest::newRow("unknown option before the command")
            << QStringList{"--bogus", "version"} << 2 << ""
            << "lmkctl version: unknown option '--bogus' (see 'lmkctl version --help')\n";
        QTest::newRow("unknown command")
            << QStringList{"frobnicate"} << 2 << ""
            << "lmkctl: unknown command 'frobnicate' (see 'lmkctl --help')\n";
        QTest::newRow("help of an unknown command")
            << QStringList{"help", "frobnicate"} << 2 << ""
            << "lmkctl help: unknown command 'frobnicate' (see 'lmkctl help --help')\n";
        QTest::newRow("only options") << QStringList{"--usb"} << 2 << ""
                                      << "lmkctl: no command given (see 'lmkctl --help')\n";
        QTest::newRow("port out of range")
            << QStringList{"version", "--port=0"} << 2 << ""
            << "lmkctl version: --port needs a number from 1 to 65535 (see 'lmkctl version --help')\n";
        QTest::newRow("upload without a file")
            << QStringList{"upload"} << 2 << ""
            << "lmkctl upload: expected FILE (see 'lmkctl upload --help')\n";
        QTest::newRow("memory, unknown action")
            << QStringList{"memory", "frob"} << 2 << ""
            << "lmkctl memory: unknown action 'frob' (see 'lmkctl memory --help')\n";
        QTest::newRow("memory read without -o")
            << QStringList{"memory", "read"} << 2 << ""
            << "lmkctl memory: expected 'memory read -o FILE.Mem' (see 'lmkctl memory --help')\n";
        QTest::newRow("completion of another shell")
            << QStringList{"completion", "fish"} << 2 << ""
            << "lmkctl completion: expected bash or zsh (see 'lmkctl completion --help')\n";
    }
    void optionForms() {
        QFETCH(QStringList, args);
        QFETCH(int, rc);
        QFETCH(QString, out);
        QFETCH(QString, err);
        SimProcess sim;
        QVERIFY(sim.start());
        for (QString &a : args)
            a.replace(QLatin1String("%PORT%"), QString::number(sim.port()));
        // LMK_PORT names no receiver: only the options lead to the simulator.
        const Run r = lmkctl(args, &sim, Link::None);
        QVERIFY2(r.rc == rc, qPrintable(QStringLiteral("exit code %1, stderr: %2").arg(r.rc).arg(QString::fromUtf8(r.err))));
        QVERIFY2(r.out.startsWith(out.toUtf8()), r.out.constData());
        QCOMPARE(QString::fromUtf8(r.err), err);
        if (rc == 2)
            QVERIFY(sim.logLines().isEmpty());
    }

    void noArgumentsShowsUsage() {
        const Run r = lmkctl({}, nullptr, Link::None);
        QCOMPARE(r.rc, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY(r.err.startsWith("Usage: lmkctl [OPTIONS] COMMAND"));
    }

    // --json: one object per run, with the keys the man page documents.
    void json_data() {
        QTest::addColumn<QStringList>("simOptions");
        QTest::addColumn<int>("link");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("rc");
        QTest::addColumn<QByteArray>("expected");
        const int wlan = int(Link::Wlan), usb = int(Link::Usb);
        QTest::newRow("version") << QStringList{} << wlan << QStringList{"version", "--json"} << 0
                                 << QByteArray(R"({"version":"LMK540 V103","transport":"wlan"})");
        QTest::newRow("version over usb") << QStringList{} << usb << QStringList{"--json", "version"} << 0
                                          << QByteArray(R"({"version":"LMK540 V103","transport":"usb"})");
        QTest::newRow("sync, bootloader") << QStringList{"--mode", "boot"} << wlan << QStringList{"sync", "--json"} << 0
                                          << QByteArray(R"({"bootloader":true,"configuration":false})");
        QTest::newRow("sync, configuration") << QStringList{"--mode", "config"} << wlan << QStringList{"sync", "--json"} << 0
                                             << QByteArray(R"({"bootloader":false,"configuration":true})");
        QTest::newRow("tasks") << QStringList{"--tasks", "01A2:0003:00F0,1A2B:0003:0000"} << wlan
                               << QStringList{"tasks", "--json"} << 0
                               << QByteArray(R"({"tasks":[{"ids":["01A2","0003","00F0"],"text":"01A2  0003  00F0"},)"
                                             R"({"ids":["1A2B","0003","0000"],"text":"1A2B  0003  0000"}]})");
        QTest::newRow("tasks, none") << QStringList{"--tasks", "none"} << wlan << QStringList{"tasks", "--json"} << 0
                                     << QByteArray(R"({"tasks":[]})");
        QTest::newRow("ap show") << QStringList{"--ap-ssid", "HOMEBASE01", "--ap-channel", "9", "--ap-power", "7"} << usb
                                 << QStringList{"ap", "show", "--json"} << 0
                                 << QByteArray(R"({"ssid":"HOMEBASE01","passkey":"lmk-passkey-0123456789","channel":"9","power":"7"})");
        QTest::newRow("memory diff, equal") << QStringList{} << wlan
                                            << QStringList{"memory", "diff", "%DIR%/zero.Mem", "%DIR%/zero.Mem", "--json"} << 0
                                            << QByteArray(R"({"equal":true,"slots":[],"trailingBytesDiffer":false})");
        QTest::newRow("memory backups, none") << QStringList{} << wlan << QStringList{"memory", "backups", "--json"} << 0
                                              << QByteArray(R"({"backups":[],"recoveries":[]})");
    }
    void json() {
        QFETCH(QStringList, simOptions);
        QFETCH(int, link);
        QFETCH(QStringList, args);
        QFETCH(int, rc);
        QFETCH(QByteArray, expected);
        SimProcess sim;
        QVERIFY(sim.start(simOptions));
        for (QString &a : args)
            a.replace(QLatin1String("%DIR%"), m_dir.path());
        const QString dataHome = m_dataHome;
        m_dataHome = path(QStringLiteral("json-data")); // no backups there
        const Run r = lmkctl(args, &sim, Link(link));
        m_dataHome = dataHome;
        QVERIFY2(r.rc == rc, r.err.constData());
        QVERIFY(r.out.endsWith('\n'));
        QCOMPARE(r.out.count('\n'), 1);
        QJsonParseError error;
        const QJsonDocument got = QJsonDocument::fromJson(r.out, &error);
        QVERIFY2(error.error == QJsonParseError::NoError, r.out.constData());
        QCOMPARE(got, QJsonDocument::fromJson(expected));
    }

    void jsonMemoryDiff() {
        QByteArray changed(63 * 256, '\0');
        changed[4 * 256 + 10] = 'X'; // slot 5, in its name
        QVERIFY(writeAll(path(QStringLiteral("changed.Mem")), changed));
        const Run r = lmkctl({"memory", "diff", path(QStringLiteral("zero.Mem")), path(QStringLiteral("changed.Mem")), "--json"},
                             nullptr, Link::None);
        QCOMPARE(r.rc, 1);
        const QJsonObject o = QJsonDocument::fromJson(r.out).object();
        QCOMPARE(o.value(QStringLiteral("equal")).toBool(true), false);
        const QJsonArray differing = o.value(QStringLiteral("slots")).toArray();
        QCOMPARE(differing.size(), 1);
        const QJsonObject slot = differing.first().toObject();
        QCOMPARE(slot.value(QStringLiteral("slot")).toInt(), 5);
        QVERIFY(slot.value(QStringLiteral("text")).toString().startsWith(QStringLiteral("Slot 5")));
        QVERIFY(slot.contains(QStringLiteral("fields")));
    }

    // -q: nothing on standard error when all goes well; errors still show.
    void quiet_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("rc");
        QTest::newRow("tasks") << QStringList{"-q", "tasks"} << 0;
        QTest::newRow("upload") << QStringList{"upload", "%DIR%/LMK1.RPD", "--quiet"} << 0;
        QTest::newRow("memory write with its backup") << QStringList{"memory", "write", "%DIR%/zero.Mem", "-q"} << 0;
        QTest::newRow("scan") << QStringList{"-q", "scan", "-o", "%DIR%/quiet.png", "--area", "0,0,4,4"} << 0;
        QTest::newRow("an error still shows") << QStringList{"-q", "upload", "%DIR%/none.RPD"} << 2;
    }
    void quiet() {
        QFETCH(QStringList, args);
        QFETCH(int, rc);
        SimProcess sim;
        QVERIFY(sim.start({"--tasks", "01A2:0003:00F0"}));
        for (QString &a : args)
            a.replace(QLatin1String("%DIR%"), m_dir.path());
        const Run r = lmkctl(args, &sim);
        QVERIFY2(r.rc == rc, r.err.constData());
        if (rc == 0)
            QVERIFY2(r.err.isEmpty(), r.err.constData());
        else
            QVERIFY(r.err.startsWith("lmkctl upload: "));
    }

    // The completion scripts, run by bash and zsh as a shell would run them
    // at the cursor; zsh's compadd and _files are stand-ins that print what
    // they were given and that matches the word at the cursor.
    void completion_data() {
        QTest::addColumn<QString>("shell");
        QTest::addColumn<QStringList>("line"); // the words up to the cursor
        QTest::addColumn<QString>("offered");
        struct Row {
            const char *name;
            QStringList line;
            QString offered;
        };
        const QList<Row> rows{
            {"command", {"sc"}, "scan"},
            {"command after a global option's value", {"--host", "h", "ve"}, "version"},
            {"global option", {"--ho"}, "--host"},
            {"option of the command", {"scan", "--pre"}, "--preset"},
            {"value of --preset", {"scan", "--preset", "full-"}, "full-vga full-wvga"},
            {"value of --host is free", {"version", "--host", ""}, ""},
            {"actions", {"memory", "d"}, "diff"},
            {"no action after the action", {"memory", "diff", "--no-backup", "%DIR%/zero"}, "%DIR%/zero.Mem"},
            {"file after -o", {"memory", "read", "-o", "%DIR%/rand"}, "%DIR%/random.Mem"},
            {"global option after the command", {"version", "--tr"}, "--trace"},
            {"--json", {"tasks", "--js"}, "--json"},
            {"help's commands", {"help", "up"}, "upload"},
            {"shells", {"completion", ""}, "bash zsh"},
        };
        for (const char *shell : {"bash", "zsh"})
            for (const Row &row : rows)
                QTest::addRow("%s: %s", shell, row.name) << QString::fromLatin1(shell) << row.line << row.offered;
    }
    void completion() {
        QFETCH(QString, shell);
        QFETCH(QStringList, line);
        QFETCH(QString, offered);
        const QString program = QStandardPaths::findExecutable(shell);
        if (program.isEmpty())
            QSKIP("shell not installed (scripts/install-deps.sh installs bash and zsh)");
        const Run script = lmkctl({"completion", shell}, nullptr, Link::None);
        QCOMPARE(script.rc, 0);
        const QString file = path(QStringLiteral("completion.") + shell);
        QVERIFY(writeAll(file, script.out));
        for (QString &w : line)
            w.replace(QLatin1String("%DIR%"), m_dir.path());
        offered.replace(QLatin1String("%DIR%"), m_dir.path());
        QStringList quoted;
        for (const QString &w : QStringList{QStringLiteral("lmkctl")} + line)
            quoted << QLatin1Char('\'') + w + QLatin1Char('\'');
        QString code;
        if (shell == QLatin1String("bash")) {
            code = QStringLiteral("source '%1' || exit 3\n"
                                  "complete -p lmkctl >/dev/null || exit 4\n"
                                  "COMP_WORDS=(%2); COMP_CWORD=%3\n"
                                  "_lmkctl; printf '%s\\n' \"${COMPREPLY[*]}\"\n")
                       .arg(file, quoted.join(QLatin1Char(' ')))
                       .arg(line.size());
        } else {
            code = QStringLiteral("autoload -Uz compinit && compinit -u -D || exit 5\n"
                                  "source '%1' || exit 3\n"
                                  "[[ $_comps[lmkctl] == _lmkctl ]] || exit 4\n"
                                  // zsh itself keeps the words that match what is typed
                                  "compadd() { [[ $1 == -- ]] && shift; local w; local -a m; "
                                  "for w; do [[ $w == ${cur}* ]] && m+=($w); done; print -r -- \"$m[*]\"; }\n"
                                  "_files() { print -r -- ${cur}*(N); }\n"
                                  "words=(%2); CURRENT=%3\n"
                                  "_lmkctl\n")
                       .arg(file, quoted.join(QLatin1Char(' ')))
                       .arg(line.size() + 1);
        }
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_dir.path()); // no start-up files of the user
        p.setProcessEnvironment(env);
        p.start(program, shell == QLatin1String("zsh") ? QStringList{"-f", "-c", code} : QStringList{"--norc", "-c", code});
        QVERIFY(p.waitForFinished(20000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).trimmed(), offered);
    }

    // Every option each command's help shows is completed and has its place
    // in the man page, so that neither drifts from the program.
    void helpCompletionAndManPageAgree_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("program") << QString();
        for (const char *c : {"version", "sync", "tasks", "upload", "scan", "memory", "terminal", "ap", "help", "completion"})
            QTest::newRow(c) << QString::fromLatin1(c);
    }
    void helpCompletionAndManPageAgree() {
        QFETCH(QString, command);
        const Run help = lmkctl(command.isEmpty() ? QStringList{"--help"} : QStringList{command, "--help"}, nullptr, Link::None);
        QCOMPARE(help.rc, 0);
        QStringList options;
        static const QRegularExpression optionLine(QStringLiteral("^  (?:-\\w, )?(--[a-z][a-z-]*)"),
                                                   QRegularExpression::MultilineOption);
        for (auto it = optionLine.globalMatch(QString::fromUtf8(help.out)); it.hasNext();)
            options << it.next().captured(1);
        QVERIFY(options.contains(QStringLiteral("--host")));
        QString man = QString::fromUtf8(fileContents(QStringLiteral(LMK_SOURCE_DIR "/data/man/lmkctl.1")));
        QVERIFY(!man.isEmpty());
        man.replace(QLatin1String("\\-"), QLatin1String("-"));
        for (const QString &o : options)
            QVERIFY2(man.contains(o), qPrintable(o + QStringLiteral(" is not in lmkctl.1")));
        if (command.isEmpty()) {
            // Each command has its own section.
            static const QRegularExpression commandLine(QStringLiteral("^  ([a-z]+) "), QRegularExpression::MultilineOption);
            const QString list = QString::fromUtf8(help.out).section(QStringLiteral("Commands:"), 1);
            for (auto it = commandLine.globalMatch(list); it.hasNext();) {
                const QString c = it.next().captured(1);
                QVERIFY2(man.contains(QStringLiteral(".SS ") + c) || man.contains(QStringLiteral(".SS \"") + c),
                         qPrintable(c + QStringLiteral(" has no section in lmkctl.1")));
            }
            return;
        }
        if (command == QLatin1String("help"))
            return; // its argument is a command, not an option
        const QString script = QString::fromUtf8(lmkctl({"completion", "bash"}, nullptr, Link::None).out);
        const QString entry = script.section(QStringLiteral("        ") + command + QStringLiteral(")\n"), 1).section(QStringLiteral(";;"), 0, 0);
        const QString globals = script.section(QStringLiteral("opts=\"$opts "), 1).section(QLatin1Char('"'), 0, 0);
        for (const QString &o : options)
            if (o != QLatin1String("--help"))
                QVERIFY2(entry.contains(o + QLatin1Char(' ')) || entry.contains(o + QLatin1Char('"')) || globals.split(QLatin1Char(' ')).contains(o),
                         qPrintable(o + QStringLiteral(" is not completed")));
    }

    // Without --host/--port and without LMK_HOST/LMK_PORT, the address the
    // window saved is used; the environment wins over it; the message of a
    // failed connect names the address tried and the ways to name another.
    void savedAddress_data() {
        QTest::addColumn<QStringList>("unset");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("rc");
        QTest::addColumn<QString>("err");
        const QStringList both{"LMK_HOST", "LMK_PORT"};
        QTest::newRow("saved address") << both << QStringList{"version"} << 0 << "";
        QTest::newRow("environment wins") << QStringList{"LMK_HOST"} << QStringList{"version"} << 3
                                          << "lmkctl: Access Point LMK5x not found! (tried 127.0.0.1 port 9; name the "
                                             "receiver with --host/--port or LMK_HOST/LMK_PORT)\n";
        QTest::newRow("option wins") << both << QStringList{"version", "--port=9"} << 3
                                     << "lmkctl: Access Point LMK5x not found! (tried 127.0.0.1 port 9; name the "
                                        "receiver with --host/--port or LMK_HOST/LMK_PORT)\n";
    }
    void savedAddress() {
        QFETCH(QStringList, unset);
        QFETCH(QStringList, args);
        QFETCH(int, rc);
        QFETCH(QString, err);
        SimProcess sim;
        QVERIFY(sim.start());
        const QString config = path(QStringLiteral("saved-config"));
        QVERIFY(QDir().mkpath(config + QStringLiteral("/lmkinterface")));
        QVERIFY(writeAll(config + QStringLiteral("/lmkinterface/lmkinterface.conf"),
                         "[receiver]\nhost=127.0.0.1\nport=" + QByteArray::number(sim.port()) + "\n"));
        const QString configHome = m_configHome;
        m_configHome = config;
        m_unset = unset;
        const Run r = lmkctl(args, &sim, Link::None); // LMK_PORT=9 where it is left
        m_unset.clear();
        m_configHome = configHome;
        QVERIFY2(r.rc == rc, r.err.constData());
        QCOMPARE(QString::fromUtf8(r.err), err);
        if (rc == 0)
            QCOMPARE(r.out, QByteArray("LMK540 V103\n"));
    }
};

QTEST_MAIN(TestLmkctl)
#include "tst_lmkctl.moc"
