#include "upload/UploadCodec.h"

#include <cstring>

namespace lmk::upload {

namespace {

void putLe32(char *p, quint32 v) {
    p[0] = char(v & 0xFF);
    p[1] = char((v >> 8) & 0xFF);
    p[2] = char((v >> 16) & 0xFF);
    p[3] = char((v >> 24) & 0xFF);
}

std::optional<quint16> hexField(const QString &entry, int from) {
    const QString field = entry.mid(from, 4);
    if (field.isEmpty())
        return std::nullopt;
    for (const QChar c : field) {
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
              (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ||
              (c >= QLatin1Char('a') && c <= QLatin1Char('f'))))
            return std::nullopt;
    }
    return quint16(field.toUInt(nullptr, 16));
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

std::optional<TaskIds> taskIdsFromEntry(const QString &entry) {
    const auto a = hexField(entry, 0);
    const auto b = hexField(entry, 6);
    const auto c = hexField(entry, 12);
    if (!a || !b || !c)
        return std::nullopt;
    return TaskIds{*a, *b, *c};
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
