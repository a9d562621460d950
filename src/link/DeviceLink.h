#pragma once
// The device link: the transports (USB through the USB library, WLAN over
// TCP), the reading of the WLAN byte stream into frames, the delivery of
// every frame as one WM_DEVICE_DATA event, its routing, discovery and
// keep-alive.
//
// Routing of a frame: while an Exchange runs (Exchange.h), the frame is its
// answer, whatever the window shows. Otherwise nobody asked for it: in
// terminal mode it leaves as terminalText(); a version reply is shown in the
// top row (usbDeviceText / wlanDeviceText); anything else is dropped
// (staleInputDropped()), so a late reply never changes anything.
//
// The link knows nothing about pages and shows nothing: a lost WLAN
// connection and an access point that does not answer leave as signals.

#include "link/FrameExtractor.h"
#include "link/UsbLibrary.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>

class QTcpSocket;

namespace lmk {

class Exchange;

constexpr quint16 kDefaultPort = 55555;
constexpr int kKeepAliveMs = 30000;
// The receiver's host name on its own access point.
inline constexpr const char *kDefaultHost = "lmk5x.local";
// TCP_Client's connect has no time-out of its own in the protocol; the link
// still gives up after this long, so that nothing waits forever.
constexpr int kConnectLimitMs = 5000;
constexpr int kProbeMs = 500;
// After a request that went unanswered, the next one waits this long at
// most for the late reply (which is then dropped), so that it is never
// taken as the next request's answer.
constexpr int kLateReplyGraceMs = 1000;
// After an abort, the next request waits until the receiver has been quiet
// for this long (a frame may have been on its way).
constexpr int kQuietAfterAbortMs = 100;

class DeviceLink : public QObject {
    Q_OBJECT
public:
    explicit DeviceLink(QObject *parent = nullptr);
    ~DeviceLink() override;

    // Host and port of the receiver (LMK_HOST, LMK_PORT; defaults above).
    static QString configuredHost();
    static quint16 configuredPort();
    QString host() const { return m_host; }
    quint16 port() const { return m_port; }
    void setEndpoint(const QString &host, quint16 port);

    // --- transport state --------------------------------------------------
    bool usbOpen() const { return m_usbConnected != 0; }
    bool wlanChecked() const { return m_wlanChecked; } // CB_WLAN
    void setWlanChecked(bool on);
    QString usbDeviceText() const { return m_usbText; }   // EUSBDevice
    QString wlanDeviceText() const { return m_wlanText; } // EWLANDevice
    void setUsbDeviceText(const QString &t);
    void setWlanDeviceText(const QString &t);
    // Either transport available (the callers' own precondition check).
    bool hasTransport() const { return m_usbConnected != 0 || m_wlanChecked; }
    // Why the last USB open gave no connection (the library's loader).
    QString usbLibraryError() const { return m_usb.errorString(); }
    bool tcpConnected() const;
    // The local port of the WLAN connection (0 without one).
    quint16 tcpLocalPort() const;
    // Small sends (one-byte acknowledgements) go out at once.
    bool tcpLowDelay() const;

    // --- operations ---------------------------------------------------------
    // The operation that holds the link now ("" when none).
    QString runningOperation() const;
    bool exchangeRunning() const { return m_exchange != nullptr; }

    // Sends bytes that expect no answer of their own (a terminal line, the
    // access-point frame): over USB when it is open, else over WLAN when
    // checked, else nowhere. Refused (false) while an operation waits for
    // its replies, so that nothing can be taken for them.
    bool sendUnasked(const QByteArray &bytes);
    // The version request (12); the reply is shown in the top row.
    void requestVersion();
    // Terminal mode: frames nobody asked for are terminal text. Over USB
    // the receiver is told (0D 01 to enter, 0D 00 to leave).
    void setTerminalMode(bool on);
    bool terminalMode() const { return m_terminalMode; }

    // --- delivery -------------------------------------------------------------
    // Where WM_DEVICE_DATA is posted: the main window, or the link itself.
    void setEventTarget(QObject *target);
    QObject *eventTarget() const;
    // For the event target's event(): routes WM_DEVICE_DATA, accepts
    // WM_DEVICE_NOTIFY; false for every other event.
    bool handleDeviceEvent(QEvent *e);
    // One received payload, as a transport delivers it (fuzzing, tests).
    void deliverPayload(const QByteArray &payload, bool fromWlan);

