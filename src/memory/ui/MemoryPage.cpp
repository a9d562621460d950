#include "memory/ui/MemoryPage.h"

#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

namespace lmk {

namespace {
constexpr auto kEditOn = QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                         QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;

// SG_Speicher: a table whose open in-place editor can be committed from
// outside (File, Save keeps the focus in the grid).
class SlotGrid : public QTableWidget {
  public:
    using QTableWidget::QTableWidget;
    void commitOpenEditor() {
        if (state() != QAbstractItemView::EditingState)
            return;
        if (QWidget *editor = indexWidget(currentIndex())) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
};
} // namespace

MemoryPage::MemoryPage(DeviceLink &link, QWidget *parent)
    : QWidget(parent), m_link(link), m_slots(new MemorySlots(link, this)) {
    setObjectName(QStringLiteral("TS_Speicher"));
    buildControls();
    connect(m_slots, &MemorySlots::recordStored, this, &MemoryPage::onRecordStored);
    m_focusWatch =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old, QWidget *now) {
            const auto inGrid = [this](QWidget *w) {
                return w && (w == SG_Speicher || SG_Speicher->isAncestorOf(w));
            };
            if (inGrid(old) && !inGrid(now))
                SG_SpeicherExit();
        });
}

// The grid may lose the focus while the base class deletes the children;
// this page is gone by then.
MemoryPage::~MemoryPage() {
    disconnect(m_focusWatch);
}

void MemoryPage::buildControls() {
    SG_Speicher = new SlotGrid(kSlotGridRows, SlotColumnCount, this);
    SG_Speicher->setObjectName(QStringLiteral("SG_Speicher"));
    SG_Speicher->setAccessibleName(QStringLiteral("Speicherplätze"));
    SG_Speicher->setGeometry(8, 8, 801, 489);
    // Row 0 and column 0 are the grid's fixed cells, so cell (col, row)
    // is the slot grid's own coordinate.
    SG_Speicher->horizontalHeader()->hide();
    SG_Speicher->verticalHeader()->hide();
    SG_Speicher->horizontalHeader()->setDefaultSectionSize(40);
    SG_Speicher->verticalHeader()->setDefaultSectionSize(20);
    SG_Speicher->verticalHeader()->setMinimumSectionSize(1);
    const auto widths = slotGridColumnWidths();
    for (int c = 0; c < SlotColumnCount; ++c)
        SG_Speicher->setColumnWidth(c, widths[size_t(c)]);
    SG_Speicher->setShowGrid(true);
    SG_Speicher->setSelectionMode(QAbstractItemView::SingleSelection);
    SG_Speicher->setSelectionBehavior(QAbstractItemView::SelectItems);
    SG_Speicher->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    SG_Speicher->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    SG_Speicher->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SG_Speicher->setWordWrap(false);
    SG_Speicher->setTextElideMode(Qt::ElideNone); // a narrow column clips its text
    const QBrush fixedBack = palette().brush(QPalette::Button);
    const QBrush fixedText = palette().brush(QPalette::ButtonText);
    for (int r = 0; r < kSlotGridRows; ++r) {
        for (int c = 0; c < SlotColumnCount; ++c) {
            auto *item = new QTableWidgetItem;
            if (r == 0 || c == 0) {
                item->setFlags(Qt::NoItemFlags);
                item->setBackground(fixedBack);
                item->setForeground(fixedText);
            }
            SG_Speicher->setItem(r, c, item);
        }
    }
    connect(SG_Speicher, &QTableWidget::currentCellChanged, this,
            [this](int row, int col, int, int) { SG_SpeicherSelectCell(col, row); });

    auto *label11 = new QLabel(QStringLiteral("Datei:"), this);
    label11->setObjectName(QStringLiteral("Label11"));
    label11->move(824, 48);
    LB_Speicher = new QListWidget(this);
    LB_Speicher->setObjectName(QStringLiteral("LB_Speicher"));
    LB_Speicher->setGeometry(824, 72, 137, 18);
    LB_Speicher->addItem(QStringLiteral("keine"));
    // Item views take no name from a buddy label: both.
    label11->setBuddy(LB_Speicher);
    LB_Speicher->setAccessibleName(label11->text());

    auto *label10 = new QLabel(QStringLiteral("Speicherplätze:"), this);
    label10->setObjectName(QStringLiteral("Label10"));
    label10->move(832, 296);
    B_Laden = new QPushButton(QStringLiteral("Laden vom LMK54"), this);
    B_Laden->setObjectName(QStringLiteral("B_Laden"));
    B_Laden->setGeometry(832, 320, 129, 25);
    auto *label12 = new QLabel(QStringLiteral("Bytes:"), this);
    label12->setObjectName(QStringLiteral("Label12"));
    label12->move(840, 360);
    L_SBytes = new QLabel(QStringLiteral("0"), this);
    L_SBytes->setObjectName(QStringLiteral("L_SBytes"));
    L_SBytes->setGeometry(880, 360, 100, 16);
    B_Speichern = new QPushButton(QStringLiteral("Speichern im LMK54"), this);
    B_Speichern->setObjectName(QStringLiteral("B_Speichern"));
    B_Speichern->setGeometry(832, 384, 129, 25);
    B_Speichern->setEnabled(false);
    B_Loeschen = new QPushButton(QStringLiteral("Alles Löschen"), this);
    B_Loeschen->setObjectName(QStringLiteral("B_Loeschen"));
    B_Loeschen->setGeometry(832, 456, 129, 25);

    connect(B_Laden, &QPushButton::clicked, this, [this] { B_LadenClick(); });
    connect(B_Speichern, &QPushButton::clicked, this, [this] { B_SpeichernClick(); });
    connect(B_Loeschen, &QPushButton::clicked, this, [this] { B_LoeschenClick(); });
}

