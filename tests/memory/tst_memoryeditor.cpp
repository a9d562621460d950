// The memory editor window: reached by Interface, Memory Slots; a second view
// of the hidden page's slots with its own File menu, title and close question.
// End to end against lmk-sim over WLAN and the simulated USB library.
#include "../app/WindowFixture.h"
#include "TestFiles.h"

#include "memory/MemoryImage.h"
#include "memory/MemorySession.h"
#include "memory/MemorySlots.h"
#include "memory/SlotBackups.h"
#include "memory/SlotRecord.h"
#include "memory/ui/MemoryEditor.h"
#include "memory/ui/MemoryEditorActions.h"
#include "memory/ui/MemoryPage.h"
#include "memory/ui/SlotTableModel.h"

#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

using namespace lmk;

class TstMemoryEditor : public QObject {
    Q_OBJECT
  private:
    QTemporaryDir m_data;
    std::unique_ptr<WindowFixture> f;

    MemoryEditor *editor() { return f->window->memoryEditor(); }
    QTableView *grid(QWidget *in) { return in->findChild<QTableView *>("SG_Speicher"); }
    SlotTableModel &model() { return f->window->memoryPage()->model(); }
    void setCurrentCell(QWidget *in, int row, int col) {
        grid(in)->setCurrentIndex(model().indexOf(row, col));
    }
    QPushButton *button(QWidget *in, const char *name) {
        return in->findChild<QPushButton *>(name);
    }
    QString cell(QWidget *in, int row, int col) {
        return grid(in)->model()->index(row - 1, col).data().toString();
    }
    QString listItem(QWidget *in) {
        return in->findChild<QListWidget *>("LB_Speicher")->item(0)->text();
    }
    QByteArray simSlots() {
        return test::fileContents(f->sim().stateDir() + QStringLiteral("/slots.bin"));
    }
    MemoryImage &image() { return f->window->memoryPage()->session().image(); }

    // Starts simulator and window over the transport of the data row and
    // opens the editor through its menu item.
    bool openEditor(const QStringList &simOptions = {}) {
        QFETCH(QString, transport);
        f = std::make_unique<WindowFixture>();
        const bool usb = transport == QLatin1String("usb");
        if (!f->start(simOptions, usb ? Transport::Usb : Transport::Wlan))
            return false;
        if (usb && f->link->openUsb() == 0)
            return false;
        if (!usb)
            f->link->setWlanChecked(true);
        if (!QTest::qWaitFor([this] { return simSlots().size() == kSlotImageSize; }, 5000))
            return false;
        f->child<QAction>("MI_MemorySlots")->trigger();
        return editor() && QTest::qWaitForWindowExposed(editor());
    }
    // Types into the current cell of the editor's grid by keyboard and
    // leaves the cell downwards.
    void typeIntoCurrentCell(const QString &text) {
        QTableView *g = grid(editor());
        QTest::keyClick(g, Qt::Key_F2);
        QWidget *ed = g->indexWidget(g->currentIndex());
        QVERIFY(ed);
        QTest::keyClick(ed, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(ed, text);
        QTest::keyClick(ed, Qt::Key_Return);
        QTRY_VERIFY(!g->indexWidget(g->currentIndex())); // committed once the loop runs
        QTest::keyClick(g, Qt::Key_Down);
    }

  private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        // Backups and recovery files of these tests stay in a folder of
        // their own: tests running beside them list that folder too.
        QVERIFY(m_data.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path()));
    }
    void cleanup() { f.reset(); }

    void readEditWriteReadSave_data();
    void readEditWriteReadSave();
    void closingWithChangesAsks_data();
    void closingWithChangesAsks();
    void openInEditorShowsInPageToo_data();
    void openInEditorShowsInPageToo();
    void inputsHaveNamesAndKeys_data();
    void inputsHaveNamesAndKeys();
    void unsavedChangesAskFirst_data();
    void unsavedChangesAskFirst();
    void editsLockedWhileTransferRuns_data();
    void editsLockedWhileTransferRuns();
    void writeEndingsSayHowFar_data();
    void writeEndingsSayHowFar();
    void systemCloseKeepsUnsavedSlots_data();
    void systemCloseKeepsUnsavedSlots();
    void recoveredChangesOfferedAtStart_data();
    void recoveredChangesOfferedAtStart();
};

