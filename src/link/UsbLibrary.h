#pragma once
// Run-time binding to the USB library (see lmk_usb_api.h). The library's
// path comes from LMK_USB_LIBRARY; without it, or when it cannot be loaded,
// open() yields 0 and the program works over WLAN only.

#include "link/lmk_usb_api.h"

#include <QLibrary>
#include <QString>

namespace lmk {

class UsbLibrary {
public:
    UsbLibrary() = default;
    ~UsbLibrary();
    UsbLibrary(const UsbLibrary &) = delete;
    UsbLibrary &operator=(const UsbLibrary &) = delete;

    // Path from the environment (LMK_USB_LIBRARY), empty when unset.
    static QString configuredPath();

    bool load(const QString &path);
    bool isLoaded() const { return m_open != nullptr; }
    QString errorString() const { return m_error; }

    int open(void *context, LMK_DeliverFn deliver);
    void write(const quint8 *data, int count);
    void close();

private:
    QLibrary m_lib;
    LMK_OpenFn m_open = nullptr;
    LMK_WriteFn m_write = nullptr;
    LMK_CloseFn m_close = nullptr;
    QString m_error;
    bool m_opened = false;
};

} // namespace lmk
