// The page "Speicherplätze": layout, editing rules, .Mem files, and the
// three slot operations against an in-process receiver on the USB path.
#include "app/TFMain.h"
#include "link/DeviceEvents.h"
#include "link/DeviceLink.h"
#include "link/ReplyDispatcher.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"
#include "memory/ui/MemoryPage.h"

#include "ScriptedDialogs.h"
#include "TestFiles.h"

#include <QAction>
#include <QLabel>
#include <QHeaderView>
#include <QListWidget>
#include <QScrollBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <functional>

using namespace lmk;

namespace {

QByteArray record(int s) {
    QByteArray r(kSlotSize, Qt::Uninitialized);
    for (int i = 0; i < kSlotSize; ++i)
        r[i] = char((i * 13 + s * 31) & 0xFF);
    const QByteArray name = QStringLiteral("Slot %1").arg(s).toLatin1();
    r.replace(slot::kName, slot::kNameLength, name.leftJustified(slot::kNameLength, '\0'));
    r[slot::kModulation] = char(s % 6);
    r[slot::kFilterHp] = char(s % 8);
    r[slot::kFilterTp] = char(s % 8);
    return r;
}

QByteArray slotReply(int s, const QByteArray &rec) {
    QByteArray p;
    p.append(char(0x10)).append(3, char(0));
    char n[4];
    qToLittleEndian<quint32>(quint32(s), n);
    p.append(n, 4).append(rec);
    return p;
}

QByteArray allRecords(int count = kSlotCount) {
    QByteArray all;
    for (int s = 1; s <= count; ++s)
        all += record(s);
    return all;
}

QByteArray ack(char code) {
    return QByteArray(1, code) + QByteArray(3, char(0));
}

// A receiver on the USB path inside the test: every request sent is
// recorded, and `respond` chooses the payloads that come back.
class FakeReceiver : public QObject {
  public:
    explicit FakeReceiver(DeviceLink &link) : m_link(link) {
        link.setUsbOpenForTest(1 != 0); // no library loaded: LMK_Write goes nowhere
        connect(&link, &DeviceLink::requestSent, this,
                [this](const QByteArray &b, const QString &) {
                    requests << b;
                    if (!respond)
                        return;
                    for (const QByteArray &p : respond(b))
                        QCoreApplication::postEvent(m_link.eventTarget(), new DeviceDataEvent(p));
                });
    }
    // The receiver's read cursor and records.
    std::function<QList<QByteArray>(const QByteArray &)> respond;
    QList<QByteArray> requests;

    void answerReadsFrom(int first) {
        m_cursor = first;
        respond = [this](const QByteArray &b) -> QList<QByteArray> {
            if (b.size() != 1 || b[0] != 0x10)
                return {ack(0)};
            const int s = m_cursor;
            m_cursor = s % kSlotCount + 1;
            return {slotReply(s, record(s))};
        };
    }

  private:
    DeviceLink &m_link;
    int m_cursor = 1;
};

} // namespace

class TstMemoryPage : public QObject {
    Q_OBJECT
  private:
    DeviceLink *link = nullptr;
    MemoryPage *page = nullptr;
    ScriptedDialogs *dlg = nullptr;
    QTableWidget *grid() { return page->findChild<QTableWidget *>("SG_Speicher"); }
    QPushButton *button(const char *name) { return page->findChild<QPushButton *>(name); }
    QString cell(int row, int col) { return page->cellText(row, col); }
    // The first key opens the in-place editor, the rest go into it.
    void typeIntoCell(const QString &text) {
        QTest::keyClick(grid(), text.at(0).toLatin1());
        if (QWidget *editor = grid()->indexWidget(grid()->currentIndex()))
            QTest::keyClicks(editor, text.mid(1));
    }
    bool editorOpen() { return grid()->indexWidget(grid()->currentIndex()) != nullptr; }
    QString bytesLabel() { return page->findChild<QLabel *>("L_SBytes")->text(); }
    QStringList listItems() {
        QStringList out;
        auto *lb = page->findChild<QListWidget *>("LB_Speicher");
        for (int i = 0; i < lb->count(); ++i)
            out << lb->item(i)->text();
        return out;
    }
    MemoryImage &image() { return page->memorySlots().image(); }

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void init() {
        dlg = new ScriptedDialogs;
        link = new DeviceLink;
        page = new MemoryPage(*link);
        page->writeHeadings();
    }
    void cleanup() {
        delete page;
        delete link;
        delete dlg;
    }

