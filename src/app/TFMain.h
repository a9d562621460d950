#pragma once
// The main window FMain: the top row of connection fields, the page control
// PC_main with its five pages, the main menu, start-up, page change, File
// menu routing and shutdown. The pages do the features' work.

#include <QMainWindow>

class QCheckBox;
class QLineEdit;
class QTabWidget;

namespace lmk {

class DeviceLink;
class UpdatePage;
class DisplayPage;
class SamplePage;
class MemoryPage;
class TerminalPage;

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
    // Close handler: leave terminal mode, drain, close WLAN and USB.
    void FormCloseQuery();

    UpdatePage *updatePage() const { return m_update; }
    DisplayPage *displayPage() const { return m_display; }
    SamplePage *samplePage() const { return m_sample; }
    MemoryPage *memoryPage() const { return m_memory; }
    TerminalPage *terminalPage() const { return m_terminal; }

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void buildTopRow(QWidget *central);
    void buildPages(QWidget *central);
    void buildMenu();

    DeviceLink &m_link;
    QLineEdit *EUSBDevice = nullptr;
    QCheckBox *CB_WLAN = nullptr;
    QLineEdit *EWLANDevice = nullptr;
    QTabWidget *PC_main = nullptr;
    UpdatePage *m_update = nullptr;
    DisplayPage *m_display = nullptr;
    SamplePage *m_sample = nullptr;
    MemoryPage *m_memory = nullptr;
    TerminalPage *m_terminal = nullptr;
    bool m_closed = false;
};

} // namespace lmk
