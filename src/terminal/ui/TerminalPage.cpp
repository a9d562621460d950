#include "terminal/ui/TerminalPage.h"

#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "link/Wait.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextCursor>
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

    M_Chat = named(new QPlainTextEdit(this), "M_Chat");
    M_Chat->setGeometry(8, 8, 577, 457);
    QFont chatFont(QStringLiteral("System"));
    chatFont.setPixelSize(13);
    M_Chat->setFont(chatFont);
    // Everything received stays; an undo history of it would only grow.
    M_Chat->setUndoRedoEnabled(false);
    M_Chat->setTabChangesFocus(false);
    M_Chat->installEventFilter(this);

    B_Clear = named(new QPushButton(QStringLiteral("Clear"), this), "B_Clear");
    B_Clear->setGeometry(8, 474, 75, 25);
    connect(B_Clear, &QPushButton::clicked, this, &TerminalPage::B_ClearClick);

    GB_AccessPoint = named(new QGroupBox(QStringLiteral("WiFi Access Point Configuration"), this),
                           "GB_AccessPoint");
    GB_AccessPoint->setGeometry(600, 8, 369, 201);

    placedLabel(GB_AccessPoint, "L_SSID", QStringLiteral("Name (SSID)"), 16, 34);
    E_SSID = boldEdit(GB_AccessPoint, "E_SSID", kSsidLength);
    E_SSID->setGeometry(104, 30, 249, 21);

    placedLabel(GB_AccessPoint, "L_Pass", QStringLiteral("Passkey"), 16, 66);
    E_Pass = boldEdit(GB_AccessPoint, "E_Pass", kPasskeyLength);
    E_Pass->setEchoMode(QLineEdit::Normal);
    E_Pass->setGeometry(104, 62, 249, 21);

    placedLabel(GB_AccessPoint, "L_Channel", QStringLiteral("Channel"), 16, 98);
    SE_Channel = spinEdit(GB_AccessPoint, "SE_Channel", kChannelMin, kChannelMax);
    SE_Channel->setGeometry(104, 94, 57, 22);

    placedLabel(GB_AccessPoint, "L_Power", QStringLiteral("TX-Power"), 16, 130);
    SE_Power = spinEdit(GB_AccessPoint, "SE_Power", kPowerMin, kPowerMax);
    SE_Power->setGeometry(104, 126, 57, 22);
    placedLabel(GB_AccessPoint, "L_dBm", QStringLiteral("dBm"), 168, 130);

    B_Set = named(new QPushButton(QStringLiteral("Set!"), GB_AccessPoint), "B_Set");
    B_Set->setGeometry(104, 162, 75, 25);
    B_Set->setEnabled(false);
    connect(B_Set, &QPushButton::clicked, this, &TerminalPage::B_SetClick);

    m_receiver = std::make_unique<TerminalReceiver>(m_link, static_cast<TerminalChat &>(*this));
    m_receiver->settingsReceived = [this](const ApSettings &s) { fillForm(s); };
}

TerminalPage::~TerminalPage() = default;

void TerminalPage::clearChat() { clearText(); }

void TerminalPage::enableSet() { B_Set->setEnabled(true); }

bool TerminalPage::eventFilter(QObject *watched, QEvent *event) {
    if (watched == M_Chat) {
        if (event->type() == QEvent::KeyPress) {
            // Shift+Enter ends the line like Enter (no soft line break that
            // the receiver would not understand).
            auto *k = static_cast<QKeyEvent *>(event);
            if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
                (k->modifiers() & Qt::ShiftModifier)) {
                M_Chat->textCursor().insertText(QStringLiteral("\n"));
                M_Chat->ensureCursorVisible();
                return true;
            }
        } else if (event->type() == QEvent::KeyRelease) {
            // One key-up per key, however long it was held.
            if (!static_cast<QKeyEvent *>(event)->isAutoRepeat())
                M_ChatKeyUp();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TerminalPage::M_ChatKeyUp() {
    const QTextDocument *doc = M_Chat->document();
    // The text ends with a line feed when its last block is empty and is not
    // the only one.
    if (doc->blockCount() < 2 || !doc->lastBlock().text().isEmpty())
        return;
    const QString line = doc->lastBlock().previous().text();
    const QString message = TerminalLineSender(m_link).send(line);
    if (!message.isEmpty())
        dialogs().information(message);
}

void TerminalPage::B_ClearClick() { clearText(); }

void TerminalPage::B_SetClick() {
    processPendingEvents();
    const ApSettings s{E_SSID->text(), E_Pass->text(), QString::number(SE_Channel->value()),
                       QString::number(SE_Power->value())};
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
    // The spin edits take what is a number in their range; anything else
    // leaves them as they are.
    auto take = [](QSpinBox *box, const QString &text) {
        bool ok = false;
        const int v = text.trimmed().toInt(&ok, 10);
        if (ok && v >= box->minimum() && v <= box->maximum())
            box->setValue(v);
    };
    take(SE_Channel, s.channel);
    take(SE_Power, s.power);
}

void TerminalPage::appendText(const QString &text) {
    QString t = text;
    if (m_crPending && t.startsWith(QLatin1Char('\n')) && M_Chat->document()->lastBlock().text().isEmpty())
        t.remove(0, 1);
    m_crPending = text.endsWith(QLatin1Char('\r'));
    QTextCursor c(M_Chat->document());
    c.movePosition(QTextCursor::End);
    c.insertText(t); // plain text: nothing is read as markup
    M_Chat->setTextCursor(c);
    M_Chat->ensureCursorVisible();
}

QString TerminalPage::chatText() const {
    // Block texts as they are (toPlainText would turn non-breaking spaces
    // into spaces), joined by line breaks.
    QString text;
    for (QTextBlock b = M_Chat->document()->begin(); b.isValid(); b = b.next()) {
        if (b != M_Chat->document()->begin())
            text += QLatin1Char('\n');
        text += b.text();
    }
    return text;
}

int TerminalPage::lineCount() const {
    // Every block is a line, except an empty last one (the empty piece after
    // a final line break, or the empty memo).
    const QTextDocument *doc = M_Chat->document();
    return doc->blockCount() - (doc->lastBlock().text().isEmpty() ? 1 : 0);
}

void TerminalPage::clearText() {
    M_Chat->clear();
    m_crPending = false;
}

} // namespace lmk
