// The page "Speicherplätze": layout, editing rules, .Mem files, and the
// three slot operations against an in-process receiver on the USB path.
#include "app/TFMain.h"
#include "link/DeviceEvents.h"
#include "link/DeviceLink.h"
#include "link/ReplyDispatcher.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"
#include "memory/ui/MemoryPage.h"
#include "memory/ui/SlotTableModel.h"

#include "ScriptedDialogs.h"
#include "TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QHeaderView>
#include <QListWidget>
#include <QScrollBar>
#include <QPushButton>
#include <QTableView>
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

// Payloads that take the place of the receiver's reply, by request number.
using Replies = QMap<int, QByteArray>;

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
    QTableView *grid() { return page->findChild<QTableView *>("SG_Speicher"); }
    SlotTableModel &model() { return page->model(); }
    // Makes (row, col) the grid's current cell, as a click does.
    void setCurrentCell(int row, int col) {
        grid()->setCurrentIndex(model().indexOf(row, col));
    }
    // The image as the session's own change (a file, a read).
    void showImage(const QByteArray &bytes) {
        page->memorySlots().setImageBytes(bytes);
        model().undoStack().clear(); // as saved
    }
    // Types a cell's text through its editor and leaves it with Return.
    void typeAndCommit(int row, int col, const QString &text) {
        setCurrentCell(row, col);
        QTest::keyClick(grid(), Qt::Key_F2);
        QWidget *editor = grid()->indexWidget(grid()->currentIndex());
        QVERIFY(editor);
        if (auto *line = qobject_cast<QLineEdit *>(editor))
            line->clear();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!editorOpen()); // the editor commits once the loop runs
    }
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
    }
    void cleanup() {
        delete page;
        delete link;
        delete dlg;
    }

    void layoutAndInitialState();
    void valueWithoutEntryShowsRawValue();
    void editingEveryColumnButPlatz();
    void typedCellsAreStored();
    void clickThenTypeKeepsEveryKey_data();
    void clickThenTypeKeepsEveryKey();
    void cellEdits_data();
    void cellEdits();
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
    void readIsCompleteBySlotNumber_data();
    void readIsCompleteBySlotNumber();
    void undoStopsAtFirstImageOpened();
    void unknownTableByteShowsRawValue();
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
    // One row per slot and one column per heading: no empty row or column
    // behind the headers.
    QCOMPARE(grid()->model()->rowCount(), 63);
    QCOMPARE(grid()->model()->columnCount(), 12);
    // The given widths, or wider where the heading needs it (never cut).
    const int widths[] = {40, 152, 75, 60, 58, 72, 55, 48, 72, 49, 47, 41};
    for (int c = 0; c < 12; ++c)
        QCOMPARE(grid()->columnWidth(c),
                 qMax(widths[c], grid()->horizontalHeader()->sectionSizeHint(c)));
    QCOMPARE(grid()->rowHeight(5), 20);
    QCOMPARE(grid()->horizontalHeader()->height(), 20); // row 0: the top header
    QVERIFY(grid()->verticalHeader()->isHidden());      // column 0 holds the numbers
    const QStringList headings{"Platz",       "Name",         "Frequenz",  "Modulation",
                               "Bandbreite",  "Verschiebung", "Hochpass",  "Eingang",
                               "Abschwächer", "Filter HP",    "Filter TP", "Version"};
    for (int c = 0; c < 12; ++c) {
        QCOMPARE(cell(0, c), headings[c]);
        QCOMPARE(grid()->model()->headerData(c, Qt::Horizontal).toString(), headings[c]);
    }
    for (int r = 1; r <= 63; ++r)
        QCOMPARE(cell(r, 0), QString::number(r));
    QCOMPARE(cell(1, 1), QString());
    QVERIFY(!(model().flags(model().indexOf(1, ColPlatz)) & Qt::ItemIsEditable));

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

