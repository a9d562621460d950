#include "memory/ui/MemoryPage.h"

#include "link/Dialogs.h"
#include "memory/MemorySession.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"
#include "memory/ui/SlotCellDelegate.h"
#include "memory/ui/SlotTableModel.h"

#include <QAccessible>
#include <QHeaderView>

#include <algorithm>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableView>

namespace lmk {

namespace {
// The page's first size: the grid ends at 809,497, the buttons at 961 and
// the byte counter's box at 980.
constexpr int kPageWidth = 981;
constexpr int kPageHeight = 505;
constexpr QRect kGridRect(8, 8, 801, 489);
constexpr int kButtonWidth = 129; // the buttons beside the grid

// SG_Speicher: a table whose open in-place editor can be committed from
// outside (File, Save keeps the focus in the grid).
class SlotGrid : public QTableView {
  public:
    using QTableView::QTableView;
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
    return m_session->memorySlots();
}

void MemoryPage::init() {
    m_model = &SlotTableModel::of(*m_session);
    setObjectName(QStringLiteral("TS_Speicher"));
    buildControls();
    connect(m_session, &MemorySession::stateChanged, this, &MemoryPage::showState);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &MemoryPage::fitColumns);
    connect(m_model, &QAbstractItemModel::headerDataChanged, this, &MemoryPage::fitColumns);
    showState();
    fitColumns();
}

void MemoryPage::buildControls() {
    SG_Speicher = new SlotGrid(this);
    SG_Speicher->setObjectName(QStringLiteral("SG_Speicher"));
    SG_Speicher->setAccessibleName(QStringLiteral("Speicherplätze"));
    SG_Speicher->setModel(m_model);
    SG_Speicher->setItemDelegate(new SlotCellDelegate(SG_Speicher));
    SG_Speicher->setGeometry(kGridRect);
    QHeaderView *top = SG_Speicher->horizontalHeader();
    QHeaderView *side = SG_Speicher->verticalHeader();
    top->setDefaultSectionSize(40);
    top->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    top->setFixedHeight(20);
    top->setSectionsClickable(false);
    side->setDefaultSectionSize(20);
    side->setMinimumSectionSize(1);
    side->setSectionResizeMode(QHeaderView::Fixed);
    // Column 0 ("Platz") holds the slot numbers; the side header would only
    // repeat them.
    side->hide();
    const auto widths = slotGridColumnWidths();
    for (int c = 0; c < SlotColumnCount; ++c)
        SG_Speicher->setColumnWidth(c, widths[size_t(c)]);
    SG_Speicher->setShowGrid(true);
    SG_Speicher->setSelectionMode(QAbstractItemView::SingleSelection);
    SG_Speicher->setSelectionBehavior(QAbstractItemView::SelectItems);
    SG_Speicher->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    SG_Speicher->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Typing into a cell opens its editor with that key; the model decides
    // which cells take an edit (none while a transfer runs).
    SG_Speicher->setEditTriggers(QAbstractItemView::DoubleClicked |
                                 QAbstractItemView::SelectedClicked |
                                 QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);
    // The arrow keys move between cells; Tab leaves the grid for the
    // controls below it instead of walking through 63 rows of cells.
    SG_Speicher->setTabKeyNavigation(false);
    SG_Speicher->setWordWrap(false);
    SG_Speicher->setTextElideMode(Qt::ElideNone);

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
    // The counter's caption and value reach a screen reader together, from
    // the start (not a bare "0").
    L_SBytes->setAccessibleName(QStringLiteral("Bytes: %1").arg(L_SBytes->text()));
    B_Speichern = new QPushButton(QStringLiteral("Speichern im LMK54"), this);
    B_Speichern->setObjectName(QStringLiteral("B_Speichern"));
    B_Speichern->setGeometry(832, 384, 129, 25);
    B_Speichern->setEnabled(false);
    B_Loeschen = new QPushButton(QStringLiteral("Alles Löschen"), this);
    B_Loeschen->setObjectName(QStringLiteral("B_Loeschen"));
    B_Loeschen->setGeometry(832, 456, 129, 25);
    m_besideGrid = {label11, LB_Speicher, label10, B_Laden, label12, L_SBytes, B_Speichern,
                    B_Loeschen};
    for (QWidget *w : std::as_const(m_besideGrid))
        m_besideGridHome << w->pos();

    connect(B_Laden, &QPushButton::clicked, this, [this] { B_LadenClick(); });
    connect(B_Speichern, &QPushButton::clicked, this, [this] { B_SpeichernClick(); });
    connect(B_Loeschen, &QPushButton::clicked, this, [this] { B_LoeschenClick(); });
}

QString MemoryPage::cellText(int row, int col) const {
    if (row == 0)
        return m_model->headerData(col, Qt::Horizontal).toString();
    return m_model->cellText(row, col);
}

void MemoryPage::fitColumns() {
    const auto widths = slotGridColumnWidths();
    for (int c = 0; c < SlotColumnCount; ++c) {
        // As wide as the widest cell and the heading, in any language.
        const int need = std::max({widths[size_t(c)],
                               static_cast<QAbstractItemView *>(SG_Speicher)->sizeHintForColumn(c),
                               SG_Speicher->horizontalHeader()->sectionSizeHint(c)});
        if (SG_Speicher->columnWidth(c) < need)
            SG_Speicher->setColumnWidth(c, need);
    }
}

void MemoryPage::setGrowsWithWindow(bool grows) {
    m_grows = grows;
    QResizeEvent e(size(), size());
    resizeEvent(&e);
}

void MemoryPage::resizeEvent(QResizeEvent *e) {
    QWidget::resizeEvent(e);
    if (!m_grows)
        return;
    const int dx = qMax(0, width() - kPageWidth);
    const int dy = qMax(0, height() - kPageHeight);
    SG_Speicher->setGeometry(kGridRect.adjusted(0, 0, dx, dy));
    for (qsizetype i = 0; i < m_besideGrid.size(); ++i) {
        QWidget *w = m_besideGrid[i];
        QPoint at = m_besideGridHome[i] + QPoint(dx, 0);
        // A larger font (the desktop's) widens a button to the left: its
        // text shows whole and its right edge stays in line.
        if (qobject_cast<QPushButton *>(w)) {
            const int width = qMax(kButtonWidth, w->sizeHint().width());
            w->resize(width, w->height());
            at.rx() -= width - kButtonWidth;
        }
        w->move(at);
    }
}

void MemoryPage::changeEvent(QEvent *e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        fitColumns();
    if (e->type() == QEvent::FontChange && m_grows) {
        // The captions take the size of their text again, as when first shown.
        for (QWidget *w : std::as_const(m_besideGrid))
            if (qobject_cast<QLabel *>(w) && w != L_SBytes)
                w->adjustSize();
        QResizeEvent again(size(), size());
        resizeEvent(&again);
    }
}

void MemoryPage::showState() {
    const MemorySession &s = *m_session;
    if (LB_Speicher->count() != 1 || LB_Speicher->item(0)->text() != s.statusItem()) {
        LB_Speicher->clear();
        LB_Speicher->addItem(s.statusItem());
    }
    if (L_SBytes->text() != s.bytesText()) {
        L_SBytes->setText(s.bytesText());
        // The counter's caption and value reach a screen reader together.
        L_SBytes->setAccessibleName(QStringLiteral("Bytes: %1").arg(s.bytesText()));
        QAccessibleEvent changed(L_SBytes, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
    B_Laden->setEnabled(!s.busy());
    B_Speichern->setEnabled(!s.busy() && s.writeEnabled());
}

void MemoryPage::commitEdits() {
    static_cast<SlotGrid *>(SG_Speicher)->commitOpenEditor();
}

// ------------------------------------------------------------ transfer

bool MemoryPage::confirmReplacing(const QString &question) {
    commitEdits();
    if (m_model->locked()) {
        dialogs().information(QStringLiteral(
            "The memory slots are being transferred; wait until that has finished."));
        return false;
    }
    return !m_model->isModified() || dialogs().confirmYesNo(question);
}

void MemoryPage::B_LadenClick() {
    if (!m_session->busy() &&
        !confirmReplacing(QStringLiteral("The memory slots have changes that are not saved. "
                                         "Read the receiver's slots over them?")))
        return;
    m_session->readAll();
}

void MemoryPage::B_SpeichernClick() {
    commitEdits();
    m_session->writeAll(m_beforeSending, m_verifyWrites);
}

void MemoryPage::B_LoeschenClick() {
    m_session->clearAll(m_beforeSending);
}

// ---------------------------------------------------------------- files

void MemoryPage::openMemFile(const QString &path) {
    if (m_model->locked()) {
        dialogs().information(QStringLiteral(
            "The memory slots are being transferred; wait until that has finished."));
        return;
    }
    m_session->openFile(path);
}

void MemoryPage::saveMemFile(const QString &path) {
    // A cell typed into and not yet left goes into the file.
    commitEdits();
    m_session->saveFile(path);
}

} // namespace lmk
