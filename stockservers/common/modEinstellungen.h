#pragma once
// The per-user settings of both stock servers: the platform's settings store of application
// "Tarnelo" (QSettings, the XDG config folder), sections "LagerAnfrage" and "LagerServer". Values
// are texts; a key that is missing reads as the caller's default and nothing is written back on
// reading.
//
// Stored paths are Windows paths. The Windows install folder "C:\Tarnelo\" (the default of
// "DBName" is "C:\Tarnelo\Artikel.MDB") stands for the per-user data folder "Tarnelo" here
// (~/.local/share/Tarnelo); every other path is resolved as the run time resolves stored paths.
#include <QString>

QString GetSetting(const QString& Section, const QString& Key, const QString& Default = {});
void SaveSetting(const QString& Section, const QString& Key, const QString& Setting);

// The real file behind a stored path of the settings.
QString TarneloPfad(const QString& gespeichert);

// Where the stock data lie, from section "LagerAnfrage": "Type" ("MDB" or "SQL-Server"), the
// article file "DBName", the file "DBNameDat" (by default "buch_dat.mdb" in DBName's folder) and
// "ODBC_Connect", each with the servers' default.
struct LagerDatenbanken {
  QString Typ;
  QString DBName;
  QString DBNameDat;
  QString ODBC_Connect;
};
LagerDatenbanken LagerDatenbankenLesen();

// The Jet road asks for an existing workgroup file; its content is never read. "SYSTEM.MDW" in
// the local folder, made empty where it is missing; its path as the connection names it.
QString SystemDbAnlegen();
