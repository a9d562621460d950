#pragma once
// "Record…": where and how the live mirror's frames are written.

#include "display/picture/FrameRecorder.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace lmk {

class RecordDialog : public QDialog {
    Q_OBJECT
public:
    explicit RecordDialog(const RecordSettings &initial, QWidget *parent = nullptr);
    RecordSettings settings() const;

    // Shows the dialog; nothing when cancelled.
    static std::optional<RecordSettings> ask(const RecordSettings &initial, QWidget *parent);

private:
    QLineEdit *m_folder = nullptr;
    QRadioButton *m_numbered = nullptr;
    QRadioButton *m_timeStamped = nullptr;
    QSpinBox *m_every = nullptr;
};

} // namespace lmk
