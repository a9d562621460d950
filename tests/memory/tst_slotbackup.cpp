// Backups of the receiver's slots: the folder (names, newest first, the
// newest 50 kept, a folder that cannot be made) and the read into a backup
// against lmk-sim, which leaves the window's image and its reply handlers
// alone.
#include "link/DeviceLink.h"
#include "memory/MemorySlots.h"
#include "memory/SlotBackups.h"
#include "memory/SlotRecord.h"
#include "memory/SlotTransferOperation.h"

#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace lmk;
using namespace lmk::test;

class TstSlotBackup : public QObject {
    Q_OBJECT
  private slots:
    void defaultFolderFollowsDataLocation();
    void newestKept();
    void folderCannotBeMade();
    void identicalNotStoredAgain();
    void firstOfEachDayKept();
    void orderedByTimeMade();
    void recoveryFilesNeverOverwritten();
    void readIntoBackup_data();
    void readIntoBackup();
};

void TstSlotBackup::defaultFolderFollowsDataLocation() {
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    QCOMPARE(SlotBackupStore::defaultDirectory(), dir.filePath(QStringLiteral("lmkinterface/backups")));
    qunsetenv("XDG_DATA_HOME");
}

void TstSlotBackup::newestKept() {
    QTemporaryDir dir;
    const SlotBackupStore store(dir.filePath(QStringLiteral("backups")));
    QVERIFY(store.list().isEmpty());
    const QDateTime t0(QDate(2026, 12, 10), QTime(13, 0, 0));
    QString error;
    for (int i = 0; i < SlotBackupStore::kKept + 2; ++i)
        QVERIFY2(!store.save(QByteArray(kSlotImageSize, char(i)), &error, t0.addSecs(i)).isEmpty(),
                 qPrintable(error));
    // Two in the same second: the second sorts as the newer.
    const QString same = store.save(QByteArray(kSlotImageSize, 'x'), &error, t0.addSecs(SlotBackupStore::kKept + 1));
    QCOMPARE(QFileInfo(same).fileName(), QStringLiteral("slots_2026-12-10_13-00-51_02.Mem"));

    const QStringList all = store.list();
    QCOMPARE(all.size(), SlotBackupStore::kKept + 1);
    QCOMPARE(all.first(), same);
    QCOMPARE(QFileInfo(all[1]).fileName(), QStringLiteral("slots_2026-12-10_13-00-51.Mem"));
    QCOMPARE(fileContents(all[1]), QByteArray(kSlotImageSize, char(SlotBackupStore::kKept + 1)));
    // Beyond the newest 50 only the day's first stays; a file of the
    // user's own stays.
    QCOMPARE(QFileInfo(all[SlotBackupStore::kKept - 1]).fileName(),
             QStringLiteral("slots_2026-12-10_13-00-03.Mem"));
    QCOMPARE(QFileInfo(all.last()).fileName(), QStringLiteral("slots_2026-12-10_13-00-00.Mem"));
    QFile own(dir.filePath(QStringLiteral("backups/mine.Mem")));
    QVERIFY(own.open(QIODevice::WriteOnly));
    own.close();
    QVERIFY(!store.save(QByteArray(1, 0), &error, t0.addSecs(100)).isEmpty());
    QVERIFY(own.exists());
}

// Forty backups of the same slots in a loop: one is stored, and the
// different one before it stays.
void TstSlotBackup::identicalNotStoredAgain() {
    QTemporaryDir dir;
    const SlotBackupStore store(dir.path());
    const QDateTime t0(QDate(2026, 12, 10), QTime(9, 0, 0));
    QString error;
    const QByteArray useful = pseudoRandomBytes(kSlotImageSize);
    const QString first = store.save(useful, &error, t0);
    QVERIFY2(!first.isEmpty(), qPrintable(error));
    const QByteArray cleared(kSlotImageSize, '\0');
    QString stored;
    for (int i = 1; i <= 40; ++i) {
        bool same = true;
        const QString path = store.save(cleared, &error, t0.addSecs(i), &same);
        QVERIFY2(!path.isEmpty(), qPrintable(error));
        QCOMPARE(same, i > 1);
        if (i == 1)
            stored = path;
        QCOMPARE(path, stored);
    }
    const QList<SlotBackup> all = store.backups();
    QCOMPARE(all.size(), 2);
    QCOMPARE(all[0].time, t0.addSecs(1));
    QCOMPARE(all[1].time, t0);
    QCOMPARE(SlotBackupStore::load(all[1].path, &error), useful);
    QCOMPARE(SlotBackupStore::load(all[0].path, &error), cleared);
    // The same slots again after another backup: stored anew.
    QVERIFY(!store.save(useful, &error, t0.addSecs(100)).isEmpty());
    QVERIFY(!store.save(cleared, &error, t0.addSecs(101)).isEmpty());
    QCOMPARE(store.backups().size(), 4);
    // A backup that cannot be read is named with the reason.
    QVERIFY(SlotBackupStore::load(dir.filePath(QStringLiteral("gone.Mem")), &error).isEmpty());
    QVERIFY2(error.contains(QStringLiteral("gone.Mem")), qPrintable(error));
}