    void layoutAndInitialState();
    void valueWithoutEntryLeavesCell();
    void editingOnlyInNameAndVersion();
    void selectionChangeStoresNameAndVersion();
    void emptyCellsStoreNothing();
    void selectingCellsChangesNothing_data();
    void selectingCellsChangesNothing();
    void versionInput_data();
    void versionInput();
    void headersStayInView();
    void typingInReadOnlyColumnDoesNothing();
    void focusLossStoresCell();
    void openShowsRecordsAndSaveIsIdentical_data();
    void openShowsRecordsAndSaveIsIdentical();
    void openAndSaveErrors();
    void saveTakesCellTypedSinceLastSelection();
    void fileMenuRoutesMemFiles();

    void readAllInOrder();
    void readStoresEachRecordAtItsSlot();
    void readErrorStoresNothing_data();
    void readErrorStoresNothing();
    void silenceEndsWithTimeout();
    void writeSendsImageRecords();
    void writeRefusedAtFirstSlot();
    void writeOfShortImageSendsNothing_data();
    void writeOfShortImageSendsNothing();
    void clearAsksFirst_data();
    void clearAsksFirst();
    void clearYesSendsZeroRecords();
    void clearRefused();
    void unexpectedReplyNamesCode_data();
    void unexpectedReplyNamesCode();
    void noTransportDoesNothing();
    void secondOperationDoesNotStartInsideWait();
};

