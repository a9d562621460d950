#include "upload/TaskSearchOperation.h"

#include "link/DeviceLink.h"
#include "upload/TaskListCodec.h"

namespace lmk {

TaskSearchOperation::TaskSearchOperation(DeviceLink &link, QObject *parent)
    : QObject(parent), m_link(link) {}

SearchResult TaskSearchOperation::run(bool bootActive) {
    if (!bootActive)
        return {SearchOutcome::BootloaderNotActive, QStringLiteral("Bootloader not active!")};
    if (!m_link.hasTransport())
        return {SearchOutcome::NoConnection, QStringLiteral("No connection or no file available!")};
    emit started();

    m_link.PendingRequest = 1; // a marker only: the list is known by its code
    m_link.RxCount = 0;
    m_link.startReplyTimer(kReplyMs);
    m_link.AwaitingReply = 1;
    m_link.discardStaleInput();
    m_link.SendToDevice(QByteArray(1, char(upload::kTaskListCommand)));
    m_link.waitForReply([this] { return m_link.AwaitingReply != 0; });

    m_link.stopReplyTimer();
    emit finished();
    return {SearchOutcome::Finished, QStringLiteral("Transfer finished!")};
}

} // namespace lmk