// Two different backups a day for 120 days: the newest 50, then the first
// of each day for 90 days, nothing older.
void TstSlotBackup::firstOfEachDayKept() {
    QTemporaryDir dir;
    const SlotBackupStore store(dir.path());
    const QDate day0(2026, 8, 1);
    const int days = 120;
    QString error;
    for (int d = 0; d < days; ++d)
        for (int h : {8, 20})
            QVERIFY(!store.save(pseudoRandomBytes(kSlotImageSize + d * 2 + h / 20), &error,
                                QDateTime(day0.addDays(d), QTime(h, 0)))
                         .isEmpty());
    const QDate last = day0.addDays(days - 1);
    const auto kept = [&](int daysBack, int hour) {
        const QString name = QStringLiteral("slots_%1_%2-00-00.Mem")
                                 .arg(last.addDays(-daysBack).toString(Qt::ISODate))
                                 .arg(hour, 2, 10, QLatin1Char('0'));
        return QFile::exists(dir.filePath(name));
    };
    // The newest 50: the last 25 days, both backups.
    QVERIFY(kept(0, 20) && kept(24, 8) && kept(24, 20));
    // Older: mornings only, back to 90 days.
    QVERIFY(kept(25, 8) && !kept(25, 20));
    QVERIFY(kept(90, 8) && !kept(90, 20));
    QVERIFY(!kept(91, 8) && !kept(119, 8));
    QCOMPARE(store.list().size(), 50 + (90 - 25 + 1));
}

// Backups whose names carry a later date (made before the clock went back,
// or in another time zone): the new backup is the newest, it is never
// pruned, and dedupe compares with it. Before, "newest" was decided by name
// and the backup just named was deleted at once.
void TstSlotBackup::orderedByTimeMade() {
    QTemporaryDir dir;
    const SlotBackupStore store(dir.path());
    const QDateTime now(QDate(2026, 12, 10), QTime(12, 0, 0));
    QString error;
    // 60 older backups, named in 2030.
    for (int i = 0; i < 60; ++i) {
        const QString path = dir.filePath(
            QStringLiteral("slots_2030-01-01_00-%1-00.Mem").arg(i, 2, 10, QLatin1Char('0')));
        QVERIFY(writeFileContents(path, QByteArray(kSlotImageSize, char(i))));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(now.addSecs(-3600 + i), QFileDevice::FileModificationTime));
    }
    const QByteArray taken = pseudoRandomBytes(kSlotImageSize);
    const QString stored = store.save(taken, &error, now);
    QVERIFY2(!stored.isEmpty(), qPrintable(error));
    QVERIFY(QFile::exists(stored));
    QCOMPARE(store.list().first(), stored);
    QCOMPARE(store.backups().first().time, now);
    // The oldest by time went, newest 50 kept (the 2030 names of minutes
    // 11 to 59, and the new one); the first of that day stays.
    QCOMPARE(store.list().size(), SlotBackupStore::kKept + 1);
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("slots_2030-01-01_00-59-00.Mem"))));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("slots_2030-01-01_00-05-00.Mem"))));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("slots_2030-01-01_00-00-00.Mem"))));
    // The same slots again: the newest by time is the same, nothing new.
    bool same = false;
    QCOMPARE(store.save(taken, &error, now.addSecs(5), &same), stored);
    QVERIFY(same);
    // Made at a time that sorts it beyond the newest 50 and not first of
    // its day (a clock set back): it stays all the same.
    const QString early = store.save(QByteArray(kSlotImageSize, 'e'), &error, now.addSecs(-3600 + 5));
    QVERIFY2(!early.isEmpty(), qPrintable(error));
    QVERIFY(QFile::exists(early));
}

