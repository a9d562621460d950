#pragma once
// Pictures of the display copy as files: enlarged by whole pixels, PNG with
// the capture's facts as text chunks, BMP as it always was.

#include "display/CaptureFacts.h"

#include <QByteArray>
#include <QImage>
#include <QString>

class QIODevice;

namespace lmk {

constexpr int kMinPictureScale = 1;
constexpr int kMaxPictureScale = 4;

// Every pixel becomes a `factor` x `factor` block of the same colour (no
// smoothing); factor 1 returns the picture as it is.
QImage scaledPicture(const QImage &picture, int factor);

// Writes the picture in `format` ("png" or "bmp") to `device`; a PNG carries
// captureTexts(facts) as text chunks, a BMP carries no text. Returns "" or
// the error text.
QString writePicture(QIODevice &device, const QImage &picture, const QByteArray &format,
                     const CaptureFacts &facts);

} // namespace lmk
