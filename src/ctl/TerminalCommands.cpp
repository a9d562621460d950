// lmkctl terminal and ap: the "USB Terminal" page's text channel and its
// access-point form, over USB only as in the window.
#include "ctl/CtlCommands.h"

#include "link/Wait.h"
#include "memory/SlotNameEscape.h"
#include "terminal/TerminalSession.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QRegularExpression>

#include <cstdio>
#include <deque>
#include <iostream>
#include <memory>
#include <mutex>
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

int runTerminal(Context &ctx, const QCommandLineParser &p) {
    if (!p.positionalArguments().isEmpty())
        return ctx.usageError(QStringLiteral("takes no arguments"));
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
    ctx.out << session.takeText(0, 0);
    ctx.out.flush();

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

    int rc = ExitDone;
    int linesSent = 0;
    for (;;) {
        waitWhile([&] { return !input->pending(); }, kWaitSliceMs);
        if (ctx.stopping())
            break;
        ctx.out << session.takeText(0, 0);
        ctx.out.flush();
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
            const QString message = session.sendLine(QString::fromLocal8Bit(l.data(), qsizetype(l.size())));
            if (message.isEmpty())
                ++linesSent;
            if (!message.isEmpty()) {
                ctx.error(message);
                // Without USB nothing goes; a line too long for a frame or
                // with characters that have no byte is the caller's mistake
                // (the next lines still go out).
                rc = ctx.link.usbOpen() ? ExitUsage : ExitNoConnection;
            }
        }
        if (eof)
            break;
    }
    if (ctx.stopping()) {
        // What came so far is kept; the receiver leaves terminal mode (0D 00).
        ctx.out << session.takeText(0, 0);
        ctx.out.flush();
        session.leave();
        return ctx.stopped(QStringLiteral("%1 %2 sent; the receiver has left terminal mode.")
                               .arg(linesSent)
                               .arg(linesSent == 1 ? QStringLiteral("line") : QStringLiteral("lines")));
    }
    ctx.out << session.takeText(kQuietMs, kTailMaxMs);
    ctx.out.flush();
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
