#include "link/Exchange.h"

#include "link/DeviceEvents.h"
#include "link/DeviceLink.h"
#include "link/ReplyDispatcher.h"
#include "link/StopRequest.h"
#include "link/Wait.h"

namespace lmk {

QString operationBusyText(const QString &running) {
    return QStringLiteral("%1 is running: try again when it has ended.").arg(running);
}

Exchange::Exchange(DeviceLink &link, const QString &operation, std::function<void()> yield)
    : m_link(link), m_operation(operation), m_yield(std::move(yield)) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
        // TimerTimer: "Timeout: Device doesn't respond!"
        endWith(ExchangeEnd::Timeout);
    });
    if (m_link.shuttingDown()) {
        endWith(ExchangeEnd::ShuttingDown);
        return;
    }
    m_claimed = m_link.claim(this, &m_refusedBy);
    if (!m_claimed)
        endWith(ExchangeEnd::Busy);

}

Exchange::~Exchange() {
    m_timer.stop();
    if (m_claimed)
        m_link.release(this);
}

void Exchange::endWith(ExchangeEnd end, int code) {
    m_timer.stop();
    if (m_ended)
        return;
    m_ended = true;
    m_end = end;
    m_endCode = code;
    m_state.AwaitingReply = 0;
    m_state.ScanActive = 0;
}

void Exchange::finish() { endWith(ExchangeEnd::Finished); }

void Exchange::abort() {
    m_yield = nullptr;
    endWith(ExchangeEnd::Aborted);
    // Aborted stays aborted, whatever ended the wait before.
    m_end = ExchangeEnd::Aborted;
}

void Exchange::startReplyTimer(int ms) {
    if (m_ended)
        return;
    m_timer.stop();
    m_timer.setInterval(ms);
    m_timer.start();
}

void Exchange::stopReplyTimer() { m_timer.stop(); }

bool Exchange::send(const QByteArray &bytes, bool expectsReply) {
    // The status word of the request before is not this one's answer,
    // whether or not this one goes out.
    m_state.PendingRequest = -1;
    if (!m_claimed || m_link.shuttingDown())
        return false;
    // After a requested stop nothing new goes out but what onStop sends.
    if (!m_stopping && stopRequested()) {
        honourStop();
        return false;
    }
    if (m_ended && (m_end == ExchangeEnd::Aborted || m_end == ExchangeEnd::ShuttingDown ||
                    m_end == ExchangeEnd::LinkLost))
        return false;
    if (!m_link.hasTransport()) {
        endWith(ExchangeEnd::NoTransport);
        return false;
    }
    if (!m_sent) {
        // Whatever came before this operation's first request is not its
        // answer.
        const bool timing = m_timer.isActive();
        const int interval = m_timer.interval();
        m_timer.stop();
        m_link.settleBeforeRequest();
        if (m_link.shuttingDown()) {
            endWith(ExchangeEnd::ShuttingDown);
            return false;
        }
        m_firstSerial = deviceEventSerial().load();
        m_sent = true;
        if (timing && !m_ended)
            startReplyTimer(interval);
    }
    m_state.PendingRequest = -1;
    m_state.UnexpectedCode = -1;
    if (!m_ended)
        m_state.AwaitingReply = 1;
    if (expectsReply)
        m_answered = false;
    if (!m_link.transmit(bytes)) {
        endWith(ExchangeEnd::LinkLost); // the link has reported it
        return false;
    }
    return true;
}

ExchangeResult Exchange::result() const {
    if (m_state.PendingRequest != -1)
        return {ExchangeEnd::Status, m_state.PendingRequest};
    if (m_ended)
        return {m_end, m_endCode};
    return {ExchangeEnd::Timeout, -1};
}

void Exchange::honourStop() {
    if (m_ended || m_stopping || !stopRequested())
        return;
    m_stopping = true;
    if (onStop)
        onStop(); // e.g. the scan's abort byte
    abort();
}

ExchangeResult Exchange::waitForStatus() {
    lmk::waitWhile([this] {
        honourStop();
        return !m_ended && m_state.PendingRequest == -1;
    });
    return result();
}

ExchangeResult Exchange::waitWhile(const std::function<bool()> &more) {
    lmk::waitWhile([&] {
        honourStop();
        return !m_ended && more();
    });
    if (m_ended)
        return {m_end, m_endCode};
    return result();
}

ExchangeResult Exchange::request(const QByteArray &bytes, int replyMs) {
    if (m_ended && m_end != ExchangeEnd::Status)
        return {m_end, m_endCode};
    startReplyTimer(replyMs);
    if (!send(bytes)) {
        m_timer.stop();
        return m_ended ? ExchangeResult{m_end, m_endCode} : ExchangeResult{ExchangeEnd::LinkLost};
    }
    const ExchangeResult r = waitForStatus();
    if (r.end == ExchangeEnd::Status)
        m_timer.stop();
    return r;
}

namespace {
// Codes of reply words that the protocol routes.
bool isReplyCode(quint8 code) {
    switch (code) {
    case 0x00: case 0x55: case 0x5A: case 0x02: case 0xC0: case 0x12: case 0x0B: case 0x10:
        return true;
    default:
        return false;
    }
}
} // namespace

void Exchange::takeFrame(const quint8 *payload, int length, bool fromWlan) {
    // In terminal mode the receiver also sends text of its own (the
    // access-point settings after the switch): a frame that begins with no
    // reply code is that text, not this request's answer.
    if (m_link.terminalMode() && !sink.wholeFrames && (length < 4 || !isReplyCode(payload[0]))) {
        emit m_link.terminalText(QByteArray(reinterpret_cast<const char *>(payload), length));
        return;
    }
    m_answered = true;
    ReplyHandlers h;
    if (sink.wholeFrames) {
        m_state.ScanActive = 1;
        h.scanFrame = sink.wholeFrames;
    }
    bool taskList = false;
    h.taskList = [&](const quint8 *p, int n) {
        taskList = true;
        if (sink.taskList)
            sink.taskList(p, n);
    };
    // A slot record that this request did not ask for changes nothing.
    bool strayRecord = false;
    const qint32 pendingBefore = m_state.PendingRequest;
    if (sink.slotRecord)
        h.slotRecord = sink.slotRecord;
    else
        h.slotRecord = [&](const quint8 *, int) { strayRecord = true; };
    bool readError = false;
    h.slotReadError = [&] {
        readError = true;
        if (sink.slotReadError)
            sink.slotReadError();
    };
    h.version = [this](const QString &text, bool toWlan) {
        m_link.showVersion(text, toWlan);
        if (sink.version)
            sink.version(text);
    };
    m_state.UnexpectedCode = -1;
    dispatchFrame(m_state, kPageUpdate, fromWlan, payload, length, h);
    if (m_ended)
        return;
    if (strayRecord) {
        m_state.PendingRequest = pendingBefore;
        endWith(ExchangeEnd::Unexpected, 0x10);
    } else if (m_state.UnexpectedCode >= 0)
        endWith(ExchangeEnd::Unexpected, m_state.UnexpectedCode);
    else if (readError || taskList)
        endWith(ExchangeEnd::Finished);
}

} // namespace lmk
