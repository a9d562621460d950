#include "memory/MemoryUndo.h"

#include "memory/MemoryImage.h"
#include "memory/MemorySession.h"
#include "memory/MemorySlots.h"

namespace lmk {

MemoryUndo::MemoryUndo(MemorySession &session, QObject *parent)
    : QObject(parent), m_session(session), m_seen(session.image().data()) {
    MemorySlots *store = &session.memorySlots();
    connect(store, &MemorySlots::slotChanged, this,
            [this](int slot) { capture(QStringLiteral("Edit of slot %1").arg(slot)); });
    connect(store, &MemorySlots::imageReplaced, this, [this] {
        const QString text = m_nextText.isEmpty() ? QStringLiteral("Slots replaced") : m_nextText;
        m_nextText.clear();
        capture(text);
    });
    // Announced once the image is what the step says, not when the history
    // moves: listeners compare against the image.
    connect(&m_history, &SlotEditHistory::changed, this, [this] {
        if (!m_stepping)
            emit changed();
    });
}

void MemoryUndo::capture(const QString &text) {
    if (m_applying)
        return;
    const QByteArray now = m_session.image().data();
    m_history.record(text, m_seen, now);
    m_seen = now;
}

void MemoryUndo::setImage(const QByteArray &bytes) {
    MemoryImage &image = m_session.image();
    const qint64 position = image.position();
    image.clear();
    image.write(bytes);
    image.setPosition(qMin<qint64>(position, image.size()));
    m_seen = bytes;
    m_applying = true;
    m_session.memorySlots().announceImageReplaced();
    m_applying = false;
}

void MemoryUndo::apply(const QString &text, const QByteArray &image) {
    // An edit the session has not announced yet (a typed cell) is a step
    // of its own first.
    capture(QStringLiteral("Edit"));
    if (image == m_seen)
        return;
    m_stepping = true;
    m_history.record(text, m_seen, image);
    m_stepping = false;
    setImage(image);
    emit changed();
}

void MemoryUndo::undo() {
    step(&SlotEditHistory::undo);
}

void MemoryUndo::redo() {
    step(&SlotEditHistory::redo);
}

void MemoryUndo::step(std::optional<QByteArray> (SlotEditHistory::*move)(const QByteArray &)) {
    capture(QStringLiteral("Edit"));
    m_stepping = true;
    const std::optional<QByteArray> image = (m_history.*move)(m_seen);
    m_stepping = false;
    if (image) {
        setImage(*image);
        emit changed();
    }
}

} // namespace lmk
