#include "display/picture/FrameRecorder.h"

#include "display/CaptureNames.h"
#include "display/PictureFile.h"
#include "display/picture/PictureExport.h"

#include <QDir>
#include <QFileInfo>

namespace lmk {

QString FrameRecorder::start(const RecordSettings &settings) {
    const QFileInfo folder(settings.folder);
    if (settings.folder.isEmpty() || !folder.isDir())
        return QStringLiteral("The folder \"%1\" does not exist.").arg(settings.folder);
    if (!folder.isWritable())
        return QStringLiteral("The folder \"%1\" cannot be written.").arg(settings.folder);
    m_settings = settings;
    m_settings.everySeconds = qMax(0, settings.everySeconds);
    m_recording = true;
    m_written = 0;
    m_next = 1;
    m_lastWrittenMs = 0;
    m_lastFile.clear();
    return QString();
}

QString FrameRecorder::freeName(const QDateTime &time) {
    const QDir dir(m_settings.folder);
    if (m_settings.naming == RecordSettings::Numbered) {
        QString path;
        do
            path = dir.filePath(expandCaptureName(kNumberedPattern, m_next++, time));
        while (QFileInfo::exists(path));
        return path;
    }
    const QString stamped = expandCaptureName(kTimeStampedPattern, 0, time);
    QString path = dir.filePath(stamped);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(seriesCaptureName(stamped, n, time));
    return path;
}

QString FrameRecorder::offer(const QImage &frame, const CaptureFacts &facts, qint64 nowMs) {
    if (!m_recording)
        return QString();
    if (m_written > 0 && m_settings.everySeconds > 0 &&
        nowMs - m_lastWrittenMs < qint64(m_settings.everySeconds) * 1000)
        return QString();
    const QString path = freeName(facts.time.isValid() ? facts.time : QDateTime::currentDateTime());
    const QString error = writeWholeFile(path, [&](QIODevice &file) {
        return writePicture(file, frame, "png", facts);
    });
    if (!error.isEmpty())
        return QStringLiteral("Cannot create file \"%1\". %2").arg(path, error);
    ++m_written;
    m_lastWrittenMs = nowMs;
    m_lastFile = path;
    return QString();
}

} // namespace lmk
