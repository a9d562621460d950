#include "link/DeviceLink.h"
#include "link/ReceiverAddress.h"

#include "link/DeviceEvents.h"
#include "link/Dialogs.h"
#include "link/Wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaMethod>
#include <QTcpSocket>
#include <exception>

namespace lmk {

namespace {
constexpr int kReceiveSliceMs = 1000; // one pass of the receive loop waits at most this long
constexpr int kDrainLimitMs = 3000;   // the close-time drain never takes longer
// Events are processed at least this often while frames stream in.
constexpr int kEventSliceMs = 5;
} // namespace

DeviceLink::DeviceLink(QObject *parent)
    : QObject(parent), m_host(configuredHost()), m_port(configuredPort()) {
    m_target = this;
    Timer.setSingleShot(false);
    Timer.setTimerType(Qt::PreciseTimer);
    connect(&Timer, &QTimer::timeout, this, &DeviceLink::TimerTimer);
    Timer1.setInterval(m_keepAliveMs);
    connect(&Timer1, &QTimer::timeout, this, &DeviceLink::keepAliveTick);
    Timer1.start();
}

DeviceLink::~DeviceLink() {
    m_usb.close();
    if (TCP_Client) {
        TCP_Client->disconnect(this);
        TCP_Client->abort();
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
    return TCP_Client && TCP_Client->state() == QAbstractSocket::ConnectedState;
}

void DeviceLink::setEventTarget(QObject *target) { m_target = target ? target : this; }
QObject *DeviceLink::eventTarget() const { return m_target; }

bool DeviceLink::handleDeviceEvent(QEvent *e) {
    if (e->type() == WM_DEVICE_DATA) {
        auto *d = static_cast<DeviceDataEvent *>(e);
        OnDeviceData(d->payload(), d->length());
        return true;
    }
    return e->type() == WM_DEVICE_NOTIFY;
}

bool DeviceLink::event(QEvent *e) {
    if (handleDeviceEvent(e))
        return true;
    return QObject::event(e);
}

// ---------------------------------------------------------------- sending

void DeviceLink::SendToDevice(const QByteArray &bytes) {
    SendToDevice(reinterpret_cast<const quint8 *>(bytes.constData()), int(bytes.size()));
}

void DeviceLink::SendToDevice(const quint8 *data, int count) {
    if (m_shutdown)
        return;
    if (UsbConnected != 0) {
        const QByteArray bytes(reinterpret_cast<const char *>(data), qMax(0, count));
        if (isSignalConnected(QMetaMethod::fromSignal(&DeviceLink::requestSent)))
            emit requestSent(bytes, QStringLiteral("usb"));
        m_usb.write(data, count);
        return;
    }
    if (!m_wlanChecked)
        return;
    try {
        if (!tcpConnected()) {
            openTcp();
            waitForData(200);
        }
        RxCount = 0;
        RxFrameLength = 0;
        bool cont = true;
        const QByteArray bytes(reinterpret_cast<const char *>(data), qMax(0, count));
        tcpWrite(bytes);
        restartKeepAlive();
        receiveLoop(cont);
    } catch (const std::exception &) {
        dialogs().information(QString::fromLatin1(kApNotFoundText));
    }
}

bool DeviceLink::tcpWrite(const QByteArray &bytes) {
    if (m_shutdown)
        return false;
    if (!tcpConnected()) {
        TCP_ClientError();
        return false;
    }
    if (isSignalConnected(QMetaMethod::fromSignal(&DeviceLink::requestSent)))
        emit requestSent(bytes, QStringLiteral("wlan"));
    if (TCP_Client->write(bytes) != bytes.size()) {
        TCP_ClientError();
        return false;
    }
    TCP_Client->flush();
    return true;
}

void DeviceLink::usbWrite(const QByteArray &bytes) {
    if (isSignalConnected(QMetaMethod::fromSignal(&DeviceLink::requestSent)))
        emit requestSent(bytes, QStringLiteral("usb"));
    m_usb.write(reinterpret_cast<const quint8 *>(bytes.constData()), int(bytes.size()));
}

void DeviceLink::postFrame(const quint8 *payload, int length) {
    // Delivered to the main window at once, so it is handled before the
    // buffer changes. The events that piled up meanwhile are processed by
    // the next pass of the receive loop, or by the requester's own wait.
    DeviceDataEvent event(payload, length);
    QCoreApplication::sendEvent(m_target.load(), &event);
}

void DeviceLink::receiveLoop(bool &cont) {
    const auto awaiting = [this] { return AwaitingReply != 0; };
    while (AwaitingReply && cont) {
        processPendingEventsUnlessRecent(kEventSliceMs);
        if (!AwaitingReply)
            break;
        // A closed socket brings nothing more: the requester's own wait
        // (reply timer, abort, shutdown) decides from here.
        if (!tcpConnected())
            break;
        if (!waitForData(kReceiveSliceMs, awaiting))
            continue;
        if (receiveInto(RxCount, kRxBufferSize - RxCount) <= 0)
            continue;
        const ExtractResult r = extractFrames(
            *this, [this] { return AwaitingReply != 0; },
            [this](const quint8 *p, int n) { postFrame(p, n); });
        switch (r) {
        case ExtractResult::Drained:
            cont = false;
            break;
        case ExtractResult::Oversized:
            AwaitingReply = 0;
            break;
        case ExtractResult::NeedMore:
        case ExtractResult::Resync:
        case ExtractResult::Stopped:
            break;
        }
    }
}

// -------------------------------------------------------------- receiving

void DeviceLink::receiveWhileAwaiting() {
    if (UsbConnected != 0 || !m_wlanChecked)
        return;
    bool cont = true;
    receiveLoop(cont);
}

void DeviceLink::waitForReply(const std::function<bool()> &waiting) {
    if (UsbConnected == 0 && m_wlanChecked)
        receiveWhile(waiting);
    waitWhile(waiting);
}

void DeviceLink::receiveWhile(const std::function<bool()> &waiting) {
    if (RxCount <= 0) // nothing held: no frame length is known
        reset();
    const auto deliver = [this](const quint8 *p, int n) { postFrame(p, n); };
    while (waiting() && tcpConnected()) {
        if (RxCount > 0) {
            // One frame at a time, so that each is seen by the requester.
            const ExtractResult r = extractFrames(*this, waiting, deliver);
            if (r == ExtractResult::Oversized) {
                AwaitingReply = 0;
                return;
            }
            if (r != ExtractResult::NeedMore)
                continue;
        }
        processPendingEventsUnlessRecent(kEventSliceMs);
        if (!waiting())
            return;
        if (!waitForData(kReceiveSliceMs, waiting))
            continue;
        if (receiveInto(RxCount, space()) < 0)
            return;
    }
}

void DeviceLink::OnDeviceData(const quint8 *payload, int length) {
    if (length <= 0)
        return;
    if (isSignalConnected(QMetaMethod::fromSignal(&DeviceLink::frameDelivered)))
        emit frameDelivered(QByteArray(reinterpret_cast<const char *>(payload), length));
    const bool fromRx = payload == RxBuffer + 4;
    ReplyHandlers h = handlers;
    if (!h.version) {
        h.version = [this](const QString &text, bool toWlan) {
            if (toWlan)
                setWlanDeviceText(text);
            else
                setUsbDeviceText(text);
        };
    }
    if (!h.slotReadError)
        h.slotReadError = [] { dialogs().information(QStringLiteral("Error on reading!")); };
    dispatchFrame(*this, pageShown, fromRx, payload, length, h);
}

// ------------------------------------------------------------ reply timer

void DeviceLink::startReplyTimer(int ms) {
    Timer.stop();
    Timer.setInterval(ms);
    Timer.start();
}

void DeviceLink::stopReplyTimer() { Timer.stop(); }

void DeviceLink::TimerTimer() {
    setStatusText(kTimeoutText);
    Timer.stop();
    AwaitingReply = 0;
}

// ------------------------------------------------------------- connection

void DeviceLink::deliverFromUsb(void *context, const unsigned char *payload, int length) {
    auto *self = static_cast<DeviceLink *>(context);
    if (!self || length < 0)
        return;
    QByteArray copy(reinterpret_cast<const char *>(payload), length);
    QCoreApplication::postEvent(self->m_target.load(), new DeviceDataEvent(std::move(copy)));
}

int DeviceLink::openUsb() {
    if (m_shutdown) // closed for good: nothing opens again
        return UsbConnected;
    if (!m_usb.isLoaded())
        m_usb.load(UsbLibrary::configuredPath());
    UsbConnected = m_usb.open(this, &DeviceLink::deliverFromUsb);
    return UsbConnected;
}

void DeviceLink::closeUsb() { m_usb.close(); }

bool DeviceLink::probeAccessPoint(int ms) {
    QTcpSocket probe;
    probe.connectToHost(m_host, m_port, QIODevice::ReadWrite, QAbstractSocket::IPv4Protocol);
    waitWhile(
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
    if (!TCP_Client) {
        TCP_Client = new QTcpSocket(this);
        TCP_Client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(TCP_Client, &QAbstractSocket::errorOccurred, this,
                [this](QAbstractSocket::SocketError) { TCP_ClientError(); });
        // An unbuffered socket tells of the peer's close only to a read: a
        // readiness without bytes must still lead to one.
        connect(TCP_Client, &QIODevice::readyRead, this, [this] { m_readable = true; });
    }
    if (tcpConnected())
        return true;
    TCP_Client->abort();
    bool failed = false;
    auto conn = connect(TCP_Client, &QAbstractSocket::errorOccurred, this,
                        [&failed](QAbstractSocket::SocketError) { failed = true; });
    // Unbuffered: bytesAvailable() and read() go to the socket itself, so the
    // receive loop sees a reply as soon as it is there.
    TCP_Client->connectToHost(m_host, m_port, QIODevice::ReadWrite | QIODevice::Unbuffered);
    waitWhile(
        [&] {
            const auto s = TCP_Client->state();
            return !failed &&
                   (s == QAbstractSocket::HostLookupState || s == QAbstractSocket::ConnectingState);
        },
        kConnectLimitMs);
    disconnect(conn);
    if (tcpConnected()) {
        // Socket options only take effect on a connected socket.
        TCP_Client->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        return true;
    }
    if (!failed) { // our own limit ran out: Qt reported nothing
        TCP_Client->abort();
        TCP_ClientError();
    }
    return false;
}

void DeviceLink::closeTcp() {
    m_readable = false;
    if (TCP_Client)
        TCP_Client->abort();
}

bool DeviceLink::waitForData(int ms) {
    return waitForData(ms, [] { return true; });
}

bool DeviceLink::waitForData(int ms, const std::function<bool()> &still) {
    if (!tcpConnected())
        return false;
    const auto hasData = [this] {
        return TCP_Client && (m_readable || TCP_Client->bytesAvailable() > 0);
    };
    waitWhile([&] { return tcpConnected() && !hasData() && still(); }, ms);
    return hasData();
}

qint64 DeviceLink::socketRead(char *into, qint64 max) {
    m_readable = false;
    const qint64 n = TCP_Client ? TCP_Client->read(into, max) : -1;
    if (n < 0)
        TCP_ClientError();
    return n;
}

int DeviceLink::receiveInto(int offset, int max) {
    if (!TCP_Client || offset < 0 || max <= 0 || offset + max > kRxBufferSize)
        return 0;
    const qint64 n = socketRead(reinterpret_cast<char *>(RxBuffer) + offset, max);
    if (n < 0)
        return -1;
    RxCount = offset + int(n);
    return int(n);
}

void DeviceLink::TCP_ClientError() {
    AwaitingReply = 0;
    setWlanChecked(false);
    closeTcp();
    Timer1.stop();
    setWlanDeviceText(QString());
    dialogs().information(QString::fromLatin1(kWlanLostText));
}

void DeviceLink::startupWlan() {
    const bool answered = probeAccessPoint(kProbeMs);
    if (m_shutdown) // the window closed meanwhile
        return;
    if (!answered) {
        dialogs().information(QString::fromLatin1(kApNotFoundText));
        return;
    }
    setWlanChecked(true);
    processPendingEvents();
    openTcp();
}

void DeviceLink::MI_USBClick() {
    if (openUsb() != 0)
        usbWrite(QByteArray(1, char(0x12)));
}

void DeviceLink::MI_WLANClick() {
    setWlanChecked(false);
    setWlanDeviceText(QString());
    closeTcp();
    processPendingEvents();
    if (!probeAccessPoint(kProbeMs)) {
        dialogs().information(QString::fromLatin1(kApNotFoundText));
        return;
    }
    if (!openTcp())
        return;
    waitForData(200);
    if (!tcpConnected())
        return;
    setWlanChecked(true);
    if (!tcpWrite(QByteArray(1, char(0x12))))
        return;
    restartKeepAlive();
    processPendingEvents();
    if (!waitForData(1000))
        return;
    const qint32 held = RxCount; // this read does not count as held bytes
    const int got = receiveInto(0, 512);
    RxCount = held;
    if (got <= 0)
        return;
    RxFrameLength = qMin(qMin(RxBuffer[0] + 256 * RxBuffer[1], 12), got);
    QCoreApplication::postEvent(m_target.load(), new DeviceDataEvent(RxBuffer + 4, RxFrameLength - 4));
}

void DeviceLink::restartKeepAlive() {
    // Every send restarts the keep-alive clock. The timer itself is only
    // re-armed when it is not running with the full interval; when it fires
    // early, it is armed again for the rest (see keepAliveTick).
    m_lastSend.start();
    if (!Timer1.isActive() || Timer1.interval() != m_keepAliveMs) {
        Timer1.stop();
        Timer1.setInterval(m_keepAliveMs);
        Timer1.start();
    }
}

void DeviceLink::keepAliveTick() {
    if (m_lastSend.isValid()) {
        const qint64 since = m_lastSend.elapsed();
        if (since < m_keepAliveMs) {
            Timer1.start(int(m_keepAliveMs - since));
            return;
        }
    }
    if (Timer1.interval() != m_keepAliveMs)
        Timer1.start(m_keepAliveMs);
    Timer1Timer();
}

void DeviceLink::beginShutdown() {
    m_shutdown = true;
    AwaitingReply = 0;
    ScanActive = 0;
    ApSettingsPending = 0;
    Timer.stop();
    Timer1.stop();
}

void DeviceLink::setKeepAliveIntervalForTest(int ms) {
    m_keepAliveMs = ms;
    Timer1.setInterval(ms);
    m_lastSend.invalidate();
}

void DeviceLink::Timer1Timer() {
    if (!m_wlanChecked || !tcpConnected())
        return;
    if (!tcpWrite(QByteArray(1, char(0x55))))
        return;
    processPendingEvents();
    if (waitForData(200)) {
        char discard[8];
        socketRead(discard, sizeof discard);
    }
}

int DeviceLink::discardStaleInput() {
    if (UsbConnected != 0) {
        // Frames the library delivered wait as events; on the terminal page
        // they are the receiver's text and stay.
        if (pageShown != kPageTerminal)
            QCoreApplication::removePostedEvents(m_target.load(), WM_DEVICE_DATA);
        return 0;
    }
    if (!m_wlanChecked || !tcpConnected())
        return 0;
    RxCount = 0;
    RxFrameLength = 0;
    int dropped = 0;
    char scratch[4096];
    while (TCP_Client->bytesAvailable() > 0) {
        const qint64 n = socketRead(scratch, sizeof scratch);
        if (n <= 0)
            break;
        dropped += int(n);
    }
    if (dropped > 0)
        emit staleInputDropped(dropped);
    return dropped;
}

void DeviceLink::drainWlan() {
    QElapsedTimer spent;
    spent.start();
    while (tcpConnected() && spent.elapsed() < kDrainLimitMs && waitForData(100)) {
        if (receiveInto(0, kRxBufferSize) < 0)
            break;
    }
    RxCount = 0;
}

} // namespace lmk
