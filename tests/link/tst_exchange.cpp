// What one exchange guarantees, over WLAN and over the simulated USB
// library, against lmk-sim: replies go to whoever asked (whatever page is
// shown), a late reply is never the next request's answer, a slot reply
// nobody asked for changes nothing, one operation at a time (the live
// mirror gives way), and nothing follows a scan's abort byte.
#include "../app/WindowFixture.h"
#include "LinkRequests.h"
#include "TestFiles.h"
#include "display/ScanOperation.h"
#include "display/ui/DisplayPage.h"
#include "memory/MemorySession.h"
#include "memory/MemorySlots.h"
#include "memory/SlotBackups.h"
#include "memory/SlotRecord.h"
#include "memory/SlotTransferOperation.h"
#include "memory/ui/MemoryPage.h"
#include "upload/SyncOperation.h"

#include <QCheckBox>
#include <QSpinBox>
#include <QTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace lmk;

class TstExchange : public QObject {
    Q_OBJECT
    WindowFixture f;

    static void transports() {
        QTest::addColumn<Transport>("transport");
        QTest::newRow("wlan") << Transport::Wlan;
        QTest::newRow("usb") << Transport::Usb;
    }
    QString name() const {
        QFETCH(Transport, transport);
        return transport == Transport::Usb ? QStringLiteral("usb") : QStringLiteral("wlan");
    }
    // The window against the simulator, started up (bootloader found).
    bool startWindow(const QStringList &options = {}) {
        QFETCH(Transport, transport);
        if (!f.start(options, transport))
            return false;
        f.window->FormCreate();
        QTest::qWait(100); // the version reply
        f.dialogs.clear();
        return true;
    }
    QByteArray simSlots() const {
        return test::fileContents(f.sim().stateDir() + QStringLiteral("/slots.bin"));
    }
    QList<QByteArray> sent() const { return f.sim().requests(name()); }

  private slots:
    void cleanup() { f.stop(); }

    // The memory page's read, a backup and the slots read for a comparison
    // with "USB Terminal" shown: the records go to the read, not into the
    // terminal box.
    void memoryTransfersWithTheTerminalPageShown_data() { transports(); }
    void memoryTransfersWithTheTerminalPageShown() {
        QVERIFY(startWindow());
        QVERIFY(QTest::qWaitFor([&] { return simSlots().size() == kSlotImageSize; }, 5000));
        f.window->showPage(kPageTerminal);
        QTest::qWait(200); // over USB the access-point settings answer the switch
        MemoryPage *page = f.window->memoryPage();
        page->B_LadenClick();
        QCOMPARE(f.dialogs.texts, QStringList{});
        QCOMPARE(page->memorySlots().image().data(), simSlots());
        QTemporaryDir dir;
        const SlotBackupResult backup =
            backupReceiverSlots(page->memorySlots(), SlotBackupStore(dir.path()));
        QVERIFY2(backup.ok(), qPrintable(backup.error));
        QCOMPARE(test::fileContents(backup.path), simSlots());
        const ReceiverSlots again = readReceiverSlots(page->memorySlots());
        QVERIFY2(again.ok(), qPrintable(again.error));
        QCOMPARE(again.image, simSlots());
        // No record ended up as text.
        QVERIFY(f.child<QWidget>("M_Chat")->property("plainText").toString().size() < 400);
        QVERIFY(f.link->terminalMode());
    }

    // A reply that comes after its request timed out arrives before the next
    // operation's first request goes out: it is dropped, not read as that
    // request's answer (the answer 55 would refuse the clear).
    void lateReplyNotTakenByTheNextRequest_data() { transports(); }
    void lateReplyNotTakenByTheNextRequest() {
        QFETCH(Transport, transport);
        QVERIFY(f.start({"--mode", "config", "--fault", "55#1:delay=1400"}, transport));
        if (transport == Transport::Usb)
            QVERIFY(f.link->openUsb() != 0);
        else
            f.link->startupWlan();
        SyncOperation sync(*f.link);
        const SyncResult r = sync.run();
        QCOMPARE(r.firstAnswer, -1);
        QCOMPARE(r.end, ExchangeEnd::Timeout);
        QSignalSpy dropped(f.link.get(), &DeviceLink::staleInputDropped);
        MemorySlots store(*f.link);
        SlotTransferOperation clear(store);
        QCOMPARE(clear.clearAll(), SlotTransferOperation::Outcome::Done);
        QCOMPARE(clear.lastSlot(), kSlotCount);
        QVERIFY(!dropped.isEmpty());
        // The clear's first request went out after the late reply had come.
        const QList<QByteArray> log = sent();
        QCOMPARE(log.first(), QByteArray(1, '\x55'));
        QCOMPARE(log.count(QByteArray(1, '\x55')), 1);
        QCOMPARE(quint8(log.last().at(0)), quint8(0x11));
    }

