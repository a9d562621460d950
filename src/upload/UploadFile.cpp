#include "upload/UploadFile.h"

#include "files/UserFiles.h"

#include <QDir>
#include <QFileInfo>

namespace lmk::upload {

namespace {
UploadFile refused(const QString &message) {
    UploadFile file;
    file.error = message;
    return file;
}

QString tooLargeText(const QString &shownName, qint64 size) {
    return QStringLiteral("File \"%1\" is %2 bytes; at most %3 bytes (%4 MiB) can be loaded into "
                          "the receiver.")
        .arg(shownName)
        .arg(size)
        .arg(kMaxUploadSize)
        .arg(kMaxUploadSize >> 20);
}
} // namespace

UploadFile checkUploadBytes(QByteArray bytes, const QString &shownName) {
    if (bytes.isEmpty())
        return refused(QStringLiteral("File \"%1\" is empty: there is nothing to load.").arg(shownName));
    if (bytes.size() > kMaxUploadSize)
        return refused(tooLargeText(shownName, bytes.size()));
    UploadFile file;
    file.bytes = std::move(bytes);
    return file;
}

UploadFile loadUploadFile(const QString &path) {
    const QString shown = QDir::toNativeSeparators(path);
    // A regular file above the limit is refused by its size, unread.
    const QFileInfo info(path);
    if (info.isFile() && info.size() > kMaxUploadSize)
        return refused(tooLargeText(shown, info.size()));
    FileContents read = readRegularFile(path, kMaxUploadSize);
    if (!read.ok())
        return refused(QStringLiteral("File \"%1\" cannot be read: %2").arg(shown, read.error));
    return checkUploadBytes(std::move(read.bytes), shown);
}

} // namespace lmk::upload
