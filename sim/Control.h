#pragma once
// Run-time control of the fault injection, for long runs that keep one
// connection open while the faults change (lmk-sim --control).
//
// Commands arrive on standard input, one per line; each is answered with one
// line on standard output, "OK" or "ERROR <reason>", after it took effect:
//   fault RULE    adds a rule as --fault RULE does (e.g. "fault usb:08:silent")
//   clear         removes every rule (the request counts stay)
//   flood RULE    floods the connections open now as --flood RULE does
//                 (e.g. "flood usb:1000000:60"); ERROR when none is open
//   ping          answers OK
// A rule with #N counts requests over the simulator's lifetime, as on the
// command line, so a run-time rule is normally given without it.

#include <QObject>

class QSocketNotifier;

namespace sim {

class Control : public QObject {
public:
    // Reads commands from file descriptor `fd` (standard input).
    explicit Control(int fd, QObject *parent = nullptr);

    // One command line; returns the answer line without its line end.
    static QByteArray execute(const QByteArray &line);

private:
    void onReadable();

    int m_fd;
    QSocketNotifier *m_notifier;
    QByteArray m_pending;
};

} // namespace sim
