// The terminal session as view text (timestamps, hex rows, sent lines
// marked) and as a log file.
#include "terminal/TerminalTranscript.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace lmk;

namespace {
const QDateTime kT0(QDate(2026, 3, 4), QTime(9, 8, 7, 65));
QDateTime at(int ms) { return kT0.addMSecs(ms); }

QByteArray fileContents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}
} // namespace

class TstTerminalTranscript : public QObject {
    Q_OBJECT
private slots:
    void clock() {
        QCOMPARE(clockText(kT0), QStringLiteral("09:08:07.065"));
        QCOMPARE(clockText(at(-65)), QStringLiteral("09:08:07.000"));
    }

    void hexRows_data() {
        QTest::addColumn<qint64>("offset");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("row");
        QTest::newRow("ver") << qint64(0) << QByteArray("ver\r\n")
                             << "00000000  76 65 72 0d 0a" + QString(33, ' ') + "  |ver..|";
        QTest::newRow("full row") << qint64(0x1230) << QByteArray("0123456789abcdef")
                                  << QStringLiteral("00001230  30 31 32 33 34 35 36 37 38 39 61 62 63 "
                                                    "64 65 66  |0123456789abcdef|");
        QTest::newRow("not printable") << qint64(16) << QByteArray("\x00\x7f\xe4 ~", 5)
                                       << "00000010  00 7f e4 20 7e" + QString(33, ' ') + "  |... ~|";
    }
    void hexRows() {
        QFETCH(qint64, offset);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, row);
        QCOMPARE(hexRow(offset, bytes), row);
    }

    // Pieces received (and lines sent, "> LINE") in order, one millisecond
    // apart, and the view text they make.
    void view_data() {
        QTest::addColumn<bool>("timestamps");
        QTest::addColumn<bool>("hex");
        QTest::addColumn<QStringList>("pieces");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << false << false << QStringList{"> ver", "LMK540 V103\r\n"}
                               << "[TX] ver\nLMK540 V103\n";
        QTest::newRow("timestamps")
            << true << false << QStringList{"> ver", "LMK540 V103\r\n"}
            << "09:08:07.065 [TX] ver\n09:08:07.066 LMK540 V103\n";
        // A line's time is when its first character came.
        QTest::newRow("line in pieces") << true << false << QStringList{"ab", "c\r", "\nd", "\r\n"}
                                        << "09:08:07.065 abc\n09:08:07.067 d\n";
        QTest::newRow("single CR and LF end lines")
            << true << false << QStringList{"a\rb\nc\r\n\r\n"}
            << "09:08:07.065 a\n09:08:07.065 b\n09:08:07.065 c\n09:08:07.065 \n";
        // A sent line after a prompt starts a line of its own.
        QTest::newRow("prompt") << false << false << QStringList{"lmk> ", "> ver", "ok\r\n"}
                                << "lmk> \n[TX] ver\nok\n";
        QTest::newRow("hex") << false << true
                             << QStringList{"> ver", "LMK540 V103\r\n", "0123456789abcdefgh"}
                             << "[TX] 00000000  76 65 72 0d 0a" + QString(33, ' ') + "  |ver..|\n"
                                "00000000  4c 4d 4b 35 34 30 20 56 31 30 33 0d 0a" +
                                    QString(9, ' ') + "  |LMK540 V103..|\n"
                                "0000000d  30 31 32 33 34 35 36 37 38 39 61 62 63 64 65 66  "
                                "|0123456789abcdef|\n"
                                "0000001d  67 68" + QString(42, ' ') + "  |gh|\n";
        QTest::newRow("hex with timestamps") << true << true << QStringList{"ab"}
                                             << "09:08:07.065 00000000  61 62" + QString(42, ' ') +
                                                    "  |ab|\n";
    }
    void view() {
        QFETCH(bool, timestamps);
        QFETCH(bool, hex);
        QFETCH(QStringList, pieces);
        QFETCH(QString, text);
        TranscriptFormatter f({timestamps, hex});
        QString out;
        int ms = 0;
        for (const QString &p : pieces) {
            if (p.startsWith("> "))
                out += f.sent(p.mid(2).toLatin1(), at(ms++));
            else
                out += f.received(p.toLatin1(), at(ms++));
        }
        QCOMPARE(out, text);
    }

    // The log: every line with its date and time, TX or RX, UTF-8, appended
    // to what the file held, each line on disk as soon as it is complete,
    // and a line still open when the log closes written then.
    void logFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("session.log");
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("earlier\n");
        }
        SessionLog log;
        QVERIFY(log.open(path));
        log.sent("ver", at(0));
        log.received("LMK540 ", at(1));
        QCOMPARE(fileContents(path), QByteArray("earlier\n2026-03-04 09:08:07.065 TX ver\n"));
        log.received("V103\r", at(2));
        log.received("\nGr\xfc\xdf" "e\r\n\r\nlmk> ", at(3)); // Latin-1 from the receiver
        QCOMPARE(fileContents(path),
                 QByteArray("earlier\n2026-03-04 09:08:07.065 TX ver\n"
                            "2026-03-04 09:08:07.066 RX LMK540 V103\n"
                            "2026-03-04 09:08:07.068 RX Gr\xc3\xbc\xc3\x9f" "e\n"
                            "2026-03-04 09:08:07.068 RX \n"));
        log.close();
        QVERIFY(fileContents(path).endsWith("2026-03-04 09:08:07.068 RX \n"
                                            "2026-03-04 09:08:07.068 RX lmk> \n"));
        QVERIFY(log.error().isEmpty());
    }

    void logSentAfterPrompt() {
        QTemporaryDir dir;
        const QString path = dir.filePath("s.log");
        {
            SessionLog log;
            QVERIFY(log.open(path));
            log.received("lmk> ", at(0));
            log.sent("ver", at(5));
            log.received("ok", at(9));
        } // destroyed: the open line is written
        QCOMPARE(fileContents(path), QByteArray("2026-03-04 09:08:07.065 RX lmk> \n"
                                                "2026-03-04 09:08:07.070 TX ver\n"
                                                "2026-03-04 09:08:07.074 RX ok\n"));
    }

    void logCannotOpen() {
        QTemporaryDir dir;
        SessionLog log;
        QVERIFY(!log.open(dir.filePath("no/such/folder/x.log")));
        QVERIFY(!log.error().isEmpty());
        QVERIFY(!log.isOpen());
        log.sent("ver", at(0)); // nothing happens
    }
};

QTEST_GUILESS_MAIN(TstTerminalTranscript)
#include "tst_terminaltranscript.moc"
