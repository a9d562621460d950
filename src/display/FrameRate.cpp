#include "display/FrameRate.h"

namespace lmk {

void FrameRate::start(qint64 nowMs) {
    m_startMs = nowMs;
    m_ends.clear();
}

void FrameRate::frameDone(qint64 nowMs) {
    m_ends.push_back(nowMs);
    // Keep one frame end at or before the window's start: the anchor.
    while (m_ends.size() > 1 && m_ends[1] <= nowMs - m_windowMs)
        m_ends.pop_front();
}

std::optional<double> FrameRate::perSecond(qint64 nowMs) const {
    if (m_ends.empty())
        return std::nullopt;
    qint64 anchor = m_startMs;
    size_t first = 0; // the first frame counted
    while (first < m_ends.size() && m_ends[first] <= nowMs - m_windowMs)
        anchor = m_ends[first++];
    const qint64 frames = qint64(m_ends.size() - first);
    const qint64 last = m_ends.back();
    const qint64 whole = last - anchor;
    if (frames > 0 && whole > 0 && (nowMs - last) * frames <= whole)
        return double(frames) * 1000.0 / double(whole);
    // The next frame takes longer than the mean: as if it ended now.
    return nowMs > anchor ? double(frames + 1) * 1000.0 / double(nowMs - anchor) : 0.0;
}

} // namespace lmk
