#pragma once
// The one place that decides the system's locale: German, whatever LANG says. Formats, CStr of
// numbers and CDbl of text ask here.
#include <QChar>
#include <QLocale>

namespace vb {

const QLocale& systemLocale();
QChar decimalSeparator();   // ','
QChar groupSeparator();     // '.'

// Tests switch to an English locale to show that the setting, not LANG, decides.
void setSystemLocaleForTesting(const QLocale& locale);

}  // namespace vb
