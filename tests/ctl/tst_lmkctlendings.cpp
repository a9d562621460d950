// How lmkctl ends: a stop signal in the middle of every command, outputs that
// fail or go away, outputs checked before the first request, names with
// control characters, --json on every command that reports, the completion of
// --opt=VALUE and of typed files. The built programs run as child processes
// against a real lmk-sim.
#include "CtlRun.h"
#include "SimProcess.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/types.h>

using namespace lmk;
using namespace lmk::test;

namespace {

bool writeAll(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Requests in the simulator's log whose first byte is `lead` (lead & 0x80:
// upload groups).
int countRequests(const QList<QByteArray> &requests, int lead) {
    int n = 0;
    for (const QByteArray &r : requests)
        if (!r.isEmpty() && (lead == 0x80 ? (quint8(r[0]) & 0x80) != 0 : quint8(r[0]) == lead))
            ++n;
    return n;
}

// A slot image whose names hold every byte from 1 to 255, 17 a slot, the
// control characters of a terminal's title and clear-screen sequences in
// slot 1.
QByteArray namesImage() {
    QByteArray image(63 * 256, '\0');
    const QByteArray evil("\x1b]0;pwned\x07\x1b[2J", 14);
    image.replace(18, evil.size(), evil);
    int value = 1;
    for (int slot = 2; value <= 255; ++slot)
        for (int i = 0; i < 17 && value <= 255; ++i)
            image[(slot - 1) * 256 + 18 + i] = char(value++);
    return image;
}

} // namespace

class TestLmkctlEndings : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QProcessEnvironment environment(const SimProcess *sim, bool usb) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LMK_HOST"), QStringLiteral("127.0.0.1"));
        env.insert(QStringLiteral("LMK_PORT"), sim ? QString::number(sim->port()) : QStringLiteral("9"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        env.remove(QStringLiteral("LMK_USB_LIBRARY"));
        env.remove(QStringLiteral("LMK_SIM_USB"));
        if (usb && sim) {
            env.insert(QStringLiteral("LMK_USB_LIBRARY"), QStringLiteral(LMK_USB_SIM_LIBRARY));
            env.insert(QStringLiteral("LMK_SIM_USB"), sim->usbSocketPath());
        }
        return env;
    }

    CtlRun run(const QStringList &args, const SimProcess *sim, bool usb = false,
               const QString &stdoutFile = {}) {
        QProcess p;
        p.setProcessEnvironment(environment(sim, usb));
        if (!stdoutFile.isEmpty())
            p.setStandardOutputFile(stdoutFile);
        p.start(QStringLiteral(LMK_CTL_BINARY), (usb ? QStringList{"--usb"} : QStringList{}) + args);
        CtlRun r;
        if (!p.waitForStarted(5000))
            return r;
        p.closeWriteChannel();
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.out = p.readAllStandardOutput();
        r.err = p.readAllStandardError();
        r.rc = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        return r;
    }

    // Runs the completion script of `shell` at the end of `line`; zsh's
    // compadd, compset and _files are stand-ins that print what matches
    // (with `descriptions`, the descriptions compadd -d was given instead).
    QString complete(const QString &shell, const QStringList &line, bool descriptions) {
        const QString program = QStandardPaths::findExecutable(shell);
        if (program.isEmpty())
            return QStringLiteral("(%1 not installed)").arg(shell);
        const CtlRun script = run({"completion", shell}, nullptr);
        const QString file = path(QStringLiteral("completion.") + shell);
        if (script.rc != 0 || !writeAll(file, script.out))
            return QStringLiteral("(no script)");
        QStringList quoted;
        for (const QString &w : QStringList{QStringLiteral("lmkctl")} + line)
            quoted << QLatin1Char('\'') + w + QLatin1Char('\'');
        QString code;
        if (shell == QLatin1String("bash")) {
            code = QStringLiteral("source '%1' || exit 3\n"
                                  "COMP_WORDS=(%2); COMP_CWORD=%3\n"
                                  "_lmkctl; printf '%s\\n' \"${COMPREPLY[*]}\"\n")
                       .arg(file, quoted.join(QLatin1Char(' ')))
                       .arg(line.size());
        } else {
            code = QStringLiteral("autoload -Uz compinit && compinit -u -D || exit 5\n"
                                  "setopt extendedglob\n"
                                  "source '%1' || exit 3\n"
                                  "typeset -g PFX=''\n"
                                  "compset() { [[ $1 == -P ]] && PFX=${cur%%=*}= && cur=${cur#*=}; }\n"
                                  "compadd() { local d='' w; local -a m; "
                                  "while [[ $1 == -* && $1 != -- ]]; do [[ $1 == -d ]] && { d=$2; shift; }; shift; done; "
                                  "[[ $1 == -- ]] && shift; "
                                  "if [[ -n $d && %4 == 1 ]]; then print -r -- \"${(@F)${(P)d}}\"; return; fi; "
                                  "for w; do [[ $w == ${cur}* ]] && m+=($w); done; print -r -- \"$m[*]\"; }\n"
                                  "_files() { local g='*'; [[ $1 == -g ]] && g=$2; "
                                  "local -a f=(${cur}${~g}(N) ${cur}*(N/)); print -r -- \"${PFX}${(j: :)f}\" | sed \"s| | ${PFX}|g\"; }\n"
                                  "words=(%2); CURRENT=%3\n"
                                  "_lmkctl\n")
                       .arg(file, quoted.join(QLatin1Char(' ')))
                       .arg(line.size() + 1)
                       .arg(descriptions ? 1 : 0);
        }
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_dir.path());
        p.setProcessEnvironment(env);
        p.start(program, shell == QLatin1String("zsh") ? QStringList{"-f", "-c", code} : QStringList{"--norc", "-c", code});
        if (!p.waitForFinished(20000) || p.exitCode() != 0)
            return QStringLiteral("(failed: %1)").arg(QString::fromUtf8(p.readAllStandardError()));
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir().mkpath(path(QStringLiteral("data"))));
        QVERIFY(writeAll(path(QStringLiteral("zero.Mem")), QByteArray(63 * 256, '\0')));
        QVERIFY(writeAll(path(QStringLiteral("random.Mem")), pseudoRandomBytes(63 * 256)));
        QVERIFY(writeAll(path(QStringLiteral("names.Mem")), namesImage()));
        QVERIFY(writeAll(path(QStringLiteral("LMK1.RPD")), pseudoRandomBytes(5000)));
        QVERIFY(writeAll(path(QStringLiteral("LMKBIG.RPD")), pseudoRandomBytes(96000)));
        QVERIFY(writeAll(path(QStringLiteral("plan.csv")), "Platz\n"));
        QVERIFY(writeAll(path(QStringLiteral("shot.png")), "png"));
        QVERIFY(writeAll(path(QStringLiteral("shot.txt")), "text"));
    }

    // SIGINT, SIGTERM and SIGHUP in the middle of each command: the command
    // stops cleanly (the abort byte for a scan, 0D 00 for terminal mode, no
    // packet or slot after the stop), says how far it got and exits with
    // 128 + the signal. The signal goes when the simulator has logged
    // `waitCount` requests that begin with `waitLead`.
    void stopSignals_data() {
        QTest::addColumn<QStringList>("simOptions");
        QTest::addColumn<bool>("usb");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("waitLead");
        QTest::addColumn<int>("waitCount");
        QTest::addColumn<QString>("told"); // a regular expression on standard error
        QTest::addColumn<QString>("wire"); // what the requests show after the stop
        QTest::addColumn<int>("sig");
        struct Row {
            const char *name;
            QStringList sim;
            bool usb;
            QStringList args;
            int lead, count;
            const char *told;
            const char *wire;
        };
        const QList<Row> rows{
            {"scan", {"--delay", "2"}, false, {"scan", "--area", "0,0,300,480", "-o", "%DIR%/stop.png"},
             0x00, 20, "Interrupted; 0 files written\\.", "abort byte last"},
            {"memory write", {"--delay", "15"}, false, {"memory", "write", "%DIR%/random.Mem", "--no-backup"},
             0x11, 10, "Writing stopped at slot (\\d+) of 63: slots 1–\\d+ hold the new data\\.", "slots as told"},
            {"memory read", {"--delay", "15"}, false, {"memory", "read", "-o", "%DIR%/stopped.Mem"},
             0x10, 10, "Reading stopped at slot \\d+ of 63; nothing was written to", "no file"},
            {"memory clear", {"--delay", "15"}, false, {"memory", "clear", "--yes", "--no-backup"},
             0x11, 10, "Clearing stopped at slot (\\d+) of 63: slots 1–\\d+ are cleared\\.", "slots as told"},
            {"upload", {"--mode", "boot", "--delay", "4"}, false, {"upload", "%DIR%/LMKBIG.RPD"},
             0x80, 30, "The upload stopped after \\d+ of 96000 bytes", "no packet after"},
            {"terminal", {}, true, {"terminal"}, 0x0D, 1, "0 lines sent; the receiver has left terminal mode\\.",
             "terminal mode left"},
            {"version, no answer", {"--fault", "12:silent"}, false, {"version"}, 0x12, 1, "^lmkctl: Stopped by SIG",
             "nothing after"},
        };
        const QList<std::pair<const char *, int>> signals_{{"SIGINT", SIGINT}, {"SIGTERM", SIGTERM}, {"SIGHUP", SIGHUP}};
        for (const Row &row : rows)
            for (const auto &[name, sig] : signals_) {
                QTest::addRow("%s, %s", row.name, name)
                    << row.sim << row.usb << row.args << row.lead << row.count
                    << QString::fromUtf8(row.told) << QString::fromLatin1(row.wire) << sig;
            }
    }
    void stopSignals() {
        QFETCH(QStringList, simOptions);
        QFETCH(bool, usb);
        QFETCH(QStringList, args);
        QFETCH(int, waitLead);
        QFETCH(int, waitCount);
        QFETCH(QString, told);
        QFETCH(QString, wire);
        QFETCH(int, sig);
        for (QString &a : args)
            a.replace(QLatin1String("%DIR%"), m_dir.path());
        QFile::remove(path(QStringLiteral("stopped.Mem")));
        SimProcess sim;
        QVERIFY(sim.start(simOptions));
        const QString transport = usb ? QStringLiteral("usb") : QStringLiteral("wlan");
        QProcess p;
        p.setProcessEnvironment(environment(&sim, usb));
        // Standard input stays open: the terminal would end at its end.
        p.start(QStringLiteral(LMK_CTL_BINARY), (usb ? QStringList{"--usb"} : QStringList{}) + args);
        QVERIFY(p.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(countRequests(sim.requests(transport), waitLead) >= waitCount ||
                                     p.state() == QProcess::NotRunning,
                                 30000);
        QVERIFY2(p.state() == QProcess::Running, p.readAllStandardError().constData());
        const qsizetype sentBefore = sim.requests(transport).size();
        ::kill(pid_t(p.processId()), sig);
        QVERIFY(p.waitForFinished(15000));
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QVERIFY2(p.exitCode() == 128 + sig, qPrintable(err));
        const QString name = sig == SIGINT ? QStringLiteral("SIGINT") : sig == SIGTERM ? QStringLiteral("SIGTERM")
                                                                                       : QStringLiteral("SIGHUP");
        QVERIFY2(err.contains(QStringLiteral("Stopped by ") + name), qPrintable(err));
        const QRegularExpressionMatch m =
            QRegularExpression(told, QRegularExpression::MultilineOption).match(err);
        QVERIFY2(m.hasMatch(), qPrintable(err));
        // What the receiver got after the stop.
        if (wire == QLatin1String("abort byte last")) {
            QTRY_VERIFY_WITH_TIMEOUT(!sim.requests(transport).isEmpty() &&
                                         sim.requests(transport).last() == QByteArray(1, '\x0a'),
                                     5000);
            QCOMPARE(sim.requests(transport).count(QByteArray(1, '\x0a')), 1);
        } else if (wire == QLatin1String("slots as told")) {
            // Slot N stopped: N - 1 acknowledged, and slot N only when it says so.
            const int stoppedAt = m.captured(1).toInt();
            const int sent = err.contains(QStringLiteral("Slot %1 was sent").arg(stoppedAt)) ? stoppedAt : stoppedAt - 1;
            QTRY_COMPARE_WITH_TIMEOUT(countRequests(sim.requests(transport), 0x11), sent, 5000);
        } else if (wire == QLatin1String("no file")) {
            QVERIFY(!QFile::exists(path(QStringLiteral("stopped.Mem"))));
        } else if (wire == QLatin1String("no packet after")) {
            // The packet that waited for its answer at most; none after it.
            QVERIFY(sim.requests(transport).size() - sentBefore <= 2);
        } else if (wire == QLatin1String("terminal mode left")) {
            QTRY_VERIFY_WITH_TIMEOUT(!sim.requests(transport).isEmpty() &&
                                         sim.requests(transport).last() == QByteArray::fromHex("0d00"),
                                     5000);
        } else if (wire == QLatin1String("nothing after")) {
            QCOMPARE(sim.requests(transport).size(), sentBefore);
        }
    }

    // Everything that goes to standard output is checked: a full disk
    // fails the run with the system's reason.
    void outputToFullDisk_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("withSim");
        QTest::newRow("memory export -o -") << QStringList{"memory", "export", "%DIR%/zero.Mem", "-o", "-"} << false;
        QTest::newRow("memory export") << QStringList{"memory", "export", "%DIR%/zero.Mem"} << false;
        QTest::newRow("memory show") << QStringList{"memory", "show", "%DIR%/zero.Mem"} << false;
        QTest::newRow("memory diff") << QStringList{"memory", "diff", "%DIR%/zero.Mem", "%DIR%/random.Mem"} << false;
        QTest::newRow("help") << QStringList{"help"} << false;
        QTest::newRow("completion") << QStringList{"completion", "bash"} << false;
        QTest::newRow("scan -o -") << QStringList{"scan", "--format", "png", "-o", "-", "--area", "0,0,8,8"} << true;
        QTest::newRow("memory read -o -") << QStringList{"memory", "read", "-o", "-"} << true;
        QTest::newRow("version") << QStringList{"version"} << true;
        QTest::newRow("version --json") << QStringList{"version", "--json"} << true;
    }
    void outputToFullDisk() {
        QFETCH(QStringList, args);
        QFETCH(bool, withSim);
        if (!QFileInfo::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full here");
        for (QString &a : args)
            a.replace(QLatin1String("%DIR%"), m_dir.path());
        SimProcess sim;
        if (withSim)
            QVERIFY(sim.start());
        const CtlRun r = run(args, withSim ? &sim : nullptr, false, QStringLiteral("/dev/full"));
        QVERIFY2(r.rc != 0 && r.rc != -1, r.err.constData());
        QVERIFY2(r.err.contains(QByteArray(std::strerror(ENOSPC))), r.err.constData());
        QCOMPARE(r.err.count(std::strerror(ENOSPC)), 1); // told once
    }

    // A reader that goes away ends the run quietly: no message, the exit
    // code of a closed pipe, and nothing more sent.
    void closedPipe_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("scan into a pipe") << QStringList{"scan", "--format", "bmp", "-o", "-", "--area", "0,0,800,480"};
        QTest::newRow("memory read into a pipe") << QStringList{"memory", "read", "-o", "-"};
    }
    void closedPipe() {
        QFETCH(QStringList, args);
        SimProcess sim;
        QVERIFY(sim.start({"--delay", "3"})); // the reader is gone before the slots are read
        const QString bash = QStandardPaths::findExecutable(QStringLiteral("bash"));
        if (bash.isEmpty())
            QSKIP("bash is not installed");
        QStringList quoted;
        for (const QString &a : args)
            quoted << QLatin1Char('\'') + a + QLatin1Char('\'');
        // The reader goes at once.
        const QString code = QStringLiteral("\"$CTL\" %1 2>\"$ERR\" | true; echo \"${PIPESTATUS[0]}\"")
                                 .arg(quoted.join(QLatin1Char(' ')));
        QProcess p;
        QProcessEnvironment env = environment(&sim, false);
        env.insert(QStringLiteral("CTL"), QStringLiteral(LMK_CTL_BINARY));
        env.insert(QStringLiteral("ERR"), path(QStringLiteral("pipe.err")));
        p.setProcessEnvironment(env);
        p.start(bash, {"--norc", "-c", code});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.readAllStandardOutput().trimmed(), QByteArray("141"));
        QCOMPARE(fileContents(path(QStringLiteral("pipe.err"))), QByteArray());
    }

    // Outputs are checked before the first request.
    void outputsCheckedFirst_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("dataHome"); // %DIR%-relative; "" keeps the usual one
        QTest::addColumn<QString>("told");
        QTest::newRow("memory read into a missing folder")
            << QStringList{"memory", "read", "-o", "/no/such/dir/x.Mem"} << QString()
            << QStringLiteral("the folder /no/such/dir does not exist; nothing was read.");
        QTest::newRow("memory read onto a folder")
            << QStringList{"memory", "read", "-o", "%DIR%"} << QString() << QStringLiteral("is a folder");
        QTest::newRow("memory write without a place for its backup")
            << QStringList{"memory", "write", "%DIR%/zero.Mem"} << QStringLiteral("zero.Mem")
            << QStringLiteral("No backup can be kept");
        QTest::newRow("memory clear without a place for its backup")
            << QStringList{"memory", "clear", "--yes"} << QStringLiteral("zero.Mem/sub")
            << QStringLiteral("No backup can be kept");
    }
    void outputsCheckedFirst() {
        QFETCH(QStringList, args);
        QFETCH(QString, dataHome);
        QFETCH(QString, told);
        for (QString &a : args)
            a.replace(QLatin1String("%DIR%"), m_dir.path());
        SimProcess sim;
        QVERIFY(sim.start());
        QProcess p;
        QProcessEnvironment env = environment(&sim, false);
        if (!dataHome.isEmpty())
            env.insert(QStringLiteral("XDG_DATA_HOME"), path(dataHome));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(LMK_CTL_BINARY), args);
        QVERIFY(p.waitForFinished(30000));
        const QByteArray err = p.readAllStandardError();
        QCOMPARE(p.exitCode(), 2);
        QVERIFY2(err.contains(told.toUtf8()), err.constData());
        QCOMPARE(sim.requests(), QList<QByteArray>());
    }

    // Control characters of a name never reach the terminal raw; export and
    // import write them one way, so that every name the receiver can hold
    // reads back byte for byte.
    void controlCharactersEscaped_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("memory show") << QStringList{"memory", "show", "%DIR%/names.Mem"};
        QTest::newRow("memory show --csv") << QStringList{"memory", "show", "%DIR%/names.Mem", "--csv"};
        QTest::newRow("memory diff") << QStringList{"memory", "diff", "%DIR%/zero.Mem", "%DIR%/names.Mem"};
        QTest::newRow("memory export -o -") << QStringList{"memory", "export", "%DIR%/names.Mem", "-o", "-"};
    }
    void controlCharactersEscaped() {
        QFETCH(QStringList, args);
        for (QString &a : args)
            a.replace(QLatin1String("%DIR%"), m_dir.path());
        const CtlRun r = run(args, nullptr);
        QVERIFY2(r.rc == 0 || r.rc == 1, r.err.constData());
        static const QRegularExpression control(QStringLiteral("[\\x00-\\x08\\x0b-\\x1f\\x7f-\\x9f]"));
        const QString out = QString::fromUtf8(r.out);
        QVERIFY2(!out.contains(control), r.out.constData());
        QVERIFY2(out.contains(QStringLiteral("\\x1B]0;pwned\\x07\\x1B[2J")), r.out.constData());
    }
    // The receiver's own texts are shown the same way.
    void receiverTextsEscaped() {
        SimProcess sim;
        QVERIFY(sim.start({"--ap-ssid", QStringLiteral("AB\x1b[2JCDEF")}));
        const CtlRun r = run({"ap", "show"}, &sim, true);
        QVERIFY2(r.rc == 0, r.err.constData());
        QVERIFY2(!r.out.contains('\x1b'), r.out.constData());
        QVERIFY2(r.out.contains("Name (SSID): AB\\x1B[2JCDEF\n"), r.out.constData());
    }
    void nameRoundTrip() {
        const QString csv = path(QStringLiteral("names.csv"));
        CtlRun r = run({"memory", "export", path(QStringLiteral("names.Mem")), "-o", csv}, nullptr);
        QVERIFY2(r.rc == 0, r.err.constData());
        const QString back = path(QStringLiteral("names-back.Mem"));
        r = run({"memory", "import", csv, "--zero-base", "-o", back}, nullptr);
        QVERIFY2(r.rc == 0, r.err.constData());
        QCOMPARE(fileContents(back), namesImage());
    }

    // --json: every command that reports has it; the others refuse it.
    void jsonEverywhere_data() {
        QTest::addColumn<QStringList>("simOptions");
        QTest::addColumn<bool>("usb");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("rc");
        QTest::addColumn<QStringList>("keys"); // of the last line; first line's phase for upload
        QTest::newRow("memory show") << QStringList{} << false << QStringList{"memory", "show", "%DIR%/names.Mem", "--json"} << 0
                                     << QStringList{"slots"};
        QTest::newRow("memory read") << QStringList{} << false << QStringList{"memory", "read", "-o", "%DIR%/json.Mem", "--json"} << 0
                                     << QStringList{"action", "slots", "file"};
        QTest::newRow("memory write") << QStringList{} << false
                                      << QStringList{"memory", "write", "%DIR%/zero.Mem", "--no-backup", "--json"} << 0
                                      << QStringList{"action", "slots", "backup", "verified"};
        QTest::newRow("memory clear") << QStringList{} << false
                                      << QStringList{"memory", "clear", "--yes", "--no-backup", "--json"} << 0
                                      << QStringList{"action", "slots", "backup"};
        QTest::newRow("upload") << QStringList{"--mode", "boot"} << false << QStringList{"upload", "%DIR%/LMK1.RPD", "--json"} << 0
                                << QStringList{"phase", "text", "sent", "size", "target"};
        QTest::newRow("ap set") << QStringList{} << true
                                << QStringList{"ap", "set", "--channel", "5", "--json"} << 0
                                << QStringList{"ssid", "passkey", "channel", "power", "saved", "answer"};
        QTest::newRow("memory export refuses") << QStringList{} << false
                                               << QStringList{"memory", "export", "%DIR%/zero.Mem", "--json"} << 2 << QStringList{};
        QTest::newRow("memory import refuses") << QStringList{} << false
                                               << QStringList{"memory", "import", "x.csv", "--zero-base", "-o", "y.Mem", "--json"}
                                               << 2 << QStringList{};
        QTest::newRow("memory show --csv refuses") << QStringList{} << false
                                                   << QStringList{"memory", "show", "%DIR%/zero.Mem", "--csv", "--json"} << 2
                                                   << QStringList{};
        QTest::newRow("terminal refuses") << QStringList{} << true << QStringList{"terminal", "--json"} << 2 << QStringList{};
    }
    void jsonEverywhere() {
        QFETCH(QStringList, simOptions);
        QFETCH(bool, usb);
        QFETCH(QStringList, args);
        QFETCH(int, rc);
        QFETCH(QStringList, keys);
        for (QString &a : args)
            a.replace(QLatin1String("%DIR%"), m_dir.path());
        SimProcess sim;
        QVERIFY(sim.start(simOptions));
        const CtlRun r = run(args, &sim, usb);
        QVERIFY2(r.rc == rc, r.err.constData());
        if (rc != 0) {
            QVERIFY(r.out.isEmpty());
            QVERIFY2(r.err.contains("--json"), r.err.constData());
            return;
        }
        const QList<QByteArray> lines = r.out.trimmed().split('\n');
        QJsonObject last;
        for (const QByteArray &line : lines) {
            QJsonParseError error;
            const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
            QVERIFY2(error.error == QJsonParseError::NoError && doc.isObject(), line.constData());
            last = doc.object();
        }
        for (const QString &k : keys)
            QVERIFY2(last.contains(k), qPrintable(k));
        if (args.first() == QLatin1String("upload")) {
            // One line for each phase, then the end.
            QStringList phases;
            for (const QByteArray &line : lines)
                phases << QJsonDocument::fromJson(line).object().value(QStringLiteral("phase")).toString();
            QCOMPARE(phases, (QStringList{"clearing", "sending", "finished"}));
        }
    }

    // Completion: --opt=VALUE in one word (and as bash splits it), files of
    // the argument's type and folders, descriptions in zsh.
    void completion_data() {
        QTest::addColumn<QString>("shell");
        QTest::addColumn<QStringList>("line"); // the words up to the cursor
        QTest::addColumn<QString>("offered");  // sorted
        struct Row {
            const char *name;
            QStringList line;
            QString offered;
            bool bashOnly;
        };
        const QList<Row> rows{
            {"--preset= in one word", {"scan", "--preset=full-"}, "--preset=full-vga --preset=full-wvga", false},
            {"--format= in one word", {"scan", "--format=b"}, "--format=bmp", false},
            {"--preset = split by bash", {"scan", "--preset", "=", "diag"}, "diagram-vga diagram-wvga", true},
            {"--preset = with nothing yet", {"scan", "--scale", "="}, "1 2 3 4", true},
            {"upload offers .RPD and folders", {"upload", "%DIR%/"}, "%DIR%/LMK1.RPD %DIR%/LMKBIG.RPD %DIR%/data", false},
            {"memory show offers .Mem only", {"memory", "show", "%DIR%/p"}, "", false},
            {"memory import offers .csv", {"memory", "import", "%DIR%/p"}, "%DIR%/plan.csv", false},
            {"--base= offers .Mem", {"memory", "import", "x.csv", "--base=%DIR%/ze"}, "--base=%DIR%/zero.Mem", false},
            {"scan -o offers pictures", {"scan", "-o", "%DIR%/sh"}, "%DIR%/shot.png", false},
        };
        for (const char *shell : {"bash", "zsh"})
            for (const Row &row : rows)
                if (!row.bashOnly || QByteArray(shell) == "bash")
                    QTest::addRow("%s: %s", shell, row.name) << QString::fromLatin1(shell) << row.line << row.offered;
    }
    void completion() {
        QFETCH(QString, shell);
        QFETCH(QStringList, line);
        QFETCH(QString, offered);
        for (QString &w : line)
            w.replace(QLatin1String("%DIR%"), m_dir.path());
        offered.replace(QLatin1String("%DIR%"), m_dir.path());
        const QString got = complete(shell, line, false);
        QStringList words = got.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        words.sort();
        QCOMPARE(words.join(QLatin1Char(' ')), offered);
    }
    void zshDescriptions() {
        const QString got = complete(QStringLiteral("zsh"), {"scan", "--pre"}, true);
        QVERIFY2(got.contains(QStringLiteral("--preset  -- full-vga, full-wvga (default)")), qPrintable(got));
        const QString commands = complete(QStringLiteral("zsh"), {"up"}, true);
        QVERIFY2(commands.contains(QStringLiteral("upload  -- load a file into the configuration")), qPrintable(commands));
    }

    // On a terminal each phase of an upload starts a line of its own; the bar
    // of the phase before does not stay behind as a stale line.
    void uploadProgressOnTerminal() {
        const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
        if (script.isEmpty())
            QSKIP("script(1) is not installed");
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "boot", "--delay", "1"}));
        QProcess p;
        p.setProcessEnvironment(environment(&sim, false));
        p.start(script, {"-qec", QStringLiteral("'%1' upload '%2'").arg(QStringLiteral(LMK_CTL_BINARY),
                                                                        path(QStringLiteral("LMKBIG.RPD"))),
                         "/dev/null"});
        QVERIFY(p.waitForFinished(60000));
        const QByteArray shown = p.readAllStandardOutput();
        QVERIFY2(shown.contains("Bytes sent:"), shown.constData());
        // What each line of the terminal shows in the end: after its last \r.
        int bars = 0;
        for (const QByteArray &line : shown.split('\n')) {
            const QByteArray visible = line.mid(line.lastIndexOf('\r', line.endsWith('\r') ? line.size() - 2 : -1) + 1);
            if (visible.contains("upload [")) {
                ++bars;
                QVERIFY2(visible.contains("100%"), visible.constData());
            }
        }
        QCOMPARE(bars, 1);
    }

    // A reply code the program does not know is named.
    void versionUnknownCode() {
        SimProcess sim;
        QVERIFY(sim.start({"--fault", "wlan:12:raw=0800000077000000"}));
        const CtlRun r = run({"version"}, &sim);
        QCOMPARE(r.rc, 1);
        QVERIFY2(r.err.contains("reply code it does not know (0x77)"), r.err.constData());
    }

    // A link that loops is told with the system's reason.
    void uploadSymlinkLoop() {
        const QString a = path(QStringLiteral("loopA.RPD")), b = path(QStringLiteral("loopB.RPD"));
        QVERIFY(QFile::link(b, a));
        QVERIFY(QFile::link(a, b));
        const CtlRun r = run({"upload", a}, nullptr);
        QCOMPARE(r.rc, 2);
        QVERIFY2(r.err.contains(QByteArray(std::strerror(ELOOP))), r.err.constData());
    }

    // Usage errors and --help need no display.
    void windowUsageWithoutDisplay_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("rc");
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 2;
        QTest::newRow("unknown option after a Qt option") << QStringList{"-style", "fusion", "--bogus"} << 2;
        QTest::newRow("--help") << QStringList{"--help"} << 0;
        QTest::newRow("--version") << QStringList{"--version"} << 0;
    }
    void windowUsageWithoutDisplay() {
        QFETCH(QStringList, args);
        QFETCH(int, rc);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(LMK_BINARY_DIR "/src/lmkinterface"), args);
        QVERIFY(p.waitForFinished(30000));
        const QByteArray err = p.readAllStandardError();
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QVERIFY2(p.exitCode() == rc, err.constData());
        if (rc == 2)
            QVERIFY2(err.startsWith("lmkinterface: unknown option '--bogus'"), err.constData());
    }

    // The window, ended by SIGTERM while it waits for the receiver (the
    // synchronisation at start-up), says what stopped.
    void windowSaysWhatStopped() {
        SimProcess sim;
        QVERIFY(sim.start({"--delay", "20000"}));
        QTemporaryDir home;
        QVERIFY(home.isValid());
        QProcess p;
        QProcessEnvironment env = environment(&sim, false);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(LMK_BINARY_DIR "/src/lmkinterface"), {});
        QVERIFY(p.waitForStarted(10000));
        QTRY_VERIFY_WITH_TIMEOUT(!sim.requests().isEmpty() || p.state() != QProcess::Running, 30000);
        QVERIFY2(p.state() == QProcess::Running, p.readAllStandardError().constData());
        ::kill(pid_t(p.processId()), SIGTERM);
        QVERIFY(p.waitForFinished(15000));
        const QByteArray err = p.readAllStandardError();
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QVERIFY2(QRegularExpression(QStringLiteral("^lmkinterface: .+ stopped.*: closed by SIGTERM\\.$"),
                                    QRegularExpression::MultilineOption)
                     .match(QString::fromUtf8(err))
                     .hasMatch(),
                 err.constData());
    }

    // Without --state-dir the simulator keeps its files in the user's
    // state folder, never in the folder it runs in.
    void simStateDirDefault() {
        QTemporaryDir work;
        QVERIFY(work.isValid());
        const QString state = work.filePath(QStringLiteral("state"));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_STATE_HOME"), state);
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(work.path());
        p.start(QStringLiteral(LMK_SIM_BINARY), {"--port", "0", "--mode", "boot"});
        QVERIFY(p.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(p.readAllStandardOutput().startsWith("LISTENING") || p.state() != QProcess::Running
                                     || QDir(state + QStringLiteral("/lmk-sim")).exists(),
                                 10000);
        ::kill(pid_t(p.processId()), SIGTERM);
        QVERIFY(p.waitForFinished(10000));
        QVERIFY(QDir(state + QStringLiteral("/lmk-sim")).exists());
        QVERIFY(!QDir(work.filePath(QStringLiteral("lmk-sim-state"))).exists());
    }
};

QTEST_GUILESS_MAIN(TestLmkctlEndings)
#include "tst_lmkctlendings.moc"
