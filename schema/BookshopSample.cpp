#include "schema/BookshopSample.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>

#include "schema/BookshopSchema.h"
#include "schema/SqlScript.h"

namespace schema {

namespace {

const QStringList kArtikelRows = {
    QStringLiteral("INSERT INTO Artikel (Artikelident, ISBN, Matchcode, Bestand, EigeneArtikelNummer, Warengruppe) "
                   "VALUES (1001, '9783446234567', 'Stadt der Bücher', 5, NULL, 'Roman'), "
                   "(1002, '3499227444', 'Das Parfum', 2, NULL, 'Roman'), "
                   "(1003, '9791000000015', 'Notenheft', NULL, NULL, 'Musik'), "
                   "(1004, NULL, 'Geschenkpapier', 7, 'A0004711', 'Non-Book'), "
                   "(1005, '4006381333931', 'Textmarker', 12, NULL, 'Non-Book')"),
    QStringLiteral("INSERT INTO [Artikel Einkauf] (Artikelident, LieferantNr, TitelNr) "
                   "VALUES (1002, 70001, 'LB123456'), (1002, 70002, 'KN98765')"),
    QStringLiteral("INSERT INTO Artikel_LieferantBestellungen (VorgangNr, Status, LieferantNr) "
                   "VALUES (501, 'BE', 70001), (502, 'AO', 70002), (503, 'GE', 70001)"),
    QStringLiteral("INSERT INTO Artikel_LieferantBestellungen_Details (VorgangNr, Artikelident, Menge) "
                   "VALUES (501, 1001, 3), (501, 1002, 4), (502, 1001, 2), (502, 1005, 6), (503, 1001, 10)"),
    QStringLiteral("INSERT INTO Artikel_KundenReservierung_Details (Artikelident, MengeBestellt, MengeZugewiesen) "
                   "VALUES (1001, 2, 1), (1001, 1, 0), (1003, 1, 1)"),
    QStringLiteral("INSERT INTO Artikel_Filialen (FilialNr, Bezeichnung) VALUES (1, 'Hauptstelle'), (2, 'Nord')"),
    QStringLiteral("INSERT INTO Artikel_Filialbestände (FilialNr, ISBN, Bestand, Reserviert, Bestellt, LetztUpdate) "
                   "VALUES (1, '9783446234567', 4, 0, 0, '20261201083000'), "
                   "(1, 'EA0004711', 2, 0, 0, '20261201083000'), "
                   "(2, '344623456X', 1, 1, 0, '20261202091500'), "
                   "(2, '3499227444', 3, 0, 2, '20261202091500')"),
    QStringLiteral("INSERT INTO Artikel_geändert (Artikelident, updated, gelöscht, ISBN) "
                   "VALUES (1001, 0, 0, NULL), (1004, 0, 0, NULL)"),
};

const QStringList kDatenRows = {
    QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('LibriAdressNr', '70001'), "
                   "('KNOAdressNr', '70002'), ('KOEAdressNr', '70003'), ('UmbreitAdressNr', '70004')"),
};

constexpr int kErsterArtikel = 100000;
constexpr int kHoechstensArtikel = 10000000;

// Runs `sql` once for each n = 1 .. count with the values `werte(n)`; empty values skip n.
bool zeilenSchreiben(QSqlDatabase& db, const QString& sql, int count, const std::function<QVariantList(int)>& werte,
                     QString* error) {
  QSqlQuery q(db);
  if (!q.prepare(sql)) {
    if (error) *error = q.lastError().text();
    return false;
  }
  for (int n = 1; n <= count; ++n) {
    const QVariantList v = werte(n);
    if (v.isEmpty()) continue;
    for (int i = 0; i < v.size(); ++i) q.bindValue(i, v.at(i));
    if (!q.exec()) {
      if (error) *error = q.lastError().text() + QStringLiteral(" (") + sql + QLatin1Char(')');
      return false;
    }
  }
  return true;
}

QString achtStellen(int n) { return QStringLiteral("%1").arg(n, 8, 10, QLatin1Char('0')); }

bool artikelErzeugen(const QString& datei, int count, QString* error) {
  const QString name = QStringLiteral("skrivant-sample-rows");
  bool ok = false;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(datei);
    if (!db.open()) {
      if (error) *error = db.lastError().text();
    } else {
      db.transaction();
      const auto isbn = [](int n) { return n % 2 ? sampleIsbn10(n) : sampleEan(n); };
      ok = zeilenSchreiben(db, QStringLiteral("INSERT INTO Artikel (Artikelident, ISBN, Matchcode, Bestand, Warengruppe) "
                                              "VALUES (?, ?, ?, ?, 'Roman')"),
                           count,
                           [&](int n) {
                             return QVariantList{kErsterArtikel + n, isbn(n), QStringLiteral("Titel %1").arg(n), n % 23};
                           },
                           error) &&
           zeilenSchreiben(db, QStringLiteral("INSERT INTO [Artikel Einkauf] (Artikelident, LieferantNr, TitelNr) VALUES (?, ?, ?)"),
                           count, [](int n) { return QVariantList{kErsterArtikel + n, 70001, QStringLiteral("LB") + achtStellen(n)}; },
                           error) &&
           zeilenSchreiben(db, QStringLiteral("INSERT INTO [Artikel Einkauf] (Artikelident, LieferantNr, TitelNr) VALUES (?, ?, ?)"),
                           count,
                           [](int n) {
                             return n % 2 ? QVariantList{} : QVariantList{kErsterArtikel + n, 70002, QStringLiteral("KN") + achtStellen(n)};
                           },
                           error) &&
           zeilenSchreiben(db, QStringLiteral("INSERT INTO Artikel_LieferantBestellungen (VorgangNr, Status, LieferantNr) VALUES (?, ?, 70001)"),
                           count / 500 + 1,
                           [](int k) {
                             static const QStringList status = {QStringLiteral("BE"), QStringLiteral("AO"), QStringLiteral("GE")};
                             return QVariantList{kErsterArtikel + k, status.at(k % 3)};
                           },
                           error) &&
           zeilenSchreiben(db, QStringLiteral("INSERT INTO Artikel_LieferantBestellungen_Details (VorgangNr, Artikelident, Menge) VALUES (?, ?, ?)"),
                           count,
                           [](int n) {
                             return n % 10 ? QVariantList{} : QVariantList{kErsterArtikel + n / 500 + 1, kErsterArtikel + n, n % 7 + 1};
                           },
                           error) &&
           zeilenSchreiben(db, QStringLiteral("INSERT INTO Artikel_KundenReservierung_Details (Artikelident, MengeBestellt, MengeZugewiesen) "
                                              "VALUES (?, 2, 1)"),
                           count, [](int n) { return n % 20 ? QVariantList{} : QVariantList{kErsterArtikel + n}; }, error) &&
           zeilenSchreiben(db, QStringLiteral("INSERT INTO Artikel_Filialbestände (FilialNr, ISBN, Bestand, Reserviert, Bestellt, LetztUpdate) "
                                              "VALUES (?, ?, ?, 0, 0, '20261201083000')"),
                           count, [&](int n) { return QVariantList{1, isbn(n), n % 5}; }, error) &&
           zeilenSchreiben(db, QStringLiteral("INSERT INTO Artikel_Filialbestände (FilialNr, ISBN, Bestand, Reserviert, Bestellt, LetztUpdate) "
                                              "VALUES (?, ?, ?, 0, 0, '20261202091500')"),
                           count, [&](int n) { return n % 3 ? QVariantList{} : QVariantList{2, isbn(n), n % 4}; }, error);
      if (ok) ok = db.commit();
      if (!ok) {
        if (error && error->isEmpty()) *error = db.lastError().text();
        db.rollback();
      }
      db.close();
    }
  }
  QSqlDatabase::removeDatabase(name);
  return ok;
}

}  // namespace