QString MemoryPage::cellText(int row, int col) const {
    const QTableWidgetItem *item = SG_Speicher->item(row, col);
    return item ? item->text() : QString();
}

void MemoryPage::setCellText(int row, int col, const QString &text) {
    if (QTableWidgetItem *item = SG_Speicher->item(row, col))
        item->setText(text);
}

void MemoryPage::writeHeadings() {
    const QStringList headings = slotGridHeadings();
    for (int c = 0; c < SlotColumnCount; ++c)
        setCellText(0, c, headings.at(c));
    for (int r = 1; r < kSlotGridRows; ++r)
        setCellText(r, ColPlatz, QString::number(r));
}

void MemoryPage::ShowSlotRecord(const QByteArray &record, int row) {
    if (row < 1 || row > kSlotCount || record.size() < kSlotSize)
        return;
    const SlotRowTexts texts = slotRowTexts(record);
    for (int c = ColName; c < SlotColumnCount; ++c)
        if (texts[size_t(c)])
            setCellText(row, c, *texts[size_t(c)]);
}

void MemoryPage::clearRow(int row) {
    for (int c = ColName; c < SlotColumnCount; ++c)
        setCellText(row, c, QString());
}

void MemoryPage::onRecordStored(qint64 slot, const QByteArray &record) {
    if (slot >= 1 && slot <= kSlotCount)
        ShowSlotRecord(record, int(slot));
    L_SBytes->setText(slotBytesText(slot));
}

// ------------------------------------------------------------- editing

void MemoryPage::StoreSlotCell() {
    if (LastSelRow < 1 || LastSelRow > kSlotCount)
        return;
    if (LastSelCol == ColName) {
        const QString stored = m_slots->storeName(LastSelRow, cellText(LastSelRow, ColName));
        if (!stored.isEmpty())
            setCellText(LastSelRow, ColName, stored);
    } else if (LastSelCol == ColVersion) {
        m_slots->storeVersion(LastSelRow, cellText(LastSelRow, ColVersion));
    }
}

