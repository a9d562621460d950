// The slot model and its undo stack: every change one step, undo and redo
// putting back exact bytes, and the clean state as the unsaved mark. The
// numbers of the cells in the window's language, and the editors taking
// back what the cells show.
#include "app/UiLanguage.h"
#include "link/DeviceLink.h"
#include "memory/MemoryImage.h"
#include "memory/MemorySession.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"
#include "memory/ui/SlotCellDelegate.h"
#include "memory/ui/SlotTableModel.h"

#include "OwnSettings.h"
#include "ScriptedDialogs.h"

#include <QTemporaryDir>
#include <QWidget>
#include <QtEndian>
#include <QtTest>

using namespace lmk;

class TstSlotTableModel : public QObject {
    Q_OBJECT
    OwnSettings settings; // the language chosen here is stored
  private slots:
    void initTestCase();
    void cleanupTestCase();
    void undoRedo_data();
    void undoRedo();
    void numbersFollowLanguage_data();
    void numbersFollowLanguage();
    void listEditorLeavesUnlistedByte_data();
    void listEditorLeavesUnlistedByte();
};

void TstSlotTableModel::initTestCase() {
    // The user's own settings are German; English is chosen in the window.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}

void TstSlotTableModel::cleanupTestCase() {
    UiLanguage::instance().setLanguage(Language::Specified);
}

void TstSlotTableModel::undoRedo_data() {
    QTest::addColumn<QString>("steps"); // eN edit slot N, l load a file, n no change,
                                        // u undo, r redo, s save
    QTest::addColumn<QString>("image"); // slots edited, or "loaded"
    QTest::addColumn<bool>("clean");    // the image is the one saved last
    QTest::addColumn<QString>("undoText");
    QTest::addColumn<QString>("redoText");

    QTest::newRow("nothing") << "u r" << "" << true << "" << "";
    QTest::newRow("edit") << "e1" << "1" << false << "Edit 1" << "";
    QTest::newRow("edit undone") << "e1 u" << "" << true << "" << "Edit 1";
    QTest::newRow("edit undone and redone") << "e1 u r" << "1" << false << "Edit 1" << "";
    QTest::newRow("two edits, one undone") << "e1 e2 u" << "1" << false << "Edit 1" << "Edit 2";
    QTest::newRow("undone back to the saved state") << "e1 s e2 u" << "1" << true << "Edit 1" << "Edit 2";
    QTest::newRow("undone past the saved state") << "e1 s u" << "" << false << "" << "Edit 1";
    QTest::newRow("redone to the saved state") << "e1 s u r" << "1" << true << "Edit 1" << "";
    QTest::newRow("a new edit drops the redo") << "e1 e2 u e3" << "1 3" << false << "Edit 3" << "";
    QTest::newRow("saved state dropped") << "e1 s u e2 u" << "" << false << "" << "Edit 2";
    QTest::newRow("no change records nothing") << "e1 n u" << "" << true << "" << "Edit 1";
    QTest::newRow("file load") << "e1 l" << "loaded" << false << "Load" << "";
    QTest::newRow("file load undone") << "e1 l u" << "1" << false << "Edit 1" << "Load";
    QTest::newRow("file load redone") << "e1 l u u r r" << "loaded" << false << "Load" << "";
}

void TstSlotTableModel::undoRedo() {
    QFETCH(QString, steps);
    QFETCH(QString, image);
    QFETCH(bool, clean);
    QFETCH(QString, undoText);
    QFETCH(QString, redoText);
    ScriptedDialogs dlg;
    DeviceLink link;
    MemorySession session(link);
    SlotTableModel &model = SlotTableModel::of(session);
    QUndoStack &h = model.undoStack();
    QTemporaryDir dir;
    session.memorySlots().setImageBytes(QByteArray(kSlotImageSize, 0));
    h.clear(); // the image as saved
    QByteArray saved = session.image().data();
    for (const QString &step : steps.split(QLatin1Char(' '))) {
        QByteArray img = session.image().data();
        if (step.startsWith(QLatin1Char('e'))) {
            const int s = step.mid(1).toInt();
            img[(s - 1) * kSlotSize + 20] = char(s);
            QVERIFY(model.applyImage(QStringLiteral("Edit %1").arg(s), img));
        } else if (step == QLatin1String("l")) {
            session.memorySlots().setImageBytes(QByteArray(300, 'x'), QStringLiteral("Load"));
        } else if (step == QLatin1String("n")) {
            QVERIFY(model.applyImage(QStringLiteral("Nothing"), img));
        } else if (step == QLatin1String("u")) {
            model.undo();
        } else if (step == QLatin1String("r")) {
            model.redo();
        } else if (step == QLatin1String("s")) {
            QVERIFY(session.saveFile(dir.filePath(QStringLiteral("s.Mem"))));
            saved = session.image().data();
        }
    }
    const QByteArray img = session.image().data();
    QString shown;
    if (img.size() != kSlotImageSize) {
        shown = img == QByteArray(300, 'x') ? QStringLiteral("loaded") : QStringLiteral("?");
    } else {
        QStringList edited;
        for (int s = 1; s <= kSlotCount; ++s)
            if (img[(s - 1) * kSlotSize + 20])
                edited << QString::number(s);
        shown = edited.join(QLatin1Char(' '));
    }
    QCOMPARE(shown, image);
    QCOMPARE(img == saved, clean);
    QCOMPARE(model.isModified(), !clean);
    QCOMPARE(h.undoText(), undoText);
    QCOMPARE(h.redoText(), redoText);
    QCOMPARE(h.canUndo(), !undoText.isEmpty());
    QCOMPARE(h.canRedo(), !redoText.isEmpty());
}

namespace {
struct NumberFields {
    qint32 tenths;
    quint16 bandwidth;
    qint16 shift;
    quint8 filterHp;
    quint8 filterTp;
};

QByteArray recordWith(const NumberFields &f) {
    QByteArray r(kSlotSize, 0);
    r.replace(slot::kName, 5, "DCF77");
    qToLittleEndian<qint32>(f.tenths, r.data() + slot::kFrequency);
    qToLittleEndian<quint16>(f.bandwidth, r.data() + slot::kBandwidth);
    qToLittleEndian<qint16>(f.shift, r.data() + slot::kShift);
    r[slot::kFilterHp] = char(f.filterHp);
    r[slot::kFilterTp] = char(f.filterTp);
    return r;
}
} // namespace

// Numbers follow one convention per language: the program's own (German
// separators from the user's settings, "." as fill, "7,0M") or English
// ("," groups, "." is the decimal point everywhere). What a cell shows goes
// back through its editor unchanged, and a typed number is read in the same
// convention.
void TstSlotTableModel::numbersFollowLanguage_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QStringList>("shown"); // Frequenz, Bandbreite, Verschiebung, Filter HP, TP
    QTest::addColumn<QString>("typed");     // a frequency typed into the cell
    QTest::addColumn<qint32>("typedTenths");

    const QByteArray dcf = recordWith({775000, 9000, -250, 3, 2});
    const QByteArray large = recordWith({2147483647, 65535, 1500, 1, 4});
    const QByteArray negative = recordWith({-15, 0, 0, 0, 7});
    QTest::newRow("German, DCF77") << false << dcf
                                   << QStringList{"00.077.500,0", "9.000", "  -250", "7,0M", "2,0M"}
                                   << "12.345,6" << 123456;
    QTest::newRow("English, DCF77") << true << dcf
                                    << QStringList{"00,077,500.0", "9,000", "  -250", "7.0M", "2.0M"}
                                    << "12,345.6" << 123456;
    QTest::newRow("German, largest")
        << false << large << QStringList{"214.748.364,7", "65.535", " +1.500", "1,8M", "7,2M"}
        << "00.000.001,5" << 15;
    QTest::newRow("English, largest")
        << true << large << QStringList{"214,748,364.7", "65,535", " +1,500", "1.8M", "7.2M"}
        << "00,000,001.5" << 15;
    QTest::newRow("German, negative") << false << negative
                                      << QStringList{"00.000.0-1,5", "0", "  0", "Auto", "AUS"}
                                      << "-77500,5" << -775005;
    QTest::newRow("English, negative") << true << negative
                                       << QStringList{"00,000,0-1.5", "0", "  0", "Auto", "Off"}
                                       << "-77,500.5" << -775005;
    // As the CSV writes it, whatever the language (before: 775005.0 in German).
    QTest::newRow("German, typed as in a CSV")
        << false << dcf << QStringList{"00.077.500,0", "9.000", "  -250", "7,0M", "2,0M"}
        << "77500.5" << 775005;
    QTest::newRow("English, typed as in a CSV")
        << true << dcf << QStringList{"00,077,500.0", "9,000", "  -250", "7.0M", "2.0M"}
        << "77500.5" << 775005;
    QTest::newRow("German, grouped without decimals")
        << false << dcf << QStringList{"00.077.500,0", "9.000", "  -250", "7,0M", "2,0M"}
        << "77.500" << 775000;
}

