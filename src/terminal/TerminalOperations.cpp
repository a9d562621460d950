#include "terminal/TerminalOperations.h"

#include "link/DeviceLink.h"

namespace lmk {

QString TerminalLineSender::send(const QString &line) {
    if (m_link.UsbConnected == 0)
        return QString::fromLatin1(kNoUsbText);
    const std::optional<QByteArray> frame = terminalLineFrame(toTerminalBytes(line));
    if (!frame)
        return QString::fromLatin1(kLineTooLongText);
    m_link.SendToDevice(*frame);
    return {};
}

QStringList AccessPointSetter::check(const ApSettings &s) const {
    QStringList messages;
    if (s.ssid.size() < kSsidLength)
        messages << QString::fromLatin1(kSsidLengthText);
    if (s.passkey.size() < kPasskeyLength)
        messages << QString::fromLatin1(kPasskeyLengthText);
    if (m_link.UsbConnected == 0)
        messages << QString::fromLatin1(kNoUsbText);
    return messages;
}

QStringList AccessPointSetter::send(const ApSettings &s) {
    const QStringList messages = check(s);
    if (messages.isEmpty())
        m_link.SendToDevice(apConfigFrame(s));
    return messages;
}

TerminalReceiver::TerminalReceiver(DeviceLink &link, TerminalChat &chat)
    : m_link(link), m_chat(chat) {
    m_link.handlers.terminalText = [this](const quint8 *p, int n) { receive(p, n); };
}

TerminalReceiver::~TerminalReceiver() { m_link.handlers.terminalText = nullptr; }

void TerminalReceiver::receive(const quint8 *payload, int length) {
    if (length <= 0 || payload == nullptr || isLineAcknowledgement(payload, length))
        return;
    m_chat.appendText(fromTerminalBytes(reinterpret_cast<const char *>(payload), length));
    fillIn();
}

bool TerminalReceiver::fillIn() {
    if (!m_link.ApSettingsPending || m_chat.lineCount(kApAnswerLines) != kApAnswerLines)
        return false;
    const std::optional<ApSettings> s = apSettingsFromLines(terminalLines(m_chat.chatText()));
    if (!s)
        return false;
    m_link.ApSettingsPending = 0;
    if (settingsReceived)
        settingsReceived(*s);
    m_chat.clearText();
    return true;
}

} // namespace lmk
