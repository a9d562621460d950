// lmkctl terminal and ap: the "USB Terminal" page's text channel and its
// access-point form, over USB only as in the window.
#include "ctl/CtlCommands.h"

#include "ctl/TerminalLineEditor.h"
#include "link/Wait.h"
#include "memory/SlotNameEscape.h"
#include "terminal/TerminalSession.h"
#include "terminal/TerminalTranscript.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cstdio>
#include <deque>
#include <functional>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace lmk::ctl {

namespace {

// How long the receiver gets to send its access-point answer after 0D 01.
constexpr int kSettingsWaitMs = 2000;
// Received text is collected until nothing came for this long at the end.
constexpr int kQuietMs = 300;
constexpr int kTailMaxMs = 3000;
// The WiFi module's answer to "save", and how long it may take to come.
constexpr const char *kApSavedText = "Saved";
constexpr int kApConfirmMs = 3000;

// Reads standard input line by line on its own thread, so the event loop
// keeps delivering the receiver's text while no line is typed.
struct StdinLines {
    std::mutex mutex;
    std::deque<std::string> lines;
    bool eof = false;

    bool pending() {
        std::lock_guard<std::mutex> lock(mutex);
        return !lines.empty() || eof;
    }
};

// USB is required; prints the window's message otherwise.
bool connectUsb(Context &ctx) {
    if (!ctx.usb) {
        ctx.error(kNoUsbText);
        return false;
    }
    return ctx.connect();
}

int settingsTimeout(Context &ctx) {
    return ctx.fail(QString::fromLatin1(kTimeoutText), ExchangeEnd::Timeout);
}

} // namespace

namespace {

// One step of a scripted session, in the order of the command line.
struct ScriptStep {
    bool send = false;
    QString text;              // the line to send, or the expectation as typed
    QRegularExpression regex;  // an expectation's
};

// The session's text as lmkctl shows and keeps it: standard output (as it
// came, or with timestamps or as hex rows) and the log file.
struct TerminalOutput {
    explicit TerminalOutput(Context &c) : ctx(c) {}
    Context &ctx;
    bool formatted = false;
    TranscriptFormatter view;
    SessionLog log;
    TerminalLineEditor *editor = nullptr;

