#include "upload/TaskListReader.h"

#include "link/DeviceLink.h"
#include "link/Wait.h"
#include "upload/TaskListCodec.h"

#include <QPointer>

namespace lmk {

TaskListReader::TaskListReader(DeviceLink &link, QObject *parent) : QObject(parent), m_link(link) {}

TaskListReader::~TaskListReader() = default;

void TaskListReader::read(const quint8 *p, int n) {
    // Decoded whole first: events are processed between the entries.
    const auto entries = upload::decodeTaskList(p, n);
    if (!entries)
        return;
    const quint64 generation = ++m_generation;
    m_entries.clear();
    emit listCleared();
    QPointer<TaskListReader> self(this);
    for (const QString &e : *entries) {
        m_entries << e;
        emit entryAdded(e);
        processPendingEvents();
        // A list read meanwhile (events are processed) replaces this one.
        if (!self || m_generation != generation)
            return;
    }
}

} // namespace lmk
