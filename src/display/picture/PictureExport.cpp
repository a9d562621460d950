#include "display/picture/PictureExport.h"

#include <QBuffer>
#include <QImageWriter>

#include <array>

namespace lmk {

QImage scaledPicture(const QImage &picture, int factor) {
    if (factor <= 1 || picture.isNull())
        return picture;
    const QImage src = picture.convertToFormat(QImage::Format_RGB888);
    QImage out(src.width() * factor, src.height() * factor, QImage::Format_RGB888);
    for (int y = 0; y < src.height(); ++y) {
        const uchar *in = src.constScanLine(y);
        uchar *first = out.scanLine(y * factor);
        uchar *px = first;
        for (int x = 0; x < src.width(); ++x, in += 3)
            for (int k = 0; k < factor; ++k, px += 3) {
                px[0] = in[0];
                px[1] = in[1];
                px[2] = in[2];
            }
        for (int k = 1; k < factor; ++k)
            memcpy(out.scanLine(y * factor + k), first, size_t(3 * out.width()));
    }
    return out;
}

namespace {

quint32 crc32(const QByteArray &bytes) {
    static const auto table = [] {
        std::array<quint32, 256> t{};
        for (quint32 n = 0; n < 256; ++n) {
            quint32 c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    quint32 c = 0xFFFFFFFFu;
    for (const char b : bytes)
        c = table[(c ^ quint8(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void appendBigEndian(QByteArray &out, quint32 v) {
    out.append(char(v >> 24)).append(char(v >> 16)).append(char(v >> 8)).append(char(v));
}

// One tEXt chunk: keyword, a zero byte, the text, both Latin-1.
QByteArray textChunk(const QString &key, const QString &text) {
    const QByteArray body = QByteArray("tEXt") + key.toLatin1() + '\0' + text.toLatin1();
    QByteArray chunk;
    appendBigEndian(chunk, quint32(body.size() - 4));
    chunk += body;
    appendBigEndian(chunk, crc32(body));
    return chunk;
}

constexpr int kPngSignatureAndHeader = 8 + 25; // the signature and the IHDR chunk

} // namespace

QString writePicture(QIODevice &device, const QImage &picture, const QByteArray &format,
                     const CaptureFacts &facts) {
    if (format != "png") {
        QImageWriter writer(&device, format);
        return writer.write(picture) ? QString() : writer.errorString();
    }
    // Qt's writer folds keywords with spaces ("Creation Time") into one
    // "Description"; the chunks are put in after the header instead.
    QBuffer encoded;
    encoded.open(QIODevice::WriteOnly);
    QImageWriter writer(&encoded, format);
    if (!writer.write(picture))
        return writer.errorString();
    QByteArray png = encoded.data();
    QByteArray chunks;
    for (const auto &[key, text] : captureTexts(facts))
        chunks += textChunk(key, text);
    png.insert(kPngSignatureAndHeader, chunks);
    if (device.write(png) != png.size())
        return device.errorString();
    return QString();
}

} // namespace lmk
