#include "app/TFMain.h"

#include "app/SystemCloseRequest.h"

#include <QProgressBar>

#include "app/AccessibleWidgets.h"
#include "app/AppResources.h"
#include "app/AppSettings.h"
#include "app/DesktopLook.h"
#include "app/RadioGroupFocus.h"
#include "app/ReceiverAddressDialog.h"
#include "app/TDLG_Info.h"
#include "app/VisualStyle.h"
#include "app/UiLanguage.h"
#include "display/PictureFile.h"
#include "display/ui/DisplayPage.h"
#include "link/DeviceEvents.h"
#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "link/ReplyDispatcher.h"
#include "link/Wait.h"
#include "memory/ui/MemoryEditor.h"
#include "memory/MemoryImage.h"
#include "memory/MemorySession.h"
#include "memory/SlotBackups.h"
#include "memory/ui/MemoryEditorActions.h"
#include "memory/ui/MemoryPage.h"
#include "memory/ui/SlotTableModel.h"
#include "sample/ui/SamplePage.h"
#include "terminal/ui/TerminalPage.h"
#include "upload/ui/UpdatePage.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>

#include <cstdio>

namespace lmk {

namespace {
// Positions of the five pages in PC_main; two of them have no visible tab.
constexpr int kTabDownload = 0;
constexpr int kTabDispcpy = 1;
constexpr int kTabLmk54 = 2;
constexpr int kTabSpeicher = 3;
constexpr int kTabChat = 4;

constexpr const char *kDesktopStyleKey = "desktopStyle";

// A disabled widget drawn in the colours of an enabled one, from the
// application's palette of the moment.
void showDisabledAsEnabled(QWidget *w) {
    const QPalette app = QApplication::palette(w);
    QPalette pal = w->palette();
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::Base})
        pal.setColor(QPalette::Disabled, role, app.color(QPalette::Active, role));
    w->setPalette(pal);
}

// Holds the client area: as large as it unless the window is made smaller
// (a small screen, a large font), then it scrolls, so everything stays
// reachable.
class ClientScroller : public QScrollArea {
  public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override {
        const int frame = 2 * frameWidth();
        return widget() ? widget()->size() + QSize(frame, frame) : QScrollArea::sizeHint();
    }
};
} // namespace