    // A slot reply nobody asked for neither changes nor grows the image, and
    // the read after it is whole.
    void unaskedSlotReplyLeavesTheImageAlone_data() { transports(); }
    void unaskedSlotReplyLeavesTheImageAlone() {
        QVERIFY(startWindow());
        MemorySlots &store = f.window->memoryPage()->memorySlots();
        const QByteArray before = store.image().data();
        QSignalSpy frames(f.link.get(), &DeviceLink::frameDelivered);
        QSignalSpy changed(&store, &MemorySlots::slotChanged);
        for (int i = 0; i < 3; ++i)
            QVERIFY(f.link->sendUnasked(QByteArray(1, '\x10')));
        QTRY_COMPARE(frames.size(), 3);
        QCOMPARE(store.image().data(), before);
        QVERIFY(changed.isEmpty());
        f.window->memoryPage()->B_LadenClick();
        QCOMPARE(store.image().size(), qint64(kSlotImageSize));
    }

    // A memory read while the live mirror runs stops the mirror first; the
    // read gets every record (slot 1 included), "Live" is unchecked.
    void memoryReadStopsTheLiveMirror_data() { transports(); }
    void memoryReadStopsTheLiveMirror() {
        QVERIFY(startWindow());
        QVERIFY(QTest::qWaitFor([&] { return simSlots().size() == kSlotImageSize; }, 5000));
        f.window->showPage(kPageDisplay);
        DisplayPage *display = f.window->displayPage();
        f.child<QSpinBox>("SE_B")->setValue(30);
        auto *live = f.child<QCheckBox>("CB_Live");
        int frames = 0;
        bool read = false;
        connect(&display->scanOperation(), &ScanOperation::runningChanged, this,
                [&](bool running) { frames += !running; });
        connect(&display->scanOperation(), &ScanOperation::counterChanged, this,
                [&](const QString &text) {
                    if (frames < 2 || text != QLatin1String("10") || read)
                        return;
                    read = true; // the user asks for the slots while Live runs
                    f.window->memoryPage()->B_LadenClick();
                });
        live->setChecked(true);
        QTRY_VERIFY_WITH_TIMEOUT(read && !display->liveRunning(), 20000);
        QCOMPARE(f.dialogs.texts, QStringList{});
        QCOMPARE(f.window->memoryPage()->memorySlots().image().data(), simSlots());
        QVERIFY(!live->isChecked());
        QVERIFY(!f.link->exchangeRunning());
    }

    // A second operation while one runs that does not give way is refused
    // with the running one's name; nothing of it is sent.
    void secondOperationRefused_data() { transports(); }
    void secondOperationRefused() {
        QVERIFY(startWindow());
        DisplayPage *display = f.window->displayPage();
        QString refusal;
        int before = 0;
        connect(&display->scanOperation(), &ScanOperation::counterChanged, this,
                [&](const QString &text) {
                    if (text != QLatin1String("5") || !refusal.isEmpty())
                        return;
                    before = int(sent().size());
                    SlotTransferOperation read(f.window->memoryPage()->memorySlots());
                    if (read.readAll() == SlotTransferOperation::Outcome::Busy)
                        refusal = read.outcomeText(SlotTransferOperation::Kind::Read,
                                                   SlotTransferOperation::Outcome::Busy);
                });
        display->B_DispcpyClick();
        QCOMPARE(refusal, operationBusyText(QStringLiteral("Scan")));
        QCOMPARE(f.dialogs.texts.last(), QStringLiteral("All data received!"));
        for (const QByteArray &r : sent().mid(before))
            QVERIFY(quint8(r.at(0)) != 0x10);
    }

    // After the abort byte nothing more goes out for that scan, however
    // often the live mirror is stopped by a page change.
    void nothingAfterTheAbortByte_data() { transports(); }
    void nothingAfterTheAbortByte() {
        QVERIFY(startWindow());
        f.window->showPage(kPageDisplay);
        DisplayPage *display = f.window->displayPage();
        f.child<QSpinBox>("SE_B")->setValue(40);
        auto *live = f.child<QCheckBox>("CB_Live");
        int stops = 0;
        connect(&display->scanOperation(), &ScanOperation::counterChanged, this,
                [&](const QString &text) {
                    if (text != QString::number(3 + stops * 5))
                        return;
                    ++stops;
                    f.window->showPage(kPageUpdate); // stops the mirror: abort byte
                    if (stops < 6)
                        QTimer::singleShot(50, this, [&] {
                            f.window->showPage(kPageDisplay);
                            live->setChecked(true);
                        });
                });
        live->setChecked(true);
        QTRY_VERIFY_WITH_TIMEOUT(stops == 6 && !display->liveRunning(), 20000);
        QTest::qWait(300);
        const QList<QByteArray> log = sent();
        int aborts = 0;
        for (int i = 0; i < log.size(); ++i) {
            if (log[i] != QByteArray(1, '\x0a'))
                continue;
            ++aborts;
            for (int j = i + 1; j < log.size() && quint8(log[j].at(0)) != 0x08; ++j)
                QVERIFY2(log[j] != QByteArray(1, '\0'),
                         qPrintable(QStringLiteral("acknowledgement after abort %1").arg(aborts)));
        }
        QCOMPARE(aborts, 6);
    }
};

QTEST_MAIN(TstExchange)
#include "tst_exchange.moc"