void TstMemoryPage::valueWithoutEntryShowsRawValue() {
    QByteArray image = allRecords();
    QByteArray r = record(2); // LSB, filters 2
    image.replace(8 * 256, 256, r);
    showImage(image);
    QCOMPARE(cell(9, ColModulation), QStringLiteral("LSB"));
    r[slot::kModulation] = 6;
    r[slot::kFilterHp] = 8;
    r[slot::kFilterTp] = 8;
    r[slot::kVersion] = char(0xC7);
    image.replace(8 * 256, 256, r);
    showImage(image);
    // The raw value, marked; before, the cell kept the previous image's
    // text ("LSB", "3,5M", "2,0M"), which the slot does not hold.
    QCOMPARE(cell(9, ColModulation), QStringLiteral("? (6)"));
    QCOMPARE(cell(9, ColFilterHp), QStringLiteral("? (8)"));
    QCOMPARE(cell(9, ColFilterTp), QStringLiteral("? (8)"));
    QCOMPARE(cell(9, ColVersion), QStringLiteral("7"));
    QCOMPARE(cell(9, ColPlatz), QStringLiteral("9"));
}

void TstMemoryPage::editingEveryColumnButPlatz() {
    showImage(allRecords());
    page->show();
    grid()->setFocus();
    for (int col = 0; col < 12; ++col) {
        setCurrentCell(3, col);
        QTest::keyClick(grid(), Qt::Key_X);
        const bool editing = editorOpen();
        QCOMPARE(editing, col != ColPlatz);
        if (editing)
            QTest::keyClick(grid()->indexWidget(grid()->currentIndex()), Qt::Key_Escape);
    }
    QCOMPARE(image().data(), allRecords());
}

void TstMemoryPage::typedCellsAreStored() {
    page->show();
    grid()->setFocus();
    typeAndCommit(5, ColName, "ABC");
    QCOMPARE(image().data().mid(4 * 256 + 18, 17), QByteArray("ABC              "));
    QCOMPARE(cell(5, ColName), QStringLiteral("ABC              "));

    typeAndCommit(7, ColVersion, "12");
    QCOMPARE(quint8(image().data().at(6 * 256 + 1)), quint8(0xCC)); // the whole number
    QCOMPARE(cell(7, ColVersion), QStringLiteral("12"));
    QVERIFY(dlg->texts.isEmpty());

    // A name longer than 17 characters does not fit: named, nothing stored.
    const QByteArray before = image().data();
    typeAndCommit(2, ColName, "ABCDEFGHIJKLMNOPQRSTU");
    QCOMPARE(image().data(), before);
    QCOMPARE(dlg->texts, QStringList{"Slot 2: Name \"ABCDEFGHIJKLMNOPQRSTU\" is longer than 17 "
                                     "characters."});
}

void TstMemoryPage::clickThenTypeKeepsEveryKey_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("name") << int(ColName) << "NDB Kiel" << "NDB Kiel         ";
    QTest::newRow("frequency") << int(ColFrequenz) << "77500,5" << "00.077.500,5";
    QTest::newRow("bandwidth") << int(ColBandbreite) << "2400" << "2.400";
    QTest::newRow("version") << int(ColVersion) << "9" << "9";
}

// Before, the first keys typed into a cell just clicked were lost ("NDB
// Kiel" became " Kiel").
void TstMemoryPage::clickThenTypeKeepsEveryKey() {
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    showImage(allRecords());
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page));
    page->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(page));
    const QRect r = grid()->visualRect(model().indexOf(6, column));
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, r.center());
    for (QChar c : typed)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(cell(6, column), shown);
    QCOMPARE(model().undoStack().count(), 1);
    QVERIFY(dlg->texts.isEmpty());
}

