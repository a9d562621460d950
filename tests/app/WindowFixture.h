#pragma once
// A main window against a real simulator, for the window's tests.
//
//   WindowFixture f;
//   QVERIFY(f.start({"--mode", "boot"}, Transport::Wlan));
//   f.window->FormCreate();
//   QTRY_COMPARE(f.sim().requests("wlan"), ...);

#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "app/TFMain.h"
#include "link/DeviceLink.h"
#include "link/ReplyDispatcher.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace lmk {

enum class Transport { None, Wlan, Usb, Both };

// A loopback port on which nothing listens.
inline quint16 closedPort() {
    QTcpServer s;
    if (!s.listen(QHostAddress::LocalHost, 0))
        return 9;
    const quint16 p = s.serverPort();
    s.close();
    return p;
}

// An access point that does not answer: a loopback listener whose accept
// queue is full, so that further connects hang without a reply. With no
// fillers, the first connect still succeeds and the ones after it hang.
class StalledAccessPoint {
  public:
    explicit StalledAccessPoint(int fillers = 3) {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0 ||
            ::listen(m_fd, 0) != 0 ||
            ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&a), &len) != 0)
            return;
        m_port = ntohs(a.sin_port);
        // Fill the queue: these complete their handshake and are never accepted.
        for (int i = 0; i < fillers; ++i) {
            auto *s = new QTcpSocket;
            s->connectToHost(QHostAddress::LocalHost, m_port);
            s->waitForConnected(200);
            m_fillers.emplace_back(s);
        }
    }
    ~StalledAccessPoint() {
        m_fillers.clear();
        if (m_fd >= 0)
            ::close(m_fd);
    }
    quint16 port() const { return m_port; }

  private:
    int m_fd = -1;
    quint16 m_port = 0;
    std::vector<std::unique_ptr<QTcpSocket>> m_fillers;
};

struct WindowFixture {
    ScriptedDialogs dialogs;
    // A new simulator (and request log) for every start.
    std::unique_ptr<SimProcess> simProcess = std::make_unique<SimProcess>();
    SimProcess &sim() const { return *simProcess; }
    std::unique_ptr<DeviceLink> link;
    std::unique_ptr<TFMain> window;

    ~WindowFixture() { stop(); }

    // Starts the simulator and builds link and window. Over WLAN the link
    // points at the simulator, otherwise at a closed loopback port; over USB
    // the simulated USB library is used.
    bool start(const QStringList &simOptions, Transport t) {
        stop();
        simProcess = std::make_unique<SimProcess>();
        if (!sim().start(simOptions))
            return false;
        if (t == Transport::Usb || t == Transport::Both)
            sim().useUsb();
        else
            SimProcess::noUsb();
        link = std::make_unique<DeviceLink>();
        const bool wlan = t == Transport::Wlan || t == Transport::Both;
        link->setEndpoint(QStringLiteral("127.0.0.1"), wlan ? sim().port() : closedPort());
        window = std::make_unique<TFMain>(*link);
        window->show();
        return true;
    }

    void stop() {
        // No USB frame may be on its way to the window when it goes.
        if (link)
            link->closeUsb();
        window.reset();
        link.reset();
        simProcess->stop();
        SimProcess::noUsb();
        dialogs.clear();
    }

    template <typename T> T *child(const char *name) const {
        return window->findChild<T *>(QLatin1String(name));
    }

    // Requests as hex strings, e.g. {"55", "12"}.
    QStringList requests(const QString &transport) const {
        QStringList out;
        for (const QByteArray &r : sim().requests(transport))
            out << QString::fromLatin1(r.toHex());
        return out;
    }
};

} // namespace lmk
