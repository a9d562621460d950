#include "memory/MemorySession.h"

#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "memory/MemoryImage.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"

#include <QFileInfo>

namespace lmk {

MemorySession::MemorySession(DeviceLink &link, QObject *parent)
    : QObject(parent), m_slots(new MemorySlots(link, this)) {
    // A read counts the bytes as the records arrive (slot number x 256).
    connect(m_slots, &MemorySlots::recordStored, this,
            [this](qint64 slot, const QByteArray &, bool) { setBytesText(slotBytesText(slot)); });
    connect(m_slots, &MemorySlots::slotChanged, this, &MemorySession::notify);
    connect(m_slots, &MemorySlots::imageReplaced, this, &MemorySession::notify);
}

MemoryImage &MemorySession::image() {
    return m_slots->image();
}

bool MemorySession::isModified() const {
    return m_slots->image().data() != m_clean;
}

void MemorySession::notify() {
    emit stateChanged();
}

void MemorySession::setStatusItem(const QString &text) {
    m_statusItem = text;
    notify();
}

void MemorySession::setBytesText(const QString &text) {
    m_bytesText = text;
    notify();
}

void MemorySession::setBusy(bool busy) {
    m_busy = busy;
    notify();
}

void MemorySession::markClean() {
    m_clean = m_slots->image().data();
    notify();
}

void MemorySession::readAll() {
    run(SlotTransferOperation::Kind::Read);
}

void MemorySession::writeAll(const BeforeSending &beforeSending) {
    run(SlotTransferOperation::Kind::Write, beforeSending);
}

void MemorySession::clearAll(const BeforeSending &beforeSending) {
    if (m_slots->operationRunning) {
        // The button stays enabled during a transfer; say why it does nothing.
        dialogs().information(QStringLiteral(
            "The memory slots are being transferred; wait until that has finished, then "
            "clear them."));
        return;
    }
    if (!dialogs().confirmYesNo(QStringLiteral("Wirklich alle Speicherplätze im LMK54 löschen?")))
        return;
    run(SlotTransferOperation::Kind::Clear, beforeSending);
}

void MemorySession::run(SlotTransferOperation::Kind kind, const BeforeSending &beforeSending) {
    using Kind = SlotTransferOperation::Kind;
    using Outcome = SlotTransferOperation::Outcome;
    // A write of a short image is refused before anything is sent, and
    // without a connection nothing happens: nothing to prepare then.
    const bool sends = kind == Kind::Clear ||
                       (kind == Kind::Write && m_slots->image().size() >= kSlotImageSize);
    if (beforeSending && sends && m_slots->link().hasTransport() && !m_slots->operationRunning &&
        !beforeSending())
        return;
    const bool reading = kind == Kind::Read;
    const bool writeBefore = m_writeEnabled;
    const QString statusBefore = m_statusItem;
    SlotTransferOperation op(*m_slots);
    connect(&op, &SlotTransferOperation::started, this, [&] {
        m_busy = true;
        if (reading)
            m_statusItem = QStringLiteral("Try to read out...");
        setBytesText(QStringLiteral("0"));
    });
    // A write or clear counts per acknowledged slot.
    if (!reading)
        connect(&op, &SlotTransferOperation::slotDone, this,
                [this](int s) { setBytesText(slotBytesText(s)); });
    const Outcome outcome = op.run(kind);
    if (outcome == Outcome::NoTransport || outcome == Outcome::Busy) {
        if (!op.busyWith().isEmpty()) // another operation holds the link
            dialogs().information(op.outcomeText(kind, outcome));
        return;
    }
    m_busy = false;
    if (reading && outcome != Outcome::Done) {
        // The image and the grid are as before the read, and so is this.
        m_writeEnabled = writeBefore;
        m_statusItem = statusBefore;
    } else if (outcome != Outcome::ImageShort) {
        m_writeEnabled = true;
    }
    if (reading && outcome == Outcome::Done) {
        m_statusItem = QStringLiteral("Read from LMK54!");
        m_filePath.clear();
        markClean(); // the image is what the receiver holds
    } else if (kind == Kind::Write && outcome == Outcome::Done) {
        markClean();
    }
    notify();
    const QString text = op.outcomeText(kind, outcome);
    if (!text.isEmpty())
        dialogs().information(text);
}

bool MemorySession::openFile(const QString &path) {
    setStatusItem(QFileInfo(path).fileName());
    MemoryImage &image = m_slots->image();
    QString error;
    if (!image.loadFromFile(path, &error)) {
        dialogs().information(error);
        return false;
    }
    image.setPosition(0);
    m_filePath = path;
    m_writeEnabled = true;
    markClean();
    m_slots->announceImageReplaced();
    return true;
}

bool MemorySession::saveFile(const QString &path) {
    setStatusItem(QFileInfo(path).fileName());
    QString error;
    if (!m_slots->image().saveToFile(path, &error)) {
        dialogs().information(error);
        return false;
    }
    m_filePath = path;
    markClean();
    return true;
}

} // namespace lmk
