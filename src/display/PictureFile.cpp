#include "display/PictureFile.h"

#include "files/UserFiles.h"

#include <QBuffer>
#include <QFileInfo>

namespace lmk {

QByteArray pictureFormatFor(const QString &path) {
    return QFileInfo(path).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0
               ? QByteArray("png")
               : QByteArray("bmp");
}

QString writeWholeFile(const QString &path, const std::function<QString(QIODevice &)> &write) {
    // The picture is made in memory first, so that what reaches the disk is
    // written and checked in one place.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (const QString error = write(buffer); !error.isEmpty())
        return error;
    buffer.close();
    return saveWholeFile(path, bytes, InPlaceFallback::Yes);
}

} // namespace lmk
