#include "SimSession.h"

#include <QLocalSocket>
#include <QTcpSocket>

namespace sim {

namespace {
QList<SocketSession *> &openSessions() {
    static QList<SocketSession *> sessions;
    return sessions;
}

// What the simulator may hold that the program has not read yet.
constexpr qint64 kFloodHeldLimit = 256 * 1024;
} // namespace

SocketSession::SocketSession(QIODevice *device, const QString &transport, int id)
    : m_device(device), m_transport(transport), m_id(id) {
    m_device->setParent(this);
    m_clock.start();
    m_timer.setSingleShot(true);
    // Delays of a few milliseconds stand for a real link: they must hold to
    // the millisecond, never shorter.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SocketSession::pump);
    connect(m_device, &QIODevice::readyRead, this, &SocketSession::onReadyRead);
    if (auto *tcp = qobject_cast<QTcpSocket *>(m_device))
        connect(tcp, &QTcpSocket::disconnected, this, &SocketSession::onDisconnected);
    else if (auto *local = qobject_cast<QLocalSocket *>(m_device))
        connect(local, &QLocalSocket::disconnected, this, &SocketSession::onDisconnected);
    // Bytes that came with the connection.
    QMetaObject::invokeMethod(this, &SocketSession::onReadyRead, Qt::QueuedConnection);
    openSessions().append(this);
    connect(&m_floodTimer, &QTimer::timeout, this, &SocketSession::floodTick);
    for (const FloodRule &f : FaultPlan::instance().floods)
        if (f.transport.isEmpty() || f.transport == m_transport)
            startFlood(f);
}

SocketSession::~SocketSession() { openSessions().removeAll(this); }

int SocketSession::floodOpenSessions(const FloodRule &flood) {
    int n = 0;
    for (SocketSession *s : openSessions()) {
        if (!s->m_closed && (flood.transport.isEmpty() || flood.transport == s->m_transport)) {
            s->startFlood(flood);
            ++n;
        }
    }
    return n;
}

void SocketSession::startFlood(const FloodRule &flood) {
    m_flood = flood;
    m_floodStart = m_clock.nsecsElapsed();
    m_floodSent = 0;
    m_floodTimer.start(10);
    logLine(QStringLiteral("%1 flood %2 bytes/s for %3 s")
                .arg(m_transport)
                .arg(flood.bytesPerSecond)
                .arg(flood.seconds));
}

void SocketSession::floodTick() {
    const qint64 elapsed = m_clock.nsecsElapsed() - m_floodStart;
    const qint64 end = qint64(m_flood.seconds) * 1000000000;
    if (m_closed || elapsed >= end) {
        m_floodTimer.stop();
        logLine(QStringLiteral("%1 flood ended, %2 bytes sent").arg(m_transport).arg(m_floodSent));
        return;
    }
    const qint64 due = qint64(m_flood.bytesPerSecond) * elapsed / 1000000000;
    // Falling behind (the program does not read) is not made up later in
    // one burst: at most a tenth of a second's worth at a time.
    m_floodSent = qMax(m_floodSent, due - m_flood.bytesPerSecond / 10);
    const int payloadBytes = m_flood.frameBytes - 4;
    while (m_floodSent + m_flood.frameBytes <= due && m_device->bytesToWrite() < kFloodHeldLimit) {
        // Terminal text: a counted line, padded to the frame's length.
        QByteArray text = QByteArray("flood ") + QByteArray::number(++m_floodSeq).rightJustified(8, '0');
        text = text.leftJustified(payloadBytes - 2, '.', true) + "\r\n";
        m_device->write(frame(text.right(payloadBytes)));
        m_floodSent += m_flood.frameBytes;
    }
}

void SocketSession::onReadyRead() {
    if (m_closed)
        return;
    m_in += m_device->readAll();
    dispatch();
}

void SocketSession::dispatch() {
    if (m_dispatching) // a feature's reply re-entered the event loop
        return;
    m_dispatching = true;
    FaultPlan &plan = FaultPlan::instance();
    while (!m_in.isEmpty() && !m_closed) {
        const quint8 cmd = quint8(m_in[0]);
        m_inRequest = true;
        m_fault = plan.peek(m_transport, cmd);
        m_faultUsed = false;
        int consumed = -1;
        for (Feature *f : features()) {
            consumed = f->handle(*this, m_in);
            if (consumed != -1)
                break;
        }
        if (consumed == 0) { // incomplete: wait for more bytes
            m_inRequest = false;
            break;
        }
        const bool known = consumed > 0;
        consumed = known ? qMin<int>(consumed, int(m_in.size())) : 1;
        plan.count(m_transport, cmd);
        logLine(m_transport + QLatin1Char(' ') + QString::fromLatin1(m_in.left(consumed).toHex()) +
                (known ? QString() : QStringLiteral(" unknown")));
        m_in.remove(0, consumed);
        applyReplacement();
        m_inRequest = false;
    }
    m_dispatching = false;
    pump();
}

void SocketSession::reply(const QByteArray &payload) {
    const FaultPlan &plan = FaultPlan::instance();
    if (!m_inRequest || m_fault.kind == FaultAction::None) {
        if (!plan.silent)
            enqueue(frame(payload), plan.globalDelayMs);
        return;
    }
    switch (m_fault.kind) {
    case FaultAction::Delay:
        enqueue(frame(payload), m_fault.delayMs);
        break;
    case FaultAction::Raw:
    case FaultAction::Close:
        applyReplacement();
        break;
    case FaultAction::Before: {
        const int gap = plan.chunkGapMs;
        if (!m_faultUsed) { // once per request, ahead of its first reply
            m_faultUsed = true;
            for (int i = 0; i < m_fault.chunks.size(); ++i)
                enqueue(frame(m_fault.chunks[i]), i == 0 ? 0 : gap, false, i > 0);
        }
        enqueue(frame(payload), gap, false, true);
        break;
    }
    default: // Silent
        break;
    }
}

void SocketSession::applyReplacement() {
    if (!m_inRequest || m_faultUsed)
        return;
    if (m_fault.kind == FaultAction::Close) {
        m_faultUsed = true;
        enqueue(QByteArray(), 0, true);
    } else if (m_fault.kind == FaultAction::Raw) {
        m_faultUsed = true;
        const int gap = FaultPlan::instance().chunkGapMs;
        for (int i = 0; i < m_fault.chunks.size(); ++i)
            enqueue(m_fault.chunks[i], i == 0 ? 0 : gap, false, i > 0);
    }
}

void SocketSession::sendRaw(const QByteArray &bytes) { enqueue(bytes, 0); }

void SocketSession::close() { enqueue(QByteArray(), 0, true); }

void SocketSession::enqueue(const QByteArray &bytes, int delayMs, bool closeAfter,
                            bool afterPrevious) {
    if (m_closed)
        return;
    // Nothing overtakes what is queued already.
    const qint64 from = afterPrevious ? m_lastDue : m_clock.nsecsElapsed();
    m_lastDue = qMax(from + qint64(delayMs) * 1000000, m_lastDue);
    m_out.enqueue({bytes, m_lastDue, closeAfter});
    if (!m_dispatching)
        pump();
}

void SocketSession::pump() {
    if (m_dispatching)
        return;
    while (!m_out.isEmpty() && !m_closed) {
        const qint64 wait = m_out.head().due - m_clock.nsecsElapsed();
        if (wait > 0) {
            m_timer.start(int((wait + 999999) / 1000000)); // whole ms, rounded up
            return;
        }
        const Outgoing o = m_out.dequeue();
        if (!o.bytes.isEmpty() && m_device->isWritable())
            m_device->write(o.bytes);
        if (o.close) {
            m_closed = true;
            m_out.clear();
            if (auto *tcp = qobject_cast<QTcpSocket *>(m_device))
                tcp->disconnectFromHost();
            else if (auto *local = qobject_cast<QLocalSocket *>(m_device))
                local->disconnectFromServer();
        }
    }
}

void SocketSession::onDisconnected() {
    if (m_finished)
        return;
    // Bytes the host sent before it closed may still wait in the socket's
    // buffer (the disconnect can be noticed before their readyRead): a
    // receiver handles them as well.
    if (!m_closed && !m_dispatching) {
        m_in += m_device->readAll();
        dispatch();
    }
    m_finished = true;
    m_closed = true;
    m_timer.stop();
    m_floodTimer.stop();
    for (Feature *f : features())
        f->sessionClosed(*this);
    deleteLater();
}

} // namespace sim
