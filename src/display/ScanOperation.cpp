#include "display/ScanOperation.h"

#include "link/DeviceLink.h"
#include "link/Wait.h"

#include <array>

namespace lmk {

namespace {
// The link's hand-off to a scan operation; a type of its own, so that an
// operation can tell whether the registered handler is still its own.
struct ScanFrameHandler {
    ScanOperation *op;
    void operator()(const quint8 *payload, int length) const { op->handleFrame(payload, length); }
};
} // namespace

ScanOperation::ScanOperation(DeviceLink &link, QObject *parent) : QObject(parent), m_link(link) {
    m_link.handlers.scanFrame = ScanFrameHandler{this};
}

ScanOperation::~ScanOperation() {
    const auto *h = m_link.handlers.scanFrame.target<ScanFrameHandler>();
    if (h && h->op == this)
        m_link.handlers.scanFrame = nullptr;
}

void ScanOperation::setCounter(int c) {
    if (c == m_counter)
        return;
    m_counter = c;
    emit counterChanged(counterText(c));
}

ScanOutcome ScanOperation::run(const AreaValues &area) {
    ScanOutcome out;
    if (m_running) { // the scan is not re-entered; the running one goes on
        out.pendingRequest = m_link.PendingRequest;
        return out;
    }
    if (!m_link.hasTransport()) {
        m_link.setStatusText(kNoConnectionText);
        out.pendingRequest = m_link.PendingRequest;
        out.statusText = m_link.StatusText;
        return out;
    }
    // Whichever operation runs receives the scan frames.
    m_link.handlers.scanFrame = ScanFrameHandler{this};
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

    m_running = true;
    emit runningChanged(true);
    m_link.ScanActive = 1;
    m_link.RxCount = 0;
    m_link.startReplyTimer(kScanReplyMs);
    m_link.AwaitingReply = 1;
    m_link.PendingRequest = m_p;
    m_link.setStatusText(kDeviceNoResponseText);
    int lastAcked = -1;

    m_link.discardStaleInput();
    m_link.SendToDevice(request);
    emit progressChanged(0);

    // Every new counter value is acknowledged once. Over WLAN the next frame
    // is handled inside the acknowledgement's own SendToDevice, so the
    // counter is looked at before the wait as well: the last column is
    // acknowledged even though AwaitingReply is already clear then.
    static const QByteArray ack(1, char(kScanAck));
    for (;;) {
        if (m_counter != lastAcked) {
            lastAcked = m_counter;
            ++m_acks;
            m_link.SendToDevice(ack);
            emit progressChanged(scanProgress(lastAcked, m_area.w));
            continue;
        }
        if (!m_link.AwaitingReply)
            break;
        // Frames are handled while this waits; it wakes for every event.
        waitWhile([&] { return m_link.AwaitingReply && m_counter == lastAcked; });
    }

    m_link.ScanActive = 0;
    m_link.stopReplyTimer();
    m_running = false;
    emit runningChanged(false);
    out.sent = true;
    out.pendingRequest = m_link.PendingRequest;
    out.statusText = m_link.StatusText;
    out.missingColumns = m_area.w - m_arrivedCount;
    out.refusalCode = m_refusal;
    return out;
}

QByteArray incompleteScanText(int missing, int w) {
    return QStringLiteral("Scan incomplete: %1 of %2 columns missing!").arg(missing).arg(w).toLatin1();
}

void ScanOperation::abort() {
    if (!m_link.hasTransport())
        return;
    m_link.ScanActive = 0;
    m_link.AwaitingReply = 0;
    m_link.SendToDevice(QByteArray(1, char(kScanAbort)));
}

void ScanOperation::handleFrame(const quint8 *payload, int length) {
    m_link.stopReplyTimer();
    if (!m_running) { // nothing to receive into
        m_link.ScanActive = 0;
        return;
    }
    const auto fail = [this](qint32 code) {
        m_link.ScanActive = 0;
        m_link.AwaitingReply = 0;
        m_link.PendingRequest = code;
    };
    const ScanReply reply = readScanReply(payload, length, m_p, m_area.w, m_counter >= 0);
    switch (reply.kind) {
    case ScanReply::Refused:
        m_refusal = reply.code;
        fail(reply.code);
        return;
    case ScanReply::Accepted:
        setCounter(0);
        m_link.startReplyTimer(kScanReplyMs);
        return;
    case ScanReply::Failure:
        fail(kScanDataFailure);
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
        m_link.startReplyTimer(kScanReplyMs);
    } else {
        // The last column ends the scan, and it is acknowledged as always;
        // columns that never came are not reported as received.
        m_link.PendingRequest = 0;
        m_link.ScanActive = 0;
        m_link.AwaitingReply = 0;
        const int missing = m_area.w - m_arrivedCount;
        m_link.setStatusText(missing == 0 ? QByteArray(kAllDataReceivedText)
                                          : incompleteScanText(missing, m_area.w));
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
