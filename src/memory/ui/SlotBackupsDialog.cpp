#include "memory/ui/SlotBackupsDialog.h"

#include "link/Dialogs.h"
#include "memory/MemoryImage.h"
#include "memory/MemorySession.h"
#include "memory/SlotBackups.h"
#include "memory/SlotDiff.h"
#include "memory/ui/SlotTableModel.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace lmk {

namespace {
// "slots_2026-12-10_13-45-07.Mem" (a second one within a second has a
// suffix); the file's time when the name says none.
QDateTime backupTime(const QString &path) {
    const QFileInfo info(path);
    const QDateTime named = QDateTime::fromString(info.completeBaseName().mid(6, 19),
                                                  QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    return named.isValid() ? named : info.lastModified();
}
} // namespace

SlotBackupsDialog::SlotBackupsDialog(SlotTableModel &model, const QString &directory,
                                     QWidget *parent)
    : QDialog(parent), m_model(model), m_paths(SlotBackupStore(directory).list()) {
    setObjectName(QStringLiteral("SlotBackupsDialog"));
    setWindowTitle(QStringLiteral("Backups of the receiver's slots"));
    auto *layout = new QVBoxLayout(this);
    auto *caption = new QLabel(QStringLiteral("&Backups, newest first:"), this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("LB_Backups"));
    caption->setBuddy(m_list);
    m_list->setAccessibleName(QStringLiteral("Backups"));
    const QByteArray shown = model.session().image().data();
    for (const QString &path : std::as_const(m_paths)) {
        MemoryImage backup;
        QString line = backupTime(path).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!backup.loadFromFile(path)) {
            line += QStringLiteral("   cannot be read");
        } else {
            const SlotImageDiff d = diffSlotImages(shown, backup.data());
            line += d.differing.isEmpty()
                        ? QStringLiteral("   same as the slots shown")
                    : d.differing.size() == 1
                        ? QStringLiteral("   1 slot differs")
                        : QStringLiteral("   %1 slots differ").arg(d.differing.size());
        }
        m_list->addItem(line);
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_open = buttons->addButton(QStringLiteral("&Open"), QDialogButtonBox::AcceptRole);
    m_open->setEnabled(m_list->count() > 0);
    layout->addWidget(caption);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    const auto openCurrent = [this] {
        const QString refusal = openBackup(m_list->currentRow());
        if (refusal.isEmpty())
            accept();
        else
            dialogs().information(refusal);
    };
    connect(buttons, &QDialogButtonBox::accepted, this, openCurrent);
    connect(m_list, &QListWidget::itemActivated, this, openCurrent);
}

QStringList SlotBackupsDialog::lines() const {
    QStringList out;
    for (int i = 0; i < m_list->count(); ++i)
        out << m_list->item(i)->text();
    return out;
}

QString SlotBackupsDialog::openBackup(int row) {
    if (row < 0 || row >= m_paths.size())
        return QStringLiteral("Choose a backup first.");
    MemoryImage backup;
    QString error;
    if (!backup.loadFromFile(m_paths[row], &error))
        return error;
    if (!m_model.applyImage(QStringLiteral("Open Backup %1").arg(QFileInfo(m_paths[row]).fileName()),
                            backup.data()))
        return QStringLiteral("The memory slots are being transferred; nothing was changed.");
    return {};
}

} // namespace lmk
