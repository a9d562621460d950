#include "terminal/TerminalSession.h"

#include "link/DeviceLink.h"
#include "link/Wait.h"

namespace lmk {

TerminalSession::TerminalSession(DeviceLink &link) : m_link(link) {
    m_chat.appended = [this](const QString &) { m_lastText.restart(); };
}

TerminalSession::~TerminalSession() { leave(); }

bool TerminalSession::enter() {
    if (m_entered)
        return true;
    if (m_link.UsbConnected == 0)
        return false;
    m_savedPage = m_link.pageShown;
    m_chat.clearText();
    m_settings.reset();
    m_receiver = std::make_unique<TerminalReceiver>(m_link, m_chat);
    m_receiver->settingsReceived = [this](const ApSettings &s) { m_settings = s; };
    m_link.pageShown = kPageTerminal;
    m_link.ApSettingsPending = 1;
    m_lastText.start();
    m_entered = true;
    m_link.usbWrite(QByteArray::fromRawData("\x0D\x01", 2));
    return true;
}

void TerminalSession::leave() {
    if (!m_entered)
        return;
    m_entered = false;
    m_link.ApSettingsPending = 0;
    m_link.pageShown = m_savedPage;
    m_receiver.reset();
    if (m_link.UsbConnected != 0)
        m_link.usbWrite(QByteArray::fromRawData("\x0D\x00", 2));
}

std::optional<ApSettings> TerminalSession::waitForSettings(int ms) {
    waitWhile([this] { return m_entered && !m_settings && m_link.ApSettingsPending; }, ms);
    return m_settings;
}

QString TerminalSession::sendLine(const QString &line) {
    return TerminalLineSender(m_link).send(line);
}

QStringList TerminalSession::setAccessPoint(const ApSettings &settings) {
    return AccessPointSetter(m_link).send(settings);
}

QString TerminalSession::takeText(int quietMs, int maxMs) {
    m_lastText.restart();
    waitWhile([&] { return m_entered && m_lastText.elapsed() < quietMs; }, maxMs);
    const QString text = m_chat.text;
    m_chat.clearText();
    return text;
}

} // namespace lmk
