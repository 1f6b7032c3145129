// The example host end to end: hand-over database and form tables from the schema, the print
// window on the real report control, StartPrint(4), and what a reader finds in the PDF.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>
#include <cmath>

#include "engine/frmDrucken.h"
#include "examples/BeispielHost.h"
#include "foundation/modSkrivant.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/examples/PdfText.h"
#include "tests/support/TempDir.h"

using namespace testsupport;

namespace {

// A row of the hand-over table as the test reads it back, with plain SQL.
struct GeleseneZeile {
  QString ControlString;
  QString Feld1;
  bool hatMenge = false;
  double Menge = 0;
  double EP = 0;
  int MWSTArt = 0;
  bool RabattFaehig = false;
  QString Bezeichnung;
};

QList<GeleseneZeile> zeilenLesen(const QString& datenbank) {
  QList<GeleseneZeile> zeilen;
  const QString name = QUuid::createUuid().toString();
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(datenbank);
    if (db.open()) {
      QSqlQuery q(db);
      q.exec(QStringLiteral("SELECT ControlString, Feld1, Menge, EP, MWSTArt, RabattFähig, Bezeichnung "
                            "FROM PrintInputTabelle ORDER BY LongKey"));
      while (q.next()) {
        GeleseneZeile z;
        z.ControlString = q.value(0).toString();
        z.Feld1 = q.value(1).toString();
        z.hatMenge = !q.value(2).isNull();
        z.Menge = q.value(2).toDouble();
        z.EP = q.value(3).toDouble();
        z.MWSTArt = q.value(4).toInt();
        z.RabattFaehig = q.value(5).toInt() != 0;
        z.Bezeichnung = q.value(6).toString();
        zeilen << z;
      }
    }
  }
  QSqlDatabase::removeDatabase(name);
  return zeilen;
}

bool istPosition(const GeleseneZeile& z) { return z.ControlString.isEmpty(); }

// Line total in cents: the unit price times the quantity, rounded half away from zero.
long long zeilenbetrag(const GeleseneZeile& z) {
  const double wert = z.EP * z.Menge * 100.0;
  return static_cast<long long>(std::floor(std::fabs(wert) + 0.5 + 1e-7)) * (wert < 0 ? -1 : 1);
}

long long runden(double cents) { return static_cast<long long>(std::floor(std::fabs(cents) + 0.5 + 1e-7)) * (cents < 0 ? -1 : 1); }

// The amounts a reader must find, worked out from the rows alone.
struct Erwartung {
  long long summe = 0;          // all line totals
  long long rabatt = 0;         // the overall discount, negative
  long long netto = 0;
  long long netto1 = 0, netto2 = 0;
  long long mwst1 = 0, mwst2 = 0;
  long long brutto = 0;
  long long zwischensumme = 0;  // at the first "{Zwischensumme}" row
};

Erwartung nachrechnen(const QList<GeleseneZeile>& zeilen) {
  Erwartung e;
  long long klasse[4] = {0, 0, 0, 0};
  long long rabattfaehig[4] = {0, 0, 0, 0};
  bool zwischensummeGesehen = false;
  for (const GeleseneZeile& z : zeilen) {
    if (z.ControlString == QLatin1String("{Zwischensumme}") && !zwischensummeGesehen) {
      e.zwischensumme = klasse[0] + klasse[1] + klasse[2] + klasse[3];
      zwischensummeGesehen = true;
    }
    if (!istPosition(z)) continue;
    klasse[z.MWSTArt] += zeilenbetrag(z);
    if (z.RabattFaehig) rabattfaehig[z.MWSTArt] += zeilenbetrag(z);
  }
  e.summe = klasse[0] + klasse[1] + klasse[2] + klasse[3];
  e.rabatt = runden(-beispiel::kGesamtRabatt * (rabattfaehig[0] + rabattfaehig[1] + rabattfaehig[2] + rabattfaehig[3]));
  const long long rabatt1 = runden(-beispiel::kGesamtRabatt * rabattfaehig[1]);
  const long long rabatt2 = runden(-beispiel::kGesamtRabatt * rabattfaehig[2]);
  e.netto1 = klasse[1] + rabatt1;
  e.netto2 = klasse[2] + rabatt2;
  e.netto = e.summe + e.rabatt;
  e.mwst1 = runden(beispiel::kMwstVoll * e.netto1);
  e.mwst2 = runden(beispiel::kMwstHalb * e.netto2);
  e.brutto = e.netto + e.mwst1 + e.mwst2;
  // The sample rows split the discount without a rounding difference between the classes.
  EXPECT_EQ(rabatt1 + rabatt2, e.rabatt);
  EXPECT_EQ(klasse[0] + klasse[3], 0);
  return e;
}

