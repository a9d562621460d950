// Area rules and presets of the scan area, with the image control's size.
#include "display/ScanArea.h"

#include <QtTest>

using namespace lmk;

Q_DECLARE_METATYPE(lmk::ScanPreset)

namespace {
enum Field { X, Y, W, H };
void assign(ScanArea &a, int field, int v) {
    switch (field) {
    case X: a.setX(v); break;
    case Y: a.setY(v); break;
    case W: a.setW(v); break;
    case H: a.setH(v); break;
    }
}
} // namespace

class TstScanArea : public QObject {
    Q_OBJECT
private slots:
    void start() {
        ScanArea a;
        QCOMPARE(a.values(), (AreaValues{0, 0, 800, 480}));
        QCOMPARE(a.preset(), ScanPreset::FullWvga);
        QCOMPARE(a.widthLimit(), 800);
        QCOMPARE(a.imageSize(), QSize(810, 490));
    }

    void presets_data() {
        QTest::addColumn<ScanPreset>("preset");
        QTest::addColumn<QList<int>>("expected");
        QTest::addColumn<QSize>("image");
        QTest::newRow("Full VGA") << ScanPreset::FullVga << QList<int>{0, 0, 640, 480} << QSize(650, 490);
        QTest::newRow("Full WVGA") << ScanPreset::FullWvga << QList<int>{0, 0, 800, 480} << QSize(810, 490);
        QTest::newRow("Diagram VGA") << ScanPreset::DiagramVga << QList<int>{0, 93, 520, 387} << QSize(530, 397);
        QTest::newRow("Diagram WVGA") << ScanPreset::DiagramWvga << QList<int>{0, 93, 648, 387} << QSize(658, 397);
    }
    void presets() {
        QFETCH(ScanPreset, preset);
        QFETCH(QList<int>, expected);
        QFETCH(QSize, image);
        // From the start (Full WVGA) and from every other preset.
        for (ScanPreset from : {ScanPreset::FullVga, ScanPreset::FullWvga, ScanPreset::DiagramVga,
                                ScanPreset::DiagramWvga}) {
            ScanArea a;
            a.applyPreset(from);
            a.setX(7); // something off the preset's values
            a.applyPreset(preset);
            QCOMPARE(a.values(), (AreaValues{expected[0], expected[1], expected[2], expected[3]}));
            QCOMPARE(a.imageSize(), image);
        }
    }

    // The field that changed is the one that yields.
    void rules_data() {
        QTest::addColumn<ScanPreset>("preset");
        QTest::addColumn<QList<int>>("before"); // X, Y, W, H typed in this order after the preset
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("value");
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("WVGA, X pulled back by W 800")
            << ScanPreset::FullWvga << QList<int>{} << int(X) << 100 << QList<int>{0, 0, 800, 480};
        QTest::newRow("WVGA, W 700 lets X reach 100")
            << ScanPreset::FullWvga << QList<int>{-1, -1, 700, -1} << int(X) << 100
            << QList<int>{100, 0, 700, 480};
        QTest::newRow("WVGA, W 700, X 150 stops at 100")
            << ScanPreset::FullWvga << QList<int>{-1, -1, 700, -1} << int(X) << 150
            << QList<int>{100, 0, 700, 480};
        QTest::newRow("Diagram VGA, X 200 gives 120")
            << ScanPreset::DiagramVga << QList<int>{} << int(X) << 200 << QList<int>{120, 93, 520, 387};
        QTest::newRow("Diagram VGA, W 700 gives 640")
            << ScanPreset::DiagramVga << QList<int>{} << int(W) << 700 << QList<int>{0, 93, 640, 387};
        QTest::newRow("Diagram VGA, H 400 gives 387")
            << ScanPreset::DiagramVga << QList<int>{} << int(H) << 400 << QList<int>{0, 93, 520, 387};
        QTest::newRow("Diagram VGA, Y 100 gives 93")
            << ScanPreset::DiagramVga << QList<int>{} << int(Y) << 100 << QList<int>{0, 93, 520, 387};
        QTest::newRow("W beyond its range is held at 800")
            << ScanPreset::FullWvga << QList<int>{-1, -1, 10, -1} << int(W) << 5000
            << QList<int>{0, 0, 800, 480};
        QTest::newRow("negative X held at 0")
            << ScanPreset::FullWvga << QList<int>{-1, -1, 700, -1} << int(X) << -5
            << QList<int>{0, 0, 700, 480};
        QTest::newRow("X at its range end 790 with W 10")
            << ScanPreset::FullWvga << QList<int>{-1, -1, 10, -1} << int(X) << 999
            << QList<int>{790, 0, 10, 480};
        QTest::newRow("VGA limit: X 700 with W 10 gives 630")
            << ScanPreset::FullVga << QList<int>{-1, -1, 10, -1} << int(X) << 700
            << QList<int>{630, 0, 10, 480};
    }
    void rules() {
        QFETCH(ScanPreset, preset);
        QFETCH(QList<int>, before);
        QFETCH(int, field);
        QFETCH(int, value);
        QFETCH(QList<int>, after);
        ScanArea a;
        a.applyPreset(preset);
        for (int f = 0; f < before.size(); ++f)
            if (before[f] >= 0)
                assign(a, f, before[f]);
        assign(a, field, value);
        QCOMPARE(a.values(), (AreaValues{after[0], after[1], after[2], after[3]}));
        QCOMPARE(a.imageSize(), QSize(after[2] + 10, after[3] + 10));
    }
};

QTEST_MAIN(TstScanArea)
#include "tst_scanarea.moc"
