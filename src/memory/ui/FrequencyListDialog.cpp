#include "memory/ui/FrequencyListDialog.h"

#include "files/UserFiles.h"
#include "link/Dialogs.h"
#include "memory/FrequencyListChirp.h"
#include "memory/FrequencyListGqrx.h"
#include "memory/MemoryImage.h"
#include "memory/MemorySession.h"
#include "memory/SlotRecord.h"
#include "memory/ui/MemoryEditor.h"
#include "memory/ui/MemoryPage.h"
#include "memory/ui/SlotTableModel.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lmk {

namespace {

const char *const kDayNames[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                 "Friday", "Saturday", "Sunday"};

// The frequency in kHz without trailing zeros: "7074", "6070.5", "77.5".
QString khzText(qint64 tenths) {
    const qint64 m = tenths < 0 ? -tenths : tenths;
    QString text = QString::number(m / 10000);
    if (const qint64 rest = m % 10000) {
        QString decimals = QStringLiteral("%1").arg(rest, 4, 10, QLatin1Char('0'));
        while (decimals.endsWith(QLatin1Char('0')))
            decimals.chop(1);
        text += QLatin1Char('.') + decimals;
    }
    return (tenths < 0 ? QStringLiteral("-") : QString()) + text;
}

QString clockText(int minute) {
    return QStringLiteral("%1%2").arg(minute / 60, 2, 10, QLatin1Char('0')).arg(minute % 60, 2, 10, QLatin1Char('0'));
}

QLabel *buddyLabel(const QString &text, QWidget *buddy, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

FrequencyListDialog::FrequencyListDialog(SlotTableModel &model, const QString &path,
                                         const QByteArray &bytes, QWidget *parent)
    : QDialog(parent), m_model(model), m_path(path), m_bytes(bytes) {
    setObjectName(QStringLiteral("FrequencyListDialog"));
    setWindowTitle(QStringLiteral("Import Frequency List - %1").arg(QFileInfo(path).fileName()));

    m_format = new QComboBox(this);
    m_format->setObjectName(QStringLiteral("CB_ListFormat"));
    m_format->setAccessibleName(QStringLiteral("Format of the list"));
    for (FrequencyListFormat f : {FrequencyListFormat::Gqrx, FrequencyListFormat::Chirp,
                                  FrequencyListFormat::Eibi})
        m_format->addItem(frequencyListFormatName(f), int(f));
    m_notes = new QLabel(this);
    m_notes->setObjectName(QStringLiteral("L_ListNotes"));
    m_notes->setWordWrap(true);
    m_notes->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    m_match = new QLineEdit(this);
    m_match->setObjectName(QStringLiteral("E_ListMatch"));
    m_match->setAccessibleName(QStringLiteral("Name contains"));
    m_match->setPlaceholderText(QStringLiteral("part of the name or station"));
    m_range = new QLineEdit(this);
    m_range->setObjectName(QStringLiteral("E_ListRange"));
    m_range->setAccessibleName(QStringLiteral("Range in kHz"));
    m_range->setPlaceholderText(QStringLiteral("5900-6200"));
    m_onAir = new QLineEdit(this);
    m_onAir->setObjectName(QStringLiteral("E_ListOnAir"));
    m_onAir->setAccessibleName(QStringLiteral("On air at, UTC"));
    m_onAir->setPlaceholderText(QStringLiteral("1800"));
    m_day = new QComboBox(this);
    m_day->setObjectName(QStringLiteral("CB_ListDay"));
    m_day->setAccessibleName(QStringLiteral("Day, UTC"));
    m_day->addItem(QStringLiteral("Any day"), 0);
    for (int d = 1; d <= 7; ++d)
        m_day->addItem(QString::fromLatin1(kDayNames[d - 1]), d);
    m_day->setCurrentIndex(QDateTime::currentDateTimeUtc().date().dayOfWeek());
    m_firstSlot = new QSpinBox(this);
    m_firstSlot->setObjectName(QStringLiteral("SE_ListFirstSlot"));
    m_firstSlot->setAccessibleName(QStringLiteral("First slot"));
    m_firstSlot->setRange(1, kSlotCount);

    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("SG_ListEntries"));
    m_table->setAccessibleName(QStringLiteral("Entries of the list"));
    m_table->setColumnCount(ColumnCount);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Import"), QStringLiteral("kHz"),
                                        QStringLiteral("Name"), QStringLiteral("Mode"),
                                        QStringLiteral("Time (UTC)"), QStringLiteral("Days"),
                                        QStringLiteral("Details"), QStringLiteral("Becomes")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setTabKeyNavigation(false);

    auto *checkAll = new QPushButton(QStringLiteral("Check &all shown"), this);
    checkAll->setObjectName(QStringLiteral("B_ListCheckAll"));
    auto *uncheckAll = new QPushButton(QStringLiteral("&Uncheck all shown"), this);
    uncheckAll->setObjectName(QStringLiteral("B_ListUncheckAll"));
    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("L_ListSummary"));
    m_summary->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_import = buttons->addButton(QStringLiteral("&Import"), QDialogButtonBox::AcceptRole);
    m_import->setObjectName(QStringLiteral("B_ListImport"));

