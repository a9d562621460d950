#include "terminal/ui/ChatMemo.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>

namespace lmk {

namespace {
constexpr int kContinuation = 1; // block user state: no line break before it

bool isContinuation(const QTextBlock &b) { return b.userState() == kContinuation; }
} // namespace

ChatMemo::ChatMemo(QWidget *parent) : QPlainTextEdit(parent) {
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
            c.insertBlock();
            c.block().setUserState(kContinuation);
            room = kSoftLineLength;
        }
        const QStringView piece = s.left(room);
        c.insertText(piece.toString());
        s = s.mid(piece.size());
    }
}

void ChatMemo::appendText(const QString &text) {
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    c.beginEditBlock();
    qsizetype i = 0;
    if (m_crPending && text.startsWith(QLatin1Char('\n')) && endsWithLineFeed())
        i = 1;
    m_crPending = text.endsWith(QLatin1Char('\r'));
    const qsizetype n = text.size();
    while (i < n) {
        qsizetype j = i;
        while (j < n && text[j] != QLatin1Char('\r') && text[j] != QLatin1Char('\n'))
            ++j;
        appendSegment(c, QStringView(text).mid(i, j - i));
        if (j < n) {
            c.insertBlock();
            c.block().setUserState(-1);
            if (text[j] == QLatin1Char('\r') && j + 1 < n && text[j + 1] == QLatin1Char('\n'))
                ++j;
            ++j;
        }
        i = j;
    }
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
}

QString ChatMemo::chatText() const {
    // Block texts as they are (toPlainText would turn non-breaking spaces
    // into spaces).
    QString text;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) {
        if (b != document()->begin() && !isContinuation(b))
            text += QLatin1Char('\n');
        text += b.text();
    }
    return text;
}

void ChatMemo::clearText() {
    clear();
    m_crPending = false;
}

int ChatMemo::lineCount(int limit) const {
    QTextBlock b = document()->lastBlock();
    // The empty piece after a final line break (or the empty memo) is no line.
    if (b.text().isEmpty() && !isContinuation(b))
        b = b.previous();
    int lines = 0;
    for (; b.isValid() && lines <= limit; b = b.previous())
        if (!isContinuation(b))
            ++lines;
    return lines;
}

bool ChatMemo::endsWithLineFeed() const {
    const QTextBlock last = document()->lastBlock();
    return document()->blockCount() > 1 && last.text().isEmpty() && !isContinuation(last);
}

QString ChatMemo::lastLine() const {
    QTextBlock b = document()->lastBlock().previous();
    if (!b.isValid())
        return {};
    QString line = b.text();
    while (isContinuation(b) && b.previous().isValid()) {
        b = b.previous();
        line.prepend(b.text());
    }
    return line;
}

void ChatMemo::keyPressEvent(QKeyEvent *e) {
    m_keysDown.insert(e->key());
    // Enter, and Shift+Enter alike (no soft line break that the receiver
    // would not understand), ends the line with a line break of its own.
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !isReadOnly() &&
        (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
        QTextCursor c = textCursor();
        c.insertBlock();
        c.block().setUserState(-1);
        setTextCursor(c);
        ensureCursorVisible();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void ChatMemo::keyReleaseEvent(QKeyEvent *e) {
    QPlainTextEdit::keyReleaseEvent(e);
    // One key-up per key, however long it was held. A key pressed elsewhere
    // is not one typed here: the Tab that brought the focus into the memo is
    // released in it.
    if (!e->isAutoRepeat() && m_keysDown.remove(e->key()))
        emit keyReleased();
}

void ChatMemo::focusOutEvent(QFocusEvent *e) {
    // Keys held while the focus leaves are released elsewhere.
    m_keysDown.clear();
    QPlainTextEdit::focusOutEvent(e);
}

} // namespace lmk
