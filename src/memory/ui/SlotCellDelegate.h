#pragma once
// The in-place editors of the slot grid, one kind per column: a line for
// the name and the frequency, a drop-down of the grid's own texts for the
// table-backed columns (modulation, switches, filters), a spin box for the
// numbers (bandwidth, shift, version). What the user enters goes to the
// model as text; a text it cannot store is named in a message and nothing
// changes.

#include "memory/SlotRecord.h"

#include <QStyledItemDelegate>

namespace lmk {

class SlotCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit SlotCellDelegate(QObject *parent = nullptr);

    // The texts a drop-down of `column` offers (empty: not a drop-down), as
    // the grid writes them in `format`.
    static QStringList choices(int column, const SlotNumberFormat &format = {});

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
};

} // namespace lmk
