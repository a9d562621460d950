// The memory editor's File, Import Frequency List… and Export Frequency
// List…, offscreen without a receiver: the file through the dialogs seam,
// the recognised format, the entries with check boxes, the filters, the
// first slot and what each chosen entry becomes; Import as one undo step
// that changes only the chosen slots; every control reachable by keyboard
// and named for a screen reader.
#include "link/DeviceLink.h"
#include "memory/FrequencyListChirp.h"
#include "memory/FrequencyListGqrx.h"
#include "memory/MemoryImage.h"
#include "memory/MemorySession.h"
#include "memory/SlotRecord.h"
#include "memory/ui/FrequencyListDialog.h"
#include "memory/ui/MemoryEditor.h"
#include "memory/ui/MemoryEditorActions.h"
#include "memory/ui/MemoryPage.h"
#include "memory/ui/SlotTableModel.h"

#include "ScriptedDialogs.h"
#include "TestFiles.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace lmk;
using namespace lmk::test;

namespace {

const QByteArray kGqrx = "# Tag name          ;  color\nDigital             ; #c0c0c0\n\n"
                         "# Frequency ; Name                     ; Modulation          ;  Bandwidth; Tags\n"
                         "     7074000; FT8                      ; USB                 ;       2800; Digital\n"
                         "   145500000; 2m calling               ; Narrow FM           ;      10000; \n"
                         "    10136000; FT8 30m                  ; USB                 ;       2800; Digital\n"
                         "     6070000; Channel 292 Rohrbach     ; AM                  ;       9000; \n";

const QByteArray kEibi = "kHz:75;Time(UTC):93;Days:59;ITU:49;Station:201;Lng:49;Target:62;Remarks:135;P:35;Start:60;Stop:60;\n"
                         "9420;1200-1300;Mo-Fr;GRC;ERT Voice of Greece;Gr;Eu;;;;\n"
                         "6070;0000-2400;;D;Channel 292;E;Eu;Rohrbach;;;\n"
                         "6005;1700-1900;Mo-Fr;D;Radio Schoeneck;D;Eu;;;;\n"
                         "5920;2200-0200;Sa,Su;D;Radio Night;D;Eu;;;;\n"
                         "6160;1800-1830;;CAN;CKZN St John's;E;NAm;;;;\n";

QString nameIn(const QByteArray &image, int slot) {
    return slotNameText(reinterpret_cast<const quint8 *>(image.constData()) + (slot - 1) * kSlotSize);
}

} // namespace

