// The print window's creation, load and job-state members.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "engine/clsDruckerSchacht.h"
#include "platform/automation/LateBinding.h"
#include "platform/ui/ProgramInfo.h"
#include "platform/vb/VbError.h"
#include "tests/support/DruckFensterFixture.h"
#include "tests/support/ErrorOf.h"

namespace {

using automation::callByName;
using automation::CallKind;

// A print-data handler as the handler-driven classes hand it over: it only takes the control.
class HandlerAttrappe : public QObject {
  Q_OBJECT

 public:
  Q_INVOKABLE void set_LL(const std::shared_ptr<QObject>& ll) {
    erhalten = ll;
    ++aufrufe;
  }
  std::shared_ptr<QObject> erhalten;
  int aufrufe = 0;
};

// An object without an LL member.
class OhneLL : public QObject {
  Q_OBJECT
};

long fehlerNummer(const std::function<void()>& f) { return testsupport::errorOf(f); }

const QString kUngueltigerModus = QStringLiteral("Ungültiger Aufruf von StartPrint. 'AusgabeModus' enthält ungültigen Wert");

class frmDruckenTest : public testsupport::DruckFensterFixture {};

TEST_F(frmDruckenTest, CreationAndLoadWriteTheirLogLinesInOrder) {
  EXPECT_EQ(logZeilen(), QStringList({QStringLiteral("->frmDrucken.Initialize"), QStringLiteral("frmDrucken.Initialize->"),
                                      QStringLiteral("->frmDrucken_Load"), QStringLiteral("frmDrucken_Load->")}));
}

TEST_F(frmDruckenTest, CreationDeletesLeftoverBatchMembersInAnyLetterCase) {
  for (const char* name : {"SDRK001.LL", "SDRK1000.LL", "sdrk002.ll", "SDRK001.LST", "Rechnung.LL", "XSDRK3.LL"})
    temp.write(QString::fromLatin1(name), "Seiten");
  auto zweites = neuesFenster();
  QStringList uebrig = QDir(temp.path()).entryList(QDir::Files);
  uebrig.removeAll(QStringLiteral("Debug.txt"));
  uebrig.sort();
  EXPECT_EQ(uebrig, QStringList({QStringLiteral("Rechnung.LL"), QStringLiteral("SDRK001.LST"), QStringLiteral("XSDRK3.LL")}));
}

TEST_F(frmDruckenTest, ReleasingTheWindowLeavesBatchMembersOnDisk) {
  const QString member = temp.write(QStringLiteral("SDRK001.LL"), "Seiten");
  fenster.reset();
  EXPECT_TRUE(QFileInfo::exists(member));
}

TEST_F(frmDruckenTest, CreationMakesTheFormsFolder) {
  EXPECT_TRUE(QFileInfo(temp.file(QStringLiteral("Formular"))).isDir());
}

TEST_F(frmDruckenTest, StartsWithItsInitialJobState) {
  EXPECT_FALSE(fenster->Running());
  EXPECT_FALSE(fenster->ExitCode());
  EXPECT_TRUE(fenster->KopienAusVorlage);
  EXPECT_FALSE(fenster->DuplikatModusFest);
  EXPECT_EQ(fenster->LeerzeilenZwischenPositionen(), 1);
  EXPECT_EQ(fenster->AnzahlKopien(), 0);
  EXPECT_EQ(fenster->StapelKopien.Count(), 0);
  EXPECT_FALSE(fenster->DruckdatenHandler);
  ASSERT_TRUE(fenster->DruckerSchacht);
  EXPECT_EQ(&fenster->LL(), ll.get());
}

TEST_F(frmDruckenTest, RunningAndExitCodeAreReachableByName) {
  EXPECT_EQ(callByName(*fenster, QStringLiteral("running"), CallKind::Get), vb::Variant(false));
  EXPECT_EQ(callByName(*fenster, QStringLiteral("ExitCode"), CallKind::Get), vb::Variant(false));
}

TEST_F(frmDruckenTest, HandlerReceivesTheReportControlWhenSet) {
  auto handler = std::make_shared<HandlerAttrappe>();
  callByName(*fenster, QStringLiteral("DruckdatenHandler"), CallKind::Set, {vb::Variant(handler)});
  EXPECT_EQ(fenster->DruckdatenHandler, handler);
  EXPECT_EQ(handler->aufrufe, 1);
  EXPECT_EQ(handler->erhalten.get(), static_cast<QObject*>(ll.get()));
}

TEST_F(frmDruckenTest, SettingTheHandlerToNothingClearsItWithoutCallingAnyone) {
  auto handler = std::make_shared<HandlerAttrappe>();
  fenster->set_DruckdatenHandler(vb::Variant(handler));
  fenster->set_DruckdatenHandler(vb::Variant::nothing());
  EXPECT_FALSE(fenster->DruckdatenHandler);
  EXPECT_EQ(handler->aufrufe, 1);
}

TEST_F(frmDruckenTest, HandlerWithoutLLMemberFailsWith438AndStaysSet) {
  auto handler = std::make_shared<OhneLL>();
  EXPECT_EQ(fehlerNummer([&] { fenster->set_DruckdatenHandler(vb::Variant(handler)); }), vb::ErrNoSuchMember);
  EXPECT_EQ(fenster->DruckdatenHandler, handler);
}

TEST_F(frmDruckenTest, HandlerThatIsNoObjectIsATypeMismatch) {
  EXPECT_EQ(fehlerNummer([&] { fenster->set_DruckdatenHandler(vb::Variant(5)); }), vb::ErrTypeMismatch);
  EXPECT_FALSE(fenster->DruckdatenHandler);
}

TEST_F(frmDruckenTest, InitEmptiesCallerVariablesAndDeductionsOnly) {
  fenster->Init();
  fenster->AddDruckvariable(QStringLiteral("RechnungNr"), QStringLiteral("R-1"), 0x10000000);
  fenster->AddAbzugBetrag(false, QStringLiteral("5,00"), 0.19, QStringLiteral("- Anzahlung"));
  fenster->AddAbschluss(QStringLiteral("Brutto"), QStringLiteral("Endbetrag"), false);
  fenster->let_DokumentTitel(QStringLiteral("Rechnung"));
  fenster->let_AnzahlKopien(3);
  fenster->intCurFormNummer = 4;
  fenster->intCurFormStatus = 3;

  fenster->Init();

  EXPECT_EQ(fenster->GetDruckvariable(QStringLiteral("RechnungNr"), QStringLiteral("keine")), vb::Variant("keine"));
  EXPECT_TRUE(fenster->Abzuege.empty());
  EXPECT_EQ(fenster->Abschluss.size(), 1u);
  EXPECT_EQ(fenster->DokumentTitel(), QStringLiteral("Rechnung"));
  EXPECT_EQ(fenster->AnzahlKopien(), 3);
  EXPECT_EQ(fenster->intCurFormNummer, 0);
  EXPECT_EQ(fenster->intCurFormStatus, 0);
}

TEST_F(frmDruckenTest, CallerVariablesNeedInitFirst) {
  EXPECT_EQ(fehlerNummer([&] { fenster->AddDruckvariable(QStringLiteral("X"), QStringLiteral("1"), 0x10000000); }),
            vb::ErrObjectNotSet);
  EXPECT_EQ(fenster->GetDruckvariable(QStringLiteral("X"), 7), vb::Variant(7));
}

TEST_F(frmDruckenTest, ClearAnzahlKopienLetsTheTemplateGiveTheCountAgain) {
  fenster->let_AnzahlKopien(3);
  EXPECT_FALSE(fenster->KopienAusVorlage);
  callByName(*fenster, QStringLiteral("ClearAnzahlKopien"), CallKind::Method);
  EXPECT_TRUE(fenster->KopienAusVorlage);
  EXPECT_EQ(fenster->AnzahlKopien(), 3);
}

TEST_F(frmDruckenTest, PreviewShowsTheInvalidModeMessageAndPrintsNothing) {
  callByName(*fenster, QStringLiteral("Preview"), CallKind::Method);
  const auto boxen = dialogs->messageBoxes();
  ASSERT_EQ(boxen.size(), 1);
  EXPECT_EQ(boxen.first().text, kUngueltigerModus);
  EXPECT_EQ(boxen.first().style, ui::vbOKOnly);
  EXPECT_EQ(boxen.first().title, ui::programTitle());
  EXPECT_TRUE(ll->calls().isEmpty());
  EXPECT_FALSE(fenster->Running());
}

TEST_F(frmDruckenTest, ModeCheckRefusesEveryModeOutsideOneToFour) {
  for (short modus : {0, 5, -1, 99}) EXPECT_FALSE(frmDrucken::AusgabeModusPruefen(modus)) << modus;
  EXPECT_EQ(dialogs->messageBoxes().size(), 4);
  for (short modus : {1, 2, 3, 4}) EXPECT_TRUE(frmDrucken::AusgabeModusPruefen(modus)) << modus;
  EXPECT_EQ(dialogs->messageBoxes().size(), 4);
}

}  // namespace

#include "frmDruckenTest.moc"
