#include "ctl/CtlContext.h"

#include "ctl/CtlEnding.h"
#include "link/StopRequest.h"

#include "link/Wait.h"
#include "terminal/TerminalOperations.h"

#include <QJsonDocument>

#include <cstdio>
#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace lmk::ctl {

namespace {
bool isTerminal(FILE *f) {
#if defined(_WIN32)
    return _isatty(_fileno(f)) != 0;
#else
    return isatty(fileno(f)) != 0;
#endif
}
} // namespace

void ConsoleDialogs::information(const QString &text) {
    shown << text;
    // In the window a message box; here the commands print what they report,
    // so what comes this way is the link's or an operation's complaint.
    QTextStream(stderr) << "lmkctl: " << text << Qt::endl;
}

bool ConsoleDialogs::confirmYesNo(const QString &text) {
    shown << text;
    QTextStream(stderr) << text << (assumeYes ? " yes (--yes)" : " no (use --yes to answer yes)")
                        << Qt::endl;
    return assumeYes;
}

bool ConsoleDialogs::confirmOkCancel(const QString &text) { return confirmYesNo(text); }

Context::Context(DeviceLink &l, ConsoleDialogs &d)
    : link(l), dialogs(d), out(&StandardOutput::instance()), err(stderr), m_tty(isTerminal(stderr)) {
    // What the window shows in a box goes to standard error.
    QObject::connect(&link, &DeviceLink::connectionLost, &link, [this] {
        m_lost = true;
        dialogs.information(QString::fromLatin1(kWlanLostText));
    });
    QObject::connect(&link, &DeviceLink::accessPointNotFound, &link, [this] {
        m_lost = true;
        dialogs.information(QString::fromLatin1(kApNotFoundText));
    });
}

bool Context::connect() {
    if (stopping())
        return false; // nothing to say: the stop is told at the end
    if (usb) {
        if (link.openUsb() == 0) {
            const QString library = qEnvironmentVariable("LMK_USB_LIBRARY");
            QString why = link.usbLibraryError();
            if (why.isEmpty())
                why = library.isEmpty() ? QStringLiteral("LMK_USB_LIBRARY is not set; it names the USB library")
                                        : QStringLiteral("no receiver through the USB library %1").arg(library);
            err << "lmkctl: " << kNoUsbText << " (" << why << "; without --usb lmkctl uses WLAN)"
                << Qt::endl;
            return false;
        }
        return true;
    }
    if (!link.probeAccessPoint(kProbeMs)) {
        if (stopping())
            return false;
        err << "lmkctl: " << kApNotFoundText << " (tried " << link.host() << " port " << link.port()
            << "; name the receiver with --host/--port or LMK_HOST/LMK_PORT)" << Qt::endl;
        return false;
    }
    link.setWlanChecked(true);
    return link.openTcp();
}

bool Context::connectionLost() const { return m_lost || !link.hasTransport(); }

int Context::fail(const QString &text, ExchangeEnd end) {
    endProgress();
    // A wait that a stop ended is no timeout and no lost link.
    if (stopping())
        return stopExitCode();
    if (!text.isEmpty() && !dialogs.shown.contains(text))
        error(text);
    if (connectionLost())
        return ExitNoConnection;
    return exitCodeFor(end);
}

void Context::printJson(const QJsonObject &object) {
    out << QJsonDocument(object).toJson(QJsonDocument::Compact) << Qt::endl;
}

void Context::error(const QString &text) {
    err << "lmkctl: " << text << Qt::endl;
}

bool Context::stopping() const { return stopRequested(); }

int Context::stopped(const QString &howFar) {
    endProgress();
    if (!m_stopReported && stopSignal() != kClosedPipeSignal) {
        QString text = QStringLiteral("Stopped by %1.").arg(signalName(stopSignal()));
        if (!howFar.isEmpty())
            text += QLatin1Char(' ') + howFar;
        error(text);
    }
    m_stopReported = true;
    return stopExitCode();
}

int Context::jsonRefused(const QString &what) {
    return usageError(QStringLiteral("--json is not taken here; %1").arg(what));
}

void Context::note(const QString &text) {
    // After the reader of standard output went away, the run ends quietly.
    if (!quiet && stopSignal() != kClosedPipeSignal)
        err << text << Qt::endl;
}

int Context::usageError(const QString &problem) {
    err << "lmkctl " << command << ": " << problem << " (see 'lmkctl " << command << " --help')"
        << Qt::endl;
    return ExitUsage;
}

void Context::progress(const QString &label, qint64 done, qint64 total, ProgressUnit unit) {
    if (quiet || !m_tty || total <= 0)
        return;
    if (!m_progressShown) {
        m_progressClock.start();
        m_progressPrinted = -kProgressRedrawMs;
    }
    // Redrawn at most every kProgressRedrawMs, and at the end.
    const qint64 now = m_progressClock.elapsed();
    if (done < total && now - m_progressPrinted < kProgressRedrawMs)
        return;
    m_progressPrinted = now;
    const int width = 30;
    const int filled = int(qBound<qint64>(0, done * width / total, qint64(width)));
    const QString line = label + QStringLiteral(" [") + QString(filled, QLatin1Char('#')) +
                         QString(width - filled, QLatin1Char(' ')) + QStringLiteral("] ") +
                         progressLine(done, total, now, unit);
    // Spaces over the rest of a longer line shown before.
    err << '\r' << line << QString(qMax<qsizetype>(0, m_progressWidth - line.size()), QLatin1Char(' '));
    err.flush();
    m_progressWidth = line.size();
    m_progressShown = true;
}

void Context::clearProgress() {
    if (m_progressShown)
        err << '\r' << QString(m_progressWidth, QLatin1Char(' ')) << '\r';
    err.flush();
    m_progressShown = false;
    m_progressWidth = 0;
}

void Context::endProgress() {
    if (m_progressShown)
        err << Qt::endl;
    m_progressShown = false;
    m_progressWidth = 0;
}

} // namespace lmk::ctl
