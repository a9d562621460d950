// The "Update 54/55" page end to end against a real lmk-sim, over WLAN and
// over the simulated USB: synchronise, search, uploads that arrive
// byte-identical, working replies, refusal, silence, and a long frame after
// a working reply over WLAN.
#include "LinkRequests.h"
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "link/DeviceLink.h"
#include "upload/UploadOperation.h"
#include "upload/ui/UpdatePage.h"
#include "TestFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

using namespace lmk;
using namespace lmk::test;

namespace {


QByteArray sha(const QByteArray &b) {
    return QCryptographicHash::hash(b, QCryptographicHash::Sha256);
}

struct Bench {
    SimProcess sim;
    ScriptedDialogs dlg;
    DeviceLink link;
    QTabWidget tabs;
    UpdatePage *page = nullptr;
    QTemporaryDir dir;

    bool start(bool usb, const QStringList &options) {
        showLinkReports(link); // as the window does
        if (!sim.start(options))
            return false;
        if (usb) {
            sim.useUsb();
            if (link.openUsb() == 0)
                return false;
        } else {
            link.setEndpoint(QStringLiteral("127.0.0.1"), sim.port());
            link.setWlanChecked(true);
        }
        tabs.setObjectName(QStringLiteral("PC_main"));
        page = new UpdatePage(link, &tabs);
        tabs.addTab(page, QStringLiteral("Update 54/55"));
        return true;
    }
    template <class T> T *get(const char *name) {
        return page->findChild<T *>(QLatin1String(name));
    }
    QString chooseFile(const QString &name, const QByteArray &bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        f.close();
        page->selectUploadFile(path);
        return path;
    }
    void external() {
        get<QRadioButton>("RG_Target1")->click();
        get<QPushButton>("B_Search")->click();
    }
    bool controlsRestored() {
        return get<QPushButton>("B_Start")->isEnabled() &&
               get<QPushButton>("B_Sync")->isEnabled() &&
               get<QGroupBox>("RG_Target")->isEnabled() && tabs.isEnabled() &&
               !link.exchangeRunning();
    }
    QStringList uploads() const {
        QFile f(QDir(sim.stateDir()).filePath(QStringLiteral("uploads.txt")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QByteArray stored(int seq) const {
        QFile f(QDir(sim.stateDir()).filePath(QStringLiteral("upload-%1.bin").arg(seq)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString uploadErrors() const {
        QFile f(QDir(sim.stateDir()).filePath(QStringLiteral("upload-errors.txt")));
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }
};

} // namespace

class TstUploadSim : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { SimProcess::noUsb(); }

    void synchronise_data() {
        QTest::addColumn<bool>("usb");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("boot");
        QTest::addColumn<bool>("config");
        QTest::addColumn<bool>("upload");
        for (bool usb : {false, true}) {
            const char *t = usb ? "usb" : "wlan";
            QTest::addRow("%s: bootloader", t)
                << usb << QStringList{"--mode", "boot"} << true << false << true;
            QTest::addRow("%s: configuration", t)
                << usb << QStringList{"--mode", "config"} << false << true << false;
            QTest::addRow("%s: configuration, then bootloader", t)
                << usb << QStringList{"--sync-answers", "55,55,55,5A"} << true << false << false;
            QTest::addRow("%s: neither", t)
                << usb << QStringList{"--mode", "none"} << false << false << false;
            QTest::addRow("%s: silence", t)
                << usb << QStringList{"--fault", "55:silent"} << false << false << false;
            QTest::addRow("%s: bootloader, a frame without status first", t)
                << usb << QStringList{"--mode", "boot", "--fault", "55:before=02000000"} << true
                << false << true;
        }
    }
    void synchronise() {
        QFETCH(bool, usb);
        QFETCH(QStringList, options);
        QFETCH(bool, boot);
        QFETCH(bool, config);
        QFETCH(bool, upload);
        Bench b;
        QVERIFY(b.start(usb, options));
        b.page->B_SyncClick();
        QCOMPARE(b.page->bootActive(), boot);
        QCOMPARE(b.page->configActive(), config);
        QCOMPARE(b.get<QGroupBox>("GB_Download")->isEnabled(), upload);
        QVERIFY(b.get<QPushButton>("B_Sync")->isEnabled());
        const QList<QByteArray> sent = b.sim.requests(usb ? "usb" : "wlan");
        QVERIFY(!sent.isEmpty());
        QCOMPARE(sent.first(), QByteArray::fromHex("55"));
        QVERIFY(b.dlg.texts.isEmpty());
    }

    void search_data() {
        QTest::addColumn<bool>("usb");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("first");
        for (bool usb : {false, true}) {
            const char *t = usb ? "usb" : "wlan";
            QTest::addRow("%s: two tasks", t)
                << usb << QStringList{"--tasks", "01A2:0003:00F0,1A2B:0003:0000"} << 2
                << "01A2  0003  00F0";
            QTest::addRow("%s: none", t)
                << usb << QStringList{"--tasks", "none"} << 1 << "No Tasks found!";
            QTest::addRow("%s: 41 tasks", t)
                << usb << QStringList{"--task-count", "41"} << 41 << "0100  0000  F000";
            QTest::addRow("%s: 509 bytes", t)
                << usb << QStringList{"--task-count", "42", "--task-reply-bytes", "509"} << 0 << "";
            QTest::addRow("%s: silence", t)
                << usb << QStringList{"--fault", "0b:silent"} << 0 << "";
            QTest::addRow("%s: two tasks, a frame without status first", t)
                << usb
                << QStringList{"--tasks", "01A2:0003:00F0,1A2B:0003:0000", "--fault",
                               "0b:before=c000000000000000"}
                << 2 << "01A2  0003  00F0";
        }
    }
    void search() {
        QFETCH(bool, usb);
        QFETCH(QStringList, options);
        QFETCH(int, entries);
        QFETCH(QString, first);
        Bench b;
        QVERIFY(b.start(usb, options));
        b.page->B_SyncClick();
        b.external();
        auto *tasks = b.get<QComboBox>("CB_Tasks");
        QCOMPARE(tasks->count(), entries);
        QCOMPARE(tasks->currentText(), first);
        QCOMPARE(b.dlg.texts, QStringList{"Transfer finished!"});
        QVERIFY(b.get<QPushButton>("B_Search")->isEnabled());
    }

    void upload_data() {
        QTest::addColumn<bool>("usb");
        QTest::addColumn<bool>("external");
        QTest::addColumn<int>("size");
        for (bool usb : {false, true})
            for (bool ext : {false, true})
                for (int size : {1, 257, 1000, 70001}) {
                    QTest::addRow("%s, %s, %d bytes", usb ? "usb" : "wlan", ext ? "task" : "config",
                                  size)
                        << usb << ext << size;
                }
    }
    void upload() {
        QFETCH(bool, usb);
        QFETCH(bool, external);
        QFETCH(int, size);
        Bench b;
        QVERIFY(b.start(usb, {"--tasks", "01A2:0003:00F0"}));
        b.page->B_SyncClick();
        QVERIFY(b.get<QGroupBox>("GB_Download")->isEnabled());
        if (external)
            b.external();
        b.dlg.clear();
        const QByteArray file = pseudoRandomBytes(size);
        b.chooseFile(external ? "TASK01A2.RPD" : "LMK54.RPD", file);
        // The rate and the time left are shown while the transfer runs, and
        // cleared at its end.
        QStringList rates, left;
        connect(&b.page->uploadOperation(), &UploadOperation::bytesSent, this, [&] {
            rates << b.get<QLabel>("L_Rate")->text();
            left << b.get<QLabel>("L_Left")->text();
        });
        b.get<QPushButton>("B_Start")->click();
        QCOMPARE(b.dlg.texts, QStringList{"File transfer finished successfully!"});
        QVERIFY(!rates.isEmpty());
        QVERIFY2(rates.last().endsWith(QLatin1String("/s")), qPrintable(rates.last()));
        QVERIFY(b.get<QLabel>("L_Rate")->text().isEmpty());
        static const QRegularExpression leftText(QStringLiteral("^(\\d+:\\d\\d|-:--) left$"));
        QVERIFY2(leftText.match(left.last()).hasMatch(), qPrintable(left.last()));
        QVERIFY(b.get<QLabel>("L_Left")->text().isEmpty());
        QCOMPARE(b.uploadErrors(), QString());
        QCOMPARE(b.uploads(),
                 QStringList{
                     external ? QStringLiteral("1 task 01A2,0003,00F0 %1 TASK01A2.R").arg(size)
                              : QStringLiteral("1 config 0000,0000,0000 %1 LMK54.RPD").arg(size)});
        QCOMPARE(sha(b.stored(1)), sha(file));
        QCOMPARE(b.get<QLabel>("L_Bytes")->text(), QString::number((size + 3) / 4 * 4));
        QCOMPARE(b.get<QProgressBar>("PB_Sent")->value(), 100);
        QVERIFY(b.controlsRestored());
    }

    void workingReplies_data() {
        QTest::addColumn<bool>("usb");
        QTest::newRow("wlan") << false;
        QTest::newRow("usb") << true;
    }
    void workingReplies() {
        QFETCH(bool, usb);
        Bench b;
        QVERIFY(
            b.start(usb, {"--upload-erase", "3", "--upload-working", "1", "--upload-gap", "15"}));
        b.page->B_SyncClick();
        const QByteArray file = pseudoRandomBytes(300);
        b.chooseFile("LMK300.RPD", file);
        QList<qint64> counter;
        connect(&b.page->uploadOperation(), &UploadOperation::counterChanged,
                [&](qint64 v) { counter << v; });
        b.page->B_StartClick();
        QCOMPARE(b.dlg.texts, QStringList{"File transfer finished successfully!"});
        // Erase: three working replies, then ready; then working + ready for
        // each of three name packets and two data packets.
        QCOMPARE(counter, (QList<qint64>{1, 2, 3, 0, 1, 0, 1, 0, 1, 0, 1, 256, 257, 300}));
        QCOMPARE(sha(b.stored(1)), sha(file));
    }

    void endings_data() {
        QTest::addColumn<bool>("usb");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("minMs");
        for (bool usb : {false, true}) {
            const char *t = usb ? "usb" : "wlan";
            QTest::addRow("%s: refused", t) << usb << QStringList{"--upload-refuse-at", "5"}
                                            << "Exception caused by device driver!" << 0;
            QTest::addRow("%s: silent", t) << usb << QStringList{"--upload-silent-at", "2"}
                                           << "Timeout: Device doesn't respond!" << 2800;
        }
        QTest::newRow("wlan: connection closed")
            << false << QStringList{"--fault", "wlan:84:close"}
            << "LMK doesn't respond to WLAN! | File cannot be loaded into LMK!" << 0;
    }
    void endings() {
        QFETCH(bool, usb);
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        QFETCH(int, minMs);
        Bench b;
        QVERIFY(b.start(usb, options));
        b.page->B_SyncClick();
        b.chooseFile("LMK.RPD", pseudoRandomBytes(5000));
        QElapsedTimer took;
        took.start();
        b.page->B_StartClick();
        QCOMPARE(b.dlg.texts.join(QLatin1String(" | ")), message);
        QVERIFY(took.elapsed() >= minMs);
        QVERIFY(took.elapsed() < minMs + 2000);
        QVERIFY(b.controlsRestored());
        QVERIFY(b.uploads().isEmpty());
    }

    // Frames that carry no status (02, C0 words) arrive on their own ahead of
    // the reply: both transports read on until the status comes.
    void statuslessFramesFirst_data() {
        QTest::addColumn<bool>("usb");
        QTest::addColumn<QString>("fault");
        for (bool usb : {false, true}) {
            const char *t = usb ? "usb" : "wlan";
            QTest::addRow("%s: 02 before the header's reply", t) << usb << "09:before=02000000";
            QTest::addRow("%s: C0 pair, then 02, before a name's reply", t)
                << usb << "82:before=c000000000000000+02000000";
            QTest::addRow("%s: 02 02 before every data packet's reply", t)
                << usb << "84:before=0200000002000000";
        }
    }
    void statuslessFramesFirst() {
        QFETCH(bool, usb);
        QFETCH(QString, fault);
        Bench b;
        QVERIFY(b.start(usb, {"--fault", fault, "--chunk-gap", "30"}));
        b.page->B_SyncClick();
        const QByteArray file = pseudoRandomBytes(600);
        b.chooseFile("LMK600.RPD", file);
        QElapsedTimer took;
        took.start();
        b.page->B_StartClick();
        QCOMPARE(b.dlg.texts, QStringList{"File transfer finished successfully!"});
        QVERIFY2(took.elapsed() < 2500, qPrintable(QString::number(took.elapsed())));
        QCOMPARE(sha(b.stored(1)), sha(file));
        QVERIFY(b.controlsRestored());
    }

    // A reply that came before the upload started (here to a synchronise
    // request nobody waited for, arriving while the window was busy) is not
    // the answer to the upload's header.
    void staleReplyBeforeUpload_data() {
        QTest::addColumn<bool>("usb");
        QTest::newRow("wlan") << false;
        QTest::newRow("usb") << true;
    }
    void staleReplyBeforeUpload() {
        QFETCH(bool, usb);
        Bench b;
        QVERIFY(b.start(usb, {}));
        b.page->B_SyncClick();
        const QByteArray file = pseudoRandomBytes(600);
        b.chooseFile("LMK600.RPD", file);
        b.dlg.clear();
        b.link.sendUnasked(QByteArray(1, '\x55'));
        QThread::msleep(300); // the answer arrives; nothing reads it yet
        b.page->B_StartClick();
        QCOMPARE(b.dlg.texts, QStringList{"File transfer finished successfully!"});
        QCOMPARE(sha(b.stored(1)), sha(file));
        QVERIFY(b.controlsRestored());
    }

    // The simulator checks what it receives: a group with the wrong lead
    // byte is refused and noted.
    void simulatorRefusesWrongLeadByte() {
        Bench b;
        QVERIFY(b.start(false, {}));
        auto exchange = [&](const char *hex) {
            return requestOnce(b.link, QByteArray::fromHex(hex), 1000).code;
        };
        QCOMPARE(exchange("0908000000"), 0x00);
        QCOMPARE(exchange("8100004c4d"), 0x00);
        QCOMPARE(exchange("834b312e52"), 0x5A); // group 2 sent as 0x83
        QVERIFY2(b.uploadErrors().contains(QStringLiteral("lead byte 83, expected 82")),
                 qPrintable(b.uploadErrors()));
        QVERIFY(b.uploads().isEmpty());
    }

    // After a working reply over WLAN the upload reads the next frame
    // itself; its length is both length bytes (a 264-byte frame here, whose
    // last word is the ready reply).
    void longFrameAfterWorkingReply() {
        QByteArray longPayload;
        for (int i = 0; i < 64; ++i)
            longPayload += QByteArray::fromHex("02000000");
        longPayload += QByteArray::fromHex("00000000");
        const QByteArray longFrame = QByteArray::fromHex("08010000") + longPayload;
        QCOMPARE(longFrame.size(), 264);
        const QString raw = QStringLiteral("wlan:81#1:raw=0800000055000000+") +
                            QString::fromLatin1(longFrame.toHex());
        Bench b;
        QVERIFY(b.start(false, {"--fault", raw}));
        b.page->B_SyncClick();
        const QByteArray file = pseudoRandomBytes(100);
        b.chooseFile("LMK100.RPD", file);
        QList<qint64> counter;
        connect(&b.page->uploadOperation(), &UploadOperation::counterChanged,
                [&](qint64 v) { counter << v; });
        QElapsedTimer took;
        took.start();
        b.page->B_StartClick();
        QCOMPARE(b.dlg.texts, QStringList{"File transfer finished successfully!"});
        QVERIFY(took.elapsed() < 2000);
        QCOMPARE(counter, (QList<qint64>{0, 1, 0, 0, 0, 100}));
        QCOMPARE(sha(b.stored(1)), sha(file));
    }
};

QTEST_MAIN(TstUploadSim)
#include "tst_uploadsim.moc"
