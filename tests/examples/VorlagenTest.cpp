// The default templates rendered through the real report control, fed the way the engine feeds
// them: what a reader finds in the PDF, and where the pictures and marks land on the page.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include "platform/report/ReportControl.h"
#include "tests/examples/PdfText.h"
#include "tests/support/TempDir.h"

using namespace testsupport;

namespace {

const QString kRechnung = QStringLiteral(SKRIVANT_SOURCE_DIR "/templates/Rechnung.lst");
const QString kEtiketten = QStringLiteral(SKRIVANT_SOURCE_DIR "/templates/Etiketten.lbl");
const QString kLEinfach = QStringLiteral(SKRIVANT_SOURCE_DIR "/templates/LEinfach.BMP");
const QString kLDoppelt = QStringLiteral(SKRIVANT_SOURCE_DIR "/templates/LDoppelt.BMP");

struct Wert {
  QString name;
  QString inhalt;
  int typ = report::kTypeText;
};
using Werte = QList<Wert>;

class Vorlagen : public ::testing::Test {
 protected:
  // A list job as the engine runs it: variables, the page head, one "print fields" per row with
  // the page-full protocol. Rows add to the fields defined before, as the engine's rows do.
  int liste(const Werte& variablen, const QList<Werte>& zeilen, int flags) {
    c.StartFields();
    c.StartVariables();
    for (const Wert& w : variablen) c.DefineReportVariable(w.name, w.inhalt, w.typ);
    QString datei = kRechnung;
    if (c.StartPrintJob(report::kProjectList, datei, flags) != report::kOk) return -1;
    c.PrintVariables();
    for (const Werte& zeile : zeilen) {
      for (const Wert& w : zeile) c.DefineReportField(w.name, w.inhalt, w.typ);
      for (int i = 0; i < 10 && c.PrintFields() == report::kPageFull; ++i) c.PrintVariables();
    }
    return c.EndPrint(0);
  }

  QStringList listeAlsPdf(const Werte& variablen, const QList<Werte>& zeilen) {
    exportNach(QStringLiteral("Rechnung.pdf"));
    if (liste(variablen, zeilen, report::kToExport) != report::kOk) return {};
    return pdfSeiten(temp.file(QStringLiteral("Rechnung.pdf")));
  }

  // Page 1 of a job into a storage file, drawn at 300 dpi.
  QImage listeAlsBild(const Werte& variablen, const QList<Werte>& zeilen) {
    c.SetPrinterDefaultsDir(temp.path());
    if (liste(variablen, zeilen, report::kToStorage) != report::kOk) return {};
    const int h = c.OpenStorage(kRechnung, temp.path(), 1, 0);
    if (h <= 0) return {};
    QImage bild(qRound(210 / 25.4 * 300), qRound(297 / 25.4 * 300), QImage::Format_RGB32);
    bild.fill(Qt::white);
    QPainter p(&bild);
    c.DrawStoragePage(h, p, 1, QRectF(0, 0, bild.width(), bild.height()));
    p.end();
    c.CloseStorage(h);
    return bild;
  }

  void exportNach(const QString& name) {
    c.SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.File"), name);
    c.SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.Path"), temp.path());
  }

