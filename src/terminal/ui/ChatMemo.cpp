#include "terminal/ui/ChatMemo.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>

#include <utility>

namespace lmk {

namespace {
// Block user state: the break that follows a block (meaningless for the last
// one). Kept after the block, not before the next one, because a deleted
// break joins two blocks into one that keeps the later block's state: the
// break after the joined text. Any other state (a new block's -1) is a line
// break, CR LF.
constexpr int kContinuation = 1; // nothing: the same piece of text
constexpr int kSingleCr = 2;
constexpr int kSingleLf = 3;
constexpr int kLineBreak = -1;

bool isLineBreak(int state) {
    return state != kContinuation && state != kSingleCr && state != kSingleLf;
}
// The block starts a line: the first block, or one after a line break.
bool startsLine(const QTextBlock &b) {
    const QTextBlock before = b.previous();
    return !before.isValid() || isLineBreak(before.userState());
}
QLatin1String breakText(int state) {
    switch (state) {
    case kContinuation: return QLatin1String("");
    case kSingleCr: return QLatin1String("\r");
    case kSingleLf: return QLatin1String("\n");
    default: return QLatin1String("\r\n");
    }
}

// Splits the block at the cursor with a break of the given kind; the second
// part keeps what followed the block.
void insertBreak(QTextCursor &c, int kind) {
    c.removeSelectedText();
    const int after = c.block().userState();
    c.insertBlock();
    c.block().setUserState(after);
    c.block().previous().setUserState(kind);
}
} // namespace

ChatMemo::ChatMemo(QWidget *parent) : QPlainTextEdit(parent) {
    setCurrentCharFormat(typedFormat());
    // Everything received stays; an undo history of it would only grow.
    setUndoRedoEnabled(false);
    // Tab moves on to the next control, as in the other text fields; a tab
    // character is nothing the receiver's terminal expects.
    setTabChangesFocus(true);
}

void ChatMemo::appendSegment(QTextCursor &c, QStringView s) {
    while (!s.isEmpty()) {
        int room = kSoftLineLength - (c.block().length() - 1);
        if (room <= 0) {
            insertBreak(c, kContinuation);
            room = kSoftLineLength;
        }
        const QStringView piece = s.left(room);
        c.insertText(piece.toString());
        s = s.mid(piece.size());
    }
}

QTextCharFormat ChatMemo::typedFormat() const {
    QTextCharFormat f;
    f.setForeground(palette().color(QPalette::Link));
    return f;
}

void ChatMemo::appendText(const QString &text) {
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    c.beginEditBlock();
    // Received text in the memo's own colour, typed text in the link colour.
    c.setCharFormat(QTextCharFormat());
    qsizetype i = 0;
    const QTextBlock last = document()->lastBlock();
    QTextBlock beforeLast = last.previous();
    if (m_crPending && text.startsWith(QLatin1Char('\n')) && last.text().isEmpty() &&
        beforeLast.isValid() && beforeLast.userState() == kSingleCr) {
        // CR | LF cut between two frames: one line break.
        beforeLast.setUserState(kLineBreak);
        i = 1;
    }
    m_crPending = text.endsWith(QLatin1Char('\r'));
    const qsizetype n = text.size();
    while (i < n) {
        qsizetype j = i;
        while (j < n && text[j] != QLatin1Char('\r') && text[j] != QLatin1Char('\n'))
            ++j;
        appendSegment(c, QStringView(text).mid(i, j - i));
        if (j < n) {
            if (text[j] == QLatin1Char('\r') && j + 1 < n && text[j + 1] == QLatin1Char('\n')) {
                insertBreak(c, kLineBreak);
                ++j;
            } else {
                insertBreak(c, text[j] == QLatin1Char('\r') ? kSingleCr : kSingleLf);
            }
            ++j;
        }
        i = j;
    }
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
    // What the user types next has the typed colour.
    setCurrentCharFormat(typedFormat());
    m_receivedEnd = c;
    // Typing right after it goes after it.
    m_receivedEnd.setKeepPositionOnInsert(true);
    emit textReceived(text);
}

QTextCursor ChatMemo::inputSelection() const {
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    QTextBlock b = c.block();
    while (!startsLine(b))
        b = b.previous();
    int start = b.position();
    if (!m_receivedEnd.isNull() && m_receivedEnd.position() > start)
        start = m_receivedEnd.position();
    c.setPosition(start, QTextCursor::KeepAnchor);
    return c;
}

QString ChatMemo::currentInput() const {
    return inputSelection().selectedText().replace(QChar::ParagraphSeparator, QString());
}

void ChatMemo::replaceInput(const QString &text) {
    QTextCursor c = inputSelection();
    c.insertText(text);
    setTextCursor(c);
    ensureCursorVisible();
}

void ChatMemo::appendTypedLine(const QString &line) {
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    c.beginEditBlock();
    c.setCharFormat(typedFormat());
    appendSegment(c, line);
    insertBreak(c, kLineBreak);
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
}

QString ChatMemo::chatText() const {
    // Block texts as they are (toPlainText would turn non-breaking spaces
    // into spaces).
    QString text;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        text += b.text();
        if (b.next().isValid())
            text += breakText(b.userState());
    }
    return text;
}