void TstMemoryPage::layoutAndInitialState() {
    QVERIFY(grid());
    QCOMPARE(grid()->geometry(), QRect(8, 8, 801, 489));
    QCOMPARE(grid()->rowCount(), 64);
    QCOMPARE(grid()->columnCount(), 12);
    const int widths[] = {40, 152, 75, 60, 58, 72, 55, 48, 72, 49, 47, 41};
    QCOMPARE(grid()->verticalHeader()->width(), widths[0]); // column 0: the side header
    for (int c = 1; c < 12; ++c)
        QCOMPARE(grid()->columnWidth(c), widths[c]);
    QCOMPARE(grid()->rowHeight(5), 20);
    QCOMPARE(grid()->horizontalHeader()->height(), 20); // row 0: the top header
    QCOMPARE(grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
    const QStringList headings{"Platz",       "Name",         "Frequenz",  "Modulation",
                               "Bandbreite",  "Verschiebung", "Hochpass",  "Eingang",
                               "Abschwächer", "Filter HP",    "Filter TP", "Version"};
    for (int c = 0; c < 12; ++c)
        QCOMPARE(cell(0, c), headings[c]);
    for (int r = 1; r <= 63; ++r)
        QCOMPARE(cell(r, 0), QString::number(r));
    QCOMPARE(cell(1, 1), QString());
    // The headings are the table's headers; the cells behind them are hidden.
    QCOMPARE(grid()->horizontalHeaderItem(ColName)->text(), QStringLiteral("Name"));
    QCOMPARE(grid()->verticalHeaderItem(63)->text(), QStringLiteral("63"));
    QVERIFY(grid()->isRowHidden(0));
    QVERIFY(grid()->isColumnHidden(0));
    QVERIFY(!(grid()->item(0, 1)->flags() & Qt::ItemIsSelectable));

    struct Ctl {
        const char *name;
        QRect geo;
        QString text;
        bool enabled;
    };
    const Ctl buttons[] = {
        {"B_Laden", QRect(832, 320, 129, 25), "Laden vom LMK54", true},
        {"B_Speichern", QRect(832, 384, 129, 25), "Speichern im LMK54", false},
        {"B_Loeschen", QRect(832, 456, 129, 25), "Alles Löschen", true},
    };
    for (const Ctl &b : buttons) {
        QPushButton *w = button(b.name);
        QVERIFY2(w, b.name);
        QCOMPARE(w->geometry(), b.geo);
        QCOMPARE(w->text(), b.text);
        QCOMPARE(w->isEnabled(), b.enabled);
    }
    const std::pair<const char *, QString> labels[] = {{"Label11", "Datei:"},
                                                       {"Label10", "Speicherplätze:"},
                                                       {"Label12", "Bytes:"},
                                                       {"L_SBytes", "0"}};
    for (const auto &[name, text] : labels) {
        auto *l = page->findChild<QLabel *>(name);
        QVERIFY2(l, name);
        QCOMPARE(l->text(), text);
    }
    QCOMPARE(page->findChild<QLabel *>("Label11")->pos(), QPoint(824, 48));
    QCOMPARE(page->findChild<QLabel *>("L_SBytes")->pos(), QPoint(880, 360));
    auto *lb = page->findChild<QListWidget *>("LB_Speicher");
    QCOMPARE(lb->geometry(), QRect(824, 72, 137, 18));
    QCOMPARE(listItems(), QStringList{"keine"});
}

void TstMemoryPage::valueWithoutEntryLeavesCell() {
    QByteArray r = record(2); // LSB, filters 2
    page->ShowSlotRecord(r, 9);
    QCOMPARE(cell(9, ColModulation), QStringLiteral("LSB"));
    r[slot::kModulation] = 6;
    r[slot::kFilterHp] = 8;
    r[slot::kFilterTp] = 8;
    r[slot::kVersion] = char(0xC7);
    page->ShowSlotRecord(r, 9);
    QCOMPARE(cell(9, ColModulation), QStringLiteral("LSB"));
    QCOMPARE(cell(9, ColFilterHp), QStringLiteral("3,5M"));
    QCOMPARE(cell(9, ColFilterTp), QStringLiteral("2,0M"));
    QCOMPARE(cell(9, ColVersion), QStringLiteral("7"));
    QCOMPARE(cell(9, ColPlatz), QStringLiteral("9"));
}

void TstMemoryPage::editingOnlyInNameAndVersion() {
    page->show();
    grid()->setFocus();
    for (int col = 1; col < 12; ++col) {
        grid()->setCurrentCell(3, col);
        QCOMPARE(page->LastSelCol, col);
        QCOMPARE(page->LastSelRow, 3);
        QTest::keyClick(grid(), Qt::Key_X);
        const bool editing = editorOpen();
        QCOMPARE(editing, col == ColName || col == ColVersion);
        if (editing)
            QTest::keyClick(grid()->indexWidget(grid()->currentIndex()), Qt::Key_Escape);
    }
}

void TstMemoryPage::selectionChangeStoresNameAndVersion() {
    grid()->setCurrentCell(5, ColName);
    grid()->item(5, ColName)->setText("ABC");
    grid()->setCurrentCell(7, ColVersion);
    QCOMPARE(image().data().mid(4 * 256 + 18, 17), QByteArray("ABC              "));
    QCOMPARE(cell(5, ColName), QStringLiteral("ABC              "));
    QCOMPARE(image().position(), qint64(4 * 256 + 35));
    QCOMPARE(grid()->editTriggers() & QAbstractItemView::AnyKeyPressed,
             QAbstractItemView::AnyKeyPressed);

    grid()->item(7, ColVersion)->setText("12");
    grid()->setCurrentCell(7, ColFrequenz);
    QCOMPARE(quint8(image().data().at(6 * 256 + 1)), quint8(0xCC)); // the whole number
    QCOMPARE(cell(7, ColVersion), QStringLiteral("12"));
    QCOMPARE(grid()->editTriggers(), QAbstractItemView::NoEditTriggers);

    // A name longer than 17 characters stays whole in the cell.
    grid()->setCurrentCell(2, ColName);
    grid()->item(2, ColName)->setText("ABCDEFGHIJKLMNOPQRSTU");
    grid()->setCurrentCell(3, ColName);
    QCOMPARE(image().data().mid(256 + 18, 17), QByteArray("ABCDEFGHIJKLMNOPQ"));
    QCOMPARE(cell(2, ColName), QStringLiteral("ABCDEFGHIJKLMNOPQRSTU"));
}

void TstMemoryPage::emptyCellsStoreNothing() {
    grid()->setCurrentCell(4, ColName);
    grid()->setCurrentCell(4, ColVersion);
    grid()->setCurrentCell(9, ColFrequenz);
    page->SG_SpeicherExit();
    QCOMPARE(image().size(), qint64(0));
}

void TstMemoryPage::selectingCellsChangesNothing_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("openEditor");
    QTest::newRow("name, selected") << int(ColName) << false;
    QTest::newRow("name, editor opened and left") << int(ColName) << true;
    QTest::newRow("version, selected") << int(ColVersion) << false;
    QTest::newRow("version, editor opened and left") << int(ColVersion) << true;
}

