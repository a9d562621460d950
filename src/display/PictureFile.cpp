#include "display/PictureFile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace lmk {

QByteArray pictureFormatFor(const QString &path) {
    return QFileInfo(path).suffix().compare(QLatin1String("png"), Qt::CaseInsensitive) == 0
               ? QByteArray("png")
               : QByteArray("bmp");
}

QString writeWholeFile(const QString &path, const std::function<QString(QIODevice &)> &write) {
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const QString error = write(file);
    if (!error.isEmpty()) {
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

} // namespace lmk
