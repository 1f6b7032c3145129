// Application without a database: its life with the one print window, ConnectList, the local path,
// and the content members as a host calls them, by name.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <functional>
#include <memory>

#include "automation/Application.h"
#include "engine/Druckfenster.h"
#include "engine/frmDrucken.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/frmInfoFenster.h"
#include "foundation/modSkrivant.h"
#include "platform/automation/LateBinding.h"
#include "platform/ui/ScriptedDialogs.h"
#include "platform/vb/Convert.h"
#include "tests/automation/AutomationTestSupport.h"
#include "tests/support/ErrorOf.h"

using automation::CallKind;
using automation::callByName;
using namespace automationtest;

namespace {

class ApplicationTest : public AutomationFixture {};

TEST_F(ApplicationTest, CreationAndTerminationWriteTheirLogLinesAndLetGoOfTheWindow) {
  auto app = std::make_shared<Application>();
  const QStringList start = logZeilen();
  ASSERT_GE(start.size(), 3);
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^Programmstart am \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d Version:%1\\.%2\\.%3$")
                                     .arg(SKRIVANT_VERSION_MAJOR)
                                     .arg(SKRIVANT_VERSION_MINOR)
                                     .arg(SKRIVANT_VERSION_REVISION))
                  .match(start.first())
                  .hasMatch())
      << qPrintable(start.first());
  EXPECT_EQ(start.at(1), QStringLiteral("->Application_Initialize"));
  EXPECT_TRUE(start.contains(QStringLiteral("->frmDrucken.Initialize")));
  EXPECT_EQ(start.last(), QStringLiteral("Application_Initialize->"));
  EXPECT_TRUE(QFileInfo(GetFormularPfad()).isDir());
  EXPECT_NE(GeladenesDruckfenster(), nullptr);
  EXPECT_EQ(vb::CStr(callByName(*app, QStringLiteral("GetVersion"), CallKind::Method)),
            QStringLiteral(" %1. %2").arg(SKRIVANT_VERSION_MAJOR).arg(SKRIVANT_VERSION_MINOR));

  app.reset();
  const QStringList ende = logZeilen().mid(start.size());
  EXPECT_EQ(ende, QStringList({QStringLiteral("->Application.Terminate"), QStringLiteral("Application.Terminate->")}));
  EXPECT_EQ(GeladenesDruckfenster(), nullptr);
}

// Two hosts, one print window: each holds it; the window goes with the last of them.
TEST_F(ApplicationTest, ReleasingOneApplicationLeavesTheWindowToTheOther) {
  auto erste = std::make_shared<Application>();
  auto zweite = std::make_shared<Application>();
  const auto fenster = GeladenesDruckfenster().get();
  callByName(*zweite, QStringLiteral("SetVorgangNr"), CallKind::Method, {QStringLiteral("A-1")});

  erste.reset();
  ASSERT_EQ(GeladenesDruckfenster().get(), fenster);
  EXPECT_EQ(vb::CStr(fenster->GetValue(QStringLiteral("VorgangNr"), QString())), QStringLiteral("A-1"));
  EXPECT_TRUE(vb::CBool(callByName(*zweite, QStringLiteral("Clear"), CallKind::Method)));
  EXPECT_EQ(vb::CLng(callByName(*zweite, QStringLiteral("GetExitCode"), CallKind::Method)), 0);

  zweite.reset();
  EXPECT_EQ(GeladenesDruckfenster(), nullptr);
  // The next host loads a fresh window.
  auto dritte = std::make_shared<Application>();
  EXPECT_EQ(vb::CStr(GeladenesDruckfenster()->GetValue(QStringLiteral("VorgangNr"), QString())), QString());
}