    auto *form = new QFormLayout;
    form->addRow(buddyLabel(QStringLiteral("&Format:"), m_format, this), m_format);
    form->addRow(buddyLabel(QStringLiteral("Name &contains:"), m_match, this), m_match);
    form->addRow(buddyLabel(QStringLiteral("&Range (kHz):"), m_range, this), m_range);
    auto *onAirRow = new QHBoxLayout;
    onAirRow->addWidget(m_onAir);
    onAirRow->addWidget(buddyLabel(QStringLiteral("&Day (UTC):"), m_day, this));
    onAirRow->addWidget(m_day);
    form->addRow(buddyLabel(QStringLiteral("On air &at (UTC):"), m_onAir, this), onAirRow);
    form->addRow(buddyLabel(QStringLiteral("First &slot:"), m_firstSlot, this), m_firstSlot);
    auto *checkRow = new QHBoxLayout;
    checkRow->addWidget(checkAll);
    checkRow->addWidget(uncheckAll);
    checkRow->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_notes);
    layout->addWidget(buddyLabel(QStringLiteral("&Entries:"), m_table, this));
    layout->addWidget(m_table, 1);
    layout->addLayout(checkRow);
    layout->addWidget(m_summary);
    layout->addWidget(buttons);
    resize(900, 560);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        const QString refusal = importChosen();
        if (!refusal.isEmpty())
            dialogs().information(refusal);
    });
    connect(m_format, &QComboBox::currentIndexChanged, this, [this] {
        readList(FrequencyListFormat(m_format->currentData().toInt()));
    });
    for (QLineEdit *e : {m_match, m_range, m_onAir})
        connect(e, &QLineEdit::textChanged, this, &FrequencyListDialog::applyFilters);
    connect(m_day, &QComboBox::currentIndexChanged, this, &FrequencyListDialog::applyFilters);
    connect(m_firstSlot, &QSpinBox::valueChanged, this, &FrequencyListDialog::updatePreview);
    connect(m_table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (!m_filling && item->column() == ColChosen)
            updatePreview();
    });
    const auto checkShown = [this](bool on) {
        m_filling = true;
        for (int r = 0; r < m_table->rowCount(); ++r)
            if (!m_table->isRowHidden(r) && (m_table->item(r, ColChosen)->flags() & Qt::ItemIsEnabled))
                m_table->item(r, ColChosen)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        m_filling = false;
        updatePreview();
    };
    connect(checkAll, &QPushButton::clicked, this, [checkShown] { checkShown(true); });
    connect(uncheckAll, &QPushButton::clicked, this, [checkShown] { checkShown(false); });

    const FrequencyListFormat recognized =
        recognizeFrequencyList(bytes).value_or(FrequencyListFormat::Gqrx);
    const int at = m_format->findData(int(recognized));
    m_format->blockSignals(true);
    m_format->setCurrentIndex(at < 0 ? 0 : at);
    m_format->blockSignals(false);
    readList(FrequencyListFormat(m_format->currentData().toInt()));
    m_table->setFocus();
}

void FrequencyListDialog::readList(FrequencyListFormat format) {
    m_list = readFrequencyList(m_bytes, format);
    QStringList notes;
    if (!m_list.ok())
        notes << m_list.error;
    else
        notes << QStringLiteral("%1 entries read as %2.")
                     .arg(m_list.entries.size())
                     .arg(frequencyListFormatName(m_list.format));
    notes << m_list.notes;
    m_notes->setText(notes.join(QLatin1Char('\n')));
    m_notes->setAccessibleName(m_notes->text());
    const bool schedule = m_list.format == FrequencyListFormat::Eibi;
    m_onAir->setEnabled(schedule);
    m_day->setEnabled(schedule);
    fillTable();
    applyFilters();
}

