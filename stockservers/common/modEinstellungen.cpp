#include "stockservers/common/modEinstellungen.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include "foundation/modSkrivant.h"
#include "platform/vb/ErrorStyle.h"
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

LagerDatenbanken LagerDatenbankenLesen() {
  const QString abschnitt = QStringLiteral("LagerAnfrage");
  LagerDatenbanken db;
  db.Typ = GetSetting(abschnitt, QStringLiteral("Type"), QStringLiteral("MDB"));
  db.DBName = GetSetting(abschnitt, QStringLiteral("DBName"), QStringLiteral("C:\\Tarnelo\\Artikel.MDB"));
  db.DBNameDat = GetSetting(abschnitt, QStringLiteral("DBNameDat"));
  if (db.DBNameDat.isEmpty()) db.DBNameDat = vb::folderPart(db.DBName) + QStringLiteral("buch_dat.mdb");
  db.ODBC_Connect = GetSetting(
      abschnitt, QStringLiteral("ODBC_Connect"),
      QStringLiteral("ODBC;NETWORK=DBMSSOCN;DRIVER=SQL Server;SERVER=(local);DATABASE=tarnelo;Trusted_Connection=Yes"));
  return db;
}

QString SystemDbAnlegen() {
  const QString systemDb = GetLokalerPfad() + QStringLiteral("SYSTEM.MDW");
  vb::ignoreErrors([&] {
    QFile datei(vb::resolvePath(systemDb));
    if (!datei.exists() && datei.open(QIODevice::WriteOnly)) datei.close();
  });
  return systemDb;
}
