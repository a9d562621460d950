#include "memory/MemoryImage.h"

#include "memory/SlotRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstring>

namespace lmk {

void MemoryImage::setSize(qint64 size) {
    size = qMax<qint64>(0, size);
    const qint64 old = m_data.size();
    m_data.resize(size);
    if (size > old)
        std::memset(m_data.data() + old, 0, size_t(size - old));
    if (m_pos > size)
        m_pos = size;
}

int MemoryImage::read(char *out, int n) {
    if (n <= 0 || m_pos >= m_data.size())
        return 0;
    const int count = int(qMin<qint64>(n, m_data.size() - m_pos));
    std::memcpy(out, m_data.constData() + m_pos, size_t(count));
    m_pos += count;
    return count;
}

QByteArray MemoryImage::read(int n) {
    QByteArray out(qMax(0, n), Qt::Uninitialized);
    out.resize(read(out.data(), n));
    return out;
}

void MemoryImage::write(const char *bytes, int n) {
    if (n <= 0)
        return;
    if (m_pos + n > m_data.size())
        setSize(m_pos + n);
    std::memcpy(m_data.data() + m_pos, bytes, size_t(n));
    m_pos += n;
}

bool MemoryImage::holdsSlot(int s) const {
    return s >= 1 && s <= kSlotCount && qint64(s) * kSlotSize <= m_data.size();
}

QByteArray MemoryImage::slotRecord(int s) const {
    if (!holdsSlot(s))
        return {};
    return m_data.mid(qsizetype(s - 1) * kSlotSize, kSlotSize);
}

bool MemoryImage::loadFromFile(const QString &path, QString *error) {
    QFile f(path);
    const auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("Cannot open file \"%1\". %2")
                         .arg(QDir::toNativeSeparators(path), why);
        return false;
    };
    if (QFileInfo(path).isDir())
        return fail(QStringLiteral("Is a directory"));
    if (!f.open(QIODevice::ReadOnly))
        return fail(f.errorString());
    if (f.size() > kMaxFileSize)
        return fail(QStringLiteral("File too large"));
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return fail(f.errorString());
    m_data = std::move(bytes);
    if (m_pos > m_data.size())
        m_pos = m_data.size();
    return true;
}

bool MemoryImage::saveToFile(const QString &path, QString *error) const {
    QSaveFile f(path);
    const auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("Cannot create file \"%1\". %2")
                         .arg(QDir::toNativeSeparators(path), why);
        return false;
    };
    // Unbuffered, so that a short write (disk full, file size limit) is
    // seen here; a buffered flush would drop the rest without an error.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(f.errorString());
    qint64 written = 0;
    while (written < m_data.size()) {
        const qint64 n = f.write(m_data.constData() + written, m_data.size() - written);
        if (n <= 0) {
            const QString why = f.error() != QFileDevice::NoError ? f.errorString()
                                                                  : QStringLiteral("Write failed");
            f.cancelWriting();
            return fail(why);
        }
        written += n;
    }
    if (!f.commit())
        return fail(f.errorString());
    return true;
}

} // namespace lmk
