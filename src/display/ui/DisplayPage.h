#pragma once
// Page "Display Copy" (TS_Dispcpy): scan, area, presets, frame colour, export.
// The handlers read the controls, run the scan operation and show what it
// reports; the bytes of the scan belong to ScanOperation.

#include "display/CaptureFacts.h"
#include "display/ScanArea.h"
#include "display/picture/FrameRecorder.h"

#include <QColor>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace lmk {
class DeviceLink;
class LiveMirror;
class ScanOperation;
class ScanImageView;
class ColorSwatch;

class DisplayPage : public QWidget {
    Q_OBJECT
public:
    DisplayPage(DeviceLink &link, QWidget *parent = nullptr);
    ~DisplayPage() override;

    // Start-up: fill the whole scan picture with the frame colour.
    void fillFrame();
    // File, Save on this page: the whole picture (exportPicture()) as a
    // 24-bit BMP, or as PNG for a name ending in .png, enlarged `scale`
    // times (1 to 4, whole pixels); a PNG carries the capture's facts. An
    // existing file is replaced as a whole, and a failure is reported and
    // leaves it intact.
    void savePicture(const QString &path, int scale = 1);
    // What Save and "To Clipboard" take: the picture, or while "Live" runs
    // its last complete frame (before the first one: the picture as it was
    // when "Live" started), never a frame still being drawn.
    const QImage &exportPicture() const;
    // The facts of exportPicture(): receiver, area, time of its scan.
    CaptureFacts exportFacts() const;

    // Handlers of the page's controls.
    void B_DispcpyClick();
    void B_AbortClick();
    void SE_XChange();
    void SE_YChange();
    void SE_BChange();
    void SE_HChange();
    void RB_GVGAClick();
    void RB_GWVGAClick();
    void RB_DVGAClick();
    void RB_DWVGAClick();
    void S_RahmenMouseUp();
    void B_ClipClick();
    // "Live" checked: scans of the current area follow each other until it
    // is unchecked (the running scan then finishes) or a scan does not end
    // with all its data; that outcome unchecks "Live" and is shown once.
    void CB_LiveToggled(bool on);
    // Ends the live mirror at once, before anything else uses the link: the
    // running scan is aborted with the abort byte, nothing is shown.
    void stopLive();
    bool liveRunning() const;
    // "Record…": asks where and how, then writes every complete frame of
    // the live mirror (or one every N seconds) until "Live" stops; starts
    // "Live" when it is not running. L_Record shows the frames written.
    void B_RecordClick();
    bool recording() const { return m_recorder.isRecording(); }
    const FrameRecorder &recorder() const { return m_recorder; }
    // Where "Record…" asks; the window's dialog unless replaced (tests).
    void setRecordPrompt(std::function<std::optional<RecordSettings>(const RecordSettings &)> prompt) {
        m_recordPrompt = std::move(prompt);
    }

    // The scan picture (810 x 490, 24 bits per pixel) and the frame colour.
    const QImage &picture() const;
    QColor frameColour() const { return m_frameColour; }
    const ScanArea &area() const { return m_area; }
    ScanOperation &scanOperation() { return *m_scan; }

private:
    void applyPreset(ScanPreset p);
    void bindPreset(QRadioButton *button, void (DisplayPage::*handler)());
    void showArea(); // the fields and the image control from m_area
    void showProgress(); // L_Spalte, PB_Scan and L_Rate from the values held below
    void runLive();
    void liveFrameDone();
    void showRecorded();

    DeviceLink &m_link;
    ScanArea m_area;
    QColor m_frameColour = Qt::black;
    ScanOperation *m_scan = nullptr;
    // The counter and the bar change with every column; they are shown at
    // most once per frame of the screen, and at once when the scan ends.
    QTimer m_progressTimer;
    QString m_counterText = QStringLiteral("0");
    int m_progress = 0;
    QElapsedTimer m_scanClock; // since the running scan started
    LiveMirror *m_live = nullptr;
    // The last complete frame while the mirror runs, and the facts of the
    // picture and of that frame.
    QImage m_lastFrame;
    CaptureFacts m_pictureFacts;
    CaptureFacts m_lastFrameFacts;
    QString m_receiverText; // the receiver's version text, as the link last reported it
    FrameRecorder m_recorder;
    RecordSettings m_recordSettings;
    QElapsedTimer m_recordClock;
    std::function<std::optional<RecordSettings>(const RecordSettings &)> m_recordPrompt;
    bool m_pressedPresetWasSelected = false;

    ScanImageView *I_Scan = nullptr;
    QPushButton *B_Dispcpy = nullptr;
    QPushButton *B_Abort = nullptr;
    QCheckBox *CB_Live = nullptr;
    QPushButton *B_Record = nullptr;
    QLabel *L_Record = nullptr; // the frames a recording wrote
    QLabel *L_Rate = nullptr; // the rate while a scan or the mirror runs
    QLabel *L_Spaltet = nullptr;
    QLabel *L_Spalte = nullptr;
    QProgressBar *PB_Scan = nullptr;
    QSpinBox *SE_X = nullptr;
    QSpinBox *SE_Y = nullptr;
    QSpinBox *SE_B = nullptr;
    QSpinBox *SE_H = nullptr;
    QRadioButton *RB_GVGA = nullptr;
    QRadioButton *RB_GWVGA = nullptr;
    QRadioButton *RB_DVGA = nullptr;
    QRadioButton *RB_DWVGA = nullptr;
    ColorSwatch *S_Rahmen = nullptr;
    QPushButton *B_Clip = nullptr;
};

} // namespace lmk
