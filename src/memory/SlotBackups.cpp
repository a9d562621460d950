#include "memory/SlotBackups.h"

#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "link/MessageTexts.h"
#include "memory/MemoryImage.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"
#include "memory/SlotTransferOperation.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <bitset>

namespace lmk {

namespace {
const QString kPrefix = QStringLiteral("slots_");
const QString kSuffix = QStringLiteral(".Mem");
const QString kStampFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss");

const QString kRecoveryPrefix = QStringLiteral("recovery_");
const QString kOffered = QStringLiteral(".offered");

// The files `prefix`*.Mem with the times they were made (their modification
// time, which save() sets), newest first; the name breaks a tie, a later
// counter ("_02") first.
QList<SlotBackup> filesByTime(const QString &dir, const QString &prefix) {
    QList<SlotBackup> out;
    const QFileInfoList files = QDir(dir).entryInfoList({prefix + QStringLiteral("*") + kSuffix},
                                                        QDir::Files);
    for (const QFileInfo &f : files)
        out << SlotBackup{f.filePath(), f.lastModified()};
    std::stable_sort(out.begin(), out.end(), [](const SlotBackup &a, const SlotBackup &b) {
        if (a.time != b.time)
            return a.time > b.time;
        return a.path > b.path;
    });
    return out;
}

// Records `when` as the file's time of making.
void stampTime(const QString &path, const QDateTime &when) {
    QFile f(path);
    if (f.open(QIODevice::ReadWrite))
        f.setFileTime(when, QFileDevice::FileModificationTime);
}
} // namespace

QString SlotBackupStore::defaultDirectory() {
    // Named, not taken from the running program, so that lmkctl and the
    // window share one folder.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return data + QStringLiteral("/lmkinterface/backups");
}

SlotBackupStore::SlotBackupStore(const QString &directory) : m_dir(directory) {}

QStringList SlotBackupStore::list() const {
    QStringList paths;
    for (const SlotBackup &b : backups())
        paths << b.path;
    return paths;
}

QList<SlotBackup> SlotBackupStore::backups() const {
    return filesByTime(m_dir, kPrefix);
}

QList<SlotBackup> SlotBackupStore::recoveries() const {
    return filesByTime(m_dir, kRecoveryPrefix);
}

QStringList SlotBackupStore::unofferedRecoveries() const {
    QStringList out;
    for (const SlotBackup &r : recoveries())
        if (!QFileInfo::exists(r.path + kOffered))
            out << r.path;
    return out;
}

void SlotBackupStore::markOffered(const QString &recoveryPath) {
    QFile marker(recoveryPath + kOffered);
    if (marker.open(QIODevice::WriteOnly))
        marker.close();
}

QString SlotBackupStore::saveRecovery(const QByteArray &image, QString *error,
                                      const QDateTime &when) const {
    const auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return QString();
    };
    if (m_dir.isEmpty() || !QDir().mkpath(m_dir))
        return fail(QStringLiteral("Cannot create the backup folder \"%1\".")
                        .arg(QDir::toNativeSeparators(m_dir)));
    // The name is taken by creating the file, so that another program
    // ending at the same moment takes the next one.
    const QString stamp = kRecoveryPrefix + when.toString(kStampFormat);
    for (int k = 1; k < 1000; ++k) {
        const QString path = QDir(m_dir).filePath(
            stamp + (k == 1 ? QString() : QStringLiteral("_%1").arg(k, 2, 10, QLatin1Char('0'))) +
            kSuffix);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(path))
                continue;
            return fail(QStringLiteral("Cannot create file \"%1\". %2")
                            .arg(QDir::toNativeSeparators(path), f.errorString()));
        }
        if (f.write(image) != image.size() || !f.flush()) {
            const QString why = f.errorString();
            f.close();
            QFile::remove(path);
            return fail(QStringLiteral("Cannot write file \"%1\". %2")
                            .arg(QDir::toNativeSeparators(path), why));
        }
        f.setFileTime(when, QFileDevice::FileModificationTime);
        f.close();
        return path;
    }
    return fail(QStringLiteral("Too many recovery files named %1.").arg(stamp));
}

QByteArray SlotBackupStore::load(const QString &path, QString *error) {
    MemoryImage image;
    if (!image.loadFromFile(path, error))
        return {};
    return image.data();
}