void TstMemoryPage::selectingCellsChangesNothing() {
    QFETCH(int, column);
    QFETCH(bool, openEditor);
    // Slot 4: a name with a byte after its end, version 12 with bits 4-7
    // not 1100. Before, selecting and leaving these cells stored "a" and 14
    // spaces over "a\0b..." and version 1, and File, Save wrote that.
    QByteArray content = allRecords();
    content.replace(3 * 256 + 18, 17, QByteArray("a\0bcdefghijklmno", 17));
    content[3 * 256 + 1] = char(0x3C);
    QTemporaryDir dir;
    QVERIFY(test::writeFileContents(dir.filePath("alt.Mem"), content));
    page->openMemFile(dir.filePath("alt.Mem"));
    QCOMPARE(cell(4, ColVersion), QStringLiteral("12"));
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page));
    grid()->setFocus();
    grid()->setCurrentCell(4, column);
    if (openEditor) {
        QTest::keyClick(grid(), Qt::Key_F2);
        QVERIFY(editorOpen());
        QTest::keyClick(grid()->indexWidget(grid()->currentIndex()), Qt::Key_Return);
    }
    grid()->setCurrentCell(5, column);
    grid()->setCurrentCell(4, column);
    page->saveMemFile(dir.filePath("neu.Mem")); // stores the selected cell
    QCOMPARE(image().data(), content);
    QCOMPARE(test::fileContents(dir.filePath("neu.Mem")), content);
    QVERIFY(dlg->texts.isEmpty());
}

void TstMemoryPage::versionInput_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("byte"); // -1: refused, the old value stays
    QTest::newRow("12") << "12" << 0xCC;
    QTest::newRow("15") << "15" << 0xCF;
    QTest::newRow("0") << "0" << 0xC0;
    QTest::newRow("16") << "16" << -1;
    QTest::newRow("x") << "x" << -1;
    QTest::newRow("1.5") << "1.5" << -1;
    QTest::newRow("empty") << "" << -2; // stores nothing, no message
}

void TstMemoryPage::versionInput() {
    QFETCH(QString, text);
    QFETCH(int, byte);
    image().write(allRecords());
    image().setPosition(2 * 256 + 1);
    image().write("\xC5", 1);
    page->ShowSlotRecord(image().slotRecord(3), 3);
    grid()->setCurrentCell(3, ColVersion);
    grid()->item(3, ColVersion)->setText(text);
    grid()->setCurrentCell(3, ColName);
    if (byte >= 0) {
        QCOMPARE(quint8(image().data().at(2 * 256 + 1)), quint8(byte));
        QCOMPARE(cell(3, ColVersion), text);
        QVERIFY(dlg->texts.isEmpty());
    } else {
        QCOMPARE(quint8(image().data().at(2 * 256 + 1)), quint8(0xC5));
        QCOMPARE(cell(3, ColVersion), QStringLiteral("5"));
        const QStringList want{
            QStringLiteral("The version is a whole number from 0 to 15; \"%1\" was not stored.")
                .arg(text)};
        QCOMPARE(dlg->texts, byte == -1 ? want : QStringList());
    }
}

void TstMemoryPage::headersStayInView() {
    image().write(allRecords());
    page->memorySlots().announceImageReplaced();
    page->resize(1000, 520);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page));
    grid()->scrollToBottom();
    grid()->horizontalScrollBar()->setValue(grid()->horizontalScrollBar()->maximum());
    QVERIFY(grid()->verticalScrollBar()->value() > 0);
    QVERIFY(!grid()->viewport()->rect().intersects(grid()->visualItemRect(grid()->item(1, 1))));
    // Headings and slot numbers are the table's headers: still in view.
    QVERIFY(grid()->horizontalHeader()->isVisible());
    QVERIFY(grid()->verticalHeader()->isVisible());
    QCOMPARE(grid()->horizontalHeader()->geometry().top(), grid()->frameWidth());
    const int y = grid()->verticalHeader()->sectionViewportPosition(63);
    QVERIFY(y >= 0 && y < grid()->viewport()->height());
}

void TstMemoryPage::typingInReadOnlyColumnDoesNothing() {
    image().write(allRecords());
    page->memorySlots().announceImageReplaced();
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page));
    grid()->setFocus();
    grid()->setCurrentCell(3, ColModulation); // "USB"; row 6 shows "Auto"
    // Before, "A" jumped to row 6 by keyboard search.
    QTest::keyClicks(grid(), QStringLiteral("Au"));
    QCOMPARE(grid()->currentRow(), 3);
    QCOMPARE(grid()->currentColumn(), int(ColModulation));
    QVERIFY(!editorOpen());
    QCOMPARE(image().data(), allRecords());
}

