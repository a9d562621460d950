#pragma once
// What every lmkctl sub-command shares: the link, the console dialogs, the
// exit codes and the progress display.

#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "link/Exchange.h"
#include "link/ProgressText.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QMap>
#include <QStringList>
#include <QTextStream>

class QCommandLineParser;

namespace lmk::ctl {

enum ExitCode {
    ExitDone = 0,
    ExitRefused = 1,      // the receiver refused or reported an error
    ExitUsage = 2,        // wrong usage
    ExitNoConnection = 3, // no connection
    ExitTimeout = 4,      // the receiver did not answer in time
    ExitInterrupted = 130, // ended by Ctrl+C (SIGTERM 143, SIGHUP 129: stopExitCode())
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
    // -q: no progress and no success texts on standard error; errors stay.
    bool quiet = false;
    QString command; // the sub-command's name, for messages
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
    // Takes the bar off the terminal's line, so the next line starts there.
    void clearProgress();
    // One JSON object, on one line of standard output (--json).
    void printJson(const QJsonObject &object);
    // "lmkctl: TEXT" on standard error: what went wrong.
    void error(const QString &text);
    // A stop was requested (Ctrl+C, SIGTERM, SIGHUP, a closed output).
    bool stopping() const;
    // Says on standard error what the stop ended and how far it got
    // ("lmkctl: Stopped by SIGTERM. HOW_FAR"), nothing after a closed
    // pipe; returns the exit code of the stop (128 + the signal).
    int stopped(const QString &howFar);
    // Whether stopped() has told how far the command got.
    bool stopReported() const { return m_stopReported; }
    // A success or progress text on standard error, unless -q.
    void note(const QString &text);
    // "lmkctl COMMAND: PROBLEM (see 'lmkctl COMMAND --help')"; returns ExitUsage.
    int usageError(const QString &problem);
    // A --json given to an action that reports nothing as JSON: a usage
    // error naming what has it.
    int jsonRefused(const QString &what);

private:
    bool m_lost = false; // the link reported a lost or missing connection
    bool m_stopReported = false;
    bool m_tty = false;
    bool m_progressShown = false;
    static constexpr qint64 kProgressRedrawMs = 100;
    QElapsedTimer m_progressClock;
    qint64 m_progressPrinted = 0; // m_progressClock's time of the last line
    qsizetype m_progressWidth = 0; // characters of the last line shown
};

// One option of a command: one line of its table.
//   {{"o", "output"}, "the picture file", "FILE"}
struct Option {
    QStringList names;         // short and/or long, without dashes
    QString help;
    QString value = {};        // the value's name; empty for a flag
    QString defaultValue = {};
    QStringList choices = {};  // values the shell completion offers
    QStringList fileTypes = {}; // a file value's extensions, lower case ("mem"); empty: any
    bool fileValue() const { return value.compare(QLatin1String("FILE"), Qt::CaseInsensitive) == 0; }
};

// One sub-command. Its options, arguments and help come from this table; the
// program parses them (global options anywhere, --opt=value, -o value) and
// only then calls run() with the parsed arguments.
struct Command {
    QString name;
    QString summary;     // one line, for the command list
    QString synopsis;    // the arguments after the command, e.g. "FILE"
    QString description; // the text of 'lmkctl COMMAND --help'
    QList<Option> options;
    QStringList actions = {};  // words of the first argument, for completion
    bool fileArguments = false; // the arguments are file names (completion)
    int (*run)(Context &ctx, const QCommandLineParser &args) = nullptr;
    // The extensions of the file arguments the completion offers, by the
    // action (the first argument); "" for every other action.
    QMap<QString, QStringList> argumentTypes = {};
};

const QList<Command> &commands();
const Command *findCommand(const QString &name);
// The options every command takes, before or after its name.
const QList<Option> &globalOptions();

// How an operation's requests ended, as lmkctl's exit code.
int exitCodeFor(ExchangeEnd end);

} // namespace lmk::ctl