namespace {
void wlanOnly() {
    QTest::addColumn<QString>("transport");
    QTest::newRow("wlan") << QStringLiteral("wlan");
}
} // namespace

void TstMemoryEditor::readEditWriteReadSave_data() {
    QTest::addColumn<QString>("transport");
    QTest::newRow("wlan") << QStringLiteral("wlan");
    QTest::newRow("usb") << QStringLiteral("usb");
}

void TstMemoryEditor::readEditWriteReadSave() {
    QVERIFY(openEditor());
    QWidget *page = f->window->memoryPage();
    QCOMPARE(editor()->windowTitle(), QStringLiteral("Memory Slots[*]"));
    QVERIFY(!editor()->isWindowModified());
    QVERIFY(!f->window->findChild<QTabWidget *>("PC_main")->isTabVisible(3)); // still hidden

    // Read.
    button(editor(), "B_Laden")->click();
    QVERIFY2(f->dialogs.texts.isEmpty(), qPrintable(f->dialogs.texts.join('|')));
    const QByteArray before = simSlots();
    QCOMPARE(image().data(), before);
    QCOMPARE(cell(editor(), 1, ColName), QStringLiteral("DCF77"));
    QCOMPARE(listItem(editor()), QStringLiteral("Read from LMK54!"));
    QCOMPARE(editor()->findChild<QLabel *>("L_SBytes")->text(), QStringLiteral("16128  OK!"));
    QCOMPARE(cell(page, 1, ColName), QStringLiteral("DCF77")); // the hidden page too
    QVERIFY(button(editor(), "B_Speichern")->isEnabled());
    QVERIFY(!editor()->isWindowModified());

    // Edit a name by keyboard.
    QTableView *g = grid(editor());
    g->setFocus();
    setCurrentCell(editor(), 4, ColName);
    typeIntoCurrentCell(QStringLiteral("Neuer Name"));
    QCOMPARE(image().data().mid(3 * 256 + 18, 17), QByteArray("Neuer Name       "));
    QCOMPARE(cell(page, 4, ColName), QStringLiteral("Neuer Name       "));
    QVERIFY(editor()->isWindowModified());

    // Write.
    button(editor(), "B_Speichern")->click();
    QVERIFY2(f->dialogs.texts.isEmpty(), qPrintable(f->dialogs.texts.join('|')));
    QByteArray want = before;
    want.replace(3 * 256 + 18, 17, "Neuer Name       ");
    QCOMPARE(simSlots(), want);
    QVERIFY(!editor()->isWindowModified()); // the receiver holds it
    QVERIFY2(editor()->actions()->statusText().endsWith(
                 QStringLiteral("63 slots written and verified")),
             qPrintable(editor()->actions()->statusText()));

    // Read back.
    button(editor(), "B_Laden")->click();
    QVERIFY2(f->dialogs.texts.isEmpty(), qPrintable(f->dialogs.texts.join('|')));
    QCOMPARE(image().data(), want);
    QCOMPARE(cell(editor(), 4, ColName), QStringLiteral("Neuer Name       "));

    // Save: the file holds exactly the receiver's slots.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Sender.Mem"));
    f->dialogs.files << path;
    editor()->saveAction()->trigger();
    QCOMPARE(f->dialogs.fileRequests.last(),
             QStringLiteral("*.Mem|Speicherplatz-Datei *.Mem|*.Mem"));
    QCOMPARE(test::fileContents(path), simSlots());
    QCOMPARE(editor()->windowTitle(), QStringLiteral("Sender.Mem[*] - Memory Slots"));
    QCOMPARE(listItem(page), QStringLiteral("Sender.Mem"));
    QVERIFY(f->dialogs.texts.isEmpty());
}

void TstMemoryEditor::closingWithChangesAsks_data() {
    wlanOnly();
}

