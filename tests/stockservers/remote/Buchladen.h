#pragma once
// The ground of the TarneloDCOM tests: per-user folders (settings, data, runtime) of the test
// program's own, set before the private session bus starts so the servers it starts use them
// too, and a fresh sample bookshop per test that the settings point at.
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include "schema/BookshopSample.h"
#include "stockservers/common/modEinstellungen.h"
#include "tests/support/TempDir.h"

namespace buchladen {

inline void umgebung() {
  static QTemporaryDir dir;
  static const bool gesetzt = [] {
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
      const QString pfad = dir.filePath(QString::fromLatin1(name));
      QDir().mkpath(pfad);
      QFile::setPermissions(pfad, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
      qputenv(name, pfad.toLocal8Bit());
    }
    return true;
  }();
  (void)gesetzt;
}

// The sample in a folder of its own; every setting back to the sample's.
struct Beispiel {
  testsupport::TempDir dir;
  QString ordner;

  explicit Beispiel(const QString& unterordner = QStringLiteral("Laden")) {
    umgebung();
    ordner = dir.file(unterordner);
    QString fehler;
    ok = schema::createBookshopSample(ordner, &fehler);
    this->fehler = fehler.toStdString();
    SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("Type"), QStringLiteral("MDB"));
    SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("DBName"), ordner + QStringLiteral("/Artikel.MDB"));
    SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("DBNameDat"), QString());
    for (const char* option : {"SelectBestellte", "SelectReservierte", "SelectFilialen"})
      SaveSetting(QStringLiteral("LagerServer"), QString::fromLatin1(option), QStringLiteral("1"));
  }
  QString artikel() const { return ordner + QStringLiteral("/Artikel.MDB"); }
  QString daten() const { return ordner + QStringLiteral("/buch_dat.mdb"); }

  bool ok = false;
  std::string fehler;
};

// A client record of `anzahl` fields with the article number in field 3 and the title numbers
// in fields 40 and 41.
inline QString satz(const QString& nummer, const QString& f40 = {}, const QString& f41 = {}, int anzahl = 85) {
  QStringList felder(anzahl);
  felder[0] = QStringLiteral("K1");
  if (anzahl > 2) felder[2] = nummer;
  if (anzahl > 39) felder[39] = f40;
  if (anzahl > 40) felder[40] = f41;
  return felder.join(QLatin1Char('|'));
}

// Field `nummer` (counted from 1) of a record.
inline QString feld(const QString& satz, int nummer) { return satz.split(QLatin1Char('|')).value(nummer - 1); }

}  // namespace buchladen
