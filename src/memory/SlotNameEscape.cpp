#include "memory/SlotNameEscape.h"

namespace lmk {

namespace {
constexpr char kHex[] = "0123456789ABCDEF";

bool isControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}
} // namespace

QString escapeSlotText(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (isControl(c.unicode()))
            out += QStringLiteral("\\x") + QLatin1Char(kHex[c.unicode() >> 4]) +
                   QLatin1Char(kHex[c.unicode() & 0xF]);
        else
            out += c;
    }
    return out;
}

std::optional<QString> unescapeSlotText(const QString &escaped) {
    QString out;
    out.reserve(escaped.size());
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const QChar c = escaped[i];
        if (c == QLatin1Char('\\') && i + 1 < escaped.size()) {
            const QChar next = escaped[i + 1];
            if (next == QLatin1Char('\\')) {
                out += next;
                ++i;
                continue;
            }
            if (next == QLatin1Char('x') && i + 3 < escaped.size()) {
                const int hi = hexValue(escaped[i + 2]);
                const int lo = hexValue(escaped[i + 3]);
                if (hi >= 0 && lo >= 0) {
                    const int v = hi * 16 + lo;
                    if (v == 0)
                        return std::nullopt;
                    out += QChar(char16_t(v));
                    i += 3;
                    continue;
                }
            }
        }
        out += c;
    }
    return out;
}

} // namespace lmk