// Whether a line of `text` holds `anfang` (after blanks) and ends with `ende`.
bool zeileMit(const QString& text, const QString& anfang, const QString& ende) {
  for (const QString& zeile : text.split(QLatin1Char('\n'))) {
    const QString t = zeile.trimmed();
    if (t.startsWith(anfang) && t.endsWith(ende)) return true;
  }
  return false;
}

// A position's line: its number first, its line total last.
bool positionsZeile(const QString& text, const QString& feld1, const QString& betrag) {
  const QRegularExpression re(QStringLiteral("^\\s*%1\\s{2,}.*\\s%2\\s*$")
                                  .arg(QRegularExpression::escape(feld1), QRegularExpression::escape(betrag)),
                              QRegularExpression::MultilineOption);
  return re.match(text).hasMatch();
}

class BeispielHostTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetLokalerPfad(QString());
    SetDatenverzeichnis(QString());
  }

  QString arbeitsordner() const { return temp.file(QStringLiteral("Arbeit")); }
  QString pdf() const { return temp.file(QStringLiteral("Rechnung.pdf")); }

  TempDir temp;
  ui::ScopedScriptedDialogs dialogs;
};

TEST_F(BeispielHostTest, SampleInvoiceIsTwoPagesWithItsPositionsVatPerRateAndTheRecomputedEndAmount) {
  QString fehler;
  ASSERT_TRUE(beispiel::beispielRechnungDrucken(arbeitsordner(), pdf(), &fehler)) << qPrintable(fehler);
  EXPECT_TRUE(dialogs->shown().isEmpty()) << qPrintable(dialogs->shown().value(0).text);

  const QList<GeleseneZeile> zeilen = zeilenLesen(arbeitsordner() + QStringLiteral("/Daten/Beispiel.mdb"));
  ASSERT_GE(std::count_if(zeilen.begin(), zeilen.end(), istPosition), 25);
  const Erwartung e = nachrechnen(zeilen);

  const QStringList seiten = pdfSeiten(pdf());
  ASSERT_EQ(seiten.size(), 2);
  EXPECT_TRUE(seiten[0].contains(QStringLiteral("Seite 1 von 2")));
  EXPECT_TRUE(seiten[1].contains(QStringLiteral("Seite 2 von 2")));

  // The cover letter alone on page 1, broken off at the marker; the positions on page 2.
  EXPECT_TRUE(seiten[0].contains(QStringLiteral("Sehr geehrte Frau Dr. Albers,")));
  EXPECT_TRUE(seiten[0].contains(QStringLiteral("einen Rabatt von 5,0%")));
  EXPECT_FALSE(seiten[0].contains(QStringLiteral("Seitenumbruch")));
  EXPECT_FALSE(seiten[0].contains(QStringLiteral("Wir berechnen Ihnen:")));
  EXPECT_TRUE(seiten[1].contains(QStringLiteral("Wir berechnen Ihnen:")));
  EXPECT_TRUE(seiten[0].contains(QStringLiteral("Städtisches Gymnasium Musterstadt")));
  EXPECT_TRUE(seiten[0].contains(QStringLiteral("2024-10317")));
  EXPECT_TRUE(seiten[0].contains(QStringLiteral("Ihre Bestellung vom 12.08.2024")));

  for (const GeleseneZeile& z : zeilen) {
    if (!istPosition(z)) continue;
    EXPECT_TRUE(positionsZeile(seiten[1], z.Feld1, deutscherBetrag(zeilenbetrag(z))))
        << "Position " << qPrintable(z.Feld1) << " mit " << qPrintable(deutscherBetrag(zeilenbetrag(z)));
    if (!z.Bezeichnung.contains(QStringLiteral("{\\rtf")))
      EXPECT_TRUE(seiten[1].contains(z.Bezeichnung)) << qPrintable(z.Bezeichnung);
  }
  EXPECT_TRUE(seiten[1].contains(QStringLiteral("Wörterbuch der deutschen Rechtschreibung")));
  EXPECT_TRUE(seiten[1].contains(QStringLiteral("Die folgenden Titel erscheinen im April")));

  EXPECT_TRUE(zeileMit(seiten[1], QStringLiteral("Zwischensumme"), deutscherBetrag(e.zwischensumme)));
  EXPECT_TRUE(zeileMit(seiten[1], QStringLiteral("Summe der Positionen"), deutscherBetrag(e.summe)));
  EXPECT_TRUE(zeileMit(seiten[1], QStringLiteral("Rabatt -5,0% auf nicht preisgebundene Artikel"), deutscherBetrag(e.rabatt)));
  EXPECT_TRUE(zeileMit(seiten[1], QStringLiteral("Nettobetrag"), deutscherBetrag(e.netto)));
  EXPECT_TRUE(zeileMit(seiten[1], QStringLiteral("zzgl. 19,0% USt. auf %1 EUR").arg(deutscherBetrag(e.netto1)),
                       deutscherBetrag(e.mwst1)));
  EXPECT_TRUE(zeileMit(seiten[1], QStringLiteral("zzgl. 7,0% USt. auf %1 EUR").arg(deutscherBetrag(e.netto2)),
                       deutscherBetrag(e.mwst2)));
  EXPECT_TRUE(zeileMit(seiten[1], QStringLiteral("Rechnungsbetrag"), deutscherBetrag(e.brutto)))
      << "Endbetrag " << qPrintable(deutscherBetrag(e.brutto));
  // The payment text names the same end amount.
  EXPECT_TRUE(seiten[1].contains(QStringLiteral("Rechnungsbetrag von %1 EUR bis zum 05.10.2024").arg(deutscherBetrag(e.brutto))));
  EXPECT_TRUE(seiten[1].contains(QStringLiteral("Es gelten unsere Allgemeinen Geschäftsbedingungen.")));
}