void TstMemoryEditor::closingWithChangesAsks() {
    QVERIFY(openEditor());
    button(editor(), "B_Laden")->click();
    QVERIFY(editor()->close()); // nothing changed: no question
    QVERIFY(f->dialogs.texts.isEmpty());

    f->child<QAction>("MI_MemorySlots")->trigger();
    QVERIFY(editor()->isVisible());
    QTableView *g = grid(editor());
    g->setFocus();
    setCurrentCell(editor(), 2, ColVersion);
    QTest::keyClick(g, Qt::Key_F2);
    QWidget *ed = g->indexWidget(g->currentIndex());
    QVERIFY(ed);
    QTest::keyClick(ed, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(ed, QStringLiteral("11"));
    // Closing with the cell still open: the edit counts.
    const QString question =
        QStringLiteral("The memory slots have changes that are not saved. Close the editor anyway?");
    f->dialogs.answers << false;
    editor()->closeAction()->trigger();
    QCOMPARE(f->dialogs.texts, QStringList{question});
    QVERIFY(editor()->isVisible());
    QVERIFY(editor()->isWindowModified());
    QCOMPARE(quint8(image().data().at(256 + 1)), quint8(0xCB));
    f->dialogs.answers << true;
    editor()->closeAction()->trigger();
    QVERIFY(!editor()->isVisible());
    // The image stays the program's: the editor shows it again.
    f->child<QAction>("MI_MemorySlots")->trigger();
    QCOMPARE(cell(editor(), 2, ColVersion), QStringLiteral("11"));
}

void TstMemoryEditor::openInEditorShowsInPageToo_data() {
    wlanOnly();
}

void TstMemoryEditor::openInEditorShowsInPageToo() {
    QVERIFY(openEditor());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("alt.Mem"));
    QByteArray content = test::pseudoRandomBytes(kSlotImageSize);
    content.replace(18, 17, "Kurzwelle        ");
    QVERIFY(test::writeFileContents(path, content));
    f->dialogs.files << path;
    editor()->openAction()->trigger();
    QCOMPARE(f->dialogs.fileRequests.last(), QStringLiteral("*.Mem|Memory file *.Mem|*.Mem"));
    QCOMPARE(image().data(), content);
    QCOMPARE(editor()->windowTitle(), QStringLiteral("alt.Mem[*] - Memory Slots"));
    QVERIFY(!editor()->isWindowModified());
    QWidget *page = f->window->memoryPage();
    QCOMPARE(cell(page, 1, ColName), QStringLiteral("Kurzwelle        "));
    QCOMPARE(listItem(page), QStringLiteral("alt.Mem"));
    QVERIFY(button(page, "B_Speichern")->isEnabled());

    // An edit on the hidden page (File, Save on the terminal page) shows in
    // the editor and marks it.
    f->window->showPage(kPageTerminal);
    QCOMPARE(model().setCellText(2, ColName, QStringLiteral("Zwei")), QString());
    QCOMPARE(cell(editor(), 2, ColName), QStringLiteral("Zwei             "));
    QVERIFY(editor()->isWindowModified());
    // Opening another file over unsaved changes asks first.
    f->dialogs.answers << false;
    f->dialogs.files << path;
    editor()->openAction()->trigger();
    QCOMPARE(f->dialogs.texts.size(), 1);
    QCOMPARE(cell(editor(), 2, ColName), QStringLiteral("Zwei             "));
}

void TstMemoryEditor::inputsHaveNamesAndKeys_data() {
    wlanOnly();
}

void TstMemoryEditor::inputsHaveNamesAndKeys() {
    QVERIFY(openEditor());
    QAction *item = f->child<QAction>("MI_MemorySlots");
    QVERIFY(item->text().contains(QLatin1Char('&')));
    QVERIFY(f->window->findChild<QMenu *>("M_Interface")->actions().contains(item));
    for (QWidget *w : editor()->findChildren<QWidget *>()) {
        if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(editor()) ||
            qobject_cast<QMenu *>(w) || w->parentWidget() != editor()->page())
            continue;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        QVERIFY2(a && !a->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
    }
    for (QAction *a : {editor()->openAction(), editor()->saveAction(), editor()->closeAction()})
        QVERIFY2(!a->shortcut().isEmpty(), qPrintable(a->objectName()));
    QVERIFY(editor()->fileMenu()->menuAction()->text().contains(QLatin1Char('&')));
}