QStringList sampleArtikelRows() { return kArtikelRows; }
QStringList sampleDatenRows() { return kDatenRows; }

QString sampleIsbn10(int n) {
  const QString rumpf = QStringLiteral("3") + achtStellen(n);
  int summe = 0;
  for (int i = 0; i < 9; ++i) summe += (10 - i) * rumpf.at(i).digitValue();
  const int pruef = (11 - summe % 11) % 11;
  return rumpf + (pruef == 10 ? QStringLiteral("X") : QString::number(pruef));
}

QString sampleEan(int n) {
  const QString rumpf = QStringLiteral("9783") + achtStellen(n);
  int summe = 0;
  for (int i = 0; i < 12; ++i) summe += rumpf.at(i).digitValue() * (i % 2 ? 3 : 1);
  return rumpf + QString::number((10 - summe % 10) % 10);
}

bool createBookshopSample(const QString& folder, QString* error, int anzahl) {
  if (anzahl < 0 || anzahl > kHoechstensArtikel) {
    if (error) *error = QStringLiteral("article count %1 out of range 0 .. %2").arg(anzahl).arg(kHoechstensArtikel);
    return false;
  }
  const QString artikel = QDir(folder).filePath(kSampleArtikelDatei);
  const QString daten = QDir(folder).filePath(kSampleDatenDatei);
  for (const QString& file : {artikel, daten}) {
    if (QFileInfo::exists(file)) {
      if (error) *error = QStringLiteral("%1 exists already").arg(file);
      return false;
    }
  }
  return runScript(artikel, bookshopStatements() + kArtikelRows, error) &&
         runScript(daten, bookshopStatements() + kDatenRows, error) &&
         (anzahl == 0 || artikelErzeugen(artikel, anzahl, error));
}

}  // namespace schema
