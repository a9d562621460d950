#include "upload/ui/UpdatePage.h"

#include "upload/ui/EmptyListHint.h"

#include "app/DesktopLook.h"

#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "link/ProgressText.h"
#include "upload/SyncOperation.h"
#include "upload/TaskListCodec.h"
#include "upload/TaskListReader.h"
#include "upload/TaskSearchOperation.h"
#include "upload/UploadOperation.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace lmk {

namespace {
// The colour a group box was given, before it was made readable.
constexpr const char *kFontColor = "_lmk_font_color";

// The page control around this page; disabled during a transfer so that the
// page cannot be changed.
QTabWidget *pageControl(QWidget *page) {
    for (QWidget *w = page->parentWidget(); w; w = w->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(w))
            return tabs;
    return nullptr;
}
} // namespace

UpdatePage::UpdatePage(DeviceLink &link, QWidget *parent) : QWidget(parent), m_link(link) {
    setObjectName(QStringLiteral("TS_Download"));
    buildControls();

    m_taskList = new TaskListReader(m_link, this);
    connect(m_taskList, &TaskListReader::listCleared, this, [this] {
        CB_Tasks->clear();
        CB_Tasks->clearEditText();
    });
    connect(m_taskList, &TaskListReader::entryAdded, this, [this](const QString &text) {
        const bool first = CB_Tasks->count() == 0;
        CB_Tasks->addItem(text);
        if (first) // adding selects nothing; a search selects entry 0 at its end
            CB_Tasks->setCurrentIndex(-1);
    });

    m_sync = new SyncOperation(m_link, this);
    connect(m_sync, &SyncOperation::started, this, [this] { B_Sync->setEnabled(false); });

    m_search = new TaskSearchOperation(m_link, this);
    m_search->setReader(m_taskList);
    connect(m_search, &TaskSearchOperation::started, this, [this] {
        B_Search->setEnabled(false);
        B_Start->setEnabled(false);
        CB_Tasks->clear();
        CB_Tasks->clearEditText();
    });
    connect(m_search, &TaskSearchOperation::finished, this, [this] {
        if (CB_Tasks->count() > 0)
            CB_Tasks->setCurrentIndex(0);
        B_Search->setEnabled(true);
        B_Start->setEnabled(true);
    });

    m_upload = new UploadOperation(m_link, this);
    connect(m_upload, &UploadOperation::started, this, [this] { setUploadControlsEnabled(false); });
    connect(m_upload, &UploadOperation::phaseChanged, L_Send, &QLabel::setText);
    connect(m_upload, &UploadOperation::counterChanged, this, &UpdatePage::showCounter);
    m_counterTimer.setSingleShot(true);
    connect(&m_counterTimer, &QTimer::timeout, this, &UpdatePage::flushCounter);
    connect(m_upload, &UploadOperation::progressChanged, PB_Sent, &QProgressBar::setValue);
    connect(m_upload, &UploadOperation::started, this, [this] {
        m_uploadClock.start();
        m_rateShown.invalidate();
        m_progress.start(0);
        L_Left->setText(m_progress.timeLeft(0));
    });
    connect(m_upload, &UploadOperation::phaseChanged, this,
            [this](const QString &text) { m_progress.phase(text, m_uploadClock.elapsed()); });
    connect(m_upload, &UploadOperation::bytesSent, this, [this](qint64 sent, qint64 size) {
        const qint64 now = m_uploadClock.elapsed();
        m_progress.bytes(sent, size, now);
        // Every kRateDisplayMs, and once the last bytes were taken.
        if (sent < size && m_rateShown.isValid() && m_rateShown.elapsed() < kRateDisplayMs)
            return;
        m_rateShown.start();
        // Within its first millisecond a transfer counts as one millisecond long.
        L_Rate->setText(rateText(sent, qMax<qint64>(1, now), ProgressUnit::Bytes));
        L_Left->setText(m_progress.timeLeft(now));
    });
    connect(m_upload, &UploadOperation::finished, L_Rate, &QLabel::clear);
    connect(m_upload, &UploadOperation::finished, L_Left, &QLabel::clear);
}

UpdatePage::~UpdatePage() = default;

