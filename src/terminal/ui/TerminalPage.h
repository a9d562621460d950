#pragma once
// Page "USB Terminal" (TS_Chat): the terminal memo M_Chat with "Clear", and
// the "WiFi Access Point Configuration" form. The page reads its controls and
// runs the terminal operations (terminal/TerminalOperations.h); it composes no
// protocol bytes itself.

#include "terminal/TerminalOperations.h"

#include <QWidget>

#include <memory>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
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

private:
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
    std::unique_ptr<TerminalReceiver> m_receiver;
    // The receiver's channel or power text that its spin edit cannot show,
    // until the user sets that field: "Set!" sends it (and so refuses),
    // never the value the spin edit happens to hold.
    std::optional<QString> m_reportedChannel;
    std::optional<QString> m_reportedPower;
    bool m_inSet = false;
};

} // namespace lmk
