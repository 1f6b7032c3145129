// Application as a host drives it, by name, on the example host's database, forms and templates
// and the real report control: the road of one document to a PDF, the print batch with its
// progress window and cancel, and the busy and exit state.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <memory>

#include "automation/Application.h"
#include "examples/BeispielHost.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "platform/automation/LateBinding.h"
#include "platform/report/PageView.h"
#include "platform/report/PreviewWindow.h"
#include "platform/vb/Convert.h"
#include "tests/automation/AutomationTestSupport.h"
#include "tests/examples/PdfText.h"
#include "tests/support/ErrorOf.h"

using automation::CallKind;
using automation::callByName;

namespace {

vb::Variant rufe(QObject& o, const char* member, const QList<vb::Variant>& args = {}) {
  return callByName(o, QString::fromUtf8(member), CallKind::Method, args);
}

// The amount at the end of the first line of `text` that starts with `anfang`, in cents; -1 when
// there is none.
long long betragAmZeilenende(const QString& text, const QString& anfang) {
  const QRegularExpression re(QStringLiteral("^\\s*%1\\b.*\\s(-?[\\d.]+,\\d\\d)\\s*$").arg(QRegularExpression::escape(anfang)),
                              QRegularExpression::MultilineOption);
  const auto m = re.match(text);
  if (!m.hasMatch()) return -1;
  return QString(m.captured(1)).remove(QLatin1Char('.')).remove(QLatin1Char(',')).toLongLong();
}

class ApplicationDruckTest : public automationtest::AutomationFixture {
 protected:
  void SetUp() override {
    QString fehler;
    ASSERT_TRUE(host.einrichten(&fehler)) << qPrintable(fehler);
  }
  void TearDown() override {
    SetDatenverzeichnis(QString());
    SetGlobalConnectList(nullptr);
  }

  // A host's connection handler: groups 4 (forms) and 6 (settings) opened by provider, property and
  // connection string on the example database, as a host fills it by name.
  std::shared_ptr<clsConnectionHandler> verbindungen() const {
    auto handler = std::make_shared<clsConnectionHandler>();
    for (const short gruppe : {short(4), short(6)}) {
      callByName(*handler, QStringLiteral("SQLGruppe_DB_Provider"), CallKind::Let,
                 {gruppe, QStringLiteral("Microsoft.Jet.OLEDB.4.0")});
      callByName(*handler, QStringLiteral("SQLGruppe_DB_Properties"), CallKind::Let,
                 {gruppe, QStringLiteral("Jet OLEDB:System database"), host.datenverzeichnis() + QStringLiteral("SYSTEM.MDW")});
      callByName(*handler, QStringLiteral("SQLGruppe_DB_OpenConnection"), CallKind::Let,
                 {gruppe, QStringLiteral("Data Source=") + host.datenbank()});
    }
    return handler;
  }

  // Steps 1 to 4 of a host's road: the object, its connections, the hand-over database, Clear and
  // the invoice form.
  std::shared_ptr<Application> vorbereiten() const {
    auto app = std::make_shared<Application>();
    callByName(*app, QStringLiteral("ConnectList"), CallKind::Set, {vb::Variant(verbindungen())});
    callByName(*app, QStringLiteral("Datenverzeichnis"), CallKind::Let, {host.datenverzeichnis()});
    EXPECT_TRUE(vb::CBool(rufe(*app, "SetDataBaseName", {host.datenbank()})));
    EXPECT_TRUE(vb::CBool(rufe(*app, "Clear")));
    EXPECT_TRUE(rufe(*app, "SetDruckerOptionen", {beispiel::kFormStatusRechnung, beispiel::kFormNummer}).isEmpty());
    return app;
  }

  // A short document of `n` positions: one page.
  void kurzesDokument(int n) {
    QList<beispiel::Zeile> zeilen;
    for (int i = 1; i <= n; ++i) zeilen << beispiel::position(i, i, QStringLiteral("Artikel %1").arg(i), 2.5 * i, i % 2);
    host.zeilenSchreiben(zeilen);
  }

