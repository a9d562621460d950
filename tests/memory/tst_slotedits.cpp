// Whole-slot edits (move, cut, clear, paste, insert, delete, sort), cell
// texts into records, and the differences of two images.
#include "memory/SlotDiff.h"
#include "memory/SlotEdits.h"
#include "memory/SlotRecord.h"

#include <QtEndian>
#include <QtTest>

using namespace lmk;

namespace {

// Slot s holds a record of 256 bytes s (its opaque bytes included).
QByteArray taggedImage() {
    QByteArray image;
    for (int s = 1; s <= kSlotCount; ++s)
        image += QByteArray(kSlotSize, char(s));
    return image;
}

// "s:t" for every slot s that does not hold record s (t 0: zero record);
// "mixed" for a slot whose bytes are not one record.
QString changes(const QByteArray &image) {
    QStringList out;
    for (int s = 1; s <= kSlotCount; ++s) {
        const QByteArray r = image.mid((s - 1) * kSlotSize, kSlotSize);
        const int tag = quint8(r[0]);
        if (r != QByteArray(kSlotSize, char(tag)))
            return QStringLiteral("mixed");
        if (tag != s)
            out << QStringLiteral("%1:%2").arg(s).arg(tag);
    }
    return out.join(QLatin1Char(' '));
}

} // namespace

class TstSlotEdits : public QObject {
    Q_OBJECT
  private slots:
    void moveAndPaste_data();
    void moveAndPaste();
    void shortImageGrows();
    void diff_data();
    void diff();
};

void TstSlotEdits::moveAndPaste_data() {
    QTest::addColumn<QString>("op");
    QTest::addColumn<QList<int>>("selection"); // rows selected; paste: rows copied
    QTest::addColumn<int>("target");           // paste: the first row
    QTest::addColumn<QString>("result");       // "-": refused, image unchanged
    QTest::addColumn<QString>("message");

    QTest::newRow("up one") << "up" << QList<int>{5} << 0 << "4:5 5:4" << "";
    QTest::newRow("up block") << "up" << QList<int>{3, 4} << 0 << "2:3 3:4 4:2" << "";
    QTest::newRow("up apart") << "up" << QList<int>{5, 3} << 0 << "2:3 3:2 4:5 5:4" << "";
    QTest::newRow("up at the top") << "up" << QList<int>{1, 2} << 0 << "-" << "";
    QTest::newRow("down block") << "down" << QList<int>{61, 62} << 0 << "61:63 62:61 63:62" << "";
    QTest::newRow("down at the bottom") << "down" << QList<int>{63} << 0 << "-" << "";
    QTest::newRow("clear") << "clear" << QList<int>{2, 7} << 0 << "2:0 7:0" << "";
    QTest::newRow("cut then paste elsewhere")
        << "cut+paste" << QList<int>{5, 6} << 20 << "5:0 6:0 20:5 21:6" << "";
    QTest::newRow("paste over itself") << "paste" << QList<int>{5, 6, 7} << 5 << "" << "";
    QTest::newRow("paste shifted by one") << "paste" << QList<int>{5, 6, 7} << 6 << "6:5 7:6 8:7" << "";
    QTest::newRow("paste onto the last slot") << "paste" << QList<int>{1} << 63 << "63:1" << "";
    QTest::newRow("paste beyond slot 63")
        << "paste" << QList<int>{5, 6, 7} << 62 << "62:5 63:6"
        << "Only 2 of 3 slots pasted: slot 63 is the last.";
}