void TstMemoryEditor::unsavedChangesAskFirst_data() {
    QTest::addColumn<QString>("transport");
    QTest::addColumn<QString>("action");
    for (const char *t : {"wlan", "usb"})
        for (const char *a : {"close", "open", "read"})
            QTest::addRow("%s, %s", a, t) << QString::fromLatin1(t) << QString::fromLatin1(a);
}

// Before, the main window's close shut the link down first and then the
// editor asked: No left a process whose buttons did nothing. File, Open on
// the terminal page and "Laden vom LMK54" replaced unsaved changes unasked.
void TstMemoryEditor::unsavedChangesAskFirst() {
    QFETCH(QString, action);
    QFETCH(QString, transport);
    QVERIFY(openEditor());
    button(editor(), "B_Laden")->click();
    const QByteArray read = image().data();
    QCOMPARE(model().setCellText(3, ColName, QStringLiteral("Ungesichert")), QString());
    const QByteArray edited = image().data();
    QVERIFY(editor()->isWindowModified());
    if (action == QLatin1String("open")) {
        const qsizetype beforeSwitch = f->sim().requests().size();
        f->window->showPage(kPageTerminal); // over USB: the terminal mode switch
        if (transport == QLatin1String("usb")) // logged by the simulator a little later
            QTRY_VERIFY(f->sim().requests().size() > beforeSwitch);
    }
    const int requestsBefore = int(f->sim().requests().size());
    QTemporaryDir dir;
    const QString other = dir.filePath(QStringLiteral("x.Mem"));
    QVERIFY(test::writeFileContents(other, QByteArray(kSlotImageSize, 0)));
    const auto run = [&] {
        if (action == QLatin1String("close")) {
            f->window->close();
        } else if (action == QLatin1String("open")) {
            f->dialogs.files << other;
            f->child<QAction>("MI_Oeffnen")->trigger();
        } else {
            button(f->window->memoryPage(), "B_Laden")->click();
        }
    };
    f->dialogs.answers << false;
    run();
    QCOMPARE(f->dialogs.texts.size(), 1);
    QVERIFY(f->dialogs.texts[0].startsWith(
        QStringLiteral("The memory slots have changes that are not saved.")));
    // No: nothing happened, and everything still works.
    QCOMPARE(image().data(), edited);
    QVERIFY(editor()->isWindowModified());
    QVERIFY(!f->window->isClosed());
    QVERIFY(f->window->isVisible());
    QVERIFY(f->link->hasTransport());
    QCOMPARE(int(f->sim().requests().size()), requestsBefore);
    if (action == QLatin1String("open"))
        QCOMPARE(f->dialogs.files.size(), 1); // no file was asked for

    f->dialogs.answers << true;
    run();
    if (action == QLatin1String("close")) {
        QVERIFY(f->window->isClosed());
        QVERIFY(!editor()->isVisible());
        QVERIFY(!f->window->isVisible());
    } else {
        QCOMPARE(image().data(), action == QLatin1String("open") ? QByteArray(kSlotImageSize, 0)
                                                                 : read);
        QVERIFY(!editor()->isWindowModified());
    }
}

void TstMemoryEditor::editsLockedWhileTransferRuns_data() {
    QTest::addColumn<QString>("transport");
    QTest::newRow("wlan") << QStringLiteral("wlan");
    QTest::newRow("usb") << QStringLiteral("usb");
}

// Before, Edit, Undo or a typed name during a write sent the receiver a mix
// of two images and the title went clean.
void TstMemoryEditor::editsLockedWhileTransferRuns() {
    QVERIFY(openEditor({QStringLiteral("--delay"), QStringLiteral("20")}));
    button(editor(), "B_Laden")->click();
    QCOMPARE(model().setCellText(1, ColName, QStringLiteral("Erster")), QString());
    const QByteArray shown = image().data();
    QAction *undo = editor()->findChild<QAction *>(QStringLiteral("actionUndo"));
    QVERIFY(undo->isEnabled());
    bool checked = false;
    connect(&f->window->memoryPage()->session(), &MemorySession::stateChanged, this, [&] {
        if (checked || !f->window->memoryPage()->session().busy() ||
            f->window->memoryPage()->session().bytesText() != QStringLiteral("2560"))
            return;
        checked = true;
        // The window says what runs.
        QCOMPARE(editor()->actions()->statusText(), QStringLiteral("Writing slot 11 of 63…"));
        QVERIFY(!undo->isEnabled());
        QVERIFY(!editor()->openAction()->isEnabled());
        QVERIFY(!(model().flags(model().indexOf(5, ColName)) & Qt::ItemIsEditable));
        QVERIFY(!model().setCellText(5, ColName, QStringLiteral("Zwischendurch")).isEmpty());
        undo->trigger();
        model().undo();
        QCOMPARE(image().data(), shown);
    });
    f->dialogs.defaultAnswer = true; // a write without a backup if that fails
    button(editor(), "B_Speichern")->click();
    QVERIFY(checked);
    QCOMPARE(simSlots(), shown);
    QVERIFY(!editor()->isWindowModified());
    QVERIFY(undo->isEnabled());
}