void FrequencyListDialog::fillTable() {
    m_filling = true;
    m_table->setRowCount(0);
    m_table->setRowCount(int(m_list.entries.size()));
    for (int r = 0; r < m_list.entries.size(); ++r) {
        const FrequencyEntry &e = m_list.entries[r];
        auto *check = new QTableWidgetItem(QString::number(e.line));
        check->setToolTip(QStringLiteral("Line %1 of the list").arg(e.line));
        if (entryFitsGrid(e)) {
            check->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            check->setCheckState(Qt::Checked);
        } else {
            check->setFlags(Qt::ItemIsSelectable);
            check->setCheckState(Qt::Unchecked);
        }
        m_table->setItem(r, ColChosen, check);
        m_table->setItem(r, ColFrequency, new QTableWidgetItem(khzText(e.tenths)));
        m_table->setItem(r, ColName, new QTableWidgetItem(e.name));
        m_table->setItem(r, ColMode, new QTableWidgetItem(e.mode));
        m_table->setItem(r, ColTime, new QTableWidgetItem(
                                         e.scheduled ? clockText(e.startMinute) + QLatin1Char('-') +
                                                           clockText(e.endMinute)
                                                     : QString()));
        m_table->setItem(r, ColDays, new QTableWidgetItem(
                                         e.scheduled && e.daysText.isEmpty() ? QStringLiteral("daily")
                                                                             : e.daysText));
        m_table->setItem(r, ColDetails, new QTableWidgetItem(e.details));
        m_table->setItem(r, ColBecomes, new QTableWidgetItem);
    }
    const bool schedule = m_list.format == FrequencyListFormat::Eibi;
    m_table->setColumnHidden(ColTime, !schedule);
    m_table->setColumnHidden(ColDays, !schedule);
    m_table->setColumnHidden(ColDetails, !schedule);
    m_table->resizeColumnsToContents();
    m_filling = false;
}

void FrequencyListDialog::applyFilters() {
    FrequencyFilter filter;
    filter.match = m_match->text();
    QStringList problems;
    if (!m_range->text().trimmed().isEmpty() && !parseKhzRange(m_range->text(), filter))
        problems << QStringLiteral("Range: LOW-HIGH in kHz, e.g. 5900-6200.");
    if (m_onAir->isEnabled() && !m_onAir->text().trimmed().isEmpty()) {
        filter.onAirMinute = minuteFromText(m_onAir->text());
        if (!filter.onAirMinute)
            problems << QStringLiteral("On air at: a time in UTC as HHMM, e.g. 1800.");
    }
    if (m_day->isEnabled() && m_day->currentData().toInt() > 0)
        filter.day = m_day->currentData().toInt();
    for (int r = 0; r < m_list.entries.size(); ++r)
        m_table->setRowHidden(r, !entryPasses(m_list.entries[r], filter));
    m_range->setToolTip(problems.join(QLatin1Char(' ')));
    updatePreview();
    if (!problems.isEmpty())
        m_summary->setText(problems.join(QLatin1Char(' ')) + QLatin1Char(' ') + m_summary->text());
}

QList<int> FrequencyListDialog::chosenEntries() const {
    QList<int> chosen;
    for (int r = 0; r < m_list.entries.size(); ++r)
        if (!m_table->isRowHidden(r) && m_table->item(r, ColChosen)->checkState() == Qt::Checked &&
            entryFitsGrid(m_list.entries[r]))
            chosen << r;
    return chosen;
}

void FrequencyListDialog::updatePreview() {
    const QList<int> chosen = chosenEntries();
    const int first = m_firstSlot->value();
    const int room = kSlotCount - first + 1;
    QHash<int, int> slotOf;
    for (qsizetype k = 0; k < chosen.size(); ++k)
        slotOf.insert(chosen[k], first + int(k));
    const SlotNumberFormat format = SlotTableModel::numberFormat();
    m_filling = true;
    for (int r = 0; r < m_list.entries.size(); ++r) {
        QTableWidgetItem *item = m_table->item(r, ColBecomes);
        const FrequencyEntry &e = m_list.entries[r];
        if (!entryFitsGrid(e)) {
            item->setText(QStringLiteral("skipped: the slots hold 0 Hz to below 100 MHz"));
            item->setToolTip(QString());
            continue;
        }
        const auto at = slotOf.constFind(r);
        if (at == slotOf.cend() || *at > kSlotCount) {
            item->setText(at == slotOf.cend() ? QString() : QStringLiteral("no slot left"));
            item->setToolTip(QString());
            continue;
        }
        const SlotFromEntry s = slotFromEntry(e);
        item->setText(QStringLiteral("Slot %1: %2 | %3 | %4")
                          .arg(*at)
                          .arg(s.name, slotFrequencyText(s.tenths, format),
                               slotModulationText(s.modulation).value_or(QString())));
        item->setToolTip(s.notes.join(QLatin1Char('\n')));
    }
    m_filling = false;
    QString summary;
    if (chosen.isEmpty())
        summary = QStringLiteral("No entry is chosen.");
    else if (chosen.size() > room)
        summary = QStringLiteral("%1 entries are chosen, but from slot %2 to 63 there are only %3 "
                                 "slots: choose fewer.")
                      .arg(chosen.size())
                      .arg(first)
                      .arg(room);
    else
        summary = QStringLiteral("%1 %2 chosen: slot%3 %4%5.")
                      .arg(chosen.size())
                      .arg(chosen.size() == 1 ? QStringLiteral("entry") : QStringLiteral("entries"),
                           chosen.size() == 1 ? QString() : QStringLiteral("s"))
                      .arg(first)
                      .arg(chosen.size() == 1 ? QString()
                                              : QStringLiteral(" to %1").arg(first + chosen.size() - 1));
    m_summary->setText(summary);
    m_summary->setAccessibleName(summary);
    m_import->setEnabled(m_list.ok() && !chosen.isEmpty() && chosen.size() <= room);
}

