#pragma once
// Page "USB Terminal" (TS_Chat): the terminal memo M_Chat with "Clear", and
// the "WiFi Access Point Configuration" form. The page reads its controls and
// runs the terminal operations (terminal/TerminalOperations.h); it composes no
// protocol bytes itself.
//
// Beside "Clear": "Log…" (the session appended to a file), the view choices
// "Timestamps", "Hex" and "Monospace", and under the form the search field
// (Ctrl+F), the RX/TX byte counters and the scrollback bound. With
// timestamps or hex the session shows in a read-only view (M_Session, sent
// lines marked "[TX] ") and lines are typed into E_Line below it; M_Chat
// keeps the terminal text as it is. Ctrl+Up/Ctrl+Down recall sent lines in
// either. The choices and the sent lines are kept between runs.

#include "terminal/TerminalOperations.h"
#include "terminal/TerminalTranscript.h"
#include "terminal/ui/LineHistory.h"

#include <QDateTime>
#include <QWidget>

#include <deque>
#include <memory>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace lmk {
class ChatMemo;
class DeviceLink;

class TerminalPage : public QWidget {
    Q_OBJECT
public:
    TerminalPage(DeviceLink &link, QWidget *parent = nullptr);
    ~TerminalPage() override;

    // Page change: M_Chat emptied.
    void clearChat();
    // Page change into "USB Terminal" over USB: "Set!" enabled.
    void enableSet();
    // The next 8 lines of text are the access-point settings.
    void expectApSettings(bool on);
    bool apSettingsExpected() const;

    // The key that ended a line in the memo was released: sends that line.
    void M_ChatKeyUp(const QString &line);
    void B_ClearClick();
    void B_SetClick();
    // The terminal receive handler: what the link runs for every frame while
    // "USB Terminal" is shown (the page registers it when created).
    void receiveTerminalText(const quint8 *payload, int length);

    // "Log…": starts writing the session to a file chosen in the save
    // dialog, or stops it.
    void B_LogClick();
    // A view choice changed: the session is shown again in the new view.
    void CB_ViewClick();
    // Enter in E_Line: sends its line.
    void E_LineReturn();
    // Enter in the search field: the next (with Shift the previous) place
    // of its text in the session shown, from the top again at the end.
    void E_FindReturn();
    bool logging() const { return m_log.isOpen(); }
    qint64 receivedBytes() const { return m_rxBytes; }
    qint64 sentBytes() const { return m_txBytes; }

    static constexpr int kDefaultScrollback = 10000;

private:
    struct SessionEntry {
        QDateTime when;
        bool sent;
        QByteArray bytes;
    };
    void lineSent(const QString &line);
    void textReceived(const QString &text);
    void showEntry(const SessionEntry &e);
    void recall(int direction);
    void applyFont();
    void applyScrollback();
    void showCounters();
    void saveChoices() const;
    void fillForm(const ApSettings &s);
    // Shows what the receiver reported that the spin edits cannot show.
    void showUnusableValues();

    DeviceLink &m_link;
    ChatMemo *M_Chat = nullptr;
    QPushButton *B_Clear = nullptr;
    QGroupBox *GB_AccessPoint = nullptr;
    QLineEdit *E_SSID = nullptr;
    QLineEdit *E_Pass = nullptr;
    QSpinBox *SE_Channel = nullptr;
    QSpinBox *SE_Power = nullptr;
    QPushButton *B_Set = nullptr;
    QLabel *L_ApValues = nullptr;
    QPushButton *B_Log = nullptr;
    QCheckBox *CB_Timestamps = nullptr;
    QCheckBox *CB_Hex = nullptr;
    QCheckBox *CB_Monospace = nullptr;
    QPlainTextEdit *M_Session = nullptr;
    QLineEdit *E_Line = nullptr;
    QLineEdit *E_Find = nullptr;
    QLabel *L_Find = nullptr;
    QLabel *L_Counters = nullptr;
    QSpinBox *SE_Scrollback = nullptr;
    QLabel *L_LogFile = nullptr;
    SessionLog m_log;
    TranscriptFormatter m_view;
    std::deque<SessionEntry> m_session; // what M_Session shows, bounded
    LineHistory m_history;
    qint64 m_rxBytes = 0;
    qint64 m_txBytes = 0;
    std::unique_ptr<TerminalReceiver> m_receiver;
    // The receiver's channel or power text that its spin edit cannot show,
    // until the user sets that field: "Set!" sends it (and so refuses),
    // never the value the spin edit happens to hold.
    std::optional<QString> m_reportedChannel;
    std::optional<QString> m_reportedPower;
    bool m_inSet = false;
};

} // namespace lmk
