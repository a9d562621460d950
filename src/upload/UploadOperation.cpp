#include "upload/UploadOperation.h"

#include "link/DeviceLink.h"
#include "link/Exchange.h"
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
        if (!parsed.ids)
            return done(UploadOutcome::NoTaskIds, QString::fromLatin1(kNoTasksFound));
        header = externalHeader(quint32(bytes.size()), *parsed.ids);
    }

    // 5.-7. The transfer. The name block comes from the file being sent.
    Exchange exchange(m_link, QStringLiteral("Upload"));
    if (!exchange.claimed())
        return done(UploadOutcome::Busy, operationBusyText(exchange.refusedBy()));
    UploadPacketizer packets(std::move(bytes), nameBlock(fileName));
    result.transferred = true;
    const ExchangeResult end = transfer(exchange, header, packets, req.byteCounter);
    result.sent = packets.sent();
    result.end = end.end;
    result.code = end.code;
    if (m_link.shuttingDown() || end.end == ExchangeEnd::ShuttingDown) // nobody to tell
        return done(UploadOutcome::Abandoned, QString());
    if (end.isStatus(0) && !packets.hasNext())
        return done(UploadOutcome::Completed, QString::fromLatin1(kSuccessText));
    if (end.end == ExchangeEnd::Status)
        return done(UploadOutcome::Refused, QString::fromLatin1(kRefusedText));
    if (end.end == ExchangeEnd::Timeout)
        return done(UploadOutcome::Ended, QString::fromLatin1(kTimeoutText));
    return done(UploadOutcome::Ended, QString::fromLatin1(kCannotLoadText));
}

ExchangeResult UploadOperation::transfer(Exchange &exchange, const QByteArray &header,
                                        UploadPacketizer &packets, qint64 counter) {
    qint64 workingSeen = 0;
    exchange.startReplyTimer(kReplyMs);
    emit started();
    emit phaseChanged(QString::fromLatin1(kClearingText));
    processPendingEvents();
    // A request that did not go out ends the upload with the reason: the
    // status word of the one before must not count as its answer.
    const auto notSent = [&exchange] {
        return exchange.ended() ? ExchangeResult{exchange.end(), -1}
                                : ExchangeResult{ExchangeEnd::LinkLost, -1};
    };
    const bool headerSent = exchange.send(header);
    emit progressChanged(0);
    if (!headerSent) {
        exchange.stopReplyTimer();
        return notSent();
    }

    const qint64 size = packets.size();
    bool bytesPhase = false;
    int progress = 0;
    // Events are processed between packets at least every kEventSliceMs;
    // the waits process them as well.
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    ExchangeResult r;
    for (;;) {
        r = exchange.waitForStatus();
        exchange.stopReplyTimer();
        // Every working reply counts, one handled together with the reply
        // after it as well.
        for (; workingSeen < exchange.workingReplies(); ++workingSeen)
            emit counterChanged(++counter);
        if (r.end != ExchangeEnd::Status)
            break;
        if (r.code == 0x55) {
            exchange.startReplyTimer(kReplyMs);
            exchange.clearStatus(); // the next wait reads the next frame
        } else if (r.code == 0x00) {
            counter = packets.sent();
            emit counterChanged(counter);
            emit bytesSent(packets.sent(), size);
            if (const int p = progressFor(packets.sent(), size); p != progress) {
                progress = p;
                emit progressChanged(p);
            }
            if (!packets.hasNext())
                break;
            const qint64 n = packets.groupCounter();
            if (!bytesPhase && n >= 65 && n <= 119) {
                bytesPhase = true;
                emit phaseChanged(QString::fromLatin1(kBytesSentText));
            }
            const QByteArray &packet = packets.next();
            exchange.startReplyTimer(kReplyMs);
            if (!exchange.send(packet)) {
                r = notSent();
                break;
            }
        } else {
            break; // refused
        }
        if (sinceEvents.elapsed() >= kEventSliceMs) {
            processPendingEvents();
            sinceEvents.start();
        }
    }
    exchange.stopReplyTimer();
    processPendingEvents();
    return r;
}

} // namespace lmk
