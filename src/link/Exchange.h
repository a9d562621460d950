#pragma once
// One operation's requests to the receiver, from set-up to a typed result.
//
// An Exchange claims the link for one operation (one at a time; a second
// one is refused with the name of the running one, unless the running one
// yields, as the live mirror does). Its first send drops whatever the
// receiver sent before (and, after a request that went unanswered, waits a
// little for that late reply first), so no earlier reply is taken as an
// answer. Every frame that arrives while it runs goes to it alone, whatever
// page the window shows: status words into its own reply state, everything
// else to its sink. Waits sleep in the event loop and end with one result:
//
//   request 55  ->  55 00 00 00          {Status, 0x55}
//   request 55  ->  (nothing, 1000 ms)   {Timeout}
//   request 10  ->  77 00 00 00          {Unexpected, 0x77}
//   socket error                          {LinkLost}
//   abort()                               {Aborted}; nothing more goes out
//   a stop is requested (StopRequest.h)   onStop(), then {Aborted}: the wait
//                                         ends, the next send does not go out
//   the window closes                     {ShuttingDown}

#include "link/ReplyState.h"

#include <QByteArray>
#include <QString>
#include <QTimer>

#include <functional>

namespace lmk {

class DeviceLink;

enum class ExchangeEnd {
    Status,       // a status word came (code: 0x00, 0x55, 0x5A)
    Finished,     // the sink had what it asked for (a task list, the last column, ...)
    Timeout,      // the reply timer ran out
    LinkLost,     // the connection failed
    Unexpected,   // a reply word with a code no rule routes (code)
    Aborted,      // abort(): the operation was stopped
    ShuttingDown, // the window is closing
    NoTransport,  // neither USB nor WLAN: nothing was sent
    Busy,         // another operation runs: nothing was sent
};

struct ExchangeResult {
    ExchangeEnd end = ExchangeEnd::Status;
    int code = -1;
    bool isStatus(int c) const { return end == ExchangeEnd::Status && code == c; }
    bool operator==(const ExchangeResult &o) const { return end == o.end && code == o.code; }
};

// The message that refuses an operation while `running` holds the link.
QString operationBusyText(const QString &running);

// Frames of the running request that are not status words.
struct ExchangeSink {
    // Every frame whole, status words included (the display scan).
    std::function<void(const quint8 *payload, int length)> wholeFrames;
    // p at the 0x0B word; the wait ends (Finished) after it returns.
    std::function<void(const quint8 *p, int n)> taskList;
    // p at the 0x10 word (256 or at least 264 bytes); counts as status 0.
    std::function<void(const quint8 *p, int n)> slotRecord;
    // A 0x10 word without a whole record behind it; the wait ends (Finished).
    std::function<void()> slotReadError;
    // A version reply (also shown in the window's top row).
    std::function<void(const QString &text)> version;
};

class Exchange {
public:
    // Claims the link for `operation`. `yield`, when given, lets a later
    // operation stop this one (it must end the wait at once, e.g. abort()).
    Exchange(DeviceLink &link, const QString &operation, std::function<void()> yield = {});
    ~Exchange();
    Exchange(const Exchange &) = delete;
    Exchange &operator=(const Exchange &) = delete;

    // False when another operation held the link (refusedBy() names it).
    bool claimed() const { return m_claimed; }
    QString refusedBy() const { return m_refusedBy; }
    QString operation() const { return m_operation; }

    ExchangeSink sink;
    // What a requested stop sends before the exchange ends as Aborted (the
    // scan's abort byte); it may send, nothing after it does.
    std::function<void()> onStop;

    // One request, one reply: reply timer, send, wait for a status word.
    ExchangeResult request(const QByteArray &bytes, int replyMs);

    // The parts, for operations with more than one reply per request.
    // send() clears the status for the next wait; false when nothing went
    // out (no transport, aborted, closing, not claimed). `expectsReply`:
    // false for a send that the receiver does not answer.
    bool send(const QByteArray &bytes, bool expectsReply = true);
    void startReplyTimer(int ms);
    void stopReplyTimer();
    // Forgets the status word, so that the next wait waits for another.
    void clearStatus() { m_state.PendingRequest = -1; }
    // Waits while no status word came and the exchange has not ended.
    ExchangeResult waitForStatus();
    // Waits while `more()` holds and the exchange has not ended.
    ExchangeResult waitWhile(const std::function<bool()> &more);
    // The result as it stands: the status word if one came, else the end.
    ExchangeResult result() const;
    // Status words with code 0x55 so far (several may share one frame).
    qint64 workingReplies() const { return m_state.WorkingReplies; }

    // For the sink: the request has all it asked for.
    void finish();
    // The operation stops: the wait ends, nothing more is sent.
    void abort();
    bool ended() const { return m_ended; }
    ExchangeEnd end() const { return m_end; }

private:
    friend class DeviceLink;
    void endWith(ExchangeEnd end, int code = -1);
    void honourStop();
    void takeFrame(const quint8 *payload, int length, bool fromWlan);
    bool accepts(quint64 serial) const { return m_claimed && !m_ended && serial >= m_firstSerial; }
    // Whether a later operation may stop this one, and stopping it.
    bool yields() const { return bool(m_yield); }
    void yieldNow() { const auto yield = m_yield; yield(); }
    // What the receiver may still send for this exchange once it ended:
    // the reply to a request that went unanswered, or more columns after
    // an abort. Nothing over a connection that is gone.
    bool connectionGone() const {
        return m_end == ExchangeEnd::LinkLost || m_end == ExchangeEnd::NoTransport ||
               m_end == ExchangeEnd::ShuttingDown;
    }
    bool owesReply() const { return m_sent && !connectionGone() && !m_answered; }
    bool mayStillSend() const { return m_sent && !connectionGone() && m_end == ExchangeEnd::Aborted; }
    // A frame came after the exchange ended: the reply it owed, late.
    void lateFrameCame() {
        if (m_ended)
            m_answered = true;
    }

    DeviceLink &m_link;
    QString m_operation;
    std::function<void()> m_yield;
    QString m_refusedBy;
    bool m_claimed = false;
    ReplyState m_state; // AwaitingReply, PendingRequest, ... of this request
    bool m_ended = false;
    ExchangeEnd m_end = ExchangeEnd::Status;
    int m_endCode = -1;
    QTimer m_timer; // the reply timer
    bool m_sent = false;
    bool m_stopping = false; // a requested stop is being honoured
    bool m_answered = true; // a frame came since the last send that expects one
    quint64 m_firstSerial = ~quint64(0);
};

} // namespace lmk
