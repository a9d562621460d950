#include "display/ui/DisplayPage.h"

#include "display/LiveMirror.h"
#include "display/PictureFile.h"
#include "display/ScanOperation.h"
#include "display/picture/PictureExport.h"
#include "display/ui/ColorSwatch.h"
#include "display/ui/RecordDialog.h"
#include "display/ui/ScanImageView.h"
#include "link/DeviceLink.h"
#include "link/Dialogs.h"
#include "link/Wait.h"

#include "link/ProgressText.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QDateTime>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <utility>

namespace lmk {

namespace {
constexpr int kImageLeft = 8;
constexpr int kImageTop = 8;
constexpr int kPanelLeft = 830;
constexpr int kPanelWidth = 140;
constexpr int kProgressShowMs = 16;

QSpinBox *makeSpin(QWidget *parent, const char *name, const char *label, int max, int value,
                   int top) {
    auto *l = new QLabel(QString::fromLatin1(label), parent);
    l->setGeometry(10, top + 3, 20, 17);
    auto *s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(0, max);
    s->setValue(value);
    s->setGeometry(34, top, 90, 22);
    l->setBuddy(s);
    return s;
}

// "7.6 frames/s"; "-" before the first frame.
QString frameRateText(std::optional<double> perSecond) {
    if (!perSecond)
        return QStringLiteral("-");
    return QStringLiteral("%1 frames/s").arg(*perSecond, 0, 'f', 1);
}

QString programText() {
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral("lmkinterface")
                             : QStringLiteral("lmkinterface ") + version;
}

QRadioButton *makeRadio(QWidget *parent, const char *name, const char *caption, int top) {
    auto *r = new QRadioButton(QString::fromLatin1(caption), parent);
    r->setObjectName(QString::fromLatin1(name));
    r->setGeometry(10, top, 120, 19);
    return r;
}
} // namespace

DisplayPage::DisplayPage(DeviceLink &link, QWidget *parent) : QWidget(parent), m_link(link) {
    setObjectName(QStringLiteral("TS_Dispcpy"));
    m_scan = new ScanOperation(m_link, this);
    m_live = new LiveMirror(m_link, *m_scan, this);
    connect(m_live, &LiveMirror::interrupted, this, [this] {
        const QSignalBlocker block(CB_Live); // another operation stopped it
        CB_Live->setChecked(false);
    });

    I_Scan = new ScanImageView(this);
    I_Scan->move(kImageLeft, kImageTop);

    B_Dispcpy = new QPushButton(QStringLiteral("Scan"), this);
    B_Dispcpy->setObjectName(QStringLiteral("B_Dispcpy"));
    B_Dispcpy->setGeometry(kPanelLeft, 8, 84, 25);
    CB_Live = new QCheckBox(QStringLiteral("Live"), this);
    CB_Live->setObjectName(QStringLiteral("CB_Live"));
    CB_Live->setAccessibleName(QStringLiteral("Live"));
    CB_Live->setGeometry(kPanelLeft + 90, 8, kPanelWidth - 90, 25);
    B_Record = new QPushButton(QStringLiteral("Record\u2026"), this);
    B_Record->setObjectName(QStringLiteral("B_Record"));
    B_Record->setGeometry(kPanelLeft + 70, 38, kPanelWidth - 70, 25);
    B_Abort = new QPushButton(QStringLiteral("Cancel"), this);
    B_Abort->setObjectName(QStringLiteral("B_Abort"));
    B_Abort->setGeometry(kPanelLeft, 38, kPanelWidth, 25);
    B_Abort->setEnabled(false);
    B_Abort->setVisible(false);

    L_Spaltet = new QLabel(QStringLiteral("Column:"), this);
    L_Spaltet->setObjectName(QStringLiteral("L_Spaltet"));
    L_Spaltet->setGeometry(kPanelLeft, 70, 50, 17);
    L_Spalte = new QLabel(QStringLiteral("0"), this);
    L_Spalte->setObjectName(QStringLiteral("L_Spalte"));
    L_Spalte->setGeometry(kPanelLeft + 55, 70, 60, 17);
    PB_Scan = new QProgressBar(this);
    PB_Scan->setObjectName(QStringLiteral("PB_Scan"));
    PB_Scan->setRange(0, 100);
    PB_Scan->setValue(0);
    PB_Scan->setTextVisible(false);
    PB_Scan->setGeometry(kPanelLeft, 92, kPanelWidth, 16);
    PB_Scan->setAccessibleName(QStringLiteral("Scan progress"));
    L_Rate = new QLabel(this);
    L_Rate->setObjectName(QStringLiteral("L_Rate"));
    L_Rate->setAccessibleName(QStringLiteral("Scan rate"));
    L_Rate->setGeometry(kPanelLeft, 454, kPanelWidth, 17);

    auto *area = new QGroupBox(QStringLiteral("Area"), this);
    area->setObjectName(QStringLiteral("GB_Area"));
    area->setGeometry(kPanelLeft, 118, kPanelWidth, 232);
    SE_X = makeSpin(area, "SE_X", "X:", kMaxX, 0, 22);
    SE_Y = makeSpin(area, "SE_Y", "Y:", kMaxY, 0, 48);
    SE_B = makeSpin(area, "SE_B", "W:", kMaxW, 800, 74);
    SE_H = makeSpin(area, "SE_H", "H:", kMaxH, 480, 100);
    RB_GVGA = makeRadio(area, "RB_GVGA", "Full VGA", 132);
    RB_GWVGA = makeRadio(area, "RB_GWVGA", "Full WVGA", 155);
    RB_DVGA = makeRadio(area, "RB_DVGA", "Diagram VGA", 178);
    RB_DWVGA = makeRadio(area, "RB_DWVGA", "Diagram WVGA", 201);
    RB_GWVGA->setChecked(true);

    auto *frameLabel = new QLabel(QStringLiteral("Frame:"), this);
    frameLabel->setObjectName(QStringLiteral("L_Rahmen"));
    frameLabel->setGeometry(kPanelLeft, 366, 50, 17);
    S_Rahmen = new ColorSwatch(this);
    S_Rahmen->setObjectName(QStringLiteral("S_Rahmen"));
    S_Rahmen->setGeometry(kPanelLeft + 55, 362, 25, 25);
    S_Rahmen->setColour(m_frameColour);
    frameLabel->setBuddy(S_Rahmen);

    B_Clip = new QPushButton(QStringLiteral("To Clipboard"), this);
    B_Clip->setObjectName(QStringLiteral("B_Clip"));
    B_Clip->setGeometry(kPanelLeft, 400, kPanelWidth, 25);
    L_Record = new QLabel(this);
    L_Record->setObjectName(QStringLiteral("L_Record"));
    L_Record->setAccessibleName(QStringLiteral("Recorded frames"));
    L_Record->setGeometry(kPanelLeft, 432, kPanelWidth, 17);

    showArea();

    connect(B_Dispcpy, &QPushButton::clicked, this, &DisplayPage::B_DispcpyClick);
    connect(B_Abort, &QPushButton::clicked, this, &DisplayPage::B_AbortClick);
    connect(SE_X, &QSpinBox::valueChanged, this, &DisplayPage::SE_XChange);
    connect(SE_Y, &QSpinBox::valueChanged, this, &DisplayPage::SE_YChange);
    connect(SE_B, &QSpinBox::valueChanged, this, &DisplayPage::SE_BChange);
    connect(SE_H, &QSpinBox::valueChanged, this, &DisplayPage::SE_HChange);
    bindPreset(RB_GVGA, &DisplayPage::RB_GVGAClick);
    bindPreset(RB_GWVGA, &DisplayPage::RB_GWVGAClick);
    bindPreset(RB_DVGA, &DisplayPage::RB_DVGAClick);
    bindPreset(RB_DWVGA, &DisplayPage::RB_DWVGAClick);
    connect(S_Rahmen, &ColorSwatch::activated, this, &DisplayPage::S_RahmenMouseUp);
    connect(B_Clip, &QPushButton::clicked, this, &DisplayPage::B_ClipClick);
    connect(CB_Live, &QCheckBox::toggled, this, &DisplayPage::CB_LiveToggled);
    connect(B_Record, &QPushButton::clicked, this, &DisplayPage::B_RecordClick);
    connect(m_live, &LiveMirror::frameDone, this, &DisplayPage::liveFrameDone);
    connect(&m_link, &DeviceLink::usbDeviceTextChanged, this,
            [this](const QString &text) { m_receiverText = text; });
    connect(&m_link, &DeviceLink::wlanDeviceTextChanged, this,
            [this](const QString &text) { m_receiverText = text; });
    m_recordPrompt = [this](const RecordSettings &initial) { return RecordDialog::ask(initial, this); };
    m_pictureFacts.program = programText();

    m_progressTimer.setSingleShot(true);
    m_progressTimer.setInterval(kProgressShowMs);
    connect(&m_progressTimer, &QTimer::timeout, this, &DisplayPage::showProgress);
    connect(m_scan, &ScanOperation::runningChanged, this, [this](bool running) {
        if (running) {
            m_scanClock.start();
            // The picture shows this scan from now on.
            m_pictureFacts = CaptureFacts{m_receiverText, m_scan->area(),
                                          QDateTime::currentDateTime(), programText()};
            if (!m_live->isRunning()) // the mirror shows its picture while it runs
                I_Scan->setVisible(false);
        } else {
            showProgress();
            if (!m_live->isRunning())
                L_Rate->clear();
        }
        B_Dispcpy->setEnabled(!running && !m_live->isRunning());
        B_Abort->setEnabled(running);
    });
    connect(m_scan, &ScanOperation::counterChanged, this, [this](const QString &text) {
        m_counterText = text;
        if (!m_progressTimer.isActive())
            m_progressTimer.start();
    });
    connect(m_scan, &ScanOperation::progressChanged, this, [this](int position) {
        m_progress = position;
        if (!m_progressTimer.isActive())
            m_progressTimer.start();
    });
    connect(m_scan, &ScanOperation::columnReceived, this,
            [this](int c, const quint8 *rgb, int h) {
                I_Scan->setColumn(c + kFrameBand, kFrameBand, rgb, h);
            });
}

DisplayPage::~DisplayPage() = default;

const QImage &DisplayPage::picture() const { return I_Scan->picture(); }

void DisplayPage::showArea() {
    const struct {
        QSpinBox *box;
        int value;
    } fields[] = {{SE_X, m_area.x()}, {SE_Y, m_area.y()}, {SE_B, m_area.w()}, {SE_H, m_area.h()}};
    for (const auto &f : fields) {
        if (f.box->value() != f.value) {
            const QSignalBlocker block(f.box);
            f.box->setValue(f.value);
        }
    }
    I_Scan->resize(m_area.imageSize());
}

// ------------------------------------------------------------------- scan

void DisplayPage::showProgress() {
    m_progressTimer.stop();
    L_Spalte->setText(m_counterText);
    PB_Scan->setValue(m_progress);
    if (m_live->isRunning())
        L_Rate->setText(frameRateText(m_live->currentRate()));
    else if (m_scan->isRunning())
        L_Rate->setText(rateText(m_scan->counter() < 0 ? 0 : m_scan->counter(),
                                 m_scanClock.elapsed(), ProgressUnit::Columns));
}

void DisplayPage::B_DispcpyClick() {
    if (m_scan->isRunning() || m_live->isRunning())
        return;
    I_Scan->fillRect(I_Scan->size(), m_frameColour);
    const ScanOutcome outcome = m_scan->run(m_area.values());
    if (m_link.shuttingDown()) // the window closed during the scan
        return;
    I_Scan->setVisible(true);
    processPendingEvents();
    dialogs().information(QString::fromLatin1(outcome.statusText));
}

void DisplayPage::B_AbortClick() { m_scan->abort(); }

// ------------------------------------------------------------ live mirror

void DisplayPage::CB_LiveToggled(bool on) {
    // Started from the event loop, so that whatever toggled the check box
    // (a click, a key, the program) returns at once.
    if (on)
        QTimer::singleShot(0, this, &DisplayPage::runLive);
    else
        m_live->finish();
}

void DisplayPage::runLive() {
    if (m_live->isRunning() || !CB_Live->isChecked())
        return;
    if (m_scan->isRunning()) { // a scan of "Scan" runs: the mirror follows it
        QTimer::singleShot(kWaitSliceMs, this, &DisplayPage::runLive);
        return;
    }
    B_Dispcpy->setEnabled(false);
    // Until the first frame is complete, the picture as it was is the last one.
    m_lastFrame = I_Scan->picture();
    m_lastFrameFacts = m_pictureFacts;
    I_Scan->fillRect(I_Scan->size(), m_frameColour);
    const QString failure = m_live->run([this] { return m_area.values(); });
    L_Rate->clear();
    m_lastFrame = QImage();
    if (m_recorder.isRecording()) {
        m_recorder.stop();
        showRecorded();
    }
    B_Record->setEnabled(true);
    B_Dispcpy->setEnabled(!m_scan->isRunning());
    if (!failure.isEmpty()) {
        CB_Live->setChecked(false);
        processPendingEvents();
        dialogs().information(failure);
    } else if (CB_Live->isChecked()) { // checked again while the last frame ran
        QTimer::singleShot(0, this, &DisplayPage::runLive);
    }
}

bool DisplayPage::liveRunning() const { return m_live->isRunning(); }

void DisplayPage::liveFrameDone() {
    // The picture holds a complete frame now; the next one draws over it.
    m_lastFrame = I_Scan->picture();
    m_lastFrameFacts = m_pictureFacts;
    if (m_recorder.isRecording()) {
        const QString error = m_recorder.offer(m_lastFrame, m_lastFrameFacts, m_recordClock.elapsed());
        showRecorded();
        if (!error.isEmpty()) { // the recording ends; "Live" goes on
            m_recorder.stop();
            B_Record->setEnabled(true);
            showRecorded();
            dialogs().information(error);
        }
    }
    showProgress();
}

// ---------------------------------------------------------------- record

void DisplayPage::showRecorded() {
    const int n = m_recorder.written();
    L_Record->setText(QStringLiteral("%1: %2 %3 written")
                          .arg(m_recorder.isRecording() ? QStringLiteral("Recording")
                                                        : QStringLiteral("Recorded"))
                          .arg(n)
                          .arg(n == 1 ? QStringLiteral("frame") : QStringLiteral("frames")));
}

void DisplayPage::B_RecordClick() {
    if (m_recorder.isRecording() || !m_recordPrompt)
        return;
    const std::optional<RecordSettings> chosen = m_recordPrompt(m_recordSettings);
    if (!chosen)
        return;
    m_recordSettings = *chosen;
    const QString error = m_recorder.start(m_recordSettings);
    if (!error.isEmpty()) {
        dialogs().information(error);
        return;
    }
    m_recordClock.start();
    B_Record->setEnabled(false);
    showRecorded();
    if (!CB_Live->isChecked())
        CB_Live->setChecked(true);
    else if (!m_live->isRunning()) // checked, about to start
        QTimer::singleShot(0, this, &DisplayPage::runLive);
}

void DisplayPage::stopLive() {
    const QSignalBlocker block(CB_Live); // not "finish": stop at once
    CB_Live->setChecked(false);
    m_live->stopNow();
}

// ------------------------------------------------------------------- area

void DisplayPage::SE_XChange() {
    m_area.setX(SE_X->value());
    showArea();
}

void DisplayPage::SE_YChange() {
    m_area.setY(SE_Y->value());
    showArea();
}

void DisplayPage::SE_BChange() {
    m_area.setW(SE_B->value());
    showArea();
}

void DisplayPage::SE_HChange() {
    m_area.setH(SE_H->value());
    showArea();
}

void DisplayPage::applyPreset(ScanPreset p) {
    m_area.applyPreset(p);
    showArea();
}

// A preset applies when its button becomes the selected one, whoever selects
// it (mouse, keyboard, a screen reader's toggle action, the program). A click
// on the preset that is already selected applies it again: it restores the
// area after the fields were edited.
void DisplayPage::bindPreset(QRadioButton *button, void (DisplayPage::*handler)()) {
    connect(button, &QRadioButton::toggled, this, [this, handler](bool checked) {
        if (checked)
            (this->*handler)();
    });
    connect(button, &QRadioButton::pressed, this,
            [this, button] { m_pressedPresetWasSelected = button->isChecked(); });
    connect(button, &QRadioButton::clicked, this, [this, handler] {
        if (std::exchange(m_pressedPresetWasSelected, false))
            (this->*handler)();
    });
}

void DisplayPage::RB_GVGAClick() { applyPreset(ScanPreset::FullVga); }
void DisplayPage::RB_GWVGAClick() { applyPreset(ScanPreset::FullWvga); }
void DisplayPage::RB_DVGAClick() { applyPreset(ScanPreset::DiagramVga); }
void DisplayPage::RB_DWVGAClick() { applyPreset(ScanPreset::DiagramWvga); }

// ---------------------------------------------------------- frame, export

void DisplayPage::fillFrame() {
    I_Scan->fillRect(QSize(kPictureWidth, kPictureHeight), m_frameColour);
}

void DisplayPage::S_RahmenMouseUp() {
    const std::optional<quint32> chosen = dialogs().chooseColor(m_frameColour.rgb() & 0xFFFFFF);
    if (!chosen)
        return;
    m_frameColour = QColor::fromRgb(QRgb(*chosen | 0xFF000000u));
    S_Rahmen->setColour(m_frameColour);
    I_Scan->fillRect(I_Scan->size(), m_frameColour);
}

const QImage &DisplayPage::exportPicture() const {
    return m_live->isRunning() && !m_lastFrame.isNull() ? m_lastFrame : I_Scan->picture();
}

CaptureFacts DisplayPage::exportFacts() const {
    return m_live->isRunning() && !m_lastFrame.isNull() ? m_lastFrameFacts : m_pictureFacts;
}

void DisplayPage::B_ClipClick() {
    if (QClipboard *cb = QGuiApplication::clipboard())
        cb->setImage(exportPicture());
}

void DisplayPage::savePicture(const QString &path, int scale) {
    // Taken now: a frame that completes while the file is written does not
    // change what is written.
    const QImage picture =
        scaledPicture(exportPicture(), qBound(kMinPictureScale, scale, kMaxPictureScale));
    const CaptureFacts facts = exportFacts();
    const QString error = writeWholeFile(path, [&](QIODevice &file) {
        return writePicture(file, picture, pictureFormatFor(path), facts);
    });
    if (!error.isEmpty())
        dialogs().information(QStringLiteral("Cannot create file \"%1\". %2").arg(path, error));
}

} // namespace lmk
