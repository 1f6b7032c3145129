// Dunning letters as a host prints them: clsMahnungDrucken created by its program identifier on
// the example host's database with a dunning form, the real report control and the default
// template; the handler's definitions on the recording control; the designer closed by the script.
#include <QDialog>
#include <QFile>
#include <QTreeWidget>
#include <QAction>
#include <cmath>
#include <memory>

#include "automation/Klassenregistrierung.h"
#include "automation/clsMahnDruckHandler.h"
#include "automation/clsMahnungDrucken.h"
#include "engine/Druckfenster.h"
#include "engine/frmDrucken.h"
#include "engine/modSkrivant.h"
#include "examples/BeispielHost.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/report/RecordingReportControl.h"
#include "platform/vb/Convert.h"
#include "platform/vb/Currency.h"
#include "tests/automation/AutomationTestSupport.h"
#include "tests/examples/PdfText.h"
#include "tests/support/ErrorOf.h"

using automation::CallKind;
using namespace automationtest;

namespace {

constexpr short kMahnung = beispiel::kFormStatusMahnung;

QDateTime um(int j, int m, int t, int stunde = 0) { return QDateTime(QDate(j, m, t), QTime(stunde, 0)); }

class MahnungTest : public AutomationFixture {
 protected:
  static void SetUpTestSuite() {
    static bool registriert = false;
    if (!registriert) KlassenRegistrieren();
    registriert = true;
  }
  void SetUp() override {
    QString fehler;
    ASSERT_TRUE(host.einrichten(&fehler)) << qPrintable(fehler);
    formNummer = host.mahnformularAnlegen();
    verbindungen = std::make_shared<clsConnectionHandler>();
    rufe(*verbindungen, "SQLGruppe_DB_Provider", {short(4), "Microsoft.Jet.OLEDB.4.0"}, CallKind::Let);
    rufe(*verbindungen, "SQLGruppe_DB_OpenConnection",
         {short(4), QStringLiteral("Data Source=") + data::connectionValue(host.datenbank())}, CallKind::Let);
  }
  void TearDown() override {
    SetDatenverzeichnis(QString());
    SetGlobalConnectList(nullptr);
  }

  // A letter object by program identifier, on the host's form tables, level `stufe`.
  std::shared_ptr<clsMahnungDrucken> brief(const QString& stufe = QStringLiteral("2")) {
    auto obj = std::dynamic_pointer_cast<clsMahnungDrucken>(
        automation::createObject(QStringLiteral("Skrivant.clsMahnungDrucken")));
    EXPECT_TRUE(obj);
    rufe(*obj, "ConnectList", {vb::Variant(verbindungen)}, CallKind::Set);
    rufe(*obj, "Datenverzeichnis", {host.datenverzeichnis()}, CallKind::Let);
    if (!stufe.isNull()) rufe(*obj, "MahnstufenText", {stufe}, CallKind::Let);
    return obj;
  }
  static QString wert(clsMahnungDrucken& b, const QString& name) {
    const vb::Variant v = b.handler()->GetValue(name);
    return v.isEmpty() ? QStringLiteral("<leer>") : vb::CStr(v);
  }