    void received(const QString &text) {
        if (text.isEmpty())
            return;
        const QByteArray bytes = text.toLatin1(); // one character per byte
        const QDateTime now = QDateTime::currentDateTime();
        log.received(bytes, now);
        const QString shown = formatted ? view.received(bytes, now) : text;
        if (editor) {
            editor->print(shown);
            return;
        }
        ctx.out << shown;
        ctx.out.flush();
    }
    void sent(const QString &line) { log.sent(line.toLatin1(), QDateTime::currentDateTime()); }
};

// The one place lmkctl waits for the receiver's terminal text: events are
// processed until `stop()` holds or `ms` ran out (ms < 0: no limit), and each
// piece of text goes to `text` as soon as it arrived. True when `stop()`
// ended it.
bool pumpTerminal(TerminalSession &session, int ms, const std::function<bool()> &stop,
                  const std::function<void(const QString &)> &text) {
    return waitWhile(
        [&] {
            const QString arrived = session.takeText(0, 0);
            if (!arrived.isEmpty())
                text(arrived);
            return !stop();
        },
        ms);
}

// --send and --expect in the order given (QCommandLineParser keeps the order
// of the names it found, one entry per occurrence).
std::optional<QList<ScriptStep>> scriptSteps(Context &ctx, const QCommandLineParser &p) {
    const QStringList sends = p.values(QStringLiteral("send"));
    const QStringList expects = p.values(QStringLiteral("expect"));
    qsizetype nextSend = 0, nextExpect = 0;
    QList<ScriptStep> steps;
    for (const QString &name : p.optionNames()) {
        ScriptStep step;
        if (name == QLatin1String("send") && nextSend < sends.size()) {
            step.send = true;
            step.text = sends[nextSend++];
            if (const QString bad = unsendableCharacters(step.text); !bad.isEmpty()) {
                ctx.error(QStringLiteral("--send \"%1\": ").arg(step.text) +
                          QString::fromLatin1(kUnsendableLineText).arg(bad));
                return std::nullopt;
            }
            if (step.text.size() > kMaxTerminalLine) {
                ctx.error(QStringLiteral("--send: a line of %1 characters; ").arg(step.text.size()) +
                          QString::fromLatin1(kLineTooLongText));
                return std::nullopt;
            }
        } else if (name == QLatin1String("expect") && nextExpect < expects.size()) {
            step.text = expects[nextExpect++];
            step.regex = QRegularExpression(step.text, QRegularExpression::MultilineOption);
            if (!step.regex.isValid()) {
                ctx.error(QStringLiteral("--expect \"%1\" is no regular expression: %2")
                              .arg(step.text, step.regex.errorString()));
                return std::nullopt;
            }
        } else {
            continue;
        }
        steps << step;
    }
    return steps;
}

// The text an expectation is matched against: every line break (CR LF, CR
// or LF) as one LF, so that $ ends a line.
struct MatchText {
    QString text;
    bool crPending = false;
    void add(const QString &t) {
        qsizetype i = crPending && t.startsWith(QLatin1Char('\n')) ? 1 : 0;
        crPending = t.endsWith(QLatin1Char('\r'));
        for (; i < t.size(); ++i) {
            if (t[i] == QLatin1Char('\r')) {
                if (i + 1 < t.size() && t[i + 1] == QLatin1Char('\n'))
                    ++i;
                text += QLatin1Char('\n');
            } else {
                text += t[i];
            }
        }
    }
};

int runScript(Context &ctx, TerminalSession &session, TerminalOutput &output,
              const QList<ScriptStep> &steps, int timeoutMs) {
    MatchText seen;
    qsizetype searchFrom = 0;
    bool sentSinceExpect = false;
    const auto onText = [&](const QString &t) {
        output.received(t);
        seen.add(t);
    };
    int expectation = 0;
    for (const ScriptStep &step : steps) {
        if (ctx.stopping())
            return ExitDone; // the caller tells how far it got
        if (step.send) {
            // An expectation looks at what came after the sends before it.
            if (!sentSinceExpect)
                searchFrom = qMax(searchFrom, seen.text.size());
            sentSinceExpect = true;
            pumpTerminal(session, 0, [] { return true; }, onText);
            const QString message = session.sendLine(step.text);
            if (!message.isEmpty()) {
                ctx.error(message);
                return ctx.link.usbOpen() ? ExitUsage : ExitNoConnection;
            }
            output.sent(step.text);
            continue;
        }
        ++expectation;
        sentSinceExpect = false;
        QRegularExpressionMatch match;
        const auto matched = [&] {
            if (ctx.stopping() || ctx.connectionLost() || !ctx.link.usbOpen())
                return true;
            match = step.regex.match(seen.text, searchFrom);
            return match.hasMatch();
        };
        pumpTerminal(session, timeoutMs, matched, onText);
        if (ctx.stopping())
            return ExitDone;
        if (!match.hasMatch()) {
            if (ctx.connectionLost() || !ctx.link.usbOpen()) {
                ctx.error(QStringLiteral("The connection was lost while waiting for \"%1\".")
                              .arg(step.text));
                return ExitNoConnection;
            }
            ctx.error(QStringLiteral("Expectation %1, \"%2\", not met within %3 s.")
                          .arg(expectation)
                          .arg(step.text)
                          .arg(timeoutMs / 1000.0));
            return ExitRefused;
        }
        searchFrom = match.capturedEnd();
    }
    // Lines sent after the last expectation: their answers are shown too.
    if (sentSinceExpect)
        output.received(session.takeText(kQuietMs, kTailMaxMs));
    else
        pumpTerminal(session, 0, [] { return true; }, onText);
    return ExitDone;
}

QString historyFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/lmkinterface/lmkctl-terminal-history");
}

} // namespace

