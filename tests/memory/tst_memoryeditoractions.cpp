// The memory editor beyond the page, against lmk-sim over WLAN: undo and
// redo of every kind of change with the title's unsaved mark, whole rows cut,
// pasted and compared with the receiver, CSV through the File menu, and the
// backup before a write or clear (nothing written when it fails and the user
// says no; the hidden page writes as before, without one).
#include "link/DeviceLink.h"
#include "memory/MemoryImage.h"
#include "memory/MemorySession.h"
#include "memory/SlotBackups.h"
#include "memory/SlotCsv.h"
#include "memory/SlotRecord.h"
#include "memory/ui/MemoryEditor.h"
#include "memory/ui/MemoryEditorActions.h"
#include "memory/ui/MemoryPage.h"
#include "memory/ui/SlotBackupsDialog.h"
#include "memory/ui/SlotTableModel.h"

#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "TestFiles.h"

#include <QAction>
#include <QPushButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTableView>
#include <QTemporaryDir>
#include <QtEndian>
#include <QFile>
#include <QScopeGuard>
#include <QtTest>

#include <memory>

using namespace lmk;
using namespace lmk::test;

class TstMemoryEditorActions : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedDialogs> dlg;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<DeviceLink> link;
    std::unique_ptr<MemorySession> session;
    std::unique_ptr<MemoryEditor> editor;
    QByteArray simAtStart;

    bool start(const QStringList &options = {}) {
        dlg = std::make_unique<ScriptedDialogs>();
        sim = std::make_unique<SimProcess>();
        if (!sim->start(options))
            return false;
        SimProcess::noUsb();
        link = std::make_unique<DeviceLink>();
        link->setEndpoint(QStringLiteral("127.0.0.1"), sim->port());
        link->setWlanChecked(true);
        session = std::make_unique<MemorySession>(*link);
        editor = std::make_unique<MemoryEditor>(*session);
        editor->show();
        if (!QTest::qWaitFor([this] { return simSlots().size() == kSlotImageSize; }, 5000))
            return false;
        simAtStart = simSlots();
        return QTest::qWaitForWindowExposed(editor.get());
    }
    QByteArray simSlots() const { return fileContents(sim->stateDir() + QStringLiteral("/slots.bin")); }
    QList<char> commands() const {
        QList<char> out;
        for (const QByteArray &r : sim->requests(QStringLiteral("wlan")))
            out << r.at(0);
        return out;
    }
    MemoryEditorActions &actions() { return *editor->actions(); }
    QAction *action(const char *name) { return editor->findChild<QAction *>(name); }
    QTableView *grid() { return editor->page()->grid(); }
    SlotTableModel &model() { return editor->page()->model(); }
    void setCurrentCell(int row, int col) { grid()->setCurrentIndex(model().indexOf(row, col)); }
    // Cells from (top, left) to (bottom, right), (top, left) current.
    void selectCells(int top, int left, int bottom, int right) {
        setCurrentCell(top, left);
        grid()->selectionModel()->select(
            QItemSelection(model().indexOf(top, left), model().indexOf(bottom, right)),
            QItemSelectionModel::ClearAndSelect);
    }
    QByteArray image() { return session->image().data(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    bool writeFile(const QString &name, const QByteArray &bytes) {
        QFile f(path(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    void openMem(const QString &name) {
        dlg->files.enqueue(path(name));
        editor->openFile();
    }
    void selectRows(int first, int last) {
        setCurrentCell(first, ColFrequenz);
        grid()->selectionModel()->select(
            QItemSelection(model().indexOf(first, ColPlatz),
                           model().indexOf(last, SlotColumnCount - 1)),
            QItemSelectionModel::ClearAndSelect);
    }
    // Types into a cell by keyboard and leaves it, as a user does.
    void typeInto(int row, int col, const QString &text) {
        grid()->setFocus();
        setCurrentCell(row, col);
        QTest::keyClick(grid(), Qt::Key_F2);
        QWidget *ed = grid()->indexWidget(grid()->currentIndex());
        QVERIFY(ed);
        QTest::keyClick(ed, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(ed, text);
        QTest::keyClick(ed, Qt::Key_Return);
        QTRY_VERIFY(!grid()->indexWidget(grid()->currentIndex())); // committed once the loop runs
        QTest::keyClick(grid(), Qt::Key_Down);
    }

  private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        qputenv("XDG_DATA_HOME", m_dir.filePath(QStringLiteral("data")).toLocal8Bit());
    }
    void cleanup() {
        editor.reset();
        session.reset();
        link.reset();
        sim.reset();
        dlg.reset();
        QDir(m_dir.filePath(QStringLiteral("data"))).removeRecursively();
    }

    void changeUndoneAndRedone_data();
    void changeUndoneAndRedone();
    void rowsCutPastedAndCompared();
    void csvThroughFileMenu();
    void backupBeforeSending_data();
    void backupBeforeSending();
    void spreadsheetClipboard();
    void cellSelectionNeverClearsSlots();
    void slotsReorganised_data();
    void slotsReorganised();
    void menusHaveUniqueMnemonics();
    void backupsListedAndOpened();
};

void TstMemoryEditorActions::changeUndoneAndRedone_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("modified"); // the title's mark after the change
    QTest::newRow("cell edit") << "cell" << true;
    QTest::newRow("paste") << "paste" << true;
    QTest::newRow("move down") << "down" << true;
    QTest::newRow("clear slot") << "clear" << true;
    QTest::newRow("CSV import") << "csv" << true;
    QTest::newRow(".Mem load") << "load" << false; // the loaded file is the saved state
}

void TstMemoryEditorActions::changeUndoneAndRedone() {
    QFETCH(QString, change);
    QFETCH(bool, modified);
    QVERIFY(start());
    QVERIFY(writeFile(QStringLiteral("a.Mem"), simAtStart));
    openMem(QStringLiteral("a.Mem"));
    QCOMPARE(image(), simAtStart);
    QVERIFY(!editor->isWindowModified());
    QVERIFY(!action("actionUndo")->isEnabled() || action("actionUndo")->text().contains("Open"));

    if (change == QLatin1String("cell")) {
        typeInto(2, ColName, QStringLiteral("Neu"));
    } else if (change == QLatin1String("paste")) {
        selectRows(1, 1);
        action("actionCopy")->trigger();
        selectRows(5, 5);
        action("actionPaste")->trigger();
    } else if (change == QLatin1String("down")) {
        selectRows(1, 2);
        action("actionMoveDown")->trigger();
    } else if (change == QLatin1String("clear")) {
        selectRows(4, 4);
        action("actionClearSlots")->trigger();
    } else if (change == QLatin1String("csv")) {
        QByteArray csv = exportSlotCsv(simAtStart);
        csv.replace("\n6,", "\n6,Neu").replace("\n6,Neu", "\n6,Neu ");
        QVERIFY(writeFile(QStringLiteral("s.csv"), csv));
        dlg->files.enqueue(path(QStringLiteral("s.csv")));
        action("actionImportCsv")->trigger();
    } else {
        QVERIFY(writeFile(QStringLiteral("b.Mem"), QByteArray(kSlotImageSize, 0)));
        openMem(QStringLiteral("b.Mem"));
    }
    QVERIFY2(dlg->texts.isEmpty(), qPrintable(dlg->texts.join('|')));
    const QByteArray changed = image();
    QVERIFY(changed != simAtStart);
    QCOMPARE(editor->isWindowModified(), modified);

    action("actionUndo")->trigger();
    QCOMPARE(image(), simAtStart);
    QCOMPARE(editor->isWindowModified(), !modified);
    for (int row = 1; row <= 6; ++row) // the grid shows the bytes put back
        QCOMPARE(editor->page()->cellText(row, ColName),
                 slotNameText(reinterpret_cast<const quint8 *>(simAtStart.constData()) + (row - 1) * kSlotSize));

    action("actionRedo")->trigger();
    QCOMPARE(image(), changed);
    QCOMPARE(editor->isWindowModified(), modified);
    QCOMPARE(action("actionUndo")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(action("actionRedo")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
}

void TstMemoryEditorActions::rowsCutPastedAndCompared() {
    QVERIFY(start());
    editor->page()->findChild<QPushButton *>("B_Laden")->click();
    QCOMPARE(image(), simAtStart);
    const auto record = [&](int s) { return simAtStart.mid((s - 1) * kSlotSize, kSlotSize); };

    selectRows(2, 3);
    action("actionCut")->trigger();
    QCOMPARE(image().mid(kSlotSize, 2 * kSlotSize), QByteArray(2 * kSlotSize, 0));
    selectRows(61, 61);
    action("actionPaste")->trigger();
    QCOMPARE(image().mid(60 * kSlotSize, 2 * kSlotSize), record(2) + record(3));
    QCOMPARE(actions().selectedSlots(), (QList<int>{61, 62}));
    // Two rows onto slot 63: one fits.
    selectRows(63, 63);
    action("actionPaste")->trigger();
    QCOMPARE(dlg->texts, QStringList{"Only 1 of 2 slots pasted: slot 63 is the last."});
    QCOMPARE(image().right(kSlotSize), record(2));

    action("actionCompare")->trigger();
    QCOMPARE(actions().markedSlots(), (QList<int>{2, 3, 61, 62, 63}));
    const QModelIndex name2 = model().indexOf(2, ColName);
    QVERIFY(name2.data(Qt::ToolTipRole).toString().startsWith(QStringLiteral("Slot 2: Name")));
    // Marked by more than colour: a screen reader hears what differs.
    QCOMPARE(name2.data(Qt::AccessibleDescriptionRole), name2.data(Qt::ToolTipRole));
    QAccessibleInterface *status =
        QAccessible::queryAccessibleInterface(editor->findChild<QLabel *>("L_EditorStatus"));
    QCOMPARE(status->text(QAccessible::Name), actions().statusText());
    QCOMPARE(actions().statusText(), QStringLiteral("Slots that differ from the receiver: 2, 3, 61, 62, 63"));
    // The marks follow the image.
    action("actionUndo")->trigger();
    action("actionUndo")->trigger();
    QCOMPARE(actions().markedSlots(), (QList<int>{2, 3}));
    action("actionUndo")->trigger();
    QCOMPARE(actions().markedSlots(), QList<int>());
    QCOMPARE(name2.data(Qt::ToolTipRole), QVariant());
    QCOMPARE(actions().statusText(), QStringLiteral("The image equals the receiver's slots."));
    QVERIFY(!editor->isWindowModified());
}

void TstMemoryEditorActions::csvThroughFileMenu() {
    QVERIFY(start());
    QVERIFY(writeFile(QStringLiteral("a.Mem"), simAtStart));
    openMem(QStringLiteral("a.Mem"));
    dlg->files.enqueue(path(QStringLiteral("out.csv")));
    action("actionExportCsv")->trigger();
    QCOMPARE(dlg->fileRequests.last(), QStringLiteral("*.csv|CSV file *.csv|*.csv"));
    QCOMPARE(fileContents(path(QStringLiteral("out.csv"))), exportSlotCsv(simAtStart));
    // For a German spreadsheet, in one step; it imports back unchanged.
    dlg->files.enqueue(path(QStringLiteral("de.csv")));
    action("actionExportCsvExcelDe")->trigger();
    QCOMPARE(fileContents(path(QStringLiteral("de.csv"))),
             exportSlotCsv(simAtStart, SlotCsvDialect::ExcelGerman));
    QVERIFY(fileContents(path(QStringLiteral("de.csv"))).startsWith("\xEF\xBB\xBFPlatz;Name;"));
    dlg->files.enqueue(path(QStringLiteral("de.csv")));
    action("actionImportCsv")->trigger();
    QCOMPARE(image(), simAtStart);

    QByteArray bad = exportSlotCsv(simAtStart);
    bad.replace("\n2,MSF 60,60000.0,", "\n2,MSF 60,4294967296.0,");
    QVERIFY(writeFile(QStringLiteral("bad.csv"), bad));
    dlg->files.enqueue(path(QStringLiteral("bad.csv")));
    action("actionImportCsv")->trigger();
    QCOMPARE(dlg->texts.size(), 1);
    QVERIFY2(dlg->texts.first().startsWith(QStringLiteral("bad.csv: Line 3, column 3: Frequenz: ")),
             qPrintable(dlg->texts.first()));
    QCOMPARE(image(), simAtStart);
    QVERIFY(!editor->isWindowModified());
}

void TstMemoryEditorActions::backupBeforeSending_data() {
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<QString>("from");    // "editor" or "page" (the hidden page)
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("backup");
    QTest::addColumn<bool>("written");

    const QStringList none;
    const QStringList failing{"--slot-short", "7"};
    QTest::newRow("write") << none << "editor" << "B_Speichern" << QList<bool>{} << true << true;
    QTest::newRow("clear") << none << "editor" << "B_Loeschen" << QList<bool>{true} << true << true;
    QTest::newRow("clear answered no") << none << "editor" << "B_Loeschen" << QList<bool>{false}
                                       << false << false;
    QTest::newRow("backup fails, no") << failing << "editor" << "B_Speichern" << QList<bool>{false}
                                      << false << false;
    QTest::newRow("backup fails, write anyway") << failing << "editor" << "B_Speichern"
                                                << QList<bool>{true} << false << true;
    QTest::newRow("hidden page") << none << "page" << "B_Speichern" << QList<bool>{} << false << true;
}

void TstMemoryEditorActions::backupBeforeSending() {
    QFETCH(QStringList, simOptions);
    QFETCH(QString, from);
    QFETCH(QString, button);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, backup);
    QFETCH(bool, written);
    QVERIFY(start(simOptions));
    const QByteArray edited = pseudoRandomBytes(kSlotImageSize);
    QVERIFY(writeFile(QStringLiteral("edited.Mem"), edited));
    openMem(QStringLiteral("edited.Mem"));
    for (bool a : answers)
        dlg->answers.enqueue(a);
    MemoryPage hidden(*session);
    QWidget *page = from == QLatin1String("page") ? static_cast<QWidget *>(&hidden) : editor->page();
    page->findChild<QPushButton *>(button)->click();
    QVERIFY(dlg->answers.isEmpty());

    const QStringList backups = SlotBackupStore().list();
    QCOMPARE(backups.size(), backup ? 1 : 0);
    const QList<char> sent = commands();
    if (backup) {
        QCOMPARE(fileContents(backups.first()), simAtStart);
        QVERIFY2(actions().statusText().contains(QFileInfo(backups.first()).fileName()),
                 qPrintable(actions().statusText()));
        QCOMPARE(sent.indexOf(char(0x11)), 63); // 63 reads, then the writes
    }
    if (from == QLatin1String("page"))
        QCOMPARE(sent.count(char(0x10)), 0);
    if (!answers.isEmpty() && !answers.last() && !backup)
        QVERIFY(dlg->texts.last().contains(QStringLiteral("No backup") ) ||
                button == QLatin1String("B_Loeschen"));
    QCOMPARE(sent.contains(char(0x11)), written);
    if (!written)
        QCOMPARE(simSlots(), simAtStart);
    else
        QCOMPARE(simSlots(), button == QLatin1String("B_Speichern") ? edited
                                                                 : QByteArray(kSlotImageSize, 0));
}

// Before, Ctrl+V on a name cell overwrote the whole slot and the system
// clipboard was never used.
void TstMemoryEditorActions::spreadsheetClipboard() {
    QVERIFY(start());
    QVERIFY(writeFile(QStringLiteral("a.Mem"), simAtStart));
    openMem(QStringLiteral("a.Mem"));
    const auto text = [&](int s, int c) { return model().cellText(s, c); };

    // Copy: the cells as tab-separated text.
    selectCells(1, ColName, 2, ColFrequenz);
    action("actionCopy")->trigger();
    QCOMPARE(QApplication::clipboard()->text(),
             text(1, ColName) + '\t' + text(1, ColFrequenz) + '\n' + text(2, ColName) + '\t' +
                 text(2, ColFrequenz) + '\n');

    // Paste a block from a spreadsheet: one step.
    QApplication::clipboard()->setText(QStringLiteral("Eins\t1.000,5\tUSB\r\nZwei\t2000\tCW\r\n"));
    setCurrentCell(10, ColName);
    action("actionPaste")->trigger();
    QVERIFY2(dlg->texts.isEmpty(), qPrintable(dlg->texts.join('|')));
    QCOMPARE(text(10, ColName), QStringLiteral("Eins             "));
    QCOMPARE(text(10, ColFrequenz), QStringLiteral("00.001.000,5"));
    QCOMPARE(text(11, ColModulation), QStringLiteral("CW"));
    QCOMPARE(text(11, ColFrequenz), QStringLiteral("00.002.000,0"));
    QCOMPARE(action("actionUndo")->text(), QStringLiteral("&Undo Paste 6 cells"));
    QVERIFY(editor->isWindowModified());
    action("actionUndo")->trigger();
    QCOMPARE(image(), simAtStart);

    // One cell that does not fit: nothing changes, and the cell is named.
    QApplication::clipboard()->setText(QStringLiteral("Eins\t1000\nZwei\tviel\n"));
    action("actionPaste")->trigger();
    QCOMPARE(dlg->texts, QStringList{"Slot 11: Frequenz \"viel\": is not a frequency with one "
                                     "decimal; nothing was changed."});
    QCOMPARE(image(), simAtStart);
    QVERIFY(!editor->isWindowModified());

    // Quoted as a spreadsheet writes it: the quotes are not part of the
    // name, a line break inside quotes not a new row (before: stored as
    // "5"" dish" with the quotes).
    QApplication::clipboard()->setText(QStringLiteral("\"5\"\" dish\"\t\"1000\"\r\n"));
    setCurrentCell(12, ColName);
    action("actionPaste")->trigger();
    QVERIFY2(dlg->texts.size() == 1, qPrintable(dlg->texts.join('|')));
    QCOMPARE(text(12, ColName), QStringLiteral("5\" dish          "));
    QCOMPARE(text(12, ColFrequenz), QStringLiteral("00.001.000,0"));
    // A name with a tab is copied quoted, so it stays one cell.
    QByteArray tabbed = image();
    std::memcpy(tabbed.data() + 12 * kSlotSize + slot::kName, "A\tB\0", 4);
    QVERIFY(model().applyImage(QStringLiteral("Tab"), tabbed));
    selectCells(13, ColName, 13, ColFrequenz);
    action("actionCopy")->trigger();
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("\"A\tB\"\t") + text(13, ColFrequenz) + '\n');
    action("actionUndo")->trigger();
    action("actionUndo")->trigger();
    QCOMPARE(image(), simAtStart);

    // A block that runs past slot 63 or the last column.
    setCurrentCell(63, ColVersion);
    QApplication::clipboard()->setText(QStringLiteral("1\t2\n"));
    action("actionPaste")->trigger();
    QCOMPARE(dlg->texts.size(), 2);
    QCOMPARE(image(), simAtStart);

    // Whole rows copied and pasted keep every byte, opaque ones too.
    selectRows(1, 1);
    action("actionCopy")->trigger();
    QVERIFY(QApplication::clipboard()->mimeData()->formats().size() > 1);
    selectRows(30, 30);
    action("actionPaste")->trigger();
    QCOMPARE(image().mid(29 * kSlotSize, kSlotSize), simAtStart.left(kSlotSize));
}

void TstMemoryEditorActions::cellSelectionNeverClearsSlots() {
    QVERIFY(start());
    QVERIFY(writeFile(QStringLiteral("a.Mem"), simAtStart));
    openMem(QStringLiteral("a.Mem"));
    grid()->setFocus();
    for (const char *name : {"actionClearSlots", "actionCut"}) {
        selectCells(2, ColName, 3, ColFrequenz);
        action(name)->trigger();
        QCOMPARE(image(), simAtStart);
        QVERIFY(actions().statusText().contains(QStringLiteral("Nothing was changed")));
    }
    setCurrentCell(2, ColName);
    QTest::keyClick(grid(), Qt::Key_Delete);
    QCOMPARE(image(), simAtStart);
    QVERIFY(!editor->isWindowModified());
}

void TstMemoryEditorActions::slotsReorganised_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<bool>("lastSlotEmpty");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QList<int>>("order"); // slot k shows the record of slot order[k-1] (0: empty)
    QList<int> same;
    for (int s = 1; s <= 63; ++s)
        same << s;
    QList<int> inserted = same;
    inserted.insert(4, 0);
    inserted.removeLast();
    QTest::newRow("insert, slot 63 empty") << "actionInsertSlot" << 5 << 5 << true << QList<bool>{} << inserted;
    QTest::newRow("insert, slot 63 in use, yes") << "actionInsertSlot" << 5 << 5 << false << QList<bool>{true} << inserted;
    QTest::newRow("insert, slot 63 in use, no") << "actionInsertSlot" << 5 << 5 << false << QList<bool>{false} << same;
    QList<int> deleted = same;
    deleted.remove(3, 2);
    deleted << 0 << 0;
    QTest::newRow("delete two") << "actionDeleteSlots" << 4 << 5 << false << QList<bool>{} << deleted;
    QTest::newRow("sort by frequency") << "actionSortByFrequency" << 1 << 3 << false << QList<bool>{}
                                       << (QList<int>{3, 2, 1} + same.mid(3));
    QTest::newRow("sort by name") << "actionSortByName" << 1 << 3 << false << QList<bool>{}
                                  << (QList<int>{2, 1, 3} + same.mid(3));
}

void TstMemoryEditorActions::slotsReorganised() {
    QFETCH(QString, action);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(bool, lastSlotEmpty);
    QFETCH(QList<bool>, answers);
    QFETCH(QList<int>, order);
    QVERIFY(start());
    // Slots 1-3: names and frequencies in opposite orders.
    QByteArray content = pseudoRandomBytes(kSlotImageSize);
    const char *names[] = {"Mitte", "Anfang", "Zuletzt"};
    const qint32 freqs[] = {300, 200, 100};
    for (int s = 1; s <= 3; ++s) {
        content.replace((s - 1) * kSlotSize + slot::kName, slot::kNameLength,
                        QByteArray(names[s - 1]).leftJustified(slot::kNameLength, ' '));
        char le[4];
        qToLittleEndian<qint32>(freqs[s - 1], le);
        content.replace((s - 1) * kSlotSize + slot::kFrequency, 4, QByteArray(le, 4));
    }
    if (lastSlotEmpty)
        content.replace(62 * kSlotSize, kSlotSize, QByteArray(kSlotSize, 0));
    QVERIFY(writeFile(QStringLiteral("a.Mem"), content));
    openMem(QStringLiteral("a.Mem"));
    for (bool a : answers)
        dlg->answers.enqueue(a);
    selectRows(first, last);
    this->action(action.toLatin1().constData())->trigger();
    QVERIFY(dlg->answers.isEmpty());
    QByteArray want;
    for (int s : order)
        want += s ? content.mid((s - 1) * kSlotSize, kSlotSize) : QByteArray(kSlotSize, 0);
    QCOMPARE(image(), want);
    if (want != content) { // one step, undone whole
        this->action("actionUndo")->trigger();
        QCOMPARE(image(), content);
    }
}

void TstMemoryEditorActions::menusHaveUniqueMnemonics() {
    QVERIFY(start());
    const QList<QMenu *> menus = editor->menuBar()->findChildren<QMenu *>() +
                                 editor->findChildren<QMenu *>();
    QVERIFY(menus.size() >= 2);
    for (QMenu *menu : menus) {
        QSet<QChar> keys;
        for (QAction *a : menu->actions()) {
            if (a->isSeparator())
                continue;
            const QString t = a->text();
            const qsizetype amp = t.indexOf(QLatin1Char('&'));
            QVERIFY2(amp >= 0 && amp + 1 < t.size(), qPrintable(t));
            const QChar key = t.at(amp + 1).toLower();
            QVERIFY2(!keys.contains(key), qPrintable(menu->title() + QStringLiteral(": ") + t));
            keys.insert(key);
        }
    }
    // The grid takes the room a larger window gives; the buttons stay at
    // its right edge.
    const int gridWidth = grid()->width();
    auto *laden = editor->page()->findChild<QPushButton *>("B_Laden");
    const int gap = laden->x() - grid()->geometry().right();
    editor->resize(editor->width() + 300, editor->height() + 200);
    QTRY_COMPARE(grid()->width(), gridWidth + 300);
    QCOMPARE(laden->x() - grid()->geometry().right(), gap);
    QVERIFY(grid()->height() > 489 + 150);
    // The counter's value reaches a screen reader with its caption.
    editor->page()->findChild<QPushButton *>("B_Laden")->click();
    QAccessibleInterface *bytes =
        QAccessible::queryAccessibleInterface(editor->findChild<QLabel *>("L_SBytes"));
    QCOMPARE(bytes->text(QAccessible::Name), QStringLiteral("Bytes: 16128  OK!"));
}

void TstMemoryEditorActions::backupsListedAndOpened() {
    QVERIFY(start());
    QVERIFY(writeFile(QStringLiteral("a.Mem"), simAtStart));
    openMem(QStringLiteral("a.Mem"));
    QByteArray older = simAtStart;
    older[5] = char(older[5] ^ 1);                           // slot 1
    older[40 * kSlotSize + 7] = char(older[40 * kSlotSize + 7] ^ 1); // slot 41
    const SlotBackupStore store;
    QString error;
    const QDateTime t(QDate(2026, 12, 10), QTime(13, 45, 7));
    QVERIFY2(!store.save(older, &error, t).isEmpty(), qPrintable(error));
    QVERIFY2(!store.save(simAtStart, &error, t.addSecs(60)).isEmpty(), qPrintable(error));
    QByteArray oneOff = simAtStart;
    oneOff[9] = char(oneOff[9] ^ 1); // slot 1 only
    QVERIFY2(!store.save(oneOff, &error, t.addSecs(-60)).isEmpty(), qPrintable(error));
    // Unsaved changes kept when the program had to end are listed too.
    const QString recovery = store.saveRecovery(older, &error, t.addSecs(120));
    QVERIFY2(!recovery.isEmpty(), qPrintable(error));
    const auto removeRecovery = qScopeGuard([&] { QFile::remove(recovery); });

    action("actionBackups")->trigger();
    auto *dialog = editor->findChild<SlotBackupsDialog *>();
    QVERIFY(dialog);
    QCOMPARE(dialog->lines(), (QStringList{"2026-12-10 13:46:07   same as the slots shown",
                                          "2026-12-10 13:45:07   2 slots differ",
                                          "2026-12-10 13:44:07   1 slot differs",
                                          "2026-12-10 13:47:07   unsaved changes (recovered)   "
                                          "2 slots differ"}));
    QCOMPARE(dialog->openBackup(1), QString());
    QCOMPARE(image(), older);
    QVERIFY(editor->isWindowModified());
    action("actionUndo")->trigger(); // one step
    QCOMPARE(image(), simAtStart);
    QVERIFY(!editor->isWindowModified());
    dialog->reject();
}

QTEST_MAIN(TstMemoryEditorActions)
#include "tst_memoryeditoractions.moc"
