#include "display/ScanOperation.h"

#include "link/DeviceLink.h"
#include "link/Exchange.h"
#include "link/Wait.h"

#include <array>

namespace lmk {

ScanOperation::ScanOperation(DeviceLink &link, QObject *parent) : QObject(parent), m_link(link) {}

ScanOperation::~ScanOperation() {
    if (m_exchange)
        m_exchange->abort();
}

void ScanOperation::setCounter(int c) {
    if (c == m_counter)
        return;
    m_counter = c;
    emit counterChanged(counterText(c));
}

ScanOutcome ScanOperation::run(const AreaValues &area) {
    ScanOutcome out;
    out.pendingRequest = m_pending;
    if (m_running) { // the scan is not re-entered; the running one goes on
        out.end = ScanEnd::Busy;
        return out;
    }
    if (!m_link.hasTransport()) {
        out.end = ScanEnd::NoConnection;
        out.statusText = kNoConnectionText;
        return out;
    }
    Exchange exchange(m_link, m_name, m_yieldable ? std::function<void()>([this] {
        emit yielded();
        abort();
    })
                                                  : std::function<void()>());
    if (!exchange.claimed()) {
        out.end = ScanEnd::Busy;
        out.statusText = operationBusyText(exchange.refusedBy()).toLatin1();
        return out;
    }
    m_exchange = &exchange;
    exchange.sink.wholeFrames = [this](const quint8 *p, int n) { handleFrame(p, n); };
    m_area = area;
    m_area.w = qMax(0, m_area.w);
    m_area.h = qMax(0, m_area.h);
    const QByteArray request = scanRequest(m_area.x, m_area.y, m_area.w, m_area.h);
    // Cleared at the start of every scan, the first one included.
    m_counter = -1;
    emit counterChanged(QString());
    m_p = expectedColumnLength(m_area.h);
    m_rgb.resize(3 * m_area.h);
    m_acks = 0;
    m_arrived.fill(false, m_area.w);
    m_arrivedCount = 0;
    m_refusal = 0;
    m_end = ScanEnd::Timeout;
    m_pending = m_p;

    m_running = true;
    emit runningChanged(true);
    int lastAcked = -1;
    exchange.startReplyTimer(kScanReplyMs);
    exchange.send(request);
    // A stop asked for by the system ends the scan as B_AbortClick does.
    exchange.onStop = [this] { abort(); };
    emit progressChanged(0);

    // Every new counter value is acknowledged once, the last column's too
    // (the receiver does not answer that one); nothing goes out after an
    // abort.
    static const QByteArray ack(1, char(kScanAck));
    for (;;) {
        if (m_counter != lastAcked) {
            lastAcked = m_counter;
            if (exchange.end() == ExchangeEnd::Aborted && exchange.ended())
                break;
            ++m_acks;
            exchange.send(ack, lastAcked < m_area.w);
            emit progressChanged(scanProgress(lastAcked, m_area.w));
            continue;
        }
        if (exchange.ended())
            break;
        // Frames are handled while this waits; it wakes for every event.
        exchange.waitWhile([&] { return m_counter == lastAcked; });
    }

    exchange.stopReplyTimer();
    m_exchange = nullptr;
    switch (exchange.end()) {
    case ExchangeEnd::Finished:
        break; // m_end was set by the frame that ended the scan
    case ExchangeEnd::Timeout:
        m_end = ScanEnd::Timeout;
        break;
    case ExchangeEnd::Aborted:
        m_end = ScanEnd::Aborted;
        break;
    case ExchangeEnd::LinkLost:
    case ExchangeEnd::NoTransport:
        m_end = ScanEnd::LinkLost;
        break;
    case ExchangeEnd::ShuttingDown:
        m_end = ScanEnd::ShuttingDown;
        break;
    default:
        m_end = ScanEnd::DataFailure;
        break;
    }
    m_running = false;
    emit runningChanged(false);
    out.sent = true;
    out.end = m_end;
    out.pendingRequest = m_pending;
    out.missingColumns = m_area.w - m_arrivedCount;
    out.refusalCode = m_refusal;
    out.statusText = scanEndText(m_end, out.missingColumns, m_area.w);
    m_last = out;
    return out;
}

QByteArray scanEndText(ScanEnd end, int missing, int w) {
    switch (end) {
    case ScanEnd::Complete:
        return kAllDataReceivedText;
    case ScanEnd::Incomplete:
        return incompleteScanText(missing, w);
    case ScanEnd::Timeout:
        return kTimeoutText;
    case ScanEnd::NoConnection:
        return kNoConnectionText;
    default:
        return kDeviceNoResponseText;
    }
}

QByteArray incompleteScanText(int missing, int w) {
    return QStringLiteral("Scan incomplete: %1 of %2 columns missing!").arg(missing).arg(w).toLatin1();
}

void ScanOperation::abort() {
    if (!m_link.hasTransport())
        return;
    if (m_exchange && !m_exchange->ended()) {
        // The abort byte is the scan's last: the exchange then sends nothing.
        Exchange *ex = m_exchange;
        ex->stopReplyTimer();
        ex->send(QByteArray(1, char(kScanAbort)), false);
        ex->abort();
        return;
    }
    if (!m_running && !m_link.exchangeRunning())
        m_link.sendUnasked(QByteArray(1, char(kScanAbort)));
}

void ScanOperation::handleFrame(const quint8 *payload, int length) {
    Exchange *ex = m_exchange;
    if (!ex || !m_running) // nothing to receive into
        return;
    ex->stopReplyTimer();
    const auto fail = [this, ex](qint32 code, ScanEnd end) {
        m_pending = code;
        m_end = end;
        ex->finish();
    };
    const ScanReply reply = readScanReply(payload, length, m_p, m_area.w, m_counter >= 0);
    switch (reply.kind) {
    case ScanReply::Refused:
        m_refusal = reply.code;
        fail(reply.code, ScanEnd::Refused);
        return;
    case ScanReply::Accepted:
        setCounter(0);
        ex->startReplyTimer(kScanReplyMs);
        return;
    case ScanReply::Failure:
        fail(kScanDataFailure, ScanEnd::DataFailure);
        return;
    case ScanReply::Column:
        break;
    }
    // A column is exactly P bytes long, so its H pixels lie within it.
    const int c = reply.column;
    const int n = c + 1;
    if (!m_arrived.testBit(c)) {
        m_arrived.setBit(c);
        ++m_arrivedCount;
    }
    if (n < m_area.w) {
        ex->startReplyTimer(kScanReplyMs);
    } else {
        // The last column ends the scan, and it is acknowledged as always;
        // columns that never came are not reported as received.
        m_pending = 0;
        m_end = m_arrivedCount == m_area.w ? ScanEnd::Complete : ScanEnd::Incomplete;
        ex->finish();
    }
    static constexpr auto kColours = [] {
        std::array<Rgb, 256> t{};
        for (int v = 0; v < 256; ++v)
            t[size_t(v)] = pixelToRgb(quint8(v));
        return t;
    }();
    const quint8 *pixels = payload + kColumnHeaderSize;
    quint8 *dst = m_rgb.data();
    for (int r = 0; r < m_area.h; ++r) {
        const Rgb &px = kColours[pixels[r]];
        *dst++ = px.r;
        *dst++ = px.g;
        *dst++ = px.b;
    }
    emit columnReceived(c, m_rgb.constData(), m_area.h);
    setCounter(n);
}

} // namespace lmk
