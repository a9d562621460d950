#include "memory/ui/SlotCellDelegate.h"

#include "link/Dialogs.h"
#include "memory/SlotRecord.h"
#include "memory/ui/SlotTableModel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

namespace lmk {

SlotCellDelegate::SlotCellDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

QStringList SlotCellDelegate::choices(int column, const SlotNumberFormat &format) {
    std::optional<QString> (*table)(quint8) = nullptr;
    QString (*toggle)(quint8) = nullptr;
    switch (column) {
    case ColModulation: table = slotModulationText; break;
    case ColFilterHp: table = slotFilterHpText; break;
    case ColFilterTp: table = slotFilterTpText; break;
    case ColHochpass: toggle = slotHochpassText; break;
    case ColEingang: toggle = slotEingangText; break;
    case ColAbschwaecher: toggle = slotAbschwaecherText; break;
    default: return {};
    }
    QStringList texts;
    if (toggle)
        return {toggle(0), toggle(1)};
    for (int i = 0; i < 256; ++i) {
        const std::optional<QString> t = table(quint8(i));
        if (!t)
            break;
        texts << slotTableText(*t, format);
    }
    return texts;
}

namespace {
std::pair<int, int> spinRange(int column) {
    switch (column) {
    case ColBandbreite: return {0, 65535};
    case ColVerschiebung: return {-32768, 32767};
    case ColVersion: return {0, 15};
    default: return {0, -1};
    }
}
} // namespace

QWidget *SlotCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                        const QModelIndex &index) const {
    const int column = index.column();
    const QString name = slotGridHeadings().value(column);
    QWidget *editor = nullptr;
    if (const QStringList texts = choices(column, SlotTableModel::numberFormat());
        !texts.isEmpty()) {
        auto *combo = new QComboBox(parent);
        combo->addItems(texts);
        editor = combo;
    } else if (const auto [lo, hi] = spinRange(column); lo <= hi) {
        auto *spin = new QSpinBox(parent);
        spin->setRange(lo, hi);
        spin->setFrame(false);
        editor = spin;
    } else {
        auto *line = new QLineEdit(parent);
        line->setFrame(false);
        editor = line;
    }
    editor->setAccessibleName(name);
    return editor;
}

void SlotCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const {
    const QString text = index.data(Qt::EditRole).toString();
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        // A byte with no entry in the list shows no entry: the editor must
        // not offer the first one as if it were the cell's value.
        combo->setCurrentIndex(combo->findText(text));
    } else if (auto *spin = qobject_cast<QSpinBox *>(editor)) {
        const QString group = SlotTableModel::numberFormat().locale.groupSeparator();
        spin->setValue(text.simplified().remove(QLatin1Char(' ')).remove(group).toInt());
    } else if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        // A name's padding is not part of what the user edits.
        QString t = text;
        if (index.column() == ColName)
            while (t.endsWith(QLatin1Char(' ')))
                t.chop(1);
        line->setText(t);
    }
}

void SlotCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const {
    auto *table = qobject_cast<SlotTableModel *>(model);
    if (!table)
        return;
    QString text;
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        if (combo->currentIndex() < 0)
            return; // nothing was chosen: the bytes stay as they are
        text = combo->currentText();
    }
    else if (auto *spin = qobject_cast<QSpinBox *>(editor))
        text = QString::number(spin->value());
    else if (auto *line = qobject_cast<QLineEdit *>(editor))
        text = line->text();
    const QString refusal =
        table->setCellText(SlotTableModel::slotOf(index), index.column(), text);
    if (!refusal.isEmpty())
        dialogs().information(refusal);
}

} // namespace lmk
