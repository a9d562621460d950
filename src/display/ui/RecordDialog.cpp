#include "display/ui/RecordDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace lmk {

RecordDialog::RecordDialog(const RecordSettings &initial, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RecordDialog"));
    setWindowTitle(QStringLiteral("Record"));
    auto *form = new QFormLayout;

    m_folder = new QLineEdit(initial.folder, this);
    m_folder->setObjectName(QStringLiteral("E_RecordFolder"));
    auto *browse = new QPushButton(QStringLiteral("Browse..."), this);
    browse->setObjectName(QStringLiteral("B_RecordBrowse"));
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString dir = QFileDialog::getExistingDirectory(this, QStringLiteral("Folder"), m_folder->text());
        if (!dir.isEmpty())
            m_folder->setText(dir);
    });
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder);
    folderRow->addWidget(browse);
    // A row whose field is a layout gets no buddy from the form: the label
    // is made here, so that it shows "Folder:" and Alt+F reaches the field.
    auto *folderLabel = new QLabel(QStringLiteral("&Folder:"), this);
    folderLabel->setObjectName(QStringLiteral("L_RecordFolder"));
    folderLabel->setBuddy(m_folder);
    form->addRow(folderLabel, folderRow);

    m_numbered = new QRadioButton(QStringLiteral("&Numbered (frame-0001.png)"), this);
    m_numbered->setObjectName(QStringLiteral("RB_RecordNumbered"));
    m_timeStamped = new QRadioButton(QStringLiteral("&Time-stamped (frame-YYYYMMDD-HHMMSS.png)"), this);
    m_timeStamped->setObjectName(QStringLiteral("RB_RecordTimeStamped"));
    (initial.naming == RecordSettings::TimeStamped ? m_timeStamped : m_numbered)->setChecked(true);
    auto *names = new QVBoxLayout;
    names->addWidget(m_numbered);
    names->addWidget(m_timeStamped);
    form->addRow(QStringLiteral("Names:"), names);

    m_every = new QSpinBox(this);
    m_every->setObjectName(QStringLiteral("SE_RecordEvery"));
    m_every->setRange(0, 3600);
    m_every->setValue(initial.everySeconds);
    m_every->setSpecialValueText(QStringLiteral("every frame"));
    m_every->setSuffix(QStringLiteral(" s"));
    form->addRow(QStringLiteral("&One frame every:"), m_every);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

RecordSettings RecordDialog::settings() const {
    RecordSettings s;
    s.folder = m_folder->text();
    s.naming = m_timeStamped->isChecked() ? RecordSettings::TimeStamped : RecordSettings::Numbered;
    s.everySeconds = m_every->value();
    return s;
}

std::optional<RecordSettings> RecordDialog::ask(const RecordSettings &initial, QWidget *parent) {
    RecordDialog dlg(initial, parent);
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.settings();
}

} // namespace lmk
