#include "app/SystemCloseRequest.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lmk {

namespace {
int g_fds[2] = {-1, -1}; // written by the handler, read on the event loop
constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void onCloseSignal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_fds[0], &c, 1);
}
} // namespace

SystemCloseRequest::SystemCloseRequest(QObject *parent) : QObject(parent) {
    if (g_fds[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_fds) != 0)
        return;
    ::fcntl(g_fds[0], F_SETFL, O_NONBLOCK);
    ::fcntl(g_fds[1], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
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
    if (!m_notifier)
        return;
    for (int s : kSignals)
        ::signal(s, SIG_DFL);
    delete m_notifier;
    ::close(g_fds[0]);
    ::close(g_fds[1]);
    g_fds[0] = g_fds[1] = -1;
}

} // namespace lmk
