// Application without a database: its life with the one print window, ConnectList, the local path,
// and the content members as a host calls them, by name.
#include <QRegularExpression>
#include <QTimer>
#include <functional>
#include <memory>

#include "automation/Application.h"
#include "automation/clsDruckAllgemein.h"
#include "automation/clsMahnDruckHandler.h"
#include "engine/Druckfenster.h"
#include "engine/frmDrucken.h"
#include "foundation/clsConnectionHandler.h"
#include "platform/vb/Convert.h"
#include "tests/automation/AutomationTestSupport.h"
#include "tests/support/ErrorOf.h"

using automation::CallKind;
using namespace automationtest;

namespace {

using ApplicationTest = AutomationFixture;

// Two hosts, one print window: each holds it, and it goes with the last of them. The progress
// window goes with its own object.
TEST_F(ApplicationTest, LifeIsLoggedAndTheWindowGoesWithTheLastHolder) {
  auto erste = std::make_shared<Application>();
  const QStringList start = log.lines();
  EXPECT_TRUE(
      QRegularExpression(QStringLiteral("^Programmstart am \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d Version:%1$")
                             .arg(QStringLiteral("%1.%2.%3")
                                      .arg(SKRIVANT_VERSION_MAJOR)
                                      .arg(SKRIVANT_VERSION_MINOR)
                                      .arg(SKRIVANT_VERSION_REVISION)))
          .match(start.value(0))
          .hasMatch())
      << qPrintable(start.value(0));
  EXPECT_EQ(start.value(1), QStringLiteral("->Application_Initialize"));
  EXPECT_EQ(start.last(), QStringLiteral("Application_Initialize->"));

  auto zweite = std::make_shared<Application>();
  frmDrucken* fenster = GeladenesDruckfenster().get();
  rufe(*zweite, "SetVorgangNr", {QStringLiteral("A-1")});
  EXPECT_EQ(vb::CLng(rufe(*erste, "AddToDruckstapel", {QStringLiteral("Beleg 1")})), 0);
  ASSERT_NE(infoFenster(), nullptr);
  erste.reset();
  EXPECT_EQ(infoFenster(), nullptr);
  EXPECT_EQ(log.lines().mid(log.lines().size() - 4),
            QStringList({QStringLiteral("->Application.Terminate"), QStringLiteral("->InfoFensterterminate"),
                         QStringLiteral("InfoFensterterminate->"), QStringLiteral("Application.Terminate->")}));
  ASSERT_EQ(GeladenesDruckfenster().get(), fenster);
  EXPECT_EQ(vb::CStr(fenster->GetValue(QStringLiteral("VorgangNr"), QString())), QStringLiteral("A-1"));
  zweite.reset();
  EXPECT_EQ(GeladenesDruckfenster(), nullptr);
}

// A host that lets go of the object while the progress window lets its calls in (the bridge does
// that for a host that died) ends it after the call, not under it.
TEST_F(ApplicationTest, ReleaseDuringTheProgressWindowsEventsEndsTheObjectAfterTheCall) {
  auto app = std::make_shared<Application>();
  std::weak_ptr<Application> beobachter = app;
  Application* roh = app.get();
  QTimer::singleShot(0, [&app] { app.reset(); });
  EXPECT_EQ(vb::CLng(rufe(*roh, "AddToDruckstapel", {QStringLiteral("Beleg 1")})), 0);
  EXPECT_TRUE(beobachter.expired());
  EXPECT_EQ(infoFenster(), nullptr);
}

TEST_F(ApplicationTest, ConnectListTakesOnlyALocalHandlerAndLokalerPfadTrimsTheCallersText) {
  auto app = std::make_shared<Application>();
  ASSERT_NE(rufe(*app, "ConnectList", {}, CallKind::Get).objectAs<clsConnectionHandler>(), nullptr);
  auto eigener = std::make_shared<clsConnectionHandler>();
  rufe(*app, "ConnectList", {vb::Variant(eigener)}, CallKind::Set);
  // What a handler of another process is here: some other object.
  for (const vb::Variant& fremd : {vb::Variant(std::make_shared<QObject>()), vb::Variant(QStringLiteral("GRP4"))}) {
    try {
      rufe(*app, "ConnectList", {fremd}, CallKind::Set);
      ADD_FAILURE() << "no error";
    } catch (const vb::VbError& e) {
      EXPECT_EQ(e.number(), 13);
      EXPECT_TRUE(e.description().contains(QStringLiteral("\"Skrivant.clsConnectionHandler\"")));
    }
  }
  EXPECT_EQ(rufe(*app, "ConnectList", {}, CallKind::Get).object(), eigener);
  // SetDruckerOptionen makes it the engine's handler before it reads the form tables.
  testsupport::errorOf([&] { rufe(*app, "SetDruckerOptionen", {3, 1}); });
  EXPECT_EQ(GetGlobalConnectList(), eigener);
  SetGlobalConnectList(nullptr);

  const QString ordner = temp.path() + QStringLiteral("/Lokal/");
  QList<vb::Variant> argumente = {QStringLiteral("  ") + ordner + QStringLiteral(" \t")};
  automation::callByName(*app, QStringLiteral("LokalerPfad"), CallKind::Let, argumente);
  EXPECT_EQ(argumente.first(), vb::Variant(ordner));
  EXPECT_EQ(vb::CStr(rufe(*app, "LokalerPfad", {}, CallKind::Get)), ordner);
}

struct Aufruf {
  const char* member;
  QList<vb::Variant> args;
  CallKind kind = CallKind::Method;
};

QList<Aufruf> kopfZeilen(int seite, int anzahl) {
  QList<Aufruf> aufrufe;
  for (int i = 1; i <= anzahl; ++i)
    aufrufe << Aufruf{seite == 1 ? "SetKopfSeite1" : "SetKopfSeite2", {QString::number(i), 0, 0, 0, 0}};
  return aufrufe;
}

QString wert(const frmDrucken& f, const char* name) { return vb::CStr(f.GetValue(QString::fromUtf8(name), QString())); }

// Calls by name, then what the print window holds, read as one text.
TEST_F(ApplicationTest, ContentMembersPassTheirValuesOnAsTheHostExpects) {
  const QString s = QStringLiteral("Str");
  struct Fall {
    const char* name;
    QList<Aufruf> aufrufe;
    long fehler;
    std::function<QString(const frmDrucken&)> lesen;
    QString erwartet;
  };
  const auto abschluss = [](const char* mwst, const char* art) {
    return Aufruf{"SetAbschluss", {QString::fromUtf8(mwst), QString::fromUtf8(art), "", "", "", "", "", ""}};
  };
  const QList<Fall> faelle = {
      {"SetAdrFeld in any case, else a message",
       {{"SetAdrFeld", {"projekt", s, "Hang"}},
        {"SetAdrFeld", {"BAUHERR", s, "Ufer"}},
        {"SetAdrFeld", {"Kunde", s, "x"}}},
       0,
       [&](const frmDrucken& f) {
         return f.AdrProjektFeld(s) + f.AdrBauherrFeld(s) + dialogs->messageBoxes().value(0).text;
       },
       QStringLiteral("HangUferSetAdrFeld mit ungültiger AdrArt aufgerufen. (Projekt bzw. Bauherr)")},
      {"texts break lines at a single CR",
       {{"SetAnschrift", {"A\r\nB\nC", 0}}, {"SetSchlussText", {"D\r\nE"}}, {"SetZahlText", {"F\r\nG"}}},
       0,
       [](const frmDrucken& f) { return wert(f, "AnschriftEmpfaenger") + f.SchlussText() + f.ZahlText(); },
       QStringLiteral("A\rB\nCD\rEF\rG")},
      {"SetAbschlag: net for n, the amount as formatted text",
       {{"SetAbschlag", {"n", "Anzahlung", 1234.5}}, {"SetAbschlag", {"B", "Rate", 1234.125}}},
       0,
       [](const frmDrucken& f) {
         return QStringList({vb::CStr(f.Abzuege[0].VorMwStAbziehen), vb::CStr(f.Abzuege[0].Betrag), f.Abzuege[0].Text,
                             vb::CStr(f.Abzuege[1].VorMwStAbziehen), vb::CStr(f.Abzuege[1].Betrag)})
             .join('|');
       },
       QStringLiteral("Wahr|1234,5|- Anzahlung|Falsch|1.234,125")},
      {"SetAbschluss 19 e",
       {abschluss("19", "e")},
       0,
       [](const frmDrucken& f) { return vb::CStr(f.MWSTSatz_Voll()) + vb::CStr(f.NettoRechnung()); },
       QStringLiteral("0,19Wahr")},
      {"SetAbschluss empty I",
       {abschluss("", "I")},
       0,
       [](const frmDrucken& f) { return vb::CStr(f.MWSTSatz_Voll()) + vb::CStr(f.NettoRechnung()); },
       QStringLiteral("0,16Falsch")},
      {"NettoRechnung let",
       {{"NettoRechnung", {false}, CallKind::Let}, {"NettoRechnung", {true}, CallKind::Let}},
       0,
       [](const frmDrucken& f) { return f.AusgabeEndpreis(); },
       QStringLiteral("E")},
      {"255 page-1 header lines", kopfZeilen(1, 255), 0,
       [](const frmDrucken& f) { return f.KopfZeile(1) + "|" + f.KopfZeile(255); }, QStringLiteral("1|255")},
      {"the 256th page-1 header line", kopfZeilen(1, 256), 6, nullptr, {}},
      {"235 page-2 header lines", kopfZeilen(2, 235), 0,
       [](const frmDrucken& f) { return f.KopfZeile(21) + "|" + f.KopfZeile(255); }, QStringLiteral("1|235")},
      {"the 236th page-2 header line", kopfZeilen(2, 236), 6, nullptr, {}},
      {"Clear and Clear260 number the header lines afresh",
       kopfZeilen(1, 2) + QList<Aufruf>{{"Clear", {}}} + kopfZeilen(1, 1) + kopfZeilen(2, 2) +
           QList<Aufruf>{{"Clear260", {false}}} + kopfZeilen(2, 1),
       0, [](const frmDrucken& f) { return f.KopfZeile(1) + f.KopfZeile(2) + f.KopfZeile(21) + f.KopfZeile(22); },
       QStringLiteral("1212")},
      {"SetLeerzeilenZwischenPos 40000", {{"SetLeerzeilenZwischenPos", {40000}}}, 6, nullptr, {}},
      {"a second SetKundenNr replaces the first, Clear keeps it",
       {{"SetKundenNr", {10}}, {"SetKundenNr", {"20"}}, {"Clear", {}}},
       0,
       [](const frmDrucken& f) {
         const vb::Variant v = f.GetValue(QStringLiteral("KundenNr"), {});
         return vb::CStr(v) + (v.varType() == vb::VarType::Long ? "L" : "?");
       },
       QStringLiteral("20L")},
      {"AddAbschluss draws the sum line only for True",
       {{"AddAbschluss", {"Brutto", "a"}},
        {"AddAbschluss", {"MWST", "b", vb::Variant::null()}},
        {"AddAbschluss", {"Zwischensumme", "c", true}},
        {"AddAbschluss", {"Netto", "d", false}}},
       0,
       [](const frmDrucken& f) {
         QString t;
         for (const AbschlussZeile& z : f.Abschluss) t += z.Key + (z.LinieEinfach ? "-" : " ");
         return t;
       },
       QStringLiteral("Brutto MWST Zwischensumme-Netto ")},
      {"values by their names, umlauts too",
       {{"SetRechnungDatum", {QDate(2024, 9, 5)}},
        {"SetDruckwährung", {"EUR"}},
        {"SetUebertrag", {0}},
        {"DruckeBeiUebertragTitelSummen", {}},
        {"SetFormBez", {"Rechnung"}},
        {"SetAnzahlKopien", {3}},
        {"DruckeOhneEPGP", {}},
        {"SetFormToBlankett", {}},
        {"MWSTSatz_halb", {0.07}, CallKind::Let}},
       0,
       [](const frmDrucken& f) {
         return QStringList({wert(f, "RechnungDatum"), f.Druckwaehrung(), vb::CStr(f.UebertraegeDrucken()),
                             vb::CStr(f.UebertraegeProTitel()), f.DokumentTitel(), vb::CStr(f.AnzahlKopien()),
                             vb::CStr(f.MWSTSatz_halb()), vb::CStr(f.DruckOhneEPGP()),
                             vb::CStr(f.AusgabeAlsBlankett())})
             .join('|');
       },
       QStringLiteral("05.09.2024|EUR|Falsch|Wahr|Rechnung|3|0,07|Wahr|Wahr")},
  };
  for (const Fall& fall : faelle) {
    SCOPED_TRACE(fall.name);
    auto app = std::make_shared<Application>();
    long fehler = 0;
    for (const Aufruf& a : fall.aufrufe) fehler = testsupport::errorOf([&] { rufe(*app, a.member, a.args, a.kind); });
    EXPECT_EQ(fehler, fall.fehler);
    if (fall.lesen) {
      EXPECT_EQ(fall.lesen(*GeladenesDruckfenster()), fall.erwartet);
    }
  }
}

// A missing hand-over file is refused with the window's message, still True; the designer opens
// on a template without the report kind given.
TEST_F(ApplicationTest, SetDataBaseNameAndOpenDesignGoThroughTheWindowsOwnDialogs) {
  auto app = std::make_shared<Application>();
  EXPECT_EQ(rufe(*app, "SetDataBaseName", {temp.file(QStringLiteral("fehlt.mdb"))}), vb::Variant(true));
  EXPECT_EQ(GeladenesDruckfenster()->Uebergabedatei(), QString());
  EXPECT_EQ(dialogs->messageBoxes().size(), 1);
  EXPECT_TRUE(rufe(*app, "OpenDesign", {QStringLiteral(SKRIVANT_SOURCE_DIR "/templates/Rechnung.lst")}).isEmpty());
  EXPECT_EQ(dialogs->shown().last().kind, QStringLiteral("designer"));

  // The handler another object left in the one window (a form type's, empty; a dunning letter's)
  // is neither used by the invoice designer nor taken from its owner.
  const auto fenster = GeladenesDruckfenster();
  auto allgemein = std::make_shared<clsDruckAllgemein>();
  for (const auto& fremd : {fenster->DruckdatenHandler, std::shared_ptr<QObject>(std::make_shared<clsMahnDruckHandler>())}) {
    fenster->set_DruckdatenHandler(vb::Variant(fremd));
    EXPECT_EQ(testsupport::errorOf([&] { rufe(*app, "OpenDesign", {QStringLiteral(SKRIVANT_SOURCE_DIR "/templates/Rechnung.lst")}); }), 0);
    EXPECT_TRUE(dialogs->shown().last().title == QStringLiteral("Rechnungsentwurf") && fenster->DruckdatenHandler == fremd);
  }
}

}  // namespace

// A program that registered no template manager: the call fails quietly into the debug log, and
// the host is not left waiting on a busy state that nothing would end.
TEST_F(ApplicationTest, FormularGestaltungWithoutATemplateManagerIsLoggedAndLeavesItNotBusy) {
  auto app = std::make_shared<Application>();
  EXPECT_TRUE(rufe(*app, "FormularGestaltung", {std::int16_t(3), std::int16_t(1)}).isEmpty());
  EXPECT_FALSE(vb::CBool(rufe(*app, "IsBesetzt")));
  const QStringList zeilen = log.lines();
  ASSERT_GE(zeilen.size(), 2);
  EXPECT_EQ(zeilen[zeilen.size() - 2], QStringLiteral("Start Formulargestaltung"));
  EXPECT_TRUE(zeilen.last().startsWith(QStringLiteral("429: "))) << qPrintable(zeilen.last());
}