TEST_F(ApplicationTest, ConnectListTakesOnlyALocalConnectionHandler) {
  auto app = std::make_shared<Application>();
  const vb::Variant erster = callByName(*app, QStringLiteral("ConnectList"), CallKind::Get);
  ASSERT_NE(erster.objectAs<clsConnectionHandler>(), nullptr);
  const auto zweite = std::make_shared<Application>();
  EXPECT_NE(callByName(*zweite, QStringLiteral("ConnectList"), CallKind::Get).object(), erster.object());

  auto eigener = std::make_shared<clsConnectionHandler>();
  callByName(*app, QStringLiteral("ConnectList"), CallKind::Set, {vb::Variant(eigener)});
  EXPECT_EQ(callByName(*app, QStringLiteral("ConnectList"), CallKind::Get).object(), eigener);

  // What a handler of another process is here: some other object, not the engine's class.
  for (const vb::Variant& fremd : {vb::Variant(std::make_shared<QObject>()), vb::Variant(QStringLiteral("GRP4"))}) {
    try {
      callByName(*app, QStringLiteral("ConnectList"), CallKind::Set, {fremd});
      ADD_FAILURE() << "no error";
    } catch (const vb::VbError& e) {
      EXPECT_EQ(e.number(), 13);
      EXPECT_TRUE(e.description().contains(QStringLiteral("\"Skrivant.clsConnectionHandler\""))) << qPrintable(e.description());
    }
    EXPECT_EQ(callByName(*app, QStringLiteral("ConnectList"), CallKind::Get).object(), eigener);
  }

  // SetDruckerOptionen makes it the engine's handler before it reads the form tables.
  testsupport::errorOf([&] { callByName(*app, QStringLiteral("SetDruckerOptionen"), CallKind::Method, {3, 1}); });
  EXPECT_EQ(GetGlobalConnectList(), eigener);
  SetGlobalConnectList(nullptr);
}

TEST_F(ApplicationTest, LokalerPfadTrimsTheCallersTextAndDatenverzeichnisKeepsItsOwn) {
  auto app = std::make_shared<Application>();
  const QString ordner = temp.path() + QStringLiteral("/Lokal/");
  // By name with the arguments by reference, as a host's variable is passed.
  QList<vb::Variant> argumente = {QStringLiteral("  ") + ordner + QStringLiteral(" \t")};
  callByName(*app, QStringLiteral("LokalerPfad"), CallKind::Let, argumente);
  EXPECT_EQ(argumente.first(), vb::Variant(ordner));
  EXPECT_EQ(vb::CStr(callByName(*app, QStringLiteral("LokalerPfad"), CallKind::Get)), ordner);

  callByName(*app, QStringLiteral("Datenverzeichnis"), CallKind::Let, {QStringLiteral(" D:\\Daten\\ ")});
  EXPECT_EQ(GetDatenverzeichnis(), QStringLiteral(" D:\\Daten\\ "));
  SetDatenverzeichnis(QString());
}

// One content member call and what the print window holds afterwards.
struct Aufruf {
  QString member;
  QList<vb::Variant> args;
  CallKind kind = CallKind::Method;
};

struct InhaltsFall {
  const char* name;
  QList<Aufruf> aufrufe;
  long fehler;  // error of the last call, 0 for none
  std::function<void(const frmDrucken&, Application&, const QList<ui::ShownDialog>& meldungen)> pruefen;
};

Aufruf kopf(int seite, const QString& text) {
  return {QStringLiteral("SetKopfSeite%1").arg(seite), {text, 0, 0, 0, 0}};
}

QList<Aufruf> kopfZeilen(int seite, int anzahl) {
  QList<Aufruf> aufrufe;
  for (int i = 1; i <= anzahl; ++i) aufrufe << kopf(seite, QStringLiteral("Zeile %1").arg(i));
  return aufrufe;
}

QString wert(const frmDrucken& f, const char* name) { return vb::CStr(f.GetValue(QString::fromUtf8(name), QString())); }

