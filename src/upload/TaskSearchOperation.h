#pragma once
// "Search": asks the receiver for its external tasks (request 0B, reply in
// TaskListCodec.h). The list itself is read by the search's TaskListReader;
// the search sends, waits up to 1000 ms for the list (or for any reply that
// ends the wait) and reports.

#include "link/Exchange.h"

#include <QObject>
#include <QString>

namespace lmk {
class DeviceLink;
class TaskListReader;

enum class SearchOutcome {
    BootloaderNotActive, // nothing sent
    NoConnection,        // nothing sent
    Finished,            // sent and waited (list read, timeout or other reply)
    Busy,                // another operation held the link: nothing sent
};

struct SearchResult {
    SearchOutcome outcome = SearchOutcome::NoConnection;
    QString message; // the text to show in an information box
    // How the wait ended (Finished: the list came).
    ExchangeEnd end = ExchangeEnd::NoTransport;
    int code = -1;
};

class TaskSearchOperation : public QObject {
    Q_OBJECT
  public:
    static constexpr int kReplyMs = 1000;

    explicit TaskSearchOperation(DeviceLink &link, QObject *parent = nullptr);

    // Where the list goes.
    void setReader(TaskListReader *reader) { m_reader = reader; }

    // bootActive: the last synchronisation found the bootloader.
    SearchResult run(bool bootActive);

  signals:
    // Preconditions met, the request is about to go out.
    void started();
    // The wait is over (before the message is shown).
    void finished();

  private:
    DeviceLink &m_link;
    TaskListReader *m_reader = nullptr;
};

} // namespace lmk
