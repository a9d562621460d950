#include "ctl/TerminalLineEditor.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <utility>

#if defined(LMK_HAVE_LIBEDIT)
#include <editline/readline.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>
#endif

namespace lmk::ctl {

#if defined(LMK_HAVE_LIBEDIT)
namespace {
constexpr int kCtrlBracket = 0x1d; // Ctrl+]
constexpr int kHistoryLines = 1000;
std::atomic<bool> g_quitKey{false};

// Reads the keys for libedit. Ctrl+] ends the session: it ends the line
// being edited, which is then dropped.
int readKey(FILE *) {
    unsigned char c = 0;
    if (::read(STDIN_FILENO, &c, 1) <= 0)
        return EOF;
    if (c == kCtrlBracket) {
        g_quitKey = true;
        return '\n';
    }
    return c;
}
} // namespace

struct TerminalLineEditor::Reader {
    std::mutex mutex;
    QStringList lines;
    bool finished = false;
    termios saved{};
    bool savedOk = false;
    QByteArray historyFile;
    std::thread thread;

    void run() {
        for (;;) {
            // libedit: the line edited on the terminal, with the history.
            char *line = readline("");
            if (line == nullptr || g_quitKey) {
                std::free(line);
                std::lock_guard<std::mutex> lock(mutex);
                finished = true;
                return;
            }
            if (*line)
                add_history(line);
            const QString text = QString::fromLocal8Bit(line);
            std::free(line);
            std::lock_guard<std::mutex> lock(mutex);
            lines << text;
        }
    }
};

bool TerminalLineEditor::available() { return isatty(STDIN_FILENO) && isatty(STDOUT_FILENO); }

TerminalLineEditor::TerminalLineEditor(const QString &historyFile)
    : m_reader(std::make_shared<Reader>()) {
    m_reader->savedOk = tcgetattr(STDIN_FILENO, &m_reader->saved) == 0;
    g_quitKey = false;
    rl_getc_function = readKey;
    rl_catch_signals = 0; // SIGINT and the others belong to lmkctl
    rl_initialize();
    using_history();
    stifle_history(kHistoryLines);
    if (!historyFile.isEmpty()) {
        m_reader->historyFile = QFile::encodeName(historyFile);
        QDir().mkpath(QFileInfo(historyFile).absolutePath());
        read_history(m_reader->historyFile.constData());
    }
    m_reader->thread = std::thread([r = m_reader] { r->run(); });
}

TerminalLineEditor::~TerminalLineEditor() {
    if (finished()) {
        m_reader->thread.join();
        if (!m_reader->historyFile.isEmpty())
            write_history(m_reader->historyFile.constData());
    } else {
        // Ended from outside (a lost link) while a line is being read: the
        // reader stays blocked until the program ends.
        m_reader->thread.detach();
    }
    if (m_reader->savedOk)
        tcsetattr(STDIN_FILENO, TCSANOW, &m_reader->saved);
}

QStringList TerminalLineEditor::takeLines() {
    std::lock_guard<std::mutex> lock(m_reader->mutex);
    return std::exchange(m_reader->lines, QStringList());
}

bool TerminalLineEditor::pending() const {
    std::lock_guard<std::mutex> lock(m_reader->mutex);
    return !m_reader->lines.isEmpty() || m_reader->finished;
}

bool TerminalLineEditor::finished() const {
    std::lock_guard<std::mutex> lock(m_reader->mutex);
    return m_reader->finished;
}

void TerminalLineEditor::print(const QString &text) {
    if (text.isEmpty())
        return;
    // From the start of the line; what is being typed stays in the editor
    // and is drawn again with the next key.
    std::fputs("\r\x1b[K", stdout);
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    if (!text.endsWith(QLatin1Char('\n')))
        std::fputs("\r\n", stdout);
    std::fflush(stdout);
}

#else

struct TerminalLineEditor::Reader {};
bool TerminalLineEditor::available() { return false; }
TerminalLineEditor::TerminalLineEditor(const QString &) {}
TerminalLineEditor::~TerminalLineEditor() = default;
QStringList TerminalLineEditor::takeLines() { return {}; }
bool TerminalLineEditor::pending() const { return true; }
bool TerminalLineEditor::finished() const { return true; }
void TerminalLineEditor::print(const QString &) {}

#endif

} // namespace lmk::ctl
