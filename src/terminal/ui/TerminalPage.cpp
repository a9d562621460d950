#include "terminal/ui/TerminalPage.h"

#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "link/Wait.h"
#include "terminal/ui/ChatMemo.h"

#include <QCheckBox>
#include <QDir>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTextBlock>
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

// The page's choices, in the window's settings file (the user's
// configuration folder, lmkinterface/lmkinterface.conf).
std::unique_ptr<QSettings> pageSettings() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return std::make_unique<QSettings>(folder + QStringLiteral("/lmkinterface/lmkinterface.conf"),
                                       QSettings::IniFormat);
}
const QString kTimestampsKey = QStringLiteral("terminal/timestamps");
const QString kHexKey = QStringLiteral("terminal/hex");
const QString kMonospaceKey = QStringLiteral("terminal/monospace");
const QString kScrollbackKey = QStringLiteral("terminal/scrollback");
const QString kHistoryKey = QStringLiteral("terminal/history");

// Up and Down (with or without Ctrl) in the line field recall sent lines.
class RecallKeys : public QObject {
public:
    RecallKeys(QObject *parent, std::function<void(int)> step)
        : QObject(parent), m_step(std::move(step)) {}
    bool eventFilter(QObject *o, QEvent *e) override {
        if (e->type() == QEvent::KeyPress) {
            const auto *k = static_cast<QKeyEvent *>(e);
            if (k->key() == Qt::Key_Up || k->key() == Qt::Key_Down) {
                m_step(k->key() == Qt::Key_Up ? -1 : 1);
                return true;
            }
        }
        return QObject::eventFilter(o, e);
    }

private:
    std::function<void(int)> m_step;
};

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

    // The session view, its input line and the controls beside "Clear".
    M_Session = named(new QPlainTextEdit(this), "M_Session");
    M_Session->setGeometry(8, 8, 577, 427);
    M_Session->setReadOnly(true);
    M_Session->setUndoRedoEnabled(false);
    M_Session->setAccessibleName(QStringLiteral("USB Terminal session"));
    M_Session->hide();
    E_Line = named(new QLineEdit(this), "E_Line");
    E_Line->setGeometry(8, 440, 577, 25);
    E_Line->setAccessibleName(QStringLiteral("Line to send"));
    E_Line->setPlaceholderText(QStringLiteral("Line to send (Enter)"));
    E_Line->installEventFilter(new RecallKeys(E_Line, [this](int d) { recall(d); }));
    E_Line->hide();
    connect(E_Line, &QLineEdit::returnPressed, this, &TerminalPage::E_LineReturn);
    connect(M_Chat, &ChatMemo::textReceived, this, &TerminalPage::textReceived);
    connect(M_Chat, &ChatMemo::historyStep, this, &TerminalPage::recall);

    B_Log = named(new QPushButton(QStringLiteral("Log…"), this), "B_Log");
    B_Log->setGeometry(89, 474, 75, 25);
    B_Log->setCheckable(true);
    connect(B_Log, &QPushButton::clicked, this, &TerminalPage::B_LogClick);
    auto check = [this](const char *name, const QString &text, int x, int w) {
        auto *c = named(new QCheckBox(text, this), name);
        c->setGeometry(x, 474, w, 25);
        connect(c, &QCheckBox::toggled, this, &TerminalPage::CB_ViewClick);
        return c;
    };
    CB_Timestamps = check("CB_Timestamps", QStringLiteral("Timestamps"), 176, 100);
    CB_Hex = check("CB_Hex", QStringLiteral("Hex"), 282, 60);
    CB_Monospace = check("CB_Monospace", QStringLiteral("Monospace"), 348, 110);

    QLabel *findLabel = placedLabel(this, "L_FindCaption", QStringLiteral("Find:"), 600, 268);
    E_Find = named(new QLineEdit(this), "E_Find");
    findLabel->setBuddy(E_Find);
    E_Find->setGeometry(700, 264, 269, 22);
    E_Find->setPlaceholderText(QStringLiteral("Ctrl+F"));
    connect(E_Find, &QLineEdit::returnPressed, this, &TerminalPage::E_FindReturn);
    auto *findKey = new QShortcut(QKeySequence::Find, this);
    findKey->setContext(Qt::WidgetWithChildrenShortcut);
    connect(findKey, &QShortcut::activated, this, [this] {
        E_Find->setFocus(Qt::ShortcutFocusReason);
        E_Find->selectAll();
    });
    L_Find = named(new QLabel(this), "L_Find");
    L_Find->setGeometry(700, 290, 269, 20);
    L_Counters = named(new QLabel(this), "L_Counters");
    L_Counters->setGeometry(600, 316, 369, 20);
    QLabel *scrollLabel =
        placedLabel(this, "L_Scrollback", QStringLiteral("Scrollback lines"), 600, 346);
    SE_Scrollback = spinEdit(this, "SE_Scrollback", 100, 1000000);
    scrollLabel->setBuddy(SE_Scrollback);
    SE_Scrollback->setSingleStep(1000);
    SE_Scrollback->setGeometry(700, 342, 100, 22);
    L_LogFile = named(new QLabel(this), "L_LogFile");
    L_LogFile->setGeometry(600, 372, 369, 44);
    L_LogFile->setWordWrap(true);

    // Tab: the session, the controls beside "Clear", the form, then search
    // and scrollback.
    const QList<QWidget *> order{M_Chat, M_Session, E_Line, B_Clear, B_Log, CB_Timestamps,
                                 CB_Hex, CB_Monospace, E_SSID, E_Pass, SE_Channel, SE_Power,
                                 B_Set, E_Find, SE_Scrollback};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    const std::unique_ptr<QSettings> settings = pageSettings();
    m_history.setLines(settings->value(kHistoryKey).toStringList());
    SE_Scrollback->setValue(settings->value(kScrollbackKey, kDefaultScrollback).toInt());
    {
        const QSignalBlocker b1(CB_Timestamps), b2(CB_Hex), b3(CB_Monospace);
        CB_Timestamps->setChecked(settings->value(kTimestampsKey, false).toBool());
        CB_Hex->setChecked(settings->value(kHexKey, false).toBool());
        CB_Monospace->setChecked(settings->value(kMonospaceKey, false).toBool());
    }
    connect(SE_Scrollback, &QSpinBox::valueChanged, this, [this] {
        applyScrollback();
        saveChoices();
    });
    applyScrollback();
    CB_ViewClick();
    showCounters();
}

