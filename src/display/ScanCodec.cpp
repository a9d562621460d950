#include "display/ScanCodec.h"

namespace lmk {

QByteArray scanRequest(int x, int y, int w, int h) {
    QByteArray r(kScanRequestSize, '\0');
    r[0] = char(kScanRequestCode);
    const int v[4] = {x, y, w, h};
    for (int i = 0; i < 4; ++i) {
        r[1 + 2 * i] = char(v[i] & 0xFF);
        r[2 + 2 * i] = char((v[i] >> 8) & 0xFF);
    }
    r[9] = 0;
    return r;
}

ScanReply readScanReply(const quint8 *payload, int length, int p, int w, bool accepted) {
    ScanReply r;
    if (length == kScanStatusSize && !(accepted && p == kScanStatusSize)) {
        r.kind = payload[0] == 0 ? ScanReply::Accepted : ScanReply::Refused;
        r.code = payload[0];
        return r;
    }
    if (length != p || length < kColumnHeaderSize)
        return r; // Failure
    r.column = columnIndex(payload);
    if (r.column < w)
        r.kind = ScanReply::Column;
    return r;
}

int scanProgress(int n, int w, int max) {
    if (w == 1) // one column: nothing to divide, done once it came
        return n >= 1 ? max : 0;
    if (w <= 0)
        return 0;
    const qint64 v = qint64(n) * max / (w - 1);
    return int(qBound<qint64>(0, v, qint64(max)));
}

} // namespace lmk
