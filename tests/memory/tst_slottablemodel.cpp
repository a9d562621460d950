// The slot model and its undo stack: every change one step, undo and redo
// putting back exact bytes, and the clean state as the unsaved mark.
#include "link/DeviceLink.h"
#include "memory/MemoryImage.h"
#include "memory/MemorySession.h"
#include "memory/MemorySlots.h"
#include "memory/SlotRecord.h"
#include "memory/ui/SlotTableModel.h"

#include "ScriptedDialogs.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace lmk;

class TstSlotTableModel : public QObject {
    Q_OBJECT
  private slots:
    void undoRedo_data();
    void undoRedo();
};

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

QTEST_MAIN(TstSlotTableModel)
#include "tst_slottablemodel.moc"
