#pragma once
// Backups of the receiver's 63 memory slots, taken before every write or
// clear from the memory editor or lmkctl: plain .Mem files in the
// "backups" folder of the program's data location, named by date and time
// ("slots_2026-12-10_13-45-07.Mem"), the newest kKept kept.

#include "memory/SlotTransferOperation.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace lmk {

class MemorySlots;

class SlotBackupStore {
  public:
    static constexpr int kKept = 50;

    // The window's application data folder plus "backups"; lmkctl uses the
    // same folder, so both see every backup.
    static QString defaultDirectory();

    explicit SlotBackupStore(const QString &directory = defaultDirectory());
    QString directory() const { return m_dir; }

    // Saves `image` as a new backup and drops the oldest beyond kKept.
    // Returns the new file's path, or an empty string and `error`.
    QString save(const QByteArray &image, QString *error,
                 const QDateTime &when = QDateTime::currentDateTime()) const;
    // Paths of the backups, newest first.
    QStringList list() const;

  private:
    QString m_dir;
};

struct SlotBackupResult {
    QString path;  // the backup file; empty when none was made
    QString error; // why not: the read's or the file's message
    QString note;  // about a backup that was made: bytes it could not hold
    // How the read ended (Done when only saving the file failed).
    SlotTransferOperation::Outcome outcome = SlotTransferOperation::Outcome::Done;
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

// Reads all 63 slots of the receiver with a reader of its own: `store`'s
// image and grid see none of it (a backup, a comparison). While it runs,
// `store` counts as busy. Record bytes the receiver does not send are
// taken from `seed` (zero where it holds none).
ReceiverSlots readReceiverSlots(MemorySlots &store, const QByteArray &seed = {});

// Reads all 63 slots into a backup file. Nothing is saved unless all 63
// arrived.
SlotBackupResult backupReceiverSlots(MemorySlots &store, const SlotBackupStore &backups);

} // namespace lmk
