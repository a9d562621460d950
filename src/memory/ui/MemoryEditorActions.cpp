#include "memory/ui/MemoryEditorActions.h"

#include "files/UserFiles.h"
#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "memory/MemoryImage.h"
#include "memory/MemorySession.h"
#include "memory/MemorySlots.h"
#include "memory/MemoryUndo.h"
#include "memory/SlotBackups.h"
#include "memory/SlotCsv.h"
#include "memory/SlotDiff.h"
#include "memory/SlotEdits.h"
#include "memory/SlotRecord.h"
#include "memory/ui/MemoryEditor.h"
#include "memory/ui/MemoryPage.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableWidget>

#include <algorithm>

namespace lmk {

namespace {
const QColor kDiffering(255, 224, 140); // rows that differ from the receiver
} // namespace

MemoryEditorActions::MemoryEditorActions(MemoryEditor &editor)
    : QObject(&editor), m_editor(editor), m_session(editor.session()),
      m_grid(editor.page()->grid()), m_undo(new MemoryUndo(editor.session(), this)) {
    setObjectName(QStringLiteral("memoryEditorActions"));
    // Whole rows can be selected, by the row headers or by dragging over
    // cells; the current cell still decides what may be typed into.
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->verticalHeader()->setSectionsClickable(true);

    m_status = new QLabel(&editor);
    m_status->setObjectName(QStringLiteral("L_EditorStatus"));
    m_status->setAccessibleName(QStringLiteral("Memory editor status"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    editor.statusBar()->addWidget(m_status, 1);

    buildMenus();
    connect(m_undo, &MemoryUndo::changed, this, [this] {
        updateActions();
        showDifferences();
    });
    // A transfer changes the receiver: an older comparison no longer holds.
    connect(&m_session, &MemorySession::stateChanged, this, [this] {
        if (m_session.busy() && !m_receiver.isEmpty()) {
            m_receiver.clear();
            showDifferences();
        }
    });
    editor.page()->setBeforeSending([this] { return backupBeforeSending(); });
    updateActions();
}

QAction *MemoryEditorActions::addAction(QMenu *menu, const QString &text, const char *name,
                                        const QKeySequence &keys,
                                        void (MemoryEditorActions::*slot)()) {
    QAction *a = menu->addAction(text, this, slot);
    a->setObjectName(QLatin1String(name));
    if (!keys.isEmpty())
        a->setShortcut(keys);
    return a;
}

void MemoryEditorActions::buildMenus() {
    QMenu *file = m_editor.fileMenu();
    QAction *close = m_editor.closeAction();
    auto *csvExport = new QAction(QStringLiteral("&Export CSV…"), file);
    csvExport->setObjectName(QStringLiteral("actionExportCsv"));
    connect(csvExport, &QAction::triggered, this, &MemoryEditorActions::exportCsv);
    auto *csvImport = new QAction(QStringLiteral("&Import CSV…"), file);
    csvImport->setObjectName(QStringLiteral("actionImportCsv"));
    connect(csvImport, &QAction::triggered, this, &MemoryEditorActions::importCsv);
    file->insertActions(close, {csvExport, csvImport});
    file->insertSeparator(close);

    m_editMenu = new QMenu(QStringLiteral("&Edit"), &m_editor);
    m_editMenu->setObjectName(QStringLiteral("menuEdit"));
    m_editor.menuBar()->addMenu(m_editMenu);
    m_undoAction = addAction(m_editMenu, QStringLiteral("&Undo"), "actionUndo",
                             QKeySequence(Qt::CTRL | Qt::Key_Z), &MemoryEditorActions::undo);
    m_redoAction = addAction(m_editMenu, QStringLiteral("&Redo"), "actionRedo",
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                             &MemoryEditorActions::redo);
    m_editMenu->addSeparator();
    addAction(m_editMenu, QStringLiteral("Cu&t Slots"), "actionCutSlots", QKeySequence::Cut,
              &MemoryEditorActions::cutSlots);
    addAction(m_editMenu, QStringLiteral("&Copy Slots"), "actionCopySlots", QKeySequence::Copy,
              &MemoryEditorActions::copySlots);
    m_pasteAction = addAction(m_editMenu, QStringLiteral("&Paste Slots"), "actionPasteSlots",
                              QKeySequence::Paste, &MemoryEditorActions::pasteSlots);
    addAction(m_editMenu, QStringLiteral("C&lear Slots"), "actionClearSlots",
              QKeySequence::Delete, &MemoryEditorActions::clearSlots);
    addAction(m_editMenu, QStringLiteral("Move &Up"), "actionMoveUp",
              QKeySequence(Qt::ALT | Qt::Key_Up), &MemoryEditorActions::moveUp);
    addAction(m_editMenu, QStringLiteral("Move &Down"), "actionMoveDown",
              QKeySequence(Qt::ALT | Qt::Key_Down), &MemoryEditorActions::moveDown);
    m_editMenu->addSeparator();
    addAction(m_editMenu, QStringLiteral("Compare with &receiver"), "actionCompare", {},
              &MemoryEditorActions::compareWithReceiver);
}

void MemoryEditorActions::updateActions() {
    const SlotEditHistory &h = m_undo->history();
    m_undoAction->setEnabled(h.canUndo());
    m_undoAction->setText(h.canUndo() ? QStringLiteral("&Undo %1").arg(h.undoText())
                                      : QStringLiteral("&Undo"));
    m_redoAction->setEnabled(h.canRedo());
    m_redoAction->setText(h.canRedo() ? QStringLiteral("&Redo %1").arg(h.redoText())
                                      : QStringLiteral("&Redo"));
    m_pasteAction->setEnabled(!m_clipboard.isEmpty());
}

QString MemoryEditorActions::statusText() const {
    return m_status->text();
}

void MemoryEditorActions::showStatus(const QString &text) {
    m_status->setText(text);
}

QByteArray MemoryEditorActions::currentImage() {
    m_editor.page()->commitEdits();
    return m_session.image().data();
}

void MemoryEditorActions::applyEdit(const QString &text, const QByteArray &image) {
    m_undo->apply(text, image);
}

// ---------------------------------------------------------------- files

void MemoryEditorActions::openMemFile(const QString &path) {
    m_undo->nameNextChange(QStringLiteral("Open %1").arg(QFileInfo(path).fileName()));
    m_editor.page()->openMemFile(path);
    m_undo->nameNextChange(QString()); // a file that could not be loaded
}

// ------------------------------------------------------------------ CSV

void MemoryEditorActions::exportCsv() {
    const QByteArray image = currentImage();
    const QString path =
        dialogs().saveFile(QStringLiteral("*.csv"), QStringLiteral("CSV file *.csv|*.csv"));
    if (path.isEmpty())
        return;
    MemoryImage file; // saved whole and atomically, like a .Mem
    file.write(exportSlotCsv(image));
    QString error;
    if (!file.saveToFile(path, &error))
        dialogs().information(error);
    else
        showStatus(QStringLiteral("Exported to %1").arg(QDir::toNativeSeparators(path)));
}

void MemoryEditorActions::importCsv() {
    const QByteArray image = currentImage();
    const QString path =
        dialogs().openFile(QStringLiteral("*.csv"), QStringLiteral("CSV file *.csv|*.csv"));
    if (path.isEmpty())
        return;
    const FileContents csv = readRegularFile(path, kMaxSlotCsvSize);
    if (!csv.ok()) {
        dialogs().information(QStringLiteral("Cannot open file \"%1\". %2")
                                  .arg(QDir::toNativeSeparators(path), csv.error));
        return;
    }
    const SlotCsvImport result = importSlotCsv(csv.bytes, image);
    if (!result.ok()) {
        dialogs().information(QFileInfo(path).fileName() + QStringLiteral(": ") + result.error);
        return;
    }
    applyEdit(QStringLiteral("Import CSV"), result.image);
    showStatus(QStringLiteral("Imported %1").arg(QDir::toNativeSeparators(path)));
}

// ----------------------------------------------------------------- edit

void MemoryEditorActions::undo() {
    m_editor.page()->commitEdits();
    m_undo->undo();
}

void MemoryEditorActions::redo() {
    m_editor.page()->commitEdits();
    m_undo->redo();
}

QList<int> MemoryEditorActions::selectedSlots() const {
    QList<int> rows;
    for (const QModelIndex &i : m_grid->selectionModel()->selectedIndexes())
        if (i.row() >= 1 && i.row() <= kSlotCount && !rows.contains(i.row()))
            rows << i.row();
    const int current = m_grid->currentRow();
    if (rows.isEmpty() && current >= 1 && current <= kSlotCount)
        rows << current;
    std::sort(rows.begin(), rows.end());
    return rows;
}

void MemoryEditorActions::selectSlots(int first, int count) {
    QItemSelectionModel *sel = m_grid->selectionModel();
    const QModelIndex top = m_grid->model()->index(first, ColName);
    const QModelIndex bottom = m_grid->model()->index(first + count - 1, SlotColumnCount - 1);
    const int column = qMax(int(ColName), m_grid->currentColumn());
    // The current cell moves with the slots; no cell is stored by it, as
    // every edit was stored before the change.
    m_grid->setCurrentCell(first, column, QItemSelectionModel::NoUpdate);
    sel->select(QItemSelection(top, bottom), QItemSelectionModel::ClearAndSelect);
}

void MemoryEditorActions::copySlots() {
    const QList<int> chosen = selectedSlots();
    if (chosen.isEmpty())
        return;
    m_clipboard = lmk::copySlots(currentImage(), chosen);
    updateActions();
    showStatus(QStringLiteral("%1 slot(s) copied").arg(chosen.size()));
}

void MemoryEditorActions::cutSlots() {
    const QList<int> chosen = selectedSlots();
    if (chosen.isEmpty())
        return;
    const QByteArray image = currentImage();
    m_clipboard = lmk::copySlots(image, chosen);
    updateActions();
    applyEdit(QStringLiteral("Cut"), lmk::clearSlots(image, chosen));
    showStatus(QStringLiteral("%1 slot(s) cut").arg(chosen.size()));
}

void MemoryEditorActions::pasteSlots() {
    const QList<int> chosen = selectedSlots();
    if (chosen.isEmpty() || m_clipboard.isEmpty())
        return;
    const SlotPaste p = lmk::pasteSlots(currentImage(), chosen.first(), m_clipboard);
    applyEdit(QStringLiteral("Paste"), p.image);
    selectSlots(chosen.first(), p.pasted);
    if (p.dropped > 0) {
        showStatus(p.message());
        dialogs().information(p.message());
    } else {
        showStatus(QStringLiteral("%1 slot(s) pasted").arg(p.pasted));
    }
}

void MemoryEditorActions::clearSlots() {
    const QList<int> chosen = selectedSlots();
    if (chosen.isEmpty())
        return;
    applyEdit(QStringLiteral("Clear"), lmk::clearSlots(currentImage(), chosen));
}

void MemoryEditorActions::moveBy(int step) {
    const QList<int> chosen = selectedSlots();
    const std::optional<QByteArray> moved = moveSlots(currentImage(), chosen, step);
    if (!moved)
        return; // the first or last slot is among them
    applyEdit(step < 0 ? QStringLiteral("Move Up") : QStringLiteral("Move Down"), *moved);
    QItemSelection selection;
    for (int s : chosen)
        selection.select(m_grid->model()->index(s + step, ColName),
                         m_grid->model()->index(s + step, SlotColumnCount - 1));
    m_grid->setCurrentCell(m_grid->currentRow() + step, qMax(int(ColName), m_grid->currentColumn()),
                           QItemSelectionModel::NoUpdate);
    m_grid->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void MemoryEditorActions::moveUp() {
    moveBy(-1);
}

void MemoryEditorActions::moveDown() {
    moveBy(1);
}

// ------------------------------------------------------ receiver checks

void MemoryEditorActions::compareWithReceiver() {
    m_editor.page()->commitEdits();
    showStatus(QStringLiteral("Reading the receiver's slots…"));
    const ReceiverSlots read = readReceiverSlots(m_session.memorySlots(), m_session.image().data());
    if (!read.ok()) {
        const QString text = QStringLiteral("The receiver's slots could not be read: %1").arg(read.error);
        showStatus(text);
        dialogs().information(text);
        return;
    }
    m_receiver = read.image;
    m_receiverPartial = read.partial;
    showDifferences();
}

void MemoryEditorActions::showDifferences() {
    QList<int> marked;
    QHash<int, QString> why;
    if (!m_receiver.isEmpty()) {
        const SlotImageDiff d = diffSlotImages(m_session.image().data(), m_receiver);
        for (const SlotDifference &s : d.differing) {
            marked << s.slot;
            why.insert(s.slot, slotDifferenceText(s, QStringLiteral("the image"),
                                                  QStringLiteral("the receiver")));
        }
    }
    for (int row = 1; row <= kSlotCount; ++row) {
        const bool differs = marked.contains(row);
        if (!differs && !m_marked.contains(row))
            continue;
        for (int c = ColName; c < SlotColumnCount; ++c) {
            if (QTableWidgetItem *item = m_editor.page()->cell(row, c)) {
                item->setBackground(differs ? QBrush(kDiffering) : QBrush());
                item->setToolTip(differs ? why.value(row) : QString());
            }
        }
    }
    m_marked = marked;
    if (m_receiver.isEmpty())
        return;
    QStringList numbers;
    for (int s : marked)
        numbers << QString::number(s);
    QString text = marked.isEmpty() ? QStringLiteral("The image equals the receiver's slots.")
                                    : QStringLiteral("Slots that differ from the receiver: %1")
                                          .arg(numbers.join(QStringLiteral(", ")));
    if (m_receiverPartial)
        text += QStringLiteral(" (the receiver sent 248 bytes of each record; the last 8 were not "
                               "compared)");
    showStatus(text);
}

bool MemoryEditorActions::backupBeforeSending() {
    MemorySlots &store = m_session.memorySlots();
    // Without a connection, or while another transfer runs, the operation
    // itself does nothing.
    if (!store.link().hasTransport() || store.operationRunning)
        return true;
    showStatus(QStringLiteral("Reading the receiver's slots for a backup…"));
    const SlotBackupResult b = backupReceiverSlots(store, SlotBackupStore());
    if (b.ok()) {
        showStatus(QStringLiteral("Backup of the receiver's slots: %1%2")
                       .arg(QDir::toNativeSeparators(b.path),
                            b.note.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(b.note)));
        return true;
    }
    showStatus(b.error);
    return dialogs().confirmYesNo(
        b.error + QStringLiteral(".\n\nWrite to the receiver anyway, without a backup?"));
}

} // namespace lmk
