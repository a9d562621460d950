#pragma once
// Page "Update 54/55" (TS_Download): the upload target, the external task
// list with "Search", "Synchronize" with its two indicators, and the upload
// group with "Start". The page reads its controls, runs the operations of
// src/upload and shows what they report.

#include "upload/UploadProgress.h"

#include <QColor>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace lmk {
class DeviceLink;
class SyncOperation;
class TaskListReader;
class TaskSearchOperation;
class UploadOperation;

class UpdatePage : public QWidget {
    Q_OBJECT
  public:
    // Font colours of the group boxes. The grey is dark enough to be read
    // (4.5:1 on the page) and still lighter than the black of a live group.
    static inline const QColor kGrey{96, 96, 96};
    static inline const QColor kBlue{0, 0, 255};
    static inline const QColor kBlack{0, 0, 0};

    UpdatePage(DeviceLink &link, QWidget *parent = nullptr);
    ~UpdatePage() override;

    // "Synchronize"; start-up runs it once without a click.
    void B_SyncClick();
    bool bootActive() const;   // CB_Boot
    bool configActive() const; // CB_Konfiguration
    // File, Open on this page: the chosen upload file.
    void selectUploadFile(const QString &path);

    void RG_TargetClick();
    void B_SearchClick();
    void B_StartClick();

    QString uploadFileName() const { return m_uploadFileName; } // UploadFileName
    int targetIndex() const;                                    // RG_Target's item index
    void setTargetIndex(int index);                             // the page follows as on a click

    UploadOperation &uploadOperation() { return *m_upload; }

  private:
    void buildControls();
    void setUploadControlsEnabled(bool on);
    void showCounter(qint64 value);
    void flushCounter();
    // The group's text in `c`, or as near to it as reads on the palette.
    static void setFontColor(QWidget *w, const QColor &c);

  protected:
    void changeEvent(QEvent *e) override;

  private:

    DeviceLink &m_link;
    QString m_uploadFileName;

    QLabel *Label2 = nullptr;
    QListWidget *LB_Applikation = nullptr;
    QGroupBox *RG_Target = nullptr;
    QButtonGroup *m_targetItems = nullptr;
    QGroupBox *GB_Extern = nullptr;
    QComboBox *CB_Tasks = nullptr;
    QPushButton *B_Search = nullptr;
    QPushButton *B_Sync = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    QCheckBox *CB_Boot = nullptr;
    QCheckBox *CB_Konfiguration = nullptr;
    QGroupBox *GB_Download = nullptr;
    QLabel *L_Send = nullptr;
    QLabel *L_Bytes = nullptr;
    QLabel *L_Rate = nullptr; // the transfer rate while an upload runs
    QLabel *L_Left = nullptr; // the time left while an upload runs
    QPushButton *B_Start = nullptr;
    QProgressBar *PB_Sent = nullptr;

    TaskListReader *m_taskList = nullptr;
    SyncOperation *m_sync = nullptr;
    TaskSearchOperation *m_search = nullptr;
    UploadOperation *m_upload = nullptr;

    // L_Bytes follows the byte counter at most every kCounterDisplayMs: a
    // fast transfer changes it for every packet, and repainting it each
    // time would cost more than the transfer itself.
    static constexpr int kCounterDisplayMs = 20;
    static constexpr int kRateDisplayMs = 100; // L_Rate while an upload runs
    qint64 m_counter = 0;
    bool m_counterPending = false;
    QElapsedTimer m_counterShown;
    QElapsedTimer m_uploadClock; // since the running upload started
    QElapsedTimer m_rateShown;
    UploadProgress m_progress;
    QTimer m_counterTimer;
};

} // namespace lmk
