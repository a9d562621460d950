#pragma once
// Runs lmkctl without a receiver (loopback port 9, no USB library): for the
// commands that only read and write files.
#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <utility>

namespace lmk::test {

struct CtlRun {
    int rc = -1; // -1: did not start, crashed or did not end within 30 s
    QByteArray out;
    QByteArray err;
};

// `environment`: variables set for this run (LMK_USB_LIBRARY, ...), in order;
// one with a null value is taken out of the environment.
inline CtlRun runCtl(const QStringList &args, const QByteArray &input = {},
                     const QString &workingDir = {},
                     const QList<std::pair<QString, QString>> &environment = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LMK_HOST"), QStringLiteral("127.0.0.1"));
    env.insert(QStringLiteral("LMK_PORT"), QStringLiteral("9"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.remove(QStringLiteral("LMK_USB_LIBRARY"));
    for (const auto &[name, value] : environment) {
        if (value.isNull())
            env.remove(name);
        else
            env.insert(name, value);
    }
    QProcess p;
    p.setProcessEnvironment(env);
    if (!workingDir.isEmpty())
        p.setWorkingDirectory(workingDir);
    p.start(QStringLiteral(LMK_CTL_BINARY), args);
    CtlRun r;
    if (!p.waitForStarted(5000))
        return r;
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    r.rc = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}

} // namespace lmk::test