int runTerminal(Context &ctx, const QCommandLineParser &p) {
    if (!p.positionalArguments().isEmpty())
        return ctx.usageError(QStringLiteral("takes no arguments"));
    int timeoutMs = 10000;
    if (p.isSet(QStringLiteral("timeout"))) {
        bool ok = false;
        const double seconds = p.value(QStringLiteral("timeout")).toDouble(&ok);
        if (!ok || seconds <= 0 || seconds > 86400)
            return ctx.usageError(QStringLiteral("--timeout needs a number of seconds above 0"));
        timeoutMs = int(seconds * 1000);
    }
    const std::optional<QList<ScriptStep>> steps = scriptSteps(ctx, p);
    if (!steps)
        return ExitUsage;
    const bool scripted = !steps->isEmpty();

    TerminalOutput output(ctx);
    output.formatted = p.isSet(QStringLiteral("timestamps")) || p.isSet(QStringLiteral("hex"));
    output.view = TranscriptFormatter(
        {p.isSet(QStringLiteral("timestamps")), p.isSet(QStringLiteral("hex"))});
    // A log that cannot be written is found before anything is sent.
    if (p.isSet(QStringLiteral("log")) && !output.log.open(p.value(QStringLiteral("log")))) {
        ctx.error(QStringLiteral("Cannot open the log file \"%1\": %2; nothing was sent.")
                      .arg(p.value(QStringLiteral("log")), output.log.error()));
        return ExitUsage;
    }

    if (!connectUsb(ctx))
        return ExitNoConnection;

    TerminalSession session(ctx.link);
    if (!session.enter()) {
        ctx.error(kNoUsbText);
        return ExitNoConnection;
    }
    // The access-point answer to the mode switch fills the window's form,
    // not its text; it is taken here the same way.
    session.waitForSettings(kSettingsWaitMs);
    output.received(session.takeText(0, 0));

    if (scripted) {
        const int rc = runScript(ctx, session, output, *steps, timeoutMs);
        session.leave();
        if (ctx.stopping())
            return ctx.stopped(QStringLiteral("The script was stopped; the receiver has left terminal mode."));
        return rc;
    }

    int rc = ExitDone;
    int linesSent = 0;
    // A stop signal: what came so far is kept; the receiver leaves terminal
    // mode (0D 00).
    const auto stoppedHere = [&] {
        output.received(session.takeText(0, 0));
        session.leave();
        return ctx.stopped(QStringLiteral("%1 %2 sent; the receiver has left terminal mode.")
                               .arg(linesSent)
                               .arg(linesSent == 1 ? QStringLiteral("line") : QStringLiteral("lines")));
    };
    const auto sendTyped = [&](const QString &line) {
        const QString message = session.sendLine(line);
        if (!message.isEmpty()) {
            ctx.error(message);
            // Without USB nothing goes; a line too long for a frame or
            // with characters that have no byte is the caller's mistake
            // (the next lines still go out).
            rc = ctx.link.usbOpen() ? ExitUsage : ExitNoConnection;
            return;
        }
        ++linesSent;
        output.sent(line);
    };

    if (TerminalLineEditor::available()) {
        TerminalLineEditor editor(historyFile());
        output.editor = &editor;
        const auto gone = [&] { return ctx.connectionLost() || !ctx.link.usbOpen(); };
        for (;;) {
            pumpTerminal(session, -1, [&] { return editor.pending() || gone() || ctx.stopping(); },
                         [&](const QString &t) { output.received(t); });
            if (ctx.stopping()) {
                output.editor = nullptr;
                return stoppedHere();
            }
            const bool finished = editor.finished();
            for (const QString &line : editor.takeLines())
                sendTyped(line);
            if (finished || gone())
                break;
        }
        output.editor = nullptr;
        output.received(session.takeText(kQuietMs, kTailMaxMs));
        session.leave();
        return ctx.connectionLost() || !ctx.link.usbOpen() ? ExitNoConnection : rc;
    }

    auto input = std::make_shared<StdinLines>();
    std::thread([input] {
        std::string line;
        while (std::getline(std::cin, line)) {
            std::lock_guard<std::mutex> lock(input->mutex);
            input->lines.push_back(line);
        }
        std::lock_guard<std::mutex> lock(input->mutex);
        input->eof = true;
    }).detach();

    for (;;) {
        pumpTerminal(session, kWaitSliceMs, [&] { return input->pending() || ctx.stopping(); },
                     [&](const QString &t) { output.received(t); });
        if (ctx.stopping())
            break;
        std::deque<std::string> lines;
        bool eof = false;
        {
            std::lock_guard<std::mutex> lock(input->mutex);
            lines.swap(input->lines);
            eof = input->eof;
        }
        for (std::string &l : lines) {
            if (!l.empty() && l.back() == '\r')
                l.pop_back();
            sendTyped(QString::fromLocal8Bit(l.data(), qsizetype(l.size())));
        }
        if (eof)
            break;
    }
    if (ctx.stopping())
        return stoppedHere();
    output.received(session.takeText(kQuietMs, kTailMaxMs));
    session.leave();
    return rc;
}

