#include "link/UsbLibrary.h"

#include <QtGlobal>

namespace lmk {

UsbLibrary::~UsbLibrary() { close(); }

QString UsbLibrary::configuredPath() { return qEnvironmentVariable("LMK_USB_LIBRARY"); }

bool UsbLibrary::load(const QString &path) {
    if (isLoaded())
        return true;
    if (path.isEmpty()) {
        m_error = QStringLiteral("no USB library configured (LMK_USB_LIBRARY is not set)");
        return false;
    }
    m_lib.setFileName(path);
    if (!m_lib.load()) {
        // The loader's own words: no such file, too short, not a library ...
        m_error = QStringLiteral("LMK_USB_LIBRARY %1: %2").arg(path, m_lib.errorString());
        return false;
    }
    auto open = reinterpret_cast<LMK_OpenFn>(m_lib.resolve("LMK_Open"));
    auto write = reinterpret_cast<LMK_WriteFn>(m_lib.resolve("LMK_Write"));
    auto close = reinterpret_cast<LMK_CloseFn>(m_lib.resolve("LMK_Close"));
    if (!open || !write || !close) {
        m_error = QStringLiteral("LMK_USB_LIBRARY %1 does not export LMK_Open, LMK_Write and "
                                 "LMK_Close")
                      .arg(path);
        m_lib.unload();
        return false;
    }
    m_open = open;
    m_write = write;
    m_close = close;
    return true;
}

int UsbLibrary::open(void *context, LMK_DeliverFn deliver) {
    if (!isLoaded())
        return 0;
    const int result = m_open(context, deliver);
    m_opened = true;
    if (result == 0)
        m_error = QStringLiteral("the USB library found no receiver");
    return result;
}

void UsbLibrary::write(const quint8 *data, int count) {
    if (!isLoaded() || count < 0)
        return;
    m_write(data, static_cast<unsigned short>(qMin(count, 0xFFFF)));
}

void UsbLibrary::close() {
    if (isLoaded() && m_opened)
        m_close();
    m_opened = false;
}

} // namespace lmk
