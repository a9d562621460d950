#pragma once
// Backups of the receiver's 63 memory slots, taken before every write or
// clear from the memory editor or lmkctl: plain .Mem files in the
// "backups" folder of the program's data location, named by date and time
// ("slots_2026-12-10_13-45-07.Mem").
//
// "Newest" means made last: a backup's file carries the time it was made
// as its modification time, and the backups are ordered by that time, not
// by their names (a clock or time-zone change makes names lie). A backup
// identical to the newest one is not stored again. The newest kKept are
// kept; of the older ones, the first backup of each day is kept for
// kDailyDays days, so that a loop of writes cannot push the last useful
// backup out; the backup just stored is never removed.
//
// Recovery files ("recovery_2026-12-10_13-45-07.Mem", in the same folder)
// hold the memory editor's unsaved changes when the program had to end
// without asking; each gets a name of its own (never overwritten), and
// the next start offers the ones not offered yet.

#include "memory/SlotTransferOperation.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace lmk {

class MemorySlots;

struct SlotBackup {
    QString path;
    QDateTime time; // when it was taken (local time, from its name)
};

class SlotBackupStore {
  public:
    static constexpr int kKept = 50;
    static constexpr int kDailyDays = 90;

    // The window's application data folder plus "backups"; lmkctl uses the
    // same folder, so both see every backup.
    static QString defaultDirectory();

    explicit SlotBackupStore(const QString &directory = defaultDirectory());
    QString directory() const { return m_dir; }

    // Saves `image` as a new backup, unless it equals the newest backup
    // (then `*sameAsNewest` is set and that one's path returned), and drops
    // the backups the rules above do not keep. Returns the backup's path, or
    // an empty string and `error`.
    QString save(const QByteArray &image, QString *error,
                 const QDateTime &when = QDateTime::currentDateTime(),
                 bool *sameAsNewest = nullptr) const;
    // Paths of the backups, newest (made last) first.
    QStringList list() const;
    // The backups with the times they were made, newest first.
    QList<SlotBackup> backups() const;

    // Saves unsaved changes as a new recovery file whose name no other file
    // has (two programs ending in the same second get two); its path, or
    // empty and `error`.
    QString saveRecovery(const QByteArray &image, QString *error,
                         const QDateTime &when = QDateTime::currentDateTime()) const;
    // The recovery files, newest first.
    QList<SlotBackup> recoveries() const;
    // Recovery files not offered to the user yet, newest first; an offered
    // one is marked so (a file "<name>.offered" beside it).
    QStringList unofferedRecoveries() const;
    static void markOffered(const QString &recoveryPath);
    // One backup's image; empty and `error` when it cannot be read.
    static QByteArray load(const QString &path, QString *error);

  private:
    QString m_dir;
};

struct SlotBackupResult {
    QString path;  // the backup file; empty when none was made
    QString error; // why not: the read's or the file's message
    QString note;  // about the backup: bytes it could not hold, or that it
                   // equals the newest one, which was not stored again
    // How the read ended (Done when only saving the file failed).
    SlotTransferOperation::Outcome outcome = SlotTransferOperation::Outcome::Done;
    // The receiver sent 248 bytes of each record.
    bool partial = false;
    bool ok() const { return !path.isEmpty(); }
};

struct ReceiverSlots {
    QByteArray image; // the 63 records; empty when the read failed
    QString error;    // why it failed ("Timeout: Device doesn't respond!", ...)
    SlotTransferOperation::Outcome outcome = SlotTransferOperation::Outcome::Done;
    // The receiver sent 248 bytes of a record: its last 8 are `seed`'s.
    bool partial = false;
    bool ok() const { return !image.isEmpty(); }
};

// At start: asks (through the dialogs) whether to open the newest recovery
// file not offered before, and marks every such file offered, so each is
// asked about once. The path to open, or empty.
QString offerRecoveredChanges(const SlotBackupStore &store);

// Reads all 63 slots of the receiver with a reader of its own: `store`'s
// image and grid see none of it (a backup, a comparison). While it runs,
// `store` counts as busy. Record bytes the receiver does not send are
// taken from `seed` (zero where it holds none).
ReceiverSlots readReceiverSlots(MemorySlots &store, const QByteArray &seed = {});

// Reads all 63 slots into a backup file. Nothing is saved unless all 63
// arrived.
SlotBackupResult backupReceiverSlots(MemorySlots &store, const SlotBackupStore &backups);

} // namespace lmk
