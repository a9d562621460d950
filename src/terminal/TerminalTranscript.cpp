#include "terminal/TerminalTranscript.h"

namespace lmk {

QString clockText(const QDateTime &when) {
    return when.toLocalTime().toString(QStringLiteral("HH:mm:ss.zzz"));
}

QString hexRow(qint64 offset, const QByteArray &bytes) {
    QString hex = QString::fromLatin1(bytes.toHex(' '));
    hex = hex.leftJustified(kHexRowBytes * 3 - 1, QLatin1Char(' '));
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes)
        text += (c >= 0x20 && c < 0x7f) ? QLatin1Char(c) : QLatin1Char('.');
    return QStringLiteral("%1  %2  |%3|")
        .arg(offset, 8, 16, QLatin1Char('0'))
        .arg(hex, text);
}

QString TranscriptFormatter::linePrefix(const QDateTime &when) const {
    return m_options.timestamps ? clockText(when) + QLatin1Char(' ') : QString();
}

QString TranscriptFormatter::received(const QByteArray &bytes, const QDateTime &when) {
    QString out;
    if (bytes.isEmpty())
        return out;
    if (m_options.hex) {
        for (qsizetype i = 0; i < bytes.size(); i += kHexRowBytes) {
            const QByteArray row = bytes.mid(i, kHexRowBytes);
            out += linePrefix(when) + hexRow(m_rxOffset, row) + QLatin1Char('\n');
            m_rxOffset += row.size();
        }
        return out;
    }
    qsizetype i = 0;
    if (m_crPending && bytes.startsWith('\n'))
        i = 1; // the LF of a CR LF cut between two frames
    m_crPending = bytes.endsWith('\r');
    for (; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            if (m_atLineStart)
                out += linePrefix(when);
            out += QLatin1Char('\n');
            m_atLineStart = true;
            continue;
        }
        if (m_atLineStart)
            out += linePrefix(when);
        m_atLineStart = false;
        out += QChar(uchar(c));
    }
    return out;
}

QString TranscriptFormatter::sent(const QByteArray &line, const QDateTime &when) {
    QString out;
    const QString mark = QString::fromLatin1(kSentMark);
    if (m_options.hex) {
        const QByteArray bytes = line + "\r\n";
        for (qsizetype i = 0; i < bytes.size(); i += kHexRowBytes) {
            const QByteArray row = bytes.mid(i, kHexRowBytes);
            out += linePrefix(when) + mark + hexRow(m_txOffset, row) + QLatin1Char('\n');
            m_txOffset += row.size();
        }
        return out;
    }
    if (!m_atLineStart)
        out += QLatin1Char('\n'); // a received line not ended yet (a prompt)
    out += linePrefix(when) + mark + QString::fromLatin1(line) + QLatin1Char('\n');
    m_atLineStart = true;
    m_crPending = false;
    return out;
}

void TranscriptFormatter::reset() {
    m_atLineStart = true;
    m_crPending = false;
    m_rxOffset = 0;
    m_txOffset = 0;
}

SessionLog::~SessionLog() { close(); }

bool SessionLog::open(const QString &path) {
    close();
    m_error.clear();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        m_error = m_file.errorString();
        return false;
    }
    return true;
}

void SessionLog::close() {
    if (!m_file.isOpen())
        return;
    flushPartial();
    m_file.close();
}

QByteArray SessionLog::logLine(const QDateTime &when, bool sent, const QByteArray &latin1Text) {
    return when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toLatin1() +
           (sent ? " TX " : " RX ") + QString::fromLatin1(latin1Text).toUtf8();
}

void SessionLog::write(const QDateTime &when, bool sent, const QByteArray &text) {
    if (!m_file.isOpen())
        return;
    const QByteArray line = logLine(when, sent, text) + '\n';
    if (m_file.write(line) != line.size() || !m_file.flush()) {
        if (m_error.isEmpty())
            m_error = m_file.errorString();
    }
}

void SessionLog::flushPartial() {
    if (m_partialStart.isValid())
        write(m_partialStart, false, m_partial);
    m_partial.clear();
    m_partialStart = QDateTime();
}

void SessionLog::received(const QByteArray &bytes, const QDateTime &when) {
    if (!m_file.isOpen() || bytes.isEmpty())
        return;
    qsizetype i = 0;
    if (m_crPending && bytes.startsWith('\n'))
        i = 1;
    m_crPending = bytes.endsWith('\r');
    for (; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (!m_partialStart.isValid())
            m_partialStart = when;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            flushPartial();
            continue;
        }
        m_partial += c;
    }
}

void SessionLog::sent(const QByteArray &line, const QDateTime &when) {
    if (!m_file.isOpen())
        return;
    // A received line still open (a prompt) goes first: the log keeps the
    // order in which things happened.
    flushPartial();
    m_crPending = false;
    write(when, true, line);
}

} // namespace lmk
