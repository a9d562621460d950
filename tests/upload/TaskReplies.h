#pragma once
// Task-list replies for the upload tests.

#include <QByteArray>
#include <QList>
#include <array>

namespace lmk::test {

inline QByteArray le32(quint32 v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xFF);
    return b;
}

// Task-list payload: code word, records, 4 trailing bytes; then cut or
// padded to exactly `bytes` when given.
inline QByteArray taskReply(const QList<std::array<quint32, 3>> &tasks, int bytes = -1) {
    QByteArray p = le32(0x0B);
    for (const auto &t : tasks)
        p += le32(t[0]) + le32(t[1]) + le32(t[2]);
    p += QByteArray(4, '\0');
    if (bytes >= 0)
        p.resize(bytes, '\0');
    return p;
}

} // namespace lmk::test
