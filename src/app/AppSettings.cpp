#include "app/AppSettings.h"

#include <QStandardPaths>

namespace lmk {

std::unique_ptr<QSettings> appSettings() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return std::make_unique<QSettings>(folder + QStringLiteral("/lmkinterface/lmkinterface.conf"),
                                       QSettings::IniFormat);
}

} // namespace lmk