void TstMemoryEditor::writeEndingsSayHowFar_data() {
    QTest::addColumn<QString>("transport");
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<QList<bool>>("answers"); // after the backup
    QTest::addColumn<QString>("message");     // the last message shown
    QTest::addColumn<int>("written");         // slots that hold the new data
    for (const char *t : {"wlan", "usb"}) {
        const QString tr = QString::fromLatin1(t);
        QTest::addRow("refused at slot 3, %s", t)
            << tr << QStringList{"--slot-refuse", "3"} << QList<bool>{}
            << "Error on saving!\nWriting stopped at slot 3 of 63: slots 1–2 hold the new data."
            << 2;
        QTest::addRow("silent at slot 11, %s", t)
            << tr << QStringList{"--fault", tr + QStringLiteral(":11#11:silent")} << QList<bool>{}
            << "Timeout: Device doesn't respond!\nWriting stopped at slot 11 of 63: slots 1–10 "
               "hold the new data; the state of slot 11 is unknown (its acknowledgement did not "
               "come)."
            << 10;
        QTest::addRow("short replies, no, %s", t)
            << tr << QStringList{"--slot-reply-length", "256"} << QList<bool>{false}
            << QString() << 0;
        QTest::addRow("short replies, yes, %s", t)
            << tr << QStringList{"--slot-reply-length", "256"} << QList<bool>{true}
            << QString() << 63;
    }
    QTest::newRow("link lost at slot 11, wlan")
        << QStringLiteral("wlan") << QStringList{"--fault", "wlan:11#11:close"} << QList<bool>{}
        << "Writing stopped at slot 11 of 63: slots 1–10 hold the new data; the state of slot "
           "11 is unknown (its acknowledgement did not come)."
        << 10;
}

// Before, a refusal said only "Error on saving!", a lost link only that
// the receiver does not respond, and 248-byte replies let a write zero the
// last 8 bytes of every slot unasked.
void TstMemoryEditor::writeEndingsSayHowFar() {
    QFETCH(QStringList, simOptions);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, message);
    QFETCH(int, written);
    QVERIFY(openEditor(simOptions));
    const QByteArray before = simSlots();
    button(editor(), "B_Laden")->click();
    f->dialogs.texts.clear();
    for (int s = 1; s <= 63; ++s) // every slot gets a new name
        QCOMPARE(model().setCellText(s, ColName, QStringLiteral("Neu %1").arg(s)), QString());
    const QByteArray edited = this->image().data();
    for (bool a : answers)
        f->dialogs.answers << a;
    button(editor(), "B_Speichern")->click();
    QVERIFY(f->dialogs.answers.isEmpty());
    if (!answers.isEmpty())
        QVERIFY(f->dialogs.texts.first().startsWith(
            QStringLiteral("The receiver sends 248 of the 256 bytes")));
    if (!message.isEmpty())
        QCOMPARE(f->dialogs.texts.last(), message);
    const QByteArray now = simSlots();
    for (int s = 1; s <= 63; ++s) {
        if (s == written + 1 && written < 63 && !message.startsWith(QStringLiteral("Error")))
            continue; // the slot whose answer never came may hold either
        const QByteArray want = (s <= written ? edited : before).mid((s - 1) * 256, 256);
        QCOMPARE(now.mid((s - 1) * 256, 256), want);
    }
    // Clean only when the receiver holds what the window shows.
    QCOMPARE(editor()->isWindowModified(), written != 63);
}

