// Reading, writing and clearing the memory slots against lmk-sim, over WLAN
// and over the simulated USB library, driven through the page's buttons;
// with slot replies of 264 bytes and of 256 (the record's last 8 bytes not
// sent).
#include "link/DeviceLink.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"
#include "memory/ui/MemoryPage.h"
#include "memory/ui/SlotTableModel.h"

#include "LinkRequests.h"
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "TestFiles.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace lmk;

class TstSlotTransfer : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<ScriptedDialogs> dlg;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<DeviceLink> link;
    std::unique_ptr<MemoryPage> page;

    // Starts the simulator with `options` and connects over the transport
    // of the current data row, with its slot reply length.
    bool connectTo(const QStringList &options = {}) {
        QFETCH(QString, transport);
        QFETCH(int, replyLength);
        sim = std::make_unique<SimProcess>();
        if (!sim->start(options + QStringList{QStringLiteral("--slot-reply-length"),
                                              QString::number(replyLength)}))
            return false;
        link = std::make_unique<DeviceLink>();
        showLinkReports(*link); // as the window does
        if (transport == QLatin1String("usb")) {
            sim->useUsb();
            if (link->openUsb() == 0)
                return false;
        } else {
            SimProcess::noUsb();
            link->setEndpoint(QStringLiteral("127.0.0.1"), sim->port());
            link->setWlanChecked(true);
        }
        page = std::make_unique<MemoryPage>(*link);
        // The simulator writes its slots once its event loop runs.
        return QTest::qWaitFor([this] { return simSlots().size() == kSlotImageSize; }, 5000);
    }
    QString transport() const {
        return QString::fromLatin1(QTest::currentDataTag()).section(QLatin1Char('/'), 0, 0);
    }
    bool shortReplies() const { return QByteArray(QTest::currentDataTag()).endsWith("/256"); }
    QByteArray simSlots() const {
        return test::fileContents(sim->stateDir() + QStringLiteral("/slots.bin"));
    }
    // What a read leaves in an image that held `before` (16128 bytes): the
    // receiver's records, where replies of 256 bytes keep each record's last
    // 8 bytes from `before`.
    QByteArray afterRead(const QByteArray &receiver, const QByteArray &before) const {
        QByteArray want = receiver;
        if (shortReplies())
            for (int s = 0; s < kSlotCount; ++s)
                want.replace(s * 256 + 248, 8, before.mid(s * 256 + 248, 8));
        return want;
    }
    // The message that ends a whole read.
    QStringList readMessages() const {
        if (!shortReplies())
            return {};
        return {QStringLiteral("The device sent 248 of the 256 bytes of a slot; the last 8 bytes "
                               "of such slots were not received and keep their previous "
                               "content.")};
    }
    QList<QByteArray> requests(char command) const {
        QList<QByteArray> out;
        for (const QByteArray &r : sim->requests(transport()))
            if (!r.isEmpty() && r[0] == command)
                out << r;
        return out;
    }
    QString cell(int row, int col) { return page->cellText(row, col); }
    QString bytesLabel() { return page->findChild<QLabel *>("L_SBytes")->text(); }
    QString listItem() { return page->findChild<QListWidget *>("LB_Speicher")->item(0)->text(); }
    QPushButton *button(const char *name) { return page->findChild<QPushButton *>(name); }
    MemoryImage &image() { return page->memorySlots().image(); }

    void transports() {
        QTest::addColumn<QString>("transport");
        QTest::addColumn<int>("replyLength");
        for (const char *t : {"wlan", "usb"})
            for (int length : {264, 256})
                QTest::addRow("%s/%d", t, length) << QString::fromLatin1(t) << length;
    }

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void init() { dlg = std::make_unique<ScriptedDialogs>(); }
    void cleanup() {
        page.reset();
        link.reset();
        sim.reset();
        dlg.reset();
        SimProcess::noUsb();
    }

    void readAll_data() { transports(); }
    void readAll() {
        QVERIFY(connectTo());
        // A file first: a 256-byte reply keeps its bytes 248..255 of each slot.
        QTemporaryDir dir;
        const QByteArray before = test::pseudoRandomBytes(kSlotImageSize);
        QVERIFY(test::writeFileContents(dir.filePath("vorher.Mem"), before));
        page->openMemFile(dir.filePath("vorher.Mem"));
        button("B_Laden")->click();
        QCOMPARE(dlg->texts, readMessages());
        const QByteArray stored = simSlots();
        QCOMPARE(stored.size(), kSlotImageSize);
        QCOMPARE(image().data(), afterRead(stored, before));
        QCOMPARE(requests(0x10).size(), 63);
        QCOMPARE(requests(0x10).first(), QByteArray(1, char(0x10)));
        for (int r = 1; r <= 63; ++r) {
            const SlotRowTexts t = slotRowTexts(stored.mid((r - 1) * 256, 256));
            for (int c = ColName; c < SlotColumnCount; ++c)
                QCOMPARE(cell(r, c), t[size_t(c)].value_or(QString()));
        }
        QCOMPARE(cell(1, ColName), QStringLiteral("DCF77"));
        QCOMPARE(cell(1, ColFrequenz), QStringLiteral("00.077.500,0"));
        QCOMPARE(bytesLabel(), QStringLiteral("16128  OK!"));
        QCOMPARE(listItem(), QStringLiteral("Read from LMK54!"));
        QVERIFY(button("B_Speichern")->isEnabled());
    }

    void writeBackEditedName_data() { transports(); }
    void writeBackEditedName() {
        QVERIFY(connectTo());
        page->B_LadenClick();
        QCOMPARE(dlg->texts, readMessages());
        dlg->texts.clear();
        const QByteArray before = afterRead(simSlots(), QByteArray(kSlotImageSize, char(0)));
        QCOMPARE(page->model().setCellText(5, ColName, QStringLiteral("Neuer Name")), QString());
        QCOMPARE(page->model().setCellText(5, ColVersion, QStringLiteral("9")), QString());
        // With 248-byte replies the write says first what it does to the
        // other 8 bytes of every slot, and goes on when told so.
        dlg->answers << true;
        button("B_Speichern")->click();
        if (shortReplies()) {
            QCOMPARE(dlg->texts.size(), 1);
            QVERIFY(dlg->texts.first().startsWith(QStringLiteral("The receiver sends 248")));
        } else {
            QVERIFY2(dlg->texts.isEmpty(), qPrintable(dlg->texts.join('|')));
        }
        QCOMPARE(bytesLabel(), QStringLiteral("16128  OK!"));
        QCOMPARE(requests(0x11).size(), 63);
        QByteArray want = before;
        want.replace(4 * 256 + 18, 17, "Neuer Name       ");
        want[4 * 256 + 1] = char(0xC9);
        QCOMPARE(simSlots(), want);
        QCOMPARE(image().data(), want);
    }

    void writeRefusedAtFirstSlot_data() { transports(); }
    void writeRefusedAtFirstSlot() {
        QVERIFY(connectTo({"--slot-refuse", "1"}));
        image().setSize(kSlotImageSize);
        const QByteArray before = simSlots();
        page->B_SpeichernClick();
        QCOMPARE(dlg->texts, QStringList{"Error on saving!\nWriting stopped at slot 1 of 63: no "
                                         "slot was changed."});
        QCOMPARE(bytesLabel(), QStringLiteral("0"));
        QCOMPARE(requests(0x11).size(), 1);
        QVERIFY(button("B_Laden")->isEnabled());
        QVERIFY(button("B_Speichern")->isEnabled());
        QCOMPARE(simSlots(), before);
    }

    void clearThenRead_data() { transports(); }
    void clearThenRead() {
        QVERIFY(connectTo());
        dlg->answers << false << true;
        button("B_Loeschen")->click(); // No
        QVERIFY(requests(0x11).isEmpty());
        button("B_Loeschen")->click(); // Yes
        QCOMPARE(dlg->texts, QStringList(2, "Wirklich alle Speicherplätze im LMK54 löschen?"));
        QCOMPARE(requests(0x11).size(), 63);
        QCOMPARE(bytesLabel(), QStringLiteral("16128  OK!"));
        QCOMPARE(simSlots(), QByteArray(kSlotImageSize, char(0)));
        dlg->texts.clear();
        page->B_LadenClick();
        QCOMPARE(dlg->texts, readMessages());
        const QStringList zero{"",       "00.000.000,0", "Auto", "0",    "  0", "75 kHz",
                               "50 Ohm", " 0 dB",        "Auto", "Auto", "0"};
        for (int r = 1; r <= 63; ++r)
            for (int c = ColName; c < SlotColumnCount; ++c)
                QCOMPARE(cell(r, c), zero[c - 1]);
    }

    void silenceEndsWithTimeout_data() { transports(); }
    void silenceEndsWithTimeout() {
        QVERIFY(connectTo({"--slot-silent", "2"}));
        QElapsedTimer t;
        t.start();
        page->B_LadenClick();
        QVERIFY(t.elapsed() < 10000);
        QCOMPARE(dlg->texts, QStringList{"Timeout: Device doesn't respond!\nReading stopped at "
                                         "slot 2 of 63; the memory slots were not changed."});
        QCOMPARE(bytesLabel(), QStringLiteral("256"));
        QCOMPARE(image().size(), qint64(0));
        QVERIFY(button("B_Laden")->isEnabled());
        QVERIFY(!button("B_Speichern")->isEnabled()); // as before the read
        QVERIFY(!link->exchangeRunning());
        // The link still works afterwards.
        dlg->texts.clear();
        page->B_LadenClick();
        QVERIFY(dlg->texts.size() <= 1);
    }

    void writeFromLongMemFile_data() { transports(); }
    void writeFromLongMemFile() {
        QVERIFY(connectTo());
        QTemporaryDir dir;
        QByteArray content(kSlotImageSize + 700, Qt::Uninitialized);
        for (int i = 0; i < content.size(); ++i)
            content[i] = char((i * 5 + i / 256) & 0xFF);
        {
            QFile f(dir.filePath("lang.Mem"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        page->openMemFile(dir.filePath("lang.Mem"));
        QVERIFY(button("B_Speichern")->isEnabled());
        button("B_Speichern")->click();
        QVERIFY2(dlg->texts.isEmpty(), qPrintable(dlg->texts.join('|')));
        QCOMPARE(requests(0x11).size(), 63);
        QCOMPARE(simSlots(), content.left(kSlotImageSize));
        page->saveMemFile(dir.filePath("wieder.Mem"));
        QFile f(dir.filePath("wieder.Mem"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), content); // the tail stays in the image and the file
    }

    void droppedLinkEndsRead_data() {
        QTest::addColumn<QString>("transport");
        QTest::addColumn<int>("replyLength");
        QTest::newRow("wlan/264") << QStringLiteral("wlan") << 264;
    }
    void droppedLinkEndsRead() {
        QVERIFY(connectTo({"--fault", "10#2:close"}));
        QElapsedTimer t;
        t.start();
        page->B_LadenClick();
        QVERIFY(t.elapsed() < 5000);
        QVERIFY(!dlg->texts.isEmpty());
        QCOMPARE(dlg->texts.first(), QStringLiteral("LMK doesn't respond to WLAN!"));
        QVERIFY(!dlg->texts.contains(QStringLiteral("Timeout: Device doesn't respond!")));
        QVERIFY(!link->wlanChecked());
        QCOMPARE(bytesLabel(), QStringLiteral("256"));
        QCOMPARE(image().size(), qint64(0));
        QVERIFY(button("B_Laden")->isEnabled());
        QVERIFY(!button("B_Speichern")->isEnabled()); // as before the read
    }

    // A read is whole only when slots 1 to 63 each came once; anything else
    // names the slots and leaves the image, the grid and the file name as
    // they were (before: exit "Read from LMK54!" with those slots zero).
    void readIsCompleteBySlotNumber_data() {
        QTest::addColumn<QString>("transport");
        QTest::addColumn<int>("replyLength");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        const QString end = QStringLiteral(" The memory slots were not changed.");
        for (const char *t : {"wlan", "usb"}) {
            QTest::addRow("%s/slot 4 twice", t)
                << QString::fromLatin1(t) << 264 << "4:twice"
                << "Error on reading! Slot 63 did not come; slot 4 came more than once." + end;
            QTest::addRow("%s/status word for slot 5", t)
                << QString::fromLatin1(t) << 264 << "5:status"
                << "Error on reading! The device answered 1 read request with a status word "
                   "instead of a slot; slot 5 did not come." + end;
            QTest::addRow("%s/slot number 64", t)
                << QString::fromLatin1(t) << 256 << "7:number=64"
                << "Error on reading! Slot 7 did not come; records for slot number 64 came "
                   "(there are only slots 1 to 63; they were not stored)." + end;
        }
    }
    void readIsCompleteBySlotNumber() {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        QVERIFY(connectTo({"--slot-fault", fault}));
        QTemporaryDir dir;
        const QByteArray before = test::pseudoRandomBytes(kSlotImageSize);
        QVERIFY(test::writeFileContents(dir.filePath("vorher.Mem"), before));
        page->openMemFile(dir.filePath("vorher.Mem"));
        const QString row5 = cell(5, ColName);
        page->B_LadenClick();
        QCOMPARE(dlg->texts, QStringList{message});
        QCOMPARE(requests(0x10).size(), 63);
        QCOMPARE(image().data(), before);
        QCOMPARE(cell(5, ColName), row5);
        QCOMPARE(listItem(), QStringLiteral("vorher.Mem"));
        QVERIFY(button("B_Laden")->isEnabled());
    }

    void shortRecordIsReadError_data() { transports(); }
    void shortRecordIsReadError() {
        QVERIFY(connectTo({"--slot-short", "3"}));
        page->B_LadenClick();
        QCOMPARE(dlg->texts, QStringList{"Error on reading!\nReading stopped at slot 3 of 63; the "
                                         "memory slots were not changed."});
        QCOMPARE(requests(0x10).size(), 3);
        QCOMPARE(image().size(), qint64(0));
        QCOMPARE(cell(2, ColName), QString());
        QVERIFY(button("B_Laden")->isEnabled());
        QVERIFY(!button("B_Speichern")->isEnabled());
    }
};

QTEST_MAIN(TstSlotTransfer)
#include "tst_slottransfer.moc"