void TstMemoryPage::focusLossStoresCell() {
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page));
    page->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(page));
    grid()->setFocus();
    grid()->setCurrentCell(2, ColName);
    typeIntoCell("Hi");
    QVERIFY(editorOpen());
    QVERIFY(image().size() == 0);
    button("B_Loeschen")->setFocus(Qt::MouseFocusReason); // focus leaves the grid
    QCOMPARE(image().data().mid(256 + 18, 17), QByteArray("Hi               "));
    QCOMPARE(cell(2, ColName), QStringLiteral("Hi               "));
}

void TstMemoryPage::openShowsRecordsAndSaveIsIdentical_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("wholeRecords");
    QTest::newRow("63 records") << allRecords() << 63;
    QTest::newRow("longer, tail kept") << allRecords() + QByteArray(300, 'T') << 63;
    QTest::newRow("short") << allRecords(3) + QByteArray(100, 'x') << 3;
}

void TstMemoryPage::openShowsRecordsAndSaveIsIdentical() {
    QFETCH(QByteArray, content);
    QFETCH(int, wholeRecords);
    // Rows that were filled before must not show stale data afterwards.
    for (int r = 1; r <= 63; ++r)
        page->ShowSlotRecord(record(99), r);
    QTemporaryDir dir;
    const QString in = dir.filePath("Sender.Mem");
    {
        QFile f(in);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    page->openMemFile(in);
    QCOMPARE(listItems(), QStringList{"Sender.Mem"});
    QVERIFY(button("B_Speichern")->isEnabled());
    QCOMPARE(image().data(), content);
    for (int r = 1; r <= 63; ++r) {
        const QString want = r <= wholeRecords ? QStringLiteral("Slot %1").arg(r) : QString();
        QCOMPARE(cell(r, ColName), want);
        if (r > wholeRecords)
            QCOMPARE(cell(r, ColFrequenz), QString());
    }
    const QString out = dir.filePath("Kopie.Mem");
    page->saveMemFile(out);
    QCOMPARE(listItems(), QStringList{"Kopie.Mem"});
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), content);
    QVERIFY(dlg->texts.isEmpty());
}

void TstMemoryPage::openAndSaveErrors() {
    QTemporaryDir dir;
    page->openMemFile(dir.filePath("fehlt.Mem"));
    QCOMPARE(listItems(), QStringList{"fehlt.Mem"});
    QCOMPARE(dlg->texts.size(), 1);
    QVERIFY(dlg->texts[0].startsWith("Cannot open file"));
    QVERIFY(!button("B_Speichern")->isEnabled());

    page->saveMemFile(dir.filePath("no/folder/x.Mem"));
    QCOMPARE(dlg->texts.size(), 2);
    QVERIFY(dlg->texts[1].startsWith("Cannot create file"));
}

void TstMemoryPage::saveTakesCellTypedSinceLastSelection() {
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page));
    page->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(page));
    image().setSize(kSlotImageSize);
    grid()->setFocus();
    grid()->setCurrentCell(3, ColName);
    typeIntoCell("Neu");
    QVERIFY(editorOpen());
    QTemporaryDir dir;
    page->saveMemFile(dir.filePath("a.Mem")); // File, Save leaves the focus in the grid
    QFile f(dir.filePath("a.Mem"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll().mid(2 * 256 + 18, 17), QByteArray("Neu              "));
}

void TstMemoryPage::fileMenuRoutesMemFiles() {
    delete page;
    page = nullptr;
    QTemporaryDir dir;
    {
        TFMain window(*link);
        page = window.memoryPage();
        page->writeHeadings();
        const QString path = dir.filePath("x.Mem");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(allRecords());
        }
        window.showPage(kPageTerminal);
        dlg->files << path;
        window.findChild<QAction *>("MI_Oeffnen")->trigger();
        QCOMPARE(dlg->fileRequests, QStringList{"*.Mem|Memory file *.Mem|*.Mem"});
        QCOMPARE(cell(63, ColName), QStringLiteral("Slot 63"));
        dlg->files << dir.filePath("y.Mem");
        window.findChild<QAction *>("MI_Speichern")->trigger();
        QCOMPARE(dlg->fileRequests.last(), QStringLiteral("*.Mem|Speicherplatz-Datei *.Mem|*.Mem"));
        QCOMPARE(listItems(), QStringList{"y.Mem"});
        QVERIFY(QFile::exists(dir.filePath("y.Mem")));
        page = nullptr; // owned by the window
    }
    page = new MemoryPage(*link); // for cleanup
}

// ------------------------------------------------------------- transfer

