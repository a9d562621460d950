// lmkctl terminal against a real lmk-sim over the simulated USB library:
// scripted sessions (--send, --expect, --timeout), timestamps, hex and the
// log file. What reaches the receiver is the typed line and nothing else,
// whatever is shown or kept.
#include "CtlRun.h"
#include "SimProcess.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace lmk;
using namespace lmk::test;

namespace {
const QByteArray kEnter = QByteArray::fromHex("0d01");
const QByteArray kLeave = QByteArray::fromHex("0d00");
const QByteArray kVer = QByteArray::fromHex("19057665720d0a000000");

QByteArray fileContents(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TstCtlTerminal : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    CtlRun terminal(const SimProcess &sim, const QStringList &args, const QByteArray &input = {}) {
        return runCtl(QStringList{"--usb", "terminal"} + args, input, {},
                      {{"LMK_USB_LIBRARY", LMK_USB_SIM_LIBRARY},
                       {"LMK_SIM_USB", sim.usbSocketPath()},
                       {"XDG_DATA_HOME", m_dir.filePath("data")},
                       {"XDG_CONFIG_HOME", m_dir.filePath("config")}});
    }

private slots:
    void scriptMeetsEveryExpectation() {
        SimProcess sim;
        QVERIFY(sim.start());
        const CtlRun r = terminal(sim, {"--send", "ver", "--expect", "V[0-9]+$", "--send", "xyz",
                                        "--expect", "^Unknown command: xyz$", "--send", "help",
                                        "--expect", "Commands:"});
        QVERIFY2(r.rc == 0, r.err.constData());
        QVERIFY(r.out.contains("LMK540 V103\r\n"));
        QVERIFY(r.out.contains("Unknown command: xyz\r\n"));
        QVERIFY(r.out.contains("Commands: ver"));
        QCOMPARE(sim.requests("usb"),
                 (QList<QByteArray>{kEnter, kVer, QByteArray::fromHex("190578797a0d0a000000"),
                                    QByteArray::fromHex("190668656c700d0a0000"),
                                    kLeave}));
    }

    void scriptTimesOut_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("never comes") << QStringList{"--send", "ver", "--expect", "V999",
                                                    "--timeout", "0.5"}
                                     << QByteArray("Expectation 1, \"V999\", not met within 0.5 s.");
        // Each expectation looks only at what came after the sends before
        // it: the answer to the first "ver" does not meet the second.
        QTest::newRow("answered before")
            << QStringList{"--send", "ver", "--expect", "V103", "--send", "xyz", "--expect",
                           "V103", "--timeout", "1"}
            << QByteArray("Expectation 2, \"V103\", not met within 1 s.");
    }
    void scriptTimesOut() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, message);
        SimProcess sim;
        QVERIFY(sim.start());
        QElapsedTimer t;
        t.start();
        const CtlRun r = terminal(sim, args);
        QCOMPARE(r.rc, 1);
        QVERIFY2(r.err.contains(message), r.err.constData());
        // It ended by itself, leaving terminal mode.
        QTRY_COMPARE_WITH_TIMEOUT(sim.requests("usb").last(), kLeave, 3000);
        QVERIFY(sim.requests("usb").contains(kVer));
    }

    void scriptRefusedBeforeAnythingIsSent_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("line too long") << QStringList{"--send", QString(254, 'a')}
                                       << QByteArray("at most 253 characters");
        QTest::newRow("no regular expression") << QStringList{"--send", "ver", "--expect", "V(1"}
                                               << QByteArray("is no regular expression");
        QTest::newRow("bad timeout") << QStringList{"--send", "ver", "--timeout", "soon"}
                                     << QByteArray("--timeout needs a number");
    }
    void scriptRefusedBeforeAnythingIsSent() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, message);
        SimProcess sim;
        QVERIFY(sim.start());
        const CtlRun r = terminal(sim, args);
        QCOMPARE(r.rc, 2);
        QVERIFY2(r.err.contains(message), r.err.constData());
        QTest::qWait(200);
        QCOMPARE(sim.requests("usb"), QList<QByteArray>{});
    }

    void timestampsAndHex_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("out"); // a pattern for the whole output
        QTest::newRow("timestamps")
            << QStringList{"--timestamps"} << QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d LMK540 V103\n$");
        QTest::newRow("hex") << QStringList{"--hex"}
                             << QStringLiteral("^00000000  4c 4d 4b 35 34 30 20 56 31 30 33 0d 0a {11}"
                                               "\\|LMK540 V103\\.\\.\\|\n$");
        QTest::newRow("both")
            << QStringList{"--hex", "--timestamps"}
            << QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d 00000000  4c 4d 4b .*\\|LMK540 V103\\.\\.\\|\n$");
    }
    void timestampsAndHex() {
        QFETCH(QStringList, args);
        QFETCH(QString, out);
        SimProcess sim;
        QVERIFY(sim.start());
        // Standard input and --send alike.
        for (bool scripted : {false, true}) {
            const CtlRun r = scripted ? terminal(sim, args + QStringList{"--send", "ver"})
                                      : terminal(sim, args, "ver\n");
            QVERIFY2(r.rc == 0, r.err.constData());
            QVERIFY2(QRegularExpression(out).match(QString::fromLatin1(r.out)).hasMatch(),
                     r.out.constData());
        }
        // Only the typed line went out.
        QTRY_COMPARE_WITH_TIMEOUT(sim.requests("usb"),
                                  (QList<QByteArray>{kEnter, kVer, kLeave, kEnter, kVer, kLeave}),
                                  3000);
    }

    void logAppendsTheSession() {
        SimProcess sim;
        QVERIFY(sim.start());
        const QString log = m_dir.filePath("session.log");
        QFile::remove(log);
        CtlRun r = terminal(sim, {"--log", log, "--send", "ver", "--expect", "V103"});
        QVERIFY2(r.rc == 0, r.err.constData());
        r = terminal(sim, {"--log", log, "--hex"}, "xyz\n");
        QVERIFY2(r.rc == 0, r.err.constData());
        const QStringList lines = QString::fromUtf8(fileContents(log)).split('\n');
        const QString time = QStringLiteral("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} ");
        const QStringList want{"TX ver", "RX LMK540 V103", "TX xyz", "RX Unknown command: xyz", ""};
        QCOMPARE(lines.size(), want.size());
        for (int i = 0; i < want.size() - 1; ++i)
            QVERIFY2(QRegularExpression("^" + time + QRegularExpression::escape(want[i]) + "$")
                         .match(lines[i])
                         .hasMatch(),
                     qPrintable(lines[i]));
        QCOMPARE(sim.requests("usb").count(kVer), 1);
    }

    void logThatCannotBeOpened() {
        SimProcess sim;
        QVERIFY(sim.start());
        const CtlRun r =
            terminal(sim, {"--log", m_dir.filePath("no/such/folder/x.log"), "--send", "ver"});
        QCOMPARE(r.rc, 2);
        QVERIFY2(r.err.contains("Cannot open the log file"), r.err.constData());
        QTest::qWait(200);
        QCOMPARE(sim.requests("usb"), QList<QByteArray>{});
    }
};

QTEST_GUILESS_MAIN(TstCtlTerminal)
#include "tst_ctlterminal.moc"
