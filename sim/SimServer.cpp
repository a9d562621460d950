#include "SimServer.h"

#include "SimSession.h"

#include <QLocalSocket>
#include <QTcpSocket>

namespace sim {

SimServer::SimServer(QObject *parent) : QObject(parent) {
    connect(&m_tcp, &QTcpServer::newConnection, this, &SimServer::acceptTcp);
    connect(&m_usb, &QLocalServer::newConnection, this, &SimServer::acceptUsb);
}

SimServer::~SimServer() { m_usb.close(); }

bool SimServer::listen(quint16 port, const QString &usbPath, QString &error) {
    if (!m_tcp.listen(QHostAddress::LocalHost, port)) {
        error = QStringLiteral("cannot listen on 127.0.0.1:%1: %2").arg(port).arg(m_tcp.errorString());
        return false;
    }
    if (!usbPath.isEmpty()) {
        QLocalServer::removeServer(usbPath);
        if (!m_usb.listen(usbPath)) {
            error = QStringLiteral("cannot listen on %1: %2").arg(usbPath, m_usb.errorString());
            return false;
        }
    }
    return true;
}

void SimServer::acceptTcp() {
    while (QTcpSocket *s = m_tcp.nextPendingConnection()) {
        s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        new SocketSession(s, QStringLiteral("wlan"), m_nextId++);
    }
}

void SimServer::acceptUsb() {
    while (QLocalSocket *s = m_usb.nextPendingConnection())
        new SocketSession(s, QStringLiteral("usb"), m_nextId++);
}

} // namespace sim