QString FrequencyListDialog::importChosen() {
    const QList<int> chosen = chosenEntries();
    if (chosen.isEmpty())
        return QStringLiteral("No entry is chosen.");
    const FrequencyImport result =
        applyFrequencyEntries(m_list, chosen, m_model.session().image().data(), m_firstSlot->value());
    if (!result.ok())
        return result.error;
    const QString name = QFileInfo(m_path).fileName();
    if (!m_model.applyImage(QStringLiteral("Import Frequency List %1").arg(name), result.image))
        return QStringLiteral("The memory slots are being transferred; nothing was changed.");
    QStringList status{QStringLiteral("Imported %1 %2 of %3 (%4) into slot%5 %6%7")
                           .arg(result.filled.size())
                           .arg(result.filled.size() == 1 ? QStringLiteral("entry") : QStringLiteral("entries"),
                                name, frequencyListFormatName(m_list.format),
                                result.filled.size() == 1 ? QString() : QStringLiteral("s"))
                           .arg(result.filled.first())
                           .arg(result.filled.size() == 1
                                    ? QString()
                                    : QStringLiteral(" to %1").arg(result.filled.last()))};
    status << result.notes;
    m_result = status.join(QStringLiteral("; "));
    accept();
    return {};
}

void openFrequencyListImport(MemoryEditor &editor,
                             const std::function<void(const QString &)> &showStatus) {
    editor.page()->commitEdits();
    const QString path = dialogs().openFile(
        QStringLiteral("*.csv"),
        QStringLiteral("Frequency list (gqrx, CHIRP, EiBi) *.csv|*.csv|All files *|*"));
    if (path.isEmpty())
        return;
    const FileContents read = readRegularFile(path, kMaxFrequencyListSize);
    if (!read.ok()) {
        dialogs().information(QStringLiteral("Cannot open file \"%1\". %2")
                                  .arg(QDir::toNativeSeparators(path), read.error));
        return;
    }
    const QString name = QFileInfo(path).fileName();
    const std::optional<FrequencyListFormat> format = recognizeFrequencyList(read.bytes);
    if (format == FrequencyListFormat::Own) {
        dialogs().information(QStringLiteral("%1 is a slot CSV: File, Import CSV… puts it onto the "
                                             "slots.")
                                  .arg(name));
        return;
    }
    if (!format) {
        dialogs().information(QStringLiteral("%1 is not a list that can be read here (gqrx "
                                             "bookmarks, CHIRP CSV or EiBi schedule).")
                                  .arg(name));
        return;
    }
    auto *dialog = new FrequencyListDialog(editor.page()->model(), path, read.bytes, &editor);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::accepted, &editor,
                     [dialog, showStatus] { showStatus(dialog->resultText()); });
    dialog->open(); // window-modal; an import is one undo step
}

QString exportFrequencyListFile(MemoryEditor &editor) {
    editor.page()->commitEdits();
    const QByteArray image = editor.session().image().data();
    int chosen = 0;
    const QString path = dialogs().saveFileWithChoice(
        QStringLiteral("*.csv"), QStringLiteral("Frequency list *.csv|*.csv"),
        QStringLiteral("Format:"), {frequencyListFormatName(FrequencyListFormat::Gqrx),
                                    frequencyListFormatName(FrequencyListFormat::Chirp)},
        chosen);
    if (path.isEmpty())
        return {};
    const FrequencyListFormat format = chosen == 1 ? FrequencyListFormat::Chirp : FrequencyListFormat::Gqrx;
    const FrequencyExport written =
        format == FrequencyListFormat::Chirp ? writeChirpCsv(image) : writeGqrxBookmarks(image);
    if (const QString why = saveWholeFile(path, written.text); !why.isEmpty()) {
        dialogs().information(QStringLiteral("Cannot create file \"%1\". %2")
                                  .arg(QDir::toNativeSeparators(path), why));
        return {};
    }
    QStringList status{QStringLiteral("Exported %1 slot%2 as %3 to %4")
                           .arg(written.count)
                           .arg(written.count == 1 ? QString() : QStringLiteral("s"),
                                frequencyListFormatName(format), QDir::toNativeSeparators(path))};
    status << written.notes;
    return status.join(QStringLiteral("; "));
}

} // namespace lmk
