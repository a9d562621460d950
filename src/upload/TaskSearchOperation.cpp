#include "upload/TaskSearchOperation.h"

#include "link/DeviceLink.h"
#include "link/Exchange.h"
#include "upload/TaskListReader.h"

#include <QPointer>
#include "upload/TaskListCodec.h"

namespace lmk {

TaskSearchOperation::TaskSearchOperation(DeviceLink &link, QObject *parent)
    : QObject(parent), m_link(link) {}

SearchResult TaskSearchOperation::run(bool bootActive) {
    if (!bootActive)
        return {SearchOutcome::BootloaderNotActive, QStringLiteral("Bootloader not active!")};
    if (!m_link.hasTransport())
        return {SearchOutcome::NoConnection, QStringLiteral("No connection or no file available!")};
    Exchange exchange(m_link, QStringLiteral("Search"));
    if (!exchange.claimed())
        return {SearchOutcome::Busy, operationBusyText(exchange.refusedBy())};
    emit started();

    // The list is known by its code; status words do not end the wait.
    QPointer<TaskListReader> reader = m_reader;
    exchange.sink.taskList = [reader](const quint8 *p, int n) {
        if (reader)
            reader->read(p, n);
    };
    exchange.startReplyTimer(kReplyMs);
    if (exchange.send(QByteArray(1, char(upload::kTaskListCommand))))
        exchange.waitWhile([] { return true; });
    exchange.stopReplyTimer();
    emit finished();
    SearchResult r{SearchOutcome::Finished, QStringLiteral("Transfer finished!")};
    r.end = exchange.end();
    r.code = exchange.result().code;
    return r;
}

} // namespace lmk