void TstMemoryPage::cellEdits_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes");  // at offset afterwards; empty: refused
    QTest::addColumn<QString>("refusal");
    const auto ok = [](const char *name, int column, const QString &text, int offset,
                       const QByteArray &bytes) {
        QTest::newRow(name) << column << text << offset << bytes << QString();
    };
    const auto no = [](const char *name, int column, const QString &text, const QString &why) {
        QTest::newRow(name) << column << text << 0 << QByteArray() << why;
    };
    ok("frequency as shown", ColFrequenz, "00.077.500,0", slot::kFrequency, QByteArray::fromHex("58d30b00"));
    ok("frequency grouped", ColFrequenz, "77.500,0", slot::kFrequency, QByteArray::fromHex("58d30b00"));
    ok("frequency negative", ColFrequenz, "-1,5", slot::kFrequency, QByteArray::fromHex("f1ffffff"));
    no("frequency two decimals", ColFrequenz, "77500,05",
       "Slot 6: Frequenz \"77500,05\": is not a frequency with one decimal.");
    no("frequency beyond 32 bits", ColFrequenz, "214748365,0",
       "Slot 6: Frequenz \"214748365,0\": does not fit in 32 bits (-214748364.8 to 214748364.7).");
    ok("modulation", ColModulation, "USB", slot::kModulation, QByteArray("\x03"));
    no("modulation unknown", ColModulation, "FM",
       "Slot 6: Modulation \"FM\": is not one of Auto, DSB, LSB, USB, SSB, CW.");
    ok("filter", ColFilterTp, "170k", slot::kFilterTp, QByteArray("\x01"));
    ok("switch", ColAbschwaecher, " 0 dB", slot::kAbschwaecher, QByteArray(1, char(0)));
    ok("bandwidth grouped", ColBandbreite, "1.234", slot::kBandwidth, QByteArray::fromHex("d204"));
    no("bandwidth too large", ColBandbreite, "70000",
       "Slot 6: Bandbreite \"70000\": is not a whole number from 0 to 65535.");
    ok("shift as shown", ColVerschiebung, " +250", slot::kShift, QByteArray::fromHex("fa00"));
    ok("shift negative", ColVerschiebung, "-250", slot::kShift, QByteArray::fromHex("06ff"));
    // Separators and signs only where the grid writes them: a typo is
    // refused, never read as another number.
    no("bandwidth with a point", ColBandbreite, "1.5",
       "Slot 6: Bandbreite \"1.5\": is not a whole number from 0 to 65535.");
    no("shift with a plus inside", ColVerschiebung, "1+5",
       "Slot 6: Verschiebung \"1+5\": is not a whole number from -32768 to 32767.");
    no("frequency with a minus inside", ColFrequenz, "77500-1",
       "Slot 6: Frequenz \"77500-1\": is not a frequency with one decimal.");
    ok("name Latin-1", ColName, QStringLiteral("Müller"), slot::kName,
       QByteArray("M\xFCller           "));
    no("name outside Latin-1", ColName, QStringLiteral("Kiel \u03A9"),
       QStringLiteral("Slot 6: Name \"Kiel \u03A9\": the character \"\u03A9\" cannot be stored "
                      "(Latin-1 characters only)."));
}

// A value that does not fit is named and nothing changes (before, a name
// outside Latin-1 was stored with "?" and only two columns took input).
void TstMemoryPage::cellEdits() {
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, refusal);
    showImage(allRecords());
    QCOMPARE(model().setCellText(6, column, text), refusal);
    if (bytes.isEmpty()) {
        QCOMPARE(image().data(), allRecords());
        QCOMPARE(model().undoStack().count(), 0);
        return;
    }
    QCOMPARE(image().data().mid(5 * 256 + offset, bytes.size()), bytes);
    QCOMPARE(model().undoStack().count(), 1);
    QVERIFY(model().isModified());
    model().undo();
    QCOMPARE(image().data(), allRecords());
    QVERIFY(!model().isModified());
}

