#pragma once
// File, Backups… of the memory editor: the backups of the receiver's slots,
// newest first, then the recovery files (unsaved changes kept when the
// program had to end), each with the time it was made and how many slots
// differ from the slots shown; Open makes the chosen one the image as one
// undo step.

#include <QDialog>

class QListWidget;
class QPushButton;

namespace lmk {

class SlotTableModel;

class SlotBackupsDialog : public QDialog {
    Q_OBJECT
  public:
    SlotBackupsDialog(SlotTableModel &model, const QString &directory, QWidget *parent = nullptr);

    // One line per backup: "2026-12-10 13:45:07   3 slot(s) differ"; a
    // recovery file's line says "unsaved changes (recovered)" after the
    // time.
    QStringList lines() const;
    // Opens the backup in row `row` (0: the newest); the refusal text, or
    // empty when it is the image now.
    QString openBackup(int row);

  private:
    SlotTableModel &m_model;
    QStringList m_paths;
    QListWidget *m_list = nullptr;
    QPushButton *m_open = nullptr;
};

} // namespace lmk
