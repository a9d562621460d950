#pragma once
// The display scan: copies an area of the receiver's screen column by column
// (request and reply bytes in ScanCodec.h).
//
// run() follows the requester pattern: it sets ScanActive, RxCount := 0,
// the 2000 ms reply timer, AwaitingReply and PendingRequest := P, sends the
// request and waits while AwaitingReply is set. The scan frame handler,
// registered in the link's `handlers.scanFrame`, reads the acceptance, a
// refusal or a column; each new value of the column counter is acknowledged
// by the waiting loop with one byte 00 (after the acceptance and after every
// column, the last one included). The outcome is left in the link's
// StatusText and PendingRequest:
//   last column received     0              "All data received!"
//   last column received,    0              "Scan incomplete: 9 of 10
//     others missing                          columns missing!"
//   refusal (status byte b)  b              "Device doesn't respond!"
//   wrong length / column    6              "Device doesn't respond!"
//   2000 ms without a frame  P              "Timeout: Device doesn't respond!"
//   abort                    P              "Device doesn't respond!"
//   no link                  unchanged      "No connection available!"
//
// The operation draws nothing itself: every column is reported, already
// converted to colours, through columnReceived(); the caller owns the picture.

#include "display/ScanArea.h"
#include "display/ScanCodec.h"

#include <QBitArray>
#include <QObject>
#include <QString>
#include <QVector>

namespace lmk {

class DeviceLink;

inline constexpr const char *kAllDataReceivedText = "All data received!";
inline constexpr const char *kNoConnectionText = "No connection available!";
inline constexpr const char *kDeviceNoResponseText = "Device doesn't respond!";
constexpr int kScanReplyMs = 2000;
constexpr int kScanDataFailure = 6;

struct ScanOutcome {
    qint32 pendingRequest = -1; // PendingRequest when the scan ended
    QByteArray statusText;      // the message to show
    bool sent = false;          // false: no link, nothing was sent
    int missingColumns = 0;     // columns of the area that never came
    int refusalCode = 0;        // the receiver's refusal code; 0: not refused
};

// "Scan incomplete: <missing> of <w> columns missing!"
QByteArray incompleteScanText(int missing, int w);

class ScanOperation : public QObject {
    Q_OBJECT
public:
    // Registers the scan frame handler with the link for its lifetime.
    explicit ScanOperation(DeviceLink &link, QObject *parent = nullptr);
    ~ScanOperation() override;

    // Runs one whole scan of the area and returns when it has ended. The
    // area is taken when the scan starts and kept for the whole run.
    ScanOutcome run(const AreaValues &area);
    // B_AbortClick: with a link, ScanActive := 0, AwaitingReply := 0 and the
    // abort byte 0A is sent; without one nothing happens.
    void abort();

    bool isRunning() const { return m_running; }
    // The area of the running scan, or of the last one.
    AreaValues area() const { return m_area; }
    // The column counter: -1 for "" (no acceptance yet), then the number of
    // columns received so far (last column index + 1).
    int counter() const { return m_counter; }
    static QString counterText(int counter) {
        return counter < 0 ? QString() : QString::number(counter);
    }
    // Acknowledgements sent by the last run.
    int acknowledgements() const { return m_acks; }

    // The scan frame handler (payload of one frame while ScanActive is set).
    void handleFrame(const quint8 *payload, int length);

signals:
    // Between the start of the scan proper (picture hidden, "Scan"
    // disabled, "Cancel" enabled) and the end of its wait.
    void runningChanged(bool running);
    void counterChanged(const QString &text);
    void progressChanged(int position);
    // Column c of the area arrived: `rgb` holds h colours (r, g, b bytes),
    // top row first; valid only during the call.
    void columnReceived(int c, const quint8 *rgb, int h);

private:
    void setCounter(int c);

    DeviceLink &m_link;
    bool m_running = false;
    AreaValues m_area;
    int m_p = 0;
    int m_counter = -1;
    int m_acks = 0;
    QBitArray m_arrived; // columns received in this scan
    int m_arrivedCount = 0;
    int m_refusal = 0; // the refusal code of this scan
    QVector<quint8> m_rgb;
};

} // namespace lmk