void TstSlotTableModel::numbersFollowLanguage() {
    QFETCH(bool, english);
    QFETCH(QByteArray, record);
    QFETCH(QStringList, shown);
    QFETCH(QString, typed);
    QFETCH(qint32, typedTenths);
    ScriptedDialogs dlg;
    DeviceLink link;
    MemorySession session(link);
    SlotTableModel &model = SlotTableModel::of(session);
    UiLanguage::instance().setLanguage(english ? Language::English : Language::Specified);
    QByteArray image(kSlotImageSize, 0);
    image.replace(0, kSlotSize, record);
    session.memorySlots().setImageBytes(image);
    const int steps = model.undoStack().count();

    const QList<int> columns{ColFrequenz, ColBandbreite, ColVerschiebung, ColFilterHp, ColFilterTp};
    QWidget parent;
    SlotCellDelegate delegate;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const int column = columns[i];
        QCOMPARE(model.cellText(1, column), shown[i]);
        // The shown text, typed or taken through the cell's editor, is
        // the same value: nothing changes, nothing is refused.
        QCOMPARE(model.setCellText(1, column, shown[i]), QString());
        const QModelIndex at = model.indexOf(1, column);
        QWidget *editor = delegate.createEditor(&parent, {}, at);
        delegate.setEditorData(editor, at);
        delegate.setModelData(editor, &model, at);
        delete editor;
        QCOMPARE(session.image().data(), image);
    }
    QCOMPARE(model.undoStack().count(), steps);
    QCOMPARE(dlg.texts, QStringList());

    // The other language's filter text is read as well ("7.0M" and "7,0M").
    QCOMPARE(model.setCellText(1, ColFilterHp, english ? QStringLiteral("3,5M")
                                                       : QStringLiteral("3.5M")),
             QString());
    QCOMPARE(quint8(session.image().data()[slot::kFilterHp]), quint8(2));
    QCOMPARE(model.setCellText(1, ColFrequenz, typed), QString());
    QCOMPARE(qFromLittleEndian<qint32>(session.image().data().constData() + slot::kFrequency),
             typedTenths);

    // Switching the language rewrites the cells.
    UiLanguage::instance().setLanguage(english ? Language::Specified : Language::English);
    QCOMPARE(model.cellText(1, ColFilterHp), english ? QStringLiteral("3,5M")
                                                     : QStringLiteral("3.5M"));
}

