#pragma once
// The current rate of a stream of frames: over the last few seconds, not
// since the stream started, so that it follows a change of pace (a smaller
// area scans faster) within one window.
//
// The frames counted are those that ended after the anchor, the last frame
// end (or the start) at least one window before now. Their rate is taken
// over whole frames, from the anchor to the last frame's end, so a steady
// stream reads its true rate at any moment. While the next frame takes
// longer than their mean, the rate is that of a frame ending now: it falls
// smoothly as the wait goes on.
//   frames every 1000 ms for 10 s, then every 125 ms: 3 s after the change
//   the rate reads 8.0 frames/s (an average since the start: 3.3).

#include <QtGlobal>

#include <deque>
#include <optional>

namespace lmk {

class FrameRate {
public:
    static constexpr qint64 kWindowMs = 3000;

    explicit FrameRate(qint64 windowMs = kWindowMs) : m_windowMs(windowMs) {}

    // Clears the frames; the stream starts at `nowMs`.
    void start(qint64 nowMs);
    void frameDone(qint64 nowMs);

    // Frames per second at `nowMs`; nothing before the first frame ended.
    std::optional<double> perSecond(qint64 nowMs) const;

private:
    qint64 m_windowMs;
    qint64 m_startMs = 0;
    std::deque<qint64> m_ends; // frame ends, oldest first; the anchor is kept
};

} // namespace lmk
