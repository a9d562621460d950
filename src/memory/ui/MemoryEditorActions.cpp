#include "memory/ui/MemoryEditorActions.h"

#include "files/UserFiles.h"
#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "memory/MemoryImage.h"
#include "memory/MemorySession.h"
#include "memory/MemorySlots.h"
#include "memory/SlotBackups.h"
#include "memory/SlotCsv.h"
#include "memory/SlotEdits.h"
#include "memory/SlotRecord.h"
#include "memory/ui/MemoryEditor.h"
#include "memory/ui/FrequencyListDialog.h"
#include "memory/ui/MemoryPage.h"
#include "memory/ui/SlotBackupsDialog.h"
#include "memory/ui/SlotTableModel.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTableView>

#include <algorithm>

namespace lmk {

namespace {
// Whole slots on the clipboard beside their text: the 256 bytes of each,
// opaque bytes included, in slot order.
const QString kSlotsMime = QStringLiteral("application/x-lmk-slot-records");
} // namespace

MemoryEditorActions::MemoryEditorActions(MemoryEditor &editor)
    : QObject(&editor), m_editor(editor), m_session(editor.session()),
      m_model(editor.page()->model()), m_grid(editor.page()->grid()) {
    setObjectName(QStringLiteral("memoryEditorActions"));
    // Cells and whole rows can be selected: a click on a slot number
    // selects its row.
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(m_grid, &QAbstractItemView::pressed, this, [this](const QModelIndex &i) {
        if (i.column() == ColPlatz)
            m_grid->selectionModel()->select(
                i, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    });

    m_status = new QLabel(&editor);
    m_status->setObjectName(QStringLiteral("L_EditorStatus"));
    // Its name is its text, so that a screen reader reads what it says.
    m_status->setAccessibleName(QStringLiteral("Memory editor status"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    editor.statusBar()->addWidget(m_status, 1);

    buildMenus();
    connect(&m_model.undoStack(), &QUndoStack::indexChanged, this, &MemoryEditorActions::updateActions);
    connect(&m_model, &SlotTableModel::lockedChanged, this, &MemoryEditorActions::updateActions);
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MemoryEditorActions::updateActions);
    connect(&m_model, &SlotTableModel::comparisonChanged, this,
            &MemoryEditorActions::showComparison);
    // The status line says what runs while a transfer runs.
    // When it has ended, the line says again what it said before.
    connect(&m_session, &MemorySession::stateChanged, this, [this] {
        const QString activity = m_session.activity();
        if (!activity.isEmpty() && !m_showingActivity) {
            m_statusBeforeActivity = statusText();
            m_showingActivity = true;
        }
        if (!activity.isEmpty() && activity != statusText()) {
            showStatus(activity);
        } else if (activity.isEmpty() && m_showingActivity) {
            m_showingActivity = false;
            const QString result = m_session.resultText();
            showStatus(result.isEmpty() ? m_statusBeforeActivity
                       : m_statusBeforeActivity.isEmpty()
                           ? result
                           : m_statusBeforeActivity + QStringLiteral("; ") + result);
        }
    });
    editor.page()->setBeforeSending([this] { return backupBeforeSending(); });
    editor.page()->setVerifyWrites(true);
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
    connect(csvExport, &QAction::triggered, this, [this] { exportCsv(); });
    auto *csvExportDe = new QAction(QStringLiteral("Export CSV for E&xcel (German)…"), file);
    csvExportDe->setObjectName(QStringLiteral("actionExportCsvExcelDe"));
    connect(csvExportDe, &QAction::triggered, this, [this] { exportCsv(true); });
    auto *csvImport = new QAction(QStringLiteral("&Import CSV…"), file);
    csvImport->setObjectName(QStringLiteral("actionImportCsv"));
    connect(csvImport, &QAction::triggered, this, &MemoryEditorActions::importCsv);
    auto *backups = new QAction(QStringLiteral("&Backups…"), file);
    backups->setObjectName(QStringLiteral("actionBackups"));
    connect(backups, &QAction::triggered, this, &MemoryEditorActions::showBackups);
    auto *listImport = new QAction(QStringLiteral("Import &Frequency List…"), file);
    listImport->setObjectName(QStringLiteral("actionImportFrequencyList"));
    connect(listImport, &QAction::triggered, this,
            [this] { openFrequencyListImport(m_editor, [this](const QString &t) { showStatus(t); }); });
    auto *listExport = new QAction(QStringLiteral("Export Frequency &List…"), file);
    listExport->setObjectName(QStringLiteral("actionExportFrequencyList"));
    connect(listExport, &QAction::triggered, this, [this] {
        if (const QString t = exportFrequencyListFile(m_editor); !t.isEmpty())
            showStatus(t);
    });
    m_changing << listImport;
    file->insertActions(close, {csvExport, csvExportDe, csvImport, listImport, listExport, backups});
    file->insertSeparator(close);
    m_changing << m_editor.openAction() << csvImport << backups;

    m_editMenu = new QMenu(QStringLiteral("&Edit"), &m_editor);
    m_editMenu->setObjectName(QStringLiteral("menuEdit"));
    m_editor.menuBar()->addMenu(m_editMenu);
    m_undoAction = addAction(m_editMenu, QStringLiteral("&Undo"), "actionUndo",
                             QKeySequence(Qt::CTRL | Qt::Key_Z), &MemoryEditorActions::undo);
    m_redoAction = addAction(m_editMenu, QStringLiteral("&Redo"), "actionRedo",
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                             &MemoryEditorActions::redo);
    m_editMenu->addSeparator();
    m_changing << addAction(m_editMenu, QStringLiteral("Cu&t"), "actionCut", QKeySequence::Cut,
                            &MemoryEditorActions::cut);
    addAction(m_editMenu, QStringLiteral("&Copy"), "actionCopy", QKeySequence::Copy,
              &MemoryEditorActions::copy);
    m_changing << addAction(m_editMenu, QStringLiteral("&Paste"), "actionPaste",
                            QKeySequence::Paste, &MemoryEditorActions::paste);
    m_changing << addAction(m_editMenu, QStringLiteral("Cl&ear Slots"), "actionClearSlots",
                            QKeySequence::Delete, &MemoryEditorActions::clearSlots);
    m_editMenu->addSeparator();
    m_changing << addAction(m_editMenu, QStringLiteral("&Insert Empty Slot"), "actionInsertSlot",
                            QKeySequence(Qt::CTRL | Qt::Key_Insert),
                            &MemoryEditorActions::insertSlot);
    m_changing << addAction(m_editMenu, QStringLiteral("&Delete Slots"), "actionDeleteSlots",
                            QKeySequence(Qt::CTRL | Qt::Key_Delete),
                            &MemoryEditorActions::deleteSlots);
    m_changing << addAction(m_editMenu, QStringLiteral("&Move Up"), "actionMoveUp",
                            QKeySequence(Qt::ALT | Qt::Key_Up), &MemoryEditorActions::moveUp);
    m_changing << addAction(m_editMenu, QStringLiteral("Move Do&wn"), "actionMoveDown",
                            QKeySequence(Qt::ALT | Qt::Key_Down), &MemoryEditorActions::moveDown);
    m_changing << addAction(m_editMenu, QStringLiteral("Sort by &Frequency"),
                            "actionSortByFrequency", {}, &MemoryEditorActions::sortByFrequency);
    m_changing << addAction(m_editMenu, QStringLiteral("Sort by &Name"), "actionSortByName", {},
                            &MemoryEditorActions::sortByName);
    m_editMenu->addSeparator();
    m_changing << addAction(m_editMenu, QStringLiteral("Compare with Recei&ver"),
                            "actionCompare", {}, &MemoryEditorActions::compareWithReceiver);
}

void MemoryEditorActions::updateActions() {
    const QUndoStack &h = m_model.undoStack();
    const bool locked = m_model.locked();
    m_undoAction->setEnabled(!locked && h.canUndo());
    m_undoAction->setText(h.canUndo() ? QStringLiteral("&Undo %1").arg(h.undoText())
                                      : QStringLiteral("&Undo"));
    m_redoAction->setEnabled(!locked && h.canRedo());
    m_redoAction->setText(h.canRedo() ? QStringLiteral("&Redo %1").arg(h.redoText())
                                      : QStringLiteral("&Redo"));
    for (QAction *a : std::as_const(m_changing))
        a->setEnabled(!locked);
}

QString MemoryEditorActions::statusText() const {
    return m_status->text();
}

void MemoryEditorActions::showStatus(const QString &text) {
    m_status->setText(text);
    m_status->setAccessibleName(text.isEmpty() ? QStringLiteral("Memory editor status") : text);
    QAccessibleEvent changed(m_status, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void MemoryEditorActions::refuse(const QString &text) {
    showStatus(text);
    dialogs().information(text);
}

QByteArray MemoryEditorActions::currentImage() {
    m_editor.page()->commitEdits();
    return m_session.image().data();
}

bool MemoryEditorActions::applyEdit(const QString &text, const QByteArray &image) {
    if (m_model.applyImage(text, image))
        return true;
    refuse(QStringLiteral("The memory slots are being transferred; nothing was changed."));
    return false;
}

// ---------------------------------------------------------------- files

void MemoryEditorActions::openMemFile(const QString &path) {
    m_editor.page()->openMemFile(path);
}

void MemoryEditorActions::showBackups() {
    m_editor.page()->commitEdits();
    auto *dialog = new SlotBackupsDialog(m_model, SlotBackupStore::defaultDirectory(), &m_editor);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open(); // window-modal; a choice is one undo step
}

// ------------------------------------------------------------------ CSV

void MemoryEditorActions::exportCsv(bool excelGerman) {
    const QByteArray image = currentImage();
    const QString path =
        dialogs().saveFile(QStringLiteral("*.csv"), QStringLiteral("CSV file *.csv|*.csv"));
    if (path.isEmpty())
        return;
    MemoryImage file; // saved whole and atomically, like a .Mem
    file.write(exportSlotCsv(image, excelGerman ? SlotCsvDialect::ExcelGerman
                                                : SlotCsvDialect::Plain));
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
    if (!applyEdit(QStringLiteral("Import CSV"), result.image))
        return;
    // How the file was read (its encoding, columns ignored) goes with it.
    QStringList status{QStringLiteral("Imported %1").arg(QDir::toNativeSeparators(path))};
    status << result.notes;
    showStatus(status.join(QStringLiteral("; ")));
}

// ----------------------------------------------------------------- edit

void MemoryEditorActions::undo() {
    m_editor.page()->commitEdits();
    m_model.undo();
}

void MemoryEditorActions::redo() {
    m_editor.page()->commitEdits();
    m_model.redo();
}

QList<int> MemoryEditorActions::selectedSlots() const {
    QList<int> rows;
    for (const QModelIndex &i : m_grid->selectionModel()->selectedIndexes())
        if (!rows.contains(SlotTableModel::slotOf(i)))
            rows << SlotTableModel::slotOf(i);
    const QModelIndex current = m_grid->currentIndex();
    if (rows.isEmpty() && current.isValid())
        rows << SlotTableModel::slotOf(current);
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<int> MemoryEditorActions::wholeSelectedSlots() const {
    QList<int> rows;
    const QItemSelectionModel *sel = m_grid->selectionModel();
    for (int s : selectedSlots()) {
        bool whole = true;
        for (int c = ColName; c < SlotColumnCount && whole; ++c)
            whole = sel->isSelected(m_model.indexOf(s, c));
        if (whole)
            rows << s;
    }
    return rows;
}

QList<int> MemoryEditorActions::markedSlots() const {
    return m_model.differingSlots();
}

void MemoryEditorActions::selectSlots(int first, int count) {
    QList<int> chosen;
    for (int s = first; s < first + count && s <= kSlotCount; ++s)
        chosen << s;
    selectSlots(chosen);
}

void MemoryEditorActions::selectSlots(const QList<int> &chosen) {
    if (chosen.isEmpty())
        return;
    QItemSelection selection;
    for (int s : chosen)
        selection.select(m_model.indexOf(s, ColPlatz), m_model.indexOf(s, SlotColumnCount - 1));
    const int column = qMax(int(ColName), m_grid->currentIndex().column());
    m_grid->selectionModel()->setCurrentIndex(m_model.indexOf(chosen.first(), column),
                                              QItemSelectionModel::NoUpdate);
    m_grid->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void MemoryEditorActions::copy() {
    m_editor.page()->commitEdits();
    const QModelIndexList chosen = m_grid->selectionModel()->selectedIndexes();
    QModelIndexList cells = chosen;
    if (cells.isEmpty() && m_grid->currentIndex().isValid())
        cells << m_grid->currentIndex();
    if (cells.isEmpty())
        return;
    // The block from the top left to the bottom right selected cell; cells
    // inside it that are not selected travel as empty texts.
    int top = kSlotCount, bottom = 1, left = SlotColumnCount, right = 0;
    for (const QModelIndex &i : cells) {
        top = qMin(top, SlotTableModel::slotOf(i));
        bottom = qMax(bottom, SlotTableModel::slotOf(i));
        left = qMin(left, i.column());
        right = qMax(right, i.column());
    }
    QList<QStringList> rows;
    for (int s = top; s <= bottom; ++s) {
        QStringList texts;
        for (int c = left; c <= right; ++c)
            texts << (cells.contains(m_model.indexOf(s, c)) ? m_model.cellText(s, c) : QString());
        rows << texts;
    }
    auto *mime = new QMimeData;
    // Quoted where a spreadsheet needs it (a name with a tab).
    mime->setText(clipboardCellsText(rows));
    const QList<int> whole = wholeSelectedSlots();
    if (!whole.isEmpty() && whole == selectedSlots()) {
        QByteArray records;
        for (const QByteArray &r : lmk::copySlots(m_session.image().data(), whole))
            records += r;
        mime->setData(kSlotsMime, records);
        showStatus(QStringLiteral("%1 slot(s) copied").arg(whole.size()));
    } else {
        showStatus(QStringLiteral("%1 cell(s) copied").arg(cells.size()));
    }
    QGuiApplication::clipboard()->setMimeData(mime);
}

void MemoryEditorActions::cut() {
    const QList<int> whole = wholeSelectedSlots();
    if (whole.isEmpty() || whole != selectedSlots()) {
        showStatus(QStringLiteral("Only whole slots can be cut: select their rows by the slot "
                                  "numbers. Nothing was changed."));
        return;
    }
    copy();
    if (applyEdit(QStringLiteral("Cut"), lmk::clearSlots(currentImage(), whole)))
        showStatus(QStringLiteral("%1 slot(s) cut").arg(whole.size()));
}

void MemoryEditorActions::paste() {
    const QByteArray image = currentImage();
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    if (!mime)
        return;
    const QModelIndex current = m_grid->currentIndex();
    const QList<int> whole = wholeSelectedSlots();
    const bool slotsOnClipboard = mime->hasFormat(kSlotsMime);
    if (slotsOnClipboard && (!whole.isEmpty() || current.column() == ColPlatz)) {
        const QByteArray bytes = mime->data(kSlotsMime);
        QList<QByteArray> records;
        for (qsizetype at = 0; at + kSlotSize <= bytes.size(); at += kSlotSize)
            records << bytes.mid(at, kSlotSize);
        const int first = whole.isEmpty() ? SlotTableModel::slotOf(current) : whole.first();
        const SlotPaste p = lmk::pasteSlots(image, first, records);
        if (!applyEdit(QStringLiteral("Paste Slots"), p.image))
            return;
        selectSlots(first, p.pasted);
        if (p.dropped > 0)
            refuse(p.message());
        else
            showStatus(QStringLiteral("%1 slot(s) pasted").arg(p.pasted));
        return;
    }
    if (!current.isValid() || !mime->hasText())
        return;
    // As spreadsheets write it: quoted cells, doubled quotes, tabs and line
    // breaks inside quotes.
    const QList<QStringList> rows = parseClipboardCells(mime->text());
    if (rows.isEmpty())
        return;
    // Cells copied with their row's slot number land on the row's own
    // columns.
    int column = current.column();
    if (column == ColName && !rows.isEmpty() && rows.first().size() == SlotColumnCount)
        column = ColPlatz;
    const QString refusal = m_model.pasteCells(SlotTableModel::slotOf(current), column, rows);
    if (!refusal.isEmpty()) {
        refuse(refusal);
        return;
    }
    showStatus(QStringLiteral("Pasted %1 row(s) of cells").arg(rows.size()));
}

void MemoryEditorActions::clearSlots() {
    const QList<int> whole = wholeSelectedSlots();
    if (whole.isEmpty() || whole != selectedSlots()) {
        showStatus(QStringLiteral("Only whole slots can be cleared: select their rows by the "
                                  "slot numbers. Nothing was changed."));
        return;
    }
    applyEdit(QStringLiteral("Clear Slots"), lmk::clearSlots(currentImage(), whole));
}

void MemoryEditorActions::insertSlot() {
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return;
    const int at = SlotTableModel::slotOf(current);
    const QByteArray image = currentImage();
    if (!slotIsEmpty(wholeSlotImage(image), kSlotCount) &&
        !dialogs().confirmYesNo(QStringLiteral("Slot 63 is not empty and falls off the end when "
                                               "an empty slot is inserted at slot %1. Insert "
                                               "anyway?")
                                    .arg(at)))
        return;
    if (applyEdit(QStringLiteral("Insert Slot %1").arg(at), insertEmptySlot(image, at)))
        selectSlots(at, 1);
}

void MemoryEditorActions::deleteSlots() {
    QList<int> chosen = wholeSelectedSlots();
    if (chosen.isEmpty() && m_grid->currentIndex().isValid())
        chosen << SlotTableModel::slotOf(m_grid->currentIndex());
    if (chosen.isEmpty())
        return;
    if (applyEdit(chosen.size() == 1 ? QStringLiteral("Delete Slot %1").arg(chosen.first())
                                     : QStringLiteral("Delete %1 Slots").arg(chosen.size()),
                  lmk::deleteSlots(currentImage(), chosen)))
        selectSlots(chosen.first(), 1);
}

void MemoryEditorActions::moveBy(int step) {
    const QList<int> chosen = selectedSlots();
    const std::optional<QByteArray> moved = moveSlots(currentImage(), chosen, step);
    if (!moved)
        return; // the first or last slot is among them
    if (!applyEdit(step < 0 ? QStringLiteral("Move Up") : QStringLiteral("Move Down"), *moved))
        return;
    QList<int> now;
    for (int s : chosen)
        now << s + step;
    selectSlots(now);
}

void MemoryEditorActions::moveUp() {
    moveBy(-1);
}

void MemoryEditorActions::moveDown() {
    moveBy(1);
}

void MemoryEditorActions::sortByFrequency() {
    const QList<int> chosen = selectedSlots();
    if (chosen.size() < 2) {
        showStatus(QStringLiteral("Select the slots to sort."));
        return;
    }
    applyEdit(QStringLiteral("Sort by Frequency"),
              sortSlots(currentImage(), chosen, SlotSortKey::Frequency));
}

void MemoryEditorActions::sortByName() {
    const QList<int> chosen = selectedSlots();
    if (chosen.size() < 2) {
        showStatus(QStringLiteral("Select the slots to sort."));
        return;
    }
    applyEdit(QStringLiteral("Sort by Name"), sortSlots(currentImage(), chosen, SlotSortKey::Name));
}

// ------------------------------------------------------ receiver checks

void MemoryEditorActions::compareWithReceiver() {
    m_editor.page()->commitEdits();
    showStatus(QStringLiteral("Reading the receiver's slots…"));
    const ReceiverSlots read = readReceiverSlots(m_session.memorySlots(), m_session.image().data());
    if (!read.ok()) {
        refuse(QStringLiteral("The receiver's slots could not be read: %1").arg(read.error));
        return;
    }
    m_receiverPartial = read.partial;
    m_session.noteShortReplies(read.partial);
    m_model.setComparison(read.image);
}

void MemoryEditorActions::showComparison() {
    if (!m_model.hasComparison())
        return;
    const QList<int> marked = m_model.differingSlots();
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
        m_session.noteShortReplies(b.partial);
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
