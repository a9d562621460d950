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

#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "TestFiles.h"

#include <QAction>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
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
    QTableWidget *grid() { return editor->page()->grid(); }
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
        grid()->setCurrentCell(first, ColFrequenz);
        grid()->selectionModel()->select(
            QItemSelection(grid()->model()->index(first, ColName),
                           grid()->model()->index(last, SlotColumnCount - 1)),
            QItemSelectionModel::ClearAndSelect);
    }
    // Types into a cell by keyboard and leaves it, as a user does.
    void typeInto(int row, int col, const QString &text) {
        grid()->setFocus();
        grid()->setCurrentCell(row, col);
        QTest::keyClick(grid(), Qt::Key_F2);
        QWidget *ed = grid()->indexWidget(grid()->currentIndex());
        QVERIFY(ed);
        QTest::keyClick(ed, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(ed, text);
        QTest::keyClick(ed, Qt::Key_Return);
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
        action("actionCopySlots")->trigger();
        selectRows(5, 5);
        action("actionPasteSlots")->trigger();
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
    action("actionCutSlots")->trigger();
    QCOMPARE(image().mid(kSlotSize, 2 * kSlotSize), QByteArray(2 * kSlotSize, 0));
    selectRows(61, 61);
    action("actionPasteSlots")->trigger();
    QCOMPARE(image().mid(60 * kSlotSize, 2 * kSlotSize), record(2) + record(3));
    QCOMPARE(actions().selectedSlots(), (QList<int>{61, 62}));
    // Two rows onto slot 63: one fits.
    selectRows(63, 63);
    action("actionPasteSlots")->trigger();
    QCOMPARE(dlg->texts, QStringList{"Only 1 of 2 slots pasted: slot 63 is the last."});
    QCOMPARE(image().right(kSlotSize), record(2));

    action("actionCompare")->trigger();
    QCOMPARE(actions().markedSlots(), (QList<int>{2, 3, 61, 62, 63}));
    QVERIFY(editor->page()->cell(2, ColName)->toolTip().startsWith(QStringLiteral("Slot 2: Name")));
    QCOMPARE(actions().statusText(), QStringLiteral("Slots that differ from the receiver: 2, 3, 61, 62, 63"));
    // The marks follow the image.
    action("actionUndo")->trigger();
    action("actionUndo")->trigger();
    QCOMPARE(actions().markedSlots(), (QList<int>{2, 3}));
    action("actionUndo")->trigger();
    QCOMPARE(actions().markedSlots(), QList<int>());
    QCOMPARE(editor->page()->cell(2, ColName)->toolTip(), QString());
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

QTEST_MAIN(TstMemoryEditorActions)
#include "tst_memoryeditoractions.moc"