void TstMemoryEditor::systemCloseKeepsUnsavedSlots_data() {
    QTest::addColumn<QString>("transport");
    QTest::addColumn<bool>("modified");
    QTest::newRow("unsaved changes") << QStringLiteral("wlan") << true;
    QTest::newRow("nothing unsaved") << QStringLiteral("wlan") << false;
}

// SIGTERM: nobody is asked, the program ends, and unsaved slot changes are
// kept in a recovery file in the backups folder (before, an editor with
// changes kept an invisible process alive that ignored SIGTERM).
void TstMemoryEditor::systemCloseKeepsUnsavedSlots() {
    QFETCH(bool, modified);
    QVERIFY(openEditor());
    const QDir backups(SlotBackupStore::defaultDirectory());
    const auto recoveries = [&] {
        return backups.entryList({QStringLiteral("recovery_*.Mem")}, QDir::Files);
    };
    for (const QString &old : recoveries())
        QVERIFY(QFile::remove(backups.filePath(old)));
    button(editor(), "B_Laden")->click();
    if (modified)
        QCOMPARE(model().setCellText(7, ColName, QStringLiteral("Gerettet")), QString());
    f->window->systemCloseRequested();
    QVERIFY(f->dialogs.texts.isEmpty());
    QVERIFY(f->window->isClosed());
    QVERIFY(!editor()->isVisible());
    const QStringList found = recoveries();
    QCOMPARE(found.size(), modified ? 1 : 0);
    if (modified)
        QCOMPARE(test::fileContents(backups.filePath(found.first())), image().data());
    for (const QString &made : found) // a program started later would offer it
        QVERIFY(QFile::remove(backups.filePath(made)));
}

// The cell being typed into when the system ends the program is part of the
// changes kept (before, it was lost); the next start offers the recovered
// changes once, and Yes opens them in the memory editor.
void TstMemoryEditor::recoveredChangesOfferedAtStart_data() {
    QTest::addColumn<QString>("transport");
    QTest::newRow("wlan") << QStringLiteral("wlan");
}

void TstMemoryEditor::recoveredChangesOfferedAtStart() {
    QVERIFY(openEditor());
    const SlotBackupStore store;
    const auto clearRecoveries = [&] {
        for (const SlotBackup &r : store.recoveries()) {
            QFile::remove(r.path);
            QFile::remove(r.path + QStringLiteral(".offered"));
        }
    };
    clearRecoveries();
    const auto cleanup = qScopeGuard(clearRecoveries);
    button(editor(), "B_Laden")->click();
    QTableView *grid = editor()->page()->grid();
    grid->setCurrentIndex(model().indexOf(7, ColName));
    QTest::keyClick(grid, Qt::Key_F2);
    QWidget *cellEditor = grid->indexWidget(grid->currentIndex());
    QVERIFY(cellEditor);
    if (auto *line = qobject_cast<QLineEdit *>(cellEditor))
        line->clear();
    QTest::keyClicks(cellEditor, QStringLiteral("Getippt"));
    f->window->systemCloseRequested();
    const QList<SlotBackup> kept = store.recoveries();
    QCOMPARE(kept.size(), 1);
    const QByteArray saved = test::fileContents(kept.first().path);
    QCOMPARE(saved.mid(6 * kSlotSize + slot::kName, 7), QByteArray("Getippt"));

    // The next start.
    QVERIFY(f->start({}, Transport::None));
    f->dialogs.answers << true;
    f->window->offerRecoveredSlotChanges();
    QCOMPARE(f->dialogs.texts.size(), 1);
    QVERIFY2(f->dialogs.texts.first().contains(QFileInfo(kept.first().path).fileName()),
             qPrintable(f->dialogs.texts.first()));
    QVERIFY(f->window->memoryEditor());
    QCOMPARE(f->window->memoryEditor()->session().image().data(), saved);
    // Asked once only.
    f->window->offerRecoveredSlotChanges();
    QCOMPARE(f->dialogs.texts.size(), 1);
}

QTEST_MAIN(TstMemoryEditor)
#include "tst_memoryeditor.moc"
