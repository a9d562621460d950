#pragma once
// Page "Speicherplätze" (TS_Speicher): the 63 memory slots in the grid
// SG_Speicher, read, written and cleared in the receiver and kept in .Mem
// files. The page has no visible tab; its file commands come through the
// File menu. The grid is a view of the session's SlotTableModel, which the
// memory editor window shows too, so both always show one image.

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QTableView;

#include <functional>

namespace lmk {
class DeviceLink;
class MemorySession;
class MemorySlots;
class SlotTableModel;

class MemoryPage : public QWidget {
    Q_OBJECT
  public:
    // A page with a session of its own.
    MemoryPage(DeviceLink &link, QWidget *parent = nullptr);
    // A page over `session` (not owned), e.g. the editor window's.
    MemoryPage(MemorySession &session, QWidget *parent = nullptr);

    // File, Open / File, Save while "USB Terminal" is shown. The open is
    // refused while a transfer runs.
    void openMemFile(const QString &path);
    void saveMemFile(const QString &path);
    // Before the image is replaced (a file opened, the slots read): true
    // when it has no unsaved changes or the user lets them go; false, with
    // a message, while a transfer runs.
    bool confirmReplacing(const QString &question);

    // What the buttons' write and clear do before they send (the editor's
    // backup); none on the hidden page.
    void setBeforeSending(std::function<bool()> f) { m_beforeSending = std::move(f); }
    // The write reads the slots back and compares them (the editor's).
    void setVerifyWrites(bool verify) { m_verifyWrites = verify; }

    void B_LadenClick();
    void B_SpeichernClick();
    void B_LoeschenClick();

    MemorySession &session() { return *m_session; }
    MemorySlots &memorySlots();
    SlotTableModel &model() { return *m_model; }
    QTableView *grid() const { return SG_Speicher; }
    // The grid's text at (row, col) in the grid's own coordinates: row 0
    // holds the headings, column 0 the slot numbers.
    QString cellText(int row, int col) const;
    // Commits a cell whose in-place editor is open, as the grid's focus
    // loss does.
    void commitEdits();
    // The grid takes the room the page gets beyond its first size, and the
    // controls beside it keep their place at its right edge (the editor
    // window; the hidden page keeps its fixed layout).
    void setGrowsWithWindow(bool grows);

  protected:
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;

  private:
    void init();
    void buildControls();
    // The session's state into the buttons, counter and file list.
    void showState();
    // Every column at least as wide as its widest text.
    void fitColumns();

    MemorySession *m_session = nullptr;
    SlotTableModel *m_model = nullptr;
    std::function<bool()> m_beforeSending;
    bool m_verifyWrites = false;
    QTableView *SG_Speicher = nullptr;
    QListWidget *LB_Speicher = nullptr;
    QPushButton *B_Laden = nullptr;
    QPushButton *B_Speichern = nullptr;
    QPushButton *B_Loeschen = nullptr;
    QLabel *L_SBytes = nullptr;
    QList<QWidget *> m_besideGrid; // moved with the grid's right edge
    QList<QPoint> m_besideGridHome;
    bool m_grows = false;
};

} // namespace lmk
