#pragma once
// The simulator's two listeners: TCP on 127.0.0.1 (the WLAN side) and a
// local socket for the simulated USB library. Each accepted connection
// becomes a SocketSession.

#include <QLocalServer>
#include <QObject>
#include <QTcpServer>

namespace sim {

class SimServer : public QObject {
    Q_OBJECT
public:
    explicit SimServer(QObject *parent = nullptr);
    ~SimServer() override;

    // port 0: a free port. Empty usbPath: no USB side.
    bool listen(quint16 port, const QString &usbPath, QString &error);
    quint16 port() const { return m_tcp.serverPort(); }

private:
    void acceptTcp();
    void acceptUsb();

    QTcpServer m_tcp;
    QLocalServer m_usb;
    int m_nextId = 1;
};

} // namespace sim
