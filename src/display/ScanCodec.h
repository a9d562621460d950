#pragma once
// Display copy: the bytes of a scan and the receiver's pixel format.
//
// Scan request, program to receiver (10 bytes, numbers little-endian):
//   08 | X (2) | Y (2) | W (2) | H (2) | 00
//   full WVGA screen: 08 00 00 00 00 20 03 E0 01 00
// Status reply (payload of exactly 4 bytes): byte 0 = 00 accepted, columns
//   follow; any other value refuses the request and is the refusal code.
// Column reply (payload of exactly P bytes, P = H + 2 rounded up to a
//   multiple of 4):
//   column index c (2, 0-based within the area) | H pixel bytes, top row
//   first | 0 to 3 padding bytes
//   H = 387: P = 392, e.g. 05 00 | 387 pixels | 00 00 00 for column 5.
// Acknowledgement of the acceptance and of every column: 00.
// Abort: 0A.
//
// Pixel byte: bits 7..5 blue level (0..7), bits 4..2 green level (0..7),
// bits 1..0 red level (0..3). Red = level * 85, green and blue =
// level * 255 / 7 (integer division): 0xFF white, 0xE0 blue 255, 0x1C green
// 255, 0x03 red 255, 0x24 blue 36 green 36.

#include <QByteArray>
#include <QtGlobal>

namespace lmk {

constexpr quint8 kScanRequestCode = 0x08;
constexpr quint8 kScanAck = 0x00;
constexpr quint8 kScanAbort = 0x0A;
constexpr int kScanRequestSize = 10;
constexpr int kScanStatusSize = 4;
constexpr int kColumnHeaderSize = 2;

// The 10-byte request for the area X, Y, W, H (each taken as 16 bits).
QByteArray scanRequest(int x, int y, int w, int h);

// Expected payload length P of one column reply for an area H rows high.
constexpr int expectedColumnLength(int h) {
    return (qMax(0, h) + kColumnHeaderSize + 3) / 4 * 4;
}

struct Rgb {
    quint8 r = 0;
    quint8 g = 0;
    quint8 b = 0;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};

constexpr Rgb pixelToRgb(quint8 pixel) {
    return Rgb{quint8((pixel & 0x03) * 85), quint8(((pixel >> 2) & 0x07) * 255 / 7),
               quint8(((pixel >> 5) & 0x07) * 255 / 7)};
}

// Column index of a column reply (bytes 0 and 1); the payload holds at least
// two bytes.
inline int columnIndex(const quint8 *payload) { return payload[0] | payload[1] << 8; }

// What one frame received during a scan means, for a scan that expects
// columns of `p` bytes in an area `w` columns wide, before (`accepted`
// false) or after the receiver's acceptance:
//   4 bytes, byte 0 = 0       Accepted
//   4 bytes, byte 0 = b != 0  Refused, code b
//   p bytes, index c < w      Column c; the pixels follow at payload + 2
//   anything else             Failure (wrong length, or index c >= w)
// An area of 0 to 2 rows has p = 4: before the acceptance such a frame is a
// status, after it a column (05 00 2A FF is column 5 of an area one row
// high with the pixel 2A). Only a Column result lets the caller read
// pixels, and then p - 2 of them lie within the payload.
struct ScanReply {
    enum Kind { Accepted, Refused, Column, Failure };
    Kind kind = Failure;
    int code = 0;   // Refused: the receiver's code
    int column = 0; // Column: the index c
};
ScanReply readScanReply(const quint8 *payload, int length, int p, int w, bool accepted);

// Progress bar position for `n` columns of `w` on a bar of 0..`max`:
// n * max / (w - 1), held within 0..max. An area of one column (w = 1)
// shows 0 until its column came and `max` afterwards, instead of dividing by
// zero.
int scanProgress(int n, int w, int max = 100);

} // namespace lmk