namespace {
// One field of the access-point form: its option, its text and the check
// "Set!" makes on it.
struct ApField {
    const char *option;
    QString ApSettings::*text;
    QString (*problem)(const QString &);
};
const ApField kApFields[] = {
    {"ssid", &ApSettings::ssid, apSsidProblem},
    {"passkey", &ApSettings::passkey, apPasskeyProblem},
    {"channel", &ApSettings::channel, apChannelProblem},
    {"power", &ApSettings::power, apPowerProblem},
};
} // namespace

int runAp(Context &ctx, const QCommandLineParser &p) {
    const QStringList pos = p.positionalArguments();
    const QString action = pos.value(0);
    const bool set = action == QLatin1String("set");
    bool anyField = false;
    for (const ApField &f : kApFields)
        anyField = anyField || p.isSet(QLatin1String(f.option));
    if (pos.size() != 1 || (action != QLatin1String("show") && !set) || set != anyField)
        return ctx.usageError(QStringLiteral("expected 'show' or 'set' with at least one of --ssid S, "
                                             "--passkey P, --channel C, --power DBM"));

    // What the options give; the rest comes from the receiver's answer.
    ApSettings given;
    if (set) {
        // The window's spin edits hold only numbers within their ranges.
        auto number = [&](const QString &name, int min, int max, QString &into) {
            if (!p.isSet(name))
                return true;
            const std::optional<int> v = apFieldNumber(p.value(name), min, max);
            if (!v) {
                ctx.err << "lmkctl ap set: --" << name << " needs a number from " << min << " to "
                        << max << Qt::endl;
                return false;
            }
            into = QString::number(*v);
            return true;
        };
        const bool channelOk = number(QStringLiteral("channel"), kChannelMin, kChannelMax,
                                      given.channel);
        const bool powerOk = number(QStringLiteral("power"), kPowerMin, kPowerMax, given.power);
        given.ssid = p.value(QStringLiteral("ssid"));
        given.passkey = p.value(QStringLiteral("passkey"));
        // The window's checks on what was typed; nothing is sent for a text
        // the module would get only in part.
        bool textsOk = true;
        for (const ApField &f : kApFields) {
            if (!p.isSet(QLatin1String(f.option)))
                continue;
            const QString problem = f.problem(given.*f.text);
            if (!problem.isEmpty()) {
                ctx.error(problem);
                textsOk = false;
            }
        }
        if (!channelOk || !powerOk || !textsOk)
            return ExitUsage;
    }

    if (!connectUsb(ctx))
        return ExitNoConnection;

    TerminalSession session(ctx.link);
    if (!session.enter()) {
        ctx.error(kNoUsbText);
        return ExitNoConnection;
    }
    // The form is filled (and "Set!" enabled) by the receiver's answer.
    const std::optional<ApSettings> current = session.waitForSettings(kSettingsWaitMs);
    if (!current && ctx.stopping()) {
        session.leave();
        return ctx.stopped(QStringLiteral("Nothing was set; the receiver has left terminal mode."));
    }
    if (!current)
        return settingsTimeout(ctx);
    const bool json = p.isSet(QStringLiteral("json"));
    if (!set && json) {
        ctx.printJson({{QStringLiteral("ssid"), current->ssid},
                       {QStringLiteral("passkey"), current->passkey},
                       {QStringLiteral("channel"), current->channel},
                       {QStringLiteral("power"), current->power}});
        return ExitDone;
    }
    if (!set) {
        // The receiver's texts as they came, also those the window's form
        // could not show.
        // Control characters among them are shown escaped, never raw.
        ctx.out << "Name (SSID): " << escapeSlotText(current->ssid) << '\n'
                << "Passkey: " << escapeSlotText(current->passkey) << '\n'
                << "Channel: " << escapeSlotText(current->channel) << '\n'
                << "TX-Power: " << escapeSlotText(current->power) << " dBm" << Qt::endl;
        return ExitDone;
    }
    // A value not given is sent back as the receiver reported it, and only
    // when the window would send it back unchanged.
    ApSettings wanted = *current;
    bool keptOk = true;
    for (const ApField &f : kApFields) {
        if (p.isSet(QLatin1String(f.option))) {
            wanted.*f.text = given.*f.text;
            continue;
        }
        const QString problem = f.problem(wanted.*f.text);
        if (!problem.isEmpty()) {
            ctx.error(problem);
            ctx.err << "lmkctl ap set: give --" << f.option << Qt::endl;
            keptOk = false;
        }
    }
    if (!keptOk)
        return ExitUsage;
    if (ctx.stopping()) {
        session.leave();
        return ctx.stopped(QStringLiteral("Nothing was set; the receiver has left terminal mode."));
    }
    const QStringList messages = session.setAccessPoint(wanted);
    if (!messages.isEmpty()) {
        for (const QString &m : messages)
            ctx.error(m);
        return ctx.link.usbOpen() ? ExitUsage : ExitNoConnection;
    }
    // The WiFi module answers every command line as terminal text; the
    // settings count as set only when it confirms the "save" with its own
    // line. Silence, a lost link or other text is not success.
    QString answer;
    QElapsedTimer waited;
    waited.start();
    const auto confirmed = [&] {
        return answer.split(QRegularExpression(QStringLiteral("[\r\n]+"))).contains(
            QLatin1String(kApSavedText));
    };
    while (!confirmed() && !ctx.connectionLost() && !ctx.stopping() && waited.elapsed() < kApConfirmMs)
        answer += session.takeText(kQuietMs, kApConfirmMs - int(waited.elapsed()));
    if (!json)
        ctx.out << answer;
    ctx.out.flush();
    if (json)
        ctx.printJson({{QStringLiteral("ssid"), wanted.ssid},
                       {QStringLiteral("passkey"), wanted.passkey},
                       {QStringLiteral("channel"), wanted.channel},
                       {QStringLiteral("power"), wanted.power},
                       {QStringLiteral("saved"), confirmed()},
                       {QStringLiteral("answer"), answer}});
    if (confirmed())
        return ExitDone;
    if (ctx.stopping()) {
        session.leave();
        return ctx.stopped(QStringLiteral("The settings were sent; the WiFi module had not "
                                          "confirmed them. The receiver has left terminal mode."));
    }
    if (ctx.connectionLost()) {
        ctx.error(QStringLiteral("The connection was lost before the WiFi module confirmed the settings."));
        return ExitNoConnection;
    }
    if (answer.trimmed().isEmpty()) {
        ctx.error(QStringLiteral("%1 The WiFi module did not confirm the settings within %2 s.")
                      .arg(QString::fromLatin1(kTimeoutText))
                      .arg(kApConfirmMs / 1000));
        return ExitTimeout;
    }
    ctx.error(QStringLiteral("The WiFi module did not confirm the settings (no \"%1\" line); it "
                             "answered the text above.")
                  .arg(QString::fromLatin1(kApSavedText)));
    return ExitRefused;
}

} // namespace lmk::ctl
