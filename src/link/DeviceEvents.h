#pragma once
// Main-window events of the device link.
//
// WM_DEVICE_DATA carries one frame's payload to OnDeviceData, on both
// transports the same way: the event owns a copy of the payload, so the
// receive buffer (the WLAN RxBuffer, the USB library's own) may change at
// once. Every event gets a serial number when it is made, so the link can
// tell a frame that came before a request from one that came after.

#include <QByteArray>
#include <QEvent>

#include <atomic>

namespace lmk {

constexpr int WM_APP = 0x8000;
constexpr QEvent::Type WM_DEVICE_NOTIFY = QEvent::Type(WM_APP + 1000); // 0x83E8, ignored
constexpr QEvent::Type WM_DEVICE_DATA = QEvent::Type(WM_APP + 1001);   // 0x83E9

// The serial number the next device event gets.
inline std::atomic<quint64> &deviceEventSerial() {
    static std::atomic<quint64> next{1};
    return next;
}

class DeviceDataEvent : public QEvent {
public:
    // fromWlan: cut from the WLAN byte stream (its version reply belongs in
    // the WLAN field).
    explicit DeviceDataEvent(QByteArray owned, bool fromWlan = false)
        : QEvent(WM_DEVICE_DATA), m_owned(std::move(owned)), m_fromWlan(fromWlan),
          m_serial(deviceEventSerial().fetch_add(1)) {}

    const quint8 *payload() const { return reinterpret_cast<const quint8 *>(m_owned.constData()); }
    int length() const { return int(m_owned.size()); }
    bool fromWlan() const { return m_fromWlan; }
    quint64 serial() const { return m_serial; }

private:
    QByteArray m_owned;
    bool m_fromWlan;
    quint64 m_serial;
};

} // namespace lmk