TerminalPage::~TerminalPage() = default;

void TerminalPage::clearChat() {
    M_Chat->clearText();
    M_Session->clear();
    m_session.clear();
    m_view.reset();
    m_rxBytes = m_txBytes = 0;
    showCounters();
}

void TerminalPage::enableSet() { B_Set->setEnabled(true); }

void TerminalPage::expectApSettings(bool on) { m_receiver->setSettingsPending(on); }

bool TerminalPage::apSettingsExpected() const { return m_receiver->settingsPending(); }

void TerminalPage::M_ChatKeyUp(const QString &line) {
    const QString message = TerminalLineSender(m_link).send(line);
    if (!message.isEmpty())
        dialogs().information(message);
    else
        lineSent(line);
}

void TerminalPage::B_ClearClick() {
    M_Chat->clearText();
    M_Session->clear();
    m_session.clear();
    m_view.reset();
}

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

void TerminalPage::E_LineReturn() {
    const QString line = E_Line->text();
    const QString message = TerminalLineSender(m_link).send(line);
    if (!message.isEmpty()) {
        dialogs().information(message);
        return;
    }
    E_Line->clear();
    // The terminal text holds what was typed, as if typed there.
    M_Chat->appendTypedLine(line);
    lineSent(line);
}

void TerminalPage::lineSent(const QString &line) {
    const QDateTime now = QDateTime::currentDateTime();
    const QByteArray bytes = toTerminalBytes(line);
    m_txBytes += terminalLineFrameSize(int(bytes.size()));
    m_history.add(line);
    pageSettings()->setValue(kHistoryKey, m_history.lines());
    m_log.sent(bytes, now);
    const SessionEntry e{now, true, bytes};
    m_session.push_back(e);
    showEntry(e);
    showCounters();
}

void TerminalPage::textReceived(const QString &text) {
    const QDateTime now = QDateTime::currentDateTime();
    const QByteArray bytes = text.toLatin1(); // one character per byte
    m_rxBytes += bytes.size();
    m_log.received(bytes, now);
    const SessionEntry e{now, false, bytes};
    m_session.push_back(e);
    // The view is bounded; a piece of text is at most one line of it here.
    while (m_session.size() > size_t(SE_Scrollback->value()))
        m_session.pop_front();
    showEntry(e);
    showCounters();
    if (!m_log.error().isEmpty()) {
        const QString path = m_log.path();
        const QString why = m_log.error();
        m_log.close();
        B_Log->setChecked(false);
        L_LogFile->clear();
        dialogs().information(
            QStringLiteral("Log stopped: cannot write to \"%1\". %2").arg(path, why));
    }
}

