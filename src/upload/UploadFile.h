#pragma once
// The file that "Start" loads into the receiver, read whole before anything
// is sent. A file the receiver cannot take is refused with a message that
// names the file and says what is wrong: not a regular file (a FIFO would
// block the read), empty (nothing to load), or larger than kMaxUploadSize.

#include <QByteArray>
#include <QString>

namespace lmk::upload {

// Configuration images and task programs are a few MiB; the header could
// carry up to 4 GiB - 1, but such a file would be read into memory whole
// and sent for hours. Larger files are refused unread.
constexpr qint64 kMaxUploadSize = 64 * 1024 * 1024;

struct UploadFile {
    QByteArray bytes;
    QString error; // the message to show; empty when the file can be sent
    bool ok() const { return error.isEmpty(); }
};

// Reads `path` whole and checks it.
UploadFile loadUploadFile(const QString &path);

// Checks bytes that were read already (lmkctl's standard input); `shownName`
// names them in the message.
UploadFile checkUploadBytes(QByteArray bytes, const QString &shownName);

} // namespace lmk::upload
