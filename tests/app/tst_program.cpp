// The program itself against the simulator: it applies its style, creates
// its window, synchronises and asks for the version. (A style that cannot be
// applied, or a failed start-up step, would stop it at a message box before
// the first request.)
#include "SimProcess.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

using namespace lmk;

class TstProgram : public QObject {
    Q_OBJECT

  private slots:
    void startsAgainstTheSimulator() {
        const QString program = QStringLiteral(LMK_BINARY_DIR "/src/lmkinterface");
        if (!QFile::exists(program))
            QFAIL("lmkinterface is not built");
        SimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--mode"), QStringLiteral("boot")}));
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LMK_HOST"), QStringLiteral("127.0.0.1"));
        env.insert(QStringLiteral("LMK_PORT"), QString::number(sim.port()));
        env.remove(QStringLiteral("LMK_USB_LIBRARY"));
        env.remove(QStringLiteral("LMK_SIM_USB"));
        app.setProcessEnvironment(env);
        app.start(program, {});
        QVERIFY(app.waitForStarted(5000));
        QTRY_COMPARE_WITH_TIMEOUT(sim.requests(QStringLiteral("wlan")),
                                  (QList<QByteArray>{QByteArray("\x55"), QByteArray("\x12")}),
                                  10000);
        QTest::qWait(300);
        QCOMPARE(app.state(), QProcess::Running);
        app.kill();
        app.waitForFinished(3000);
    }
};

QTEST_MAIN(TstProgram)
#include "tst_program.moc"
