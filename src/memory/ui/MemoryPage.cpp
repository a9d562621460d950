#include "memory/ui/MemoryPage.h"

#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "memory/MemoryImage.h"
#include "memory/MemorySession.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QTableWidget>

namespace lmk {

namespace {
constexpr auto kEditOn = QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                         QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;

// SG_Speicher: a table whose open in-place editor can be committed from
// outside (File, Save keeps the focus in the grid).
//
// The fixed row 0 (headings) and column 0 (slot numbers) are the table's
// real headers, so they stay in view while the cells scroll. Row 0 and
// column 0 of the table exist but are hidden, so cell (row, col) is the slot
// grid's own coordinate; the heading of column 0 is in the corner.
class SlotGrid : public QTableWidget {
  public:
    SlotGrid(int rows, int cols, QWidget *parent) : QTableWidget(rows, cols, parent) {
        setCornerButtonEnabled(false);
        if (auto *corner = findChild<QAbstractButton *>())
            corner->installEventFilter(this);
    }
    void setCornerText(const QString &text) {
        m_cornerText = text;
        if (auto *corner = findChild<QAbstractButton *>())
            corner->update();
    }
    QString cornerText() const { return m_cornerText; }

    void commitOpenEditor() {
        if (state() != QAbstractItemView::EditingState)
            return;
        if (QWidget *editor = indexWidget(currentIndex())) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
    // Typing where no editor opens does nothing: no jump to another row
    // whose first letters match.
    void keyboardSearch(const QString &) override {}

  protected:
    // The corner button draws itself as an empty header section; this
    // draws the heading of column 0 into it.
    bool eventFilter(QObject *o, QEvent *e) override {
        auto *corner = qobject_cast<QAbstractButton *>(o);
        if (!corner || e->type() != QEvent::Paint)
            return QTableWidget::eventFilter(o, e);
        QStyleOptionHeader opt;
        opt.initFrom(corner);
        opt.state |= QStyle::State_Enabled;
        opt.rect = corner->rect();
        opt.position = QStyleOptionHeader::OnlyOneSection;
        opt.text = m_cornerText;
        opt.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        QStylePainter painter(corner);
        painter.drawControl(QStyle::CE_Header, opt);
        return true;
    }

  private:
    QString m_cornerText;
};
} // namespace

MemoryPage::MemoryPage(DeviceLink &link, QWidget *parent)
    : QWidget(parent), m_session(new MemorySession(link, this)) {
    init();
}

MemoryPage::MemoryPage(MemorySession &session, QWidget *parent)
    : QWidget(parent), m_session(&session) {
    init();
}

MemorySlots &MemoryPage::memorySlots() {
    return *m_slots;
}

void MemoryPage::init() {
    m_slots = &m_session->memorySlots();
    setObjectName(QStringLiteral("TS_Speicher"));
    buildControls();
    connect(m_session, &MemorySession::stateChanged, this, &MemoryPage::showState);
    connect(m_slots, &MemorySlots::slotChanged, this, &MemoryPage::showRowFromImage);
    connect(m_slots, &MemorySlots::imageReplaced, this, &MemoryPage::showAllRows);
    connect(SG_Speicher, &QTableWidget::itemChanged, this,
            [this](QTableWidgetItem *item) { onItemChanged(item->row(), item->column()); });
    showState();
    showAllRows();
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
    QHeaderView *top = SG_Speicher->horizontalHeader();
    QHeaderView *side = SG_Speicher->verticalHeader();
    top->setDefaultSectionSize(40);
    top->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    top->setFixedHeight(20);
    top->setSectionsClickable(false);
    side->setDefaultSectionSize(20);
    side->setMinimumSectionSize(1);
    side->setSectionResizeMode(QHeaderView::Fixed);
    side->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    side->setSectionsClickable(false);
    const auto widths = slotGridColumnWidths();
    side->setFixedWidth(widths[ColPlatz]);
    for (int c = 0; c < SlotColumnCount; ++c) {
        SG_Speicher->setColumnWidth(c, widths[size_t(c)]);
        SG_Speicher->setHorizontalHeaderItem(c, new QTableWidgetItem);
    }
    for (int r = 0; r < kSlotGridRows; ++r)
        SG_Speicher->setVerticalHeaderItem(r, new QTableWidgetItem);
    SG_Speicher->setRowHidden(0, true);
    SG_Speicher->setColumnHidden(ColPlatz, true);
    SG_Speicher->setShowGrid(true);
    SG_Speicher->setSelectionMode(QAbstractItemView::SingleSelection);
    SG_Speicher->setSelectionBehavior(QAbstractItemView::SelectItems);
    SG_Speicher->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    SG_Speicher->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    SG_Speicher->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The arrow keys move between cells; Tab leaves the grid for the
    // controls below it instead of walking through 63 rows of cells.
    SG_Speicher->setTabKeyNavigation(false);
    SG_Speicher->setWordWrap(false);
    SG_Speicher->setTextElideMode(Qt::ElideNone); // a narrow column clips its text
    for (int r = 0; r < kSlotGridRows; ++r) {
        for (int c = 0; c < SlotColumnCount; ++c) {
            auto *item = new QTableWidgetItem;
            if (r == 0 || c == 0) // behind the headers, never current
                item->setFlags(Qt::NoItemFlags);
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

    L_SBytes->setAccessibleName(QStringLiteral("Bytes"));

    connect(B_Laden, &QPushButton::clicked, this, [this] { B_LadenClick(); });
    connect(B_Speichern, &QPushButton::clicked, this, [this] { B_SpeichernClick(); });
    connect(B_Loeschen, &QPushButton::clicked, this, [this] { B_LoeschenClick(); });
}

QTableWidgetItem *MemoryPage::cell(int row, int col) const {
    if (row == 0 && col == 0)
        return nullptr; // the corner
    if (row == 0)
        return SG_Speicher->horizontalHeaderItem(col);
    if (col == 0)
        return SG_Speicher->verticalHeaderItem(row);
    return SG_Speicher->item(row, col);
}

QString MemoryPage::cellText(int row, int col) const {
    if (row == 0 && col == 0)
        return static_cast<SlotGrid *>(SG_Speicher)->cornerText();
    const QTableWidgetItem *item = cell(row, col);
    return item ? item->text() : QString();
}

void MemoryPage::setCellText(int row, int col, const QString &text) {
    if (row == 0 && col == 0) {
        static_cast<SlotGrid *>(SG_Speicher)->setCornerText(text);
    } else if (QTableWidgetItem *item = cell(row, col)) {
        const QScopedValueRollback<bool> setting(m_settingText, true);
        item->setText(text);
    }
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

void MemoryPage::showAllRows() {
    const MemoryImage &image = m_slots->image();
    for (int row = 1; row <= kSlotCount; ++row) {
        if (image.holdsSlot(row))
            ShowSlotRecord(image.slotRecord(row), row);
        else
            clearRow(row); // the image holds no whole record for this slot
    }
}

void MemoryPage::showRowFromImage(int row) {
    const MemoryImage &image = m_slots->image();
    if (row < 1 || row > kSlotCount)
        return;
    if (image.holdsSlot(row)) {
        ShowSlotRecord(image.slotRecord(row), row);
        return;
    }
    // A cell stored into an image without this slot: only what was stored.
    QByteArray record = image.data().mid(qsizetype(row - 1) * kSlotSize, kSlotSize);
    record.append(kSlotSize - record.size(), char(0));
    const SlotRowTexts texts = slotRowTexts(record);
    if (image.size() > qint64(row - 1) * kSlotSize + slot::kName)
        setCellText(row, ColName, *texts[ColName]);
    if (image.size() > qint64(row - 1) * kSlotSize + slot::kVersion)
        setCellText(row, ColVersion, *texts[ColVersion]);
}

void MemoryPage::showState() {
    const MemorySession &s = *m_session;
    if (LB_Speicher->count() != 1 || LB_Speicher->item(0)->text() != s.statusItem()) {
        LB_Speicher->clear();
        LB_Speicher->addItem(s.statusItem());
    }
    L_SBytes->setText(s.bytesText());
    B_Laden->setEnabled(!s.busy());
    B_Speichern->setEnabled(!s.busy() && s.writeEnabled());
}

// ------------------------------------------------------------- editing

void MemoryPage::onItemChanged(int row, int col) {
    if (!m_settingText && (col == ColName || col == ColVersion))
        m_edited.insert(row * SlotColumnCount + col);
}

void MemoryPage::StoreSlotCell() {
    const int row = LastSelRow;
    const int col = LastSelCol;
    if (row < 1 || row > kSlotCount || (col != ColName && col != ColVersion))
        return;
    // Only a cell the user changed is stored: merely selecting one changes
    // nothing in the image.
    if (!m_edited.remove(row * SlotColumnCount + col))
        return;
    const QString text = cellText(row, col);
    if (text.isEmpty()) { // stores nothing, so the cell shows what stays
        setCellText(row, col, m_textAtSelection);
        return;
    }
    if (col == ColName) {
        // The cell shows the padded text, a longer one whole.
        setCellText(row, col, m_slots->storeName(row, text));
    } else if (!m_slots->storeVersion(row, text)) {
        setCellText(row, col, m_textAtSelection);
        dialogs().information(QStringLiteral(
            "The version is a whole number from 0 to 15; \"%1\" was not stored.")
                                  .arg(text));
        return;
    }
    m_textAtSelection = cellText(row, col);
}

void MemoryPage::SG_SpeicherSelectCell(int aCol, int aRow) {
    StoreSlotCell();
    const bool editable = aCol == ColName || aCol == ColVersion;
    SG_Speicher->setEditTriggers(editable ? QAbstractItemView::EditTriggers(kEditOn)
                                          : QAbstractItemView::NoEditTriggers);
    LastSelCol = aCol;
    LastSelRow = aRow;
    m_textAtSelection = cellText(aRow, aCol);
}

void MemoryPage::SG_SpeicherExit() {
    StoreSlotCell();
}

// ------------------------------------------------------------ transfer

void MemoryPage::B_LadenClick() {
    m_session->readAll();
}

void MemoryPage::B_SpeichernClick() {
    m_session->writeAll(m_beforeSending);
}

void MemoryPage::B_LoeschenClick() {
    m_session->clearAll(m_beforeSending);
}

// ---------------------------------------------------------------- files

void MemoryPage::openMemFile(const QString &path) {
    m_session->openFile(path);
}

void MemoryPage::commitEdits() {
    static_cast<SlotGrid *>(SG_Speicher)->commitOpenEditor();
    StoreSlotCell();
}

void MemoryPage::saveMemFile(const QString &path) {
    // A cell typed into since the last selection change goes into the file.
    commitEdits();
    m_session->saveFile(path);
}

} // namespace lmk
