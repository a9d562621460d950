#include "memory/ui/SlotTableModel.h"

#include "app/UiLanguage.h"
#include "memory/MemoryImage.h"
#include "memory/MemorySession.h"
#include "memory/MemorySlots.h"
#include "memory/SlotDiff.h"
#include "memory/SlotEdits.h"

#include <QBrush>
#include <QColor>
#include <QUndoCommand>

namespace lmk {

namespace {
// Oldest steps are dropped beyond this.
constexpr int kUndoLimit = 200;
const QColor kDiffering(255, 224, 140); // rows that differ from the receiver
} // namespace

// One change of the image, kept as the one byte range that differs, so undo
// and redo put back exact bytes whatever the change was.
class SlotImageStep : public QUndoCommand {
  public:
    SlotImageStep(SlotTableModel &model, const QString &text, const QByteArray &before,
                  const QByteArray &after, bool done)
        : QUndoCommand(text), m_model(model), m_skipRedo(done) {
        qsizetype head = 0;
        const qsizetype common = qMin(before.size(), after.size());
        while (head < common && before[head] == after[head])
            ++head;
        qsizetype tail = 0;
        while (tail < common - head &&
               before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
            ++tail;
        m_offset = head;
        m_before = before.mid(head, before.size() - head - tail);
        m_after = after.mid(head, after.size() - head - tail);
    }
    void redo() override {
        if (m_skipRedo) { // the change is already in the image
            m_skipRedo = false;
            return;
        }
        m_model.setImage(replaced(m_before.size(), m_after));
    }
    void undo() override { m_model.setImage(replaced(m_after.size(), m_before)); }

  private:
    QByteArray replaced(qsizetype oldLength, const QByteArray &with) const {
        QByteArray image = m_model.m_seen;
        image.replace(m_offset, oldLength, with);
        return image;
    }

    SlotTableModel &m_model;
    bool m_skipRedo;
    qsizetype m_offset = 0;
    QByteArray m_before;
    QByteArray m_after;
};

SlotTableModel &SlotTableModel::of(MemorySession &session) {
    if (auto *m = session.findChild<SlotTableModel *>(QString(), Qt::FindDirectChildrenOnly))
        return *m;
    return *new SlotTableModel(session);
}

SlotTableModel::SlotTableModel(MemorySession &session)
    : QAbstractTableModel(&session), m_session(session) {
    m_undo.setUndoLimit(kUndoLimit);
    m_seen = session.image().data();
    // The headings and the numbers follow the window's language.
    connect(&UiLanguage::instance(), &UiLanguage::languageChanged, this, [this] {
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
        refresh();
    });
    MemorySlots *store = &session.memorySlots();
    connect(store, &MemorySlots::imageReplaced, this, &SlotTableModel::takeSessionChange);
    connect(store, &MemorySlots::slotChanged, this, [this] { takeSessionChange({}); });
    connect(&session, &MemorySession::saved, this, [this] { m_undo.setClean(); });
    connect(&session, &MemorySession::stateChanged, this, [this] {
        const bool now = locked();
        if (now == m_locked)
            return;
        m_locked = now;
        // A transfer changes the receiver: an older comparison no longer holds.
        if (now && hasComparison())
            setComparison({});
        emit lockedChanged(now);
    });
    m_locked = locked();
    refresh();
}

SlotTableModel::~SlotTableModel() {
    // The stack's clear() on destruction announces a last index change; the
    // views' handlers must not hear it while the session around the model is
    // already being torn down.
    m_undo.blockSignals(true);
}

bool SlotTableModel::locked() const {
    return m_session.busy() || m_session.memorySlots().operationRunning;
}

int SlotTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kSlotCount;
}

int SlotTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : SlotColumnCount;
}

QString SlotTableModel::cellText(int slot, int column) const {
    if (slot < 1 || slot > kSlotCount || column < 0 || column >= SlotColumnCount)
        return {};
    if (column == ColPlatz)
        return QString::number(slot);
    return m_text[size_t(slot - 1)][size_t(column)];
}

SlotNumberFormat SlotTableModel::numberFormat() {
    return UiLanguage::instance().language() == Language::English ? SlotNumberFormat::inEnglish()
                                                                   : SlotNumberFormat::inGerman();
}

QVariant SlotTableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return {};
    const int slot = slotOf(index);
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cellText(slot, column);
    case Qt::BackgroundRole:
        if (m_differing.contains(slot) && column != ColPlatz)
            return QBrush(kDiffering);
        return {};
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        return differenceText(slot).isEmpty() ? QVariant() : QVariant(differenceText(slot));
    default:
        return {};
    }
}

QVariant SlotTableModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (o == Qt::Horizontal)
        return UiLanguage::translate(slotGridHeadings().value(section));
    return QString::number(section + 1);
}

Qt::ItemFlags SlotTableModel::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() != ColPlatz && !m_locked)
        f |= Qt::ItemIsEditable;
    return f;
}

bool SlotTableModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    return setCellText(slotOf(index), index.column(), value.toString()).isEmpty();
}

QString SlotTableModel::setCellText(int slot, int column, const QString &text) {
    return pasteCells(slot, column, {{text}});
}