void TstMemoryPage::readAllInOrder() {
    FakeReceiver rx(*link);
    rx.answerReadsFrom(1);
    button("B_Laden")->click();
    QCOMPARE(rx.requests.size(), 63);
    for (const QByteArray &r : rx.requests)
        QCOMPARE(r, QByteArray(1, char(0x10)));
    QCOMPARE(image().data(), allRecords());
    for (int r = 1; r <= 63; ++r)
        QCOMPARE(cell(r, ColName), QStringLiteral("Slot %1").arg(r));
    QCOMPARE(bytesLabel(), QStringLiteral("16128  OK!"));
    QCOMPARE(listItems(), QStringList{"Read from LMK54!"});
    QVERIFY(button("B_Laden")->isEnabled());
    QVERIFY(button("B_Speichern")->isEnabled());
    QVERIFY(dlg->texts.isEmpty());
    QVERIFY(!link->exchangeRunning());
}

void TstMemoryPage::readStoresEachRecordAtItsSlot() {
    FakeReceiver rx(*link);
    rx.answerReadsFrom(5); // the receiver's cursor stood at slot 5
    int replies = 0;
    connect(&page->memorySlots(), &MemorySlots::recordStored, this,
            [&](qint64 s, const QByteArray &) {
                // An edit stored during the wait moves the image's position.
                if (++replies == 2) {
                    grid()->setCurrentCell(40, ColName);
                    grid()->item(40, ColName)->setText("Edit");
                    grid()->setCurrentCell(41, ColName);
                }
                Q_UNUSED(s);
            });
    page->B_LadenClick();
    QCOMPARE(image().size(), qint64(kSlotImageSize));
    for (int s = 1; s <= 63; ++s)
        QCOMPARE(image().slotRecord(s), record(s));
    QCOMPARE(bytesLabel(), QString::number(4 * 256)); // the last reply was slot 4
    QCOMPARE(cell(63, ColName), QStringLiteral("Slot 63"));
}

void TstMemoryPage::readErrorStoresNothing_data() {
    QTest::addColumn<bool>("fileBefore");
    QTest::newRow("nothing loaded") << false;
    QTest::newRow("a file loaded") << true;
}

void TstMemoryPage::readErrorStoresNothing() {
    QFETCH(bool, fileBefore);
    QTemporaryDir dir;
    const QByteArray before = fileBefore ? allRecords().replace(18, 4, "Alt1") : QByteArray();
    if (fileBefore) {
        QVERIFY(test::writeFileContents(dir.filePath("alt.Mem"), before));
        page->openMemFile(dir.filePath("alt.Mem"));
    }
    FakeReceiver rx(*link);
    rx.respond = [&](const QByteArray &) -> QList<QByteArray> {
        const int s = int(rx.requests.size());
        if (s == 3) // 12 bytes short: neither 256 nor 264
            return {slotReply(3, record(3)).left(252)};
        return {slotReply(s, record(s))};
    };
    page->B_LadenClick();
    // Before, the image was 16128 zero bytes and "Speichern im LMK54" was
    // enabled: one click wrote 63 empty slots.
    QCOMPARE(dlg->texts, QStringList{"Error on reading!\nReading stopped at slot 3 of 63; the "
                                     "memory slots were not changed."});
    QCOMPARE(rx.requests.size(), 3);
    QCOMPARE(image().data(), before);
    QCOMPARE(cell(1, ColName), fileBefore ? QStringLiteral("Alt1 1") : QString());
    QCOMPARE(cell(3, ColName), fileBefore ? QStringLiteral("Slot 3") : QString());
    QCOMPARE(listItems(), QStringList{fileBefore ? "alt.Mem" : "keine"});
    QCOMPARE(bytesLabel(), QStringLiteral("512"));
    QVERIFY(button("B_Laden")->isEnabled());
    QCOMPARE(button("B_Speichern")->isEnabled(), fileBefore);
}

void TstMemoryPage::silenceEndsWithTimeout() {
    FakeReceiver rx(*link);
    rx.respond = [&](const QByteArray &) -> QList<QByteArray> {
        const int s = int(rx.requests.size());
        if (s == 2)
            return {};
        return {slotReply(s, record(s))};
    };
    QElapsedTimer t;
    t.start();
    page->B_LadenClick();
    QVERIFY(t.elapsed() >= 2800); // a coarse timer may fire 5% early
    QCOMPARE(dlg->texts, QStringList{"Timeout: Device doesn't respond!\nReading stopped at slot 2 "
                                     "of 63; the memory slots were not changed."});
    QCOMPARE(rx.requests.size(), 2);
    QCOMPARE(bytesLabel(), QStringLiteral("256"));
    QCOMPARE(image().size(), qint64(0));
    QVERIFY(button("B_Laden")->isEnabled());
    QVERIFY(!button("B_Speichern")->isEnabled()); // as before the read
    QVERIFY(!link->exchangeRunning());
}

