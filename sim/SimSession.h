#pragma once
// One connection to the simulator, over TCP ("wlan") or the local socket of
// the simulated USB library ("usb").
//
// Incoming bytes are buffered and offered to the features in order; every
// consumed request is logged as "<transport> <hex>" before its reply goes
// out. Replies pass the fault injection (Faults.h) and leave through a
// queue with a timer, so delayed replies keep their order and nothing
// blocks.

#include "Faults.h"
#include "SimCore.h"

#include <QElapsedTimer>
#include <QObject>
#include <QQueue>
#include <QTimer>

class QIODevice;

namespace sim {

class SocketSession : public QObject, public Session {
    Q_OBJECT
public:
    // Takes ownership of `device` (a connected QTcpSocket or QLocalSocket).
    SocketSession(QIODevice *device, const QString &transport, int id);
    ~SocketSession() override;

    QString transport() const override { return m_transport; }
    void reply(const QByteArray &payload) override;
    void sendRaw(const QByteArray &bytes) override;
    void close() override;
    int id() const override { return m_id; }

    // Starts a flood of frames nobody asked for on this connection (a
    // running one is replaced).
    void startFlood(const FloodRule &flood);
    // Starts it on every open connection of its transport; the number of
    // connections it started on.
    static int floodOpenSessions(const FloodRule &flood);

private:
    struct Outgoing {
        QByteArray bytes;
        qint64 due = 0;     // ns on m_clock
        bool close = false; // close the connection at this point
    };

    void onReadyRead();
    void onDisconnected();
    void dispatch();
    // Applies a fault that replaces the reply (raw, close) once.
    void applyReplacement();
    // afterPrevious: the delay counts from the entry queued before (chunk
    // gaps); otherwise from now.
    void enqueue(const QByteArray &bytes, int delayMs, bool closeAfter = false,
                 bool afterPrevious = false);
    void pump();
    void floodTick();

    QIODevice *m_device;
    QString m_transport;
    int m_id;
    QByteArray m_in;
    bool m_dispatching = false;
    bool m_closed = false;
    bool m_finished = false;

    // The request being handled and its fault.
    bool m_inRequest = false;
    FaultAction m_fault;
    bool m_faultUsed = false;

    QQueue<Outgoing> m_out;
    qint64 m_lastDue = 0;
    QElapsedTimer m_clock;
    QTimer m_timer;

    FloodRule m_flood;
    qint64 m_floodStart = 0; // ns on m_clock
    qint64 m_floodSent = 0;  // bytes
    quint32 m_floodSeq = 0;
    QTimer m_floodTimer;
};

} // namespace sim