QFont TFMain::defaultFont() {
    // "MS Sans Serif" at 8 points, or the closest font this system has: one
    // with the same narrow metrics before a wide one.
    QFont f;
    f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                   QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    f.setPointSize(8);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

TFMain::TFMain(DeviceLink &link, QWidget *parent) : QMainWindow(parent), m_link(link) {
    initAppResources();
    installAccessibleWidgets();
    setObjectName(QStringLiteral("FMain"));
    setWindowTitle(QStringLiteral("USB / WLAN Interface to LMK54/55"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/lmk.png")));
    setFont(defaultFont());
    auto *scroller = new ClientScroller(this);
    scroller->setObjectName(QStringLiteral("centralWidget"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->viewport()->setAutoFillBackground(false);
    auto *central = new QWidget;
    central->setObjectName(QStringLiteral("clientArea"));
    central->setFixedSize(kClientWidth, kClientHeight);
    scroller->setWidget(central);
    setCentralWidget(scroller);
    m_client = central;
    buildTopRow(central);
    buildPages(central);
    buildMenu();
    installRadioGroupFocus(this);
    OD_App = {QStringLiteral("*.rpd"), QString()};
    SD_Datei = {QStringLiteral("*.BMP"),
                QStringLiteral("Bitmap *.BMP|*.BMP|Speicherplatz-Datei *.Mem|*.Mem")};
    m_link.setEventTarget(this);
    // The link reports, the window shows.
    connect(&m_link, &DeviceLink::connectionLost, this,
            [] { dialogs().information(QString::fromLatin1(kWlanLostText)); });
    connect(&m_link, &DeviceLink::accessPointNotFound, this,
            [] { dialogs().information(QString::fromLatin1(kApNotFoundText)); });
    renewAccessibleDescriptions(this);
    // As large as the client area; a smaller screen makes it scroll.
    resize(sizeHint());
}

TFMain::~TFMain() {
    if (m_link.eventTarget() == this)
        m_link.setEventTarget(nullptr);
}

void TFMain::buildTopRow(QWidget *central) {
    auto *bevel = new QFrame(central);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);
    bevel->setGeometry(0, 0, kClientWidth, 2);

    auto *label = new QLabel(QStringLiteral("USB-Device:"), central);
    label->setObjectName(QStringLiteral("Label4"));
    label->setGeometry(16, 12, 68, 17);

    EUSBDevice = new QLineEdit(central);
    EUSBDevice->setObjectName(QStringLiteral("EUSBDevice"));
    EUSBDevice->setGeometry(88, 10, 121, 21);
    label->setBuddy(EUSBDevice);

    // Disabled so that only the program changes the check box; it keeps the
    // colours of an enabled one, so the state stays readable.
    auto *group = new QGroupBox(central);
    group->setObjectName(QStringLiteral("GroupBox2"));
    group->setGeometry(232, 7, 169, 26);
    group->setEnabled(false);
    CB_WLAN = new QCheckBox(QStringLiteral("WLAN Access to Device:"), group);
    CB_WLAN->setObjectName(QStringLiteral("CB_WLAN"));
    CB_WLAN->setGeometry(6, 4, 160, 18);
    showDisabledAsEnabled(CB_WLAN);

    EWLANDevice = new QLineEdit(central);
    EWLANDevice->setObjectName(QStringLiteral("EWLANDevice"));
    EWLANDevice->setGeometry(408, 10, 121, 21);
    // The check box before it is the field's caption.
    EWLANDevice->setAccessibleName(CB_WLAN->text());

    connect(&m_link, &DeviceLink::wlanCheckedChanged, CB_WLAN, &QCheckBox::setChecked);
    connect(&m_link, &DeviceLink::usbDeviceTextChanged, EUSBDevice, &QLineEdit::setText);
    connect(&m_link, &DeviceLink::wlanDeviceTextChanged, EWLANDevice, &QLineEdit::setText);
    CB_WLAN->setChecked(m_link.wlanChecked());
    EUSBDevice->setText(m_link.usbDeviceText());
    EWLANDevice->setText(m_link.wlanDeviceText());
}

void TFMain::buildPages(QWidget *central) {
    PC_main = new QTabWidget(central);
    PC_main->setObjectName(QStringLiteral("PC_main"));
    PC_main->setAccessibleName(QStringLiteral("Pages"));
    PC_main->tabBar()->setAccessibleName(QStringLiteral("Pages"));
    PC_main->setGeometry(11, 40, 985, 536);
    m_update = new UpdatePage(m_link, PC_main);
    m_display = new DisplayPage(m_link, PC_main);
    m_sample = new SamplePage(m_link, PC_main);
    m_memory = new MemoryPage(m_link, PC_main);
    m_terminal = new TerminalPage(m_link, PC_main);
    PC_main->insertTab(kTabDownload, m_update, QStringLiteral("Update 54/55"));
    PC_main->insertTab(kTabDispcpy, m_display, QStringLiteral("Display Copy"));
    PC_main->insertTab(kTabLmk54, m_sample, QStringLiteral("LMK25E"));
    PC_main->insertTab(kTabSpeicher, m_memory, QStringLiteral("Speicherplätze"));
    PC_main->insertTab(kTabChat, m_terminal, QStringLiteral("USB Terminal"));
    // Pages without a tab cannot be selected. Disabled on the tab bar only
    // (their pages stay enabled), Ctrl+Tab, the arrow keys and the wheel
    // step over them; anything else that selects one is undone at once.
    for (int hidden : {kTabLmk54, kTabSpeicher}) {
        PC_main->setTabVisible(hidden, false);
        PC_main->tabBar()->setTabEnabled(hidden, false);
    }
    PC_main->setCurrentIndex(kTabDownload);
    m_shownTab = kTabDownload;
    connect(PC_main, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && !PC_main->isTabVisible(index)) {
            const QSignalBlocker quiet(PC_main); // the page shown does not change
            PC_main->setCurrentIndex(m_shownTab);
            return;
        }
        m_shownTab = index;
        PC_mainChange();
    });
}

void TFMain::buildMenu() {
    menuBar()->setObjectName(QStringLiteral("MM_LMK25"));
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("M_Datei"));
    file->menuAction()->setObjectName(QStringLiteral("M_Datei"));
    QAction *open = file->addAction(QStringLiteral("&Open"), this, &TFMain::MI_OeffnenClick);
    open->setObjectName(QStringLiteral("MI_Oeffnen"));
    QAction *save = file->addAction(QStringLiteral("&Save"), this, &TFMain::MI_SpeichernClick);
    save->setObjectName(QStringLiteral("MI_Speichern"));
    file->addSeparator()->setObjectName(QStringLiteral("N1"));
    QAction *quit = file->addAction(QStringLiteral("&Close"), this, &TFMain::MI_BeendenClick);
    quit->setObjectName(QStringLiteral("MI_Beenden"));

    QMenu *iface = menuBar()->addMenu(QStringLiteral("&Interface"));
    iface->setObjectName(QStringLiteral("M_Interface"));
    iface->menuAction()->setObjectName(QStringLiteral("M_Interface"));
    QAction *usb =
        iface->addAction(QStringLiteral("Find &USB Device"), this, &TFMain::MI_USBClick);
    usb->setObjectName(QStringLiteral("MI_USB"));
    QAction *wlan =
        iface->addAction(QStringLiteral("Find &WLAN Connection"), this, &TFMain::MI_WLANClick);
    wlan->setObjectName(QStringLiteral("MI_WLAN"));
    QAction *address = iface->addAction(QStringLiteral("Receiver &Address…"), this, [this] {
        ReceiverAddressDialog(m_link, this).exec();
    });
    address->setObjectName(QStringLiteral("MI_ReceiverAddress"));
    iface->addSeparator();
    QAction *memory =
        iface->addAction(QStringLiteral("Memory &Slots…"), this, &TFMain::MI_MemorySlotsClick);
    memory->setObjectName(QStringLiteral("MI_MemorySlots"));

    buildViewMenu();

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("M_Hilfe"));
    help->menuAction()->setObjectName(QStringLiteral("M_Hilfe"));
    QAction *info = help->addAction(QStringLiteral("&Info"), this, &TFMain::MI_InfoClick);
    info->setObjectName(QStringLiteral("MI_Info"));
}

