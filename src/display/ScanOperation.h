#pragma once
// The display scan: copies an area of the receiver's screen column by column
// (request and reply bytes in ScanCodec.h).
//
// run() is one Exchange (link/Exchange.h): the request, then every frame
// goes to the scan frame handler, which reads the acceptance, a refusal or
// a column; each new value of the column counter is acknowledged with one
// byte 00 (after the acceptance and after every column, the last one
// included). The reply timer (2000 ms) is restarted by the acceptance and
// by every column. How a scan ends (ScanOutcome):
//   last column received     Complete      0   "All data received!"
//   last column received,    Incomplete    0   "Scan incomplete: 9 of 10
//     others missing                               columns missing!"
//   refusal (status byte b)  Refused       b   "Device doesn't respond!"
//   wrong length / column    DataFailure   6   "Device doesn't respond!"
//   2000 ms without a frame  Timeout       P   "Timeout: Device doesn't respond!"
//   abort                    Aborted       P   "Device doesn't respond!"
//   no link                  NoConnection      "No connection available!"
// After the abort byte nothing more goes out for that scan.
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
class Exchange;

inline constexpr const char *kAllDataReceivedText = "All data received!";
inline constexpr const char *kNoConnectionText = "No connection available!";
inline constexpr const char *kDeviceNoResponseText = "Device doesn't respond!";
constexpr int kScanReplyMs = 2000;
constexpr int kScanDataFailure = 6;

enum class ScanEnd {
    Complete,     // every column came
    Incomplete,   // the last column came, others are missing
    Refused,      // the receiver refused the scan (pendingRequest: its code)
    DataFailure,  // a reply that does not fit
    Timeout,      // 2000 ms without a frame
    Aborted,      // abort(), or another operation stopped the live mirror
    NoConnection, // no link: nothing sent
    LinkLost,     // the connection failed during the scan
    Busy,         // another operation held the link: nothing sent
    ShuttingDown, // the window closed
};

struct ScanOutcome {
    ScanEnd end = ScanEnd::NoConnection;
    qint32 pendingRequest = -1; // the scan's code when it ended (see above)
    QByteArray statusText;      // the message to show
    bool sent = false;          // false: no link, nothing was sent
    int missingColumns = 0;     // columns of the area that never came
    int refusalCode = 0;        // the receiver's refusal code; 0: not refused
};

// "Scan incomplete: <missing> of <w> columns missing!"
QByteArray incompleteScanText(int missing, int w);
// The message for a scan's end.
QByteArray scanEndText(ScanEnd end, int missing, int w);

class ScanOperation : public QObject {
    Q_OBJECT
public:
    explicit ScanOperation(DeviceLink &link, QObject *parent = nullptr);
    ~ScanOperation() override;

    // Runs one whole scan of the area and returns when it has ended. The
    // area is taken when the scan starts and kept for the whole run.
    ScanOutcome run(const AreaValues &area);
    // B_AbortClick: with a link, the running scan ends and the abort byte 0A
    // is its last send; without one nothing happens.
    void abort();
    // The name that refuses other operations while a scan runs; yieldable:
    // a later operation stops the scan (abort) instead of being refused.
    void setOperationName(const QString &name, bool yieldable) {
        m_name = name;
        m_yieldable = yieldable;
    }

    bool isRunning() const { return m_running; }
    // The area of the running scan, or of the last one.
    AreaValues area() const { return m_area; }
    // The column counter: -1 for "" (no acceptance yet), then the number of
    // columns received so far (last column index + 1).
    int counter() const { return m_counter; }
    static QString counterText(int counter) {
        return counter < 0 ? QString() : QString::number(counter);
    }
    // How the last run ended.
    const ScanOutcome &lastOutcome() const { return m_last; }
    // Acknowledgements sent by the last run.
    int acknowledgements() const { return m_acks; }

    // The scan frame handler (payload of one frame while a scan runs).
    void handleFrame(const quint8 *payload, int length);

signals:
    // A yieldable scan was stopped because another operation starts.
    void yielded();
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
    Exchange *m_exchange = nullptr; // of the running scan
    QString m_name = QStringLiteral("Scan");
    bool m_yieldable = false;
    ScanEnd m_end = ScanEnd::NoConnection;
    qint32 m_pending = -1;
    ScanOutcome m_last;
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
