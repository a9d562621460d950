#pragma once
// The device link: SendToDevice over USB or WLAN, the WLAN receive loop, the
// delivery of every frame as one WM_DEVICE_DATA event, OnDeviceData with the
// shared reply state and the reply timer, discovery and keep-alive.
//
// The link knows nothing about pages: a feature registers for its frames in
// `handlers` (terminal text, scan replies, task lists, slot records). The
// window binds its top row (EUSBDevice, CB_WLAN, EWLANDevice) to the
// signals below and tells the link which page is shown.

#include "link/FrameExtractor.h"
#include "link/ReplyDispatcher.h"
#include "link/ReplyState.h"
#include "link/UsbLibrary.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <functional>

class QTcpSocket;

namespace lmk {

constexpr quint16 kDefaultPort = 55555;
constexpr int kKeepAliveMs = 30000;
// The receiver's host name on its own access point.
inline constexpr const char *kDefaultHost = "lmk5x.local";
// TCP_Client's connect has no time-out of its own in the protocol; the link
// still gives up after this long, so that nothing waits forever.
constexpr int kConnectLimitMs = 5000;
constexpr int kProbeMs = 500;

class DeviceLink : public QObject, public ReplyState, public RxState {
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

    // --- transport state ------------------------------------------------
    qint32 UsbConnected = 0;
    QTimer Timer;  // reply timer (TimerTimer), disabled at start
    QTimer Timer1; // WLAN keep-alive (Timer1Timer), 30000 ms, enabled
    QTcpSocket *TCP_Client = nullptr;

    bool wlanChecked() const { return m_wlanChecked; } // CB_WLAN
    void setWlanChecked(bool on);
    QString usbDeviceText() const { return m_usbText; }   // EUSBDevice
    QString wlanDeviceText() const { return m_wlanText; } // EWLANDevice
    void setUsbDeviceText(const QString &t);
    void setWlanDeviceText(const QString &t);
    // Index of the shown tab among the visible ones (2 = "USB Terminal").
    int pageShown = kPageUpdate;
    // Either transport available (the callers' own precondition check).
    bool hasTransport() const { return UsbConnected != 0 || m_wlanChecked; }
    // Why the last USB open gave no connection (the library's loader).
    QString usbLibraryError() const { return m_usb.errorString(); }
    bool tcpConnected() const;

    // Frame hand-offs to the features.
    ReplyHandlers handlers;

    // Where WM_DEVICE_DATA is posted: the main window, or the link itself.
    void setEventTarget(QObject *target);
    QObject *eventTarget() const;
    // For the event target's event(): runs OnDeviceData for WM_DEVICE_DATA,
    // accepts WM_DEVICE_NOTIFY; false for every other event.
    bool handleDeviceEvent(QEvent *e);

    // --- sending ----------------------------------------------------------
    void SendToDevice(const quint8 *data, int count);
    void SendToDevice(const QByteArray &bytes);
    // LMK_Write directly, bypassing SendToDevice (MI_USB, page change).
    void usbWrite(const QByteArray &bytes);
    // One socket send directly, without SendToDevice (MI_WLAN, keep-alive).
    bool tcpWrite(const QByteArray &bytes);

    // --- receiving ----------------------------------------------------------
    void OnDeviceData(const quint8 *payload, int length);
    // The WLAN receive loop of SendToDevice without a send: for a requester
    // whose wait is still open after SendToDevice returned on a frame that
    // decided nothing. Returns like SendToDevice's loop.
    void receiveWhileAwaiting();
    // A requester's wait for its reply: blocks while `waiting` holds. Over
    // WLAN the socket is read meanwhile, frame by frame, so a frame that
    // decides nothing (only 02 or C0 words) does not leave the reply unread
    // in the socket; frames already held are delivered first. Over USB the
    // frames come as events. A closed socket ends the reading at once; the
    // wait then goes on until the reply timer, an abort or a shutdown ends it.
    void waitForReply(const std::function<bool()> &waiting);

    // --- reply timer ------------------------------------------------------
    void startReplyTimer(int ms); // disable, set the interval, enable
    void stopReplyTimer();
    void TimerTimer();

    // --- connection ---------------------------------------------------------
    // USB: UsbConnected := LMK_Open(...), loading the library on first use.
    int openUsb();
    void closeUsb(); // LMK_Close
    // The WLAN probe ITCP_Client: name resolution and connect within `ms`.
    bool probeAccessPoint(int ms = kProbeMs);
    // Opens TCP_Client; a failure runs TCP_ClientError. True when connected.
    bool openTcp();
    void closeTcp();
    // Waits up to `ms` for data on TCP_Client; false on a closed socket.
    bool waitForData(int ms);
    // The same, ended early (false) as soon as `still` no longer holds.
    bool waitForData(int ms, const std::function<bool()> &still);
    // Receives up to `max` bytes at RxBuffer + offset; -1 runs TCP_ClientError.
    int receiveInto(int offset, int max);
    // Socket error event of TCP_Client.
    void TCP_ClientError();

    // Start-up step 1: probe, then open TCP_Client; "Access Point LMK5x not
    // found!" when the probe fails.
    void startupWlan();
    void MI_USBClick();
    void MI_WLANClick();
    void Timer1Timer();
    void restartKeepAlive();
    // Close-time drain: read and discard while data comes within 100 ms.
    void drainWlan();
    // Called as an operation is about to send its first request: over WLAN,
    // whatever the receiver sent before it (a late answer to a request that
    // timed out, an answer nobody waited for) cannot be the answer to this
    // one and is dropped. Returns the number of WLAN bytes dropped. Over
    // USB the frames not yet handled are dropped, except on the terminal
    // page, where they are the receiver's text.
    int discardStaleInput();

    // The window is closing: every open wait ends at once (AwaitingReply,
    // ScanActive cleared, reply timer and keep-alive stopped), and from now
    // on nothing goes out through SendToDevice or the keep-alive, so that
    // operations unwinding below the close send nothing and show nothing.
    // The close steps themselves (terminal mode off over USB, drain, close)
    // still run.
    void beginShutdown();
    bool shuttingDown() const { return m_shutdown; }

    // Tests only: a shorter keep-alive interval (the shipped one is 30 s).
    void setKeepAliveIntervalForTest(int ms);

signals:
    void wlanCheckedChanged(bool on);
    void usbDeviceTextChanged(const QString &text);
    void wlanDeviceTextChanged(const QString &text);
    // Tracing (lmkctl --trace): every request sent, every frame delivered.
    void requestSent(const QByteArray &bytes, const QString &transport);
    void frameDelivered(const QByteArray &payload);
    // discardStaleInput() dropped bytes that came before a request.
    void staleInputDropped(int bytes);

protected:
    bool event(QEvent *e) override;

private:
    static void deliverFromUsb(void *context, const unsigned char *payload, int length);
    void receiveLoop(bool &cont);
    void receiveWhile(const std::function<bool()> &waiting);
    void postFrame(const quint8 *payload, int length);
    // One read on TCP_Client; a failure (the peer's close included) runs
    // TCP_ClientError and yields -1.
    qint64 socketRead(char *into, qint64 max);
    void keepAliveTick();

    QString m_host;
    quint16 m_port = kDefaultPort;
    bool m_wlanChecked = false;
    QString m_usbText;
    QString m_wlanText;
    std::atomic<QObject *> m_target{nullptr};
    UsbLibrary m_usb;
    int m_keepAliveMs = kKeepAliveMs;
    bool m_readable = false; // readyRead seen since the last read
    bool m_shutdown = false;
    QElapsedTimer m_lastSend; // since the last WLAN send (keep-alive clock)
};

} // namespace lmk