void TFMain::buildViewMenu() {
    QMenu *view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("M_View"));
    view->menuAction()->setObjectName(QStringLiteral("M_View"));
    QMenu *language = view->addMenu(QStringLiteral("&Language"));
    language->setObjectName(QStringLiteral("M_Language"));
    language->menuAction()->setObjectName(QStringLiteral("M_Language"));
    auto *languages = new QActionGroup(language);
    const auto addLanguage = [&](const char *name, const QString &caption, Language which) {
        QAction *a = language->addAction(caption);
        a->setObjectName(QLatin1String(name));
        a->setCheckable(true);
        a->setChecked(UiLanguage::instance().language() == which);
        languages->addAction(a);
        connect(a, &QAction::triggered, this, [which] { UiLanguage::instance().setLanguage(which); });
        connect(&UiLanguage::instance(), &UiLanguage::languageChanged, a,
                [a, which](Language now) { a->setChecked(now == which); });
    };
    // The program's own texts (German and English mixed), then each
    // translation named in its own words.
    addLanguage("MI_LanguageSpecified", QStringLiteral("Original"), Language::Specified);
    addLanguage("MI_LanguageEnglish", QStringLiteral("English"), Language::English);
    addLanguage("MI_LanguageGerman", QStringLiteral("Deutsch"), Language::German);

    m_desktopStyleAction = view->addAction(QStringLiteral("&Desktop style"));
    m_desktopStyleAction->setObjectName(QStringLiteral("MI_DesktopStyle"));
    m_desktopStyleAction->setCheckable(true);
    connect(m_desktopStyleAction, &QAction::toggled, this, [this](bool on) {
        setDesktopStyle(on);
        appSettings()->setValue(QLatin1String(kDesktopStyleKey), on);
    });
}

bool TFMain::desktopStyle() const {
    return m_desktopStyleAction->isChecked();
}

void TFMain::restoreDesktopStyle() {
    m_desktopStyleAction->setChecked(appSettings()->value(QLatin1String(kDesktopStyleKey)).toBool());
}

void TFMain::setDesktopStyle(bool on) {
    const QSignalBlocker quiet(m_desktopStyleAction);
    m_desktopStyleAction->setChecked(on);
    if (on) {
        applyDesktopLook(*qApp);
        setFont(QFont()); // the application's, now the desktop's
    } else {
        applyVisualStyle(*qApp, QString::fromLatin1(kVisualStyle));
        QApplication::setFont(defaultFont());
        setFont(defaultFont());
    }
    fitToFont();
}

void TFMain::fitToFont() {
    if (m_memoryEditor)
        m_memoryEditor->setFont(font());
    scaleGeometry(m_client, desktopStyle() ? fontGrowth(defaultFont(), font()) : 1.0);
    // The window follows its client area, within the screen's free space.
    centralWidget()->updateGeometry();
    if (layout())
        layout()->invalidate();
    QSize size = sizeHint();
    if (QScreen *s = screen()) // the title bar and frame need room too
        size = size.boundedTo(s->availableGeometry().size() -
                              (frameGeometry().size() - geometry().size()));
    resize(size);
}

