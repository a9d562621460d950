#include "upload/UploadProgress.h"

#include "link/ProgressText.h"

namespace lmk {

void UploadProgress::start(qint64 nowMs) {
    *this = UploadProgress();
    m_phaseStartMs = nowMs;
}

void UploadProgress::phase(const QString &text, qint64 nowMs) {
    m_phase = text;
    m_phaseStartMs = nowMs;
}

void UploadProgress::bytes(qint64 sent, qint64 size, qint64 nowMs) {
    if (m_bytesStartMs < 0) { // the first ready reply: the erase is over
        m_bytesStartMs = nowMs;
        m_bytesAtStart = sent;
    }
    m_sent = sent;
    m_size = size;
}

QString UploadProgress::timeLeft(qint64 nowMs) const {
    if (!bytesFlowing())
        return QStringLiteral("-:-- left");
    // The last packet is padded to whole groups: sent may pass the size.
    return timeLeftText(qMin(m_sent, m_size) - m_bytesAtStart, m_size - m_bytesAtStart,
                        nowMs - m_bytesStartMs) +
           QStringLiteral(" left");
}

QString UploadProgress::rate(qint64 nowMs) const {
    if (!bytesFlowing())
        return QStringLiteral("-");
    return rateText(m_sent - m_bytesAtStart, nowMs - m_bytesStartMs, ProgressUnit::Bytes);
}

QString UploadProgress::line(qint64 nowMs) const {
    const QString &text = m_phase;
    if (!bytesFlowing() || m_sent <= m_bytesAtStart)
        return text + QStringLiteral("  ") + durationText(nowMs - m_phaseStartMs);
    return text + QStringLiteral("  ") + amountText(m_sent, ProgressUnit::Bytes) + QLatin1Char('/') +
           amountText(m_size, ProgressUnit::Bytes) + QStringLiteral("  ") + rate(nowMs) +
           QStringLiteral("  ") + timeLeft(nowMs);
}

} // namespace lmk
