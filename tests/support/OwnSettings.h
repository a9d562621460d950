#pragma once
// The stored settings of this test process alone: a fresh configuration
// folder for its lifetime, so that tests running side by side never read
// or remove each other's stored choices (language, desktop style).

#include <QTemporaryDir>
#include <QtGlobal>

namespace lmk {

class OwnSettings {
  public:
    OwnSettings() { qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit()); }

  private:
    QTemporaryDir m_dir;
};

} // namespace lmk