    // --- connection -----------------------------------------------------------
    // USB: LMK_Open(...), loading the library on first use; nonzero = open.
    int openUsb();
    void closeUsb(); // LMK_Close
    // Tests without a USB library: the link believes a device is open (or not).
    void setUsbOpenForTest(bool open);
    // The WLAN probe ITCP_Client: name resolution and connect within `ms`.
    bool probeAccessPoint(int ms = kProbeMs);
    // Opens TCP_Client; a failure loses the connection. True when connected.
    bool openTcp();
    void closeTcp();
    // Start-up: probe, then open TCP_Client (accessPointNotFound() when the
    // probe fails).
    void startupWlan();
    // "Find USB Device": open the library again, ask for the version.
    void findUsbDevice();
    // "Find WLAN Connection": close, probe, connect, ask for the version.
    void findWlanConnection();
    // Close-time drain: read and drop while data comes within 100 ms.
    void drainWlan();

    // The window is closing: a running operation ends at once
    // (ShuttingDown), and from now on nothing goes out but the close steps.
    void beginShutdown();
    bool shuttingDown() const { return m_shutdown; }

    // Keep-alive (30000 ms after the last WLAN send).
    bool keepAliveActive() const { return m_keepAlive.isActive(); }
    int keepAliveInterval() const { return m_keepAlive.interval(); }
    // Tests only: a shorter keep-alive interval (the shipped one is 30 s).
    void setKeepAliveIntervalForTest(int ms);

signals:
    void wlanCheckedChanged(bool on);
    void usbDeviceTextChanged(const QString &text);
    void wlanDeviceTextChanged(const QString &text);
    // A frame nobody asked for while in terminal mode.
    void terminalText(const QByteArray &payload);
    // The WLAN connection failed ("LMK doesn't respond to WLAN!").
    void connectionLost();
    // The WLAN probe found no access point ("Access Point LMK5x not found!").
    void accessPointNotFound();
    // Tracing (lmkctl --trace): every request sent, every frame delivered.
    void requestSent(const QByteArray &bytes, const QString &transport);
    void frameDelivered(const QByteArray &payload);
    // Bytes nobody asked for were dropped (a late or unasked reply).
    void staleInputDropped(int bytes);

protected:
    bool event(QEvent *e) override;

private:
    friend class Exchange;
    static void deliverFromUsb(void *context, const unsigned char *payload, int length);
    void postPayload(QByteArray payload, bool fromWlan);
    void route(const quint8 *payload, int length, bool fromWlan, quint64 serial);
    void showVersion(const QString &text, bool toWlanField);
    // Socket reading: everything the socket holds, cut into frames.
    void readSocket();
    bool writeSocket(const QByteArray &bytes);
    void writeUsb(const QByteArray &bytes);
    // One send over the transport in use (SendToDevice).
    bool transmit(const QByteArray &bytes);
    void wlanFailed(); // TCP_ClientError
    void restartKeepAlive();
    void keepAliveTick();
    void sendKeepAlive();
    // For an exchange's first send.
    bool claim(Exchange *ex, QString *refusedBy);
    void release(Exchange *ex);
    void settleBeforeRequest();

    QString m_host;
    quint16 m_port = kDefaultPort;
    qint32 m_usbConnected = 0; // UsbConnected
    bool m_wlanChecked = false;
    bool m_terminalMode = false;
    QString m_usbText;
    QString m_wlanText;
    std::atomic<QObject *> m_target{nullptr};
    UsbLibrary m_usb;
    QTcpSocket *m_tcp = nullptr; // TCP_Client
    RxState m_rx;                // RxBuffer, RxCount, RxFrameLength
    QTimer m_keepAlive;          // Timer1
    int m_keepAliveMs = kKeepAliveMs;
    QElapsedTimer m_lastSend; // since the last WLAN send (keep-alive clock)
    bool m_shutdown = false;
    Exchange *m_exchange = nullptr;
    QElapsedTimer m_lastFrame; // since the last frame arrived
    QElapsedTimer m_settleClock; // since the last exchange ended unsettled
    bool m_replyOwed = false;    // its last request went unanswered
    bool m_quietNeeded = false;  // it was aborted
    // "Find WLAN Connection": its version reply is read as at most 12 bytes.
    bool m_versionFrameCut = false;
};

} // namespace lmk
