#include "platform/ui/GermanQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ui {

bool useGermanQt() {
  const QLocale german(QLocale::German, QLocale::Germany);
  QLocale::setDefault(german);
  // "qt" brings the translations of every Qt module installed, "qtbase" at least the widgets'.
  auto* translator = new QTranslator(QCoreApplication::instance());
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (translator->load(german, QStringLiteral("qt"), QStringLiteral("_"), folder) ||
      translator->load(german, QStringLiteral("qtbase"), QStringLiteral("_"), folder))
    return QCoreApplication::installTranslator(translator);
  delete translator;
  return false;
}

}  // namespace ui
