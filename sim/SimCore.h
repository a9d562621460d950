#pragma once
// The simulator's core: the receiver model behind two transports.
//
// Requests arrive as a raw byte stream per connection ("session"). The core
// offers the bytes held to each registered feature in turn; a feature that
// recognises the first byte parses the request by the lengths the protocol
// implies and answers through the session. Every consumed request is logged
// as one line "<transport> <hex>", for example "wlan 12" or "usb 0d01".
//
// Replies are frames: 16-bit little-endian total length (header included),
// two zero bytes, then the payload. The WLAN side writes them to the TCP
// socket; the USB side writes them to the local socket of the simulated USB
// library, which strips the header and delivers the payload.
//
// A feature lives in its own file and registers itself:
//
//   class ScanFeature : public sim::Feature { ... };
//   SIM_REGISTER_FEATURE(ScanFeature)

#include <QByteArray>
#include <QList>
#include <QString>

class QCommandLineParser;

namespace sim {

class Session {
public:
    virtual ~Session() = default;
    // "wlan" or "usb".
    virtual QString transport() const = 0;
    // Sends one reply frame (header added here), subject to the injected
    // faults (delay, silence, close, raw replacement) of the request being
    // answered.
    virtual void reply(const QByteArray &payload) = 0;
    // Sends bytes exactly as given, past the fault injection.
    virtual void sendRaw(const QByteArray &bytes) = 0;
    // Closes the connection (the program sees the peer go away).
    virtual void close() = 0;
    // A number that identifies the connection, for per-connection state.
    virtual int id() const = 0;
};

class Feature {
public:
    virtual ~Feature() = default;
    // Name shown in --help and logs.
    virtual QString name() const = 0;
    // Options of this feature (QCommandLineParser::addOption).
    virtual void addOptions(QCommandLineParser &) {}
    // Reads its options once after parsing; false stops the simulator with
    // the message in `error`.
    virtual bool configure(const QCommandLineParser &, QString &error) {
        Q_UNUSED(error);
        return true;
    }
    // Offered the bytes held at the start of `buf` (at least one byte).
    // Returns the number of bytes consumed (> 0) after handling a request,
    // 0 when the request is this feature's but incomplete, -1 when the
    // first byte is not this feature's.
    virtual int handle(Session &session, const QByteArray &buf) = 0;
    // The connection went away.
    virtual void sessionClosed(Session &) {}
};

// Features are tried in the order of their priority (lower first), then of
// registration.
void registerFeature(Feature *feature, int priority = 100);

// Folder for files that tests read back (uploads, slots, settings); exists.
QString stateDir();
// Without --state-dir: $XDG_STATE_HOME/lmk-sim, or ~/.local/state/lmk-sim.
QString defaultStateDir();
// Appends one line to the request log.
void logLine(const QString &line);

// Frame with the 4-byte header around `payload`.
QByteArray frame(const QByteArray &payload);
// Little-endian helpers.
QByteArray le32(quint32 v);
QByteArray le16(quint16 v);

// --- used by the simulator's main and sessions ------------------------------
// The registered features, in the order they are offered requests.
const QList<Feature *> &features();
// Sets (and creates) the state folder; false when it cannot be created.
bool setStateDir(const QString &path);
// Opens the request log (appending); empty path: standard error.
bool openLog(const QString &path);
void closeLog();

} // namespace sim

#define SIM_REGISTER_FEATURE_PRIO(Class, prio)                                                     \
    namespace {                                                                                    \
    const bool registered_##Class = [] {                                                           \
        ::sim::registerFeature(new Class, prio);                                                   \
        return true;                                                                               \
    }();                                                                                           \
    }
#define SIM_REGISTER_FEATURE(Class) SIM_REGISTER_FEATURE_PRIO(Class, 100)
