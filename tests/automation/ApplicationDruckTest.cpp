// Application as a host drives it, by name, on the example host's database, forms and templates
// and the real report control: the road of one document to a PDF, the print batch with its
// progress window and cancel, and the busy and exit state.
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <cmath>
#include <memory>

#include "automation/Application.h"
#include "examples/BeispielHost.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "platform/report/PageView.h"
#include "platform/report/PreviewWindow.h"
#include "platform/vb/Convert.h"
#include "tests/automation/AutomationTestSupport.h"
#include "tests/examples/PdfText.h"
#include "tests/support/BeschaedigteUebergabe.h"
#include "tests/support/ErrorOf.h"

using automation::CallKind;
using namespace automationtest;

namespace {

class ApplicationDruckTest : public AutomationFixture {
 protected:
  void SetUp() override {
    QString fehler;
    ASSERT_TRUE(host.einrichten(&fehler)) << qPrintable(fehler);
  }
  void TearDown() override {
    SetDatenverzeichnis(QString());
    SetGlobalConnectList(nullptr);
  }

  // The road's first steps: the object, a handler whose groups 4 and 6 the host opens by provider,
  // property and connection string, the hand-over database, Clear and the invoice form.
  std::shared_ptr<Application> vorbereiten() const {
    auto handler = std::make_shared<clsConnectionHandler>();
    for (const short gruppe : {short(4), short(6)}) {
      rufe(*handler, "SQLGruppe_DB_Provider", {gruppe, "Microsoft.Jet.OLEDB.4.0"}, CallKind::Let);
      rufe(*handler, "SQLGruppe_DB_Properties",
           {gruppe, "Jet OLEDB:System database", host.datenverzeichnis() + QStringLiteral("SYSTEM.MDW")},
           CallKind::Let);
      rufe(*handler, "SQLGruppe_DB_OpenConnection", {gruppe, QStringLiteral("Data Source=") + host.datenbank()},
           CallKind::Let);
    }
    auto app = std::make_shared<Application>();
    rufe(*app, "ConnectList", {vb::Variant(handler)}, CallKind::Set);
    rufe(*app, "Datenverzeichnis", {host.datenverzeichnis()}, CallKind::Let);
    EXPECT_TRUE(vb::CBool(rufe(*app, "SetDataBaseName", {host.datenbank()})));
    naechstesDokument(*app);
    return app;
  }
  static void naechstesDokument(Application& app) {
    EXPECT_TRUE(vb::CBool(rufe(app, "Clear")));
    EXPECT_TRUE(rufe(app, "SetDruckerOptionen", {beispiel::kFormStatusRechnung, beispiel::kFormNummer}).isEmpty());
  }

  // A one-page document of `n` positions.
  void kurzesDokument(int n) {
    QList<beispiel::Zeile> zeilen;
    for (int i = 1; i <= n; ++i)
      zeilen << beispiel::position(i, i, QStringLiteral("Artikel %1").arg(i), 2.5 * i, i % 2);
    host.zeilenSchreiben(zeilen);
  }

  static ui::ScriptedDialogs::WindowScript annehmen() {
    return [](QDialog& d) {
      d.accept();
      return int(QDialog::Accepted);
    };
  }

