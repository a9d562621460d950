#pragma once
// "Search": asks the receiver for its external tasks (request 0B, reply in
// TaskListCodec.h). The list itself is read by the TaskListReader registered
// with the link; the search sends, waits up to 1000 ms for the list (or for
// any reply that ends the wait) and reports.

#include <QObject>
#include <QString>

namespace lmk {
class DeviceLink;

enum class SearchOutcome {
    BootloaderNotActive, // nothing sent
    NoConnection,        // nothing sent
    Finished,            // sent and waited (list read, timeout or other reply)
};

struct SearchResult {
    SearchOutcome outcome = SearchOutcome::NoConnection;
    QString message; // the text to show in an information box
};

class TaskSearchOperation : public QObject {
    Q_OBJECT
  public:
    static constexpr int kReplyMs = 1000;

    explicit TaskSearchOperation(DeviceLink &link, QObject *parent = nullptr);

    // bootActive: the last synchronisation found the bootloader.
    SearchResult run(bool bootActive);

  signals:
    // Preconditions met, the request is about to go out.
    void started();
    // The wait is over (before the message is shown).
    void finished();

  private:
    DeviceLink &m_link;
};

} // namespace lmk
