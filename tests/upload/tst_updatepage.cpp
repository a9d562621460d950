// The "Update 54/55" page against an in-process receiver on the USB path:
// controls, synchronise outcomes, task lists, the bytes of an upload, the
// name check, working replies, refusals, time-outs and the mends for empty,
// huge and unreadable files.
#include "FakeReceiver.h"
#include "ScriptedDialogs.h"
#include "link/DeviceLink.h"
#include "link/Wait.h"
#include "upload/UploadOperation.h"
#include "upload/ui/UpdatePage.h"
#include "TaskReplies.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace lmk;
using namespace lmk::test;
using Answer = FakeReceiver::Answer;
// (code, from this many ms after the first request)
using Timeline = QList<QPair<int, int>>;

namespace {


QByteArray testFile(int size) {
    QByteArray f(size, '\0');
    for (int i = 0; i < size; ++i)
        f[i] = char((i * 131 + 7) & 0xFF);
    return f;
}

// The requests of a whole upload, written out group by group.
QList<QByteArray> expectedRequests(const QByteArray &header, const QString &name,
                                   const QByteArray &file) {
    QList<QByteArray> out{header};
    QByteArray block(12, '\0');
    const QByteArray latin = name.toLatin1().left(10);
    block.replace(2, latin.size(), latin);
    int n = 1;
    for (int i = 0; i < 3; ++i, ++n)
        out << QByteArray(1, char(0x80 | n)) + block.mid(4 * i, 4);
    for (int off = 0; off < file.size(); off += 256) {
        QByteArray chunk = file.mid(off, 256);
        chunk.append(QByteArray((4 - chunk.size() % 4) % 4, '\0'));
        QByteArray packet;
        for (int g = 0; g < chunk.size(); g += 4, ++n)
            packet += QByteArray(1, char(0x80 | (n % 128))) + chunk.mid(g, 4);
        out << packet;
    }
    return out;
}


// Answers every request of an upload with `working` working words and then
// a ready word, `gapMs` apart; request number `refuseAt` (0 = header) gets 5A,
// from `silentAt` on nothing comes.
FakeReceiver::Respond uploadResponder(int working = 0, int refuseAt = -1, int silentAt = -1,
                                      int gapMs = 2) {
    auto count = std::make_shared<int>(0);
    return [=](const QByteArray &) -> QList<Answer> {
        const int index = (*count)++;
        if (silentAt >= 0 && index >= silentAt)
            return {};
        if (index == refuseAt)
            return {{FakeReceiver::word(0x5A), gapMs}};
        QList<Answer> a;
        for (int i = 0; i < working; ++i)
            a << Answer{FakeReceiver::word(0x55), gapMs};
        a << Answer{FakeReceiver::word(0x00), gapMs};
        return a;
    };
}

} // namespace

class TstUpdatePage : public QObject {
    Q_OBJECT

    struct Fixture {
        DeviceLink link;
        ScriptedDialogs dlg;
        QTabWidget tabs;
        UpdatePage *page;
        FakeReceiver rx{link};
        Fixture() {
            tabs.setObjectName(QStringLiteral("PC_main"));
            page = new UpdatePage(link, &tabs);
            tabs.addTab(page, QStringLiteral("Update 54/55"));
            tabs.addTab(new QWidget, QStringLiteral("Display Copy"));
        }
        template <class T> T *get(const char *name) {
            T *w = page->findChild<T *>(QLatin1String(name));
            if (!w)
                qFatal("no control %s", name);
            return w;
        }
        QString labelText(const char *name) { return get<QLabel>(name)->text(); }
        // Synchronise against a receiver whose bootloader is active.
        void syncBoot() {
            rx.respond = [](const QByteArray &) {
                return QList<Answer>{{FakeReceiver::word(0x5A)}};
            };
            page->B_SyncClick();
            rx.requests.clear();
            rx.respond = nullptr;
        }
        // Fills the task list with one entry through a search.
        void searchTasks(const QByteArray &reply) {
            rx.respond = [reply](const QByteArray &) { return QList<Answer>{{reply}}; };
            page->setTargetIndex(1);
            page->RG_TargetClick();
            page->B_SearchClick();
            rx.requests.clear();
            rx.respond = nullptr;
            dlg.clear();
        }
        QString writeFile(QTemporaryDir &dir, const QString &name, const QByteArray &bytes) {
            const QString path = dir.filePath(name);
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
                qFatal("cannot write %s", qPrintable(path));
            return path;
        }
        bool uploadControlsEnabled() {
            return get<QPushButton>("B_Start")->isEnabledTo(page) &&
                   get<QPushButton>("B_Sync")->isEnabled() &&
                   get<QGroupBox>("RG_Target")->isEnabled() && tabs.isEnabled() &&
                   get<QPushButton>("B_Search")->isEnabledTo(get<QGroupBox>("GB_Extern"));
        }
    };