  beispiel::BeispielHost host{temp.file(QStringLiteral("Arbeit"))};
};

TEST_F(ApplicationDruckTest, RoadOfOneDocumentGivesAPdfWhoseEndAmountIsGetGesamtBetrag) {
  host.zeilenSchreiben(beispiel::beispielZeilen());
  auto app = vorbereiten();
  rufe(*app, "SetAnschrift", {"Städtisches Gymnasium Musterstadt\r\nSchulbibliothek\r\n12345 Musterstadt", 0});
  rufe(*app, "SetVorText", {"Sehr geehrte Damen und Herren,"});
  rufe(*app, "SetAbschluss", {"19", "E", "", "", "", "", "", ""});
  rufe(*app, "MWSTSatz_halb", {beispiel::kMwstHalb}, CallKind::Let);
  rufe(*app, "ClearAbschluss");
  rufe(*app, "AddAbschluss", {"MWST", "zzgl. [MWSTSatz] USt. auf [Betrag] EUR"});
  rufe(*app, "AddAbschluss", {"Brutto", "Rechnungsbetrag", true});
  const QString pdf = temp.file(QStringLiteral("Rechnung.pdf"));
  rufe(*app, "PDFArchivDatei", {pdf}, CallKind::Let);

  EXPECT_EQ(vb::CLng(rufe(*app, "PDFAusgabeDokument")), 0);
  EXPECT_FALSE(vb::CBool(rufe(*app, "IsBesetzt")));
  EXPECT_EQ(rufe(*app, "GetExitCode"), vb::Variant(0));
  EXPECT_TRUE(dialogs->shown().isEmpty()) << qPrintable(dialogs->shown().value(0).text);

  const vb::Variant gesamt = rufe(*app, "GetGesamtBetrag");
  ASSERT_TRUE(gesamt.isString());
  const QString text = testsupport::pdfSeiten(pdf).join(QLatin1Char('\f'));
  EXPECT_TRUE(text.contains(QStringLiteral("Städtisches Gymnasium Musterstadt")));
  const auto ende = QRegularExpression(QStringLiteral("^\\s*Rechnungsbetrag\\s.*\\s([\\d.]+,\\d\\d)\\s*$"),
                                       QRegularExpression::MultilineOption)
                        .match(text);
  ASSERT_TRUE(ende.hasMatch()) << qPrintable(text);
  EXPECT_GT(vb::CDbl(gesamt), 100);
  EXPECT_EQ(ende.captured(1), testsupport::deutscherBetrag(std::llround(vb::CDbl(gesamt) * 100)));
}

TEST_F(ApplicationDruckTest, BatchWithProgressWindowCancelAndTheLastDocumentInThePreview) {
  kurzesDokument(3);
  auto app = vorbereiten();
  EXPECT_EQ(rufe(*app, "AddToDruckstapel", {"Beleg 1"}), vb::Variant(std::int16_t(0)));
  frmInfoFenster* fenster = infoFenster();
  ASSERT_NE(fenster, nullptr);

  // The user clicks the progress window's cancel button and confirms while the next one is added.
  dialogs->answerMsgBox(ui::vbYes);
  QMetaObject::invokeMethod(fenster->findChild<QPushButton*>(QStringLiteral("cmdCancel")), &QPushButton::click,
                            Qt::QueuedConnection);
  naechstesDokument(*app);
  EXPECT_EQ(vb::CLng(rufe(*app, "AddToDruckstapel", {"Beleg 2"})), 1);
  EXPECT_EQ(infoFenster(), fenster);
  EXPECT_EQ(fenster->findChild<QLabel*>(QStringLiteral("strInfo"))->text(), QStringLiteral("Beleg 2"));
  naechstesDokument(*app);
  EXPECT_EQ(vb::CLng(rufe(*app, "AddToDruckstapel")), 1);
  EXPECT_EQ(infoFenster(), fenster);

  // The batch comes out with the last document; the progress window is gone before the preview.
  naechstesDokument(*app);
  int seiten = 0;
  dialogs->answerWindow(annehmen());
  dialogs->answerWindow([&](QDialog& d) {
    seiten = infoFenster() ? -1 : dynamic_cast<report::PreviewWindow&>(d).view().pageCount();
    return int(QDialog::Rejected);
  });
  EXPECT_EQ(vb::CLng(rufe(*app, "PreviewDokument")), 0);
  EXPECT_EQ(seiten, 4);
  EXPECT_EQ(infoFenster(), nullptr);
  EXPECT_EQ(vb::CLng(rufe(*app, "GetExitCode")), 0);

  // The flag belongs to the object: a new one starts clear.
  auto neue = vorbereiten();
  EXPECT_EQ(vb::CLng(rufe(*neue, "AddToDruckstapel", {QString()})), 0);
  EXPECT_EQ(infoFenster(), nullptr);
}

TEST_F(ApplicationDruckTest, IsBesetztDuringAJobAndGetExitCodeFromTheFirstAbortOn) {
  kurzesDokument(2);
  auto app = vorbereiten();
  // A second host on the same window, whose calls come in while the job waits for its user.
  auto zweite = std::make_shared<Application>();
  QList<long> besetzt;
  dialogs->answerWindow([&](QDialog& d) {
    besetzt << vb::CLng(rufe(*app, "IsBesetzt")) << vb::CLng(rufe(*zweite, "IsBesetzt"));
    for (const char* ausgabe : {"PrintDokument", "PDFAusgabeDokument", "AddToDruckstapel"})
      besetzt << testsupport::errorOf([&] { rufe(*zweite, ausgabe); });
    return annehmen()(d);
  });
  dialogs->answerWindow([](QDialog&) { return int(QDialog::Rejected); });
  EXPECT_EQ(vb::CLng(rufe(*app, "PreviewDokument")), 0);
  EXPECT_EQ(besetzt, QList<long>({-1, -1, 5, 5, 5}));
  EXPECT_EQ(dialogs->pendingAnswers(), 0);
  EXPECT_FALSE(vb::CBool(rufe(*app, "IsBesetzt")));
  EXPECT_EQ(vb::CLng(rufe(*app, "GetExitCode")), 0);

  // A PDF that cannot be written: the result stays 0 as hosts know it, GetExitCode tells the failure.
  rufe(*app, "PDFArchivDatei", {temp.file(QStringLiteral("fehlt/Rechnung.pdf"))}, CallKind::Let);
  EXPECT_EQ(vb::CLng(rufe(*app, "PDFAusgabeDokument")), 0);
  EXPECT_EQ(vb::CLng(rufe(*app, "GetExitCode")), 1);

  // The user cancels the print options: the job is aborted, and that stays told.
  EXPECT_EQ(vb::CLng(rufe(*app, "PreviewDokument")), 0);
  EXPECT_EQ(vb::CLng(rufe(*zweite, "GetExitCode")), -1);
  rufe(*app, "PDFArchivDatei", {temp.file(QStringLiteral("danach.pdf"))}, CallKind::Let);
  EXPECT_EQ(vb::CLng(rufe(*app, "PDFAusgabeDokument")), 0);
  EXPECT_TRUE(QFileInfo(temp.file(QStringLiteral("danach.pdf"))).isFile());
  EXPECT_EQ(vb::CLng(rufe(*app, "GetExitCode")), -1);
}

// Print data that cannot be read whole fail the job with the database's message, exported or
// printed: nothing put out, the PDF of before kept.
TEST_F(ApplicationDruckTest, AHandOverTableWithADamagedPageFailsTheJob) {
  kurzesDokument(2);
  auto app = vorbereiten();
  const QString pdf = temp.file(QStringLiteral("Rechnung.pdf")), kaputt = temp.file(QStringLiteral("Kaputt/Uebergabe.mdb"));
  const auto inhalt = [&] {
    QFile f(pdf);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  };
  rufe(*app, "PDFArchivDatei", {pdf}, CallKind::Let);
  rufe(*app, "PDFAusgabeDokument");
  const QByteArray vorher = inhalt();
  ASSERT_FALSE(vorher.isEmpty());
  ASSERT_EQ(testsupport::beschaedigteUebergabe(kaputt), QString());
  ASSERT_TRUE(vb::CBool(rufe(*app, "SetDataBaseName", {kaputt})));
  QStringList ausgang;  // each job's exit code and the messages it showed
  for (const char* ausgabe : {"PDFAusgabeDokument", "PrintDokument"}) {
    const auto gezeigt = dialogs->shown().size();
    rufe(*app, ausgabe);
    ausgang << vb::CStr(rufe(*app, "GetExitCode"));
    for (auto i = gezeigt; i < dialogs->shown().size(); ++i) ausgang << dialogs->shown()[i].text;
  }
  const QString meldung =
      QStringLiteral("Die Druckdaten aus '%1' können nicht gelesen werden: database disk image is malformed").arg(kaputt);
  EXPECT_EQ(ausgang, QStringList({QStringLiteral("1"), meldung, QStringLiteral("1"), meldung}));
  EXPECT_EQ(inhalt(), vorher);
}

}  // namespace
