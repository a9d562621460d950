#pragma once
// What an upload has done so far, as a person reads it: the phase, how long
// it has run, and once file bytes flow, the rate and the time left.
//
// The phases are the operation's own ("Clearing memory:" while the receiver
// erases and takes the name, "Bytes sent:" later). The time left is taken
// from the bytes the receiver has taken since its erase ended (its first
// ready reply), so the erase does not count as slow transfer:
//   erase   "Clearing memory:  0:03"   (how long the phase has run)
//   bytes   "Bytes sent:  512.0 KiB/1.0 MiB  128.0 KiB/s  0:04 left"

#include <QString>
#include <QtGlobal>

namespace lmk {

class UploadProgress {
public:
    // The transfer starts (header sent) at `nowMs` of any steady clock.
    void start(qint64 nowMs);
    void phase(const QString &text, qint64 nowMs);
    // The receiver has taken `sent` of `size` bytes.
    void bytes(qint64 sent, qint64 size, qint64 nowMs);

    QString phaseText() const { return m_phase; }
    bool bytesFlowing() const { return m_bytesStartMs >= 0; }
    // "0:04 left"; "-:-- left" before it can be told.
    QString timeLeft(qint64 nowMs) const;
    // "128.0 KiB/s"; "-" before bytes flow.
    QString rate(qint64 nowMs) const;
    // The whole line, as above.
    QString line(qint64 nowMs) const;

private:
    QString m_phase;
    qint64 m_phaseStartMs = 0;
    qint64 m_bytesStartMs = -1;
    qint64 m_bytesAtStart = 0;
    qint64 m_sent = 0;
    qint64 m_size = 0;
};

} // namespace lmk
