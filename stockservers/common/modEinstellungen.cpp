#include "stockservers/common/modEinstellungen.h"

#include <QSettings>
#include <QStandardPaths>

#include "platform/vb/PathResolver.h"

namespace {

QString schluessel(const QString& Section, const QString& Key) { return Section + QLatin1Char('/') + Key; }

}  // namespace

QString GetSetting(const QString& Section, const QString& Key, const QString& Default) {
  return QSettings(QStringLiteral("Tarnelo"), QStringLiteral("Tarnelo")).value(schluessel(Section, Key), Default).toString();
}

void SaveSetting(const QString& Section, const QString& Key, const QString& Setting) {
  QSettings s(QStringLiteral("Tarnelo"), QStringLiteral("Tarnelo"));
  s.setValue(schluessel(Section, Key), Setting);
  s.sync();
}

QString TarneloPfad(const QString& gespeichert) {
  static const QString kInstallation = QStringLiteral("C:\\Tarnelo\\");
  QString pfad = gespeichert.trimmed();
  if (pfad.startsWith(kInstallation, Qt::CaseInsensitive))
    pfad = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Tarnelo/") +
           pfad.mid(kInstallation.size());
  return vb::resolvePath(pfad);
}
