#pragma once
// Helpers shared by the run-time tests: the error number a call raises, and a guard that puts the
// process into another C library locale, Qt default locale or system locale and back.
#include <QByteArray>
#include <QLocale>
#include <clocale>
#include <functional>
#include <string>

#include "platform/vb/Locale.h"
#include "platform/vb/VbError.h"
#include "tests/support/ErrorOf.h"

namespace vbtest {

using testsupport::errorOf;

// Restores the C library locale, Qt's default locale and the run time's locale on destruction.
class LocaleGuard {
 public:
  LocaleGuard() : m_c(std::setlocale(LC_ALL, nullptr)), m_qt(QLocale()), m_system(vb::systemLocale()) {}
  ~LocaleGuard() {
    std::setlocale(LC_ALL, m_c.c_str());
    QLocale::setDefault(m_qt);
    vb::setSystemLocaleForTesting(m_system);
  }
  LocaleGuard(const LocaleGuard&) = delete;
  LocaleGuard& operator=(const LocaleGuard&) = delete;

  // False when the C library does not know the locale.
  static bool setCLocale(const char* name) { return std::setlocale(LC_ALL, name) != nullptr; }

 private:
  std::string m_c;
  QLocale m_qt;
  QLocale m_system;
};

}  // namespace vbtest
