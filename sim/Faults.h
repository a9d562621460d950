#pragma once
// Fault injection: what happens to the reply of a request.
//
//   --delay MS          every reply is sent MS later (order kept)
//   --silent            no reply at all
//   --fault [wlan|usb:]CMD[#N]:ACTION   (repeatable)
//       CMD     first byte of the request, hex ("12", "55")
//       #N      only the N-th request with that byte on that transport
//               (1-based, counted over the simulator's lifetime); omitted:
//               every one
//       ACTION  silent | close | delay=MS | raw=HEX[+HEX...] | before=HEX[+HEX...]
//               raw: these bytes are sent instead of the reply, each
//               "+"-separated chunk in its own write, --chunk-gap MS apart
//               before: each chunk is a payload sent as a frame of its own
//               ahead of the real reply, --chunk-gap MS apart, the reply
//               one gap after the last (e.g. 02000000 or c000000000000000:
//               words that carry no status)
//   --chunk-gap MS      gap between raw chunks (default 20)
//   --flood [wlan|usb:]BYTES_PER_S:SECONDS[:FRAME_BYTES]   (repeatable)
//       from the moment a connection of that transport (empty: any) is made,
//       frames nobody asked for (terminal text, FRAME_BYTES long with the
//       header, default 64) at BYTES_PER_S for SECONDS, then nothing more.
//       Bounded: at most 16 MB/s for at most an hour, and the simulator
//       holds at most 256 KiB the program has not read (what it cannot take
//       in time is not sent). The control command "flood RULE" starts one on
//       the connections open now.
//
// Example: --fault wlan:12#2:raw=0c00+0000124005000301+0000 sends the second
// WLAN version reply in three pieces; --fault 55:close closes the connection
// instead of answering any synchronise request.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

class QCommandLineParser;

namespace sim {

struct FaultAction {
    enum Kind { None, Silent, Close, Delay, Raw, Before };
    Kind kind = None;
    int delayMs = 0;
    QList<QByteArray> chunks; // Raw, Before
};

struct FloodRule {
    QString transport; // empty: both
    int bytesPerSecond = 0;
    int seconds = 0;
    int frameBytes = 64;
};

struct FaultRule {
    QString transport; // empty: both
    quint8 command = 0;
    int occurrence = 0; // 0: every
    FaultAction action;
};

class FaultPlan {
public:
    static FaultPlan &instance();

    static void addOptions(QCommandLineParser &parser);
    static QString helpText();
    bool configure(const QCommandLineParser &parser, QString &error);
    // Parses one --fault value; false with a message on bad syntax.
    static bool parseRule(const QString &text, FaultRule &rule, QString &error);
    // Parses one --flood value; false with a message on bad syntax.
    static bool parseFlood(const QString &text, FloodRule &flood, QString &error);

    // The action for the next request with this first byte, without
    // counting it yet.
    FaultAction peek(const QString &transport, quint8 command) const;
    // Counts one consumed request.
    void count(const QString &transport, quint8 command);

    int globalDelayMs = 0;
    bool silent = false;
    int chunkGapMs = 20;
    QList<FaultRule> rules;
    QList<FloodRule> floods; // started on every new connection of their transport

private:
    QMap<QString, int> m_seen; // "<transport>:<cmd>" -> requests so far
};

} // namespace sim
