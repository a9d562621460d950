#pragma once
// Line editing for `lmkctl terminal` on a terminal: libedit's editor with a
// history (Up/Down). It reads on a thread of its own, so that the receiver's
// text keeps arriving while a line is typed; the lines come out in the
// caller's thread through takeLines(). Ctrl+D on an empty line and Ctrl+]
// end the session. Without libedit (or without a terminal) available() is
// false and the command reads plain lines.

#include <QString>
#include <QStringList>

#include <memory>

namespace lmk::ctl {

class TerminalLineEditor {
public:
    // `historyFile`: where the lines typed are kept between runs (empty:
    // not kept).
    explicit TerminalLineEditor(const QString &historyFile);
    ~TerminalLineEditor(); // the terminal as it was, the history saved
    TerminalLineEditor(const TerminalLineEditor &) = delete;
    TerminalLineEditor &operator=(const TerminalLineEditor &) = delete;

    // Built with libedit and standard input is a terminal.
    static bool available();

    // The lines ended with Enter since the last call, in order.
    QStringList takeLines();
    // Lines are waiting, or the session ended.
    bool pending() const;
    // Ctrl+D on an empty line, Ctrl+] or the end of input (the lines typed
    // before still come out of takeLines()).
    bool finished() const;
    // Prints text from the receiver on lines of its own.
    void print(const QString &text);

private:
    struct Reader;
    std::shared_ptr<Reader> m_reader;
};

} // namespace lmk::ctl
