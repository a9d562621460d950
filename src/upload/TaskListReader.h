#pragma once
// The task-list reader: a search hands it the frame whose reply word has the
// code 0x0B (see TaskListCodec.h for the bytes). A reply of 8 to 508 bytes
// replaces the list; any other length leaves it as it is. The search's wait
// ends after the reader returns.

#include <QObject>
#include <QStringList>

namespace lmk {
class DeviceLink;

class TaskListReader : public QObject {
    Q_OBJECT
  public:
    explicit TaskListReader(DeviceLink &link, QObject *parent = nullptr);
    ~TaskListReader() override;

    // The entries of the last list read.
    QStringList entries() const { return m_entries; }

    // p at the 0x0B word, n bytes from there to the end of the payload.
    void read(const quint8 *p, int n);

  signals:
    void listCleared();
    // One per entry, in order; pending events are processed after each.
    void entryAdded(const QString &text);

  private:
    DeviceLink &m_link;
    QStringList m_entries;
    quint64 m_generation = 0;
};

} // namespace lmk
