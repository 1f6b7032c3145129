#pragma once
// A hand-over database as a bad sector or a torn write on a shared folder leaves it: a real
// SQLite file made from schema/, with the empty SYSTEM.MDW beside it, `zeilen` positions in
// PrintInputTabelle and one leaf page of that table, amid its rows in key order, zeroed.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "schema/HostSchema.h"

namespace testsupport {

// Empty when the file is made, else why not.
inline QString beschaedigteUebergabe(const QString& datei, int zeilen = 400) {
  QString fehler;
  if (!schema::createHostDatabase(datei, &fehler)) return fehler;
  QFile(QFileInfo(datei).dir().filePath(QStringLiteral("SYSTEM.MDW"))).open(QIODevice::Append);
  qint64 groesse = 0, seite = 0;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), datei);
    db.setDatabaseName(datei);
    QSqlQuery q(db);
    const QString blaetter = QStringLiteral("FROM dbstat WHERE name = 'PrintInputTabelle' AND pagetype = 'leaf'");
    if (db.open() &&
        q.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) INSERT INTO "
                              "PrintInputTabelle (Feld1, Menge, Bezeichnung, EP, MWSTArt, MwStSatz) SELECT i, 1 + i % 3, "
                              "'Artikel ' || i || ' mit einer Bezeichnung über die Zeile', 2.5 * i, 1, 0.19 FROM n")
                   .arg(zeilen)) &&
        q.exec(QStringLiteral("SELECT page_size, pageno FROM pragma_page_size, (SELECT pageno %1 ORDER BY path LIMIT 1 "
                              "OFFSET (SELECT COUNT(*) / 2 %1))")
                   .arg(blaetter)) &&
        q.next()) {
      groesse = q.value(0).toLongLong();
      seite = q.value(1).toLongLong();
    } else {
      fehler = db.lastError().text() + q.lastError().text();
    }
  }
  QSqlDatabase::removeDatabase(datei);
  QFile f(datei);
  if (fehler.isEmpty() && !(f.open(QIODevice::ReadWrite) && f.seek((seite - 1) * groesse) &&
                            f.write(QByteArray(groesse, '\0')) == groesse && f.flush()))
    fehler = f.errorString();
  return fehler;
}

}  // namespace testsupport
