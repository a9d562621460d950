#pragma once
// The live mirror: scans of the current area, one after the other, for as
// long as the user wants them. A frame is one whole scan (ScanOperation);
// the mirror goes on only after a frame that ended with all its columns
// ("All data received!"). Any other ending stops it with that frame's
// message. Stopping on request either lets the running frame finish or
// aborts it with the scan's abort byte; neither is a failure.

#include "display/FrameRate.h"
#include "display/ScanArea.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <functional>

namespace lmk {

class DeviceLink;
class ScanOperation;

class LiveMirror : public QObject {
    Q_OBJECT
public:
    LiveMirror(DeviceLink &link, ScanOperation &scan, QObject *parent = nullptr);

    // Runs frames of `area()` (read before every frame) until finish() or
    // stopNow() was called or a frame failed. Returns the failed frame's
    // message, or "" when the mirror was stopped. Not re-entered.
    QString run(const std::function<AreaValues()> &area);
    // The running frame finishes, then the mirror ends.
    void finish() { m_finish = true; }
    // Ends the mirror at once: the running frame is aborted (abort byte).
    void stopNow();

    bool isRunning() const { return m_running; }
    int frames() const { return m_frames; }
    // Frames per second over the last few seconds (FrameRate); nothing
    // before the first frame.
    std::optional<double> currentRate() const;

signals:
    void frameDone(int frames);
    // Another operation started: the mirror has stopped for it.
    void interrupted();

private:
    DeviceLink &m_link;
    ScanOperation &m_scan;
    bool m_running = false;
    bool m_finish = false;
    bool m_stopped = false;
    int m_frames = 0;
    QElapsedTimer m_clock;
    FrameRate m_rate;
};

} // namespace lmk
