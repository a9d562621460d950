#include "app/ReceiverAddressDialog.h"

#include "link/DeviceLink.h"
#include "link/ReceiverAddress.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lmk {

ReceiverAddressDialog::ReceiverAddressDialog(DeviceLink &link, QWidget *parent)
    : QDialog(parent), m_link(link) {
    setObjectName(QStringLiteral("DLG_ReceiverAddress"));
    setWindowTitle(QStringLiteral("Receiver Address"));
    const ReceiverAddress saved = savedReceiverAddress();
    const ReceiverAddress now = receiverAddress();

    m_host = new QLineEdit(this);
    m_host->setObjectName(QStringLiteral("E_Host"));
    m_host->setText(saved.host.isEmpty() ? QString::fromLatin1(kDefaultHost) : saved.host);
    m_host->setAccessibleName(QStringLiteral("Host"));
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("SE_Port"));
    m_port->setRange(1, 65535);
    m_port->setValue(saved.port != 0 ? saved.port : kDefaultPort);
    m_port->setAccessibleName(QStringLiteral("Port"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Host:"), m_host);
    form->addRow(QStringLiteral("&Port:"), m_port);

    QStringList set;
    if (now.hostSource == ReceiverAddress::Source::Environment)
        set << QStringLiteral("LMK_HOST=%1").arg(now.host);
    if (now.portSource == ReceiverAddress::Source::Environment)
        set << QStringLiteral("LMK_PORT=%1").arg(now.port);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("L_EnvironmentNote"));
    m_note->setWordWrap(true);
    // Whole sentences, one for each case, so that each reads (and
    // translates) as one text.
    if (set.size() == 1)
        m_note->setText(QStringLiteral("%1 is set in the environment; it wins over the address "
                                       "saved here as long as it is set.")
                            .arg(set[0]));
    else if (set.size() == 2)
        m_note->setText(QStringLiteral("%1 and %2 are set in the environment; they win over the "
                                       "address saved here as long as they are set.")
                            .arg(set[0], set[1]));
    m_note->setVisible(!set.isEmpty());

    auto *hint = new QLabel(QStringLiteral("Saved for later runs, and used by lmkctl too. "
                                           "Interface > Find WLAN Connection connects to it."),
                            this);
    hint->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ReceiverAddressDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ReceiverAddressDialog::reject);
    connect(m_host, &QLineEdit::textChanged, this, [this, buttons] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_host->text().trimmed().isEmpty());
    });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_note);
    layout->addWidget(hint);
    layout->addWidget(buttons);
}

void ReceiverAddressDialog::accept() {
    const QString host = m_host->text().trimmed();
    if (host.isEmpty())
        return;
    saveReceiverAddress(host, quint16(m_port->value()));
    const ReceiverAddress now = receiverAddress();
    m_link.setEndpoint(now.host, now.port);
    QDialog::accept();
}

} // namespace lmk