TEST_F(BeispielHostTest, WindowHoldsTheSumsPerVatClassAfterThePrint) {
  beispiel::BeispielHost host(arbeitsordner());
  QString fehler;
  ASSERT_TRUE(host.einrichten(&fehler)) << qPrintable(fehler);
  host.zeilenSchreiben(beispiel::beispielZeilen());
  ASSERT_TRUE(host.pdfDrucken(pdf(), &fehler)) << qPrintable(fehler);

  const Erwartung e = nachrechnen(zeilenLesen(host.datenbank()));
  EXPECT_FALSE(host.fenster().Running());
  EXPECT_NEAR(host.fenster().MWSTBetrag_voll(), e.mwst1 / 100.0, 1e-9);
  EXPECT_NEAR(host.fenster().MWSTBetrag_halb(), e.mwst2 / 100.0, 1e-9);
  EXPECT_NEAR(host.fenster().Rechnungsbetrag(), e.brutto / 100.0, 1e-6);
}

TEST_F(BeispielHostTest, PrintsWithoutErrorsInTheDebugLog) {
  QString fehler;
  ASSERT_TRUE(beispiel::beispielRechnungDrucken(arbeitsordner(), pdf(), &fehler)) << qPrintable(fehler);
  QFile log(arbeitsordner() + QStringLiteral("/Lokal/Debug.txt"));
  ASSERT_TRUE(log.open(QIODevice::ReadOnly));
  for (const QByteArray& zeile : log.readAll().split('\n')) {
    // Every line is an entry or exit mark of a procedure ("->Name", "Name->" or "Name (...)->").
    const QByteArray t = zeile.trimmed();
    if (t.isEmpty()) continue;
    EXPECT_TRUE(t.startsWith("->") || t.endsWith("->")) << t.constData();
  }
}

TEST_F(BeispielHostTest, InstallsTheDefaultTemplatesIntoBothFormsFolders) {
  beispiel::BeispielHost host(arbeitsordner());
  QString fehler;
  ASSERT_TRUE(host.einrichten(&fehler)) << qPrintable(fehler);
  const QStringList erwartet = {QStringLiteral("Etiketten.lbl"), QStringLiteral("Formularetiketten.lbl"),
                                QStringLiteral("Formularliste.lst"), QStringLiteral("LDoppelt.BMP"),
                                QStringLiteral("LEinfach.BMP"), QStringLiteral("Mahnung.lst"),
                                QStringLiteral("Rechnung.lst")};
  for (const QString& ordner : {GetFormularPfad(), host.datenverzeichnis() + QStringLiteral("FORMULAR")}) {
    QStringList dateien = QDir(ordner).entryList(QDir::Files);
    dateien.sort();
    EXPECT_EQ(dateien, erwartet) << qPrintable(ordner);
  }
}

TEST_F(BeispielHostTest, SetsUpInAWorkFolderWhoseNameHoldsASemicolon) {
  beispiel::BeispielHost host(temp.file(QStringLiteral("Arbeit;Provider=MSDASQL")));
  QString fehler;
  EXPECT_TRUE(host.einrichten(&fehler)) << qPrintable(fehler);
}

