#pragma once
// The few choices the window remembers between runs (language, look), in
// lmkinterface/lmkinterface.conf under the user's configuration folder
// ($XDG_CONFIG_HOME on Linux; tests switch QStandardPaths to its test mode).

#include <QSettings>
#include <memory>

namespace lmk {

std::unique_ptr<QSettings> appSettings();

} // namespace lmk
