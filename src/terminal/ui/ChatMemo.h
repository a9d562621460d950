#pragma once
// The terminal memo M_Chat: plain text, one character per received byte.
//
// Its text is the terminal text with each block break standing for a break
// as it came: a line break (CR LF, also the one the Enter key types), or a
// single CR or LF from the receiver, shown as a break but part of its line.
// A received line longer than kSoftLineLength characters is held in several
// blocks, the later ones marked as continuations: the memo lays out only the
// block being appended to, so a receiver that sends a long stream without
// line breaks cannot make every further frame slower. Continuations, single
// CRs and single LFs are not line breaks: the lines, the line count and the
// ended line read through them.
//
// A line goes to the receiver only when the user ends it: Enter (Return,
// keypad Enter, Shift+Enter) typed at the very end of the text ends the last
// line, and lineEnded() reports that line when this key is released, once
// per press. Enter anywhere else only breaks the text; no other key, and no
// text from the receiver, ends a line.
//
// Ctrl+Up and Ctrl+Down ask for an earlier or later sent line
// (historyStep); the page puts it in place of what the user typed on the
// last line after the receiver's last text (replaceInput). Typed text shows
// in the palette's link colour, received text in the text colour.

#include "terminal/TerminalOperations.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace lmk {

class ChatMemo : public QPlainTextEdit, public TerminalChat {
    Q_OBJECT
public:
    static constexpr int kSoftLineLength = 1024;

    explicit ChatMemo(QWidget *parent = nullptr);

    // TerminalChat
    void appendText(const QString &text) override;
    QString chatText() const override; // the breaks as they came
    void clearText() override;
    int lineCount(int limit) const override;
    bool endsWithLineBreak() const override;

    // The line before the final line break.
    QString lastLine() const;

    // What the user typed on the last line after the receiver's last text,
    // and its replacement (the caret at its end).
    QString currentInput() const;
    void replaceInput(const QString &text);
    // A line sent from elsewhere on the page, written as if typed and ended
    // here (it is not sent again).
    void appendTypedLine(const QString &line);

signals:
    // The key that ended the last line was released; `line` is that line.
    void lineEnded(const QString &line);
    // Text from the receiver was appended (appendText).
    void textReceived(const QString &text);
    // Ctrl+Up (-1) or Ctrl+Down (+1).
    void historyStep(int direction);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void appendSegment(class QTextCursor &c, QStringView s);
    QTextCharFormat typedFormat() const;
    // From where the user's input on the last line starts to the end.
    QTextCursor inputSelection() const;

    // The last text appended ended with CR: a LF that follows in the next
    // frame completes that line break instead of standing alone.
    bool m_crPending = false;
    // The key whose press ended the last line (0: none), and that line.
    int m_lineEndKey = 0;
    QString m_endedLine;
    // Where the receiver's last text ended; moves with the text.
    QTextCursor m_receivedEnd;
};

} // namespace lmk
