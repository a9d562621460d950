#pragma once
// What the "USB Terminal" page does with the receiver, without widgets, so
// that the page and lmkctl drive the same code:
//  - TerminalLineSender: one typed line as a terminal line frame over USB;
//  - AccessPointSetter: the checks of "Set!" and the 88-byte configuration
//    frame;
//  - TerminalReceiver: the terminal receive handler (acknowledgements
//    dropped, text appended) and the access-point fill-in step.
// None of them waits for a reply: the receiver's answers arrive as terminal
// text.

#include "terminal/TerminalFrames.h"

#include <QMetaObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace lmk {

class DeviceLink;

inline constexpr const char *kNoUsbText = "No USB connection available!";
inline constexpr const char *kLineTooLongText =
    "Line too long: at most 253 characters can be sent!";
inline constexpr const char *kUnsendableLineText =
    "Line not sent: the receiver cannot take the characters %1";
inline constexpr const char *kSsidLengthText = "Name / SSID muss 10 Zeichen lang sein!";
inline constexpr const char *kPasskeyLengthText = "Passwort muss 22 Zeichen lang sein!";
// A value the module would get only in part, or one the form cannot show
// (%1 is the value as it stands).
inline constexpr const char *kSsidTooLongText =
    "Name (SSID) \"%1\" is longer than 10 characters: it would be cut!";
inline constexpr const char *kPasskeyTooLongText =
    "Passkey \"%1\" is longer than 22 characters: it would be cut!";
inline constexpr const char *kSsidCharactersText =
    "Name (SSID) \"%1\" holds characters the WiFi module cannot take: %2";
inline constexpr const char *kPasskeyCharactersText =
    "Passkey \"%1\" holds characters the WiFi module cannot take: %2";
inline constexpr const char *kChannelUnusableText =
    "The receiver reported channel \"%1\", not a number from 0 to 11: choose the channel!";
inline constexpr const char *kPowerUnusableText =
    "The receiver reported TX-Power \"%1\", not a number from 0 to 19: choose the power!";

// Each field's problem for "Set!"; empty when the field can be sent as it is.
QString apSsidProblem(const QString &ssid);
QString apPasskeyProblem(const QString &passkey);
QString apChannelProblem(const QString &channel);
QString apPowerProblem(const QString &power);

class TerminalLineSender {
public:
    explicit TerminalLineSender(DeviceLink &link) : m_link(link) {}
    // Sends `line` (without its line end) over USB. Returns the message to
    // show; empty when the frame went out. Nothing is sent without USB, for a
    // line of more than 253 characters or one with characters outside
    // Latin-1 (they have no byte: the receiver would get something else).
    QString send(const QString &line);

private:
    DeviceLink &m_link;
};

class AccessPointSetter {
public:
    explicit AccessPointSetter(DeviceLink &link) : m_link(link) {}
    // The checks in their order (SSID, passkey, USB, channel, power), each
    // failing one with its message; all are made every time. A text longer
    // than its field, one with characters outside Latin-1 or with a line
    // break, or a channel or power that is not a number in its range is
    // refused too: the frame would carry something else than the form shows.
    QStringList check(const ApSettings &settings) const;
    // Checks, and when nothing failed sends the configuration frame in one
    // call of SendToDevice. Returns the messages; empty when sent.
    QStringList send(const ApSettings &settings);

private:
    DeviceLink &m_link;
};

// The text the terminal shows: the page's memo, or a plain string in lmkctl.
class TerminalChat {
public:
    virtual ~TerminalChat() = default;
    // Appends at the very end and shows the end.
    virtual void appendText(const QString &text) = 0;
    virtual QString chatText() const = 0;
    virtual void clearText() = 0;
    // Number of lines as terminalLines() counts them, but at most
    // limit + 1: a memo can answer without copying its text.
    virtual int lineCount(int limit) const {
        return int(qMin(terminalLines(chatText()).size(), qsizetype(limit) + 1));
    }
    // The text ends with CR LF.
    virtual bool endsWithLineBreak() const { return lmk::endsWithLineBreak(chatText()); }
};

// A TerminalChat over a string.
class StringChat : public TerminalChat {
public:
    QString text;
    std::function<void(const QString &)> appended; // optional
    void appendText(const QString &t) override {
        text += t;
        if (appended)
            appended(t);
    }
    QString chatText() const override { return text; }
    void clearText() override { text.clear(); }
};

// Takes the link's terminal text (frames nobody asked for in terminal mode)
// for its lifetime.
class TerminalReceiver {
public:
    TerminalReceiver(DeviceLink &link, TerminalChat &chat);
    ~TerminalReceiver();
    TerminalReceiver(const TerminalReceiver &) = delete;
    TerminalReceiver &operator=(const TerminalReceiver &) = delete;

    // One frame payload: a line acknowledgement is dropped, anything else is
    // appended as text, then the fill-in step runs.
    void receive(const quint8 *payload, int length);
    // The next 8 lines are the access-point settings (set by the page change).
    void setSettingsPending(bool on) { m_settingsPending = on; }
    bool settingsPending() const { return m_settingsPending; }
    // Fill-in step: while the settings are expected and the text holds exactly
    // 8 complete lines (the 8th with its line break), clears
    // that expectation, reports the settings and empties the text. True
    // when it filled.
    bool fillIn();

    // Called by the fill-in step with lines 1, 3, 5 and 7.
    std::function<void(const ApSettings &)> settingsReceived;

private:
    DeviceLink &m_link;
    TerminalChat &m_chat;
    QMetaObject::Connection m_connection;
    bool m_settingsPending = false;
};

} // namespace lmk