  beispiel::BeispielHost host{temp.file(QStringLiteral("Arbeit"))};
};

TEST_F(ApplicationDruckTest, RoadOfOneDocumentGivesAPdfWhoseEndAmountIsGetGesamtBetrag) {
  host.zeilenSchreiben(beispiel::beispielZeilen());
  auto app = vorbereiten();
  rufe(*app, "SetAnschrift", {QStringLiteral("Städtisches Gymnasium Musterstadt\r\nSchulbibliothek\r\n12345 Musterstadt"), 0});
  rufe(*app, "SetVorText", {QStringLiteral("Sehr geehrte Damen und Herren,")});
  rufe(*app, "SetSchlussText", {beispiel::beispielSchlusstext()});
  rufe(*app, "SetRechnungNr", {QStringLiteral("2024-10317")});
  rufe(*app, "SetKundenNr", {10234});
  rufe(*app, "SetDruckwährung", {QStringLiteral("EUR")});
  rufe(*app, "SetAbschluss", {QStringLiteral("19"), QStringLiteral("E"), "", "", "", "", "", ""});
  callByName(*app, QStringLiteral("MWSTSatz_halb"), CallKind::Let, {beispiel::kMwstHalb});
  callByName(*app, QStringLiteral("GesamtRabatt"), CallKind::Let, {beispiel::kGesamtRabatt});
  rufe(*app, "ClearAbschluss");
  rufe(*app, "AddAbschluss", {QStringLiteral("Zwischensumme"), QStringLiteral("Summe der Positionen"), true});
  rufe(*app, "AddAbschluss", {QStringLiteral("Gesamtrabatt"), QStringLiteral("Rabatt [Gesamtrabatt]")});
  rufe(*app, "AddAbschluss", {QStringLiteral("MWST"), QStringLiteral("zzgl. [MWSTSatz] USt. auf [Betrag] EUR")});
  rufe(*app, "AddAbschluss", {QStringLiteral("Brutto"), QStringLiteral("Rechnungsbetrag"), true});
  const QString pdf = temp.file(QStringLiteral("Rechnung.pdf"));
  callByName(*app, QStringLiteral("PDFArchivDatei"), CallKind::Let, {pdf});

  EXPECT_EQ(vb::CLng(rufe(*app, "PDFAusgabeDokument")), 0);
  EXPECT_FALSE(vb::CBool(rufe(*app, "IsBesetzt")));
  EXPECT_EQ(rufe(*app, "GetExitCode").varType(), vb::VarType::Long);
  EXPECT_EQ(vb::CLng(rufe(*app, "GetExitCode")), 0);
  EXPECT_TRUE(dialogs->shown().isEmpty()) << qPrintable(dialogs->shown().value(0).text);

  const vb::Variant gesamt = rufe(*app, "GetGesamtBetrag");
  ASSERT_TRUE(gesamt.isString());
  const long long cents = std::llround(vb::CDbl(gesamt) * 100);
  EXPECT_GT(cents, 0);
  const QString text = testsupport::pdfSeiten(pdf).join(QLatin1Char('\f'));
  ASSERT_FALSE(text.isEmpty());
  EXPECT_TRUE(text.contains(QStringLiteral("Städtisches Gymnasium Musterstadt")));
  EXPECT_EQ(betragAmZeilenende(text, QStringLiteral("Rechnungsbetrag")), cents)
      << qPrintable(vb::CStr(gesamt)) << "\n" << qPrintable(text);
}

TEST_F(ApplicationDruckTest, BatchWithProgressWindowCancelAndTheLastDocumentInThePreview) {
  kurzesDokument(3);
  auto app = vorbereiten();
  // Steps 3 and 4 of the road again for each further document.
  const auto naechstesDokument = [&app] {
    rufe(*app, "Clear");
    rufe(*app, "SetDruckerOptionen", {beispiel::kFormStatusRechnung, beispiel::kFormNummer});
  };
  EXPECT_EQ(rufe(*app, "AddToDruckstapel", {QStringLiteral("Beleg 1")}), vb::Variant(std::int16_t(0)));
  frmInfoFenster* fenster = infoFenster();
  ASSERT_NE(fenster, nullptr);
  EXPECT_TRUE(fenster->isVisible());

  // The user clicks the progress window's cancel button while the next document is added.
  dialogs->answerMsgBox(ui::vbYes);
  QMetaObject::invokeMethod(fenster->findChild<QPushButton*>(QStringLiteral("cmdCancel")), &QPushButton::click,
                            Qt::QueuedConnection);
  naechstesDokument();
  EXPECT_EQ(vb::CLng(rufe(*app, "AddToDruckstapel", {QStringLiteral("Beleg 2")})), 1);
  EXPECT_EQ(infoFenster(), fenster);
  EXPECT_EQ(fenster->findChild<QLabel*>(QStringLiteral("strInfo"))->text(), QStringLiteral("Beleg 2"));
  EXPECT_EQ(dialogs->messageBoxes().value(0).text, QStringLiteral("Möchten Sie die Druckausgabe wirklich abbrechen?"));
  // Without a text the window is neither made nor closed; the flag stays.
  naechstesDokument();
  EXPECT_EQ(vb::CLng(rufe(*app, "AddToDruckstapel")), 1);
  EXPECT_EQ(infoFenster(), fenster);

  naechstesDokument();
  int seiten = 0;
  bool fensterOffen = true;
  dialogs->answerWindow([](QDialog& d) {
    d.accept();
    return int(QDialog::Accepted);
  });
  dialogs->answerWindow([&](QDialog& d) {
    fensterOffen = infoFenster() != nullptr;
    seiten = dynamic_cast<report::PreviewWindow&>(d).view().pageCount();
    return int(QDialog::Rejected);
  });
  EXPECT_EQ(vb::CLng(rufe(*app, "PreviewDokument")), 0);
  EXPECT_FALSE(fensterOffen);
  EXPECT_EQ(seiten, 4);
  EXPECT_EQ(infoFenster(), nullptr);
  EXPECT_EQ(dialogs->pendingAnswers(), 0);
  EXPECT_EQ(vb::CLng(rufe(*app, "GetExitCode")), 0);

  // The flag belongs to the object: a new one starts clear.
  auto neue = vorbereiten();
  EXPECT_EQ(vb::CLng(rufe(*neue, "AddToDruckstapel", {QString()})), 0);
  EXPECT_EQ(infoFenster(), nullptr);
  EXPECT_EQ(vb::CLng(rufe(*app, "AddToDruckstapel")), 1);
}

TEST_F(ApplicationDruckTest, IsBesetztDuringAJobAndGetExitCodeFromTheFirstAbortOn) {
  kurzesDokument(2);
  auto app = vorbereiten();
  EXPECT_EQ(vb::CLng(rufe(*app, "GetExitCode")), 0);
  EXPECT_FALSE(vb::CBool(rufe(*app, "IsBesetzt")));

  // A second host on the same window, whose calls come in while the first job waits for its user.
  auto zweite = std::make_shared<Application>();
  bool besetzt = false;
  bool zweiteBesetzt = false;
  QList<long> zweiteFehler;
  dialogs->answerWindow([&](QDialog& d) {
    besetzt = vb::CBool(rufe(*app, "IsBesetzt"));
    zweiteBesetzt = vb::CBool(rufe(*zweite, "IsBesetzt"));
    for (const char* ausgabe : {"PrintDokument", "PDFAusgabeDokument", "AddToDruckstapel"})
      zweiteFehler << testsupport::errorOf([&] { rufe(*zweite, ausgabe); });
    d.accept();
    return int(QDialog::Accepted);
  });
  bool vorschau = false;
  dialogs->answerWindow([&](QDialog&) {
    vorschau = true;
    return int(QDialog::Rejected);
  });
  EXPECT_EQ(vb::CLng(rufe(*app, "PreviewDokument")), 0);
  EXPECT_TRUE(besetzt);
  EXPECT_TRUE(zweiteBesetzt);
  EXPECT_EQ(zweiteFehler, QList<long>({5, 5, 5}));
  EXPECT_TRUE(vorschau);
  EXPECT_FALSE(vb::CBool(rufe(*app, "IsBesetzt")));
  EXPECT_EQ(vb::CLng(rufe(*app, "GetExitCode")), 0);
  zweite.reset();

  // The user cancels the print options: the job is aborted, and that stays told.
  EXPECT_EQ(vb::CLng(rufe(*app, "PreviewDokument")), 0);
  EXPECT_FALSE(vb::CBool(rufe(*app, "IsBesetzt")));
  EXPECT_EQ(vb::CLng(rufe(*app, "GetExitCode")), -1);
  callByName(*app, QStringLiteral("PDFArchivDatei"), CallKind::Let, {temp.file(QStringLiteral("danach.pdf"))});
  EXPECT_EQ(vb::CLng(rufe(*app, "PDFAusgabeDokument")), 0);
  EXPECT_TRUE(QFileInfo(temp.file(QStringLiteral("danach.pdf"))).isFile());
  EXPECT_EQ(vb::CLng(rufe(*app, "GetExitCode")), -1);
}

}  // namespace