void TstMemoryPage::emptyCellsStoreNothing() {
    page->show();
    grid()->setFocus();
    setCurrentCell(4, ColName);
    setCurrentCell(4, ColVersion);
    setCurrentCell(9, ColFrequenz);
    page->commitEdits();
    QCOMPARE(image().size(), qint64(0));
    showImage(allRecords());
    typeAndCommit(4, ColName, QString()); // a name emptied stores nothing
    QCOMPARE(image().data(), allRecords());
    QVERIFY(!model().isModified());
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
    setCurrentCell(4, column);
    if (openEditor) {
        QTest::keyClick(grid(), Qt::Key_F2);
        QVERIFY(editorOpen());
        QTest::keyClick(grid()->indexWidget(grid()->currentIndex()), Qt::Key_Return);
        QTRY_VERIFY(!editorOpen());
    }
    setCurrentCell(5, column);
    setCurrentCell(4, column);
    page->saveMemFile(dir.filePath("neu.Mem")); // commits an open editor
    QCOMPARE(image().data(), content);
    QCOMPARE(test::fileContents(dir.filePath("neu.Mem")), content);
    QVERIFY(dlg->texts.isEmpty());
    QVERIFY(!model().isModified());
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
    QByteArray content = allRecords();
    content[2 * 256 + 1] = char(0xC5);
    showImage(content);
    // What a paste or an editor hands to the model.
    const QString refusal = model().setCellText(3, ColVersion, text);
    if (byte >= 0) {
        QCOMPARE(refusal, QString());
        QCOMPARE(quint8(image().data().at(2 * 256 + 1)), quint8(byte));
        QCOMPARE(cell(3, ColVersion), text);
    } else {
        QCOMPARE(quint8(image().data().at(2 * 256 + 1)), quint8(0xC5));
        QCOMPARE(cell(3, ColVersion), QStringLiteral("5"));
        const QString want =
            QStringLiteral("Slot 3: Version \"%1\": is not a whole number from 0 to 15.").arg(text);
        QCOMPARE(refusal, byte == -1 ? want : QString());
    }
    // The editor offers no other values.
    page->show();
    grid()->setFocus();
    setCurrentCell(3, ColVersion);
    QTest::keyClick(grid(), Qt::Key_F2);
    auto *spin = qobject_cast<QSpinBox *>(grid()->indexWidget(grid()->currentIndex()));
    QVERIFY(spin);
    QCOMPARE(spin->minimum(), 0);
    QCOMPARE(spin->maximum(), 15);
}

void TstMemoryPage::headersStayInView() {
    showImage(allRecords());
    page->resize(1000, 520);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page));
    grid()->scrollToBottom();
    QVERIFY(grid()->verticalScrollBar()->value() > 0);
    QVERIFY(!grid()->viewport()->rect().intersects(
        grid()->visualRect(model().indexOf(1, ColName))));
    // The headings are the table's header: still in view.
    QVERIFY(grid()->horizontalHeader()->isVisible());
    QCOMPARE(grid()->horizontalHeader()->geometry().top(), grid()->frameWidth());
    const QRect last = grid()->visualRect(model().indexOf(63, ColPlatz));
    QVERIFY(grid()->viewport()->rect().contains(last));
    // Every column shows its whole text: nothing to scroll sideways for.
    const auto *view = static_cast<QAbstractItemView *>(grid());
    QVERIFY(grid()->columnWidth(ColFrequenz) >= view->sizeHintForColumn(ColFrequenz));
}

void TstMemoryPage::typingInReadOnlyColumnDoesNothing() {
    showImage(allRecords());
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page));
    grid()->setFocus();
    setCurrentCell(3, ColPlatz);
    // Before, "A" jumped to row 6 by keyboard search.
    QTest::keyClicks(grid(), QStringLiteral("Au"));
    QCOMPARE(grid()->currentIndex(), model().indexOf(3, ColPlatz));
    QVERIFY(!editorOpen());
    QCOMPARE(image().data(), allRecords());
}

void TstMemoryPage::focusLossStoresCell() {
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page));
    page->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(page));
    grid()->setFocus();
    setCurrentCell(2, ColName);
    typeIntoCell("Hi");
    QVERIFY(editorOpen());
    QVERIFY(image().size() == 0);
    button("B_Loeschen")->setFocus(Qt::MouseFocusReason); // focus leaves the grid
    QTRY_COMPARE(image().data().mid(256 + 18, 17), QByteArray("Hi               "));
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
    showImage(record(99).repeated(63));
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
    QVERIFY(!model().isModified());
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

    showImage(allRecords()); // an empty image is not saved at all
    page->saveMemFile(dir.filePath("no/folder/x.Mem"));
    QCOMPARE(dlg->texts.size(), 2);
    QVERIFY(dlg->texts[1].startsWith("Cannot create file"));
}

