#include "terminal/TerminalOperations.h"

#include "link/DeviceLink.h"
#include "link/Exchange.h"

namespace lmk {

namespace {
QStringList listed(const QString &characters) {
    QStringList out;
    for (QChar c : characters)
        out << QString(c);
    return out;
}
} // namespace

QString TerminalLineSender::send(const QString &line) {
    if (!m_link.usbOpen())
        return QString::fromLatin1(kNoUsbText);
    if (const QString bad = unsendableCharacters(line); !bad.isEmpty())
        return QString::fromLatin1(kUnsendableLineText).arg(listed(bad).join(QLatin1Char(' ')));
    const std::optional<QByteArray> frame = terminalLineFrame(toTerminalBytes(line));
    if (!frame)
        return QString::fromLatin1(kLineTooLongText);
    if (m_link.exchangeRunning())
        return operationBusyText(m_link.runningOperation());
    m_link.sendUnasked(*frame);
    return {};
}

namespace {
QString textProblem(const QString &text, int length, const char *tooShort, const char *tooLong,
                    const char *characters) {
    if (text.size() < length)
        return QString::fromLatin1(tooShort);
    if (text.size() > length)
        return QString::fromLatin1(tooLong).arg(text);
    // A line break would end the module's command line inside the value.
    QStringList bad = listed(unsendableCharacters(text));
    if (text.contains(QLatin1Char('\r')))
        bad << QStringLiteral("CR");
    if (text.contains(QLatin1Char('\n')))
        bad << QStringLiteral("LF");
    return bad.isEmpty() ? QString()
                         : QString::fromLatin1(characters).arg(text, bad.join(QLatin1Char(' ')));
}

QString numberProblem(const QString &text, int min, int max, const char *message) {
    return apFieldNumber(text, min, max) ? QString() : QString::fromLatin1(message).arg(text);
}
} // namespace

QString apSsidProblem(const QString &ssid) {
    return textProblem(ssid, kSsidLength, kSsidLengthText, kSsidTooLongText, kSsidCharactersText);
}

QString apPasskeyProblem(const QString &passkey) {
    return textProblem(passkey, kPasskeyLength, kPasskeyLengthText, kPasskeyTooLongText,
                       kPasskeyCharactersText);
}

QString apChannelProblem(const QString &channel) {
    return numberProblem(channel, kChannelMin, kChannelMax, kChannelUnusableText);
}

QString apPowerProblem(const QString &power) {
    return numberProblem(power, kPowerMin, kPowerMax, kPowerUnusableText);
}

QStringList AccessPointSetter::check(const ApSettings &s) const {
    QStringList messages{apSsidProblem(s.ssid), apPasskeyProblem(s.passkey)};
    if (!m_link.usbOpen())
        messages << QString::fromLatin1(kNoUsbText);
    messages << apChannelProblem(s.channel) << apPowerProblem(s.power);
    messages.removeAll(QString());
    return messages;
}

QStringList AccessPointSetter::send(const ApSettings &s) {
    QStringList messages = check(s);
    if (messages.isEmpty() && m_link.exchangeRunning())
        messages << operationBusyText(m_link.runningOperation());
    if (messages.isEmpty())
        m_link.sendUnasked(apConfigFrame(s));
    return messages;
}

TerminalReceiver::TerminalReceiver(DeviceLink &link, TerminalChat &chat)
    : m_link(link), m_chat(chat) {
    m_connection = QObject::connect(&m_link, &DeviceLink::terminalText, &m_link,
                                    [this](const QByteArray &payload) {
                                        receive(reinterpret_cast<const quint8 *>(payload.constData()),
                                                int(payload.size()));
                                    });
}

TerminalReceiver::~TerminalReceiver() { QObject::disconnect(m_connection); }

void TerminalReceiver::receive(const quint8 *payload, int length) {
    if (length <= 0 || payload == nullptr || isLineAcknowledgement(payload, length))
        return;
    m_chat.appendText(fromTerminalBytes(reinterpret_cast<const char *>(payload), length));
    fillIn();
}

bool TerminalReceiver::fillIn() {
    if (!m_settingsPending || m_chat.lineCount(kApAnswerLines) != kApAnswerLines ||
        !m_chat.endsWithLineBreak())
        return false;
    const std::optional<ApSettings> s = apSettingsFromLines(terminalLines(m_chat.chatText()));
    if (!s)
        return false;
    m_settingsPending = false;
    if (settingsReceived)
        settingsReceived(*s);
    m_chat.clearText();
    return true;
}

} // namespace lmk