TEST_F(BeispielHostTest, ASecondRunInTheSameWorkFolderStartsAfresh) {
  QString fehler;
  ASSERT_TRUE(beispiel::beispielRechnungDrucken(arbeitsordner(), pdf(), &fehler)) << qPrintable(fehler);
  const QStringList erster = pdfSeiten(pdf());
  ASSERT_TRUE(beispiel::beispielRechnungDrucken(arbeitsordner(), pdf(), &fehler)) << qPrintable(fehler);
  EXPECT_EQ(pdfSeiten(pdf()), erster);
  EXPECT_EQ(zeilenLesen(arbeitsordner() + QStringLiteral("/Daten/Beispiel.mdb")).size(),
            beispiel::beispielZeilen().size());
}

TEST_F(BeispielHostTest, ReportsAPdfThatCouldNotBeWritten) {
  const QString datei = temp.write(QStringLiteral("keinOrdner"), "x");
  QString fehler;
  EXPECT_FALSE(beispiel::beispielRechnungDrucken(arbeitsordner(), datei + QStringLiteral("/Rechnung.pdf"), &fehler));
  EXPECT_TRUE(fehler.contains(QStringLiteral("Keine PDF-Datei"))) << qPrintable(fehler);
}

TEST_F(BeispielHostTest, ReportsAWorkFolderThatCannotBeMade) {
  const QString datei = temp.write(QStringLiteral("belegt"), "x");
  beispiel::BeispielHost host(datei);
  QString fehler;
  EXPECT_FALSE(host.einrichten(&fehler));
  EXPECT_TRUE(fehler.contains(QStringLiteral("Arbeitsordner"))) << qPrintable(fehler);
  EXPECT_FALSE(host.pdfDrucken(pdf(), &fehler));
  EXPECT_FALSE(QFile::exists(pdf()));
}

// A long invoice through the engine: the running sum goes from the foot of each page to the head
// of the next.
TEST_F(BeispielHostTest, CarriesTheRunningSumFromPageToPage) {
  beispiel::BeispielHost host(arbeitsordner());
  QString fehler;
  ASSERT_TRUE(host.einrichten(&fehler)) << qPrintable(fehler);
  QList<beispiel::Zeile> zeilen;
  for (int i = 1; i <= 90; ++i)
    zeilen << beispiel::position(i, i % 7 + 1, QStringLiteral("Artikel Nummer %1").arg(i), 1.05 * i, i % 3 == 0);
  host.zeilenSchreiben(zeilen);
  ASSERT_TRUE(host.pdfDrucken(pdf(), &fehler)) << qPrintable(fehler);

  const QList<GeleseneZeile> gelesen = zeilenLesen(host.datenbank());
  const QStringList seiten = pdfSeiten(pdf());
  ASSERT_GE(seiten.size(), 4);
  // The sum of the positions up to the end of each page, and which pages hold positions.
  QList<long long> bisSeitenende;
  QList<bool> mitPositionen;
  long long laufend = 0;
  int gefunden = 0;
  for (const QString& seite : seiten) {
    bool positionen = false;
    for (const GeleseneZeile& z : gelesen) {
      if (positionsZeile(seite, z.Feld1, deutscherBetrag(zeilenbetrag(z)))) {
        laufend += zeilenbetrag(z);
        positionen = true;
        ++gefunden;
      }
    }
    bisSeitenende << laufend;
    mitPositionen << positionen;
  }
  EXPECT_EQ(gefunden, 90);

  for (int s = 0; s < seiten.size(); ++s) {
    EXPECT_TRUE(seiten[s].contains(QStringLiteral("Seite %1 von %2").arg(s + 1).arg(seiten.size())));
    const QStringList uebertraege = zeilenMit(seiten[s], QStringLiteral("Übertrag"));
    const bool kopf = mitPositionen[s] && s > 0 && bisSeitenende[s - 1] != 0;
    const bool fuss = s + 1 < seiten.size() && mitPositionen[s + 1] && bisSeitenende[s] != 0;
    ASSERT_EQ(uebertraege.size(), (kopf ? 1 : 0) + (fuss ? 1 : 0)) << "Seite " << s + 1;
    if (kopf) EXPECT_TRUE(uebertraege.first().trimmed().endsWith(deutscherBetrag(bisSeitenende[s - 1]))) << "Seite " << s + 1;
    if (fuss) EXPECT_TRUE(uebertraege.last().trimmed().endsWith(deutscherBetrag(bisSeitenende[s]))) << "Seite " << s + 1;
  }
}

}  // namespace