TEST_F(ApplicationTest, ContentMembersPassTheirValuesOnAsTheHostExpects) {
  const QString strasse = QStringLiteral("Straße");
  const QList<InhaltsFall> faelle = {
      {"SetAdrFeld in any letter case",
       {{QStringLiteral("SetAdrFeld"), {QStringLiteral("projekt"), strasse, QStringLiteral("Am Hang 3")}},
        {QStringLiteral("SetAdrFeld"), {QStringLiteral("BAUHERR"), strasse, QStringLiteral("Ufer 1")}}},
       0,
       [&](const frmDrucken& f, Application&, const QList<ui::ShownDialog>&) {
         EXPECT_EQ(f.AdrProjektFeld(strasse), QStringLiteral("Am Hang 3"));
         EXPECT_EQ(f.AdrBauherrFeld(strasse), QStringLiteral("Ufer 1"));
       }},
      {"SetAdrFeld with another kind",
       {{QStringLiteral("SetAdrFeld"), {QStringLiteral("Kunde"), strasse, QStringLiteral("x")}}},
       0,
       [&](const frmDrucken& f, Application&, const QList<ui::ShownDialog>& meldungen) {
         EXPECT_EQ(f.AdrProjektFeld(strasse), QString());
         EXPECT_EQ(f.AdrBauherrFeld(strasse), QString());
         ASSERT_EQ(meldungen.size(), 1);
         EXPECT_EQ(meldungen.first().text,
                   QStringLiteral("SetAdrFeld mit ungültiger AdrArt aufgerufen. (Projekt bzw. Bauherr)"));
       }},
      {"SetAnschrift and the closing texts break lines at a single CR",
       {{QStringLiteral("SetAnschrift"), {QStringLiteral("Schule\r\nBibliothek\nRaum 2"), 0}},
        {QStringLiteral("SetSchlussText"), {QStringLiteral("a\r\nb")}},
        {QStringLiteral("SetZahlText"), {QStringLiteral("c\r\nd")}}},
       0,
       [](const frmDrucken& f, Application&, const QList<ui::ShownDialog>&) {
         EXPECT_EQ(wert(f, "AnschriftEmpfaenger"), QStringLiteral("Schule\rBibliothek\nRaum 2"));
         EXPECT_EQ(f.SchlussText(), QStringLiteral("a\rb"));
         EXPECT_EQ(f.ZahlText(), QStringLiteral("c\rd"));
       }},
      {"SetAbschlag: net for n, the amount as formatted text",
       {{QStringLiteral("SetAbschlag"), {QStringLiteral("n"), QStringLiteral("Anzahlung"), 1234.5}},
        {QStringLiteral("SetAbschlag"), {QStringLiteral("B"), QStringLiteral("Rate"), 0.125}}},
       0,
       [](const frmDrucken& f, Application&, const QList<ui::ShownDialog>&) {
         ASSERT_EQ(f.Abzuege.size(), 2u);
         EXPECT_TRUE(f.Abzuege[0].VorMwStAbziehen);
         EXPECT_DOUBLE_EQ(vb::CDbl(f.Abzuege[0].Betrag), 1234.5);
         EXPECT_EQ(f.Abzuege[0].Text, QStringLiteral("- Anzahlung"));
         EXPECT_FALSE(f.Abzuege[1].VorMwStAbziehen);
         EXPECT_EQ(f.Abzuege[1].Betrag, vb::Variant(QStringLiteral("0,125")));
         EXPECT_EQ(f.Abzuege[1].MWSTSatz, 0);
       }},
      {"SetAbschluss 19",
       {{QStringLiteral("SetAbschluss"), {QStringLiteral("19"), QStringLiteral("e"), "", "", "", "", "", ""}}},
       0,
       [](const frmDrucken& f, Application& app, const QList<ui::ShownDialog>&) {
         EXPECT_DOUBLE_EQ(f.MWSTSatz_Voll(), 0.19);
         EXPECT_TRUE(vb::CBool(callByName(app, QStringLiteral("NettoRechnung"), CallKind::Get)));
       }},
      {"SetAbschluss empty",
       {{QStringLiteral("SetAbschluss"), {QString(), QStringLiteral("I"), "", "", "", "", "", ""}}},
       0,
       [](const frmDrucken& f, Application& app, const QList<ui::ShownDialog>&) {
         EXPECT_DOUBLE_EQ(f.MWSTSatz_Voll(), 0.16);
         EXPECT_FALSE(vb::CBool(callByName(app, QStringLiteral("NettoRechnung"), CallKind::Get)));
       }},
      {"NettoRechnung let",
       {{QStringLiteral("NettoRechnung"), {false}, CallKind::Let}, {QStringLiteral("NettoRechnung"), {true}, CallKind::Let}},
       0,
       [](const frmDrucken& f, Application& app, const QList<ui::ShownDialog>&) {
         EXPECT_EQ(f.AusgabeEndpreis(), QStringLiteral("E"));
         EXPECT_TRUE(vb::CBool(callByName(app, QStringLiteral("NettoRechnung"), CallKind::Get)));
       }},
      {"255 page-1 header lines",
       kopfZeilen(1, 255),
       0,
       [](const frmDrucken& f, Application&, const QList<ui::ShownDialog>&) {
         EXPECT_EQ(f.KopfZeile(1), QStringLiteral("Zeile 1"));
         EXPECT_EQ(f.KopfZeile(255), QStringLiteral("Zeile 255"));
       }},
      {"the 256th page-1 header line", kopfZeilen(1, 256), 6, nullptr},
      {"235 page-2 header lines",
       kopfZeilen(2, 235),
       0,
       [](const frmDrucken& f, Application&, const QList<ui::ShownDialog>&) {
         EXPECT_EQ(f.KopfZeile(21), QStringLiteral("Zeile 1"));
         EXPECT_EQ(f.KopfZeile(255), QStringLiteral("Zeile 235"));
       }},
      {"the 236th page-2 header line", kopfZeilen(2, 236), 6, nullptr},
      {"Clear and Clear260 start the header lines again",
       {kopf(1, QStringLiteral("a")), kopf(1, QStringLiteral("b")), {QStringLiteral("Clear"), {}},
        kopf(1, QStringLiteral("c")), kopf(2, QStringLiteral("d")), {QStringLiteral("Clear260"), {false}},
        kopf(2, QStringLiteral("e"))},
       0,
       [](const frmDrucken& f, Application&, const QList<ui::ShownDialog>&) {
         EXPECT_EQ(f.KopfZeile(1), QStringLiteral("c"));
         EXPECT_EQ(f.KopfZeile(2), QStringLiteral("b"));
         EXPECT_EQ(f.KopfZeile(21), QStringLiteral("e"));
       }},
      {"SetLeerzeilenZwischenPos 40000", {{QStringLiteral("SetLeerzeilenZwischenPos"), {40000}}}, 6, nullptr},
      {"SetLeerzeilenZwischenPos -32768",
       {{QStringLiteral("SetLeerzeilenZwischenPos"), {-32768}}},
       0,
       [](const frmDrucken& f, Application&, const QList<ui::ShownDialog>&) { EXPECT_EQ(f.LeerzeilenZwischenPositionen(), -32768); }},
      {"a second SetKundenNr replaces the first and Clear keeps it",
       {{QStringLiteral("SetKundenNr"), {10}}, {QStringLiteral("SetKundenNr"), {QStringLiteral("20")}},
        {QStringLiteral("Clear"), {}}},
       0,
       [](const frmDrucken& f, Application&, const QList<ui::ShownDialog>&) {
         EXPECT_EQ(f.GetValue(QStringLiteral("KundenNr"), {}).varType(), vb::VarType::Long);
         EXPECT_EQ(vb::CLng(f.GetValue(QStringLiteral("KundenNr"), {})), 20);
       }},
      {"AddAbschluss draws the sum line only for True",
       {{QStringLiteral("AddAbschluss"), {QStringLiteral("Brutto"), QStringLiteral("a")}},
        {QStringLiteral("AddAbschluss"), {QStringLiteral("MWST"), QStringLiteral("b"), vb::Variant::null()}},
        {QStringLiteral("AddAbschluss"), {QStringLiteral("Zwischensumme"), QStringLiteral("c"), true}},
        {QStringLiteral("AddAbschluss"), {QStringLiteral("LinieDoppelt"), QStringLiteral("d"), false}}},
       0,
       [](const frmDrucken& f, Application&, const QList<ui::ShownDialog>&) {
         ASSERT_EQ(f.Abschluss.size(), 4u);
         EXPECT_EQ(f.Abschluss[2].Key, QStringLiteral("Zwischensumme"));
         EXPECT_EQ(QList<bool>({f.Abschluss[0].LinieEinfach, f.Abschluss[1].LinieEinfach, f.Abschluss[2].LinieEinfach,
                                f.Abschluss[3].LinieEinfach}),
                   QList<bool>({false, false, true, false}));
       }},
      {"numbers, dates, currency and flags by their names, umlauts too",
       {{QStringLiteral("SetRechnungNr"), {QStringLiteral("R-7")}},
        {QStringLiteral("SetRechnungDatum"), {QDateTime(QDate(2024, 9, 5), QTime(0, 0))}},
        {QStringLiteral("SetDruckwährung"), {QStringLiteral("EUR")}},
        {QStringLiteral("SetUebertrag"), {0}},
        {QStringLiteral("DruckeBeiUebertragTitelSummen"), {}},
        {QStringLiteral("SetFormBez"), {QStringLiteral("Rechnung")}},
        {QStringLiteral("SetAnzahlKopien"), {3}},
        {QStringLiteral("MWSTSatz_halb"), {0.07}, CallKind::Let},
        {QStringLiteral("GesamtRabatt"), {0.05}, CallKind::Let}},
       0,
       [](const frmDrucken& f, Application& app, const QList<ui::ShownDialog>&) {
         EXPECT_EQ(wert(f, "RechnungNr"), QStringLiteral("R-7"));
         EXPECT_EQ(vb::CDate(f.GetValue(QStringLiteral("RechnungDatum"), {})).date(), QDate(2024, 9, 5));
         EXPECT_EQ(f.Druckwaehrung(), QStringLiteral("EUR"));
         EXPECT_FALSE(f.UebertraegeDrucken());
         EXPECT_TRUE(f.UebertraegeProTitel());
         EXPECT_EQ(f.DokumentTitel(), QStringLiteral("Rechnung"));
         EXPECT_EQ(f.AnzahlKopien(), 3);
         EXPECT_DOUBLE_EQ(vb::CDbl(callByName(app, QStringLiteral("MWSTSatz_halb"), CallKind::Get)), 0.07);
         EXPECT_DOUBLE_EQ(vb::CDbl(callByName(app, QStringLiteral("gesamtrabatt"), CallKind::Get)), 0.05);
       }},
  };

  for (const InhaltsFall& fall : faelle) {
    SCOPED_TRACE(fall.name);
    const qsizetype vorher = dialogs->messageBoxes().size();
    auto app = std::make_shared<Application>();
    long fehler = 0;
    for (const Aufruf& a : fall.aufrufe)
      fehler = testsupport::errorOf([&] { callByName(*app, a.member, a.kind, a.args); });
    EXPECT_EQ(fehler, fall.fehler);
    if (fall.pruefen) fall.pruefen(*GeladenesDruckfenster(), *app, dialogs->messageBoxes().mid(vorher));
  }
}

