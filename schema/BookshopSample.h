#pragma once
// A small bookshop to try the stock servers on and to test them against: the article database
// and the data file, made from bookshop.sql and filled with these rows.
//
// Artikel (Artikelident, ISBN, Matchcode, Bestand):
//   1001  9783446234567 (ISBN-10 3-446-23456-X)  "Stadt der Bücher"  5
//   1002  3499227444    (EAN 9783499227448)     "Das Parfum"         2
//   1003  9791000000015                          "Notenheft"          Null
//   1004  no ISBN, EigeneArtikelNummer A0004711  "Geschenkpapier"     7
//   1005  4006381333931 (an EAN of no book)      "Textmarker"        12
// Supplier orders: 501 "BE" (1001: 3, 1002: 4), 502 "AO" (1001: 2, 1005: 6), 503 "GE" delivered
//   (1001: 10). So ArtikelBestelltVerplant gives Bestellt 1001: 5, 1002: 4, 1005: 6, others 0.
// Reservations (MengeBestellt / MengeZugewiesen, the latter on the pickup shelf):
//   1001: 2/1 and 1/0; 1003: 1/1. So Reserviert 1001: 3, 1003: 1, others 0.
// [Artikel Einkauf]: 1002 has TitelNr "LB123456" at supplier 70001 and "KN98765" at 70002.
// Branches (Artikel_Filialen): 1 "Hauptstelle", 2 "Nord". Their stocks (Artikel_Filialbestände):
//   branch 1: 9783446234567 4, EA0004711 2; branch 2: 344623456X 1, 3499227444 3.
// Artikel_geändert: 1001 and 1004, not yet sent. Artikel_ISBN_Stapel: empty.
// Data file Vorgaben: LibriAdressNr 70001, KNOAdressNr 70002, KOEAdressNr 70003,
//   UmbreitAdressNr 70004.
// 3-15-012345-3 (EAN 9783150123454) is a valid ISBN of no article.
//
// A bookshop of a real shop's size adds `artikel` generated articles n = 1 .. artikel (at most
// 10,000,000) to these: Artikelident 100000 + n, the ISBN-10 of sampleIsbn10(n) stored as it is
// for odd n and as its EAN (sampleEan) for even n, Matchcode "Titel n", Bestand n % 23; title
// number "LB" and n in eight digits at supplier 70001, for even n also "KN" and n at 70002; an
// order line of n % 7 + 1 pieces for every tenth article (50 lines an order, the orders' states
// running "BE", "AO", "GE"); a reservation of 2, 1 on the shelf, for every twentieth; stock at
// branch 1 for every article and at branch 2 for every third, under the stored ISBN.
#include <QString>
#include <QStringList>

namespace data { class Connection; }

namespace schema {

// The file names of the sample in its folder: the article database ("DBName") and the data file,
// named as the servers derive it from the article database's folder.
inline const QString kSampleArtikelDatei = QStringLiteral("Artikel.MDB");
inline const QString kSampleDatenDatei = QStringLiteral("buch_dat.mdb");

// The sample's rows as INSERT statements: those of the article database and of the data file.
// Tests fill a database on any backend with them (the data layer quotes [Artikel Einkauf]).
QStringList sampleArtikelRows();
QStringList sampleDatenRows();

// Writes both files of the sample, with `artikel` generated articles besides the five above, into
// `folder` (made when missing). Fails, with the reason in `error`, when either file exists
// already: a sample never overwrites a bookshop's data.
bool createBookshopSample(const QString& folder, QString* error = nullptr, int artikel = 0);

// The same bookshop in the one database `con` is open on, whose bookshop tables are made and
// empty (createTables): the rows of both files, as the servers' "SQL-Server" road opens the
// article database and the data file with one connection string, and `artikel` generated
// articles. The generated rows go in one transaction, many rows to a bound statement.
bool fillBookshopSample(data::Connection& con, int artikel, QString* error = nullptr);

// The ISBN-10 (without hyphens) and the EAN of generated article n: "3", n in eight digits and
// the check character.
QString sampleIsbn10(int n);
QString sampleEan(int n);

}  // namespace schema
