#pragma once
// The one model of the memory slots: a table over the session's
// MemoryImage, 63 rows (slot 1 in row 0) by the grid's 12 columns (column 0
// "Platz", the slot number). The hidden page and the memory editor window
// both show it, so every view shows the same bytes.
//
// Every change of the image is one command on the model's undo stack: a
// cell typed, a block pasted, slots cut, cleared, moved, inserted, deleted
// or sorted, a CSV import, a .Mem file opened, the slots read from the
// receiver. The stack's clean state is the "unsaved" mark: it is set when
// the image is what a file or the receiver holds.
//
// While a transfer runs the model is locked: no cell is editable and no
// change is made, so a write sends what the user saw when it started.

#include "memory/SlotRecord.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUndoStack>

#include <array>

namespace lmk {

class MemorySession;

class SlotTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The model of `session`, made on first use; it lives as long as the
    // session.
    static SlotTableModel &of(MemorySession &session);

    MemorySession &session() { return m_session; }
    QUndoStack &undoStack() { return m_undo; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Stores a cell's text (EditRole) as one step; a text that cannot be
    // stored is refused (editRefused) and nothing changes.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    static int slotOf(const QModelIndex &index) { return index.row() + 1; }
    QModelIndex indexOf(int slot, int column) const { return index(slot - 1, column); }
    // The text a cell shows (column 0: the slot number).
    QString cellText(int slot, int column) const;
    // How the cells write numbers: as the window's language writes them.
    static SlotNumberFormat numberFormat();

    // The image differs from what a file or the receiver holds.
    bool isModified() const { return !m_undo.isClean(); }
    // A transfer runs: nothing may change the image.
    bool locked() const;

    // Makes `image` the session's image as one step named `text`; no step
    // when nothing changes. False while locked.
    bool applyImage(const QString &text, const QByteArray &image);
    // One cell; the refusal text, or empty when stored (or unchanged).
    QString setCellText(int slot, int column, const QString &text);
    // A block of cell texts with its top left at (slot, column): every cell
    // is checked, then all are stored as one step, or none. The refusal
    // names the first cell that cannot be stored.
    QString pasteCells(int slot, int column, const QList<QStringList> &rows);
    void undo();
    void redo();

    // Marks the slots whose records differ from `receiver` (the receiver's
    // slots as last read); an empty one clears the marks.
    void setComparison(const QByteArray &receiver);
    bool hasComparison() const { return !m_receiver.isEmpty(); }
    QList<int> differingSlots() const { return m_differing; }
    // "Slot 2: Name "A" -> "B"" for a marked slot, else empty.
    QString differenceText(int slot) const;

  signals:
    // A typed or pasted text was not stored; `message` says which and why.
    void editRefused(const QString &message);
    void lockedChanged(bool locked);
    // The slots marked as differing from the receiver changed.
    void comparisonChanged();

  private:
    explicit SlotTableModel(MemorySession &session);
    ~SlotTableModel() override;
    friend class SlotImageStep;

    // The image as an undo step leaves it.
    void setImage(const QByteArray &bytes);
    // A change the session made (a file, a read): one step that is done.
    void takeSessionChange(const QString &what);
    void refresh();
    void updateComparison();

    MemorySession &m_session;
    QUndoStack m_undo;
    QByteArray m_seen; // the image as the last step left it
    bool m_applying = false;
    bool m_locked = false;
    // What each cell shows: a value without a table entry leaves the text
    // that the cell showed before.
    std::array<std::array<QString, SlotColumnCount>, kSlotCount> m_text;
    QByteArray m_receiver;
    QList<int> m_differing;
    QStringList m_differenceText; // index: slot - 1
};

} // namespace lmk
