#pragma once
// Main-window events of the device link.
//
// WM_DEVICE_DATA carries one frame's payload to OnDeviceData. A WLAN frame
// points into the link's RxBuffer (valid only while the event is handled);
// a USB frame owns a copy of the payload, so the library's buffer may change
// at once.

#include <QByteArray>
#include <QEvent>

namespace lmk {

constexpr int WM_APP = 0x8000;
constexpr QEvent::Type WM_DEVICE_NOTIFY = QEvent::Type(WM_APP + 1000); // 0x83E8, ignored
constexpr QEvent::Type WM_DEVICE_DATA = QEvent::Type(WM_APP + 1001);   // 0x83E9

class DeviceDataEvent : public QEvent {
public:
    // Points into a buffer owned by someone else (the WLAN receive buffer).
    DeviceDataEvent(const quint8 *payload, int length)
        : QEvent(WM_DEVICE_DATA), m_payload(payload), m_length(length) {}
    // Owns its payload (frames delivered by the USB library).
    explicit DeviceDataEvent(QByteArray owned)
        : QEvent(WM_DEVICE_DATA), m_owned(std::move(owned)),
          m_payload(reinterpret_cast<const quint8 *>(m_owned.constData())),
          m_length(int(m_owned.size())) {}

    const quint8 *payload() const { return m_payload; }
    int length() const { return m_length; }

private:
    QByteArray m_owned;
    const quint8 *m_payload;
    int m_length;
};

} // namespace lmk