void ChatMemo::clearText() {
    clear();
    m_receivedEnd = QTextCursor();
    m_crPending = false;
    m_lineEndKey = 0;
    m_endedLine.clear();
}

int ChatMemo::lineCount(int limit) const {
    QTextBlock b = document()->lastBlock();
    // The empty piece after a final line break (or the empty memo) is no line.
    if (b.text().isEmpty() && startsLine(b))
        b = b.previous();
    int lines = 0;
    for (; b.isValid() && lines <= limit; b = b.previous())
        if (startsLine(b))
            ++lines;
    return lines;
}

bool ChatMemo::endsWithLineBreak() const {
    const QTextBlock last = document()->lastBlock();
    return last.previous().isValid() && last.text().isEmpty() && startsLine(last);
}

QString ChatMemo::lastLine() const {
    QTextBlock b = document()->lastBlock().previous();
    if (!b.isValid())
        return {};
    QString line = b.text();
    while (!startsLine(b)) {
        b = b.previous();
        line.prepend(b.text() + breakText(b.userState()));
    }
    return line;
}

void ChatMemo::keyPressEvent(QKeyEvent *e) {
    if ((e->key() == Qt::Key_Up || e->key() == Qt::Key_Down) &&
        (e->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        if (!isReadOnly())
            emit historyStep(e->key() == Qt::Key_Up ? -1 : 1);
        return;
    }
    // Enter, and Shift+Enter alike (no soft line break that the receiver
    // would not understand), ends the line with a line break of its own.
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !isReadOnly() &&
        (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
        // Held down, the key ends one line, not a run of empty ones that
        // would never be sent.
        if (e->isAutoRepeat())
            return;
        QTextCursor c = textCursor();
        insertBreak(c, kLineBreak);
        setTextCursor(c);
        ensureCursorVisible();
        // At the very end it ends the last line; anywhere else it only
        // breaks the text.
        m_lineEndKey = c.atEnd() ? e->key() : 0;
        m_endedLine = m_lineEndKey ? lastLine() : QString();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void ChatMemo::keyReleaseEvent(QKeyEvent *e) {
    QPlainTextEdit::keyReleaseEvent(e);
    // Only the release of the Enter key pressed here: not other keys, not a
    // key pressed elsewhere (the Tab that brought the focus into the memo).
    if (e->isAutoRepeat() || m_lineEndKey == 0 || e->key() != m_lineEndKey)
        return;
    m_lineEndKey = 0;
    const QString line = std::exchange(m_endedLine, QString());
    emit lineEnded(line);
}

void ChatMemo::insertFromMimeData(const QMimeData *source) {
    // Pasted or dropped text: its breaks are line breaks the user put there,
    // inserted here so that the break after the line stays as it was.
    if (!source || isReadOnly())
        return;
    static const QRegularExpression breaks(QStringLiteral("\r\n|[\r\n\u2029]"));
    const QStringList pieces = source->text().split(breaks);
    QTextCursor c = textCursor();
    c.beginEditBlock();
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            insertBreak(c, kLineBreak);
        c.insertText(pieces[i]);
    }
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
}

void ChatMemo::focusOutEvent(QFocusEvent *e) {
    // Keys held while the focus leaves are released elsewhere: a release the
    // memo sees later ends nothing.
    m_lineEndKey = 0;
    m_endedLine.clear();
    QPlainTextEdit::focusOutEvent(e);
}

} // namespace lmk
