#include "schema/BookshopSample.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <functional>

#include "platform/data/Connection.h"
#include "platform/vb/VbError.h"
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
// Values bound in one INSERT of many rows: fewer round trips to a server, and well below every
// database's limit of parameters.
constexpr int kWerteJeAnweisung = 1000;

QString achtStellen(int n) { return QStringLiteral("%1").arg(n, 8, 10, QLatin1Char('0')); }

bool anzahlPasst(int anzahl, QString* error) {
  if (anzahl >= 0 && anzahl <= kHoechstensArtikel) return true;
  if (error) *error = QStringLiteral("article count %1 out of range 0 .. %2").arg(anzahl).arg(kHoechstensArtikel);
  return false;
}

// The generated rows of one table: row n = 1 .. anzahl has the values werte(n), an empty list
// none. The one definition of the generated bookshop, for the SQLite file and the servers alike.
struct Erzeugt {
  QString tabelle;  // as bookshop.sql names it
  QStringList spalten;
  int anzahl;
  std::function<QVariantList(int)> werte;
};

QList<Erzeugt> erzeugteTabellen(int count) {
  const auto isbn = [](int n) { return n % 2 ? sampleIsbn10(n) : sampleEan(n); };
  const auto s = [](const char* text) { return QString::fromUtf8(text); };
  return {
      {s("Artikel"), {s("Artikelident"), s("ISBN"), s("Matchcode"), s("Bestand"), s("Warengruppe")}, count,
       [=](int n) {
         return QVariantList{kErsterArtikel + n, isbn(n), QStringLiteral("Titel %1").arg(n), n % 23, s("Roman")};
       }},
      {s("[Artikel Einkauf]"), {s("Artikelident"), s("LieferantNr"), s("TitelNr")}, count,
       [](int n) { return QVariantList{kErsterArtikel + n, 70001, QStringLiteral("LB") + achtStellen(n)}; }},
      {s("[Artikel Einkauf]"), {s("Artikelident"), s("LieferantNr"), s("TitelNr")}, count,
       [](int n) {
         return n % 2 ? QVariantList{} : QVariantList{kErsterArtikel + n, 70002, QStringLiteral("KN") + achtStellen(n)};
       }},
      {s("Artikel_LieferantBestellungen"), {s("VorgangNr"), s("Status"), s("LieferantNr")}, count / 500 + 1,
       [](int k) {
         static const QStringList status = {QStringLiteral("BE"), QStringLiteral("AO"), QStringLiteral("GE")};
         return QVariantList{kErsterArtikel + k, status.at(k % 3), 70001};
       }},
      {s("Artikel_LieferantBestellungen_Details"), {s("VorgangNr"), s("Artikelident"), s("Menge")}, count,
       [](int n) {
         return n % 10 ? QVariantList{} : QVariantList{kErsterArtikel + n / 500 + 1, kErsterArtikel + n, n % 7 + 1};
       }},
      {s("Artikel_KundenReservierung_Details"), {s("Artikelident"), s("MengeBestellt"), s("MengeZugewiesen")}, count,
       [](int n) { return n % 20 ? QVariantList{} : QVariantList{kErsterArtikel + n, 2, 1}; }},
      {s("Artikel_Filialbestände"), {s("FilialNr"), s("ISBN"), s("Bestand"), s("Reserviert"), s("Bestellt"), s("LetztUpdate")},
       count, [=](int n) { return QVariantList{1, isbn(n), n % 5, 0, 0, s("20261201083000")}; }},
      {s("Artikel_Filialbestände"), {s("FilialNr"), s("ISBN"), s("Bestand"), s("Reserviert"), s("Bestellt"), s("LetztUpdate")},
       count, [=](int n) { return n % 3 ? QVariantList{} : QVariantList{2, isbn(n), n % 4, 0, 0, s("20261202091500")}; }},
  };
}

// Writes the rows of `t`, many to a statement, on `db` of `dialect`.
bool zeilenSchreiben(QSqlDatabase& db, const data::Dialect& dialect, const Erzeugt& t, QString* error) {
  const int spalten = int(t.spalten.size());
  const int jeAnweisung = std::max(1, kWerteJeAnweisung / spalten);
  const QString zeile = QLatin1Char('(') + QStringList(spalten, QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')');
  const auto sql = [&](int zeilen) {
    return dialect.statement(QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(t.tabelle, t.spalten.join(QLatin1Char(','))) +
                             QStringList(zeilen, zeile).join(QLatin1Char(',')));
  };
  QSqlQuery voll(db);
  QVariantList werte;
  const auto ausfuehren = [&](QSqlQuery& q, const QString& text, bool vorbereiten) {
    if (vorbereiten && !q.prepare(text)) {
      if (error) *error = q.lastError().text() + QStringLiteral(" (") + t.tabelle + QLatin1Char(')');
      return false;
    }
    for (int i = 0; i < werte.size(); ++i) q.bindValue(i, dialect.bindValue(werte.at(i)));
    werte.clear();
    if (q.exec()) return true;
    if (error) *error = q.lastError().text() + QStringLiteral(" (") + t.tabelle + QLatin1Char(')');
    return false;
  };
  bool vorbereitet = false;
  for (int n = 1; n <= t.anzahl; ++n) {
    werte += t.werte(n);
    if (werte.size() < jeAnweisung * spalten) continue;
    if (!ausfuehren(voll, sql(jeAnweisung), !vorbereitet)) return false;
    vorbereitet = true;
  }
  if (werte.isEmpty()) return true;
  QSqlQuery rest(db);
  return ausfuehren(rest, sql(int(werte.size()) / spalten), true);
}

// The generated rows of `count` articles on `db`, in one transaction.
bool erzeugteSchreiben(QSqlDatabase& db, const data::Dialect& dialect, int count, QString* error) {
  if (count == 0) return true;
  if (!db.transaction()) {
    if (error) *error = db.lastError().text();
    return false;
  }
  bool ok = true;
  for (const Erzeugt& t : erzeugteTabellen(count))
    if (ok) ok = zeilenSchreiben(db, dialect, t, error);
  if (ok) ok = db.commit();
  if (!ok) {
    if (error && error->isEmpty()) *error = db.lastError().text();
    db.rollback();
  }
  return ok;
}

bool artikelErzeugen(const QString& datei, int count, QString* error) {
  const QString name = QStringLiteral("skrivant-sample-rows");
  bool ok = false;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(datei);
    if (!db.open()) {
      if (error) *error = db.lastError().text();
    } else {
      ok = erzeugteSchreiben(db, data::Dialect(data::Dialect::Kind::Jet), count, error);
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
  if (!anzahlPasst(anzahl, error)) return false;
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

bool fillBookshopSample(data::Connection& con, int anzahl, QString* error) {
  if (!anzahlPasst(anzahl, error)) return false;
  try {
    for (const QString& row : kArtikelRows + kDatenRows) con.Execute(row);
  } catch (const vb::VbError& e) {
    if (error) *error = e.description();
    return false;
  }
  QSqlDatabase db = con.database();
  return erzeugteSchreiben(db, con.dialect(), anzahl, error);
}

}  // namespace schema