void MemoryPage::SG_SpeicherSelectCell(int aCol, int aRow) {
    StoreSlotCell();
    const bool editable = aCol == ColName || aCol == ColVersion;
    SG_Speicher->setEditTriggers(editable ? QAbstractItemView::EditTriggers(kEditOn)
                                          : QAbstractItemView::NoEditTriggers);
    LastSelCol = aCol;
    LastSelRow = aRow;
}

void MemoryPage::SG_SpeicherExit() {
    StoreSlotCell();
}

// ------------------------------------------------------------ transfer

void MemoryPage::setStatusItem(const QString &text) {
    LB_Speicher->clear();
    LB_Speicher->addItem(text);
}

void MemoryPage::setButtonsEnabled(bool on) {
    B_Laden->setEnabled(on);
    B_Speichern->setEnabled(on);
}

void MemoryPage::showOutcome(SlotTransferOperation::Kind kind,
                             SlotTransferOperation::Outcome outcome) {
    const QString text = SlotTransferOperation::outcomeText(kind, outcome);
    if (!text.isEmpty())
        dialogs().information(text);
}

void MemoryPage::B_LadenClick() { runTransfer(SlotTransferOperation::Kind::Read); }

void MemoryPage::B_SpeichernClick() { runTransfer(SlotTransferOperation::Kind::Write); }

void MemoryPage::B_LoeschenClick() {
    if (m_slots->operationRunning)
        return;
    if (!dialogs().confirmYesNo(QStringLiteral("Wirklich alle Speicherplätze im LMK54 löschen?")))
        return;
    runTransfer(SlotTransferOperation::Kind::Clear);
}

void MemoryPage::runTransfer(SlotTransferOperation::Kind kind) {
    using Kind = SlotTransferOperation::Kind;
    using Outcome = SlotTransferOperation::Outcome;
    const bool reading = kind == Kind::Read;
    SlotTransferOperation op(*m_slots);
    connect(&op, &SlotTransferOperation::started, this, [this, reading] {
        setButtonsEnabled(false);
        if (reading)
            setStatusItem(QStringLiteral("Try to read out..."));
        L_SBytes->setText(QStringLiteral("0"));
    });
    // A read counts its bytes as the records arrive; a write or clear per
    // acknowledged slot.
    if (!reading)
        connect(&op, &SlotTransferOperation::slotDone, this,
                [this](int s) { L_SBytes->setText(slotBytesText(s)); });
    const Outcome outcome = op.run(kind);
    if (outcome == Outcome::NoTransport || outcome == Outcome::Busy)
        return;
    setButtonsEnabled(true);
    if (reading && outcome == Outcome::Done)
        setStatusItem(QStringLiteral("Read from LMK54!"));
    showOutcome(kind, outcome);
}

// ---------------------------------------------------------------- files

void MemoryPage::openMemFile(const QString &path) {
    setStatusItem(QFileInfo(path).fileName());
    MemoryImage &image = m_slots->image();
    QString error;
    if (!image.loadFromFile(path, &error)) {
        dialogs().information(error);
        return;
    }
    image.setPosition(0);
    for (int row = 1; row <= kSlotCount; ++row) {
        const QByteArray record = image.read(kSlotSize);
        if (record.size() == kSlotSize)
            ShowSlotRecord(record, row);
        else
            clearRow(row); // the file holds no whole record for this slot
    }
    B_Speichern->setEnabled(true);
}

void MemoryPage::saveMemFile(const QString &path) {
    // A cell typed into since the last selection change goes into the file.
    static_cast<SlotGrid *>(SG_Speicher)->commitOpenEditor();
    StoreSlotCell();
    setStatusItem(QFileInfo(path).fileName());
    QString error;
    if (!m_slots->image().saveToFile(path, &error))
        dialogs().information(error);
}

} // namespace lmk
