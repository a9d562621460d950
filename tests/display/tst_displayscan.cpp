// A whole display copy against lmk-sim, over WLAN and over the simulated
// USB library: the picture, the acknowledgements and every ending.
#include "LinkRequests.h"
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "display/ScanCodec.h"
#include "display/ScanOperation.h"
#include "display/ui/DisplayPage.h"
#include "link/DeviceLink.h"
#include "link/Wait.h"
#include "TestFiles.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTcpSocket>
#include <QtTest>

#include <memory>

using namespace lmk;
using lmk::test::fileContents;
using lmk::test::pngTexts;

namespace {
constexpr QRgb kFrame = 0x2A5F8E;

struct Rig {
    SimProcess sim;
    std::unique_ptr<DeviceLink> link;
    std::unique_ptr<DisplayPage> page;
    QString transport;

    bool start(const QString &t, const QStringList &options = {}) {
        transport = t;
        if (!sim.start(options))
            return false;
        link = std::make_unique<DeviceLink>();
        showLinkReports(*link); // as the window does
        if (t == QLatin1String("usb")) {
            sim.useUsb();
            if (link->openUsb() == 0)
                return false;
        } else {
            link->setEndpoint(QStringLiteral("127.0.0.1"), sim.port());
            link->setWlanChecked(true);
        }
        page = std::make_unique<DisplayPage>(*link);
        page->show();
        return true;
    }
    ~Rig() {
        page.reset();
        link.reset();
        SimProcess::noUsb();
    }
    template <class T> T *get(const char *name) {
        return page->findChild<T *>(QLatin1String(name));
    }
    void setFrameColour(ScriptedDialogs &dlg, QRgb c) {
        dlg.color = c & 0xFFFFFF;
        page->S_RahmenMouseUp();
        dlg.color.reset();
    }
    // Acknowledgements the simulator got; waits a moment for the last one,
    // which is sent as the scan ends.
    int acks(int atLeast = 0) const {
        waitWhile([&] { return countAcks() < atLeast; }, 2000);
        return countAcks();
    }
    int countAcks() const {
        int n = 0;
        for (const QByteArray &r : sim.requests(transport))
            n += r == QByteArray(1, '\0');
        return n;
    }
    QByteArray screen() const {
        QFile f(sim.stateDir() + QStringLiteral("/screen.raw"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The buttons are back in their idle state and the picture is shown.
    bool idle() {
        return get<QPushButton>("B_Dispcpy")->isEnabled() &&
               !get<QPushButton>("B_Abort")->isEnabled() && get<QWidget>("I_Scan")->isVisible() &&
               !link->exchangeRunning();
    }
};

QRgb expected(const QByteArray &screen, int width, int x, int y) {
    const Rgb c = pixelToRgb(quint8(screen[y * width + x]));
    return qRgb(c.r, c.g, c.b);
}

// Compares the area part of the picture with the screen, and the frame band
// with the frame colour. Columns in `missing` must still be frame colour.
QString checkPicture(const QImage &img, const QByteArray &screen, int screenWidth, int ax, int ay,
                     int w, int h, const QSet<int> &missing = {}) {
    for (int y = 0; y < h + 10; ++y) {
        for (int x = 0; x < w + 10; ++x) {
            const bool inArea = x >= 5 && y >= 5 && x < w + 5 && y < h + 5;
            QRgb want = kFrame;
            if (inArea && !missing.contains(x - 5))
                want = expected(screen, screenWidth, ax + x - 5, ay + y - 5);
            const QRgb got = img.pixel(x, y) & 0xFFFFFF;
            if (got != (want & 0xFFFFFF))
                return QStringLiteral("pixel %1,%2 is %3, expected %4")
                    .arg(x).arg(y).arg(got, 6, 16, QLatin1Char('0')).arg(want & 0xFFFFFF, 6, 16, QLatin1Char('0'));
        }
    }
    return QString();
}

// The frame k (the simulator's --screen-changes: every pixel raised by k)
// that the area at (5, 5) of `img` shows whole, or -1 when its pixels are
// not all of one frame (a torn picture).
int wholeFrame(const QImage &img, const QByteArray &screen, const QRect &area) {
    const auto at = [&](int k, int x, int y) {
        const Rgb c = pixelToRgb(quint8(quint8(screen[(area.y() + y) * 800 + area.x() + x]) + k));
        return qRgb(c.r, c.g, c.b);
    };
    int k = 0;
    while (k < 256 && (img.pixel(5, 5) & 0xFFFFFF) != (at(k, 0, 0) & 0xFFFFFF))
        ++k;
    if (k == 256)
        return -1;
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            if ((img.pixel(x + 5, y + 5) & 0xFFFFFF) != (at(k, x, y) & 0xFFFFFF))
                return -1;
    return k;
}
} // namespace

class TstDisplayScan : public QObject {
    Q_OBJECT
    ScriptedDialogs dlg;

    void transports() {
        QTest::addColumn<QString>("transport");
        QTest::newRow("wlan") << "wlan";
        QTest::newRow("usb") << "usb";
    }

private slots:
    void init() {
        dlg.clear();
        SimProcess::noUsb();
    }

    void wholeScreen_data() {
        QTest::addColumn<QString>("transport");
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QList<int>>("area");
        QTest::newRow("wlan, full WVGA") << "wlan" << "RB_GWVGA" << QList<int>{0, 0, 800, 480};
        QTest::newRow("usb, full WVGA") << "usb" << "RB_GWVGA" << QList<int>{0, 0, 800, 480};
        QTest::newRow("wlan, diagram WVGA") << "wlan" << "RB_DWVGA" << QList<int>{0, 93, 648, 387};
        QTest::newRow("usb, diagram VGA") << "usb" << "RB_DVGA" << QList<int>{0, 93, 520, 387};
    }
    void wholeScreen() {
        QFETCH(QString, transport);
        QFETCH(QString, preset);
        QFETCH(QList<int>, area);
        Rig rig;
        QVERIFY(rig.start(transport));
        rig.get<QRadioButton>(qPrintable(preset))->click();
        rig.setFrameColour(dlg, kFrame);
        QString rate; // the rate line late in the scan
        connect(&rig.page->scanOperation(), &ScanOperation::counterChanged, this,
                [&](const QString &text) {
                    if (text.toInt() == area[2] - 1)
                        rate = rig.get<QLabel>("L_Rate")->text();
                });
        rig.get<QPushButton>("B_Dispcpy")->click();
        QCOMPARE(dlg.texts, QStringList{QStringLiteral("All data received!")});
        QCOMPARE(rig.page->scanOperation().lastOutcome().pendingRequest, 0);
        QVERIFY(rig.idle());
        QVERIFY2(rate.endsWith(QLatin1String(" columns/s")), qPrintable(rate));
        QVERIFY(rig.get<QLabel>("L_Rate")->text().isEmpty());
        QCOMPARE(rig.get<QLabel>("L_Spalte")->text(), QString::number(area[2]));
        QCOMPARE(rig.get<QProgressBar>("PB_Scan")->value(), 100);
        // One acknowledgement after the acceptance and one after every column.
        QCOMPARE(rig.acks(area[2] + 1), area[2] + 1);
        const QList<QByteArray> reqs = rig.sim.requests(transport);
        QCOMPARE(reqs.first(), scanRequest(area[0], area[1], area[2], area[3]));
        QCOMPARE(reqs.size(), area[2] + 2);
        const QByteArray screen = rig.screen();
        QCOMPARE(screen.size(), 800 * 480);
        const QString bad = checkPicture(rig.page->picture(), screen, 800, area[0], area[1],
                                         area[2], area[3]);
        QVERIFY2(bad.isEmpty(), qPrintable(bad));
        // One-byte acknowledgements go out at once, not held back for the
        // receiver's TCP acknowledgement of the previous one.
        if (transport == QLatin1String("wlan"))
            QVERIFY(rig.link->tcpLowDelay());
    }

    // Every byte value of the pattern arrives as its colour; a VGA screen.
    void vgaScreen() {
        Rig rig;
        QVERIFY(rig.start("wlan", {"--screen-vga"}));
        rig.get<QRadioButton>("RB_GVGA")->click();
        rig.setFrameColour(dlg, kFrame);
        rig.page->B_DispcpyClick();
        QCOMPARE(dlg.texts, QStringList{QStringLiteral("All data received!")});
        const QByteArray screen = rig.screen();
        QCOMPARE(screen.size(), 640 * 480);
        QSet<int> values;
        for (char c : screen)
            values.insert(quint8(c));
        QCOMPARE(values.size(), 256);
        const QString bad = checkPicture(rig.page->picture(), screen, 640, 0, 0, 640, 480);
        QVERIFY2(bad.isEmpty(), qPrintable(bad));
    }

    // --screen-image: the simulator shows a picture in the receiver's format.
    void screenFromImage() {
        QTemporaryDir dir;
        QImage img(800, 480, QImage::Format_RGB32);
        img.fill(QColor(255, 0, 0));
        for (int y = 0; y < 480; ++y)
            for (int x = 400; x < 800; ++x)
                img.setPixel(x, y, qRgb(0, 0, 255));
        const QString file = dir.filePath(QStringLiteral("screen.png"));
        QVERIFY(img.save(file));
        Rig rig;
        QVERIFY(rig.start("usb", {"--screen-image", file}));
        rig.get<QSpinBox>("SE_B")->setValue(10);
        rig.get<QSpinBox>("SE_X")->setValue(395);
        rig.get<QSpinBox>("SE_H")->setValue(20);
        rig.page->B_DispcpyClick();
        QCOMPARE(dlg.texts, QStringList{QStringLiteral("All data received!")});
        const QImage &pic = rig.page->picture();
        for (int c = 0; c < 10; ++c)
            for (int r = 0; r < 20; ++r)
                QCOMPARE(pic.pixel(c + 5, r + 5) & 0xFFFFFF, c < 5 ? 0xFF0000u : 0x0000FFu);
    }

    // The last column ends the scan whatever came before it; the columns
    // that never came are reported, not passed off as received.
    void lastColumnFirst_data() { transports(); }
    void lastColumnFirst() {
        QFETCH(QString, transport);
        Rig rig;
        QVERIFY(rig.start(transport, {"--scan-fault", "last-first"}));
        rig.setFrameColour(dlg, kFrame);
        rig.get<QSpinBox>("SE_B")->setValue(10);
        rig.page->B_DispcpyClick();
        QCOMPARE(dlg.texts, QStringList{QStringLiteral("Scan incomplete: 9 of 10 columns missing!")});
        QCOMPARE(rig.page->scanOperation().lastOutcome().pendingRequest, 0);
        QCOMPARE(rig.acks(2), 2);
        QCOMPARE(rig.get<QLabel>("L_Spalte")->text(), QStringLiteral("10"));
        QSet<int> missing;
        for (int c = 0; c < 9; ++c)
            missing.insert(c);
        const QString bad =
            checkPicture(rig.page->picture(), rig.screen(), 800, 0, 0, 10, 480, missing);
        QVERIFY2(bad.isEmpty(), qPrintable(bad));
        QVERIFY(rig.idle());
    }

    void endings_data() {
        QTest::addColumn<QString>("transport");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("pending");
        QTest::addColumn<int>("acks");
        const QStringList noResponse{QStringLiteral("Device doesn't respond!")};
        for (const char *t : {"wlan", "usb"}) {
            const QString tr = QLatin1String(t);
            QTest::addRow("%s, refused", t) << tr << QStringList{"--scan-refuse", "7"} << noResponse << 7 << 0;
            QTest::addRow("%s, area off a VGA screen", t) << tr << QStringList{"--screen-vga"} << noResponse << 1 << 0;
            QTest::addRow("%s, wrong length", t)
                << tr << QStringList{"--scan-fault", "wrong-length:3"} << noResponse << 6 << 4;
            QTest::addRow("%s, column index W", t)
                << tr << QStringList{"--scan-fault", "bad-column:0"} << noResponse << 6 << 1;
            QTest::addRow("%s, silence after column 4", t)
                << tr << QStringList{"--scan-fault", "silence:5"}
                << QStringList{QStringLiteral("Timeout: Device doesn't respond!")} << 484 << 6;
        }
        QTest::addRow("wlan, dropped connection")
            << "wlan" << QStringList{"--scan-fault", "drop:2"}
            << QStringList{QStringLiteral("LMK doesn't respond to WLAN!"),
                           QStringLiteral("Device doesn't respond!")}
            << 484 << 3;
        QTest::addRow("usb, dropped connection")
            << "usb" << QStringList{"--scan-fault", "drop:2"}
            << QStringList{QStringLiteral("Timeout: Device doesn't respond!")} << 484 << 3;
    }
    void endings() {
        QFETCH(QString, transport);
        QFETCH(QStringList, options);
        QFETCH(QStringList, messages);
        QFETCH(int, pending);
        QFETCH(int, acks);
        Rig rig;
        QVERIFY(rig.start(transport, options));
        rig.setFrameColour(dlg, kFrame);
        rig.page->B_DispcpyClick();
        QCOMPARE(dlg.texts, messages);
        QCOMPARE(rig.page->scanOperation().lastOutcome().pendingRequest, pending);
        QCOMPARE(rig.acks(acks), acks);
        QVERIFY(rig.idle());
        // Columns that came before the failure stay in the picture.
        if (acks > 1) {
            QSet<int> missing;
            for (int c = acks - 1; c < 800; ++c)
                missing.insert(c);
            const QString bad =
                checkPicture(rig.page->picture(), rig.screen(), 800, 0, 0, 800, 480, missing);
            QVERIFY2(bad.isEmpty(), qPrintable(bad));
        }
        // The page works again afterwards: a second scan is sent.
        const int before = int(rig.sim.requests(transport).size());
        dlg.clear();
        rig.page->B_DispcpyClick();
        QVERIFY(!dlg.texts.isEmpty());
        QVERIFY(rig.idle());
        if (!options.contains(QStringLiteral("drop:2")))
            QVERIFY(rig.sim.requests(transport).size() > before);
    }

    // Areas of 1 or 2 rows have P = 4, the length of a status frame: after
    // the acceptance such a frame is a column.
    void shortAreas_data() {
        QTest::addColumn<QString>("transport");
        QTest::addColumn<QList<int>>("area");
        for (const char *t : {"wlan", "usb"}) {
            QTest::addRow("%s, 1 x 1", t) << QString::fromLatin1(t) << QList<int>{7, 11, 1, 1};
            QTest::addRow("%s, 5 x 1", t) << QString::fromLatin1(t) << QList<int>{0, 0, 5, 1};
            QTest::addRow("%s, 3 x 2", t) << QString::fromLatin1(t) << QList<int>{40, 200, 3, 2};
        }
    }
    void shortAreas() {
        QFETCH(QString, transport);
        QFETCH(QList<int>, area);
        Rig rig;
        QVERIFY(rig.start(transport));
        rig.setFrameColour(dlg, kFrame);
        rig.get<QSpinBox>("SE_B")->setValue(area[2]);
        rig.get<QSpinBox>("SE_H")->setValue(area[3]);
        rig.get<QSpinBox>("SE_X")->setValue(area[0]);
        rig.get<QSpinBox>("SE_Y")->setValue(area[1]);
        rig.page->B_DispcpyClick();
        QCOMPARE(dlg.texts, QStringList{QStringLiteral("All data received!")});
        QCOMPARE(rig.page->scanOperation().lastOutcome().pendingRequest, 0);
        QCOMPARE(rig.get<QLabel>("L_Spalte")->text(), QString::number(area[2]));
        QCOMPARE(rig.acks(area[2] + 1), area[2] + 1);
        QCOMPARE(rig.sim.requests(transport).first(), scanRequest(area[0], area[1], area[2], area[3]));
        const QString bad = checkPicture(rig.page->picture(), rig.screen(), 800, area[0], area[1],
                                         area[2], area[3]);
        QVERIFY2(bad.isEmpty(), qPrintable(bad));
        QVERIFY(rig.idle());
    }

    // A reply that came before the scan request (here the answer to a
    // version request nobody waited for) is not the scan's answer.
    void staleReplyBeforeScan() {
        Rig rig;
        QVERIFY(rig.start("wlan", {"--fault", "wlan:12#1:delay=100"}));
        rig.setFrameColour(dlg, kFrame);
        rig.get<QSpinBox>("SE_B")->setValue(6);
        rig.link->sendUnasked(QByteArray(1, '\x12'));
        QTest::qWait(400); // the answer is there, unread
        rig.page->B_DispcpyClick();
        QCOMPARE(dlg.texts, QStringList{QStringLiteral("All data received!")});
        QCOMPARE(rig.get<QLabel>("L_Spalte")->text(), QStringLiteral("6"));
        const QString bad = checkPicture(rig.page->picture(), rig.screen(), 800, 0, 0, 6, 480);
        QVERIFY2(bad.isEmpty(), qPrintable(bad));
        QVERIFY(rig.idle());
    }

    // The column counter is cleared when a scan starts, the first one
    // included: a refused scan leaves it empty.
    void counterClearedAtStart() {
        Rig rig;
        QVERIFY(rig.start("wlan", {"--scan-refuse", "7"}));
        QCOMPARE(rig.get<QLabel>("L_Spalte")->text(), QStringLiteral("0"));
        rig.page->B_DispcpyClick();
        QCOMPARE(dlg.texts, QStringList{QStringLiteral("Device doesn't respond!")});
        QCOMPARE(rig.get<QLabel>("L_Spalte")->text(), QString());
    }

    // Payloads of 1 to 3 bytes, or of a length other than 4 and P, are data
    // failures (6); nothing beyond the payload is read.
    void oddPayloads_data() {
        QTest::addColumn<QString>("frame");
        QTest::newRow("1 byte") << "05000000" "00";
        QTest::newRow("3 bytes") << "07000000" "000000";
        QTest::newRow("8 bytes") << "0c000000" "0000000000000000";
        QTest::newRow("P + 4 bytes") << "" ;
    }
    void oddPayloads() {
        QFETCH(QString, frame);
        if (frame.isEmpty()) { // 488 bytes for H 480
            const int len = 484 + 4 + 4;
            frame = QString::fromLatin1(QByteArray(1, char(len & 0xFF)).toHex() +
                                        QByteArray(1, char(len >> 8)).toHex() + "0000" +
                                        QByteArray(488, '\0').toHex());
        }
        for (const char *t : {"wlan", "usb"}) {
            dlg.clear();
            Rig rig;
            QVERIFY(rig.start(QLatin1String(t), {"--fault", QStringLiteral("00#3:raw=") + frame}));
            rig.page->B_DispcpyClick();
            QCOMPARE(dlg.texts, QStringList{QStringLiteral("Device doesn't respond!")});
            QCOMPARE(rig.page->scanOperation().lastOutcome().pendingRequest, 6);
            QCOMPARE(rig.get<QLabel>("L_Spalte")->text(), QStringLiteral("2"));
        }
    }

    // The 2000 ms limit applies to the gap between frames, not to the scan.
    void slowReceiverCompletes() {
        Rig rig;
        QVERIFY(rig.start("usb", {"--delay", "400"}));
        rig.get<QSpinBox>("SE_B")->setValue(6);
        QElapsedTimer t;
        t.start();
        rig.page->B_DispcpyClick();
        QVERIFY(t.elapsed() > 2000);
        QCOMPARE(dlg.texts, QStringList{QStringLiteral("All data received!")});
        QCOMPARE(rig.get<QProgressBar>("PB_Scan")->value(), 100);
    }

    // One column: the bar goes to 100 instead of dividing by zero.
    void singleColumn() {
        Rig rig;
        QVERIFY(rig.start("wlan"));
        rig.get<QSpinBox>("SE_X")->setValue(0);
        rig.get<QSpinBox>("SE_B")->setValue(1);
        QList<int> positions;
        connect(&rig.page->scanOperation(), &ScanOperation::progressChanged, this,
                [&](int p) { positions << p; });
        rig.page->B_DispcpyClick();
        QCOMPARE(dlg.texts, QStringList{QStringLiteral("All data received!")});
        QCOMPARE(positions, (QList<int>{0, 0, 100}));
        QCOMPARE(rig.get<QProgressBar>("PB_Scan")->value(), 100);
    }

    // Changing the area while a scan runs does not change the running scan:
    // it goes on with the area it asked for, and reads no pixel beyond a
    // column's payload.
    void areaChangedDuringScan() {
        Rig rig;
        QVERIFY(rig.start("wlan"));
        rig.setFrameColour(dlg, kFrame);
        connect(&rig.page->scanOperation(), &ScanOperation::counterChanged, this,
                [&](const QString &text) {
                    if (text == QLatin1String("10")) {
                        rig.get<QRadioButton>("RB_GVGA")->click();
                        rig.get<QSpinBox>("SE_H")->setValue(100);
                        rig.get<QSpinBox>("SE_B")->setValue(5);
                    }
                });
        rig.page->B_DispcpyClick();
        QCOMPARE(dlg.texts, QStringList{QStringLiteral("All data received!")});
        QCOMPARE(rig.get<QLabel>("L_Spalte")->text(), QStringLiteral("800"));
        QCOMPARE(rig.acks(801), 801);
        QImage full = rig.page->picture();
        const QString bad = checkPicture(full, rig.screen(), 800, 0, 0, 800, 480);
        QVERIFY2(bad.isEmpty(), qPrintable(bad));
        // The next scan asks for the new area.
        rig.page->B_DispcpyClick();
        QVERIFY(waitWhile([&] { return rig.sim.requests("wlan").size() < 1 + 801 + 1; }, 2000));
        QCOMPARE(rig.sim.requests("wlan").at(802), scanRequest(0, 0, 5, 100));
    }

    // Replies go to whoever asked: a scan left running while "USB Terminal"
    // is shown (frames nobody asked for are terminal text there) still gets
    // all its columns.
    void terminalPageShownDuringScan() {
        Rig rig;
        QVERIFY(rig.start("wlan"));
        rig.get<QSpinBox>("SE_B")->setValue(10);
        connect(&rig.page->scanOperation(), &ScanOperation::counterChanged, this,
                [&](const QString &text) {
                    if (text == QLatin1String("3"))
                        rig.link->setTerminalMode(true);
                });
        rig.page->B_DispcpyClick();
        QCOMPARE(dlg.texts, QStringList{QStringLiteral("All data received!")});
        QCOMPARE(rig.page->scanOperation().lastOutcome().pendingRequest, 0);
        QCOMPARE(rig.get<QLabel>("L_Spalte")->text(), QStringLiteral("10"));
        QVERIFY(rig.idle());
    }

    void abortDuringScan_data() { transports(); }
    void abortDuringScan() {
        QFETCH(QString, transport);
        Rig rig;
        QVERIFY(rig.start(transport));
        auto *abort = rig.get<QPushButton>("B_Abort");
        bool enabledWhileRunning = false;
        connect(&rig.page->scanOperation(), &ScanOperation::counterChanged, this,
                [&](const QString &text) {
                    if (text == QLatin1String("10")) {
                        enabledWhileRunning = abort->isEnabled() &&
                                              !rig.get<QPushButton>("B_Dispcpy")->isEnabled() &&
                                              !rig.get<QWidget>("I_Scan")->isVisible();
                        abort->click();
                    }
                });
        rig.page->B_DispcpyClick();
        QVERIFY(enabledWhileRunning);
        QCOMPARE(dlg.texts, QStringList{QStringLiteral("Device doesn't respond!")});
        QCOMPARE(rig.page->scanOperation().lastOutcome().pendingRequest, 484);
        QVERIFY(rig.idle());
        QVERIFY(waitWhile([&] { return !rig.sim.requests(transport).contains(QByteArray(1, '\x0a')); }, 2000));
        QVERIFY(rig.acks() <= 11);
    }

    // The live mirror: frames follow each other without a message, the rate
    // is shown; a silent receiver unchecks "Live" and shows the timeout once.
    void liveMirror_data() { transports(); }
    void liveMirror() {
        QFETCH(QString, transport);
        Rig rig;
        QVERIFY(rig.start(transport, {"--fault", "08#4:silent"}));
        rig.setFrameColour(dlg, kFrame);
        rig.get<QSpinBox>("SE_B")->setValue(30);
        auto *live = rig.get<QCheckBox>("CB_Live");
        QCOMPARE(live->accessibleName(), QStringLiteral("Live"));
        int frames = 0;
        QString rate;
        bool pictureShown = true;
        connect(&rig.page->scanOperation(), &ScanOperation::runningChanged, this, [&](bool running) {
            pictureShown = pictureShown && rig.get<QWidget>("I_Scan")->isVisible();
            if (!running && ++frames == 2)
                rate = rig.get<QLabel>("L_Rate")->text();
        });
        live->setChecked(true);
        QTRY_VERIFY_WITH_TIMEOUT(!live->isChecked(), 15000);
        QTRY_VERIFY(!rig.page->liveRunning());
        QCOMPARE(dlg.texts, QStringList{QStringLiteral("Timeout: Device doesn't respond!")});
        QCOMPARE(frames, 4);
        QVERIFY2(rate.endsWith(QLatin1String(" frames/s")), qPrintable(rate));
        QVERIFY(pictureShown);
        int requests = 0;
        for (const QByteArray &r : rig.sim.requests(transport))
            requests += r == scanRequest(0, 0, 30, 480);
        QCOMPARE(requests, 4);
        // The third frame is in the picture.
        const QString bad = checkPicture(rig.page->picture(), rig.screen(), 800, 0, 0, 30, 480);
        QVERIFY2(bad.isEmpty(), qPrintable(bad));
        QVERIFY(rig.idle());
        QVERIFY(rig.get<QLabel>("L_Rate")->text().isEmpty());
    }

    // Unchecking "Live" lets the running frame finish; stopLive() (page
    // change, window close, another operation) aborts it with 0A. Neither
    // shows a message.
    void liveMirrorEnds_data() {
        QTest::addColumn<bool>("stop");
        QTest::newRow("unchecked") << false;
        QTest::newRow("stopped") << true;
    }
    void liveMirrorEnds() {
        QFETCH(bool, stop);
        Rig rig;
        QVERIFY(rig.start("wlan"));
        rig.get<QSpinBox>("SE_B")->setValue(30);
        auto *live = rig.get<QCheckBox>("CB_Live");
        int frames = 0;
        connect(&rig.page->scanOperation(), &ScanOperation::runningChanged, this,
                [&](bool running) { frames += !running; });
        connect(&rig.page->scanOperation(), &ScanOperation::counterChanged, this,
                [&](const QString &text) {
                    if (frames == 1 && text == QLatin1String("10")) {
                        if (stop)
                            rig.page->stopLive();
                        else
                            QTest::keyClick(live, Qt::Key_Space); // by keyboard
                    }
                });
        live->setChecked(true);
        QTRY_VERIFY_WITH_TIMEOUT(frames >= 2 && !rig.page->liveRunning(), 15000);
        QVERIFY(!live->isChecked());
        QCOMPARE(frames, 2);
        QCOMPARE(dlg.texts, QStringList{});
        QCOMPARE(rig.get<QLabel>("L_Spalte")->text(), stop ? QStringLiteral("10") : QStringLiteral("30"));
        // The simulator logs a request once it has read it.
        const auto aborted = [&] { return rig.sim.requests("wlan").contains(QByteArray(1, '\x0a')); };
        if (stop)
            QTRY_VERIFY(aborted());
        else
            QVERIFY(!aborted());
        QVERIFY(rig.idle());
    }

    // The rate shown is the current one: after a change from the whole
    // screen to a small area it follows the new pace within a few seconds,
    // instead of an average since "Live" was ticked.
    void liveRateFollowsAreaSwitch() {
        Rig rig;
        QVERIFY(rig.start("wlan", {"--delay", "1"})); // the whole screen: about a second a frame
        auto *live = rig.get<QCheckBox>("CB_Live");
        QList<qint64> ends; // frame ends, by the test's own clock
        QElapsedTimer clock;
        clock.start();
        int firstSmall = -1; // the index of the first frame of the small area
        QString text;        // the rate shown, and what it should be then
        double want = 0, sinceStart = 0;
        // The mirror runs inside the event loop: it is steered from its signals.
        connect(&rig.page->scanOperation(), &ScanOperation::runningChanged, this,
                [&](bool running) {
                    if (running || !live->isChecked())
                        return;
                    const qint64 now = clock.elapsed();
                    ends << now;
                    if (ends.size() == 2) {
                        rig.get<QSpinBox>("SE_B")->setValue(40);
                        rig.get<QSpinBox>("SE_H")->setValue(40);
                        firstSmall = 2;
                    } else if (firstSmall >= 0 && now - ends[firstSmall] > 3500) {
                        text = rig.get<QLabel>("L_Rate")->text();
                        int recent = 0;
                        for (qint64 t : ends)
                            recent += t > now - 3000;
                        want = recent / 3.0;
                        sinceStart = ends.size() * 1000.0 / double(now);
                        live->setChecked(false);
                    }
                });
        live->setChecked(true);
        QTRY_VERIFY_WITH_TIMEOUT(!text.isEmpty() && !rig.page->liveRunning(), 30000);
        QVERIFY2(text.endsWith(QLatin1String(" frames/s")), qPrintable(text));
        const double shown = text.section(QLatin1Char(' '), 0, 0).toDouble();
        QVERIFY2(qAbs(shown - want) <= 0.3 * want,
                 qPrintable(QStringLiteral("shown %1, last 3 s %2").arg(shown).arg(want)));
        QVERIFY2(shown > 1.15 * sinceStart,
                 qPrintable(QStringLiteral("shown %1, since the start %2").arg(shown).arg(sinceStart)));
    }

    // Save and "To Clipboard" while "Live" runs take the last complete
    // frame, never the frame being drawn (the simulator changes the screen
    // for every frame, so a mix of two frames shows). Before the first frame
    // is complete they take the picture as it was.
    void liveExportTakesCompleteFrame_data() {
        QTest::addColumn<int>("frame"); // taken while this frame (from 0) is half drawn
        QTest::newRow("first frame") << 0;
        QTest::newRow("third frame") << 2;
    }
    void liveExportTakesCompleteFrame() {
        QFETCH(int, frame);
        Rig rig;
        QVERIFY(rig.start("wlan", {"--screen-changes"}));
        const QRect area(0, 0, 60, 50);
        rig.get<QSpinBox>("SE_B")->setValue(area.width());
        rig.get<QSpinBox>("SE_H")->setValue(area.height());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("live.png"));
        const QImage before = rig.page->picture().copy();
        int frames = 0;
        QImage clip;
        connect(&rig.page->scanOperation(), &ScanOperation::runningChanged, this,
                [&](bool running) { frames += !running; });
        connect(&rig.page->scanOperation(), &ScanOperation::counterChanged, this,
                [&](const QString &text) {
                    if (frames == frame && text == QLatin1String("30") && clip.isNull()) {
                        rig.page->savePicture(path);
                        rig.get<QPushButton>("B_Clip")->click();
                        clip = QGuiApplication::clipboard()->image();
                        rig.page->stopLive();
                    }
                });
        rig.get<QCheckBox>("CB_Live")->setChecked(true);
        QTRY_VERIFY_WITH_TIMEOUT(!clip.isNull() && !rig.page->liveRunning(), 20000);
        QVERIFY2(dlg.texts.isEmpty(), qPrintable(dlg.texts.join(QLatin1Char('|'))));
        QImage saved(path);
        QVERIFY(!saved.isNull());
        for (const QImage &img : {saved, clip}) {
            QCOMPARE(img.size(), QSize(810, 490));
            if (frame == 0)
                QCOMPARE(img.convertToFormat(QImage::Format_RGB888), before);
            else
                QCOMPARE(wholeFrame(img, rig.screen(), area), frame - 1);
        }
        // The half-drawn frame is in the window's own picture meanwhile.
        QCOMPARE(wholeFrame(rig.page->picture(), rig.screen(), area), -1);
    }

    // "Record…" writes every complete frame, or one every N seconds, as
    // PNG files into a folder until "Live" stops; a frame that ends
    // incomplete is not written, and no file there is replaced.
    void recording_data() {
        QTest::addColumn<QStringList>("simOptions");
        QTest::addColumn<int>("naming"); // RecordSettings::Naming
        QTest::addColumn<int>("every");
        QTest::addColumn<int>("stopAt"); // frames written, then "Live" is unticked; 0: it fails
        QTest::addColumn<QString>("names"); // pattern of the names written
        QTest::newRow("numbered, every frame") << QStringList{"--screen-changes"}
                                               << int(RecordSettings::Numbered) << 0 << 4
                                               << "frame-\\d{4}\\.png";
        QTest::newRow("time-stamped, every frame") << QStringList{"--screen-changes"}
                                                   << int(RecordSettings::TimeStamped) << 0 << 3
                                                   << "frame-\\d{8}-\\d{6}(-\\d+)?\\.png";
        QTest::newRow("numbered, one every second")
            << QStringList{"--screen-changes"} << int(RecordSettings::Numbered) << 1 << 2
            << "frame-\\d{4}\\.png";
        QTest::newRow("third frame silent: two written")
            << QStringList{"--screen-changes", "--fault", "08#3:silent"}
            << int(RecordSettings::Numbered) << 0 << 0 << "frame-\\d{4}\\.png";
    }
    void recording() {
        QFETCH(QStringList, simOptions);
        QFETCH(int, naming);
        QFETCH(int, every);
        QFETCH(int, stopAt);
        QFETCH(QString, names);
        Rig rig;
        QVERIFY(rig.start("wlan", simOptions));
        const QRect area(100, 50, 20, 30);
        rig.get<QSpinBox>("SE_B")->setValue(area.width());
        rig.get<QSpinBox>("SE_H")->setValue(area.height());
        rig.get<QSpinBox>("SE_X")->setValue(area.x());
        rig.get<QSpinBox>("SE_Y")->setValue(area.y());
        QTemporaryDir dir;
        const bool numbered = naming == int(RecordSettings::Numbered);
        if (numbered) { // a file of an earlier recording stays as it is
            QFile old(dir.filePath(QStringLiteral("frame-0001.png")));
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("earlier");
        }
        RecordSettings asked;
        rig.page->setRecordPrompt([&](const RecordSettings &initial) {
            asked = initial;
            return RecordSettings{dir.path(), RecordSettings::Naming(naming), every};
        });
        int frames = 0;
        auto *live = rig.get<QCheckBox>("CB_Live");
        // The mirror runs inside the event loop: it is stopped from its signals.
        connect(&rig.page->scanOperation(), &ScanOperation::runningChanged, this, [&](bool running) {
            frames += !running;
            if (!running && stopAt > 0 && rig.page->recorder().written() >= stopAt)
                live->setChecked(false);
        });
        QTest::mouseClick(rig.get<QPushButton>("B_Record"), Qt::LeftButton);
        QVERIFY(live->isChecked()); // recording starts "Live"
        QVERIFY(!rig.get<QPushButton>("B_Record")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!live->isChecked() && !rig.page->liveRunning(), 20000);
        QVERIFY(!rig.page->recording());
        QVERIFY(rig.get<QPushButton>("B_Record")->isEnabled());
        const int written = rig.page->recorder().written();
        QCOMPARE(rig.get<QLabel>("L_Record")->text(),
                 QStringLiteral("Recorded: %1 frames written").arg(written));
        if (stopAt == 0) {
            QCOMPARE(written, 2);
            QCOMPARE(dlg.texts, QStringList{QStringLiteral("Timeout: Device doesn't respond!")});
        } else {
            QVERIFY(dlg.texts.isEmpty());
        }
        if (every > 0)
            QVERIFY2(written < frames - 1, qPrintable(QStringLiteral("%1 of %2").arg(written).arg(frames)));
        else if (stopAt > 0)
            QVERIFY(written >= frames - 1); // the last frame may end after "Live" was unticked

        QStringList files = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
        if (numbered) {
            QCOMPARE(fileContents(dir.filePath(files.takeFirst())), QByteArray("earlier"));
            QCOMPARE(files.first(), QStringLiteral("frame-0002.png"));
        }
        QCOMPARE(int(files.size()), written);
        // In the order written: a second name within one second has "-2", "-3".
        static const QRegularExpression second(QStringLiteral("-(\\d{6})\\.png$"));
        const auto order = [](QString f) { return f.replace(second, QStringLiteral("-\\1-1.png")); };
        std::sort(files.begin(), files.end(),
                  [&](const QString &a, const QString &b) { return order(a) < order(b); });
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(names));
        int lastFrame = -1;
        QDateTime lastTime;
        for (const QString &f : files) {
            QVERIFY2(pattern.match(f).hasMatch(), qPrintable(f));
            const QMap<QString, QString> texts = pngTexts(fileContents(dir.filePath(f)));
            QCOMPARE(texts.value(QStringLiteral("Area")), QStringLiteral("100,50,20,30"));
            const QDateTime t =
                QDateTime::fromString(texts.value(QStringLiteral("Creation Time")), Qt::ISODate);
            const QImage img(dir.filePath(f));
            QCOMPARE(img.size(), QSize(810, 490));
            const int k = wholeFrame(img, rig.screen(), area);
            QVERIFY2(k > lastFrame, qPrintable(QStringLiteral("%1: frame %2").arg(f).arg(k)));
            lastFrame = k;
            QVERIFY(t.isValid());
            if (every > 0 && lastTime.isValid())
                QVERIFY(lastTime.secsTo(t) >= every);
            lastTime = t;
        }
        QCOMPARE(asked.folder, QString()); // the first recording starts from nothing
    }

    // Cancel without any link does nothing.
    void abortWithoutLink() {
        DeviceLink link;
        DisplayPage page(link);
        QSignalSpy sent(&link, &DeviceLink::requestSent);
        page.B_AbortClick();
        QVERIFY(sent.isEmpty());
        QVERIFY(!link.exchangeRunning());
    }
};

QTEST_MAIN(TstDisplayScan)
#include "tst_displayscan.moc"
