#pragma once
// Page "LMK25E" (TS_LMK54): a display area for samples with its scroll bar,
// the level selector 1..16, capture controls and the list of the computer's
// audio output devices. Only the level and the audio list have behaviour;
// nothing here talks to the receiver.

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTimer;

namespace lmk {
class AudioOutputProvider;
class DeviceLink;

class SamplePage : public QWidget {
    Q_OBJECT
  public:
    SamplePage(DeviceLink &link, QWidget *parent = nullptr);
    ~SamplePage() override;

    // Where B_Audio gets the devices from (not owned); nullptr: Qt Multimedia.
    void setAudioProvider(const AudioOutputProvider *provider);

    void B_MinusClick();
    void B_PLusClick();
    void B_AudioClick();
    void E_EbeneChange() {}
    void SB_DisplayChange() {}
    void Timer2Timer() {}

  private:
    DeviceLink &m_link;
    const AudioOutputProvider *m_provider = nullptr;
    const AudioOutputProvider *m_qtProvider = nullptr;

    QLabel *L_Sample = nullptr;
    QLabel *L_Rate = nullptr;
    QCheckBox *CB_Mess = nullptr;
    QScrollBar *SB_Display = nullptr;
    QPushButton *B_Minus = nullptr;
    QLineEdit *E_Ebene = nullptr;
    QPushButton *B_PLus = nullptr;
    QPushButton *B_Capture = nullptr;
    QPushButton *B_End = nullptr;
    QLabel *I_Display = nullptr;
    QPushButton *B_Audio = nullptr;
    QComboBox *CB_Audio = nullptr;
    QCheckBox *CB_AOK = nullptr;
    QTimer *Timer2 = nullptr;
};

} // namespace lmk