class TstFrequencyListDialog : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedDialogs> dlg;
    std::unique_ptr<DeviceLink> link;
    std::unique_ptr<MemorySession> session;
    std::unique_ptr<MemoryEditor> editor;
    QByteArray m_base;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    bool write(const QString &name, const QByteArray &bytes) {
        QFile f(path(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    SlotTableModel &model() { return editor->page()->model(); }
    QByteArray image() { return session->image().data(); }
    QAction *action(const char *name) { return editor->findChild<QAction *>(QLatin1String(name)); }
    // Opens the list through File, Import Frequency List….
    FrequencyListDialog *openList(const QString &name) {
        dlg->files.enqueue(path(name));
        action("actionImportFrequencyList")->trigger();
        auto *d = editor->findChild<FrequencyListDialog *>();
        if (d && !QTest::qWaitForWindowExposed(d))
            return nullptr;
        return d;
    }
    template <typename T> T *child(QWidget *d, const char *name) {
        return d->findChild<T *>(QLatin1String(name));
    }

  private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QRandomGenerator rng(11);
        m_base.resize(kSlotImageSize);
        for (char &c : m_base)
            c = char(rng.bounded(256));
        QVERIFY(write(QStringLiteral("base.Mem"), m_base));
        QVERIFY(write(QStringLiteral("bookmarks.csv"), kGqrx));
        QVERIFY(write(QStringLiteral("sked-b26.csv"), kEibi));
    }
    void init() {
        dlg = std::make_unique<ScriptedDialogs>();
        link = std::make_unique<DeviceLink>();
        link->setEndpoint(QStringLiteral("127.0.0.1"), 9);
        session = std::make_unique<MemorySession>(*link);
        editor = std::make_unique<MemoryEditor>(*session);
        editor->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
        editor->actions()->openMemFile(path(QStringLiteral("base.Mem")));
        QCOMPARE(image(), m_base);
    }
    void cleanup() {
        editor.reset();
        session.reset();
        link.reset();
        dlg.reset();
    }

    void menuEntries() {
        QAction *import = action("actionImportFrequencyList");
        QAction *exportList = action("actionExportFrequencyList");
        QVERIFY(import && exportList);
        QCOMPARE(import->text().remove(QLatin1Char('&')), QStringLiteral("Import Frequency List…"));
        QCOMPARE(exportList->text().remove(QLatin1Char('&')), QStringLiteral("Export Frequency List…"));
        QVERIFY(editor->fileMenu()->actions().contains(import));
        QVERIFY(editor->fileMenu()->actions().contains(exportList));
        // Mnemonics unique within the File menu.
        QStringList keys;
        for (QAction *a : editor->fileMenu()->actions()) {
            const qsizetype at = a->text().indexOf(QLatin1Char('&'));
            if (at >= 0 && at + 1 < a->text().size()) {
                const QString k = a->text().mid(at + 1, 1).toLower();
                QVERIFY2(!keys.contains(k), qPrintable(a->text()));
                keys << k;
            }
        }
    }

    // Checked entries go from the first slot on; Import is one undo step,
    // only those slots change, and undo gives the base back.
    void importIsOneUndoStep() {
        const int steps = model().undoStack().count();
        FrequencyListDialog *d = openList(QStringLiteral("bookmarks.csv"));
        QVERIFY(d);
        QPointer<FrequencyListDialog> alive(d);
        QCOMPARE(child<QComboBox>(d, "CB_ListFormat")->currentText(), QStringLiteral("gqrx bookmarks"));
        QTableWidget *table = d->table();
        QCOMPARE(table->rowCount(), 4);
        // The 2 m entry cannot be chosen and says why.
        QVERIFY(!(table->item(1, FrequencyListDialog::ColChosen)->flags() & Qt::ItemIsEnabled));
        QVERIFY(table->item(1, FrequencyListDialog::ColBecomes)->text().startsWith(QLatin1String("skipped")));
        // Uncheck FT8 30m by keyboard.
        table->setFocus();
        table->setCurrentCell(2, FrequencyListDialog::ColChosen);
        QTest::keyClick(table, Qt::Key_Space);
        QCOMPARE(table->item(2, FrequencyListDialog::ColChosen)->checkState(), Qt::Unchecked);
        // First slot 5, typed.
        QSpinBox *first = child<QSpinBox>(d, "SE_ListFirstSlot");
        first->setFocus();
        first->selectAll();
        QTest::keyClicks(first, QStringLiteral("5"));
        QCOMPARE(first->value(), 5);
        QCOMPARE(d->chosenEntries(), (QList<int>{0, 3}));
        QVERIFY2(table->item(0, FrequencyListDialog::ColBecomes)->text().startsWith(QLatin1String("Slot 5: FT8 | ")),
                 qPrintable(table->item(0, FrequencyListDialog::ColBecomes)->text()));
        QVERIFY(table->item(3, FrequencyListDialog::ColBecomes)->text().startsWith(QLatin1String("Slot 6: Channel 292 Rohrb | ")));
        QVERIFY(!table->item(3, FrequencyListDialog::ColBecomes)->toolTip().isEmpty()); // the cut
        QCOMPARE(child<QLabel>(d, "L_ListSummary")->text(), QStringLiteral("2 entries chosen: slots 5 to 6."));

        QPushButton *import = child<QPushButton>(d, "B_ListImport");
        QVERIFY(import->isEnabled());
        import->click();
        QTRY_VERIFY(!alive || !alive->isVisible());
        QCOMPARE(model().undoStack().count(), steps + 1);
        const QByteArray now = image();
        QCOMPARE(nameIn(now, 5), QStringLiteral("FT8"));
        QCOMPARE(nameIn(now, 6), QStringLiteral("Channel 292 Rohrb"));
        for (int s = 1; s <= kSlotCount; ++s)
            if (s != 5 && s != 6)
                QCOMPARE(now.mid((s - 1) * kSlotSize, kSlotSize), m_base.mid((s - 1) * kSlotSize, kSlotSize));
        const QString status = editor->findChild<QLabel *>(QStringLiteral("L_EditorStatus"))->text();
        QVERIFY2(status.startsWith(QLatin1String("Imported 2 entries of bookmarks.csv (gqrx bookmarks) into slots 5 to 6; "
                                                 "Slot 6: name \"Channel 292 Rohrbach\" cut to 17")),
                 qPrintable(status));
        QVERIFY(dlg->texts.isEmpty());
        model().undo();
        QCOMPARE(image(), m_base);
        model().redo();
        QCOMPARE(image(), now);
    }

    // The schedule's filters: 49 m band, on air at 18:00 on Monday.
    void scheduleFilters() {
        FrequencyListDialog *d = openList(QStringLiteral("sked-b26.csv"));
        QVERIFY(d);
        QCOMPARE(child<QComboBox>(d, "CB_ListFormat")->currentText(), QStringLiteral("EiBi schedule"));
        QLineEdit *onAir = child<QLineEdit>(d, "E_ListOnAir");
        QVERIFY(onAir->isEnabled());
        QTest::keyClicks(child<QLineEdit>(d, "E_ListRange"), QStringLiteral("5900-6200"));
        QTest::keyClicks(onAir, QStringLiteral("1800"));
        child<QComboBox>(d, "CB_ListDay")->setCurrentIndex(1); // Monday
        QTableWidget *table = d->table();
        QStringList shown;
        for (int r = 0; r < table->rowCount(); ++r)
            if (!table->isRowHidden(r))
                shown << table->item(r, FrequencyListDialog::ColName)->text();
        QCOMPARE(shown, (QStringList{"Radio Schoeneck", "Channel 292", "CKZN St John's"}));
        QCOMPARE(child<QLabel>(d, "L_ListSummary")->text(), QStringLiteral("3 entries chosen: slots 1 to 3."));
        // Sunday 01:00: the Saturday night broadcast.
        onAir->clear();
        QTest::keyClicks(onAir, QStringLiteral("0100"));
        child<QComboBox>(d, "CB_ListDay")->setCurrentIndex(7);
        QCOMPARE(d->chosenEntries().size(), 2); // Radio Night, Channel 292
        QCOMPARE(d->list().entries[d->chosenEntries().first()].name, QStringLiteral("Radio Night"));
        // A text filter.
        QTest::keyClicks(child<QLineEdit>(d, "E_ListMatch"), QStringLiteral("night"));
        QCOMPARE(d->chosenEntries().size(), 1);
        // Cancel changes nothing.
        const int steps = model().undoStack().count();
        d->reject();
        QCOMPARE(model().undoStack().count(), steps);
        QCOMPARE(image(), m_base);
    }

    // More chosen entries than slots from the first: Import is disabled
    // and the line says so; a filter that chooses fewer enables it.
    void overflowDisablesImport() {
        QByteArray text = "# Frequency ; Name ; Modulation ; Bandwidth; Tags\n";
        for (int i = 0; i < 70; ++i)
            text += QByteArray::number(3000000 + i * 10000) + "; Station " + QByteArray::number(i) + "; AM; 9000; \n";
        QVERIFY(write(QStringLiteral("many.csv"), text));
        FrequencyListDialog *d = openList(QStringLiteral("many.csv"));
        QVERIFY(d);
        QPushButton *import = child<QPushButton>(d, "B_ListImport");
        QVERIFY(!import->isEnabled());
        QCOMPARE(child<QLabel>(d, "L_ListSummary")->text(),
                 QStringLiteral("70 entries are chosen, but from slot 1 to 63 there are only 63 slots: choose fewer."));
        QCOMPARE(d->importChosen(), QStringLiteral("70 entries are chosen, but from slot 1 to 63 there are only 63 slots."));
        QCOMPARE(image(), m_base);
        QTest::keyClicks(child<QLineEdit>(d, "E_ListRange"), QStringLiteral("3000-3100"));
        QVERIFY(import->isEnabled());
        QCOMPARE(d->chosenEntries().size(), 11);
    }

    // Every control takes the keyboard focus and has a name.
    void keyboardAndNames() {
        FrequencyListDialog *d = openList(QStringLiteral("sked-b26.csv"));
        QVERIFY(d);
        const QList<QWidget *> widgets = d->findChildren<QWidget *>();
        int named = 0;
        for (QWidget *w : widgets) {
            if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(d) || w->parentWidget() != d)
                continue;
            QString name = w->accessibleName();
            if (auto *b = qobject_cast<QPushButton *>(w))
                name = b->text();
            QVERIFY2(!name.isEmpty(), qPrintable(w->metaObject()->className() + QStringLiteral(" ") + w->objectName()));
            ++named;
        }
        QVERIFY(named >= 9);
        // Tab walks from the table through the filters and back.
        QSet<QWidget *> reached;
        d->table()->setFocus();
        for (int i = 0; i < 20; ++i) {
            reached << QApplication::focusWidget();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        for (const char *name : {"E_ListMatch", "E_ListRange", "E_ListOnAir", "CB_ListDay", "SE_ListFirstSlot",
                                 "SG_ListEntries", "B_ListImport", "CB_ListFormat"}) {
            QWidget *w = d->findChild<QWidget *>(QLatin1String(name));
            bool found = false;
            for (QWidget *r : reached)
                found = found || r == w || (r && w && w->isAncestorOf(r));
            QVERIFY2(found, name);
        }
    }

    // File, Export Frequency List…: the format chosen in the save dialog.
    void exportFormats_data() {
        QTest::addColumn<int>("choice");
        QTest::newRow("gqrx") << 0;
        QTest::newRow("chirp") << 1;
    }
    void exportFormats() {
        QFETCH(int, choice);
        dlg->choice = choice;
        dlg->files.enqueue(path(QStringLiteral("out.csv")));
        action("actionExportFrequencyList")->trigger();
        QCOMPARE(dlg->choiceRequests, QStringList{QStringLiteral("Format:|gqrx bookmarks|CHIRP CSV")});
        const FrequencyExport expected = choice == 1 ? writeChirpCsv(m_base) : writeGqrxBookmarks(m_base);
        QCOMPARE(fileContents(path(QStringLiteral("out.csv"))), expected.text);
        const QString status = editor->findChild<QLabel *>(QStringLiteral("L_EditorStatus"))->text();
        QVERIFY2(status.startsWith(QStringLiteral("Exported %1 slots as ").arg(expected.count)), qPrintable(status));
        // Cancelled: nothing.
        dlg->clear();
        action("actionExportFrequencyList")->trigger();
        QCOMPARE(editor->findChild<QLabel *>(QStringLiteral("L_EditorStatus"))->text(), status);
    }

    // Files that are no frequency list are named, and no dialog opens.
    void notAList_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("prose") << QByteArray("Dear listener,\n")
                               << "odd.csv is not a list that can be read here (gqrx bookmarks, CHIRP CSV or EiBi schedule).";
        QTest::newRow("slot CSV") << QByteArray("Platz,Name\n1,A\n")
                                  << "odd.csv is a slot CSV: File, Import CSV… puts it onto the slots.";
    }
    void notAList() {
        QFETCH(QByteArray, content);
        QVERIFY(write(QStringLiteral("odd.csv"), content));
        dlg->files.enqueue(path(QStringLiteral("odd.csv")));
        action("actionImportFrequencyList")->trigger();
        QVERIFY(!editor->findChild<FrequencyListDialog *>());
        QFETCH(QString, message);
        QCOMPARE(dlg->texts, QStringList{message});
    }
};

QTEST_MAIN(TstFrequencyListDialog)
#include "tst_frequencylistdialog.moc"