  TempDir temp;
  report::ReportControl c;
};

// A pixel at (x, y) in millimetres of a 300 dpi page.
bool dunkel(const QImage& bild, double xMM, double yMM) {
  const QPoint p(qRound(xMM / 25.4 * 300), qRound(yMM / 25.4 * 300));
  return bild.valid(p) && qGray(bild.pixel(p)) < 128;
}

// The dark runs met going down the page at x from y1 to y2 (millimetres).
int dunkleStreifen(const QImage& bild, double xMM, double y1MM, double y2MM) {
  const int x = qRound(xMM / 25.4 * 300);
  int streifen = 0;
  bool imStreifen = false;
  for (int y = qRound(y1MM / 25.4 * 300); y <= qRound(y2MM / 25.4 * 300); ++y) {
    const bool d = qGray(bild.pixel(x, y)) < 128;
    if (d && !imStreifen) ++streifen;
    imStreifen = d;
  }
  return streifen;
}

const Werte kPosition = {{QStringLiteral("ÜbertragUnterdrücken"), QStringLiteral("Nein")},
                         {QStringLiteral("Zeilentyp"), QStringLiteral("Position")},
                         {QStringLiteral("Position"), QStringLiteral("1")},
                         {QStringLiteral("Menge"), QStringLiteral("3")},
                         {QStringLiteral("Bezeichnung"), QStringLiteral("Lessing: Nathan der Weise")},
                         {QStringLiteral("MWSTSatz"), QStringLiteral("0.07"), report::kTypeNumeric},
                         {QStringLiteral("GP"), QStringLiteral("12.63"), report::kTypeNumeric},
                         {QStringLiteral("DruckEP"), QStringLiteral("4,21")},
                         {QStringLiteral("DruckGP"), QStringLiteral("12,63")}};

// The closing texts, as the engine prints them after the closing block (Zeilentyp cleared).
Werte schlusstexte(const QString& zeilentyp) {
  return {{QStringLiteral("Zeilentyp"), zeilentyp},
          {QStringLiteral("Schlusstext"), QStringLiteral("Vielen Dank für Ihren Auftrag.")},
          {QStringLiteral("Zahltext"), QStringLiteral("Zahlbar innerhalb von 14 Tagen.")},
          {QStringLiteral("ÜbertragUnterdrücken"), QStringLiteral("Ja")}};
}

Werte abschluss(const QString& zeilentyp, const QString& bezeichnung, const QString& betrag) {
  return {{QStringLiteral("Zeilentyp"), zeilentyp},
          {QStringLiteral("Bezeichnung"), bezeichnung},
          {QStringLiteral("InfoPreis"), betrag}};
}

TEST_F(Vorlagen, InvoicePrintsEveryRowKindOfTheEngine) {
  const Werte variablen = {{QStringLiteral("DokumentTitel"), QStringLiteral("Rechnung"), 0x10000001},
                           {QStringLiteral("RechnungNr"), QStringLiteral("4711")},
                           {QStringLiteral("RechnungsDatum"), QStringLiteral("05.09.2024")},
                           {QStringLiteral("AbsenderSichtfenster"), QStringLiteral("Absender · Weg 1 · 12345 Ort"), 0x10000001},
                           {QStringLiteral("AnschriftEmpfaenger"), QStringLiteral("Firma Muster\r\nPostfach 9\r\n54321 Stadt"), 0x10000001},
                           {QStringLiteral("Betrefftext"), QStringLiteral("Ihre Bestellung")},
                           {QStringLiteral("Sachbearbeiter"), QStringLiteral("Jonas Weber")},
                           {QStringLiteral("AnzahlSeiten"), QStringLiteral("1")},
                           {QStringLiteral("Druckwährung"), QStringLiteral("EUR")}};
  Werte gruppe = {{QStringLiteral("ÜbertragUnterdrücken"), QStringLiteral("Nein")},
                  {QStringLiteral("Zeilentyp"), QStringLiteral("FirmenBestGruppenKopf")},
                  {QStringLiteral("Position"), QStringLiteral("A")},
                  {QStringLiteral("Bezeichnung"), QStringLiteral("Bestellung Personalabteilung")},
                  {QStringLiteral("Firmenbestellung.Kostenstelle"), QStringLiteral("4100")},
                  {QStringLiteral("Firmenbestellung.Besteller"), QStringLiteral("Frau Jansen")},
                  {QStringLiteral("Firmenbestellung.Sachbearbeiter"), QStringLiteral("Herr Okafor")}};
  Werte position = kPosition;
  position << Wert{QStringLiteral("Autor"), QStringLiteral("Gotthold Ephraim Lessing")}
           << Wert{QStringLiteral("ISBN"), QStringLiteral("978-3-00-000000-1")}
           << Wert{QStringLiteral("PosBemerkung"), QStringLiteral("Mit Lesezeichen")}
           << Wert{QStringLiteral("RabattProPos"), QStringLiteral("1"), report::kTypeNumeric}
           << Wert{QStringLiteral("RabattSatz"), QStringLiteral("10"), report::kTypeNumeric}
           << Wert{QStringLiteral("Liste"), QStringLiteral("4,68"), report::kTypeNumeric};
  const QList<Werte> zeilen = {
      {{QStringLiteral("Zeilentyp"), QStringLiteral("Vortext")}, {QStringLiteral("Vortext"), QStringLiteral("Wir berechnen Ihnen:")}},
      {{QStringLiteral("Vortext"), QString()}},
      gruppe,
      position,
      {{QStringLiteral("Zeilentyp"), QStringLiteral("Textbaustein")},
       {QStringLiteral("Bezeichnung"), QStringLiteral("Lieferung frei Haus.")},
       {QStringLiteral("Autor"), QString()}, {QStringLiteral("ISBN"), QString()}, {QStringLiteral("PosBemerkung"), QString()}},
      {{QStringLiteral("Zeilentyp"), QStringLiteral("Leerzeile")}},
      abschluss(QStringLiteral("Zwischensumme"), QStringLiteral("Zwischensumme"), QStringLiteral("12,63")),
      {{QStringLiteral("Zeilentyp"), QStringLiteral("LEinfach")}, {QStringLiteral("LinieEinfach"), kLEinfach, report::kTypeDrawing}},
      abschluss(QStringLiteral("RechnungZwischensumme"), QStringLiteral("Summe der Positionen"), QStringLiteral("12,63")),
      abschluss(QStringLiteral("Gesamtrabatt"), QStringLiteral("Rabatt -5,0%"), QStringLiteral("-0,63")),
      abschluss(QStringLiteral("MWSTBetrag"), QStringLiteral("zzgl. 7,0% USt."), QStringLiteral("0,84")),
      abschluss(QStringLiteral("EnthaltenerMWSTBetrag"), QStringLiteral("darin enthalten 7,0% USt."), QStringLiteral("0,79")),
      abschluss(QStringLiteral("Endbetrag"), QStringLiteral("Rechnungsbetrag"), QStringLiteral("12,84")),
      {{QStringLiteral("Zeilentyp"), QStringLiteral("LDoppelt")}, {QStringLiteral("LinieEinfach"), kLDoppelt, report::kTypeDrawing}},
      schlusstexte(QString())};
  const QStringList seiten = listeAlsPdf(variablen, zeilen);
  ASSERT_EQ(seiten.size(), 1);
  const QString& t = seiten[0];
  for (const QString& erwartet :
       {QStringLiteral("Absender · Weg 1 · 12345 Ort"), QStringLiteral("Firma Muster"), QStringLiteral("54321 Stadt"),
        QStringLiteral("Rechnung"), QStringLiteral("Ihre Bestellung"), QStringLiteral("Jonas Weber"),
        QStringLiteral("Seite 1 von 1"), QStringLiteral("Gesamt EUR"), QStringLiteral("Wir berechnen Ihnen:"),
        QStringLiteral("Bestellung Personalabteilung"), QStringLiteral("Kostenstelle 4100"),
        QStringLiteral("Besteller: Frau Jansen"), QStringLiteral("Sachbearb.: Herr Okafor"),
        QStringLiteral("Gotthold Ephraim Lessing · ISBN 978-3-00-000000-1"),
        QStringLiteral("Listenpreis 4,68, abzüglich 10 % Rabatt"), QStringLiteral("Mit Lesezeichen"),
        QStringLiteral("Lieferung frei Haus."), QStringLiteral("Vielen Dank für Ihren Auftrag."),
        QStringLiteral("Zahlbar innerhalb von 14 Tagen.")})
    EXPECT_TRUE(t.contains(erwartet)) << qPrintable(erwartet);
  const QString positionsZeile = zeilenMit(t, QStringLiteral("Nathan der Weise")).value(0);
  EXPECT_TRUE(positionsZeile.contains(QRegularExpression(QStringLiteral("^\\s*1\\s+3\\s+Lessing"))))
      << qPrintable(positionsZeile);
  EXPECT_TRUE(positionsZeile.contains(QRegularExpression(QStringLiteral("7%\\s+4,21\\s+12,63\\s*$"))))
      << qPrintable(positionsZeile);
  const QList<std::pair<QString, QString>> betraege = {
      {QStringLiteral("Zwischensumme"), QStringLiteral("12,63")},
      {QStringLiteral("Summe der Positionen"), QStringLiteral("12,63")},
      {QStringLiteral("Rabatt -5,0%"), QStringLiteral("-0,63")},
      {QStringLiteral("zzgl. 7,0% USt."), QStringLiteral("0,84")},
      {QStringLiteral("darin enthalten 7,0% USt."), QStringLiteral("0,79")},
      {QStringLiteral("Rechnungsbetrag"), QStringLiteral("12,84")}};
  for (const auto& [text, betrag] : betraege) {
    const QStringList z = zeilenMit(t, text);
    ASSERT_EQ(z.size(), 1) << qPrintable(text);
    EXPECT_TRUE(z[0].trimmed().endsWith(betrag)) << qPrintable(z[0]);
  }
  // No copy mark on the first exemplar, no carry-over on a single page.
  EXPECT_FALSE(t.contains(QStringLiteral("KOPIE")));
  EXPECT_FALSE(t.contains(QStringLiteral("Übertrag")));
}

TEST_F(Vorlagen, ClosingTextsDoNotPrintTheLastPositionAgain) {
  // Without a closing block the closing-text row still carries the last position's row kind.
  const QStringList seiten = listeAlsPdf({}, {kPosition, schlusstexte(QStringLiteral("Position"))});
  ASSERT_EQ(seiten.size(), 1);
  EXPECT_EQ(zeilenMit(seiten[0], QStringLiteral("Nathan der Weise")).size(), 1);
  EXPECT_EQ(zeilenMit(seiten[0], QStringLiteral("Vielen Dank für Ihren Auftrag.")).size(), 1);
}

TEST_F(Vorlagen, PageHoldingOnlyTheClosingTextsHasNoColumnHead) {
  // The fewest positions that push the closing texts alone onto page 2.
  for (int n = 20; n <= 60; ++n) {
    QList<Werte> zeilen;
    for (int i = 0; i < n; ++i) zeilen << kPosition;
    zeilen << schlusstexte(QString());
    const QStringList seiten = listeAlsPdf({}, zeilen);
    ASSERT_FALSE(seiten.isEmpty());
    if (seiten.size() < 2) continue;
    ASSERT_EQ(seiten.size(), 2);
    EXPECT_FALSE(seiten[1].contains(QStringLiteral("Nathan der Weise")));
    EXPECT_TRUE(seiten[1].contains(QStringLiteral("Vielen Dank für Ihren Auftrag.")));
    EXPECT_FALSE(seiten[1].contains(QStringLiteral("Bezeichnung")));
    EXPECT_TRUE(seiten[0].contains(QStringLiteral("Bezeichnung")));
    return;
  }
  FAIL() << "the closing texts never went to a page of their own";
}

// An opening text that fills page 1 (a cover letter) gets no column head over it: the head
// stands over the first position, below the opening text; and page 2 gives its number once.
TEST_F(Vorlagen, ColumnHeadStandsOverThePositionsNotOverTheOpeningText) {
  QStringList brief;
  for (int i = 1; i <= 70; ++i) brief << QStringLiteral("Briefzeile %1").arg(i);
  const QStringList seiten =
      listeAlsPdf({{QStringLiteral("AnzahlSeiten"), QStringLiteral("2")}},
                  {{{QStringLiteral("Zeilentyp"), QStringLiteral("Vortext")},
                    {QStringLiteral("Vortext"), brief.join(QStringLiteral("\r\n"))}},
                   {{QStringLiteral("Vortext"), QString()}},
                   kPosition,
                   schlusstexte(QString())});
  ASSERT_EQ(seiten.size(), 2);
  EXPECT_TRUE(seiten[0].contains(QStringLiteral("Briefzeile 1")));
  EXPECT_FALSE(seiten[0].contains(QStringLiteral("Bezeichnung")));
  const QStringList zeilen = seiten[1].split(QLatin1Char('\n'));
  const auto zeileMit = [&zeilen](const QString& teil) {
    for (qsizetype i = 0; i < zeilen.size(); ++i)
      if (zeilen[i].contains(teil)) return i;
    return qsizetype(-1);
  };
  const qsizetype kopf = zeileMit(QStringLiteral("Bezeichnung"));
  EXPECT_GT(kopf, zeileMit(QStringLiteral("Briefzeile 70")));
  EXPECT_LT(kopf, zeileMit(QStringLiteral("Nathan der Weise")));
  EXPECT_EQ(seiten[0].count(QStringLiteral("Seite 1 von 2")), 1);
  EXPECT_EQ(seiten[1].count(QStringLiteral("Seite 2 von 2")), 1);
}

TEST_F(Vorlagen, CopyMarkOnlyOnLaterExemplars) {
  const auto mitExemplar = [this](const QString& n) {
    return listeAlsPdf({{QStringLiteral("Exemplar"), n, report::kTypeNumeric}}, {kPosition}).join(QString());
  };
  EXPECT_FALSE(mitExemplar(QStringLiteral("0")).contains(QStringLiteral("KOPIE")));
  EXPECT_TRUE(mitExemplar(QStringLiteral("1")).contains(QStringLiteral("KOPIE")));
  EXPECT_TRUE(mitExemplar(QStringLiteral("2")).contains(QStringLiteral("KOPIE")));
}

TEST_F(Vorlagen, FoldMarksAt105And210MillimetresWhileFalzstrichIsSet) {
  const QImage mit = listeAlsBild({{QStringLiteral("Falzstrich"), QStringLiteral("1"), report::kTypeBoolean}}, {kPosition});
  ASSERT_FALSE(mit.isNull());
  EXPECT_TRUE(dunkel(mit, 6, 105));
  EXPECT_TRUE(dunkel(mit, 6, 210));
  EXPECT_FALSE(dunkel(mit, 6, 150));

  const QImage ohne = listeAlsBild({{QStringLiteral("Falzstrich"), QStringLiteral("0"), report::kTypeBoolean}}, {kPosition});
  ASSERT_FALSE(ohne.isNull());
  EXPECT_FALSE(dunkel(ohne, 6, 105));
  EXPECT_FALSE(dunkel(ohne, 6, 210));
}

TEST_F(Vorlagen, RuleRowsDrawTheSingleAndTheDoublePicture) {
  // The body starts at 113 mm under a 7 mm column head: the rule row at 120 mm.
  const auto regel = [this](const QString& art, const QString& bild) {
    return listeAlsBild({}, {{{QStringLiteral("Zeilentyp"), art}, {QStringLiteral("LinieEinfach"), bild, report::kTypeDrawing}}});
  };
  const QImage einfach = regel(QStringLiteral("LEinfach"), kLEinfach);
  ASSERT_FALSE(einfach.isNull());
  EXPECT_EQ(dunkleStreifen(einfach, 150, 119, 123), 1);
  EXPECT_EQ(dunkleStreifen(einfach, 60, 119, 123), 0);  // left of the amount columns

  const QImage doppelt = regel(QStringLiteral("LDoppelt"), kLDoppelt);
  ASSERT_FALSE(doppelt.isNull());
  EXPECT_EQ(dunkleStreifen(doppelt, 150, 119, 123), 2);
}

TEST_F(Vorlagen, RuleLinePicturesAreThinLinesAsWideAsTheBody) {
  for (const auto& [datei, linien] : {std::pair{kLEinfach, 1}, std::pair{kLDoppelt, 2}}) {
    const QImage bild(datei);
    ASSERT_FALSE(bild.isNull()) << qPrintable(datei);
    EXPECT_NEAR(bild.width() / (bild.dotsPerMeterX() / 1000.0), 175.0, 0.5);
    EXPECT_LT(bild.height() / (bild.dotsPerMeterY() / 1000.0), 2.0);
    int streifen = 0;
    bool imStreifen = false;
    for (int y = 0; y < bild.height(); ++y) {
      const bool d = qGray(bild.pixel(bild.width() / 2, y)) < 128;
      // A rule runs over the whole width.
      if (d) EXPECT_LT(qGray(bild.pixel(0, y)), 128);
      if (d && !imStreifen) ++streifen;
      imStreifen = d;
    }
    EXPECT_EQ(streifen, linien) << qPrintable(datei);
  }
}

TEST_F(Vorlagen, LabelSheetPlacesOneAddressPerLabelAndStartsASecondSheet) {
  exportNach(QStringLiteral("Etiketten.pdf"));
  QString datei = kEtiketten;
  c.StartVariables();
  ASSERT_EQ(c.StartPrintJob(report::kProjectLabel, datei, report::kToExport), report::kOk);
  for (int i = 1; i <= 25; ++i) {
    c.DefineReportVariable(QStringLiteral("Anrede"), i % 2 ? QStringLiteral("Frau") : QStringLiteral("Herrn"),
                           report::kTypeText);
    c.DefineReportVariable(QStringLiteral("Name1"), QStringLiteral("Kundin%1 Beispiel").arg(i), report::kTypeText);
    // Only the first label has a second name line.
    c.DefineReportVariable(QStringLiteral("Name2"), i == 1 ? QStringLiteral("Abteilung Einkauf") : QString(),
                           report::kTypeText);
    c.DefineReportVariable(QStringLiteral("Strasse"), QStringLiteral("Weg %1").arg(i), report::kTypeText);
    c.DefineReportVariable(QStringLiteral("PLZ"), QStringLiteral("12345"), report::kTypeText);
    c.DefineReportVariable(QStringLiteral("Ort"), QStringLiteral("Musterstadt"), report::kTypeText);
    ASSERT_EQ(c.PrintVariables(), report::kOk);
  }
  ASSERT_EQ(c.EndPrint(0), report::kOk);

  const QStringList seiten = pdfSeiten(temp.file(QStringLiteral("Etiketten.pdf")));
  ASSERT_EQ(seiten.size(), 2);
  for (int i = 1; i <= 25; ++i) {
    const QString name = QStringLiteral("Kundin%1 Beispiel").arg(i);
    EXPECT_EQ(seiten[i <= 24 ? 0 : 1].count(name), 1) << qPrintable(name);
    EXPECT_EQ(seiten[i <= 24 ? 1 : 0].count(name), 0) << qPrintable(name);
  }
  // Labels 1 to 3 share their lines: the street of label 2 stands beside the second name of label 1.
  const QStringList zeile = zeilenMit(seiten[0], QStringLiteral("Abteilung Einkauf"));
  ASSERT_EQ(zeile.size(), 1);
  EXPECT_TRUE(zeile[0].contains(QStringLiteral("Weg 2 ")) || zeile[0].trimmed().endsWith(QStringLiteral("Weg 2")));
  EXPECT_TRUE(zeile[0].contains(QStringLiteral("Weg 3")));
}

}  // namespace
