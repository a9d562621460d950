#pragma once
// File, Import Frequency List… of the memory editor: a gqrx bookmarks file,
// a CHIRP CSV or the EiBi schedule with the format its content shows (or
// the one chosen), its entries in a table with check boxes, the filters
// (text, range in kHz, on air at a UTC time on a day), the first slot, and
// what each chosen entry becomes. Import puts the chosen entries onto the
// slots as one undo step; every other byte stays as it was.
//
// File, Export Frequency List… writes the slots as gqrx bookmarks or as a
// CHIRP CSV. Both files go through the dialogs seam.

#include "memory/FrequencyList.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace lmk {

class MemoryEditor;
class SlotTableModel;

class FrequencyListDialog : public QDialog {
    Q_OBJECT
  public:
    // Table columns.
    enum Column { ColChosen, ColFrequency, ColName, ColMode, ColTime, ColDays, ColDetails, ColBecomes, ColumnCount };

    FrequencyListDialog(SlotTableModel &model, const QString &path, const QByteArray &bytes,
                        QWidget *parent = nullptr);

    // The list as read now (in the format chosen).
    const FrequencyList &list() const { return m_list; }
    QTableWidget *table() const { return m_table; }
    // The entries that would be imported: checked, shown by the filters and
    // holdable, in the list's order.
    QList<int> chosenEntries() const;
    // Puts them onto the slots as one undo step; the refusal, or empty when
    // they are on the slots now (and the dialog is accepted).
    QString importChosen();
    // What the import did, for the editor's status line.
    QString resultText() const { return m_result; }

  private:
    void readList(FrequencyListFormat format);
    void fillTable();
    void applyFilters();
    void updatePreview();

    SlotTableModel &m_model;
    QString m_path;
    QByteArray m_bytes;
    FrequencyList m_list;
    QString m_result;
    QComboBox *m_format = nullptr;
    QLabel *m_notes = nullptr;
    QLineEdit *m_match = nullptr;
    QLineEdit *m_range = nullptr;
    QLineEdit *m_onAir = nullptr;
    QComboBox *m_day = nullptr;
    QSpinBox *m_firstSlot = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_summary = nullptr;
    QPushButton *m_import = nullptr;
    bool m_filling = false;
};

// File, Import Frequency List…: asks for the file, then opens the dialog
// (window-modal); `showStatus` gets what an import did.
void openFrequencyListImport(MemoryEditor &editor, const std::function<void(const QString &)> &showStatus);

// File, Export Frequency List…: asks for the file and its format; the text
// for the status line, or empty when cancelled or refused.
QString exportFrequencyListFile(MemoryEditor &editor);

} // namespace lmk
