#include "SimProcess.h"

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

namespace lmk {

SimProcess::SimProcess() {
    m_proc.setProcessChannelMode(QProcess::SeparateChannels);
#ifdef Q_OS_LINUX
    // A test that crashes must not leave its simulator behind.
    m_proc.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
}

SimProcess::~SimProcess() { stop(); }

bool SimProcess::start(const QStringList &options) {
    stop();
    QStringList args{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--usb-socket"),
                     usbSocketPath(), QStringLiteral("--state-dir"), stateDir(),
                     QStringLiteral("--log"), m_dir.filePath(QStringLiteral("requests.log"))};
    args << options;
    m_proc.start(QStringLiteral(LMK_SIM_BINARY), args);
    if (!m_proc.waitForStarted(5000))
        return false;
    // The simulator prints "LISTENING <port>" once both servers listen.
    QDeadlineTimer deadline(10000);
    QByteArray &out = m_out;
    out.clear();
    while (!deadline.hasExpired()) {
        if (!m_proc.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
        out += m_proc.readAllStandardOutput();
        const int at = out.indexOf("LISTENING ");
        const int end = at >= 0 ? out.indexOf('\n', at) : -1;
        if (end > at) {
            m_port = quint16(out.mid(at + 10, end - at - 10).trimmed().toUInt());
            out.remove(0, end + 1);
            return m_port != 0;
        }
    }
    return false;
}

void SimProcess::stop() {
    if (m_proc.state() != QProcess::NotRunning) {
        m_proc.terminate();
        if (!m_proc.waitForFinished(3000)) {
            m_proc.kill();
            m_proc.waitForFinished(3000);
        }
        // In the sanitizer build the simulator reports leaks and memory
        // errors as it ends; such a report fails the test that ran it.
        const QByteArray err = m_proc.readAllStandardError();
        const qsizetype report = err.indexOf("ERROR: ");
        if (report >= 0 && err.indexOf("Sanitizer") >= 0)
            qFatal("the simulator ended with a sanitizer report:\n%s",
                   err.mid(qMax<qsizetype>(0, report - 20), 3000).constData());
    }
    m_port = 0;
}

bool SimProcess::control(const QString &command) {
    if (m_proc.state() != QProcess::Running)
        return false;
    m_proc.write(command.toLatin1() + '\n');
    m_proc.waitForBytesWritten(1000);
    QDeadlineTimer deadline(5000);
    for (;;) {
        m_out += m_proc.readAllStandardOutput();
        const qsizetype end = m_out.indexOf('\n');
        if (end >= 0) {
            const QByteArray answer = m_out.left(end).trimmed();
            m_out.remove(0, end + 1);
            return answer == "OK";
        }
        if (deadline.hasExpired() ||
            !m_proc.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            return false;
    }
}

bool SimProcess::exitedCleanly() const {
    return m_proc.state() == QProcess::NotRunning && m_proc.exitStatus() == QProcess::NormalExit &&
           m_proc.exitCode() == 0;
}

bool SimProcess::isRunning() const { return m_proc.state() == QProcess::Running; }

QString SimProcess::usbSocketPath() const { return m_dir.filePath(QStringLiteral("usb.sock")); }

QString SimProcess::stateDir() const { return m_dir.filePath(QStringLiteral("state")); }

void SimProcess::useUsb() const {
    qputenv("LMK_USB_LIBRARY", QByteArrayLiteral(LMK_USB_SIM_LIBRARY));
    qputenv("LMK_SIM_USB", usbSocketPath().toLocal8Bit());
}

void SimProcess::noUsb() {
    qunsetenv("LMK_USB_LIBRARY");
    qunsetenv("LMK_SIM_USB");
}

QStringList SimProcess::logLines() const {
    QFile f(m_dir.filePath(QStringLiteral("requests.log")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray &l : f.readAll().split('\n'))
        if (!l.trimmed().isEmpty())
            lines << QString::fromLatin1(l.trimmed());
    return lines;
}

QList<QByteArray> SimProcess::requests(const QString &transport) const {
    QList<QByteArray> out;
    for (const QString &line : logLines()) {
        const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() < 2)
            continue;
        if (!transport.isEmpty() && parts[0] != transport)
            continue;
        out << QByteArray::fromHex(parts[1].toLatin1());
    }
    return out;
}

QString SimProcess::standardError() const {
    return QString::fromLocal8Bit(const_cast<QProcess &>(m_proc).readAllStandardError());
}

} // namespace lmk
