#pragma once
// Picture files of the display copy: the format follows the file's name, and
// the file is written whole.

#include <QByteArray>
#include <QString>

#include <functional>

class QIODevice;

namespace lmk {

// The file types of File, Save on the "Display Copy" page, BMP first (the
// default type and extension).
inline constexpr const char *kPictureDefaultExt = "*.BMP";
inline constexpr const char *kPictureFilter = "Bilddatei *.BMP|*.BMP|PNG-Bild *.PNG|*.PNG";

// "png" for a name ending in .png (any case), otherwise "bmp".
QByteArray pictureFormatFor(const QString &path);

// Writes `path` whole through `write`, which returns "" or an error text.
// The bytes go to a temporary file beside it that replaces `path` only when
// complete, so a failure (a full disk: the system's reason) leaves an
// existing file as it was; an existing FIFO or device is never replaced. In
// a folder where no temporary file can be created, an existing file that may
// be written is written in place instead. Returns "" or the error text.
QString writeWholeFile(const QString &path, const std::function<QString(QIODevice &)> &write);

} // namespace lmk
