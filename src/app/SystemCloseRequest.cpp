#include "app/SystemCloseRequest.h"

#include <QSocketNotifier>
#include <QTimer>

#include <csignal>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace lmk {

namespace {

#if defined(Q_OS_UNIX)
// The handler writes one byte into a socket pair; the event loop reads the
// other end, so the request arrives at once, also inside a nested loop (a
// message box, a wait for the receiver).
int g_fds[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void onCloseSignal(int sig) {
    const char c = char(sig);
    [[maybe_unused]] const ssize_t n = ::write(g_fds[0], &c, 1);
}
#else
// Elsewhere the handler only raises a flag, which a timer on the event loop
// reads; Ctrl+C and the system's termination request are the signals the
// C library knows everywhere.
volatile std::sig_atomic_t g_raised = 0;
bool g_installed = false;
constexpr int kSignals[] = {SIGTERM, SIGINT};
constexpr int kPollMs = 100;

extern "C" void onCloseSignal(int sig) { g_raised = sig; }
#endif

} // namespace

int SystemCloseRequest::s_lastSignal = 0;

QString SystemCloseRequest::lastSignalName() {
    switch (s_lastSignal) {
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    case SIGINT:
        return QStringLiteral("SIGINT");
#if defined(Q_OS_UNIX)
    case SIGHUP:
        return QStringLiteral("SIGHUP");
#endif
    default:
        return QStringLiteral("the system");
    }
}

#if defined(Q_OS_UNIX)

SystemCloseRequest::SystemCloseRequest(QObject *parent) : QObject(parent) {
    if (g_fds[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_fds) != 0)
        return;
    ::fcntl(g_fds[0], F_SETFL, O_NONBLOCK);
    ::fcntl(g_fds[1], F_SETFL, O_NONBLOCK);
    auto *notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, this);
    m_source = notifier;
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char buf[16];
        ssize_t n = 0;
        while ((n = ::read(g_fds[1], buf, sizeof buf)) > 0)
            s_lastSignal = buf[n - 1];
        emit requested();
    });
    struct sigaction sa = {};
    sa.sa_handler = onCloseSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : kSignals)
        ::sigaction(s, &sa, nullptr);
}

SystemCloseRequest::~SystemCloseRequest() {
    if (!m_source)
        return;
    for (int s : kSignals)
        ::signal(s, SIG_DFL);
    delete m_source;
    ::close(g_fds[0]);
    ::close(g_fds[1]);
    g_fds[0] = g_fds[1] = -1;
}

#else

SystemCloseRequest::SystemCloseRequest(QObject *parent) : QObject(parent) {
    if (g_installed)
        return;
    g_installed = true;
    g_raised = 0;
    auto *timer = new QTimer(this);
    m_source = timer;
    timer->setInterval(kPollMs);
    connect(timer, &QTimer::timeout, this, [this] {
        if (!g_raised)
            return;
        s_lastSignal = g_raised;
        g_raised = 0;
        emit requested();
    });
    timer->start();
    for (int s : kSignals)
        std::signal(s, onCloseSignal);
}

SystemCloseRequest::~SystemCloseRequest() {
    if (!m_source)
        return;
    for (int s : kSignals)
        std::signal(s, SIG_DFL);
    delete m_source;
    g_installed = false;
}

#endif

} // namespace lmk
