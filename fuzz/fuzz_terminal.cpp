// Feeds arbitrary received terminal text, cut into arbitrary frames, through
// the acknowledgement test, the line rule and the 8-line fill-in rule (8
// complete lines), and
// sends whatever was filled in back through the configuration frame and the
// last line through the line frame.
//
// Input layout: byte 0 seeds the frame sizes; the rest is the received text.
#include "terminal/TerminalFrames.h"

#include <cstdint>
#include <cstdlib>

using namespace lmk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1)
        return 0;
    unsigned seed = data[0] | 1u;
    data += 1;
    size -= 1;
    QString text;
    size_t at = 0;
    while (at < size) {
        seed = seed * 1103515245u + 12345u;
        const size_t n = std::min<size_t>(size - at, 1 + (seed >> 16) % 64);
        const quint8 *p = data + at;
        at += n;
        if (isLineAcknowledgement(p, int(n)))
            continue;
        text += fromTerminalBytes(reinterpret_cast<const char *>(p), int(n));
        const QStringList lines = terminalLines(text);
        const auto s = endsWithLineBreak(text) ? apSettingsFromLines(lines) : std::nullopt;
        if (s) {
            if (apConfigFrame(*s).size() != kApFrameSize)
                std::abort();
            text.clear();
        } else if (!lines.isEmpty()) {
            const QByteArray last = toTerminalBytes(lines.last());
            const auto f = terminalLineFrame(last);
            if (f.has_value() != (last.size() <= kMaxTerminalLine))
                std::abort();
            if (f && (f->size() % 5 != 0 || quint8((*f)[1]) != last.size() + 2))
                std::abort();
        }
    }
    return 0;
}
