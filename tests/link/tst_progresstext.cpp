// The progress line of long transfers: amount, rate and time left.
#include "link/ProgressText.h"

#include <QtTest>

using namespace lmk;

class TstProgressText : public QObject {
    Q_OBJECT
private slots:
    void line_data() {
        QTest::addColumn<qint64>("done");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<qint64>("elapsed");
        QTest::addColumn<int>("unit");
        QTest::addColumn<QString>("text");
        const int columns = int(ProgressUnit::Columns), bytes = int(ProgressUnit::Bytes),
                  slotUnit = int(ProgressUnit::Slots);
        QTest::newRow("nothing yet") << 0LL << 800LL << 0LL << columns
                                     << "  0%  0/800 columns  -  -:-- left";
        QTest::newRow("half the columns") << 400LL << 800LL << 2000LL << columns
                                          << " 50%  400/800 columns  200 columns/s  0:02 left";
        QTest::newRow("done") << 800LL << 800LL << 1000LL << columns
                              << "100%  800/800 columns  800 columns/s  0:00 left";
        QTest::newRow("half a MiB") << 524288LL << 1048576LL << 4000LL << bytes
                                    << " 50%  512.0 KiB/1.0 MiB  128.0 KiB/s  0:04 left";
        QTest::newRow("a few bytes") << 100LL << 1000LL << 1000LL << bytes
                                     << " 10%  100 B/1000 B  100 B/s  0:09 left";
        QTest::newRow("minutes left") << 1LL << 3600LL << 1000LL << slotUnit
                                      << "  0%  1/3600 slots  1 slots/s  59:59 left";
        QTest::newRow("hours left") << 1LL << 7201LL << 1000LL << slotUnit
                                    << "  0%  1/7201 slots  1 slots/s  2:00:00 left";
        QTest::newRow("no total") << 5LL << 0LL << 1000LL << columns
                                  << "  0%  5/0 columns  5 columns/s  -:-- left";
    }
    void line() {
        QFETCH(qint64, done);
        QFETCH(qint64, total);
        QFETCH(qint64, elapsed);
        QFETCH(int, unit);
        QFETCH(QString, text);
        QCOMPARE(progressLine(done, total, elapsed, ProgressUnit(unit)), text);
    }

    void frameRate() {
        QCOMPARE(rateText(5, 2000, ProgressUnit::Frames), QStringLiteral("2.5 frames/s"));
        QCOMPARE(rateText(5, 0, ProgressUnit::Frames), QStringLiteral("-"));
    }
};

QTEST_MAIN(TstProgressText)
#include "tst_progresstext.moc"