  beispiel::BeispielHost host{temp.file(QStringLiteral("Arbeit"))};
  std::shared_ptr<clsConnectionHandler> verbindungen;
  short formNummer = 0;
};

TEST_F(MahnungTest, LetterWithTwoInvoicesPreviewedThenExportedToPdf) {
  auto b = brief();
  EXPECT_TRUE(rufe(*b, "SetDruckerOptionen", {kMahnung, formNummer}).isEmpty());
  rufe(*b, "KundenNr", {"K-815"}, CallKind::Let);
  rufe(*b, "Druckdatum", {um(2026, 12, 8, 16)}, CallKind::Let);
  rufe(*b, "Anschrift", {"Städtische Bücherei\r\nFrau Lange\r\nAm Markt 3\r\n12345 Musterstadt"}, CallKind::Let);
  rufe(*b, "Mahngebühren", {5.0}, CallKind::Let);
  rufe(*b, "Verzugszinsen", {1.25}, CallKind::Let);
  // Due in the afternoon: the day is the 20th all the same.
  rufe(*b, "DatumZahlziel", {um(2026, 12, 18, 15)}, CallKind::Let);
  rufe(*b, "SetDruckwährung", {"EUR"});
  const struct {
    const char* nr;
    QDateTime datum, faellig;
    double brutto, gezahlt;
  } rechnungen[] = {{"R-1001", um(2026, 10, 1), um(2026, 11, 20, 15), 100.004, 20.0},
                    {"R-1002", um(2026, 10, 15), um(2026, 11, 30), 50.0, 0.0}};
  double offen = 0;
  for (const auto& r : rechnungen) {
    rufe(*b, "AddRechnung",
         {std::int16_t(2), r.nr, r.datum, r.faellig, r.brutto, r.gezahlt, QStringLiteral("Bemerkung zu ") + r.nr});
    offen += std::round(r.brutto * 100) / 100 - std::round(r.gezahlt * 100) / 100;
  }
  EXPECT_DOUBLE_EQ(vb::CDbl(b->handler()->GetValue(QStringLiteral("OffenerBetrag"))), 130.0);
  EXPECT_DOUBLE_EQ(offen, 130.0);

  // The level's heading and closing text; the form's opening text where the level has none.
  EXPECT_EQ(wert(*b, QStringLiteral("Betrefftext")), QStringLiteral("Zweite Mahnung"));
  EXPECT_EQ(rufe(*b, "VorText", {}, CallKind::Get), vb::Variant(QStringLiteral("Leider konnten wir keinen Zahlungseingang feststellen.")));
  EXPECT_EQ(rufe(*b, "SchlussText", {}, CallKind::Get), vb::Variant(QStringLiteral("Bitte zahlen Sie umgehend.")));
  EXPECT_EQ(wert(*b, QStringLiteral("AbsenderSichtfenster")), QStringLiteral("Buchhandlung am Markt · Marktplatz 1"));

  // Preview, then the PDF of the same letter: still ten footer rows.
  // The print options, then the preview, as the user closes them.
  for (int i = 0; i < 2; ++i)
    dialogs->answerWindow([](QDialog& d) {
      d.accept();
      return int(QDialog::Accepted);
    });
  EXPECT_EQ(rufe(*b, "PreviewDokument"), vb::Variant(0));
  const QString pdf = temp.file(QStringLiteral("Mahnung.pdf"));
  rufe(*b, "PDFArchivDatei", {pdf}, CallKind::Let);
  EXPECT_EQ(rufe(*b, "PDFAusgabeDokument"), vb::Variant(0));
  EXPECT_EQ(rufe(*b, "GetExitCode"), vb::Variant(0));
  EXPECT_FALSE(vb::CBool(rufe(*b, "IsBesetzt")));
  EXPECT_EQ(b->handler()->Daten()->RecordCount(), 12);
  EXPECT_EQ(dialogs->unexpectedCount(), 0);

  const QString text = testsupport::pdfSeiten(pdf).join(QLatin1Char('\f'));
  ASSERT_FALSE(text.isEmpty()) << pdf.toStdString();
  const QStringList offenZeilen = testsupport::zeilenMit(text, QStringLiteral("Offener Betrag"));
  ASSERT_EQ(offenZeilen.size(), 1) << text.toStdString();
  EXPECT_TRUE(offenZeilen.first().contains(testsupport::deutscherBetrag(std::llround(offen * 100)) + QStringLiteral(" EUR")))
      << offenZeilen.first().toStdString();
  for (const QString& teil :
       {QStringLiteral("R-1001"), QStringLiteral("R-1002"), QStringLiteral("20.11.2026"), QStringLiteral("100,00"),
        QStringLiteral("20,00"), QStringLiteral("50,00"), QStringLiteral("Bemerkung zu R-1002"), QStringLiteral("Zweite Mahnung"),
        QStringLiteral("Leider konnten wir keinen Zahlungseingang feststellen."), QStringLiteral("Bitte zahlen Sie umgehend."),
        QStringLiteral("Städtische Bücherei"), QStringLiteral("K-815"), QStringLiteral("08.12.2026"),
        QStringLiteral("18.12.2026"), QStringLiteral("Mahngebühren"), QStringLiteral("5,00 EUR"), QStringLiteral("1,25 EUR")})
    EXPECT_FALSE(testsupport::zeilenMit(text, teil).isEmpty()) << teil.toStdString() << "\n" << text.toStdString();
  EXPECT_TRUE(testsupport::zeilenMit(text, QStringLiteral("21.11.2026")).isEmpty()) << text.toStdString();

  // The class's own log.
  QFile log(host.lokalerPfad() + QStringLiteral("DEBUG.TXT"));
  EXPECT_TRUE(log.exists() || QFile::exists(host.lokalerPfad() + QStringLiteral("Debug.txt")));
}

// ---- the handler on the recording control ----

TEST_F(MahnungTest, HandlerDefinesEveryValueWithItsReportType) {
  auto ll = std::make_shared<report::RecordingReportControl>();
  clsMahnDruckHandler h;
  h.set_LL(vb::Variant(std::static_pointer_cast<QObject>(ll)));
  const long tag20 = QDate(1899, 12, 30).daysTo(QDate(2026, 11, 20));
  const struct {
    const char* name;
    vb::Variant wert;
    QString text;
    int typ;
    QString meldung;
  } faelle[] = {
      {"Text", QStringLiteral("a"), QStringLiteral("a"), 0x10000000, {}},
      {"Double", 2.5, QStringLiteral("2,5"), 0x08000000, {}},
      {"Integer", std::int16_t(3), QStringLiteral("3"), 0x08000000, {}},
      {"Long", 70000, QStringLiteral("70000"), 0x08000000, {}},
      {"Nachmittag", um(2026, 11, 20, 15), QString::number(tag20), 0x04000002, {}},
      {"Mittag", um(2026, 11, 20, 12), QString::number(tag20), 0x04000002, {}},
      {"Wahr", true, QStringLiteral("1"), 0x02000000, {}},
      {"Falsch", false, QStringLiteral("0"), 0x02000000, {}},
      {"Waehrung", vb::Variant(vb::Currency::fromDouble(1.5)), QStringLiteral("1,5"), 0, QStringLiteral("AddValue: Typ fehlt: Currency")},
  };
  for (const auto& f : faelle) {
    if (!f.meldung.isEmpty()) dialogs->answerMsgBox(ui::vbOK);
    h.AddValue(QString::fromUtf8(f.name), f.wert);
  }
  h.AddValue(QStringLiteral("Vortext"), QStringLiteral("a"));
  h.AddValue(QStringLiteral("VORTEXT"), QStringLiteral("b"));
  h.AddValue(QStringLiteral("Exemplar"), 7);
  h.DruckVariablenDefinieren();

  for (const auto& f : faelle) {
    const QString name = QString::fromUtf8(f.name);
    EXPECT_TRUE(ll->calls().contains(QStringLiteral("DefineReportVariable(\"%1\", \"%2\", 0x%3)")
                                         .arg(name, f.text, QString::number(f.typ, 16))))
        << name.toStdString() << "\n" << ll->calls().join(QLatin1Char('\n')).toStdString();
  }
  ASSERT_EQ(dialogs->shown().size(), 1);
  EXPECT_EQ(dialogs->shown().first().text, QStringLiteral("AddValue: Typ fehlt: Currency"));
  // One Vortext, the last value set and now last in order; the copy number stays the window's.
  const QStringList c = ll->calls();
  EXPECT_EQ(c.filter(QStringLiteral("\"Vortext\"")).size() + c.filter(QStringLiteral("\"VORTEXT\"")).size(), 1);
  EXPECT_EQ(c.at(c.size() - 2), QStringLiteral("DefineReportVariable(\"VORTEXT\", \"b\", 0x10000000)"));
  EXPECT_EQ(c.last(), QStringLiteral("DefineReportVariable(\"AnzahlRechnungen\", \"0\", 0x8000000)"));
  EXPECT_TRUE(c.filter(QStringLiteral("Exemplar")).isEmpty());
  EXPECT_TRUE(h.GetValue(QStringLiteral("fehlt")).isEmpty());
}

// ---- letter edge cases on the process's print window ----

TEST_F(MahnungTest, LevelTextsLoadForTheTextsNumericLevelOnADunningForm) {
  const QString leer = QStringLiteral("<leer>"), stufe2 = QStringLiteral("Bitte zahlen Sie umgehend.");
  const struct {
    QString stufe;
    short status;
    long fehler;
    QString betreff, schluss;
  } faelle[] = {
      {QStringLiteral("2"), kMahnung, 0, QStringLiteral("Zweite Mahnung"), stufe2},
      {QStringLiteral(" 2.0 "), kMahnung, 0, QStringLiteral("Zweite Mahnung"), stufe2},
      {QString(), kMahnung, 0, leer, leer},
      {QStringLiteral("Zahlungserinnerung"), kMahnung, 0, leer, leer},
      {QStringLiteral("2.5"), kMahnung, 0, leer, QStringLiteral("Allgemeiner Schlusstext")},
      {QStringLiteral("0"), kMahnung, 0, leer, leer},
      {QStringLiteral("2"), beispiel::kFormStatusRechnung, 0, leer, leer},
      {QStringLiteral("2abc"), kMahnung, vb::ErrTypeMismatch, leer, leer},
      {QStringLiteral("2 OR 1=1; DELETE FROM Auftrag_Formular_Mahnung"), kMahnung, vb::ErrTypeMismatch, leer, leer},
  };
  for (const auto& f : faelle) {
    auto b = brief(f.stufe);
    const short nummer = f.status == kMahnung ? formNummer : beispiel::kFormNummer;
    EXPECT_EQ(testsupport::errorOf([&] { rufe(*b, "SetDruckerOptionen", {f.status, nummer}); }), f.fehler) << f.stufe.toStdString();
    EXPECT_EQ(wert(*b, QStringLiteral("Betrefftext")) + wert(*b, QStringLiteral("Schlusstext")), f.betreff + f.schluss)
        << f.stufe.toStdString();
  }
  data::Recordset rs;
  rs.Open(QStringLiteral("SELECT * FROM Auftrag_Formular_Mahnung"), vb::Variant(verbindungen->SQLGruppe_Connection(4)));
  EXPECT_FALSE(rs.Eof());
}

TEST_F(MahnungTest, CopyCountAndDesignerSamplesStayWithTheirLetter) {
  auto b = brief();
  const auto fenster = GeladenesDruckfenster();
  ASSERT_TRUE(fenster);
  rufe(*b, "SetDruckerOptionen", {kMahnung, formNummer});
  rufe(*b, "SetAnzahlKopien", {std::int16_t(3)});
  EXPECT_EQ(fenster->AnzahlKopien(), 3);
  EXPECT_TRUE(vb::CBool(rufe(*b, "Clear")));
  EXPECT_EQ(fenster->AnzahlKopien(), 1);
  EXPECT_TRUE(fenster->KopienAusVorlage);

  // A PDF is one copy without taking the form's count from the letters after it.
  rufe(*b, "AddRechnung", {std::int16_t(1), "R-1", um(2026, 1, 1), um(2026, 2, 1), 10.0, 0.0, ""});
  rufe(*b, "PDFArchivDatei", {temp.file(QStringLiteral("eins.pdf"))}, CallKind::Let);
  rufe(*b, "PDFAusgabeDokument");
  EXPECT_TRUE(fenster->KopienAusVorlage);

  // The designer shows the sample letter under the handler's title; the host's letter stays.
  QString titel;
  QStringList werte;
  dialogs->answerWindow([&](QDialog& w) {
    titel = w.windowTitle();
    const auto* liste = w.findChild<QTreeWidget*>(QStringLiteral("valueList"));
    for (int i = 0; liste && i < liste->topLevelItemCount(); ++i) werte << liste->topLevelItem(i)->text(0);
    w.findChild<QAction*>(QStringLiteral("closeDesigner"))->trigger();
    return w.result();
  });
  rufe(*b, "SetDokumentTitle", {"Mahnlauf Dezember"});
  rufe(*b, "SetFormBez", {"Zahlungserinnerung"});
  rufe(*b, "OpenDesign", {host.datenverzeichnis() + QStringLiteral("FORMULAR/Mahnung.lst")});
  EXPECT_EQ(titel, QStringLiteral("Mahnung"));
  for (const char16_t* name : {u"OffenerBetrag", u"Mahngebühren", u"AnzahlRechnungen", u"RechnungNr", u"FälligDatum",
                               u"Zeilentyp", u"Exemplar", u"DatenEOF"})
    EXPECT_TRUE(werte.contains(QString::fromUtf16(name))) << QString::fromUtf16(name).toStdString();
  EXPECT_EQ(dialogs->unexpectedCount(), 0);
  EXPECT_EQ(wert(*b, QStringLiteral("OffenerBetrag")), QStringLiteral("10"));
  EXPECT_EQ(b->handler()->Daten()->RecordCount(), 11);
  EXPECT_TRUE(fenster->KopienAusVorlage);
  EXPECT_FALSE(fenster->DruckdatenHandler);
  EXPECT_EQ(fenster->ApplicationTitel(), QStringLiteral("Mahnlauf Dezember"));
  EXPECT_EQ(fenster->DokumentTitel(), QStringLiteral("Zahlungserinnerung"));

  // The batch: no progress window without a text; once cancelled, every later letter says so.
  EXPECT_EQ(rufe(*b, "AddToDruckstapel", {QString()}), vb::Variant(std::int16_t(0)));
  EXPECT_EQ(infoFenster(), nullptr);
  EXPECT_EQ(b->handler()->Daten()->RecordCount(), 0);
  rufe(*b, "CancelOutput");
  for (int i = 0; i < 2; ++i) {
    rufe(*b, "AddRechnung", {std::int16_t(1), "R-2", um(2026, 1, 1), um(2026, 2, 1), 10.0, 0.0, ""});
    EXPECT_EQ(rufe(*b, "AddToDruckstapel"), vb::Variant(std::int16_t(1)));
  }
}

}  // namespace
