#pragma once
// Interface > Receiver Address...: the host and port of the receiver's
// access point, saved for later runs (and for lmkctl). LMK_HOST and
// LMK_PORT still win; the dialog says so while one of them is set.

#include <QDialog>

class QLabel;
class QLineEdit;
class QSpinBox;

namespace lmk {

class DeviceLink;

class ReceiverAddressDialog : public QDialog {
    Q_OBJECT
  public:
    explicit ReceiverAddressDialog(DeviceLink &link, QWidget *parent = nullptr);

    QLineEdit *hostEdit() const { return m_host; }
    QSpinBox *portEdit() const { return m_port; }
    // The note about LMK_HOST/LMK_PORT; hidden while neither is set.
    QLabel *environmentNote() const { return m_note; }

    // OK: saves the address and points the link at the address in force.
    void accept() override;

  private:
    DeviceLink &m_link;
    QLineEdit *m_host = nullptr;
    QSpinBox *m_port = nullptr;
    QLabel *m_note = nullptr;
};

} // namespace lmk