int TFMain::pageShown() const {
    const int current = PC_main->currentIndex();
    int visible = 0;
    for (int i = 0; i < current; ++i)
        if (PC_main->isTabVisible(i))
            ++visible;
    return visible;
}

void TFMain::showPage(int visibleIndex) {
    int visible = -1;
    for (int i = 0; i < PC_main->count(); ++i) {
        if (PC_main->isTabVisible(i) && ++visible == visibleIndex) {
            PC_main->setCurrentIndex(i);
            return;
        }
    }
}

bool TFMain::event(QEvent *e) {
    if (m_link.handleDeviceEvent(e))
        return true;
    // The desktop's font changed while its look is in use.
    if (e->type() == QEvent::ApplicationFontChange && m_desktopStyleAction && desktopStyle()) {
        setFont(QFont());
        fitToFont();
    }
    // Or its palette: disabled texts stay readable on it.
    if (e->type() == QEvent::ApplicationPaletteChange && m_desktopStyleAction) {
        if (desktopStyle())
            keepTextsReadable(*qApp);
        showDisabledAsEnabled(CB_WLAN);
    }
    return QMainWindow::event(e);
}

void TFMain::FormCreate() {
    // Start-up processes events while it waits for the receiver; a close
    // meanwhile ends it after the step that waited.
    m_link.startupWlan();
    if (m_closed)
        return;
    m_link.openUsb();
    m_display->fillFrame();
    if (!m_link.hasTransport())
        return;
    processPendingEvents();
    if (m_closed)
        return;
    m_update->B_SyncClick();
    if (m_closed)
        return;
    if (!m_update->bootActive() && !m_update->configActive())
        return;
    // The reply shows the version in the top row.
    m_link.requestVersion();
}

void TFMain::MI_USBClick() {
    m_display->stopLive();
    m_link.findUsbDevice();
}

void TFMain::MI_WLANClick() {
    m_display->stopLive();
    m_link.findWlanConnection();
}

void TFMain::PC_mainChange() {
    m_display->stopLive(); // the mirror ends before the link serves another page
    m_terminal->clearChat();
    m_terminal->expectApSettings(false);
    const bool terminal = pageShown() == kPageTerminal;
    if (terminal && m_link.usbOpen()) {
        // Set before the switch, so the settings that answer it are taken.
        m_terminal->expectApSettings(true);
        m_terminal->enableSet();
    }
    m_link.setTerminalMode(terminal);
}

QString TFMain::askOpen(const QString &defaultExt, const QString &filter) {
    OD_App = {defaultExt, filter};
    return dialogs().openFile(OD_App.defaultExt, OD_App.filter);
}

QString TFMain::askSave(const QString &defaultExt, const QString &filter) {
    SD_Datei = {defaultExt, filter};
    return dialogs().saveFile(SD_Datei.defaultExt, SD_Datei.filter);
}

void TFMain::MI_OeffnenClick() {
    switch (pageShown()) {
    case kPageUpdate: {
        const QString f =
            askOpen(QStringLiteral("*.RPD"), QStringLiteral("Cyclone Design File *.RPD|*.RPD"));
        if (!f.isEmpty())
            m_update->selectUploadFile(f);
        break;
    }
    case kPageTerminal: {
        if (!m_memory->confirmReplacing(QStringLiteral(
                "The memory slots have changes that are not saved. Open another file anyway?")))
            break;
        const QString f =
            askOpen(QStringLiteral("*.Mem"), QStringLiteral("Memory file *.Mem|*.Mem"));
        if (!f.isEmpty())
            m_memory->openMemFile(f);
        break;
    }
    default:
        break;
    }
}

void TFMain::MI_SpeichernClick() {
    switch (pageShown()) {
    case kPageDisplay: {
        // The picture at 1 x unless another scale is chosen in the dialog.
        SD_Datei = {QLatin1String(kPictureDefaultExt), QLatin1String(kPictureFilter)};
        int scale = 0;
        const QString f = dialogs().saveFileWithChoice(
            SD_Datei.defaultExt, SD_Datei.filter, QStringLiteral("Scale:"),
            {QStringLiteral("1 x"), QStringLiteral("2 x"), QStringLiteral("3 x"), QStringLiteral("4 x")},
            scale);
        if (!f.isEmpty())
            m_display->savePicture(f, scale + 1);
        break;
    }
    case kPageTerminal: {
        const QString f =
            askSave(QStringLiteral("*.Mem"), QStringLiteral("Speicherplatz-Datei *.Mem|*.Mem"));
        if (!f.isEmpty())
            m_memory->saveMemFile(f);
        break;
    }
    default:
        break;
    }
}

