// Loading a form's print options into the print window: the form settings of this workstation,
// the texts and the copy count.
#include <gtest/gtest.h>

#include "engine/clsDruckerSchacht.h"
#include "engine/modSystem.h"
#include "platform/automation/LateBinding.h"
#include "platform/vb/VbError.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/DruckFensterFixture.h"

namespace {

using testsupport::errorOf;

constexpr short kStatus = 1;

class frmDruckenDruckoptionen : public testsupport::DruckFensterFixture {
 protected:
  void SetUp() override {
    DruckFensterFixture::SetUp();
    vorlage = temp.write(QStringLiteral("Rechnung.lst"), "{}");
  }

  // Form `nummer` with every text column filled ("<Spalte> <nummer>") and `kopien` copies.
  void formular(short nummer, const QString& kopien) const {
    db.addForm(kStatus, nummer,
               QStringLiteral("BerichtArt, Formatdatei, AnzahlKopien, Kopftext, Absender, ÜberschriftText, GewerkText, "
                              "AngebotNrText, ProjektNrText, KundenNrText, SachbearbeiterText, DatumText"),
               QStringLiteral("2, '%1', %2, 'Kopf %3', 'Absender %3', 'Titel %3', 'Gewerk %3', 'Angebot %3', "
                              "'Projekt %3', 'Kunde %3', 'SB %3', 'Datum %3'")
                   .arg(vorlage, kopien)
                   .arg(nummer));
  }

  QString wert(const QString& key) const { return vb::CStr(fenster->GetValue(key, QStringLiteral("<fehlt>"))); }

  enginetest::FormDatabase db;
  QString vorlage;
};

TEST_F(frmDruckenDruckoptionen, TheFormsTextsBecomeTheDocumentsTexts) {
  formular(4, QStringLiteral("1"));
  fenster->SetDruckerOptionen(kStatus, 4);

  EXPECT_EQ(fenster->intCurFormNummer, 4);
  EXPECT_EQ(fenster->intCurFormStatus, kStatus);
  EXPECT_EQ(fenster->DruckerSchacht->Formatdatei(), vorlage);
  EXPECT_EQ(fenster->Betrefftext(), QStringLiteral("Kopf 4"));
  EXPECT_EQ(wert(QStringLiteral("AbsenderSichtfenster")), QStringLiteral("Absender 4"));
  EXPECT_EQ(fenster->DokumentTitel(), QStringLiteral("Titel 4"));
  const QStringList labels = {QStringLiteral("Gewerk 4"), QStringLiteral("Angebot 4"), QStringLiteral("Projekt 4"),
                              QStringLiteral("Kunde 4"),  QStringLiteral("SB 4"),      QStringLiteral("Datum 4")};
  for (int n = 1; n <= 6; ++n)
    EXPECT_EQ(wert(QStringLiteral("BlockLabel0%1").arg(n)), labels.at(n - 1)) << n;
  EXPECT_TRUE(dialogs->shown().isEmpty());
}

TEST_F(frmDruckenDruckoptionen, TheFormsHeadTextReplacesOneTheCallerSetBefore) {
  formular(1, QStringLiteral("1"));
  fenster->let_Betrefftext(QStringLiteral("Vom Aufrufer"));
  fenster->SetDruckerOptionen(kStatus, 1);
  EXPECT_EQ(fenster->Betrefftext(), QStringLiteral("Kopf 1"));
}

TEST_F(frmDruckenDruckoptionen, TheRoutesAreThoseOfThisWorkstation) {
  formular(1, QStringLiteral("1"));
  db.addRoute(QStringLiteral("$GLOBAL$"), kStatus, 1, 1, 99999, 1, 99999, QStringLiteral("'Global'"));
  db.addRoute(GetRechnerName(), kStatus, 1, 1, 99999, 1, 99999, QStringLiteral("'Hier'"), 2);
  fenster->SetDruckerOptionen(kStatus, 1);
  EXPECT_EQ(fenster->DruckerSchacht->Drucker(1, 1), QStringLiteral("Hier"));
  EXPECT_EQ(fenster->DruckerSchacht->SchachtNr(1, 1), 2);
}

TEST_F(frmDruckenDruckoptionen, ATemplateWithoutCopiesGivesOneCopy) {
  formular(1, QStringLiteral("0"));
  formular(2, QStringLiteral("NULL"));
  fenster->SetDruckerOptionen(kStatus, 1);
  EXPECT_EQ(fenster->AnzahlKopien(), 1);
  fenster->SetDruckerOptionen(kStatus, 2);
  EXPECT_EQ(fenster->AnzahlKopien(), 1);
}

TEST_F(frmDruckenDruckoptionen, TheTemplatesCopiesFollowEveryFormLoadedUntilTheCallerSetsSome) {
  formular(1, QStringLiteral("3"));
  formular(2, QStringLiteral("5"));
  fenster->SetDruckerOptionen(kStatus, 1);
  EXPECT_EQ(fenster->AnzahlKopien(), 3);
  EXPECT_TRUE(fenster->KopienAusVorlage);
  fenster->SetDruckerOptionen(kStatus, 2);
  EXPECT_EQ(fenster->AnzahlKopien(), 5);
}

TEST_F(frmDruckenDruckoptionen, CopiesTheCallerSetStayWhateverTheTemplateSays) {
  formular(1, QStringLiteral("3"));
  fenster->let_AnzahlKopien(2);
  fenster->SetDruckerOptionen(kStatus, 1);
  EXPECT_EQ(fenster->AnzahlKopien(), 2);
  EXPECT_FALSE(fenster->KopienAusVorlage);
}

TEST_F(frmDruckenDruckoptionen, ClearAnzahlKopienTakesTheTemplatesCountAgain) {
  formular(1, QStringLiteral("3"));
  fenster->let_AnzahlKopien(2);
  fenster->ClearAnzahlKopien();
  fenster->SetDruckerOptionen(kStatus, 1);
  EXPECT_EQ(fenster->AnzahlKopien(), 3);
}

TEST_F(frmDruckenDruckoptionen, HostsReachItByName) {
  formular(7, QStringLiteral("2"));
  automation::callByName(*fenster, QStringLiteral("SetDruckerOptionen"), automation::CallKind::Method,
                         {vb::Variant(1), vb::Variant(7)});
  EXPECT_EQ(fenster->intCurFormNummer, 7);
  EXPECT_EQ(fenster->AnzahlKopien(), 2);
}

TEST_F(frmDruckenDruckoptionen, AMissingFormReachesTheCallerAndLeavesTheTextsAlone) {
  fenster->let_Betrefftext(QStringLiteral("Bleibt"));
  fenster->let_AnzahlKopien(4);
  fenster->ClearAnzahlKopien();
  EXPECT_EQ(errorOf([&] { fenster->SetDruckerOptionen(kStatus, 9); }), vb::ErrObjectNotSet);
  // The form's identity is taken before the load; nothing after the failing call ran.
  EXPECT_EQ(fenster->intCurFormNummer, 9);
  EXPECT_EQ(fenster->Betrefftext(), QStringLiteral("Bleibt"));
  EXPECT_EQ(fenster->AnzahlKopien(), 4);
}

}  // namespace