TEST_F(ApplicationTest, ContentMembersGiveTheFixedResultsOfTheTypeLibrary) {
  auto app = std::make_shared<Application>();
  struct Ergebnis {
    const char* member;
    QList<vb::Variant> args;
    vb::Variant erwartet;
  };
  const QList<Ergebnis> ergebnisse = {
      {"SetDokumentTitle", {QStringLiteral("Skrivant")}, false},
      {"DruckeOhneEPGP", {}, false},
      {"SetFormToBlankett", {}, false},
      {"SetAktuelleFont", {QStringLiteral("Arial"), 10, 400, 0, 0, 0}, true},
      {"SetKopfSeite1", {QStringLiteral("k"), 0, 0, 0, 0}, false},
      {"ShowDruckerAuswahl", {QStringLiteral("PDF"), 2}, vb::Variant()},
      {"SetGesamt", {"16", "Netto", "MwSt", "Brutto", "", ""}, vb::Variant()},
      {"SetBetreffText", {QStringLiteral("Betreff"), 1, 2, 3, 4, 5}, vb::Variant()},
      {"SetAbsender", {QStringLiteral("Absender")}, vb::Variant()},
      {"SetVorText", {QStringLiteral("Vortext")}, vb::Variant()},
      {"SetDataBaseName", {temp.file(QStringLiteral("fehlt.mdb"))}, true},
      {"ClearAbschluss", {}, vb::Variant()},
      {"ClearAnzahlKopien", {}, vb::Variant()},
      {"BeimDrucken", {}, false},
      {"IsBesetzt", {}, false},
      {"OpenDesign", {QStringLiteral(SKRIVANT_SOURCE_DIR "/templates/Rechnung.lst")}, vb::Variant()},
  };
  for (const Ergebnis& e : ergebnisse) {
    SCOPED_TRACE(e.member);
    const vb::Variant ergebnis = callByName(*app, QString::fromUtf8(e.member), CallKind::Method, e.args);
    EXPECT_EQ(ergebnis.marker(), e.erwartet.marker());
    if (e.erwartet.isValue()) EXPECT_EQ(vb::CBool(ergebnis), vb::CBool(e.erwartet));
  }
  const frmDrucken& f = *GeladenesDruckfenster();
  EXPECT_TRUE(f.DruckOhneEPGP());
  EXPECT_TRUE(f.AusgabeAlsBlankett());
  EXPECT_EQ(f.Betrefftext(), QStringLiteral("Betreff"));
  // The missing hand-over file was refused by the window, with its message.
  EXPECT_EQ(f.Uebergabedatei(), QString());
  EXPECT_EQ(dialogs->messageBoxes().size(), 1);
  EXPECT_EQ(dialogs->shown().last().kind, QStringLiteral("designer"));
}