void TstSlotEdits::moveAndPaste() {
    QFETCH(QString, op);
    QFETCH(QList<int>, selection);
    QFETCH(int, target);
    QFETCH(QString, result);
    QFETCH(QString, message);
    const QByteArray image = taggedImage();
    QByteArray out;
    QString shown;
    if (op == QLatin1String("up") || op == QLatin1String("down")) {
        const std::optional<QByteArray> moved = moveSlots(image, selection, op == "up" ? -1 : 1);
        if (result == QLatin1String("-")) {
            QVERIFY(!moved);
            return;
        }
        QVERIFY(moved);
        out = *moved;
    } else if (op == QLatin1String("clear")) {
        out = clearSlots(image, selection);
    } else {
        const QList<QByteArray> clip = copySlots(image, selection);
        QCOMPARE(clip.size(), selection.size());
        const QByteArray before = op == QLatin1String("cut+paste") ? clearSlots(image, selection) : image;
        const SlotPaste p = pasteSlots(before, target, clip);
        out = p.image;
        shown = p.message();
    }
    QCOMPARE(changes(out), result);
    QCOMPARE(shown, message);
}

void TstSlotEdits::shortImageGrows() {
    const SlotPaste p = pasteSlots(QByteArray(100, 'x'), 2, {QByteArray(kSlotSize, char(9))});
    QCOMPARE(p.image.size(), kSlotImageSize);
    QCOMPARE(p.image.left(100), QByteArray(100, 'x'));
    QCOMPARE(p.image.mid(100, kSlotSize - 100), QByteArray(kSlotSize - 100, 0));
    QCOMPARE(p.image.mid(kSlotSize, kSlotSize), QByteArray(kSlotSize, char(9)));
    // Bytes behind slot 63 stay where they are.
    const QByteArray longer = taggedImage() + "tail";
    QCOMPARE(moveSlots(longer, {2}, -1)->right(4), QByteArray("tail"));
}

void TstSlotEdits::diff_data() {
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<QStringList>("lines");

    const QByteArray zero(kSlotImageSize, 0);
    const auto with = [&](int s, int offset, const QByteArray &bytes) {
        QByteArray image = zero;
        image.replace((s - 1) * kSlotSize + offset, bytes.size(), bytes);
        return image;
    };
    QTest::newRow("equal") << zero << zero << QStringList();
    QTest::newRow("name") << with(2, slot::kName, "ABC") << with(2, slot::kName, "ABD ")
                          << QStringList{"Slot 2: Name \"ABC\" -> \"ABD \""};
    QByteArray freqMod = with(5, slot::kFrequency, QByteArray::fromHex("7d000000"));
    freqMod[4 * kSlotSize + slot::kModulation] = 3;
    QTest::newRow("two fields") << with(5, slot::kFrequency, QByteArray::fromHex("0f000000")) << freqMod
                                << QStringList{"Slot 5: Frequenz 00.000.001,5 -> 00.000.012,5; "
                                               "Modulation Auto -> USB"};
    QTest::newRow("shift") << zero << with(9, slot::kShift, QByteArray::fromHex("06ff"))
                           << QStringList{"Slot 9: Verschiebung 0 -> -250"};
    QTest::newRow("opaque bytes") << zero << with(7, 200, "\x01")
                                  << QStringList{"Slot 7: opaque bytes"};
    QTest::newRow("several slots") << with(1, 0, "\x01") << with(63, slot::kVersion, "\xc3")
                                   << QStringList{"Slot 1: opaque bytes", "Slot 63: Version 0 -> 3"};
    QTest::newRow("short file") << zero << zero.left(62 * kSlotSize)
                                << QStringList{"Slot 63: only in A.Mem"};
    QTest::newRow("tail") << zero + "x" << zero << QStringList{"Bytes after slot 63 differ"};
}

void TstSlotEdits::diff() {
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(QStringList, lines);
    const SlotImageDiff d = diffSlotImages(first, second, QLocale(QLocale::German, QLocale::Germany));
    QStringList shown;
    for (const SlotDifference &s : d.differing)
        shown << slotDifferenceText(s, QStringLiteral("A.Mem"), QStringLiteral("B.Mem"));
    if (d.trailingBytesDiffer)
        shown << QStringLiteral("Bytes after slot 63 differ");
    QCOMPARE(shown, lines);
    QCOMPARE(d.equal(), lines.isEmpty());
}

QTEST_GUILESS_MAIN(TstSlotEdits)
#include "tst_slotedits.moc"
