// The memory editor window: reached by Interface, Memory Slots; a second view
// of the hidden page's slots with its own File menu, title and close question.
// End to end against lmk-sim over WLAN and the simulated USB library.
#include "../app/WindowFixture.h"
#include "TestFiles.h"

#include "memory/MemoryImage.h"
#include "memory/MemorySession.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"
#include "memory/ui/MemoryEditor.h"
#include "memory/ui/MemoryPage.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace lmk;

class TstMemoryEditor : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<WindowFixture> f;

    MemoryEditor *editor() { return f->window->memoryEditor(); }
    QTableWidget *grid(QWidget *in) { return in->findChild<QTableWidget *>("SG_Speicher"); }
    QPushButton *button(QWidget *in, const char *name) {
        return in->findChild<QPushButton *>(name);
    }
    QString cell(QWidget *in, int row, int col) { return grid(in)->item(row, col)->text(); }
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
        f->window->memoryPage()->writeHeadings();
        if (!QTest::qWaitFor([this] { return simSlots().size() == kSlotImageSize; }, 5000))
            return false;
        f->child<QAction>("MI_MemorySlots")->trigger();
        return editor() && QTest::qWaitForWindowExposed(editor());
    }
    // Types into the current cell of the editor's grid by keyboard and
    // leaves the cell downwards.
    void typeIntoCurrentCell(const QString &text) {
        QTableWidget *g = grid(editor());
        QTest::keyClick(g, Qt::Key_F2);
        QWidget *ed = g->indexWidget(g->currentIndex());
        QVERIFY(ed);
        QTest::keyClick(ed, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(ed, text);
        QTest::keyClick(ed, Qt::Key_Return);
        QTest::keyClick(g, Qt::Key_Down);
    }

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void cleanup() { f.reset(); }

    void readEditWriteReadSave_data();
    void readEditWriteReadSave();
    void closingWithChangesAsks_data();
    void closingWithChangesAsks();
    void openInEditorShowsInPageToo_data();
    void openInEditorShowsInPageToo();
    void inputsHaveNamesAndKeys_data();
    void inputsHaveNamesAndKeys();
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
    QTableWidget *g = grid(editor());
    g->setFocus();
    g->setCurrentCell(4, ColName);
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

    // Read back.
    image().setSize(0);
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
    QTableWidget *g = grid(editor());
    g->setFocus();
    g->setCurrentCell(2, ColVersion);
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
    f->window->memoryPage()->session().memorySlots().storeName(2, QStringLiteral("Zwei"));
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

QTEST_MAIN(TstMemoryEditor)
#include "tst_memoryeditor.moc"
