#pragma once
// How lmkctl ends: the system's stop signals and standard output.
//
// SIGINT, SIGTERM and SIGHUP raise a stop request (link/StopRequest.h): the
// running wait ends, the command winds down (the scan's abort byte, 0D 00 for
// terminal mode, no further packet or slot), says how far it got and exits
// with 128 + the signal (130, 143, 129).
//
// Standard output goes through one device that writes to descriptor 1 and
// keeps the first error. A closed pipe (EPIPE; SIGPIPE is ignored) is also a
// stop request, with SIGPIPE: the command winds down the same way and ends
// with 141 without a word. Any other error (a full disk, /dev/full) is
// reported before the exit code is decided.

#include <QIODevice>
#include <QString>

#include <csignal>

namespace lmk::ctl {

// The stop signal of a closed output pipe.
#if defined(SIGPIPE)
constexpr int kClosedPipeSignal = SIGPIPE;
#else
constexpr int kClosedPipeSignal = 13;
#endif

// Installs the handlers for the life of the object and restores the ones
// before; one per program.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;
};

// "SIGINT", "SIGTERM", ...
QString signalName(int sig);
// 128 + the signal of the stop request; 130 when there is none.
int stopExitCode();

// lmkctl's standard output, unbuffered (a QTextStream over it buffers).
class StandardOutput : public QIODevice {
public:
    static StandardOutput &instance();
    bool isSequential() const override { return true; }
    // errno of the first failed write, 0 when every write went out.
    int failure() const { return m_errno; }
    // The pipe's reader has gone (EPIPE).
    bool closedPipe() const;
    // "Cannot write to standard output. No space left on device"; "" when fine.
    QString failureText() const;
    // The failure was told already; the end does not repeat it.
    void setFailureReported() { m_reported = true; }
    bool failureReported() const { return m_reported; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 len) override;

private:
    StandardOutput();
    int m_errno = 0;
    bool m_reported = false;
};

} // namespace lmk::ctl
