#pragma once
// Small file helpers shared by the tests.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace lmk::test {

// The whole file, or nothing when it cannot be read.
inline QByteArray fileContents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Creates or replaces the file with `content`; false when that fails.
inline bool writeFileContents(const QString &path, const QByteArray &content) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

// Deterministic bytes that look random (every byte value occurs in larger
// sizes), different for every size.
inline QByteArray pseudoRandomBytes(int size) {
    QByteArray f(size, '\0');
    quint32 x = 0x9E3779B9u ^ quint32(size);
    for (int i = 0; i < size; ++i) {
        x = x * 1664525u + 1013904223u;
        f[i] = char(x >> 24);
    }
    return f;
}

} // namespace lmk::test
