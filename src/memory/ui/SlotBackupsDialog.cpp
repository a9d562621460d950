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

SlotBackupsDialog::SlotBackupsDialog(SlotTableModel &model, const QString &directory,
                                     QWidget *parent)
    : QDialog(parent), m_model(model) {
    // The backups, then the unsaved changes kept when the program had to
    // end without asking; each newest first.
    const SlotBackupStore store(directory);
    QList<SlotBackup> entries = store.backups();
    const qsizetype backupCount = entries.size();
    entries += store.recoveries();
    setObjectName(QStringLiteral("SlotBackupsDialog"));
    setWindowTitle(QStringLiteral("Backups of the receiver's slots"));
    auto *layout = new QVBoxLayout(this);
    auto *caption = new QLabel(QStringLiteral("&Backups, newest first:"), this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("LB_Backups"));
    caption->setBuddy(m_list);
    m_list->setAccessibleName(QStringLiteral("Backups"));
    const QByteArray shown = model.session().image().data();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString &path = entries[i].path;
        m_paths << path;
        MemoryImage backup;
        QString line = entries[i].time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (i >= backupCount)
            line += QStringLiteral("   unsaved changes (recovered)");
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
    const QString name = QFileInfo(m_paths[row]).fileName();
    if (!m_model.applyImage(name.startsWith(QLatin1String("recovery_"))
                                ? QStringLiteral("Open Recovered %1").arg(name)
                                : QStringLiteral("Open Backup %1").arg(name),
                            backup.data()))
        return QStringLiteral("The memory slots are being transferred; nothing was changed.");
    return {};
}

} // namespace lmk
