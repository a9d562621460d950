#pragma once
// "Synchronize": asks the receiver whether its bootloader or its
// configuration runs.
//
//   -> 55                 synchronise request
//   <- 5A 00 00 00        bootloader active (the upload may start)
//   <- 55 00 00 00        configuration active
//   <- 00 00 00 00        neither
//
// A first answer 0x55 is confirmed by repeating the request for the next
// 1000 ms; the last answer in that time decides (an answer that turns to 0x5A
// shows the bootloader, but does not allow the upload). Each repetition waits
// for the receiver's answer to the one before, so the receiver sets the pace.

#include "link/Exchange.h"

#include <QObject>
#include <QString>

namespace lmk {
class DeviceLink;

struct SyncResult {
    bool ran = false;        // a transport was available and the request went out
    qint32 firstAnswer = -1; // the status code of the first answer (-1: none)
    qint32 answer = -1;      // the answer that decides the indicators
    bool bootActive = false;
    bool configActive = false;
    bool uploadEnabled = false; // only a first answer 0x5A
    // How the exchange ended: Status when an answer came (or the answers
    // stopped while confirming), else why not.
    ExchangeEnd end = ExchangeEnd::NoTransport;
    QString busyWith; // another operation held the link: nothing was sent
};

class SyncOperation : public QObject {
    Q_OBJECT
  public:
    static constexpr int kReplyMs = 1000;
    static constexpr quint8 kRequest = 0x55;

    explicit SyncOperation(DeviceLink &link, QObject *parent = nullptr);

    // Runs to its end, processing events while it waits. Without USB and
    // WLAN nothing is sent and the result has ran == false.
    SyncResult run();

  signals:
    // Right before the first request goes out.
    void started();
    void finished(const lmk::SyncResult &result);

  private:
    DeviceLink &m_link;
};

} // namespace lmk