// Two programs ending in the same second: two recovery files, neither
// overwritten (before, both wrote recovery_<second>.Mem and one set of
// changes was lost). They are listed newest first and offered once.
void TstSlotBackup::recoveryFilesNeverOverwritten() {
    QTemporaryDir dir;
    const SlotBackupStore store(dir.filePath(QStringLiteral("backups")));
    const QDateTime when(QDate(2026, 12, 10), QTime(18, 30, 0));
    QString error;
    const QString first = store.saveRecovery(QByteArray(kSlotImageSize, 'a'), &error, when);
    const QString second = store.saveRecovery(QByteArray(kSlotImageSize, 'b'), &error, when);
    QVERIFY2(!first.isEmpty() && !second.isEmpty(), qPrintable(error));
    QVERIFY(first != second);
    QCOMPARE(QFileInfo(first).fileName(), QStringLiteral("recovery_2026-12-10_18-30-00.Mem"));
    QCOMPARE(QFileInfo(second).fileName(), QStringLiteral("recovery_2026-12-10_18-30-00_02.Mem"));
    QCOMPARE(fileContents(first), QByteArray(kSlotImageSize, 'a'));
    QCOMPARE(fileContents(second), QByteArray(kSlotImageSize, 'b'));
    QCOMPARE(store.recoveries().size(), 2);
    QCOMPARE(store.recoveries().first().time, when);
    QCOMPARE(store.recoveries().first().path, second);
    QVERIFY(store.list().isEmpty()); // not backups of the receiver
    QCOMPARE(store.unofferedRecoveries().size(), 2);
    ScriptedDialogs dialogs;
    dialogs.answers << true;
    const QString chosen = offerRecoveredChanges(store);
    QCOMPARE(chosen, store.recoveries().first().path);
    QCOMPARE(dialogs.texts.size(), 1);
    QVERIFY2(dialogs.texts.first().contains(QStringLiteral("1 older ones are listed")),
             qPrintable(dialogs.texts.first()));
    QVERIFY(store.unofferedRecoveries().isEmpty());
    QCOMPARE(offerRecoveredChanges(store), QString());
    QCOMPARE(dialogs.texts.size(), 1);
}

void TstSlotBackup::folderCannotBeMade() {
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const SlotBackupStore store(dir.filePath(QStringLiteral("file/backups")));
    QString error;
    QVERIFY(store.save(QByteArray(kSlotImageSize, 0), &error).isEmpty());
    QVERIFY2(error.contains(QStringLiteral("backup folder")), qPrintable(error));
}

void TstSlotBackup::readIntoBackup_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("error"); // empty: a backup is made
    QTest::addColumn<QString>("note");
    QTest::newRow("all slots") << QStringList() << QString() << QString();
    // The receiver leaves out the last 8 bytes of each record: the backup
    // holds zeros there and says so.
    QTest::newRow("248-byte records") << QStringList{"--slot-reply-length", "256"} << QString()
                                      << "the receiver sent 248 bytes of each record; bytes 248 "
                                         "to 255 of the backup are zero";
    QTest::newRow("silent at slot 5") << QStringList{"--slot-silent", "5"}
                                      << "No backup of the receiver's slots: Timeout" << QString();
    QTest::newRow("short record at slot 7") << QStringList{"--slot-short", "7"}
                                            << "No backup of the receiver's slots: Error on reading!"
                                            << QString();
    QTest::newRow("unexpected reply at slot 2")
        << QStringList{"--fault", "wlan:10#2:raw=080000001f000000"}
        << "No backup of the receiver's slots: unexpected reply from the device (code 0x1F)"
        << QString();
}

void TstSlotBackup::readIntoBackup() {
    QFETCH(QStringList, options);
    QFETCH(QString, error);
    QFETCH(QString, note);
    ScriptedDialogs dialogs;
    SimProcess sim;
    QVERIFY(sim.start(options));
    SimProcess::noUsb();
    DeviceLink link;
    link.setEndpoint(QStringLiteral("127.0.0.1"), sim.port());
    link.setWlanChecked(true);
    const QString simFile = QDir(sim.stateDir()).filePath(QStringLiteral("slots.bin"));
    QVERIFY(QTest::qWaitFor([&] { return fileContents(simFile).size() == kSlotImageSize; }, 5000));

    MemorySlots store(link);
    const QByteArray edited(kSlotImageSize, 'e'); // what the user is about to write
    store.image().write(edited);
    QSignalSpy shown(&store, &MemorySlots::recordStored);
    QTemporaryDir dir;
    const SlotBackupStore backups(dir.path());

    const SlotBackupResult r = backupReceiverSlots(store, backups);
    QCOMPARE(store.image().data(), edited);
    QCOMPARE(shown.size(), 0); // the grid saw none of it
    QVERIFY(!store.operationRunning);
    if (!error.isEmpty()) {
        QVERIFY(!r.ok());
        QVERIFY2(r.error.startsWith(error), qPrintable(r.error));
        QVERIFY(backups.list().isEmpty());
        return;
    }
    QVERIFY2(r.ok(), qPrintable(r.error));
    QCOMPARE(r.note, note);
    QCOMPARE(backups.list(), QStringList{r.path});
    QByteArray expected = fileContents(simFile);
    if (!note.isEmpty())
        for (int s = 0; s < kSlotCount; ++s)
            expected.replace(s * kSlotSize + 248, 8, QByteArray(8, 0));
    QCOMPARE(fileContents(r.path), expected);
    if (!note.isEmpty())
        return;
    // The store's own reply handlers are back: a read lands in its image.
    SlotTransferOperation op(store);
    QCOMPARE(op.readAll(), SlotTransferOperation::Outcome::Done);
    QCOMPARE(store.image().data(), fileContents(simFile));
    QCOMPARE(shown.size(), kSlotCount);
}

QTEST_MAIN(TstSlotBackup)
#include "tst_slotbackup.moc"