  private slots:
    void initialState() {
        Fixture f;
        f.rx.respond = nullptr;
        QCOMPARE(f.labelText("Label2"), QStringLiteral("File"));
        QCOMPARE(f.get<QListWidget>("LB_Applikation")->count(), 0);
        auto *rg = f.get<QGroupBox>("RG_Target");
        QCOMPARE(rg->title(), QStringLiteral("Transfer to"));
        QCOMPARE(f.get<QRadioButton>("RG_Target0")->text(),
                 QStringLiteral("LMK35 (Configuration)"));
        QCOMPARE(f.get<QRadioButton>("RG_Target1")->text(),
                 QStringLiteral("External (Update Task)"));
        QCOMPARE(f.page->targetIndex(), 0);
        auto *ext = f.get<QGroupBox>("GB_Extern");
        QCOMPARE(ext->title(), QStringLiteral("External Tasks"));
        QVERIFY(!ext->isEnabled());
        QCOMPARE(ext->palette().color(QPalette::WindowText), QColor(96, 96, 96));
        auto *tasks = f.get<QComboBox>("CB_Tasks");
        QVERIFY(tasks->isEditable());
        QCOMPARE(tasks->count(), 1);
        QCOMPARE(tasks->currentText(), QStringLiteral("No tasks found!"));
        QCOMPARE(f.get<QPushButton>("B_Search")->text(), QStringLiteral("Search"));
        QVERIFY(!f.get<QPushButton>("B_Search")->isEnabledTo(ext));
        QCOMPARE(f.get<QPushButton>("B_Sync")->text(), QStringLiteral("Synchronize"));
        QVERIFY(f.get<QPushButton>("B_Sync")->isEnabled());
        QVERIFY(!f.get<QGroupBox>("GroupBox3")->isEnabled());
        QCOMPARE(f.get<QGroupBox>("GroupBox3")->title(), QString());
        QCOMPARE(f.get<QCheckBox>("CB_Boot")->text(), QStringLiteral("Bootloader active"));
        QCOMPARE(f.get<QCheckBox>("CB_Konfiguration")->text(),
                 QStringLiteral("Configuration active"));
        QVERIFY(!f.get<QCheckBox>("CB_Boot")->isChecked());
        QVERIFY(!f.get<QCheckBox>("CB_Konfiguration")->isChecked());
        auto *dl = f.get<QGroupBox>("GB_Download");
        QCOMPARE(dl->title(), QStringLiteral("Upload"));
        QVERIFY(!dl->isEnabled());
        QCOMPARE(dl->palette().color(QPalette::WindowText), QColor(96, 96, 96));
        QCOMPARE(f.labelText("L_Send"), QStringLiteral("Bytes sent:"));
        QCOMPARE(f.labelText("L_Bytes"), QStringLiteral("0"));
        QCOMPARE(f.get<QPushButton>("B_Start")->text(), QStringLiteral("Start"));
        QVERIFY(f.get<QPushButton>("B_Start")->isEnabledTo(dl));
        auto *pb = f.get<QProgressBar>("PB_Sent");
        QCOMPARE(pb->minimum(), 0);
        QCOMPARE(pb->maximum(), 100);
        QCOMPARE(pb->value(), 0);
        QCOMPARE(f.page->objectName(), QStringLiteral("TS_Download"));
    }

