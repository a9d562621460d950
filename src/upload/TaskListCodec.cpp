#include "upload/TaskListCodec.h"

namespace lmk::upload {

namespace {
quint32 le32(const quint8 *p) {
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
QString hex4(quint32 v) {
    return QStringLiteral("%1").arg(v, 4, 16, QLatin1Char('0')).toUpper();
}
} // namespace

QString taskEntryText(quint32 id1, quint32 id2, quint32 id3) {
    return hex4(id1) + QLatin1String("  ") + hex4(id2) + QLatin1String("  ") + hex4(id3);
}

std::optional<QStringList> decodeTaskList(const quint8 *p, int n) {
    if (p == nullptr || n < kTaskListMinBytes || n > kTaskListMaxBytes)
        return std::nullopt;
    const int k = (n - 8) / kTaskRecordBytes;
    QStringList entries;
    if (k == 0) {
        entries << QString::fromLatin1(kNoTasksInReply);
        return entries;
    }
    entries.reserve(k);
    for (int i = 0; i < k; ++i) {
        const quint8 *r = p + 4 + i * kTaskRecordBytes;
        entries << taskEntryText(le32(r), le32(r + 4), le32(r + 8));
    }
    return entries;
}

} // namespace lmk::upload
