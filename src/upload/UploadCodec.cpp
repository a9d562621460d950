#include "upload/UploadCodec.h"

#include <QStringList>

#include <cstring>

namespace lmk::upload {

namespace {

void putLe32(char *p, quint32 v) {
    p[0] = char(v & 0xFF);
    p[1] = char((v >> 8) & 0xFF);
    p[2] = char((v >> 16) & 0xFF);
    p[3] = char((v >> 24) & 0xFF);
}

bool isHexDigits(const QString &field) {
    if (field.isEmpty())
        return false;
    for (const QChar c : field) {
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
              (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ||
              (c >= QLatin1Char('a') && c <= QLatin1Char('f'))))
            return false;
    }
    return true;
}

} // namespace

QByteArray nameBlock(const QString &fileName) {
    QByteArray block(kNameBlockBytes, '\0');
    const QByteArray name = fileName.toLatin1().left(kNameCharsSent);
    std::memcpy(block.data() + 2, name.constData(), size_t(name.size()));
    return block;
}

QByteArray configurationHeader(quint32 size) {
    QByteArray h(kConfigurationHeaderBytes, '\0');
    h[0] = char(kConfigurationCommand);
    putLe32(h.data() + 1, size);
    return h;
}

QByteArray externalHeader(quint32 size, const TaskIds &ids) {
    QByteArray h(kExternalHeaderBytes, '\0');
    h[0] = char(kExternalCommand);
    putLe32(h.data() + 1, size);
    putLe32(h.data() + 6, ids.id1);
    putLe32(h.data() + 11, ids.id2);
    putLe32(h.data() + 16, ids.id3);
    return h;
}

TaskEntryIds parseTaskEntry(const QString &entry) {
    TaskEntryIds out;
    const QStringList fields = entry.split(QLatin1String("  "));
    if (fields.size() != 3)
        return out;
    quint16 ids[3] = {};
    for (int i = 0; i < 3; ++i) {
        const QString &field = fields[i];
        if (!isHexDigits(field))
            return TaskEntryIds{};
        // Leading zeros do not count: "00001A2B" is the id 1A2B.
        qsizetype first = 0;
        while (first + 1 < field.size() && field[first] == QLatin1Char('0'))
            ++first;
        if (field.size() - first > 4) {
            if (out.tooLarge.isEmpty())
                out.tooLarge = field;
            continue;
        }
        ids[i] = quint16(field.toUInt(nullptr, 16));
    }
    if (out.tooLarge.isEmpty())
        out.ids = TaskIds{ids[0], ids[1], ids[2]};
    return out;
}

std::optional<TaskIds> taskIdsFromEntry(const QString &entry) {
    return parseTaskEntry(entry).ids;
}

bool nameMatchesTarget(Target target, const QString &fileName, const QString &taskEntry) {
    if (target == Target::Configuration)
        return fileName.left(3) == QLatin1String("LMK");
    return fileName.mid(4, 4) == taskEntry.left(4);
}

UploadPacketizer::UploadPacketizer(QByteArray file, QByteArray nameBlock)
    : m_file(std::move(file)), m_name(std::move(nameBlock)) {
    m_name.resize(kNameBlockBytes, '\0');
    m_packet.reserve(kFullPacketBytes);
}

const QByteArray &UploadPacketizer::next() {
    if (nextIsName()) {
        m_packet.resize(kGroupBytes);
        char *out = m_packet.data();
        out[0] = char(leadByte(m_n));
        std::memcpy(out + 1, m_name.constData() + 4 * (m_n - 1), 4);
        ++m_n;
        return m_packet;
    }
    const qint64 left = m_file.size() - m_sent;
    const int fileBytes = int(qMin<qint64>(left, kFullPacketFileBytes));
    const int groups = (fileBytes + 3) / 4;
    m_packet.resize(groups * kGroupBytes);
    char *out = m_packet.data();
    const char *in = m_file.constData() + m_sent;
    for (int g = 0; g < groups; ++g, out += kGroupBytes, in += 4) {
        out[0] = char(leadByte(m_n++));
        const int take = qMin(4, fileBytes - 4 * g);
        std::memcpy(out + 1, in, size_t(take));
        if (take < 4)
            std::memset(out + 1 + take, 0, size_t(4 - take));
    }
    m_sent += 4 * groups;
    return m_packet;
}

} // namespace lmk::upload
