#pragma once
// A hand-over database as a bad sector or a torn write on a shared folder leaves it: a real
// SQLite file made from schema/, with the empty SYSTEM.MDW beside it, `zeilen` positions in
// PrintInputTabelle and one leaf page of that table, amid its rows, zeroed. Every read of the
// table in LongKey order meets the damage after its first rows.
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
  QFile mdw(QFileInfo(datei).dir().filePath(QStringLiteral("SYSTEM.MDW")));
  if (!mdw.exists() && !mdw.open(QIODevice::WriteOnly)) return mdw.errorString();
  qint64 seite = 0;
  qint64 groesse = 0;
  const QString name = QStringLiteral("beschaedigte-uebergabe");
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(datei);
    QSqlQuery q(db);
    const auto ausfuehren = [&](const QString& sql, const QVariantList& werte = {}) {
      if (!fehler.isEmpty()) return false;
      q.prepare(sql);
      for (const QVariant& w : werte) q.addBindValue(w);
      if (!q.exec()) fehler = q.lastError().text() + QStringLiteral(" in ") + sql;
      return fehler.isEmpty();
    };
    if (!db.open()) fehler = db.lastError().text();
    ausfuehren(QStringLiteral("BEGIN"));
    for (int i = 1; i <= zeilen; ++i)
      ausfuehren(QStringLiteral("INSERT INTO PrintInputTabelle (Feld1, Menge, Bezeichnung, EP, MWSTArt, MwStSatz) "
                                "VALUES (?, ?, ?, ?, 1, 0.19)"),
                 {QString::number(i), 1 + i % 3, QStringLiteral("Artikel %1 mit einer Bezeichnung über die Zeile").arg(i),
                  2.5 * i});
    ausfuehren(QStringLiteral("COMMIT"));
    if (ausfuehren(QStringLiteral("PRAGMA page_size")) && q.next()) groesse = q.value(0).toLongLong();
    // The table's leaves in the order of their keys (SQLite's dbstat table).
    QList<qint64> blaetter;
    if (ausfuehren(QStringLiteral("SELECT pageno FROM dbstat WHERE name = 'PrintInputTabelle' AND pagetype = 'leaf' "
                                  "ORDER BY path")))
      while (q.next()) blaetter << q.value(0).toLongLong();
    if (fehler.isEmpty() && blaetter.size() < 3)
      fehler = QStringLiteral("%1 leaf pages: too few rows to damage one amid them").arg(blaetter.size());
    if (fehler.isEmpty()) seite = blaetter[blaetter.size() / 2];
    q = QSqlQuery();
    db.close();
  }
  QSqlDatabase::removeDatabase(name);
  if (!fehler.isEmpty()) return fehler;
  QFile f(datei);
  if (!f.open(QIODevice::ReadWrite) || !f.seek((seite - 1) * groesse) ||
      f.write(QByteArray(static_cast<int>(groesse), '\0')) != groesse || !f.flush())
    return f.errorString();
  return {};
}

}  // namespace testsupport
