#pragma once
// The terminal memo M_Chat: plain text, one character per received byte.
//
// Its text is the terminal text with each block break standing for a line
// break (CR LF, or a single CR or LF as received). A received line longer
// than kSoftLineLength characters is held in several blocks, the later ones
// marked as continuations: the memo lays out only the block being appended
// to, so a receiver that sends a long stream without line breaks cannot make
// every further frame slower. Continuations are not line breaks: the lines,
// the line count and the last line read through them.

#include "terminal/TerminalOperations.h"

#include <QPlainTextEdit>
#include <QSet>

namespace lmk {

class ChatMemo : public QPlainTextEdit, public TerminalChat {
    Q_OBJECT
public:
    static constexpr int kSoftLineLength = 1024;

    explicit ChatMemo(QWidget *parent = nullptr);

    // TerminalChat
    void appendText(const QString &text) override;
    QString chatText() const override;
    void clearText() override;
    int lineCount(int limit) const override;

    // The text ends with a line feed (an empty last line after a break).
    bool endsWithLineFeed() const;
    // The line before the final line break.
    QString lastLine() const;

signals:
    // A key was released (auto-repeat releases excluded).
    void keyReleased();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    void appendSegment(class QTextCursor &c, QStringView s);

    // The last text appended ended with CR: a LF that follows in the next
    // frame completes that line break instead of starting another line.
    bool m_crPending = false;
    // Keys pressed in the memo and not yet released.
    QSet<int> m_keysDown;
};

} // namespace lmk
