// The program itself against the simulator: it applies its style, creates
// its window, synchronises and asks for the version. (A style that cannot be
// applied, or a failed start-up step, would stop it at a message box before
// the first request.) A close request from the system ends it at once.
#include "SimProcess.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QtTest>

using namespace lmk;

namespace {
// Starts lmkinterface against the simulator's access point; over USB too
// when `usb` (the requests then go over USB).
bool startProgram(QProcess &app, const SimProcess &sim, bool usb = false) {
    const QString program = QStringLiteral(LMK_BINARY_DIR "/src/lmkinterface");
    if (!QFile::exists(program)) {
        qWarning("lmkinterface is not built");
        return false;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LMK_HOST"), QStringLiteral("127.0.0.1"));
    env.insert(QStringLiteral("LMK_PORT"), QString::number(sim.port()));
    if (usb) {
        env.insert(QStringLiteral("LMK_USB_LIBRARY"), QStringLiteral(LMK_USB_SIM_LIBRARY));
        env.insert(QStringLiteral("LMK_SIM_USB"), sim.usbSocketPath());
    } else {
        env.remove(QStringLiteral("LMK_USB_LIBRARY"));
        env.remove(QStringLiteral("LMK_SIM_USB"));
    }
    app.setProcessEnvironment(env);
    app.start(program, {});
    return app.waitForStarted(5000);
}
} // namespace

class TstProgram : public QObject {
    Q_OBJECT

  private slots:
    void startsAgainstTheSimulator() {
        SimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--mode"), QStringLiteral("boot")}));
        QProcess app;
        QVERIFY(startProgram(app, sim));
        QTRY_COMPARE_WITH_TIMEOUT(sim.requests(QStringLiteral("wlan")),
                                  (QList<QByteArray>{QByteArray("\x55"), QByteArray("\x12")}),
                                  10000);
        QTest::qWait(300);
        QCOMPARE(app.state(), QProcess::Running);
        app.kill();
        app.waitForFinished(3000);
    }

    // The system's close request (SIGTERM) closes the window like its close
    // box, also while start-up waits for a receiver that does not answer:
    // the close steps run and the process ends at once, normally, with
    // nothing sent after the close.
    void closedWhileWaitingExits_data() {
        QTest::addColumn<bool>("usb");
        QTest::newRow("wlan") << false;
        QTest::newRow("usb") << true;
    }
    void closedWhileWaitingExits() {
        QFETCH(bool, usb);
        SimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--fault"), QStringLiteral("55:silent")}));
        QProcess app;
        QVERIFY(startProgram(app, sim, usb));
        const QString t = usb ? QStringLiteral("usb") : QStringLiteral("wlan");
        // Synchronise has sent its request and waits 1000 ms for the reply.
        QTRY_COMPARE_WITH_TIMEOUT(sim.requests(t), QList<QByteArray>{QByteArray("\x55")}, 10000);
        QElapsedTimer took;
        took.start();
        app.terminate();
        QVERIFY(app.waitForFinished(3000));
        QVERIFY2(took.elapsed() < 1000, qPrintable(QString::number(took.elapsed())));
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.exitCode(), 0);
        QTest::qWait(200);
        QCOMPARE(sim.requests(t), QList<QByteArray>{QByteArray("\x55")});
    }
};

QTEST_MAIN(TstProgram)
#include "tst_program.moc"