void TstMemoryPage::writeSendsImageRecords() {
    FakeReceiver rx(*link);
    rx.respond = [](const QByteArray &) { return QList<QByteArray>{ack(0)}; };
    image().write(allRecords() + QByteArray(1000, 'T')); // a longer image
    page->B_SpeichernClick();
    QCOMPARE(rx.requests.size(), 63);
    for (int s = 1; s <= 63; ++s) {
        const QByteArray want =
            QByteArray("\x11", 1) + char(s) + QByteArray(2, char(0)) + record(s);
        QCOMPARE(rx.requests[s - 1], want);
    }
    QCOMPARE(bytesLabel(), QStringLiteral("16128  OK!"));
    QVERIFY(dlg->texts.isEmpty());
    QVERIFY(button("B_Speichern")->isEnabled());
    QCOMPARE(listItems(), QStringList{"keine"}); // the write leaves LB_Speicher
}

void TstMemoryPage::writeRefusedAtFirstSlot() {
    FakeReceiver rx(*link);
    rx.respond = [](const QByteArray &) { return QList<QByteArray>{ack(0x55)}; };
    image().write(allRecords());
    page->B_SpeichernClick();
    QCOMPARE(rx.requests.size(), 1);
    QCOMPARE(dlg->texts, QStringList{"Error on saving!"});
    QCOMPARE(bytesLabel(), QStringLiteral("0"));
    QVERIFY(button("B_Laden")->isEnabled());
    QVERIFY(button("B_Speichern")->isEnabled());
}

void TstMemoryPage::writeOfShortImageSendsNothing_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("text");
    QTest::newRow("2 records and a part")
        << allRecords(2) + QByteArray(100, 'x')
        << "The memory image holds 2 of the 63 slots (612 of 16128 bytes); nothing was written.";
    QTest::newRow("one byte short")
        << allRecords().chopped(1)
        << "The memory image holds 62 of the 63 slots (16127 of 16128 bytes); nothing was "
           "written.";
    QTest::newRow("empty file") << QByteArray()
                                << "The memory image holds 0 of the 63 slots (0 of 16128 bytes); "
                                   "nothing was written.";
}

void TstMemoryPage::writeOfShortImageSendsNothing() {
    QFETCH(QByteArray, content);
    QFETCH(QString, text);
    QTemporaryDir dir;
    QVERIFY(test::writeFileContents(dir.filePath("kurz.Mem"), content));
    page->openMemFile(dir.filePath("kurz.Mem"));
    FakeReceiver rx(*link);
    rx.respond = [](const QByteArray &) { return QList<QByteArray>{ack(0)}; };
    button("B_Speichern")->click();
    // Before, the whole records went out and the write ended in silence.
    QVERIFY(rx.requests.isEmpty());
    QCOMPARE(dlg->texts, QStringList{text});
    QCOMPARE(bytesLabel(), QStringLiteral("0"));
    QVERIFY(button("B_Laden")->isEnabled());
    QVERIFY(button("B_Speichern")->isEnabled());
}

void TstMemoryPage::clearAsksFirst_data() {
    QTest::addColumn<bool>("connected");
    QTest::newRow("connected") << true;
    QTest::newRow("no connection") << false;
}

void TstMemoryPage::clearAsksFirst() {
    QFETCH(bool, connected);
    FakeReceiver rx(*link);
    if (!connected)
        link->setUsbOpenForTest(0 != 0);
    dlg->answers << false;
    button("B_Loeschen")->click();
    QCOMPARE(dlg->texts, QStringList{"Wirklich alle Speicherplätze im LMK54 löschen?"});
    QVERIFY(rx.requests.isEmpty());
    QVERIFY(!button("B_Speichern")->isEnabled());
    if (!connected) { // Yes without a connection: nothing either
        dlg->answers << true;
        button("B_Loeschen")->click();
        QCOMPARE(dlg->texts.size(), 2);
        QVERIFY(rx.requests.isEmpty());
        QVERIFY(!button("B_Speichern")->isEnabled());
    }
}

