#include "terminal/TerminalFrames.h"


namespace lmk {

int terminalLineFrameSize(int length) { return (length + 5 + 4) / 5 * 5; }

std::optional<QByteArray> terminalLineFrame(const QByteArray &line) {
    const int L = int(line.size());
    if (L > kMaxTerminalLine)
        return std::nullopt;
    QByteArray f(terminalLineFrameSize(L), '\0');
    f[0] = char(kTerminalTextCode);
    f[1] = char(L + 2);
    std::copy(line.cbegin(), line.cend(), f.begin() + 2);
    f[2 + L] = '\r';
    f[3 + L] = '\n';
    // f[4 + L] and the filler stay 0.
    return f;
}

QByteArray toTerminalBytes(const QString &text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text)
        out.append(c.unicode() <= 0xFF ? char(c.unicode()) : '?');
    return out;
}

QString unsendableCharacters(const QString &text) {
    QString found;
    for (QChar c : text)
        if (c.unicode() > 0xFF && !found.contains(c))
            found += c;
    return found;
}

QString fromTerminalBytes(const char *bytes, int length) {
    return QString::fromLatin1(bytes, qMax(0, length));
}

bool isLineAcknowledgement(const quint8 *payload, int length) {
    return length == 4 && payload && payload[0] == 0x00;
}

QStringList terminalLines(const QString &text) {
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1String("\r\n"));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool endsWithLineBreak(const QString &text) { return text.endsWith(QLatin1String("\r\n")); }

std::optional<ApSettings> apSettingsFromLines(const QStringList &lines) {
    if (lines.size() != kApAnswerLines)
        return std::nullopt;
    return ApSettings{lines[1], lines[3], lines[5], lines[7]};
}

std::optional<int> apFieldNumber(const QString &text, int min, int max) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (!ok || v < min || v > max)
        return std::nullopt;
    return v;
}

namespace {
void appendField(QByteArray &out, const QString &text, int width) {
    QByteArray b = toTerminalBytes(text.left(width));
    b.append(QByteArray(width - b.size(), ' '));
    out.append(b);
}
} // namespace

QByteArray apConfigFrame(const ApSettings &s) {
    QByteArray f;
    f.reserve(kApFrameSize);
    f.append(char(kTerminalTextCode));
    f.append(char(kApFrameSize - 2));
    f.append("set so s ");
    appendField(f, s.ssid, kSsidLength);
    f.append("\r\nset so p ");
    appendField(f, s.passkey, kPasskeyLength);
    f.append("\r\nset so c ");
    appendField(f, s.channel, 2);
    f.append("\r\nset wl t ");
    appendField(f, s.power, 2);
    f.append("\r\nsave\r\n");
    Q_ASSERT(f.size() == kApFrameSize);
    return f;
}

} // namespace lmk
