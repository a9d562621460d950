#include "link/DeviceLink.h"
#include "link/ReceiverAddress.h"

#include "link/DeviceEvents.h"
#include "link/Exchange.h"
#include "link/ReplyDispatcher.h"
#include "link/Wait.h"

#include <QCoreApplication>
#include <QMetaMethod>
#include <QTcpSocket>

namespace lmk {

namespace {
constexpr int kDrainLimitMs = 3000; // the close-time drain never takes longer
} // namespace

DeviceLink::DeviceLink(QObject *parent)
    : QObject(parent), m_host(configuredHost()), m_port(configuredPort()) {
    m_target = this;
    m_keepAlive.setInterval(m_keepAliveMs);
    connect(&m_keepAlive, &QTimer::timeout, this, &DeviceLink::keepAliveTick);
    m_keepAlive.start();
}

DeviceLink::~DeviceLink() {
    if (m_exchange)
        m_exchange->endWith(ExchangeEnd::ShuttingDown);
    m_usb.close();
    if (m_tcp) {
        m_tcp->disconnect(this);
        m_tcp->abort();
    }
}

QString DeviceLink::configuredHost() { return receiverAddress().host; }

quint16 DeviceLink::configuredPort() { return receiverAddress().port; }

void DeviceLink::setEndpoint(const QString &host, quint16 port) {
    m_host = host;
    m_port = port;
}

void DeviceLink::setWlanChecked(bool on) {
    if (m_wlanChecked == on)
        return;
    m_wlanChecked = on;
    emit wlanCheckedChanged(on);
}

void DeviceLink::setUsbDeviceText(const QString &t) {
    m_usbText = t;
    emit usbDeviceTextChanged(t);
}

void DeviceLink::setWlanDeviceText(const QString &t) {
    m_wlanText = t;
    emit wlanDeviceTextChanged(t);
}

bool DeviceLink::tcpConnected() const {
    return m_tcp && m_tcp->state() == QAbstractSocket::ConnectedState;
}

quint16 DeviceLink::tcpLocalPort() const { return m_tcp ? m_tcp->localPort() : 0; }

bool DeviceLink::tcpLowDelay() const {
    return tcpConnected() && m_tcp->socketOption(QAbstractSocket::LowDelayOption).toInt() == 1;
}

QString DeviceLink::runningOperation() const {
    return m_exchange ? m_exchange->operation() : QString();
}

// ------------------------------------------------------------ operations

bool DeviceLink::claim(Exchange *ex, QString *refusedBy) {
    if (m_exchange && m_exchange->yields()) {
        // The running one gives way (the live mirror): it ends its wait now
        // and finds its exchange over when it wakes.
        Exchange *old = m_exchange;
        old->yieldNow();
        if (m_exchange == old) {
            old->endWith(ExchangeEnd::Aborted);
            release(old);
        }
    }
    if (m_exchange) {
        if (refusedBy)
            *refusedBy = m_exchange->operation();
        return false;
    }
    m_exchange = ex;
    return true;
}

void DeviceLink::release(Exchange *ex) {
    if (m_exchange != ex)
        return;
    m_exchange = nullptr;
    if (ex->owesReply() || ex->mayStillSend()) {
        m_replyOwed = ex->owesReply();
        m_quietNeeded = ex->mayStillSend();
        m_settleClock.start();
        m_lastFrame.start();
    }
}

void DeviceLink::settleBeforeRequest() {
    // Frames and bytes that are there now came before this request: they
    // are handled as frames nobody asked for.
    processPendingEvents();
    const auto unsettled = [this] {
        if (m_shutdown || !hasTransport())
            return false;
        if (!m_settleClock.isValid() || m_settleClock.elapsed() >= kLateReplyGraceMs)
            return m_rx.RxCount > 0 && m_settleClock.isValid() &&
                   m_settleClock.elapsed() < 2 * kLateReplyGraceMs;
        if (m_replyOwed || m_rx.RxCount > 0)
            return true;
        return m_quietNeeded && m_lastFrame.elapsed() < kQuietAfterAbortMs;
    };
    if (unsettled()) {
        lmk::waitWhile(unsettled);
        processPendingEvents();
    }
    // A frame begun before this request and never completed is dropped.
    if (m_rx.RxCount > 0) {
        emit staleInputDropped(m_rx.RxCount);
        m_rx.reset();
    }
    m_replyOwed = false;
    m_quietNeeded = false;
    m_settleClock.invalidate();
}

bool DeviceLink::sendUnasked(const QByteArray &bytes) {
    if (m_exchange)
        return false;
    return transmit(bytes);
}

void DeviceLink::requestVersion() {
    if (!m_exchange)
        transmit(QByteArray(1, char(0x12)));
}

void DeviceLink::setTerminalMode(bool on) {
    m_terminalMode = on;
    // Also while closing: the receiver is told to leave terminal mode.
    if (m_usbConnected != 0)
        writeUsb(QByteArray::fromRawData(on ? "\x0D\x01" : "\x0D\x00", 2));
}

// --------------------------------------------------------------- sending

bool DeviceLink::transmit(const QByteArray &bytes) {
    if (m_shutdown)
        return false;
    if (m_usbConnected != 0) {
        writeUsb(bytes);
        return true;
    }
    if (!m_wlanChecked)
        return false;
    if (!tcpConnected() && !openTcp())
        return false;
    const bool ok = writeSocket(bytes);
    restartKeepAlive();
    return ok;
}

bool DeviceLink::writeSocket(const QByteArray &bytes) {
    if (m_shutdown)
        return false;
    if (!tcpConnected()) {
        wlanFailed();
        return false;
    }
    if (isSignalConnected(QMetaMethod::fromSignal(&DeviceLink::requestSent)))
        emit requestSent(bytes, QStringLiteral("wlan"));
    if (m_tcp->write(bytes) != bytes.size()) {
        wlanFailed();
        return false;
    }
    m_tcp->flush();
    return true;
}

void DeviceLink::writeUsb(const QByteArray &bytes) {
    if (isSignalConnected(QMetaMethod::fromSignal(&DeviceLink::requestSent)))
        emit requestSent(bytes, QStringLiteral("usb"));
    m_usb.write(reinterpret_cast<const quint8 *>(bytes.constData()), int(bytes.size()));
}

// ------------------------------------------------------------- receiving

void DeviceLink::setEventTarget(QObject *target) { m_target = target ? target : this; }
QObject *DeviceLink::eventTarget() const { return m_target; }

bool DeviceLink::handleDeviceEvent(QEvent *e) {
    if (e->type() == WM_DEVICE_DATA) {
        auto *d = static_cast<DeviceDataEvent *>(e);
        route(d->payload(), d->length(), d->fromWlan(), d->serial());
        return true;
    }
    return e->type() == WM_DEVICE_NOTIFY;
}

bool DeviceLink::event(QEvent *e) {
    if (handleDeviceEvent(e))
        return true;
    return QObject::event(e);
}

void DeviceLink::postPayload(QByteArray payload, bool fromWlan) {
    QCoreApplication::postEvent(m_target.load(), new DeviceDataEvent(std::move(payload), fromWlan));
}

void DeviceLink::deliverPayload(const QByteArray &payload, bool fromWlan) {
    DeviceDataEvent e(payload, fromWlan);
    route(e.payload(), e.length(), fromWlan, e.serial());
}

void DeviceLink::deliverFromUsb(void *context, const unsigned char *payload, int length) {
    auto *self = static_cast<DeviceLink *>(context);
    if (!self || length < 0)
        return;
    self->postPayload(QByteArray(reinterpret_cast<const char *>(payload), length), false);
}

void DeviceLink::readSocket() {
    if (!m_tcp)
        return;
    while (m_tcp->bytesAvailable() > 0) {
        const qint64 n =
            m_tcp->read(reinterpret_cast<char *>(m_rx.RxBuffer) + m_rx.RxCount, m_rx.space());
        if (n <= 0)
            break;
        m_rx.RxCount += int(n);
        const ExtractResult r = extractFrames(
            m_rx, [] { return true; },
            [this](const quint8 *p, int len) {
                if (m_versionFrameCut) { // the reply to "Find WLAN Connection"
                    m_versionFrameCut = false;
                    len = qMin(len, 8);
                }
                if (len > 0)
                    postPayload(QByteArray(reinterpret_cast<const char *>(p), len), true);
            });
        if (r == ExtractResult::Oversized) {
            // No frame is that long: the stream cannot be followed. What is
            // held is dropped; a waiting request ends as if its time ran out.
            emit staleInputDropped(m_rx.RxCount);
            m_rx.reset();
            if (m_exchange)
                m_exchange->endWith(ExchangeEnd::Timeout);
        }
    }
}

void DeviceLink::showVersion(const QString &text, bool toWlanField) {
    if (toWlanField)
        setWlanDeviceText(text);
    else
        setUsbDeviceText(text);
}

void DeviceLink::route(const quint8 *payload, int length, bool fromWlan, quint64 serial) {
    if (length <= 0 || !payload)
        return;
    m_lastFrame.start();
    if (isSignalConnected(QMetaMethod::fromSignal(&DeviceLink::frameDelivered)))
        emit frameDelivered(QByteArray(reinterpret_cast<const char *>(payload), length));
    if (m_exchange && m_exchange->accepts(serial)) {
        m_exchange->takeFrame(payload, length, fromWlan);
        return;
    }
    // Nobody asked for this frame (a late one, perhaps, for an exchange that
    // has ended but is still unwinding).
    m_replyOwed = false;
    if (m_exchange)
        m_exchange->lateFrameCame();
    if (m_terminalMode) {
        emit terminalText(QByteArray(reinterpret_cast<const char *>(payload), length));
        return;
    }
    ReplyState scratch;
    bool shown = false;
    ReplyHandlers h;
    h.version = [&](const QString &text, bool toWlan) {
        showVersion(text, toWlan);
        shown = true;
    };
    dispatchFrame(scratch, kPageUpdate, fromWlan, payload, length, h);
    if (!shown)
        emit staleInputDropped(length);
}

// ------------------------------------------------------------- connection

int DeviceLink::openUsb() {
    if (m_shutdown) // closed for good: nothing opens again
        return m_usbConnected;
    if (!m_usb.isLoaded())
        m_usb.load(UsbLibrary::configuredPath());
    m_usbConnected = m_usb.open(this, &DeviceLink::deliverFromUsb);
    return m_usbConnected;
}

void DeviceLink::closeUsb() { m_usb.close(); }

void DeviceLink::setUsbOpenForTest(bool open) { m_usbConnected = open ? 1 : 0; }

bool DeviceLink::probeAccessPoint(int ms) {
    QTcpSocket probe;
    probe.connectToHost(m_host, m_port, QIODevice::ReadWrite, QAbstractSocket::IPv4Protocol);
    lmk::waitWhile(
        [&] {
            const auto s = probe.state();
            return s == QAbstractSocket::HostLookupState || s == QAbstractSocket::ConnectingState;
        },
        ms);
    const bool ok = probe.state() == QAbstractSocket::ConnectedState;
    probe.abort();
    return ok;
}

bool DeviceLink::openTcp() {
    if (m_shutdown)
        return false;
    if (!m_tcp) {
        m_tcp = new QTcpSocket(this);
        connect(m_tcp, &QAbstractSocket::errorOccurred, this,
                [this](QAbstractSocket::SocketError) { wlanFailed(); });
        connect(m_tcp, &QIODevice::readyRead, this, &DeviceLink::readSocket);
    }
    if (tcpConnected())
        return true;
    m_tcp->abort();
    m_rx.reset();
    bool failed = false;
    auto conn = connect(m_tcp, &QAbstractSocket::errorOccurred, this,
                        [&failed](QAbstractSocket::SocketError) { failed = true; });
    m_tcp->connectToHost(m_host, m_port);
    lmk::waitWhile(
        [&] {
            const auto s = m_tcp->state();
            return !failed &&
                   (s == QAbstractSocket::HostLookupState || s == QAbstractSocket::ConnectingState);
        },
        kConnectLimitMs);
    disconnect(conn);
    if (tcpConnected()) {
        // A new connection: nothing that was owed on the old one comes here.
        if (m_usbConnected == 0)
            m_settleClock.invalidate();
        // Socket options only take effect on a connected socket.
        m_tcp->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        return true;
    }
    if (!failed) { // our own limit ran out: Qt reported nothing
        m_tcp->abort();
        wlanFailed();
    }
    return false;
}

void DeviceLink::closeTcp() {
    m_versionFrameCut = false;
    // Nothing more can come for a request that waits over WLAN.
    if (m_exchange && m_usbConnected == 0 && tcpConnected())
        m_exchange->endWith(ExchangeEnd::LinkLost);
    if (m_tcp)
        m_tcp->abort();
    m_rx.reset();
}

void DeviceLink::wlanFailed() {
    if (m_exchange && m_usbConnected == 0)
        m_exchange->endWith(ExchangeEnd::LinkLost);
    setWlanChecked(false);
    closeTcp();
    m_keepAlive.stop();
    setWlanDeviceText(QString());
    emit connectionLost();
}

void DeviceLink::startupWlan() {
    const bool answered = probeAccessPoint(kProbeMs);
    if (m_shutdown) // the window closed meanwhile
        return;
    if (!answered) {
        emit accessPointNotFound();
        return;
    }
    setWlanChecked(true);
    processPendingEvents();
    openTcp();
}

void DeviceLink::findUsbDevice() {
    if (openUsb() != 0)
        writeUsb(QByteArray(1, char(0x12)));
}

void DeviceLink::findWlanConnection() {
    setWlanChecked(false);
    setWlanDeviceText(QString());
    closeTcp();
    processPendingEvents();
    if (!probeAccessPoint(kProbeMs)) {
        emit accessPointNotFound();
        return;
    }
    if (!openTcp())
        return;
    setWlanChecked(true);
    // The version reply comes as a frame nobody waits for: the top row
    // shows it.
    m_versionFrameCut = true;
    if (!writeSocket(QByteArray(1, char(0x12))))
        return;
    restartKeepAlive();
}

void DeviceLink::restartKeepAlive() {
    // Every send restarts the keep-alive clock. The timer itself is only
    // re-armed when it is not running with the full interval; when it fires
    // early, it is armed again for the rest (see keepAliveTick).
    m_lastSend.start();
    if (!m_keepAlive.isActive() || m_keepAlive.interval() != m_keepAliveMs) {
        m_keepAlive.stop();
        m_keepAlive.setInterval(m_keepAliveMs);
        m_keepAlive.start();
    }
}

void DeviceLink::keepAliveTick() {
    if (m_lastSend.isValid()) {
        const qint64 since = m_lastSend.elapsed();
        if (since < m_keepAliveMs) {
            m_keepAlive.start(int(m_keepAliveMs - since));
            return;
        }
    }
    if (m_keepAlive.interval() != m_keepAliveMs)
        m_keepAlive.start(m_keepAliveMs);
    sendKeepAlive();
}

void DeviceLink::sendKeepAlive() {
    // Its answer comes as a frame nobody asked for and is dropped. While an
    // operation runs, its own requests keep the connection busy.
    if (!m_wlanChecked || !tcpConnected() || m_exchange)
        return;
    writeSocket(QByteArray(1, char(0x55)));
}

void DeviceLink::beginShutdown() {
    m_shutdown = true;
    if (m_exchange)
        m_exchange->endWith(ExchangeEnd::ShuttingDown);
    m_keepAlive.stop();
}

void DeviceLink::setKeepAliveIntervalForTest(int ms) {
    m_keepAliveMs = ms;
    m_keepAlive.setInterval(ms);
    m_lastSend.invalidate();
}

void DeviceLink::drainWlan() {
    // What comes now is handled as frames nobody asked for, until nothing
    // has come for 100 ms.
    QElapsedTimer spent;
    spent.start();
    while (tcpConnected() && spent.elapsed() < kDrainLimitMs) {
        const quint64 before = deviceEventSerial().load();
        const qint64 held = m_rx.RxCount;
        lmk::waitWhile(
            [&] {
                return tcpConnected() && deviceEventSerial().load() == before &&
                       m_rx.RxCount == held;
            },
            100);
        if (deviceEventSerial().load() == before && m_rx.RxCount == held)
            break;
    }
    m_rx.reset();
}

} // namespace lmk