void TFMain::MI_BeendenClick() {
    if (dialogs().confirmYesNo(QStringLiteral("Close application?")))
        close();
}

TDLG_Info *TFMain::createInfoDialog() {
    if (!DLG_Info)
        DLG_Info = new TDLG_Info(this);
    return DLG_Info;
}

void TFMain::MI_InfoClick() {
    createInfoDialog()->exec();
}

void TFMain::MI_MemorySlotsClick() {
    if (!m_memoryEditor) {
        m_memoryEditor = new MemoryEditor(m_memory->session(), this);
        m_memoryEditor->setWindowFlag(Qt::Window);
        m_memoryEditor->setFont(font());
        renewAccessibleDescriptions(m_memoryEditor);
    }
    m_memoryEditor->show();
    m_memoryEditor->raise();
    m_memoryEditor->activateWindow();
}

void TFMain::offerRecoveredSlotChanges() {
    const QString path = offerRecoveredChanges(SlotBackupStore());
    if (!path.isEmpty())
        openFileFromCommandLine(path);
}

bool TFMain::openFileFromCommandLine(const QString &path) {
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("Mem"), Qt::CaseInsensitive) == 0) {
        MI_MemorySlotsClick();
        m_memoryEditor->actions()->openMemFile(path);
        return true;
    }
    if (suffix.compare(QLatin1String("RPD"), Qt::CaseInsensitive) == 0) {
        showPage(kPageUpdate);
        m_update->selectUploadFile(path);
        return true;
    }
    return false;
}

void TFMain::FormCloseQuery() {
    if (m_closed)
        return;
    m_closed = true;
    m_display->stopLive(); // a live frame is aborted with the abort byte
    // An operation may be waiting below this handler: its wait ends now,
    // and it sends nothing more and shows no outcome.
    m_link.beginShutdown();
    if (pageShown() == kPageTerminal)
        showPage(kPageUpdate); // runs PC_mainChange: 0x0D 0x00 over USB
    m_link.drainWlan();
    m_link.closeTcp();
    m_link.closeUsb();
}

bool TFMain::confirmLeavingSlotChanges() {
    if (m_memoryEditor)
        m_memoryEditor->page()->commitEdits();
    m_memory->commitEdits();
    return !m_memory->model().isModified() ||
           dialogs().confirmYesNo(QStringLiteral("The memory slots have changes that are not "
                                                 "saved. Close the application anyway?"));
}

void TFMain::systemCloseRequested() {
    // What the request stops is told where it was asked from; the bar of
    // the page shows how far it got.
    if (const QString running = m_link.runningOperation(); !m_closed && !running.isEmpty()) {
        QString far;
        for (const QProgressBar *bar : findChildren<QProgressBar *>())
            if (bar->isVisible() && bar->maximum() > bar->minimum()) {
                far = QStringLiteral(" at %1%").arg(qRound(100.0 * (bar->value() - bar->minimum()) /
                                                           (bar->maximum() - bar->minimum())));
                break;
            }
        std::fprintf(stderr, "lmkinterface: %s stopped%s: closed by %s.\n", qPrintable(running),
                     qPrintable(far), qPrintable(SystemCloseRequest::lastSignalName()));
    }
    // The cell being typed into is part of the changes.
    if (!m_closed && m_memoryEditor)
        m_memoryEditor->page()->commitEdits();
    if (!m_closed)
        m_memory->commitEdits();
    if (!m_closed && m_memory->model().isModified()) {
        // Nobody is there to answer a question: the changes go to a file of
        // their own, offered at the next start.
        QString error;
        const QString path =
            SlotBackupStore().saveRecovery(m_memory->session().image().data(), &error);
        if (!path.isEmpty())
            std::fprintf(stderr, "Unsaved memory slot changes saved to %s\n",
                         qPrintable(QDir::toNativeSeparators(path)));
        else
            std::fprintf(stderr, "Unsaved memory slot changes could not be saved: %s\n",
                         qPrintable(error));
    }
    m_systemClose = true;
    close();
    // A message box or another wait may run below this handler: every
    // event loop ends, so the process ends.
    QCoreApplication::quit();
}

void TFMain::closeEvent(QCloseEvent *e) {
    // Unsaved slot changes are asked about before anything shuts down; No
    // leaves everything as it was.
    if (!m_closed && !m_systemClose && !confirmLeavingSlotChanges()) {
        e->ignore();
        return;
    }
    FormCloseQuery();
    if (m_memoryEditor)
        m_memoryEditor->hide(); // its changes were asked about above
    e->accept();
}

} // namespace lmk
