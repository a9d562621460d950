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
    // How the read ended (Done when only saving the file failed).
    SlotTransferOperation::Outcome outcome = SlotTransferOperation::Outcome::Done;
    bool ok() const { return !path.isEmpty(); }
};

// Reads all 63 slots of the receiver into a backup file, without touching
// `store`'s image or grid. Nothing is saved unless all 63 arrived.
SlotBackupResult backupReceiverSlots(MemorySlots &store, const SlotBackupStore &backups);

} // namespace lmk
