#include "terminal/ui/TerminalPage.h"

#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "link/Wait.h"
#include "terminal/ui/ChatMemo.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QValidator>

namespace lmk {

namespace {
template <typename W> W *named(W *w, const char *name) {
    w->setObjectName(QLatin1String(name));
    return w;
}

QLabel *placedLabel(QWidget *parent, const char *name, const QString &text, int x, int y) {
    auto *l = named(new QLabel(text, parent), name);
    l->move(x, y);
    l->adjustSize();
    return l;
}

// Limits what the user types to `max` characters, like a maximum length,
// but leaves a longer text put there by the program whole: it can still be
// shortened, not lengthened.
class TypingLimit : public QValidator {
public:
    TypingLimit(int max, QLineEdit *edit) : QValidator(edit), m_max(max) {
        connect(edit, &QLineEdit::textChanged, this, [this](const QString &t) { m_last = t; });
    }
    State validate(QString &input, int &) const override {
        if (input.size() <= m_max || input.size() <= m_last.size())
            return Acceptable;
        return Invalid;
    }

private:
    int m_max;
    QString m_last; // the text before the edit being validated
};

QLineEdit *boldEdit(QWidget *parent, const char *name, int maxTyped) {
    auto *e = named(new QLineEdit(parent), name);
    QFont f = e->font();
    f.setBold(true);
    e->setFont(f);
    e->setValidator(new TypingLimit(maxTyped, e));
    return e;
}

QSpinBox *spinEdit(QWidget *parent, const char *name, int min, int max) {
    auto *s = named(new QSpinBox(parent), name);
    s->setRange(min, max);
    s->setValue(0);
    return s;
}
} // namespace

TerminalPage::TerminalPage(DeviceLink &link, QWidget *parent) : QWidget(parent), m_link(link) {
    setObjectName(QStringLiteral("TS_Chat"));

    M_Chat = named(new ChatMemo(this), "M_Chat");
    M_Chat->setGeometry(8, 8, 577, 457);
    QFont chatFont(QStringLiteral("System"));
    chatFont.setPixelSize(13);
    M_Chat->setFont(chatFont);
    M_Chat->setAccessibleName(QStringLiteral("USB Terminal"));
    connect(M_Chat, &ChatMemo::lineEnded, this, &TerminalPage::M_ChatKeyUp);

    B_Clear = named(new QPushButton(QStringLiteral("Clear"), this), "B_Clear");
    B_Clear->setGeometry(8, 474, 75, 25);
    connect(B_Clear, &QPushButton::clicked, this, &TerminalPage::B_ClearClick);

    GB_AccessPoint = named(new QGroupBox(QStringLiteral("WiFi Access Point Configuration"), this),
                           "GB_AccessPoint");
    GB_AccessPoint->setGeometry(600, 8, 369, 245);

    QLabel *ssidLabel = placedLabel(GB_AccessPoint, "L_SSID", QStringLiteral("Name (SSID)"), 16, 34);
    E_SSID = boldEdit(GB_AccessPoint, "E_SSID", kSsidLength);
    ssidLabel->setBuddy(E_SSID);
    E_SSID->setGeometry(104, 30, 249, 21);

    QLabel *passLabel = placedLabel(GB_AccessPoint, "L_Pass", QStringLiteral("Passkey"), 16, 66);
    E_Pass = boldEdit(GB_AccessPoint, "E_Pass", kPasskeyLength);
    passLabel->setBuddy(E_Pass);
    E_Pass->setEchoMode(QLineEdit::Normal);
    E_Pass->setGeometry(104, 62, 249, 21);

    QLabel *channelLabel =
        placedLabel(GB_AccessPoint, "L_Channel", QStringLiteral("Channel"), 16, 98);
    SE_Channel = spinEdit(GB_AccessPoint, "SE_Channel", kChannelMin, kChannelMax);
    channelLabel->setBuddy(SE_Channel);
    SE_Channel->setGeometry(104, 94, 57, 22);

    QLabel *powerLabel = placedLabel(GB_AccessPoint, "L_Power", QStringLiteral("TX-Power"), 16, 130);
    SE_Power = spinEdit(GB_AccessPoint, "SE_Power", kPowerMin, kPowerMax);
    powerLabel->setBuddy(SE_Power);
    SE_Power->setAccessibleDescription(QStringLiteral("dBm"));
    SE_Power->setGeometry(104, 126, 57, 22);
    placedLabel(GB_AccessPoint, "L_dBm", QStringLiteral("dBm"), 168, 130);

    B_Set = named(new QPushButton(QStringLiteral("Set!"), GB_AccessPoint), "B_Set");
    B_Set->setGeometry(104, 162, 75, 25);
    B_Set->setEnabled(false);
    connect(B_Set, &QPushButton::clicked, this, &TerminalPage::B_SetClick);

    L_ApValues = named(new QLabel(GB_AccessPoint), "L_ApValues");
    L_ApValues->setGeometry(16, 194, 337, 44);
    L_ApValues->setWordWrap(true);
    L_ApValues->setAccessibleName(QStringLiteral("Access point warnings"));
    // Setting the field, by hand or otherwise, replaces the reported value.
    auto watch = [this](QSpinBox *box, std::optional<QString> *reported) {
        auto set = [this, reported] {
            reported->reset();
            showUnusableValues();
        };
        connect(box, &QSpinBox::valueChanged, this, set);
        connect(box, &QSpinBox::textChanged, this, set);
    };
    watch(SE_Channel, &m_reportedChannel);
    watch(SE_Power, &m_reportedPower);

    m_receiver = std::make_unique<TerminalReceiver>(m_link, *M_Chat);
    m_receiver->settingsReceived = [this](const ApSettings &s) { fillForm(s); };
}

TerminalPage::~TerminalPage() = default;

void TerminalPage::clearChat() { M_Chat->clearText(); }

void TerminalPage::enableSet() { B_Set->setEnabled(true); }

void TerminalPage::expectApSettings(bool on) { m_receiver->setSettingsPending(on); }

bool TerminalPage::apSettingsExpected() const { return m_receiver->settingsPending(); }

void TerminalPage::M_ChatKeyUp(const QString &line) {
    const QString message = TerminalLineSender(m_link).send(line);
    if (!message.isEmpty())
        dialogs().information(message);
}

void TerminalPage::B_ClearClick() { M_Chat->clearText(); }

void TerminalPage::B_SetClick() {
    // A second click already queued is handled by the event processing
    // below; it must not send the configuration a second time.
    if (m_inSet)
        return;
    m_inSet = true;
    processPendingEvents();
    m_inSet = false;
    const ApSettings s{E_SSID->text(), E_Pass->text(),
                       m_reportedChannel.value_or(QString::number(SE_Channel->value())),
                       m_reportedPower.value_or(QString::number(SE_Power->value()))};
    AccessPointSetter setter(m_link);
    const QStringList messages = setter.check(s);
    if (!messages.isEmpty()) {
        for (const QString &m : messages)
            dialogs().information(m);
        return;
    }
    B_Set->setEnabled(false);
    setter.send(s);
}

void TerminalPage::receiveTerminalText(const quint8 *payload, int length) {
    m_receiver->receive(payload, length);
}

void TerminalPage::fillForm(const ApSettings &s) {
    E_SSID->setText(s.ssid);
    E_Pass->setText(s.passkey);
    // Show the beginning of texts wider than their field.
    E_SSID->setCursorPosition(0);
    E_Pass->setCursorPosition(0);
    // The spin edits take what is a number in their range. Anything else
    // stays the receiver's text until the user sets the field: the value
    // the spin edit happens to hold is not the receiver's.
    auto take = [](QSpinBox *box, const QString &text) -> std::optional<QString> {
        const std::optional<int> v = apFieldNumber(text, box->minimum(), box->maximum());
        if (!v)
            return text;
        box->setValue(*v);
        return std::nullopt;
    };
    const std::optional<QString> channel = take(SE_Channel, s.channel);
    const std::optional<QString> power = take(SE_Power, s.power);
    m_reportedChannel = channel;
    m_reportedPower = power;
    showUnusableValues();
}

void TerminalPage::showUnusableValues() {
    QStringList lines;
    if (m_reportedChannel)
        lines << apChannelProblem(*m_reportedChannel);
    if (m_reportedPower)
        lines << apPowerProblem(*m_reportedPower);
    L_ApValues->setText(lines.join(QLatin1Char('\n')));
    L_ApValues->setAccessibleDescription(L_ApValues->text());
}

} // namespace lmk
