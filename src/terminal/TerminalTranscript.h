#pragma once
// How a terminal session is shown and kept, for the page and for lmkctl:
// the received bytes and the sent lines as view text (timestamps, hex rows,
// sent lines marked) and as a log file. None of this reaches the wire: the
// receiver gets the typed line as it was typed.
//
// View text, timestamps on, "ver" sent and "LMK540 V103" CR LF received:
//   09:58:29.120 [TX] ver
//   09:58:29.161 LMK540 V103
// Hex rows (offset counted per direction, 16 bytes a row, printable ASCII
// beside, anything else as '.'):
//   [TX] 00000000  76 65 72 0d 0a                                   |ver..|
//   00000000  4c 4d 4b 35 34 30 20 56 31 30 33 0d 0a                |LMK540 V103..|
// Log file line (UTF-8, one line each, date and time to the millisecond):
//   2026-12-11 09:58:29.120 TX ver
//   2026-12-11 09:58:29.161 RX LMK540 V103

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>

namespace lmk {

// The mark of a sent line in the view: text, so that a screen reader and a
// copy of the text carry it too.
inline constexpr const char *kSentMark = "[TX] ";
constexpr int kHexRowBytes = 16;

// "HH:MM:SS.mmm", local time.
QString clockText(const QDateTime &when);
// One hex row: offset (8 hex digits), up to 16 bytes in hex, the printable
// characters between bars.
QString hexRow(qint64 offset, const QByteArray &bytes);

struct TranscriptOptions {
    bool timestamps = false;
    bool hex = false;
};

// Turns the session, as it happens, into view text: each call returns the
// text to append at the end of what it returned before. Lines end with
// '\n'; a received CR LF, a single CR or a single LF each end one line (a CR
// LF cut between two frames ends it once). With timestamps each line starts
// with the time its first character arrived.
class TranscriptFormatter {
public:
    explicit TranscriptFormatter(TranscriptOptions options = {}) : m_options(options) {}
    TranscriptOptions options() const { return m_options; }

    QString received(const QByteArray &bytes, const QDateTime &when);
    // A sent line (without its line end), marked, on a line of its own.
    QString sent(const QByteArray &line, const QDateTime &when);
    // Forgets where the last line ended and the hex offsets (an emptied view).
    void reset();

private:
    QString linePrefix(const QDateTime &when) const;

    TranscriptOptions m_options;
    bool m_atLineStart = true;
    bool m_crPending = false;
    qint64 m_rxOffset = 0;
    qint64 m_txOffset = 0;
};

// The session log: every received and sent line, appended to a file, one
// line each, written and flushed as soon as the line is complete. A received
// line still open when the log is closed (or destroyed) is written then.
class SessionLog {
public:
    SessionLog() = default;
    ~SessionLog();
    SessionLog(const SessionLog &) = delete;
    SessionLog &operator=(const SessionLog &) = delete;

    // Opens `path` for appending; false with the reason in error().
    bool open(const QString &path);
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_file.fileName(); }
    // Why the last open or write failed; empty while all went well.
    QString error() const { return m_error; }

    void received(const QByteArray &bytes, const QDateTime &when);
    void sent(const QByteArray &line, const QDateTime &when);

    // One log line, as written (without its '\n').
    static QByteArray logLine(const QDateTime &when, bool sent, const QByteArray &latin1Text);

private:
    void write(const QDateTime &when, bool sent, const QByteArray &text);
    void flushPartial();

    QFile m_file;
    QString m_error;
    QByteArray m_partial; // received text of the line not ended yet
    QDateTime m_partialStart;
    bool m_crPending = false;
};

} // namespace lmk
