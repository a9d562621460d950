// The upload's progress as shown: the phase with its time, then the rate and
// the time left from the bytes taken after the erase.
#include "upload/UploadProgress.h"

#include <QtTest>

using namespace lmk;

class TstUploadProgress : public QObject {
    Q_OBJECT
private slots:
    // Steps: "p:TEXT@MS" a phase, "b:SENT/SIZE@MS" bytes taken; then the
    // line and the time left at `now`.
    void lines_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<qint64>("now");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("left");
        QTest::newRow("erase, nothing taken yet")
            << QStringList{"p:Clearing memory:@0"} << qint64(3200) << "Clearing memory:  0:03"
            << "-:-- left";
        QTest::newRow("erase over, the name goes out")
            << QStringList{"p:Clearing memory:@0", "b:0/1000@3000"} << qint64(3500)
            << "Clearing memory:  0:03" << "-:-- left";
        // 500 bytes in the second after a 3 s erase: 1 s left, not 4.
        QTest::newRow("bytes after a slow erase")
            << QStringList{"p:Clearing memory:@0", "b:0/1000@3000", "p:Bytes sent:@3600", "b:500/1000@4000"}
            << qint64(4000) << "Bytes sent:  500 B/1000 B  500 B/s  0:01 left" << "0:01 left";
        QTest::newRow("last group padded past the size")
            << QStringList{"p:Bytes sent:@0", "b:0/1001@0", "b:1004/1001@2000"} << qint64(2000)
            << "Bytes sent:  1004 B/1001 B  502 B/s  0:00 left" << "0:00 left";
        QTest::newRow("an hour left")
            << QStringList{"p:Bytes sent:@0", "b:0/3686400@0", "b:1024/3686400@1000"} << qint64(1000)
            << "Bytes sent:  1.0 KiB/3.5 MiB  1.0 KiB/s  59:59 left" << "59:59 left";
    }
    void lines() {
        QFETCH(QStringList, steps);
        QFETCH(qint64, now);
        QFETCH(QString, line);
        QFETCH(QString, left);
        UploadProgress p;
        p.start(0);
        for (const QString &step : steps) {
            const qint64 at = step.section(QLatin1Char('@'), -1).toLongLong();
            const QString what = step.mid(2).section(QLatin1Char('@'), 0, -2);
            if (step.startsWith(QLatin1String("p:")))
                p.phase(what, at);
            else
                p.bytes(what.section(QLatin1Char('/'), 0, 0).toLongLong(),
                        what.section(QLatin1Char('/'), 1).toLongLong(), at);
        }
        QCOMPARE(p.line(now), line);
        QCOMPARE(p.timeLeft(now), left);
    }
};

QTEST_MAIN(TstUploadProgress)
#include "tst_uploadprogress.moc"