void UpdatePage::buildControls() {
    Label2 = new QLabel(QStringLiteral("File"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(24, 26, 40, 16);

    LB_Applikation = new QListWidget(this);
    LB_Applikation->setObjectName(QStringLiteral("LB_Applikation"));
    LB_Applikation->setGeometry(72, 22, 480, 24);
    LB_Applikation->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    LB_Applikation->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Item views take no name from a buddy label: both, for the mnemonic
    // and for screen readers.
    Label2->setBuddy(LB_Applikation);
    LB_Applikation->setAccessibleName(Label2->text());
    // The next step, shown while no file is chosen ("Start" needs one).
    LB_Applikation->setAccessibleDescription(
        QStringLiteral("Choose the .RPD file to upload with File ▸ Open (Alt+F, O)"));
    EmptyListHint::install(LB_Applikation);

    RG_Target = new QGroupBox(QStringLiteral("Transfer to"), this);
    RG_Target->setObjectName(QStringLiteral("RG_Target"));
    RG_Target->setGeometry(24, 64, 240, 80);
    m_targetItems = new QButtonGroup(RG_Target);
    const QStringList items{QStringLiteral("LMK35 (Configuration)"),
                            QStringLiteral("External (Update Task)")};
    for (int i = 0; i < items.size(); ++i) {
        auto *rb = new QRadioButton(items[i], RG_Target);
        rb->setObjectName(QStringLiteral("RG_Target%1").arg(i));
        rb->setGeometry(14, 24 + 24 * i, 210, 20);
        m_targetItems->addButton(rb, i);
    }
    m_targetItems->button(0)->setChecked(true);
    // Follows the checked state, whoever changes it (mouse, keyboard, a
    // screen reader's toggle action or the program).
    connect(m_targetItems, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            RG_TargetClick();
    });

    GB_Extern = new QGroupBox(QStringLiteral("External Tasks"), this);
    GB_Extern->setObjectName(QStringLiteral("GB_Extern"));
    GB_Extern->setGeometry(288, 64, 264, 80);
    GB_Extern->setEnabled(false);
    setFontColor(GB_Extern, kGrey);
    CB_Tasks = new QComboBox(GB_Extern);
    CB_Tasks->setObjectName(QStringLiteral("CB_Tasks"));
    CB_Tasks->setEditable(true);
    CB_Tasks->setInsertPolicy(QComboBox::NoInsert);
    CB_Tasks->setGeometry(12, 30, 150, 24);
    CB_Tasks->setAccessibleName(GB_Extern->title());
    CB_Tasks->addItem(QString::fromLatin1(upload::kNoTasksFound));
    CB_Tasks->setCurrentIndex(0);
    B_Search = new QPushButton(QStringLiteral("Search"), GB_Extern);
    B_Search->setObjectName(QStringLiteral("B_Search"));
    B_Search->setGeometry(174, 29, 78, 26);
    B_Search->setEnabled(false);
    connect(B_Search, &QPushButton::clicked, this, [this] { B_SearchClick(); });

    B_Sync = new QPushButton(QStringLiteral("Synchronize"), this);
    B_Sync->setObjectName(QStringLiteral("B_Sync"));
    B_Sync->setGeometry(24, 168, 110, 26);
    connect(B_Sync, &QPushButton::clicked, this, [this] { B_SyncClick(); });

    GroupBox3 = new QGroupBox(this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setGeometry(152, 156, 400, 50);
    GroupBox3->setEnabled(false);
    CB_Boot = new QCheckBox(QStringLiteral("Bootloader active"), GroupBox3);
    CB_Boot->setObjectName(QStringLiteral("CB_Boot"));
    CB_Boot->setGeometry(14, 15, 170, 20);
    CB_Konfiguration = new QCheckBox(QStringLiteral("Configuration active"), GroupBox3);
    CB_Konfiguration->setObjectName(QStringLiteral("CB_Konfiguration"));
    CB_Konfiguration->setGeometry(204, 15, 180, 20);

    GB_Download = new QGroupBox(QStringLiteral("Upload"), this);
    GB_Download->setObjectName(QStringLiteral("GB_Download"));
    GB_Download->setGeometry(24, 224, 528, 104);
    GB_Download->setEnabled(false);
    setFontColor(GB_Download, kGrey);
    L_Send = new QLabel(QString::fromLatin1(UploadOperation::kBytesSentText), GB_Download);
    L_Send->setObjectName(QStringLiteral("L_Send"));
    L_Send->setGeometry(14, 32, 130, 18);
    L_Send->setFixedSize(L_Send->size()); // a new text needs no new layout
    L_Bytes = new QLabel(QStringLiteral("0"), GB_Download);
    L_Bytes->setObjectName(QStringLiteral("L_Bytes"));
    L_Bytes->setGeometry(150, 32, 140, 18);
    L_Bytes->setFixedSize(L_Bytes->size());
    L_Rate = new QLabel(GB_Download);
    L_Rate->setObjectName(QStringLiteral("L_Rate"));
    L_Rate->setAccessibleName(QStringLiteral("Upload rate"));
    L_Rate->setGeometry(296, 32, 126, 18);
    L_Rate->setFixedSize(L_Rate->size());
    L_Left = new QLabel(GB_Download);
    L_Left->setObjectName(QStringLiteral("L_Left"));
    L_Left->setAccessibleName(QStringLiteral("Upload time left"));
    L_Left->setGeometry(296, 50, 126, 16);
    L_Left->setFixedSize(L_Left->size());
    B_Start = new QPushButton(QStringLiteral("Start"), GB_Download);
    B_Start->setObjectName(QStringLiteral("B_Start"));
    B_Start->setGeometry(428, 28, 86, 26);
    connect(B_Start, &QPushButton::clicked, this, [this] { B_StartClick(); });
    PB_Sent = new QProgressBar(GB_Download);
    PB_Sent->setObjectName(QStringLiteral("PB_Sent"));
    PB_Sent->setGeometry(14, 68, 500, 20);
    PB_Sent->setRange(0, UploadOperation::kProgressMax);
    PB_Sent->setValue(0);
    PB_Sent->setAccessibleName(GB_Download->title());
}

void UpdatePage::setFontColor(QWidget *w, const QColor &c) {
    w->setProperty(kFontColor, c);
    const QPalette around =
        w->parentWidget() ? w->parentWidget()->palette() : QApplication::palette();
    const QColor shown =
        readableOn(c, around.color(QPalette::Window), around.color(QPalette::WindowText));
    QPalette p = w->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::WindowText, shown);
        p.setColor(group, QPalette::Text, shown);
    }
    w->setPalette(p);
}

