#pragma once
// What the memory editor window offers beyond the page it shows:
// - File: "Export CSV…" and "Import CSV…" (the CSV applied onto the image);
// - Edit: undo and redo of every change of the image, cut, copy, paste,
//   clear and move whole slots (rows), "Compare with receiver";
// - a backup of the receiver's slots before every write or clear started
//   from the editor; when that read fails, the user decides whether to
//   write anyway.
// The hidden page has none of this; its buttons and requests stay as they
// are.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QAction;
class QLabel;
class QMenu;
class QTableWidget;

namespace lmk {

class MemoryEditor;
class MemorySession;
class MemoryUndo;

class MemoryEditorActions : public QObject {
    Q_OBJECT
  public:
    explicit MemoryEditorActions(MemoryEditor &editor);

    MemoryUndo &undoStack() { return *m_undo; }
    QMenu *editMenu() const { return m_editMenu; }
    // The line below the grid: backups made, comparisons, pastes cut short.
    QString statusText() const;

    // A .Mem file into the image, as one step of the undo history.
    void openMemFile(const QString &path);
    // File, Export CSV… / Import CSV… (the file through the dialogs).
    void exportCsv();
    void importCsv();
    // Edit.
    void undo();
    void redo();
    void cutSlots();
    void copySlots();
    void pasteSlots();
    void clearSlots();
    void moveUp();
    void moveDown();
    void compareWithReceiver();

    // The slots (rows) selected in the grid, ascending; the current row when
    // no cell is selected.
    QList<int> selectedSlots() const;
    // Rows marked by the last comparison as differing from the receiver.
    QList<int> markedSlots() const { return m_marked; }

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
    void applyEdit(const QString &text, const QByteArray &image);
    void selectSlots(int first, int count);
    void showStatus(const QString &text);
    void moveBy(int step);
    // Marks the rows whose records differ from m_receiver (none without one).
    void showDifferences();

    MemoryEditor &m_editor;
    MemorySession &m_session;
    QTableWidget *m_grid;
    MemoryUndo *m_undo;
    QMenu *m_editMenu = nullptr;
    QLabel *m_status = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    QAction *m_pasteAction = nullptr;
    QList<QByteArray> m_clipboard;      // whole records, in slot order
    QByteArray m_receiver;              // the receiver's slots at the last comparison
    bool m_receiverPartial = false;     // it sent 248 bytes of each record
    QList<int> m_marked;
};

} // namespace lmk
