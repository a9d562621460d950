// The window's program from the command line and the desktop: --help and
// --version without a display, files handed over by a file manager, the
// receiver's address kept between runs, and Ctrl+C or the system's close
// request during the start-up messages.
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "TestFiles.h"
#include "WindowFixture.h"
#include "app/ReceiverAddressDialog.h"
#include "app/TFMain.h"
#include "link/ReceiverAddress.h"
#include "memory/MemoryImage.h"
#include "memory/MemorySession.h"
#include "memory/ui/MemoryEditor.h"
#include "upload/ui/UpdatePage.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using namespace lmk;
using namespace lmk::test;

namespace {

const QString kProgram = QStringLiteral(LMK_BINARY_DIR "/src/lmkinterface");

bool writeAll(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Sets or removes an environment variable for the length of a scope.
class ScopedEnv {
  public:
    ScopedEnv(const char *name, const QByteArray &value) : m_name(name) {
        m_had = qEnvironmentVariableIsSet(name);
        m_old = qgetenv(name);
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv() {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

  private:
    const char *m_name;
    bool m_had = false;
    QByteArray m_old;
};

// Whether the process has its own handler for `signal` (SigCgt in /proc).
bool catchesSignal(qint64 pid, int signal) {
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    return false;
}

} // namespace

class TstCommandLine : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    ScriptedDialogs m_dialogs;

  private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        // Saved addresses land here, never in the user's configuration.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
        setDialogs(&m_dialogs);
    }
    void cleanupTestCase() { setDialogs(nullptr); }

    // --help and --version answer without a display and without a window.
    void helpAndVersion_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("rc");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("--help") << QStringList{"--help"} << 0 << "Usage: lmkinterface [OPTIONS] [FILE...]" << "";
        QTest::newRow("-h") << QStringList{"-h"} << 0 << "Usage: lmkinterface" << "";
        QTest::newRow("--help-all") << QStringList{"--help-all"} << 0 << "Usage: lmkinterface" << "";
        QTest::newRow("--version") << QStringList{"--version"} << 0 << "lmkinterface 1.4\n" << "";
        QTest::newRow("-V after a file") << QStringList{"x.Mem", "-V"} << 0 << "lmkinterface 1.4\n" << "";
    }
    void helpAndVersion() {
        QFETCH(QStringList, args);
        QFETCH(int, rc);
        QFETCH(QString, out);
        QFETCH(QString, err);
        SimProcess sim;
        QVERIFY(sim.start());
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // A platform that cannot start: the answer must come before Qt needs one.
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("LMK_HOST"), QStringLiteral("127.0.0.1"));
        env.insert(QStringLiteral("LMK_PORT"), QString::number(sim.port()));
        p.setProcessEnvironment(env);
        p.start(kProgram, args);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), rc);
        QVERIFY(QString::fromUtf8(p.readAllStandardOutput()).startsWith(out));
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()), err);
        QVERIFY(sim.logLines().isEmpty());
    }

    void unknownOption() {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LMK_HOST"), QStringLiteral("127.0.0.1"));
        env.insert(QStringLiteral("LMK_PORT"), QString::number(closedPort()));
        p.setProcessEnvironment(env);
        p.start(kProgram, {QStringLiteral("--bogus")});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 2);
        // The last line; Qt may have said something about the platform before.
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.endsWith(QStringLiteral("\nlmkinterface: unknown option '--bogus' (see 'lmkinterface --help')\n")) ||
                     err == QStringLiteral("lmkinterface: unknown option '--bogus' (see 'lmkinterface --help')\n"),
                 qPrintable(err));
    }

    // Ctrl+C and SIGTERM end the program at any time of its start-up, also
    // while a message waits for OK that nobody will press.
    void signalDuringStartUpMessage_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("withSimulator");
        QTest::newRow("SIGTERM, access point not found") << int(SIGTERM) << false;
        QTest::newRow("SIGINT, access point not found") << int(SIGINT) << false;
        QTest::newRow("SIGTERM, connection closed during synchronisation") << int(SIGTERM) << true;
    }
    void signalDuringStartUpMessage() {
        QFETCH(int, signal);
        QFETCH(bool, withSimulator);
        SimProcess sim;
        QVERIFY(sim.start({QStringLiteral("--fault"), QStringLiteral("55:close")}));
        QProcess app;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LMK_HOST"), QStringLiteral("127.0.0.1"));
        env.insert(QStringLiteral("LMK_PORT"), QString::number(withSimulator ? sim.port() : closedPort()));
        env.remove(QStringLiteral("LMK_USB_LIBRARY"));
        app.setProcessEnvironment(env);
        app.start(kProgram, {});
        QVERIFY(app.waitForStarted(5000));
        if (withSimulator) // the connection is closed on this request: a message follows
            QTRY_COMPARE_WITH_TIMEOUT(sim.requests(QStringLiteral("wlan")), QList<QByteArray>{QByteArray("\x55")}, 10000);
        // The program takes the signal from here on (Linux: the handler shows
        // in /proc); without one it would wait for OK for ever.
        QTRY_VERIFY_WITH_TIMEOUT(catchesSignal(app.processId(), signal), 10000);
        QVERIFY(!app.waitForFinished(300));
        QElapsedTimer took;
        took.start();
        ::kill(pid_t(app.processId()), signal);
        QVERIFY2(app.waitForFinished(5000), "still running after the signal");
        QVERIFY2(took.elapsed() < 3000, qPrintable(QString::number(took.elapsed())));
        QCOMPARE(app.exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.exitCode(), 0);
    }

    // A .Mem file named on the command line opens in the memory editor, an
    // .RPD file becomes the upload file; anything else is left alone.
    void openFiles() {
        WindowFixture f;
        f.dialogs.clear();
        setDialogs(&f.dialogs);
        QVERIFY(f.start({}, Transport::None));
        const QString mem = m_dir.filePath(QStringLiteral("slots.Mem"));
        const QByteArray image = pseudoRandomBytes(63 * 256);
        QVERIFY(writeAll(mem, image));
        QVERIFY(f.window->openFileFromCommandLine(mem));
        QVERIFY(f.window->memoryEditor());
        QVERIFY(f.window->memoryEditor()->isVisible());
        QCOMPARE(f.window->memoryEditor()->session().image().data(), image);

        const QString rpd = m_dir.filePath(QStringLiteral("LMK7.RPD"));
        QVERIFY(writeAll(rpd, QByteArray(100, 'x')));
        f.window->showPage(1);
        QVERIFY(f.window->openFileFromCommandLine(rpd));
        QCOMPARE(f.window->pageShown(), 0);
        QCOMPARE(f.window->updatePage()->uploadFileName(), rpd);
        auto *list = f.window->findChild<QListWidget *>(QStringLiteral("LB_Applikation"));
        QVERIFY(list);
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QStringLiteral("LMK7.RPD"));

        QVERIFY(!f.window->openFileFromCommandLine(m_dir.filePath(QStringLiteral("notes.txt"))));
        QCOMPARE(f.window->updatePage()->uploadFileName(), rpd);
        QVERIFY(f.dialogs.texts.isEmpty());
        f.stop();
        setDialogs(&m_dialogs);
    }

    // Interface > Receiver Address...: saved for later runs; the
    // environment wins and the dialog says so.
    void receiverAddress_data() {
        QTest::addColumn<QByteArray>("envHost");
        QTest::addColumn<QByteArray>("envPort");
        QTest::addColumn<QString>("linkHost"); // where the link points after OK
        QTest::addColumn<int>("linkPort");
        QTest::addColumn<QString>("note");     // "" = no note shown
        QTest::newRow("no environment") << QByteArray() << QByteArray() << "127.0.0.2" << 5001 << "";
        QTest::newRow("LMK_HOST set") << QByteArray("127.0.0.1") << QByteArray() << "127.0.0.1" << 5001
                                      << "LMK_HOST=127.0.0.1 is set in the environment; it wins over "
                                         "the address saved here as long as it is set.";
        QTest::newRow("both set") << QByteArray("127.0.0.1") << QByteArray("9") << "127.0.0.1" << 9
                                  << "LMK_HOST=127.0.0.1 and LMK_PORT=9 are set in the environment; "
                                     "they win over the address saved here as long as they are set.";
    }
    void receiverAddress() {
        QFETCH(QByteArray, envHost);
        QFETCH(QByteArray, envPort);
        QFETCH(QString, linkHost);
        QFETCH(int, linkPort);
        QFETCH(QString, note);
        const ScopedEnv host("LMK_HOST", envHost);
        const ScopedEnv port("LMK_PORT", envPort);
        saveReceiverAddress(QStringLiteral("127.0.0.3"), 4000);
        DeviceLink link;
        ReceiverAddressDialog dialog(link);
        QCOMPARE(dialog.hostEdit()->text(), QStringLiteral("127.0.0.3"));
        QCOMPARE(dialog.portEdit()->value(), 4000);
        QCOMPARE(dialog.environmentNote()->isVisibleTo(&dialog), !note.isEmpty());
        if (!note.isEmpty())
            QCOMPARE(dialog.environmentNote()->text(), note);
        dialog.hostEdit()->setText(QStringLiteral(" 127.0.0.2 "));
        dialog.portEdit()->setValue(5001);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(savedReceiverAddress().host, QStringLiteral("127.0.0.2"));
        QCOMPARE(savedReceiverAddress().port, quint16(5001));
        QCOMPARE(link.host(), linkHost);
        QCOMPARE(int(link.port()), linkPort);
        // A new link (the next run) starts at the same address.
        DeviceLink next;
        QCOMPARE(next.host(), linkHost);
        QCOMPARE(int(next.port()), linkPort);
    }

    void receiverAddressNeedsAHost() {
        const ScopedEnv host("LMK_HOST", QByteArray());
        saveReceiverAddress(QStringLiteral("127.0.0.3"), 4000);
        DeviceLink link;
        ReceiverAddressDialog dialog(link);
        dialog.hostEdit()->setText(QStringLiteral("  "));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(savedReceiverAddress().host, QStringLiteral("127.0.0.3"));
    }

    void menuItem() {
        WindowFixture f;
        setDialogs(&f.dialogs);
        QVERIFY(f.start({}, Transport::None));
        auto *action = f.window->findChild<QAction *>(QStringLiteral("MI_ReceiverAddress"));
        QVERIFY(action);
        QCOMPARE(action->text(), QStringLiteral("Receiver &Address…"));
        f.stop();
        setDialogs(&m_dialogs);
    }

    // The man pages name every option the programs' own help lists (lmkctl's
    // are checked in its own test, with its commands).
    void manPagesFollowHelp_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("page");
        QTest::newRow("lmkinterface") << kProgram << "lmkinterface.1";
        QTest::newRow("lmk-sim") << QStringLiteral(LMK_SIM_BINARY) << "lmk-sim.1";
    }
    void manPagesFollowHelp() {
        QFETCH(QString, program);
        QFETCH(QString, page);
        QProcess p;
        p.start(program, {QStringLiteral("--help")});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 0);
        const QString help = QString::fromUtf8(p.readAllStandardOutput());
        QString man = QString::fromUtf8(fileContents(QStringLiteral(LMK_SOURCE_DIR "/data/man/") + page));
        QVERIFY(!man.isEmpty());
        man.replace(QLatin1String("\\-"), QLatin1String("-"));
        static const QRegularExpression option(QStringLiteral("^  (?:(-\\w), )?(--[a-z][a-z-]*)"),
                                               QRegularExpression::MultilineOption);
        int found = 0;
        for (auto it = option.globalMatch(help); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            if (m.captured(2) == QLatin1String("--help-all"))
                continue; // Qt's, shown only by the simulator
            for (const QString &o : {m.captured(1), m.captured(2)})
                if (!o.isEmpty())
                    QVERIFY2(man.contains(o), qPrintable(o + QStringLiteral(" is not in ") + page));
            ++found;
        }
        QVERIFY(found >= 2);
    }
};

QTEST_MAIN(TstCommandLine)
#include "tst_commandline.moc"