// The progress window and what happens to it when its owner goes.
TEST_F(ApplicationTest, ProgressWindowClosesWithItsApplication) {
  auto app = std::make_shared<Application>();
  EXPECT_EQ(app->AddToDruckstapel(QStringLiteral("Beleg 1")), 0);
  EXPECT_NE(infoFenster(), nullptr);
  app.reset();
  EXPECT_EQ(infoFenster(), nullptr);
  const QStringList zeilen = logZeilen();
  const qsizetype terminate = zeilen.indexOf(QStringLiteral("->Application.Terminate"));
  EXPECT_EQ(zeilen.mid(terminate), QStringList({QStringLiteral("->Application.Terminate"),
                                               QStringLiteral("->InfoFensterterminate"),
                                               QStringLiteral("InfoFensterterminate->"),
                                               QStringLiteral("Application.Terminate->")}));
}

// A host that lets go of the object while the progress window lets its calls in (the bridge does
// that for a host that died) ends it after the call, not under it.
TEST_F(ApplicationTest, ReleaseDuringTheProgressWindowsEventsEndsTheObjectAfterTheCall) {
  auto app = std::make_shared<Application>();
  std::weak_ptr<Application> beobachter = app;
  Application* roh = app.get();
  QTimer::singleShot(0, [&app] { app.reset(); });
  EXPECT_EQ(vb::CLng(callByName(*roh, QStringLiteral("AddToDruckstapel"), CallKind::Method, {QStringLiteral("Beleg 1")})), 0);
  EXPECT_TRUE(beobachter.expired());
  EXPECT_EQ(infoFenster(), nullptr);
  EXPECT_EQ(logZeilen().last(), QStringLiteral("Application.Terminate->"));
}

}  // namespace