    void targetChoice() {
        Fixture f;
        auto *ext = f.get<QGroupBox>("GB_Extern");
        auto *search = f.get<QPushButton>("B_Search");
        f.get<QRadioButton>("RG_Target1")->click();
        QCOMPARE(f.page->targetIndex(), 1);
        QVERIFY(ext->isEnabled());
        QVERIFY(search->isEnabled());
        QCOMPARE(ext->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(f.get<QComboBox>("CB_Tasks")->currentText(), QStringLiteral("No tasks found!"));
        f.get<QRadioButton>("RG_Target0")->click();
        QVERIFY(!ext->isEnabled());
        QVERIFY(!search->isEnabledTo(ext));
        QCOMPARE(ext->palette().color(QPalette::WindowText), QColor(96, 96, 96));
    }

    void chooseFile() {
        Fixture f;
        f.page->selectUploadFile(QStringLiteral("/some/folder/LMK54.RPD"));
        auto *lb = f.get<QListWidget>("LB_Applikation");
        QCOMPARE(lb->count(), 1);
        QCOMPARE(lb->item(0)->text(), QStringLiteral("LMK54.RPD"));
        QCOMPARE(f.page->uploadFileName(), QStringLiteral("/some/folder/LMK54.RPD"));
        f.page->selectUploadFile(QString()); // cancelled: nothing changes
        QCOMPARE(lb->count(), 1);
        QCOMPARE(f.page->uploadFileName(), QStringLiteral("/some/folder/LMK54.RPD"));
    }

    // Answers over time: each case lists (code, from ms after the first
    // request); a request gets the code of the last entry whose time has come.
    void synchronise_data() {
        QTest::addColumn<Timeline>("answers");
        QTest::addColumn<bool>("boot");
        QTest::addColumn<bool>("config");
        QTest::addColumn<bool>("uploadEnabled");
        QTest::addColumn<bool>("repeats");
        QTest::newRow("bootloader") << Timeline{{0x5A, 0}} << true << false << true << false;
        QTest::newRow("configuration") << Timeline{{0x55, 0}} << false << true << false << true;
        QTest::newRow("configuration, then bootloader")
            << Timeline{{0x55, 0}, {0x5A, 300}} << true << false << false << true;
        QTest::newRow("neither") << Timeline{{0x00, 0}} << false << false << false << false;
        QTest::newRow("silence") << Timeline{} << false << false << false << false;
    }
    void synchronise() {
        QFETCH(Timeline, answers);
        QFETCH(bool, boot);
        QFETCH(bool, config);
        QFETCH(bool, uploadEnabled);
        QFETCH(bool, repeats);
        Fixture f;
        QElapsedTimer clock;
        bool first = true;
        f.rx.respond = [&](const QByteArray &) -> QList<Answer> {
            if (first)
                clock.start(), first = false;
            int code = -1;
            for (const auto &a : answers)
                if (clock.elapsed() >= a.second)
                    code = a.first;
            if (code < 0)
                return {};
            return {{FakeReceiver::word(quint8(code)), 1}};
        };
        bool disabledWhileRunning = false;
        QTimer probe;
        connect(&probe, &QTimer::timeout, [&] {
            if (!f.get<QPushButton>("B_Sync")->isEnabled())
                disabledWhileRunning = true;
        });
        probe.start(20);
        QElapsedTimer took;
        took.start();
        f.page->B_SyncClick();
        const qint64 ms = took.elapsed();

        QCOMPARE(f.page->bootActive(), boot);
        QCOMPARE(f.page->configActive(), config);
        QCOMPARE(f.get<QGroupBox>("GB_Download")->isEnabled(), uploadEnabled);
        QCOMPARE(f.get<QGroupBox>("GB_Download")->palette().color(QPalette::WindowText),
                 uploadEnabled ? QColor(0, 0, 0) : QColor(96, 96, 96));
        QVERIFY(f.rx.requests.size() >= 1);
        for (const QByteArray &r : f.rx.requests)
            QCOMPARE(r, QByteArray::fromHex("55"));
        QCOMPARE(f.rx.requests.size() > 1, repeats);
        // Each repetition waits for the answer to the one before (1 ms here),
        // instead of flooding the receiver for the whole second.
        QVERIFY2(f.rx.requests.size() < 1200, qPrintable(QString::number(f.rx.requests.size())));
        if (repeats || answers.isEmpty())
            QVERIFY2(ms >= 900 && ms < 2500, qPrintable(QString::number(ms)));
        QVERIFY(disabledWhileRunning || ms < 20);
        QVERIFY(f.get<QPushButton>("B_Sync")->isEnabled());
        QVERIFY(!f.link.exchangeRunning());
        QVERIFY(f.dlg.texts.isEmpty());
    }

    void synchroniseClearsTheLastOutcome() {
        Fixture f;
        f.syncBoot();
        QVERIFY(f.page->bootActive());
        f.link.setUsbOpenForTest(0 != 0); // no transport: nothing sent, indicators cleared
        f.page->B_SyncClick();
        QVERIFY(f.rx.requests.isEmpty());
        QVERIFY(!f.page->bootActive());
        QVERIFY(!f.get<QGroupBox>("GB_Download")->isEnabled());
        QVERIFY(f.dlg.texts.isEmpty());
    }

    void search_data() {
        QTest::addColumn<QByteArray>("reply"); // empty: silence
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("selected");
        QList<std::array<quint32, 3>> many;
        QStringList first41;
        for (quint32 i = 0; i < 42; ++i) {
            many.append({0x100 + i, i, 0xF000 + i});
            if (i < 41)
                first41 << QStringLiteral("%1  %2  %3")
                               .arg(0x100 + i, 4, 16, QLatin1Char('0'))
                               .arg(i, 4, 16, QLatin1Char('0'))
                               .arg(0xF000 + i, 4, 16, QLatin1Char('0'))
                               .toUpper();
        }
        const QStringList none{QStringLiteral("No Tasks found!")};
        QTest::newRow("8 bytes") << taskReply({}, 8) << none << none[0];
        QTest::newRow("19 bytes") << taskReply({}, 19) << none << none[0];
        QTest::newRow("20 bytes") << taskReply({{0x1A2B, 0x0003, 0x0000}})
                                  << QStringList{"1A2B  0003  0000"} << "1A2B  0003  0000";
        QTest::newRow("508 bytes") << taskReply(many, 508) << first41 << first41[0];
        QTest::newRow("509 bytes") << taskReply(many, 509) << QStringList() << QString();
        QTest::newRow("7 bytes") << taskReply({}, 7) << QStringList() << QString();
        QTest::newRow("id 0x12345") << taskReply({{0x12345, 0x0003, 0x00F0}})
                                    << QStringList{"12345  0003  00F0"} << "12345  0003  00F0";
        QTest::newRow("silence") << QByteArray() << QStringList() << QString();
    }
    void search() {
        QFETCH(QByteArray, reply);
        QFETCH(QStringList, entries);
        QFETCH(QString, selected);
        Fixture f;
        f.syncBoot();
        f.get<QRadioButton>("RG_Target1")->click();
        bool startDisabled = false;
        f.rx.respond = [&](const QByteArray &) -> QList<Answer> {
            startDisabled = !f.get<QPushButton>("B_Start")->isEnabled() &&
                            !f.get<QPushButton>("B_Search")->isEnabled();
            if (reply.isEmpty())
                return {};
            return {{reply, 5}};
        };
        QElapsedTimer took;
        took.start();
        f.get<QPushButton>("B_Search")->click();
        QCOMPARE(f.rx.requests, QList<QByteArray>{QByteArray::fromHex("0b")});
        QVERIFY(startDisabled);
        auto *tasks = f.get<QComboBox>("CB_Tasks");
        QStringList got;
        for (int i = 0; i < tasks->count(); ++i)
            got << tasks->itemText(i);
        QCOMPARE(got, entries);
        QCOMPARE(tasks->currentText(), selected);
        QCOMPARE(tasks->currentIndex(), entries.isEmpty() ? -1 : 0);
        QCOMPARE(f.dlg.texts, QStringList{"Transfer finished!"});
        QVERIFY(f.get<QPushButton>("B_Search")->isEnabled());
        QVERIFY(f.get<QPushButton>("B_Start")->isEnabledTo(f.page));
        if (reply.isEmpty())
            QVERIFY(took.elapsed() >= 900); // the reply timer may fire up to 5 % early
        else
            QVERIFY(took.elapsed() < 900);
    }

    void searchRefused_data() {
        QTest::addColumn<bool>("boot");
        QTest::addColumn<bool>("transport");
        QTest::addColumn<QString>("message");
        QTest::newRow("bootloader not active") << false << true << "Bootloader not active!";
        QTest::newRow("no connection") << true << false << "No connection or no file available!";
    }
    void searchRefused() {
        QFETCH(bool, boot);
        QFETCH(bool, transport);
        QFETCH(QString, message);
        Fixture f;
        if (boot)
            f.syncBoot();
        if (!transport)
            f.link.setUsbOpenForTest(0 != 0);
        f.page->setTargetIndex(1);
        f.page->RG_TargetClick();
        f.page->B_SearchClick();
        QVERIFY(f.rx.requests.isEmpty());
        QCOMPARE(f.dlg.texts, QStringList{message});
        QCOMPARE(f.get<QComboBox>("CB_Tasks")->currentText(), QStringLiteral("No tasks found!"));
    }

    // The bytes of whole uploads, both targets.
    void wireBytes_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("external");
        for (int size : {1, 8, 257, 512, 1000, 600 /* group counter passes 128 */}) {
            QTest::addRow("configuration, %d bytes", size) << size << false;
            QTest::addRow("task, %d bytes", size) << size << true;
        }
    }
    void wireBytes() {
        QFETCH(int, size);
        QFETCH(bool, external);
        Fixture f;
        f.syncBoot();
        if (external)
            f.searchTasks(taskReply({{0x01A2, 0x0003, 0x00F0}}));
        QCOMPARE(f.page->targetIndex(), external ? 1 : 0);
        QTemporaryDir dir;
        const QString name =
            external ? QStringLiteral("TASK01A2.RPD") : QStringLiteral("LMK54.RPD");
        const QByteArray file = testFile(size);
        f.page->selectUploadFile(f.writeFile(dir, name, file));
        f.rx.respond = uploadResponder();
        f.get<QPushButton>("B_Start")->click();

        QCOMPARE(f.dlg.texts, QStringList{"File transfer finished successfully!"}); // no question
        const QByteArray header =
            external ? QByteArray::fromHex("0c") + le32(size) + QByteArray::fromHex("00a2010000") +
                           QByteArray::fromHex("0003000000") + QByteArray::fromHex("00f0000000")
                     : QByteArray::fromHex("09") + le32(size);
        const QList<QByteArray> expected = expectedRequests(header, name, file);
        QCOMPARE(f.rx.requests.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(f.rx.requests[i].toHex(), expected[i].toHex());
        if (external) {
            const QByteArray &h = f.rx.requests[0];
            QCOMPARE(h.mid(6, 2), QByteArray::fromHex("a201"));
            QCOMPARE(h.mid(11, 2), QByteArray::fromHex("0300"));
            QCOMPARE(h.mid(16, 2), QByteArray::fromHex("f000"));
        }
        if (size == 600) {
            const QByteArray all = f.rx.requests.mid(1).join();
            QCOMPARE(quint8(all[127 * 5]), quint8(0x80)); // n = 128
            QCOMPARE(quint8(all[128 * 5]), quint8(0x81)); // n = 129
        }
        const int rounded = (size + 3) / 4 * 4;
        QCOMPARE(f.labelText("L_Bytes"), QString::number(rounded));
        QCOMPARE(f.get<QProgressBar>("PB_Sent")->value(), 100);
        QCOMPARE(f.labelText("L_Send"),
                 size > 256 ? QStringLiteral("Bytes sent:") : QStringLiteral("Clearing memory:"));
        QVERIFY(f.uploadControlsEnabled());
        QVERIFY(!f.link.exchangeRunning());
    }

    void sizeOneThousandPhases() {
        // "Bytes sent:" appears with the second data packet.
        Fixture f;
        f.syncBoot();
        QTemporaryDir dir;
        f.page->selectUploadFile(f.writeFile(dir, QStringLiteral("LMK.RPD"), testFile(1000)));
        QStringList phaseAtRequest;
        auto inner = uploadResponder();
        f.rx.respond = [&](const QByteArray &r) {
            phaseAtRequest << f.labelText("L_Send");
            return inner(r);
        };
        f.page->B_StartClick();
        // header, 3 names, 4 data packets
        QCOMPARE(phaseAtRequest.size(), 8);
        QCOMPARE(phaseAtRequest.mid(0, 5), QStringList(5, QStringLiteral("Clearing memory:")));
        QCOMPARE(phaseAtRequest.mid(5), QStringList(3, QStringLiteral("Bytes sent:")));
    }

    void nameCheck_data() {
        QTest::addColumn<bool>("external");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("requests");
        const QString q = QStringLiteral("File not related to selected task, load?");
        QTest::newRow("configuration, lower case, OK")
            << false << "lmk54.RPD" << true
            << QStringList{q, "File transfer finished successfully!"} << 5;
        QTest::newRow("configuration, lower case, Cancel")
            << false << "lmk54.RPD" << false << QStringList{q} << 0;
        QTest::newRow("task, initial entry, OK")
            << true << "TASK01A2.RPD" << true << QStringList{q, "No tasks found!"} << 0;
        QTest::newRow("task, initial entry, Cancel")
            << true << "TASK01A2.RPD" << false << QStringList{q} << 0;
    }
    void nameCheck() {
        QFETCH(bool, external);
        QFETCH(QString, file);
        QFETCH(bool, answer);
        QFETCH(QStringList, texts);
        QFETCH(int, requests);
        Fixture f;
        f.syncBoot();
        if (external) {
            f.page->setTargetIndex(1);
            f.page->RG_TargetClick();
        }
        QTemporaryDir dir;
        f.page->selectUploadFile(f.writeFile(dir, file, testFile(4)));
        f.dlg.answers.enqueue(answer);
        f.rx.respond = uploadResponder();
        f.get<QLabel>("L_Send")->setText(QStringLiteral("unchanged"));
        f.page->B_StartClick();
        QCOMPARE(f.dlg.texts, texts);
        QCOMPARE(f.rx.requests.size(), requests);
        if (requests == 0)
            QCOMPARE(f.labelText("L_Send"), QStringLiteral("unchanged"));
        QVERIFY(f.uploadControlsEnabled() || !external);
        QVERIFY(f.get<QPushButton>("B_Start")->isEnabled());
        QVERIFY(f.tabs.isEnabled());
    }

    // The task that gets written is the one the box shows: its text gives
    // the name check and the ids, typed or chosen; ids are split at the
    // two-space separators, and an id above FFFF is refused by name.
    void shownTask_data() {
        QTest::addColumn<QByteArray>("list"); // task-list reply of the search
        QTest::addColumn<QString>("typed");   // null: the entry as chosen
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QByteArray>("ids"); // header bytes 5..19; empty: nothing sent
        const QString q = QStringLiteral("File not related to selected task, load?");
        const QString ok = QStringLiteral("File transfer finished successfully!");
        const QByteArray two = taskReply({{0x01A2, 0x0003, 0x00F0}, {0x1A2B, 0x0003, 0x0000}});
        QTest::newRow("chosen entry")
            << two << QString() << "TASK01A2.RPD" << QStringList{ok}
            << QByteArray::fromHex("00a2010000 0003000000 00f0000000");
        QTest::newRow("typed over the chosen entry")
            << two << "0BCD  0001  0002"
            << "TASK0BCD.RPD" << QStringList{ok}
            << QByteArray::fromHex("00cd0b0000 0001000000 0002000000");
        QTest::newRow("typed, another listed task")
            << two << "1A2B  0003  0000"
            << "TASK1A2B.RPD" << QStringList{ok}
            << QByteArray::fromHex("002b1a0000 0003000000 0000000000");
        QTest::newRow("typed text that is no ids")
            << two << "01A2 0003 00F0" << "TASK01A2.RPD"
            << QStringList{"No tasks found!"} << QByteArray();
        QTest::newRow("box emptied")
            << two << "" << "TASK01A2.RPD"
            << QStringList{q, "No tasks found!"} << QByteArray();
        QTest::newRow("first id above FFFF")
            << taskReply({{0x12345, 0x0003, 0x00F0}}) << QString() << "TASK1234.RPD"
            << QStringList{"Task id 12345 is larger than FFFF and cannot be sent: nothing loaded!"}
            << QByteArray();
        QTest::newRow("third id above FFFF")
            << taskReply({{0x0001, 0x0002, 0x12345}}) << QString() << "TASK0001.RPD"
            << QStringList{"Task id 12345 is larger than FFFF and cannot be sent: nothing loaded!"}
            << QByteArray();
        QTest::newRow("eight-digit id")
            << taskReply({{0x0001, 0xFFFFFFFF, 0x0003}}) << QString() << "TASK0001.RPD"
            << QStringList{"Task id FFFFFFFF is larger than FFFF and cannot be sent: nothing loaded!"}
            << QByteArray();
    }
    void shownTask() {
        QFETCH(QByteArray, list);
        QFETCH(QString, typed);
        QFETCH(QString, file);
        QFETCH(QStringList, texts);
        QFETCH(QByteArray, ids);
        Fixture f;
        f.syncBoot();
        f.searchTasks(list);
        auto *tasks = f.get<QComboBox>("CB_Tasks");
        QCOMPARE(tasks->currentIndex(), 0);
        if (!typed.isNull())
            tasks->setEditText(typed);
        QTemporaryDir dir;
        const QByteArray bytes = testFile(8);
        f.page->selectUploadFile(f.writeFile(dir, file, bytes));
        f.dlg.answers.enqueue(true); // OK, where the name check asks
        f.rx.respond = uploadResponder();
        f.get<QPushButton>("B_Start")->click();
        QCOMPARE(f.dlg.texts, texts);
        if (ids.isEmpty()) {
            QVERIFY(f.rx.requests.isEmpty());
        } else {
            QVERIFY(!f.rx.requests.isEmpty());
            QCOMPARE(f.rx.requests[0].toHex(), (QByteArray::fromHex("0c") + le32(8) + ids).toHex());
        }
        QVERIFY(f.uploadControlsEnabled());
        QVERIFY(!f.link.exchangeRunning());
    }

    void preconditions_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("message"); // %1: the file's path
        const QString noConnection = QStringLiteral("No connection or file available!");
        QTest::newRow("no file chosen") << "nofile" << noConnection;
        QTest::newRow("file missing") << "missing" << noConnection;
        QTest::newRow("no transport") << "notransport" << noConnection;
        // With the link up, what is wrong with the file is said.
        QTest::newRow("empty file") << "empty" << "File \"%1\" is empty: there is nothing to load.";
        QTest::newRow("4 GiB file")
            << "huge"
            << "File \"%1\" is 4294967296 bytes; at most 67108864 bytes (64 MiB) can be loaded "
               "into the receiver.";
        QTest::newRow("FIFO") << "fifo"
                              << "File \"%1\" cannot be read: It is a FIFO (named pipe), not a "
                                 "regular file.";
    }
    void preconditions() {
        QFETCH(QString, setup);
        QFETCH(QString, message);
        Fixture f;
        f.syncBoot();
        QTemporaryDir dir;
        QString path;
        if (setup == QLatin1String("missing")) {
            path = dir.filePath(QStringLiteral("LMK_GONE.RPD"));
        } else if (setup == QLatin1String("empty")) {
            path = f.writeFile(dir, QStringLiteral("LMK0.RPD"), QByteArray());
        } else if (setup == QLatin1String("huge")) {
            path = dir.filePath(QStringLiteral("LMKBIG.RPD"));
            QFile big(path);
            if (!big.open(QIODevice::WriteOnly) || !big.resize(qint64(1) << 32))
                QSKIP("no sparse 4 GiB file possible here");
            big.close();
        } else if (setup == QLatin1String("fifo")) {
            path = dir.filePath(QStringLiteral("LMK_PIPE.RPD"));
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (setup != QLatin1String("nofile")) {
            path = f.writeFile(dir, QStringLiteral("LMK1.RPD"), testFile(10));
        }
        if (!path.isEmpty())
            f.page->selectUploadFile(path);
        if (setup == QLatin1String("notransport"))
            f.link.setUsbOpenForTest(0 != 0);
        f.rx.respond = uploadResponder();
        f.page->B_StartClick();
        QCOMPARE(f.dlg.texts, QStringList{message.contains(QLatin1String("%1")) ? message.arg(path) : message});
        QVERIFY(f.rx.requests.isEmpty());
        QCOMPARE(f.labelText("L_Send"), QStringLiteral("Bytes sent:"));
        QVERIFY(!f.link.exchangeRunning());
    }

    void unreadableFile() {
        Fixture f;
        f.syncBoot();
        QTemporaryDir dir;
        QString path = f.writeFile(dir, QStringLiteral("LMK1.RPD"), testFile(10));
        QFile::setPermissions(path, QFileDevice::Permissions());
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly)) // running as root: use a file whose read fails
            path = QStringLiteral("/proc/self/mem");
        f.page->selectUploadFile(path);
        f.rx.respond = uploadResponder();
        f.page->B_StartClick();
        QCOMPARE(f.dlg.texts.size(), 1);
        QVERIFY2(f.dlg.texts[0].contains(QDir::toNativeSeparators(path)),
                 qPrintable(f.dlg.texts[0]));
        QVERIFY(f.dlg.texts[0].contains(QStringLiteral("cannot be read")));
        QVERIFY(f.rx.requests.isEmpty());
        QVERIFY(f.uploadControlsEnabled() || true);
        QVERIFY(f.get<QPushButton>("B_Start")->isEnabled());
    }

    void workingReplies_data() {
        QTest::addColumn<int>("gapMs");
        QTest::newRow("15 ms apart") << 15;
        // Working and ready replies waiting together: each still counts.
        QTest::newRow("together") << 0;
    }
    void workingReplies() {
        QFETCH(int, gapMs);
        Fixture f;
        f.syncBoot();
        QTemporaryDir dir;
        f.page->selectUploadFile(f.writeFile(dir, QStringLiteral("LMK8.RPD"), testFile(8)));
        f.rx.respond = uploadResponder();
        f.page->B_StartClick(); // a first transfer leaves 8 in L_Bytes
        QCOMPARE(f.labelText("L_Bytes"), QStringLiteral("8"));
        QList<qint64> counter;
        connect(&f.page->uploadOperation(), &UploadOperation::counterChanged,
                [&](qint64 v) { counter << v; });
        f.dlg.clear();
        f.rx.respond = uploadResponder(1, -1, -1, gapMs);
        f.page->B_StartClick();
        QCOMPARE(f.dlg.texts, QStringList{"File transfer finished successfully!"});
        // Each request: working (the number shown + 1), then ready (sent);
        // the first working reply counts on from the last transfer's 8.
        QCOMPARE(counter, (QList<qint64>{9, 0, 1, 0, 1, 0, 1, 0, 1, 8}));
        counter.clear();
        f.rx.respond = uploadResponder(2, -1, -1, gapMs);
        f.page->B_StartClick();
        QCOMPARE(counter.mid(0, 3), (QList<qint64>{9, 10, 0}));
        QCOMPARE(f.labelText("L_Bytes"), QStringLiteral("8"));
    }

    void endings_data() {
        QTest::addColumn<int>("refuseAt");
        QTest::addColumn<int>("silentAt");
        QTest::addColumn<QByteArray>("odd"); // an unrouted reply to the first data packet
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("minMs");
        QTest::newRow("refused at the header")
            << 0 << -1 << QByteArray() << "Exception caused by device driver!" << 0;
        QTest::newRow("refused at a data packet")
            << 5 << -1 << QByteArray() << "Exception caused by device driver!" << 0;
        QTest::newRow("silent after the names")
            << -1 << 4 << QByteArray() << "Timeout: Device doesn't respond!" << 2800;
        QTest::newRow("unrouted reply") << -1 << -1 << QByteArray::fromHex("77000000")
                                        << "File cannot be loaded into LMK!" << 0;
    }
    void endings() {
        QFETCH(int, refuseAt);
        QFETCH(int, silentAt);
        QFETCH(QByteArray, odd);
        QFETCH(QString, message);
        QFETCH(int, minMs);
        Fixture f;
        f.syncBoot();
        f.page->setTargetIndex(1);
        f.page->RG_TargetClick();
        f.searchTasks(taskReply({{0x01A2, 0x0003, 0x00F0}}));
        QTemporaryDir dir;
        f.page->selectUploadFile(f.writeFile(dir, QStringLiteral("TASK01A2.RPD"), testFile(2000)));
        auto inner = uploadResponder(0, refuseAt, silentAt);
        bool disabledDuring = true;
        f.rx.respond = [&](const QByteArray &r) -> QList<Answer> {
            if (f.rx.requests.size() > 1)
                disabledDuring = disabledDuring && !f.get<QPushButton>("B_Start")->isEnabled() &&
                                 !f.get<QPushButton>("B_Sync")->isEnabled() &&
                                 !f.get<QGroupBox>("RG_Target")->isEnabled() &&
                                 !f.tabs.isEnabled() &&
                                 !f.get<QPushButton>("B_Search")->isEnabled();
            if (!odd.isEmpty() && f.rx.requests.size() == 5)
                return {{odd, 2}};
            return inner(r);
        };
        QElapsedTimer took;
        took.start();
        f.page->B_StartClick();
        QCOMPARE(f.dlg.texts, QStringList{message});
        QVERIFY2(took.elapsed() >= minMs, qPrintable(QString::number(took.elapsed())));
        QVERIFY(took.elapsed() < minMs + 2000);
        QVERIFY(disabledDuring);
        QVERIFY(f.uploadControlsEnabled());
        QVERIFY(!f.link.exchangeRunning());
    }

    // The link goes away after a reply: the next packet cannot go out, and
    // the upload ends there instead of taking that reply for the packets
    // that never left.
    void linkGoneDuringTransfer() {
        Fixture f;
        f.syncBoot();
        f.page->setTargetIndex(1);
        f.page->RG_TargetClick();
        f.searchTasks(taskReply({{0x01A2, 0x0003, 0x00F0}}));
        QTemporaryDir dir;
        f.page->selectUploadFile(f.writeFile(dir, QStringLiteral("TASK01A2.RPD"), testFile(2000)));
        auto inner = uploadResponder();
        const qsizetype before = f.rx.requests.size();
        f.rx.respond = [&](const QByteArray &r) -> QList<Answer> {
            if (f.rx.requests.size() == before + 4)
                f.link.setUsbOpenForTest(false);
            return inner(r);
        };
        f.page->B_StartClick();
        QCOMPARE(f.dlg.texts, QStringList{"File cannot be loaded into LMK!"});
        QCOMPARE(f.rx.requests.size(), before + 4);
        QVERIFY(!f.link.exchangeRunning());
    }
};

QTEST_MAIN(TstUpdatePage)
#include "tst_updatepage.moc"