QString SlotBackupStore::save(const QByteArray &image, QString *error, const QDateTime &when,
                              bool *sameAsNewest) const {
    if (sameAsNewest)
        *sameAsNewest = false;
    const auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return QString();
    };
    if (m_dir.isEmpty())
        return fail(QStringLiteral("No folder for backups."));
    if (!QDir().mkpath(m_dir))
        return fail(QStringLiteral("Cannot create the backup folder \"%1\".")
                        .arg(QDir::toNativeSeparators(m_dir)));
    const QStringList existing = list();
    if (!existing.isEmpty()) {
        QString ignored;
        const QByteArray newest = load(existing.first(), &ignored);
        if (!newest.isEmpty() && newest == image) {
            if (sameAsNewest)
                *sameAsNewest = true;
            return existing.first();
        }
    }
    // Names sort by time; a second backup within the same second gets a
    // counter that sorts behind the first.
    const QString stamp = kPrefix + when.toString(kStampFormat);
    QString path = QDir(m_dir).filePath(stamp + kSuffix);
    for (int k = 2; QFileInfo::exists(path); ++k)
        path = QDir(m_dir).filePath(stamp + QStringLiteral("_%1").arg(k, 2, 10, QLatin1Char('0')) +
                                    kSuffix);
    MemoryImage copy;
    copy.write(image);
    QString why;
    if (!copy.saveToFile(path, &why))
        return fail(why);
    stampTime(path, when);
    // Beyond the newest kKept: the first backup of each of the last
    // kDailyDays days stays, and so does the one just stored.
    const QList<SlotBackup> all = backups();
    QHash<QDate, QString> firstOfDay;
    for (const SlotBackup &b : all) // newest first: the last one seen is the first of its day
        if (b.time.isValid())
            firstOfDay[b.time.date()] = b.path;
    const QDate oldestDaily = when.date().addDays(-kDailyDays);
    for (qsizetype i = kKept; i < all.size(); ++i) {
        const SlotBackup &b = all[i];
        const bool daily = b.time.isValid() && b.time.date() >= oldestDaily &&
                           firstOfDay.value(b.time.date()) == b.path;
        if (!daily && b.path != path)
            QFile::remove(b.path);
    }
    return path;
}

QString offerRecoveredChanges(const SlotBackupStore &store) {
    const QStringList pending = store.unofferedRecoveries();
    if (pending.isEmpty())
        return {};
    for (const QString &path : pending)
        SlotBackupStore::markOffered(path);
    QString question =
        QStringLiteral("When the program last had to end, the memory slots had changes that were "
                       "not saved; they were kept in %1.")
            .arg(QDir::toNativeSeparators(pending.first()));
    if (pending.size() > 1)
        question += QStringLiteral(" %1 older ones are listed under File, Backups… of the memory "
                                   "editor.")
                        .arg(pending.size() - 1);
    question += QStringLiteral("\n\nOpen them in the memory editor?");
    return dialogs().confirmYesNo(question) ? pending.first() : QString();
}

namespace {
QString readFailureText(SlotTransferOperation::Outcome outcome, int unexpectedCode = -1,
                        const QString &incomplete = {}) {
    using O = SlotTransferOperation::Outcome;
    switch (outcome) {
    case O::Incomplete: {
        QString text = incomplete;
        if (!text.isEmpty())
            text[0] = text[0].toLower();
        return text;
    }
    case O::NoTransport:
        return QStringLiteral("no connection to the receiver");
    case O::Busy:
        return QStringLiteral("another slot operation is running");
    case O::Timeout:
        return QString::fromLatin1(kTimeoutText);
    case O::ReadError:
        return QStringLiteral("Error on reading!");
    case O::LinkLost:
        return QStringLiteral("the connection was lost");
    case O::Unexpected:
        return QStringLiteral("unexpected reply from the device (code 0x%1)")
            .arg(QString::number(unexpectedCode, 16).toUpper().rightJustified(2, u'0'));
    default:
        return QStringLiteral("the read failed");
    }
}
} // namespace

ReceiverSlots readReceiverSlots(MemorySlots &store, const QByteArray &seed) {
    ReceiverSlots result;
    if (store.operationRunning) {
        result.outcome = SlotTransferOperation::Outcome::Busy;
        result.error = readFailureText(result.outcome);
        return result;
    }
    store.operationRunning = true;
    std::bitset<kSlotCount + 1> arrived;
    QByteArray image;
    int unexpectedCode = -1;
    QString incomplete;
    {
        MemorySlots reader(store.link());
        reader.image().write(seed);
        QObject::connect(&reader, &MemorySlots::recordStored, [&](qint64 s) {
            if (s >= 1 && s <= kSlotCount)
                arrived.set(size_t(s));
        });
        SlotTransferOperation op(reader);
        result.outcome = op.readAll();
        result.partial = op.partialRecords();
        unexpectedCode = op.unexpectedCode();
        incomplete = op.incompleteText();
        image = reader.image().data().left(kSlotImageSize);
    }
    store.operationRunning = false;
    if (result.outcome != SlotTransferOperation::Outcome::Done) {
        result.error = readFailureText(result.outcome, unexpectedCode, incomplete);
        return result;
    }
    arrived.reset(0);
    if (arrived.count() != kSlotCount || image.size() < kSlotImageSize) {
        result.error = QStringLiteral("the receiver answered for %1 of 63 slots").arg(arrived.count());
        return result;
    }
    result.image = image;
    return result;
}

SlotBackupResult backupReceiverSlots(MemorySlots &store, const SlotBackupStore &backups) {
    SlotBackupResult result;
    const ReceiverSlots read = readReceiverSlots(store);
    result.outcome = read.outcome;
    const auto fail = [&](const QString &why) {
        result.error = QStringLiteral("No backup of the receiver's slots: %1").arg(why);
        return result;
    };
    if (!read.ok())
        return fail(read.error);
    QString error;
    bool same = false;
    result.path = backups.save(read.image, &error, QDateTime::currentDateTime(), &same);
    if (result.path.isEmpty())
        return fail(error);
    if (same)
        result.note = QStringLiteral("the slots equal this newest backup; no new one was stored");
    result.partial = read.partial;
    if (read.partial)
        result.note += QString::fromLatin1(result.note.isEmpty() ? "" : "; ") + QStringLiteral("the receiver sent 248 bytes of each record; bytes 248 to "
                                     "255 of the backup are zero");
    return result;
}

} // namespace lmk
