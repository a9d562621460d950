#pragma once
// Small file helpers shared by the tests.

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QString>
#include <QtEndian>

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

// The tEXt chunks of a PNG file, keyword -> text, read chunk by chunk (Qt's
// reader folds keywords with spaces into one "Description").
inline QMap<QString, QString> pngTexts(const QByteArray &png) {
    QMap<QString, QString> texts;
    qsizetype at = 8; // after the signature
    while (at + 12 <= png.size()) {
        const quint32 length = qFromBigEndian<quint32>(png.constData() + at);
        const QByteArray type = png.mid(at + 4, 4);
        if (at + 12 + qsizetype(length) > png.size())
            break;
        if (type == "tEXt") {
            const QByteArray body = png.mid(at + 8, length);
            const qsizetype zero = body.indexOf('\0');
            if (zero > 0)
                texts.insert(QString::fromLatin1(body.left(zero)), QString::fromLatin1(body.mid(zero + 1)));
        }
        at += 12 + qsizetype(length);
    }
    return texts;
}

} // namespace lmk::test
