#pragma once
// The "USB Terminal" page without a window (lmkctl): enters the receiver's
// terminal mode over USB as the page change does, takes the access-point
// answer, sends lines and the configuration, and collects what the receiver
// writes back.
//
//   TerminalSession t(link);
//   if (t.enter()) {                        // 0D 01
//       auto ap = t.waitForSettings(2000);   // the 8-line answer
//       t.sendLine("ver");                   // 19 05 76 65 72 0D 0A 00 00 00
//       QString answer = t.takeText(300, 3000);
//   }                                        // 0D 00 when destroyed

#include "terminal/TerminalOperations.h"

#include <QElapsedTimer>

#include <memory>
#include <optional>

namespace lmk {

class TerminalSession {
public:
    explicit TerminalSession(DeviceLink &link);
    ~TerminalSession(); // leaves terminal mode if it was entered
    TerminalSession(const TerminalSession &) = delete;
    TerminalSession &operator=(const TerminalSession &) = delete;

    // Routes every frame to the terminal, expects the access-point answer
    // and sends 0D 01 straight to USB. False (nothing sent) without USB.
    bool enter();
    // Sends 0D 00 and gives the frames back to the other features.
    void leave();
    bool entered() const { return m_entered; }

    // Waits up to `ms` for the access-point answer; nothing when it did not
    // make up exactly 8 lines in time.
    std::optional<ApSettings> waitForSettings(int ms);
    // One terminal line; the message to show, empty when sent.
    QString sendLine(const QString &line);
    // The configuration frame; the messages of the failed checks, empty
    // when sent.
    QStringList setAccessPoint(const ApSettings &settings);
    // Waits until nothing has arrived for `quietMs` (at most `maxMs` in all)
    // and returns the text received since the last call.
    QString takeText(int quietMs, int maxMs);

private:
    DeviceLink &m_link;
    StringChat m_chat;
    std::unique_ptr<TerminalReceiver> m_receiver;
    std::optional<ApSettings> m_settings;
    QElapsedTimer m_lastText;
    bool m_entered = false;
};

} // namespace lmk