void TstMemoryPage::clearYesSendsZeroRecords() {
    FakeReceiver rx(*link);
    rx.respond = [](const QByteArray &) { return QList<QByteArray>{ack(0)}; };
    page->ShowSlotRecord(record(7), 7);
    dlg->answers << true;
    page->B_LoeschenClick();
    QCOMPARE(rx.requests.size(), 63);
    for (int s = 1; s <= 63; ++s)
        QCOMPARE(rx.requests[s - 1], QByteArray("\x11", 1) + char(s) + QByteArray(258, char(0)));
    QCOMPARE(bytesLabel(), QStringLiteral("16128  OK!"));
    QVERIFY(button("B_Speichern")->isEnabled());
    QCOMPARE(cell(7, ColName), QStringLiteral("Slot 7")); // the grid is not changed
    QCOMPARE(image().size(), qint64(0));
}

void TstMemoryPage::clearRefused() {
    FakeReceiver rx(*link);
    rx.respond = [&](const QByteArray &) {
        return QList<QByteArray>{ack(rx.requests.size() == 3 ? 0x5A : 0)};
    };
    dlg->answers << true;
    page->B_LoeschenClick();
    QCOMPARE(rx.requests.size(), 3);
    QCOMPARE(dlg->texts.last(), QStringLiteral("Fehler beim Speichern!"));
    QCOMPARE(bytesLabel(), QStringLiteral("512"));
    QVERIFY(button("B_Laden")->isEnabled());
}

void TstMemoryPage::unexpectedReplyNamesCode_data() {
    QTest::addColumn<int>("kind"); // 0 read, 1 write, 2 clear
    QTest::addColumn<QString>("text");
    QTest::newRow("read") << 0
                          << "Unexpected reply from the device (code 0x1F).\nReading stopped at "
                             "slot 2 of 63; the memory slots were not changed.";
    QTest::newRow("write") << 1
                           << "Unexpected reply from the device (code 0x1F).\nWriting stopped at "
                              "slot 2 of 63.";
    QTest::newRow("clear") << 2
                           << "Unexpected reply from the device (code 0x1F).\nClearing stopped at "
                              "slot 2 of 63.";
}

void TstMemoryPage::unexpectedReplyNamesCode() {
    QFETCH(int, kind);
    QFETCH(QString, text);
    FakeReceiver rx(*link);
    rx.respond = [&](const QByteArray &b) -> QList<QByteArray> {
        const int s = int(rx.requests.size());
        if (s == 2)
            return {QByteArray::fromHex("1f000000")};
        return {b[0] == 0x10 ? slotReply(s, record(s)) : ack(0)};
    };
    if (kind == 1)
        image().write(allRecords());
    dlg->answers << true;
    if (kind == 0)
        page->B_LadenClick();
    else if (kind == 1)
        page->B_SpeichernClick();
    else
        page->B_LoeschenClick();
    // Before: "Timeout: Device doesn't respond!" once the reply timer ran out.
    QCOMPARE(dlg->texts.last(), text);
    QCOMPARE(rx.requests.size(), 2);
    QCOMPARE(bytesLabel(), QStringLiteral("256"));
    QVERIFY(button("B_Laden")->isEnabled());
    QVERIFY(!link->exchangeRunning());
}

void TstMemoryPage::noTransportDoesNothing() {
    page->B_LadenClick();
    page->B_SpeichernClick();
    QCOMPARE(listItems(), QStringList{"keine"});
    QCOMPARE(image().size(), qint64(0));
    QVERIFY(!button("B_Speichern")->isEnabled());
    QVERIFY(dlg->texts.isEmpty());
}

void TstMemoryPage::secondOperationDoesNotStartInsideWait() {
    FakeReceiver rx(*link);
    rx.answerReadsFrom(1);
    dlg->defaultAnswer = true;
    bool once = false;
    connect(&page->memorySlots(), &MemorySlots::recordStored, this, [&] {
        if (!once) {
            once = true;
            QVERIFY(!button("B_Laden")->isEnabled());
            QVERIFY(button("B_Loeschen")->isEnabled());
            page->B_LoeschenClick(); // inside the read's wait
            page->B_SpeichernClick();
        }
    });
    page->B_LadenClick();
    QCOMPARE(rx.requests.size(), 63);
    // The clear says why it does nothing (before: no word), and asks nothing.
    QCOMPARE(dlg->texts, QStringList{"The memory slots are being transferred; wait until that "
                                     "has finished, then clear them."});
    QCOMPARE(image().data(), allRecords());
}

QTEST_MAIN(TstMemoryPage)
#include "tst_memorypage.moc"
