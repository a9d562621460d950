#include "memory/MemorySession.h"

#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "memory/MemoryImage.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"
#include "memory/SlotWriteCheck.h"

#include <QFileInfo>

#include <optional>

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

void MemorySession::readAll() {
    run(SlotTransferOperation::Kind::Read);
}

void MemorySession::writeAll(const BeforeSending &beforeSending, bool verify) {
    run(SlotTransferOperation::Kind::Write, beforeSending, verify);
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

void MemorySession::run(SlotTransferOperation::Kind kind, const BeforeSending &beforeSending,
                        bool verify) {
    using Kind = SlotTransferOperation::Kind;
    using Outcome = SlotTransferOperation::Outcome;
    // A write of a short image is refused before anything is sent, and
    // without a connection nothing happens: nothing to prepare then.
    const bool sends = kind == Kind::Clear ||
                       (kind == Kind::Write && m_slots->image().size() >= kSlotImageSize);
    if (beforeSending && sends && m_slots->link().hasTransport() && !m_slots->operationRunning &&
        !beforeSending())
        return;
    // The 8 bytes of every slot that the receiver never sent back would be
    // overwritten from the image: only when the user says so.
    if (kind == Kind::Write && sends && m_shortReplies && m_slots->link().hasTransport() &&
        !m_slots->operationRunning &&
        !dialogs().confirmYesNo(shortSlotRepliesText() + QStringLiteral("\n\nWrite anyway?")))
        return;
    m_resultText.clear();
    const bool reading = kind == Kind::Read;
    const bool writeBefore = m_writeEnabled;
    const QString statusBefore = m_statusItem;
    const QByteArray sent = m_slots->image().data();
    SlotTransferOperation op(*m_slots);
    const QString verb = reading                ? QStringLiteral("Reading")
                         : kind == Kind::Write ? QStringLiteral("Writing")
                                               : QStringLiteral("Clearing");
    const auto working = [this, verb](int slot) {
        m_activity = QStringLiteral("%1 slot %2 of 63…").arg(verb).arg(slot);
    };
    connect(&op, &SlotTransferOperation::started, this, [&] {
        m_busy = true;
        working(1);
        if (reading)
            m_statusItem = QStringLiteral("Try to read out...");
        setBytesText(QStringLiteral("0"));
    });
    connect(&op, &SlotTransferOperation::slotDone, this, [this, reading, working](int s) {
        working(qMin(s + 1, kSlotCount));
        if (reading)
            notify();
        else // a write or clear counts per acknowledged slot
            setBytesText(slotBytesText(s));
    });
    const Outcome outcome = op.run(kind);
    if (reading && outcome == Outcome::Done)
        m_shortReplies = op.partialRecords();
    std::optional<SlotWriteCheck> check;
    if (kind == Kind::Write && outcome == Outcome::Done && verify) {
        m_activity = QStringLiteral("Reading the slots back…");
        notify();
        check = checkWrittenSlots(*m_slots, sent);
        m_shortReplies = m_shortReplies || check->partial;
        m_resultText = check->text();
    }
    m_activity.clear();
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
        notify();
        emit saved(); // the image is what the receiver holds
    } else if (kind == Kind::Write && outcome == Outcome::Done && m_slots->image().data() == sent &&
               (!check || check->verified())) {
        notify();
        emit saved(); // the receiver holds what the window shows
    }
    notify();
    QString text = op.outcomeText(kind, outcome);
    if (check && !check->verified())
        text = check->text() + QLatin1Char('.');
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
    m_slots->announceImageReplaced(QStringLiteral("Open %1").arg(QFileInfo(path).fileName()));
    notify();
    emit saved();
    return true;
}

bool MemorySession::saveFile(const QString &path) {
    // An empty image is no .Mem file anybody wants: nothing is written.
    if (m_slots->image().size() == 0) {
        dialogs().information(QStringLiteral("The memory image holds no slots (0 bytes); nothing "
                                             "was saved. Read the slots or open a .Mem file first."));
        return false;
    }
    setStatusItem(QFileInfo(path).fileName());
    QString error;
    if (!m_slots->image().saveToFile(path, &error)) {
        dialogs().information(error);
        return false;
    }
    m_filePath = path;
    notify();
    emit saved();
    return true;
}

} // namespace lmk
