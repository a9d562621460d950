#pragma once
// What the memory editor window offers beyond the page it shows:
// - File: "Export CSV…", "Export CSV for Excel (German)…" and "Import
//   CSV…" (the CSV applied onto the image),
//   "Backups…" (a backup of the receiver's slots opened);
// - Edit: undo and redo of every change of the image; a spreadsheet
//   clipboard (cells copied as tab-separated text to the system clipboard,
//   a block of cells pasted, checked cell by cell, all or nothing); whole
//   slots cut, pasted and cleared when whole rows are selected; slots
//   inserted, deleted, moved and sorted; "Compare with receiver";
// - a backup of the receiver's slots before every write or clear started
//   from the editor; when that read fails, the user decides whether to
//   write anyway.
// Every change is one step on the model's undo stack. While a transfer
// runs, every action that would change the image is disabled.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QLabel;
class QMenu;
class QTableView;

namespace lmk {

class MemoryEditor;
class MemorySession;
class SlotTableModel;

class MemoryEditorActions : public QObject {
    Q_OBJECT
  public:
    explicit MemoryEditorActions(MemoryEditor &editor);

    QMenu *editMenu() const { return m_editMenu; }
    // The line below the grid: backups made, comparisons, refusals.
    QString statusText() const;

    // A .Mem file into the image, as one step of the undo history.
    void openMemFile(const QString &path);
    // File, Export CSV… / Import CSV… (the file through the dialogs).
    // `excelGerman`: ';', decimal comma and a byte order mark, for a
    // spreadsheet set to German ("Export CSV for Excel (German)…").
    void exportCsv(bool excelGerman = false);
    void importCsv();
    // File, Backups…: the receiver's backups, one opened as one undo step.
    void showBackups();
    // Edit.
    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    void clearSlots();
    void insertSlot();
    void deleteSlots();
    void moveUp();
    void moveDown();
    void sortByFrequency();
    void sortByName();
    void compareWithReceiver();

    // The slots (rows) that the selection touches, ascending; the current
    // row when no cell is selected.
    QList<int> selectedSlots() const;
    // The slots whose rows are selected whole (every column), ascending.
    QList<int> wholeSelectedSlots() const;
    // Rows marked by the last comparison as differing from the receiver.
    QList<int> markedSlots() const;

    // Before a write or clear from the editor: reads the receiver's slots
    // into a backup; true when the write may go on.
    bool backupBeforeSending();

  private:
    QAction *addAction(QMenu *menu, const QString &text, const char *name,
                       const QKeySequence &keys, void (MemoryEditorActions::*slot)());
    void buildMenus();
    void updateActions();
    // The image as the user sees it: a cell being typed into is stored first.
    QByteArray currentImage();
    bool applyEdit(const QString &text, const QByteArray &image);
    void selectSlots(int first, int count);
    void selectSlots(const QList<int> &chosen);
    void showStatus(const QString &text);
    void refuse(const QString &text);
    void moveBy(int step);
    void showComparison();

    MemoryEditor &m_editor;
    MemorySession &m_session;
    SlotTableModel &m_model;
    QTableView *m_grid;
    QMenu *m_editMenu = nullptr;
    QLabel *m_status = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    // Enabled only while no transfer runs.
    QList<QAction *> m_changing;
    bool m_receiverPartial = false; // it sent 248 bytes of each record
    bool m_showingActivity = false;  // the line says what runs
    QString m_statusBeforeActivity;
};

} // namespace lmk