void TerminalPage::showEntry(const SessionEntry &e) {
    if (M_Session->isHidden())
        return;
    const QString text = e.sent ? m_view.sent(e.bytes, e.when) : m_view.received(e.bytes, e.when);
    QTextCursor c(M_Session->document());
    c.movePosition(QTextCursor::End);
    QTextCharFormat f;
    if (e.sent)
        f.setForeground(QColor(0x00, 0x40, 0xc0));
    // The view ends each line with '\n'; the document's last block is the
    // line being received.
    c.insertText(text, f);
    M_Session->setTextCursor(c);
    M_Session->ensureCursorVisible();
}

void TerminalPage::CB_ViewClick() {
    const bool decorated = CB_Timestamps->isChecked() || CB_Hex->isChecked();
    M_Chat->setVisible(!decorated);
    M_Session->setVisible(decorated);
    E_Line->setVisible(decorated);
    m_view = TranscriptFormatter({CB_Timestamps->isChecked(), CB_Hex->isChecked()});
    M_Session->clear();
    if (decorated)
        for (const SessionEntry &e : m_session)
            showEntry(e);
    applyFont();
    saveChoices();
}

void TerminalPage::applyFont() {
    QFont chatFont(QStringLiteral("System"));
    chatFont.setPixelSize(13);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(13);
    const bool mono = CB_Monospace->isChecked();
    M_Chat->setFont(mono ? fixed : chatFont);
    E_Line->setFont(mono ? fixed : chatFont);
    // Hex rows line up only in a fixed font.
    M_Session->setFont(mono || CB_Hex->isChecked() ? fixed : chatFont);
}

void TerminalPage::applyScrollback() {
    M_Chat->setMaximumBlockCount(SE_Scrollback->value());
    M_Session->setMaximumBlockCount(SE_Scrollback->value());
    while (m_session.size() > size_t(SE_Scrollback->value()))
        m_session.pop_front();
}

void TerminalPage::showCounters() {
    L_Counters->setText(QStringLiteral("RX: %L1 bytes   TX: %L2 bytes").arg(m_rxBytes).arg(m_txBytes));
}

void TerminalPage::saveChoices() const {
    const std::unique_ptr<QSettings> settings = pageSettings();
    settings->setValue(kTimestampsKey, CB_Timestamps->isChecked());
    settings->setValue(kHexKey, CB_Hex->isChecked());
    settings->setValue(kMonospaceKey, CB_Monospace->isChecked());
    settings->setValue(kScrollbackKey, SE_Scrollback->value());
}

void TerminalPage::recall(int direction) {
    const bool inLine = E_Line->isVisible();
    const std::optional<QString> line =
        direction < 0 ? m_history.older(inLine ? E_Line->text() : M_Chat->currentInput())
                      : m_history.newer();
    if (!line)
        return;
    if (inLine)
        E_Line->setText(*line);
    else
        M_Chat->replaceInput(*line);
}

void TerminalPage::B_LogClick() {
    if (m_log.isOpen()) {
        m_log.close();
        B_Log->setChecked(false);
        L_LogFile->clear();
        return;
    }
    B_Log->setChecked(false);
    const QString path = dialogs().saveFile(QStringLiteral("*.log"),
                                            QStringLiteral("Terminal log *.log|*.log|All files|*"));
    if (path.isEmpty())
        return;
    if (!m_log.open(path)) {
        dialogs().information(
            QStringLiteral("Cannot open the log file \"%1\". %2").arg(path, m_log.error()));
        return;
    }
    B_Log->setChecked(true);
    L_LogFile->setText(QStringLiteral("Logging to %1").arg(QDir::toNativeSeparators(path)));
}

void TerminalPage::E_FindReturn() {
    const QString text = E_Find->text();
    QPlainTextEdit *view = M_Session->isVisible() ? M_Session : static_cast<QPlainTextEdit *>(M_Chat);
    if (text.isEmpty()) {
        L_Find->clear();
        return;
    }
    const bool back = QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
    const QTextDocument::FindFlags flags = back ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = view->find(text, flags);
    if (!found) {
        // Once more from the other end.
        QTextCursor c = view->textCursor();
        c.movePosition(back ? QTextCursor::End : QTextCursor::Start);
        view->setTextCursor(c);
        found = view->find(text, flags);
    }
    L_Find->setText(found ? QString() : QStringLiteral("\"%1\" not found").arg(text));
}

} // namespace lmk
