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

extern "C" void onCloseSignal(int) {
    const char c = 1;
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

extern "C" void onCloseSignal(int) { g_raised = 1; }
#endif

} // namespace

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
        while (::read(g_fds[1], buf, sizeof buf) > 0) {
        }
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
