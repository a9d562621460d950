#include "ctl/CtlEnding.h"

#include "link/StopRequest.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <iterator>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace lmk::ctl {

namespace {

#if defined(_WIN32)
constexpr int kStopSignals[] = {SIGINT, SIGTERM};
#else
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction g_previous[std::size(kStopSignals)];
struct sigaction g_previousPipe;
#endif

extern "C" void onStopSignal(int sig) { requestStop(sig); }

} // namespace

StopSignals::StopSignals() {
    clearStopRequest();
#if defined(_WIN32)
    for (int s : kStopSignals)
        std::signal(s, onStopSignal);
#else
    struct sigaction sa = {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kStopSignals); ++i)
        ::sigaction(kStopSignals[i], &sa, &g_previous[i]);
    // A closed pipe is seen as EPIPE by the write, which winds down.
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGPIPE, &ignore, &g_previousPipe);
#endif
}

StopSignals::~StopSignals() {
#if defined(_WIN32)
    for (int s : kStopSignals)
        std::signal(s, SIG_DFL);
#else
    for (size_t i = 0; i < std::size(kStopSignals); ++i)
        ::sigaction(kStopSignals[i], &g_previous[i], nullptr);
    ::sigaction(SIGPIPE, &g_previousPipe, nullptr);
#endif
}

QString signalName(int sig) {
    switch (sig) {
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGTERM:
        return QStringLiteral("SIGTERM");
#if !defined(_WIN32)
    case SIGHUP:
        return QStringLiteral("SIGHUP");
    case SIGPIPE:
        return QStringLiteral("SIGPIPE");
#endif
    default:
        return QStringLiteral("signal %1").arg(sig);
    }
}

int stopExitCode() {
    const int sig = stopSignal();
    return 128 + (sig > 0 ? sig : SIGINT);
}

StandardOutput &StandardOutput::instance() {
    static StandardOutput out;
    return out;
}

StandardOutput::StandardOutput() { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

bool StandardOutput::closedPipe() const { return m_errno == EPIPE; }

QString StandardOutput::failureText() const {
    if (m_errno == 0)
        return QString();
    return QStringLiteral("Cannot write to standard output. %1")
        .arg(QString::fromLocal8Bit(std::strerror(m_errno)));
}

qint64 StandardOutput::writeData(const char *data, qint64 len) {
    // After a failure nothing more is tried: the output is incomplete
    // anyway, and the failure is reported once.
    if (m_errno != 0)
        return len;
    qint64 done = 0;
    while (done < len) {
#if defined(_WIN32)
        const auto n = ::_write(1, data + done, unsigned(qMin<qint64>(len - done, 1 << 30)));
#else
        const ssize_t n = ::write(1, data + done, size_t(len - done));
#endif
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_errno = n < 0 ? errno : EIO;
            if (m_errno == EPIPE)
                requestStop(kClosedPipeSignal); // nobody reads: wind down quietly
            return len;
        }
        done += n;
    }
    return len;
}

} // namespace lmk::ctl
