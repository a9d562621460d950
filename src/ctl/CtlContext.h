#pragma once
// What every lmkctl sub-command shares: the link, the console dialogs, the
// exit codes and the progress display.

#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "link/Exchange.h"
#include "link/ProgressText.h"

#include <QElapsedTimer>

#include <QStringList>
#include <QTextStream>

namespace lmk::ctl {

enum ExitCode {
    ExitDone = 0,
    ExitRefused = 1,      // the receiver refused or reported an error
    ExitUsage = 2,        // wrong usage
    ExitNoConnection = 3, // no connection
    ExitTimeout = 4,      // the receiver did not answer in time
    ExitInterrupted = 130, // ended by Ctrl+C
};

// Message boxes become lines on standard error; questions are answered by
// --yes (or refused); file dialogs are never used.
class ConsoleDialogs : public Dialogs {
public:
    bool assumeYes = false;
    QStringList shown; // every text, in order

    void information(const QString &text) override;
    bool confirmYesNo(const QString &text) override;
    bool confirmOkCancel(const QString &text) override;
    QString openFile(const QString &, const QString &) override { return {}; }
    QString saveFile(const QString &, const QString &) override { return {}; }
    std::optional<quint32> chooseColor(quint32) override { return std::nullopt; }
};

struct Context {
    DeviceLink &link;
    ConsoleDialogs &dialogs;
    bool usb = false;
    QTextStream out;
    QTextStream err;

    Context(DeviceLink &l, ConsoleDialogs &d);
    // Opens the chosen transport; prints why not and returns false.
    bool connect();
    // Whether the link reported a lost or missing connection on the way.
    bool connectionLost() const;
    // Prints an operation's final text and returns the exit code of how it
    // ended; a lost connection wins.
    int fail(const QString &text, ExchangeEnd end);
    // A progress bar on standard error when it is a terminal, with the
    // amount done of the total, the rate and the time left since the first
    // call after endProgress().
    void progress(const QString &label, qint64 done, qint64 total,
                  ProgressUnit unit = ProgressUnit::Columns);
    void endProgress();

private:
    bool m_lost = false; // the link reported a lost or missing connection
    bool m_tty = false;
    bool m_progressShown = false;
    static constexpr qint64 kProgressRedrawMs = 100;
    QElapsedTimer m_progressClock;
    qint64 m_progressPrinted = 0; // m_progressClock's time of the last line
    qsizetype m_progressWidth = 0; // characters of the last line shown
};

// One sub-command: parses its own arguments (args[0] is its name).
struct Command {
    const char *name;
    const char *summary;
    int (*run)(Context &ctx, const QStringList &args);
};

const QList<Command> &commands();

// How an operation's requests ended, as lmkctl's exit code.
int exitCodeFor(ExchangeEnd end);

} // namespace lmk::ctl
