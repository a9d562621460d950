#include "upload/TaskListReader.h"

#include "link/DeviceLink.h"
#include "link/Wait.h"
#include "upload/TaskListCodec.h"

#include <QPointer>

namespace lmk {

TaskListReader::TaskListReader(DeviceLink &link, QObject *parent) : QObject(parent), m_link(link) {
    m_link.handlers.taskList = Hook{this};
}

TaskListReader::~TaskListReader() {
    const Hook *h = m_link.handlers.taskList.target<Hook>();
    if (h && h->reader == this)
        m_link.handlers.taskList = nullptr;
}

void TaskListReader::read(const quint8 *p, int n) {
    // Decoded whole first: the payload may live in the WLAN receive buffer,
    // which an exchange started while events are processed would reuse.
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