void TstMemoryPage::saveTakesCellTypedSinceLastSelection() {
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page));
    page->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(page));
    showImage(QByteArray(kSlotImageSize, 0));
    grid()->setFocus();
    setCurrentCell(3, ColName);
    typeIntoCell("Neu");
    QVERIFY(editorOpen());
    QTemporaryDir dir;
    page->saveMemFile(dir.filePath("a.Mem")); // File, Save leaves the focus in the grid
    QFile f(dir.filePath("a.Mem"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll().mid(2 * 256 + 18, 17), QByteArray("Neu              "));
    QVERIFY(!model().isModified());
}

void TstMemoryPage::fileMenuRoutesMemFiles() {
    delete page;
    page = nullptr;
    QTemporaryDir dir;
    {
        TFMain window(*link);
        page = window.memoryPage();
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
                // A cell edited during the read is refused: the read
                // replaces the image.
                if (++replies == 2)
                    QVERIFY(!model().setCellText(40, ColName, "Edit").isEmpty());
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

// Only a record answers a read request, and a read succeeds only when
// slots 1 to 63 each came once. Before, the read counted replies: a status
// word in place of slot 5, slot 4 twice or slot numbers 0, 64 and FFFFFFFF
// ended with "Read from LMK54!" and slots all zero (or stored at the running
// position).
void TstMemoryPage::readIsCompleteBySlotNumber_data() {
    QTest::addColumn<Replies>("replies"); // request number -> payload
    QTest::addColumn<QString>("message");
    const auto reply = [](int s, int rec) { return slotReply(s, record(rec)); };
    QTest::newRow("status word in place of slot 5")
        << Replies{{5, ack(0)}}
        << "Error on reading! The device answered 1 read request with a status word instead of "
           "a slot; slot 5 did not come. The memory slots were not changed.";
    QTest::newRow("slot 4 twice")
        << Replies{{5, reply(4, 4)}}
        << "Error on reading! Slot 5 did not come; slot 4 came more than once. The memory slots "
           "were not changed.";
    QTest::newRow("slots 0, 64 and FFFFFFFF")
        << Replies{{2, reply(0, 2)}, {3, reply(64, 3)}, {4, slotReply(-1, record(4))}}
        << "Error on reading! Slots 2, 3 and 4 did not come; records for slot number 0, 64 and "
           "0xFFFFFFFF came (there are only slots 1 to 63; they were not stored). The memory "
           "slots were not changed.";
    QTest::newRow("refusal in place of slot 63")
        << Replies{{63, ack(0x55)}}
        << "Error on reading! The device answered 1 read request with a status word instead of "
           "a slot; slot 63 did not come. The memory slots were not changed.";
}

void TstMemoryPage::readIsCompleteBySlotNumber() {
    QFETCH(Replies, replies);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QByteArray before = allRecords().replace(18, 4, "Alt1");
    QVERIFY(test::writeFileContents(dir.filePath("alt.Mem"), before));
    page->openMemFile(dir.filePath("alt.Mem"));
    FakeReceiver rx(*link);
    rx.respond = [&](const QByteArray &) -> QList<QByteArray> {
        const int n = int(rx.requests.size());
        return {replies.value(n, slotReply(n, record(n)))};
    };
    page->B_LadenClick();
    QCOMPARE(rx.requests.size(), 63);
    QCOMPARE(dlg->texts, QStringList{message});
    QCOMPARE(image().data(), before);
    QCOMPARE(image().size(), qint64(kSlotImageSize));
    QCOMPARE(cell(1, ColName), QStringLiteral("Alt1 1"));
    QCOMPARE(listItems(), QStringList{"alt.Mem"});
    QVERIFY(button("B_Laden")->isEnabled());
}

// Undo stops at the first image opened or read (before, it went back past
// "Open alt.Mem" to no slots at all), and an empty image is never saved as a
// 0-byte .Mem file.
void TstMemoryPage::undoStopsAtFirstImageOpened() {
    QTemporaryDir dir;
    page->saveMemFile(dir.filePath("leer.Mem"));
    QCOMPARE(dlg->texts.size(), 1);
    QVERIFY2(dlg->texts.first().startsWith("The memory image holds no slots (0 bytes); nothing was "
                                           "saved."),
             qPrintable(dlg->texts.first()));
    QVERIFY(!QFile::exists(dir.filePath("leer.Mem")));
    QCOMPARE(listItems(), QStringList{"keine"});

    QVERIFY(test::writeFileContents(dir.filePath("alt.Mem"), allRecords()));
    page->openMemFile(dir.filePath("alt.Mem"));
    QVERIFY(!model().undoStack().canUndo());
    QCOMPARE(model().setCellText(3, ColName, QStringLiteral("Neu")), QString());
    QVERIFY(model().undoStack().canUndo());
    model().undo();
    model().undo(); // nothing more to undo
    QCOMPARE(image().data(), allRecords());
    QVERIFY(!model().isModified());
    QVERIFY(!model().undoStack().canUndo());
    // A second file is one step back to the first.
    QVERIFY(test::writeFileContents(dir.filePath("neu.Mem"), allRecords(5)));
    page->openMemFile(dir.filePath("neu.Mem"));
    model().undo();
    QCOMPARE(image().data(), allRecords());
    QVERIFY(!model().undoStack().canUndo());
}

// A Modulation or filter byte without a table entry shows its raw value,
// marked (before: the text of the image shown before stayed in the cell);
// that text stored again keeps the byte. The byte counter has its caption
// in its accessible name from the start (before: "0").
void TstMemoryPage::unknownTableByteShowsRawValue() {
    QCOMPARE(page->findChild<QLabel *>("L_SBytes")->accessibleName(), QStringLiteral("Bytes: 0"));
    showImage(allRecords());
    const QString before = cell(2, ColModulation);
    QVERIFY(!before.isEmpty());
    QByteArray odd = allRecords();
    odd[kSlotSize + slot::kModulation] = char(200);
    odd[kSlotSize + slot::kFilterHp] = char(9);
    odd[kSlotSize + slot::kFilterTp] = char(255);
    showImage(odd);
    QCOMPARE(cell(2, ColModulation), QStringLiteral("? (200)"));
    QCOMPARE(cell(2, ColFilterHp), QStringLiteral("? (9)"));
    QCOMPARE(cell(2, ColFilterTp), QStringLiteral("? (255)"));
    QCOMPARE(model().setCellText(2, ColModulation, QStringLiteral("? (200)")), QString());
    QCOMPARE(image().data(), odd);
    QVERIFY(!model().isModified());
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
    QCOMPARE(dlg->texts, QStringList{"Error on saving!\nWriting stopped at slot 1 of 63: no slot "
                                     "was changed."});
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
    showImage(record(7).repeated(7));
    dlg->answers << true;
    page->B_LoeschenClick();
    QCOMPARE(rx.requests.size(), 63);
    for (int s = 1; s <= 63; ++s)
        QCOMPARE(rx.requests[s - 1], QByteArray("\x11", 1) + char(s) + QByteArray(258, char(0)));
    QCOMPARE(bytesLabel(), QStringLiteral("16128  OK!"));
    QVERIFY(button("B_Speichern")->isEnabled());
    QCOMPARE(cell(7, ColName), QStringLiteral("Slot 7")); // the grid is not changed
    QCOMPARE(image().size(), qint64(7 * 256));
}

void TstMemoryPage::clearRefused() {
    FakeReceiver rx(*link);
    rx.respond = [&](const QByteArray &) {
        return QList<QByteArray>{ack(rx.requests.size() == 3 ? 0x5A : 0)};
    };
    dlg->answers << true;
    page->B_LoeschenClick();
    QCOMPARE(rx.requests.size(), 3);
    // Before, the message did not say that slots 1 and 2 were cleared.
    QCOMPARE(dlg->texts.last(), QStringLiteral("Fehler beim Speichern!\nClearing stopped at slot 3 "
                                               "of 63: slots 1–2 are cleared."));
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
                              "slot 2 of 63: slot 1 holds the new data; the state of slot 2 is "
                              "unknown (its acknowledgement did not come).";
    QTest::newRow("clear") << 2
                           << "Unexpected reply from the device (code 0x1F).\nClearing stopped at "
                              "slot 2 of 63: slot 1 is cleared; the state of slot 2 is unknown "
                              "(its acknowledgement did not come).";
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
