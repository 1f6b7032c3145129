#include "schema/BookshopSample.h"

#include <QDir>
#include <QFileInfo>

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

}  // namespace

QStringList sampleArtikelRows() { return kArtikelRows; }
QStringList sampleDatenRows() { return kDatenRows; }

bool createBookshopSample(const QString& folder, QString* error) {
  const QString artikel = QDir(folder).filePath(kSampleArtikelDatei);
  const QString daten = QDir(folder).filePath(kSampleDatenDatei);
  for (const QString& file : {artikel, daten}) {
    if (QFileInfo::exists(file)) {
      if (error) *error = QStringLiteral("%1 exists already").arg(file);
      return false;
    }
  }
  return runScript(artikel, bookshopStatements() + kArtikelRows, error) &&
         runScript(daten, bookshopStatements() + kDatenRows, error);
}

}  // namespace schema
