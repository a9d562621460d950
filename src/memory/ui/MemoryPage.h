#pragma once
// Page "Speicherplätze" (TS_Speicher): the 63 memory slots in the grid
// SG_Speicher, read, written and cleared in the receiver and kept in .Mem
// files. The page has no visible tab; its file commands come through the
// File menu.

#include "memory/SlotTransferOperation.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace lmk {
class DeviceLink;
class MemorySlots;

class MemoryPage : public QWidget {
    Q_OBJECT
  public:
    MemoryPage(DeviceLink &link, QWidget *parent = nullptr);
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

    MemorySlots &memorySlots() { return *m_slots; }
    int LastSelCol = 0;
    int LastSelRow = 0;

  private:
    void buildControls();
    void setStatusItem(const QString &text);
    void setButtonsEnabled(bool on);
    // Runs one slot operation with the page's controls and shows its outcome.
    void runTransfer(SlotTransferOperation::Kind kind);
    void clearRow(int row);
    void showOutcome(SlotTransferOperation::Kind kind, SlotTransferOperation::Outcome outcome);
    void onRecordStored(qint64 slot, const QByteArray &record);
    QString cellText(int row, int col) const;
    void setCellText(int row, int col, const QString &text);

    DeviceLink &m_link;
    MemorySlots *m_slots = nullptr;
    QTableWidget *SG_Speicher = nullptr;
    QListWidget *LB_Speicher = nullptr;
    QPushButton *B_Laden = nullptr;
    QPushButton *B_Speichern = nullptr;
    QPushButton *B_Loeschen = nullptr;
    QLabel *L_SBytes = nullptr;
    QMetaObject::Connection m_focusWatch;
};

} // namespace lmk