void UpdatePage::changeEvent(QEvent *e) {
    // A new palette (the desktop's, dark or high contrast): the groups'
    // colours are read against it again.
    if (e->type() == QEvent::PaletteChange) {
        for (QGroupBox *group : {GB_Extern, GB_Download})
            if (group && group->property(kFontColor).isValid())
                setFontColor(group, group->property(kFontColor).value<QColor>());
    }
    QWidget::changeEvent(e);
}

bool UpdatePage::bootActive() const {
    return CB_Boot->isChecked();
}
bool UpdatePage::configActive() const {
    return CB_Konfiguration->isChecked();
}

int UpdatePage::targetIndex() const {
    return m_targetItems->checkedId();
}

void UpdatePage::setTargetIndex(int index) {
    if (QAbstractButton *b = m_targetItems->button(index))
        b->setChecked(true);
}

void UpdatePage::selectUploadFile(const QString &path) {
    if (path.isEmpty())
        return;
    LB_Applikation->clear();
    LB_Applikation->addItem(QFileInfo(path).fileName());
    m_uploadFileName = path;
}

void UpdatePage::RG_TargetClick() {
    const bool external = targetIndex() != 0;
    GB_Extern->setEnabled(external);
    setFontColor(GB_Extern, external ? kBlue : kGrey);
    B_Search->setEnabled(external);
}

void UpdatePage::B_SyncClick() {
    CB_Boot->setChecked(false);
    CB_Konfiguration->setChecked(false);
    GB_Download->setEnabled(false);
    setFontColor(GB_Download, kGrey);
    const SyncResult r = m_sync->run();
    if (!r.busyWith.isEmpty())
        dialogs().information(operationBusyText(r.busyWith));
    if (!r.ran)
        return;
    CB_Boot->setChecked(r.bootActive);
    CB_Konfiguration->setChecked(r.configActive);
    if (r.uploadEnabled) {
        GB_Download->setEnabled(true);
        setFontColor(GB_Download, kBlack);
    }
    B_Sync->setEnabled(true);
}

void UpdatePage::B_SearchClick() {
    const SearchResult r = m_search->run(CB_Boot->isChecked());
    if (!m_link.shuttingDown()) // the window closed during the search
        dialogs().information(r.message);
}

void UpdatePage::showCounter(qint64 value) {
    m_counter = value;
    m_counterPending = true;
    if (!m_counterShown.isValid() || m_counterShown.elapsed() >= kCounterDisplayMs)
        flushCounter();
    else if (!m_counterTimer.isActive())
        m_counterTimer.start(kCounterDisplayMs);
}

void UpdatePage::flushCounter() {
    m_counterTimer.stop();
    if (!m_counterPending)
        return;
    m_counterPending = false;
    L_Bytes->setText(QString::number(m_counter));
    m_counterShown.start();
}

void UpdatePage::setUploadControlsEnabled(bool on) {
    B_Start->setEnabled(on);
    B_Search->setEnabled(on);
    B_Sync->setEnabled(on);
    RG_Target->setEnabled(on);
    if (QTabWidget *tabs = pageControl(this))
        tabs->setEnabled(on);
}

void UpdatePage::B_StartClick() {
    UploadRequest req;
    req.fileChosen = LB_Applikation->count() > 0;
    req.filePath = m_uploadFileName;
    req.target = targetIndex() == 0 ? upload::Target::Configuration : upload::Target::External;
    // The task the box shows, typed or chosen: that is the task written.
    req.taskEntry = CB_Tasks->currentText();
    req.byteCounter = L_Bytes->text().toLongLong();

    const UploadResult r = m_upload->run(req);
    flushCounter();
    if (r.outcome == UploadOutcome::Declined)
        return;
    if (!r.message.isEmpty())
        dialogs().information(r.message);
    if (r.transferred || r.outcome == UploadOutcome::NoTaskIds ||
        r.outcome == UploadOutcome::IdTooLarge)
        setUploadControlsEnabled(true);
}

} // namespace lmk