QString SlotTableModel::pasteCells(int slot, int column, const QList<QStringList> &rows) {
    QString refusal;
    if (locked())
        refusal = QStringLiteral("The memory slots are being transferred; nothing was changed.");
    QByteArray image = wholeSlotImage(m_session.image().data());
    const SlotNumberFormat format = numberFormat();
    int cells = 0;
    int editedSlot = slot, editedColumn = column;
    for (qsizetype r = 0; r < rows.size() && refusal.isEmpty(); ++r) {
        const int s = slot + int(r);
        for (qsizetype c = 0; c < rows[r].size() && refusal.isEmpty(); ++c) {
            const int col = column + int(c);
            if (s > kSlotCount || col >= SlotColumnCount) {
                refusal = QStringLiteral("The block of %1 x %2 cells does not fit from slot %3, "
                                         "%4 on; nothing was changed.")
                              .arg(rows.size())
                              .arg(rows[r].size())
                              .arg(slot)
                              .arg(slotGridHeadings().value(column));
                break;
            }
            if (col == ColPlatz) // the slot number travels with a copied row
                continue;
            const qsizetype at = qsizetype(s - 1) * kSlotSize;
            const SlotCellEdit e = editSlotCell(image.mid(at, kSlotSize), col, rows[r][c], format);
            if (!e.ok()) {
                refusal = rows.size() * rows[r].size() > 1
                              ? QStringLiteral("Slot %1: %2; nothing was changed.").arg(s).arg(e.error)
                              : QStringLiteral("Slot %1: %2.").arg(s).arg(e.error);
                break;
            }
            image.replace(at, kSlotSize, e.record);
            ++cells;
            editedSlot = s;
            editedColumn = col;
        }
    }
    if (!refusal.isEmpty()) {
        emit editRefused(refusal);
        return refusal;
    }
    if (image == wholeSlotImage(m_session.image().data()))
        return {}; // every value as it was: no step
    const QString text = cells == 1 ? QStringLiteral("Edit %1 of slot %2")
                                          .arg(slotGridHeadings().value(editedColumn))
                                          .arg(editedSlot)
                                    : QStringLiteral("Paste %1 cells").arg(cells);
    applyImage(text, image);
    return {};
}

bool SlotTableModel::applyImage(const QString &text, const QByteArray &image) {
    if (locked())
        return false;
    if (image == m_seen)
        return true;
    m_undo.push(new SlotImageStep(*this, text, m_seen, image, false));
    return true;
}

void SlotTableModel::undo() {
    if (!locked())
        m_undo.undo();
}

void SlotTableModel::redo() {
    if (!locked())
        m_undo.redo();
}

void SlotTableModel::setImage(const QByteArray &bytes) {
    m_applying = true;
    m_session.memorySlots().setImageBytes(bytes);
    m_applying = false;
    m_seen = bytes;
    refresh();
}

void SlotTableModel::takeSessionChange(const QString &what) {
    if (m_applying)
        return;
    const QByteArray now = m_session.image().data();
    if (now != m_seen && m_seen.isEmpty()) {
        // The first image opened or read is where the history begins: undo
        // never goes back to no slots at all.
        m_undo.clear();
        m_seen = now;
    } else if (now != m_seen) {
        const QString text = !what.isEmpty()     ? what
                             : m_session.busy() ? QStringLiteral("Read from receiver")
                                                : QStringLiteral("Slots replaced");
        m_undo.push(new SlotImageStep(*this, text, m_seen, now, true));
        m_seen = now;
    }
    refresh();
}

void SlotTableModel::refresh() {
    const MemoryImage &image = m_session.image();
    const SlotNumberFormat format = numberFormat();
    for (int s = 1; s <= kSlotCount; ++s) {
        auto &row = m_text[size_t(s - 1)];
        if (!image.holdsSlot(s)) {
            row.fill(QString()); // the image holds no whole record for this slot
            continue;
        }
        const QByteArray record = image.slotRecord(s);
        const SlotRowTexts texts = slotRowTexts(record, format);
        for (int c = ColName; c < SlotColumnCount; ++c)
            row[size_t(c)] = texts[size_t(c)].value_or(QString());
        // A byte with no table entry shows its raw value, marked; never the
        // text of an image shown before.
        for (const auto &[column, offset] : {std::pair{int(ColModulation), slot::kModulation},
                                             std::pair{int(ColFilterHp), slot::kFilterHp},
                                             std::pair{int(ColFilterTp), slot::kFilterTp}})
            if (!texts[size_t(column)])
                row[size_t(column)] = slotUnknownTableText(quint8(record[offset]));
    }
    updateComparison();
    emit dataChanged(index(0, 0), index(kSlotCount - 1, SlotColumnCount - 1));
}

void SlotTableModel::setComparison(const QByteArray &receiver) {
    m_receiver = receiver;
    updateComparison();
    emit dataChanged(index(0, 0), index(kSlotCount - 1, SlotColumnCount - 1));
}

void SlotTableModel::updateComparison() {
    const QList<int> before = m_differing;
    m_differing.clear();
    m_differenceText = QStringList(kSlotCount);
    if (!m_receiver.isEmpty()) {
        const SlotImageDiff d = diffSlotImages(m_session.image().data(), m_receiver, numberFormat());
        for (const SlotDifference &s : d.differing) {
            m_differing << s.slot;
            m_differenceText[s.slot - 1] = slotDifferenceText(s, QStringLiteral("the image"),
                                                              QStringLiteral("the receiver"));
        }
    }
    if (before != m_differing || !m_receiver.isEmpty())
        emit comparisonChanged();
}

QString SlotTableModel::differenceText(int slot) const {
    if (slot < 1 || slot > kSlotCount || m_differenceText.size() != kSlotCount)
        return {};
    return m_differenceText[slot - 1];
}

} // namespace lmk
