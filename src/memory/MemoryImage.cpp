#include "memory/MemoryImage.h"

#include "memory/SlotRecord.h"

#include "files/UserFiles.h"

#include <QDir>
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
    FileContents file = readRegularFile(path, kMaxFileSize);
    if (!file.ok()) {
        if (error)
            *error = QStringLiteral("Cannot open file \"%1\". %2")
                         .arg(QDir::toNativeSeparators(path), file.error);
        return false;
    }
    m_data = std::move(file.bytes);
    if (m_pos > m_data.size())
        m_pos = m_data.size();
    return true;
}

bool MemoryImage::saveToFile(const QString &path, QString *error) const {
    const QString why = saveWholeFile(path, m_data);
    if (!why.isEmpty() && error)
        *error = QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(path), why);
    return why.isEmpty();
}

} // namespace lmk
