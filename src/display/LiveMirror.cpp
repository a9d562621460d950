#include "display/LiveMirror.h"

#include "display/ScanOperation.h"
#include "link/DeviceLink.h"

namespace lmk {

LiveMirror::LiveMirror(DeviceLink &link, ScanOperation &scan, QObject *parent)
    : QObject(parent), m_link(link), m_scan(scan) {}

QString LiveMirror::run(const std::function<AreaValues()> &area) {
    if (m_running)
        return QString();
    m_running = true;
    m_finish = false;
    m_stopped = false;
    m_frames = 0;
    m_clock.start();
    m_rate.start(0);
    QString failure;
    while (!m_finish && !m_stopped) {
        const ScanOutcome outcome = m_scan.run(area());
        if (m_stopped)
            break;
        if (!outcome.sent || outcome.pendingRequest != 0 ||
            outcome.statusText != kAllDataReceivedText) {
            failure = QString::fromLatin1(outcome.statusText);
            break;
        }
        ++m_frames;
        m_rate.frameDone(m_clock.elapsed());
        emit frameDone(m_frames);
    }
    m_running = false;
    return failure;
}

std::optional<double> LiveMirror::currentRate() const {
    if (!m_clock.isValid())
        return std::nullopt;
    return m_rate.perSecond(m_clock.elapsed());
}

void LiveMirror::stopNow() {
    if (!m_running)
        return;
    m_stopped = true;
    if (m_scan.isRunning())
        m_scan.abort();
}

} // namespace lmk
