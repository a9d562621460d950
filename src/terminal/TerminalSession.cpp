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
    if (!m_link.usbOpen())
        return false;
    m_chat.clearText();
    m_settings.reset();
    m_receiver = std::make_unique<TerminalReceiver>(m_link, m_chat);
    m_receiver->settingsReceived = [this](const ApSettings &s) { m_settings = s; };
    m_receiver->setSettingsPending(true);
    m_lastText.start();
    m_entered = true;
    m_link.setTerminalMode(true);
    return true;
}

void TerminalSession::leave() {
    if (!m_entered)
        return;
    m_entered = false;
    m_receiver.reset();
    m_link.setTerminalMode(false);
}

std::optional<ApSettings> TerminalSession::waitForSettings(int ms) {
    waitWhile([this] { return m_entered && !m_settings && m_receiver->settingsPending(); }, ms);
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
