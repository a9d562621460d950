#pragma once
// The main window FMain: the top row of connection fields, the page control
// PC_main with its five pages, the main menu, start-up, page change, File
// menu routing and shutdown. The pages do the features' work; the device
// link does discovery and supervision, bound here to the top row and menu.

#include <QFont>
#include <QMainWindow>
#include <QString>

class QAction;
class QCheckBox;
class QLineEdit;
class QTabWidget;

namespace lmk {

class DeviceLink;
class UpdatePage;
class DisplayPage;
class SamplePage;
class MemoryPage;
class MemoryEditor;
class TerminalPage;
class TDLG_Info;

// Default extension and filter of a file dialog; every use sets both anew.
struct FileDialogSetup {
    QString defaultExt;
    QString filter;
};

class TFMain : public QMainWindow {
    Q_OBJECT
  public:
    explicit TFMain(DeviceLink &link, QWidget *parent = nullptr);
    ~TFMain() override;

    DeviceLink &link() { return m_link; }
    // Index of the shown page among the visible tabs (2 = "USB Terminal").
    int pageShown() const;
    void showPage(int visibleIndex);

    // Creation handler: probe, USB, picture, grid headings, synchronise,
    // version request.
    void FormCreate();
    void PC_mainChange();
    void MI_OeffnenClick();
    void MI_SpeichernClick();
    void MI_BeendenClick();
    void MI_InfoClick();
    // Interface, Find USB Device / Find WLAN Connection.
    void MI_USBClick();
    void MI_WLANClick();
    // Interface, Memory Slots: the memory editor window, created on first use.
    void MI_MemorySlotsClick();
    MemoryEditor *memoryEditor() const { return m_memoryEditor; }
    // A file named on the command line (or by the file manager): a .Mem
    // file opens in the memory editor, an .RPD file becomes the upload
    // file. False for any other file, which is left alone.
    bool openFileFromCommandLine(const QString &path);
    // Close handler: leave terminal mode, drain, close WLAN and USB.
    void FormCloseQuery();
    // At start: unsaved slot changes kept when the program last had to end
    // are offered once (opened in the memory editor on Yes).
    void offerRecoveredSlotChanges();
    // The system asks the program to end (SIGTERM): unsaved slot changes
    // (the cell being typed into included) are saved as a recovery .Mem of
    // its own in the backups folder, named on standard error, and the
    // program ends without asking.
    void systemCloseRequested();
    // The close handler has run; the window is gone for good.
    bool isClosed() const { return m_closed; }

    // The Info dialog, created hidden after the window (program entry); the
    // Info menu item creates it if it is still missing.
    TDLG_Info *createInfoDialog();
    TDLG_Info *infoDialog() const { return DLG_Info; }

    const FileDialogSetup &openDialogSetup() const { return OD_App; }
    const FileDialogSetup &saveDialogSetup() const { return SD_Datei; }

    UpdatePage *updatePage() const { return m_update; }
    DisplayPage *displayPage() const { return m_display; }
    SamplePage *samplePage() const { return m_sample; }
    MemoryPage *memoryPage() const { return m_memory; }
    TerminalPage *terminalPage() const { return m_terminal; }

    // View, Desktop style: the desktop's palette and font instead of the
    // program's look, the client area grown with the font.
    void setDesktopStyle(bool on);
    bool desktopStyle() const;
    // Grows or shrinks the client area with the window's font (desktop
    // style; the program's own look has the geometry it was built with).
    void fitToFont();
    // The stored choice of the look (start-up).
    void restoreDesktopStyle();

    // The window's font. The program makes it the application's font too:
    // under a style sheet, fonts do not reach every child of a window.
    static QFont defaultFont();

    // Client area of the window (without the menu bar).
    static constexpr int kClientWidth = 1007;
    static constexpr int kClientHeight = 586;

  protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

  private:
    void buildTopRow(QWidget *central);
    void buildPages(QWidget *central);
    void buildMenu();
    void buildViewMenu();
    QString askOpen(const QString &defaultExt, const QString &filter);
    QString askSave(const QString &defaultExt, const QString &filter);
    // True when the memory slots have no unsaved changes or the user lets
    // them go.
    bool confirmLeavingSlotChanges();

    DeviceLink &m_link;
    QLineEdit *EUSBDevice = nullptr;
    QCheckBox *CB_WLAN = nullptr;
    QLineEdit *EWLANDevice = nullptr;
    QTabWidget *PC_main = nullptr;
    QWidget *m_client = nullptr; // the client area, inside a scroller
    QAction *m_desktopStyleAction = nullptr;
    UpdatePage *m_update = nullptr;
    DisplayPage *m_display = nullptr;
    SamplePage *m_sample = nullptr;
    MemoryPage *m_memory = nullptr;
    TerminalPage *m_terminal = nullptr;
    MemoryEditor *m_memoryEditor = nullptr;
    TDLG_Info *DLG_Info = nullptr;
    FileDialogSetup OD_App;
    FileDialogSetup SD_Datei;
    bool m_closed = false;
    bool m_systemClose = false;
    int m_shownTab = 0; // PC_main's index of the page shown (never a hidden one)
};

} // namespace lmk
