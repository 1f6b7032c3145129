#pragma once
// The per-user settings store (QSettings) in a folder of the test's own for as long as the object
// lives, so a test neither reads nor changes the user's settings or another test's.
#include <QSettings>
#include <QStandardPaths>

#include "tests/support/TempDir.h"

namespace testsupport {

class SettingsSandbox {
 public:
  SettingsSandbox() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path()); }
  ~SettingsSandbox() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
  }

 private:
  TempDir m_dir;
};

}  // namespace testsupport
