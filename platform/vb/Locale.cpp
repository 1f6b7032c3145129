#include "platform/vb/Locale.h"

namespace vb {

namespace {
QLocale& current() {
  static QLocale locale(QLocale::German, QLocale::Germany);
  return locale;
}
}  // namespace

const QLocale& systemLocale() { return current(); }
QChar decimalSeparator() { return current().decimalPoint().at(0); }
QChar groupSeparator() { return current().groupSeparator().at(0); }
void setSystemLocaleForTesting(const QLocale& locale) { current() = locale; }

}  // namespace vb
