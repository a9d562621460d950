#pragma once
// Recording of the live mirror: complete frames as PNG files in a folder,
// every frame or one every N seconds, under numbered or time-stamped names
// (CaptureNames.h):
//   numbered      frame-0001.png, frame-0002.png, ...
//   time-stamped  frame-20261211-023005.png; a second frame within the same
//                 second gets frame-20261211-023005-2.png
// A name that exists is never replaced: the next free one is taken.

#include "display/CaptureFacts.h"

#include <QImage>
#include <QString>

namespace lmk {

struct RecordSettings {
    enum Naming { Numbered, TimeStamped };
    QString folder;
    Naming naming = Numbered;
    int everySeconds = 0; // 0: every complete frame
};

class FrameRecorder {
public:
    inline static const QString kNumberedPattern = QStringLiteral("frame-%04d.png");
    inline static const QString kTimeStampedPattern = QStringLiteral("frame-%T.png");

    // Starts a recording into an existing, writable folder; "" or the reason
    // why not.
    QString start(const RecordSettings &settings);
    void stop() { m_recording = false; }
    bool isRecording() const { return m_recording; }

    // Offers one complete frame that ended at `nowMs` (any steady clock);
    // writes it when it is due. Returns "" or the error text of a failed
    // write (the recording goes on).
    QString offer(const QImage &frame, const CaptureFacts &facts, qint64 nowMs);

    int written() const { return m_written; }
    // The file written last ("" before the first).
    QString lastFile() const { return m_lastFile; }

private:
    QString freeName(const QDateTime &time);

    RecordSettings m_settings;
    bool m_recording = false;
    int m_written = 0;
    int m_next = 1; // the next number tried (numbered names)
    qint64 m_lastWrittenMs = 0;
    QString m_lastFile;
};

} // namespace lmk
