#include "memory/SlotBackups.h"

#include "link/DeviceLink.h"
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

#include <bitset>

namespace lmk {

namespace {
const QString kPrefix = QStringLiteral("slots_");
const QString kSuffix = QStringLiteral(".Mem");
const QString kStampFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss");

// The time in a backup's name; invalid for a name of another form.
QDateTime backupTime(const QString &fileName) {
    return QDateTime::fromString(fileName.mid(kPrefix.size(), kStampFormat.size()), kStampFormat);
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
    QStringList names = QDir(m_dir).entryList({kPrefix + QStringLiteral("*") + kSuffix},
                                              QDir::Files, QDir::Name | QDir::Reversed);
    QStringList paths;
    for (const QString &n : names)
        paths << QDir(m_dir).filePath(n);
    return paths;
}

QList<SlotBackup> SlotBackupStore::backups() const {
    QList<SlotBackup> out;
    for (const QString &path : list())
        out << SlotBackup{path, backupTime(QFileInfo(path).fileName())};
    return out;
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
    // Beyond the newest kKept: the first backup of each of the last
    // kDailyDays days stays.
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
        if (!daily)
            QFile::remove(b.path);
    }
    return path;
}

namespace {
QString readFailureText(SlotTransferOperation::Outcome outcome, int unexpectedCode = -1) {
    using O = SlotTransferOperation::Outcome;
    switch (outcome) {
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
        image = reader.image().data().left(kSlotImageSize);
    }
    store.operationRunning = false;
    if (result.outcome != SlotTransferOperation::Outcome::Done) {
        result.error = readFailureText(result.outcome, unexpectedCode);
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
