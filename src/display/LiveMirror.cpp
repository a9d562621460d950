#include "display/LiveMirror.h"

#include "display/ScanOperation.h"
#include "link/DeviceLink.h"

namespace lmk {

LiveMirror::LiveMirror(DeviceLink &link, ScanOperation &scan, QObject *parent)
    : QObject(parent), m_link(link), m_scan(scan) {
    connect(&m_scan, &ScanOperation::yielded, this, [this] {
        if (!m_running)
            return;
        m_stopped = true;
        emit interrupted();
    });
}

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
    // Another operation that starts meanwhile stops the mirror.
    m_scan.setOperationName(QStringLiteral("Live"), true);
    while (!m_finish && !m_stopped) {
        const ScanOutcome outcome = m_scan.run(area());
        if (m_stopped || outcome.end == ScanEnd::Aborted)
            break;
        if (outcome.end != ScanEnd::Complete) {
            failure = QString::fromLatin1(outcome.statusText);
            break;
        }
        ++m_frames;
        m_rate.frameDone(m_clock.elapsed());
        emit frameDone(m_frames);
    }
    m_scan.setOperationName(QStringLiteral("Scan"), false);
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