// A byte with no entry in its column's list: opening the list editor and
// closing it again chooses nothing, so the byte stays as it is.
void TstSlotTableModel::listEditorLeavesUnlistedByte_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("offset");
    QTest::newRow("Modulation") << int(ColModulation) << slot::kModulation;
    QTest::newRow("Filter HP") << int(ColFilterHp) << slot::kFilterHp;
}

void TstSlotTableModel::listEditorLeavesUnlistedByte() {
    QFETCH(int, column);
    QFETCH(int, offset);
    ScriptedDialogs dlg;
    DeviceLink link;
    MemorySession session(link);
    SlotTableModel &model = SlotTableModel::of(session);
    QByteArray image(kSlotImageSize, 0);
    image[offset] = char(0x7E); // no list has an entry this far
    session.memorySlots().setImageBytes(image);
    const int steps = model.undoStack().count();

    QWidget parent;
    SlotCellDelegate delegate;
    const QModelIndex at = model.indexOf(1, column);
    QWidget *editor = delegate.createEditor(&parent, {}, at);
    delegate.setEditorData(editor, at);
    delegate.setModelData(editor, &model, at);
    delete editor;
    QCOMPARE(session.image().data(), image);
    QCOMPARE(model.undoStack().count(), steps);
    QCOMPARE(dlg.texts, QStringList());
}

QTEST_MAIN(TstSlotTableModel)
#include "tst_slottablemodel.moc"
