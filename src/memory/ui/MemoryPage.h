#pragma once
// Page "Speicherplätze" (TS_Speicher): the 63 memory slots in the grid
// SG_Speicher, read, written and cleared in the receiver and kept in .Mem
// files. The page has no visible tab; its file commands come through the
// File menu. The memory editor window shows a second page over the same
// MemorySession, so both always show one image.

#include <QSet>
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace lmk {
class DeviceLink;
class MemorySession;
class MemorySlots;

class MemoryPage : public QWidget {
    Q_OBJECT
  public:
    // A page with a session of its own.
    MemoryPage(DeviceLink &link, QWidget *parent = nullptr);
    // A page over `session` (not owned), e.g. the editor window's.
    MemoryPage(MemorySession &session, QWidget *parent = nullptr);
    ~MemoryPage() override;

    // Start-up: headings of SG_Speicher and the slot numbers.
    void writeHeadings();
    // File, Open / File, Save while "USB Terminal" is shown.
    void openMemFile(const QString &path);
    void saveMemFile(const QString &path);

    void B_LadenClick();
    void B_SpeichernClick();
    void B_LoeschenClick();

    // Texts of columns 1..11 of `row` for a 256-byte record.
    void ShowSlotRecord(const QByteArray &record, int row);
    // Stores the Name or Version cell selected last into MemoryImage.
    void StoreSlotCell();
    void SG_SpeicherSelectCell(int aCol, int aRow);
    void SG_SpeicherExit();

    MemorySession &session() { return *m_session; }
    MemorySlots &memorySlots();
    QTableWidget *grid() const { return SG_Speicher; }
    // Cell (row, col) of SG_Speicher in the grid's own coordinates: row 0
    // holds the headings, column 0 the slot numbers (the table's headers).
    QTableWidgetItem *cell(int row, int col) const;
    QString cellText(int row, int col) const;
    // Commits a cell whose in-place editor is open and stores the cell
    // selected last, as the grid's focus loss does.
    void commitEdits();
    int LastSelCol = 0;
    int LastSelRow = 0;

  private:
    void init();
    void buildControls();
    // The session's state into the buttons, counter and file list.
    void showState();
    // Rows from the image: a slot the image holds whole is shown; a row
    // without one is emptied.
    void showAllRows();
    void showRowFromImage(int row);
    void clearRow(int row);
    void setCellText(int row, int col, const QString &text);
    void onItemChanged(int row, int col);

    MemorySession *m_session = nullptr;
    MemorySlots *m_slots = nullptr;
    QTableWidget *SG_Speicher = nullptr;
    QListWidget *LB_Speicher = nullptr;
    QPushButton *B_Laden = nullptr;
    QPushButton *B_Speichern = nullptr;
    QPushButton *B_Loeschen = nullptr;
    QLabel *L_SBytes = nullptr;
    QMetaObject::Connection m_focusWatch;
    // Cells whose text the user changed since they were last stored
    // (row * SlotColumnCount + column); set texts are not edits.
    QSet<int> m_edited;
    bool m_settingText = false;
    // The text of the cell selected last as it was when selected.
    QString m_textAtSelection;
};

} // namespace lmk
