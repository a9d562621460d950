#include "upload/UploadOperation.h"

#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "link/Wait.h"
#include "files/UserFiles.h"
#include "upload/TaskListCodec.h"
#include "upload/UploadFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

namespace lmk {

using namespace upload;

UploadOperation::UploadOperation(DeviceLink &link, QObject *parent)
    : QObject(parent), m_link(link) {}

int UploadOperation::progressFor(qint64 sent, qint64 size) {
    if (size <= 0)
        return kProgressMax;
    return int(qMin<qint64>(kProgressMax, qint64(kProgressMax) * sent / size));
}

UploadResult UploadOperation::run(const UploadRequest &req) {
    UploadResult result;
    auto done = [&](UploadOutcome outcome, const QString &message) {
        result.outcome = outcome;
        result.message = message;
        emit finished(result);
        return result;
    };
    const QString noConnection = QString::fromLatin1(kNoConnectionText);

    // 1. Preconditions.
    const QFileInfo info(req.filePath);
    const bool fileThere = req.contents || info.exists() || nameNotDecodable(req.filePath);
    if (!req.fileChosen || req.filePath.isEmpty() || !fileThere || !m_link.hasTransport())
        return done(UploadOutcome::NotStarted, noConnection);

    // 2. The whole file, read once (see UploadFile.h for what is refused).
    UploadFile file = req.contents ? checkUploadBytes(*req.contents, req.filePath)
                                   : loadUploadFile(req.filePath);
    if (!file.ok())
        return done(UploadOutcome::Unreadable, file.error);
    QByteArray bytes = std::move(file.bytes);
    result.size = bytes.size();

    // 3. Name check.
    const QString fileName = info.fileName();
    if (!nameMatchesTarget(req.target, fileName, req.taskEntry)) {
        const QString q = QString::fromLatin1(kConfirmText);
        const bool ok = m_confirm ? m_confirm(q) : dialogs().confirmOkCancel(q);
        if (!ok)
            return done(UploadOutcome::Declined, QString());
    }

    // 4. Header.
    QByteArray header;
    if (req.target == Target::Configuration) {
        header = configurationHeader(quint32(bytes.size()));
    } else {
        const TaskEntryIds parsed = parseTaskEntry(req.taskEntry);
        if (!parsed.tooLarge.isEmpty())
            return done(UploadOutcome::IdTooLarge,
                        QString::fromLatin1(kIdTooLargeText).arg(parsed.tooLarge));
        if (!parsed.ids) {
            m_link.setStatusText(kNoTasksFound);
            return done(UploadOutcome::NoTaskIds, QString::fromLatin1(m_link.StatusText));
        }
        header = externalHeader(quint32(bytes.size()), *parsed.ids);
    }

    // 5.-7. The transfer. The name block comes from the file being sent.
    UploadPacketizer packets(std::move(bytes), nameBlock(fileName));
    result.transferred = true;
    transfer(header, packets, req.byteCounter);
    result.sent = packets.sent();
    if (m_link.shuttingDown()) // the window has gone: nobody to tell
        return done(UploadOutcome::Abandoned, QString());
    const QString text = QString::fromLatin1(m_link.StatusText);
    if (text == QLatin1String(kSuccessText))
        return done(UploadOutcome::Completed, text);
    if (text == QLatin1String(kRefusedText))
        return done(UploadOutcome::Refused, text);
    return done(UploadOutcome::Ended, text);
}

void UploadOperation::transfer(const QByteArray &header, UploadPacketizer &packets,
                               qint64 counter) {
    DeviceLink &link = m_link;
    link.discardStaleInput();
    // Over WLAN the first replies are handled inside the header's send.
    qint64 workingSeen = link.WorkingReplies;
    link.setStatusText(kCannotLoadText);
    link.AwaitingReply = 1;
    link.PendingRequest = -1;
    link.startReplyTimer(kReplyMs);
    emit started();
    emit phaseChanged(QString::fromLatin1(kClearingText));
    processPendingEvents();
    link.SendToDevice(header);
    emit progressChanged(0);
    link.RxCount = 0;
    link.RxFrameLength = 0;

    const qint64 size = packets.size();
    bool bytesPhase = false;
    int progress = 0;
    // Events are processed between packets at least every kEventSliceMs;
    // SendToDevice and the waits process them as well.
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    while (link.AwaitingReply) {
        link.waitForReply([&link] { return link.PendingRequest == -1 && link.AwaitingReply; });
        link.stopReplyTimer();
        // Every working reply counts, one handled together with the reply
        // after it as well.
        for (; workingSeen < link.WorkingReplies; ++workingSeen)
            emit counterChanged(++counter);
        if (!link.AwaitingReply)
            break;
        const qint32 code = link.PendingRequest;
        if (code == 0x55) {
            link.startReplyTimer(kReplyMs);
            link.PendingRequest = -1; // the next wait reads the next frame
        } else if (code == 0x00) {
            counter = packets.sent();
            emit counterChanged(counter);
            emit bytesSent(packets.sent(), size);
            if (const int p = progressFor(packets.sent(), size); p != progress) {
                progress = p;
                emit progressChanged(p);
            }
            if (packets.hasNext()) {
                const qint64 n = packets.groupCounter();
                if (!bytesPhase && n >= 65 && n <= 119) {
                    bytesPhase = true;
                    emit phaseChanged(QString::fromLatin1(kBytesSentText));
                }
                const QByteArray &packet = packets.next();
                link.PendingRequest = -1;
                link.startReplyTimer(kReplyMs);
                link.SendToDevice(packet);
            } else {
                link.AwaitingReply = 0;
                link.setStatusText(kSuccessText);
            }
        } else {
            link.setStatusText(kRefusedText);
            link.AwaitingReply = 0;
        }
        if (!link.AwaitingReply || sinceEvents.elapsed() >= kEventSliceMs) {
            processPendingEvents();
            sinceEvents.start();
        }
    }
    link.stopReplyTimer();
}

} // namespace lmk
