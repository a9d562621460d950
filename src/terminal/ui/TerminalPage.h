#pragma once
// Page "USB Terminal" (TS_Chat): the terminal memo M_Chat with "Clear", and
// the "WiFi Access Point Configuration" form. The page reads its controls and
// runs the terminal operations (terminal/TerminalOperations.h); it composes no
// protocol bytes itself.

#include "terminal/TerminalOperations.h"

#include <QWidget>

#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace lmk {
class DeviceLink;

class TerminalPage : public QWidget, private TerminalChat {
    Q_OBJECT
public:
    TerminalPage(DeviceLink &link, QWidget *parent = nullptr);
    ~TerminalPage() override;

    // Page change: M_Chat emptied.
    void clearChat();
    // Page change into "USB Terminal" over USB: "Set!" enabled.
    void enableSet();

    // A key released in the memo: sends the last line when the text ends
    // with a line feed.
    void M_ChatKeyUp();
    void B_ClearClick();
    void B_SetClick();
    // The terminal receive handler (registered with the link).
    void receiveTerminalText(const quint8 *payload, int length);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // TerminalChat over M_Chat.
    void appendText(const QString &text) override;
    QString chatText() const override;
    void clearText() override;
    int lineCount() const override;

    void fillForm(const ApSettings &s);

    DeviceLink &m_link;
    QPlainTextEdit *M_Chat = nullptr;
    QPushButton *B_Clear = nullptr;
    QGroupBox *GB_AccessPoint = nullptr;
    QLineEdit *E_SSID = nullptr;
    QLineEdit *E_Pass = nullptr;
    QSpinBox *SE_Channel = nullptr;
    QSpinBox *SE_Power = nullptr;
    QPushButton *B_Set = nullptr;
    std::unique_ptr<TerminalReceiver> m_receiver;
    // The last text appended ended with CR: a LF that follows in the next
    // frame completes that line break instead of starting another line.
    bool m_crPending = false;
};

} // namespace lmk
