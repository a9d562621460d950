#include "Control.h"

#include "Faults.h"
#include "SimSession.h"

#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

namespace sim {

Control::Control(int fd, QObject *parent)
    : QObject(parent), m_fd(fd), m_notifier(new QSocketNotifier(fd, QSocketNotifier::Read, this)) {
    connect(m_notifier, &QSocketNotifier::activated, this, &Control::onReadable);
}

void Control::onReadable() {
    char buf[512];
    const ssize_t n = ::read(m_fd, buf, sizeof buf);
    if (n <= 0) { // the controlling process went away: stop listening
        m_notifier->setEnabled(false);
        return;
    }
    m_pending.append(buf, n);
    for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
        const QByteArray line = m_pending.left(end).trimmed();
        m_pending.remove(0, end + 1);
        if (line.isEmpty())
            continue;
        const QByteArray answer = execute(line) + '\n';
        std::fwrite(answer.constData(), 1, size_t(answer.size()), stdout);
        std::fflush(stdout);
    }
}

QByteArray Control::execute(const QByteArray &line) {
    FaultPlan &plan = FaultPlan::instance();
    if (line == "ping")
        return "OK";
    if (line == "clear") {
        plan.rules.clear();
        return "OK";
    }
    if (line.startsWith("fault ")) {
        FaultRule rule;
        QString error;
        if (!FaultPlan::parseRule(QString::fromLatin1(line.mid(6).trimmed()), rule, error))
            return "ERROR " + error.toLatin1();
        plan.rules.append(rule);
        return "OK";
    }
    if (line.startsWith("flood ")) {
        FloodRule flood;
        QString error;
        if (!FaultPlan::parseFlood(QString::fromLatin1(line.mid(6).trimmed()), flood, error))
            return "ERROR " + error.toLatin1();
        if (SocketSession::floodOpenSessions(flood) == 0)
            return "ERROR no connection to flood";
        return "OK";
    }
    return "ERROR unknown command: " + line;
}

} // namespace sim
