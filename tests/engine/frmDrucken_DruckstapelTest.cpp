// The print batch on the real report control: members kept as "SDRKnnn.LL" in the local path,
// printed member by member with their own copies, or previewed merged.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/report/PageView.h"
#include "platform/report/PreviewWindow.h"
#include "platform/vb/VbError.h"
#include "tests/engine/DruckausgabeSupport.h"
#include "tests/support/Dateigrenze.h"
#include "tests/support/DruckFensterFixture.h"
#include "tests/support/ErrorOf.h"

namespace {

using druckausgabe::dokument;
using druckausgabe::seiten;

const QString A = QStringLiteral("Dokument A");
const QString B = QStringLiteral("Dokument B");
const QString C = QStringLiteral("Dokument C");
const QString D = QStringLiteral("Dokument D");

class frmDrucken_DruckstapelTest : public druckausgabe::EchterDruck {
 protected:
  void SetUp() override {
    EchterDruck::SetUp();
    katalog->setPrinters({enginetest::printer(QStringLiteral("Laser"), {QStringLiteral("Fach 1")})});
    db.addRoute(QStringLiteral("$GLOBAL$"), druckausgabe::kFormStatus, druckausgabe::kFormNummer, 1, 99, 1, 99999,
                QStringLiteral("'Laser'"), 1);
    druckausgabe::ladeFormular(*fenster, db, vorlage);
  }

  // Plays the user in the preview of a mode 1 job: accepts the print options, then notes the
  // preview's page count, the merged storage's pages and the member files while it is open.
  void vorschauSchliessen() {
    dialogs->answerWindow([](QDialog&) { return int(QDialog::Accepted); });
    dialogs->answerWindow([this](QDialog& d) {
      if (auto* vorschau = qobject_cast<report::PreviewWindow*>(&d)) vorschauSeiten = vorschau->view().pageCount();
      gezeigt = druckausgabe::seitenTexte(log.dir().file(QStringLiteral("SDRK001.LL")));
      mitgliederBeimZeigen = dateien(QStringLiteral("SDRK*"));
      d.reject();
      return int(QDialog::Rejected);
    });
  }

  int vorschauSeiten = 0;
  QStringList gezeigt;
  QStringList mitgliederBeimZeigen;
};

long fehlerNummer(const std::function<void()>& f) { return testsupport::errorOf(f); }

}  // namespace

TEST_F(frmDrucken_DruckstapelTest, AddedDocumentsWaitAsNumberedMembersWithTheirCopies) {
  dokument(*fenster, 3, vorlage, A, 1, 2);
  dokument(*fenster, 3, vorlage, B, 2, 1);
  dokument(*fenster, 3, vorlage, C, 3, 3);
  EXPECT_EQ(dateien(QStringLiteral("*.LL")),
            QStringList({QStringLiteral("SDRK001.LL"), QStringLiteral("SDRK002.LL"), QStringLiteral("SDRK003.LL")}));
  EXPECT_EQ(druckausgabe::seitenTexte(log.dir().file(QStringLiteral("SDRK002.LL"))), seiten(B, 2));
  EXPECT_EQ(fenster->StapelAnzahl, 3);
  ASSERT_EQ(fenster->StapelKopien.Count(), 3);
  EXPECT_EQ(fenster->StapelKopien.Item(1), 2);
  EXPECT_EQ(fenster->StapelKopien.Item(2), 1);
  EXPECT_EQ(fenster->StapelKopien.Item(3), 3);
  EXPECT_TRUE(druck->documents().isEmpty());
}

TEST_F(frmDrucken_DruckstapelTest, PrintedFourthDocumentTakesTheMembersAlongInOrderWithTheirOwnCopies) {
  dokument(*fenster, 3, vorlage, A, 1, 2);
  dokument(*fenster, 3, vorlage, B, 2, 1);
  dokument(*fenster, 3, vorlage, C, 3, 3);
  dokument(*fenster, 2, vorlage, D, 2, 1);

  EXPECT_EQ(gedruckt(), QList<QStringList>({seiten(A, 1), seiten(A, 1), seiten(B, 2), seiten(C, 3), seiten(C, 3),
                                            seiten(C, 3), seiten(D, 2)}));
  for (const auto& d : druck->documents()) {
    EXPECT_EQ(d.printer, QStringLiteral("Laser"));
    EXPECT_EQ(d.bin, 1);
    EXPECT_GT(d.job, 0);
  }
  EXPECT_TRUE(dateien(QStringLiteral("SDRK*.LL")).isEmpty());
  EXPECT_TRUE(dateien(QStringLiteral("*.LL")).isEmpty());
  EXPECT_EQ(fenster->StapelAnzahl, 0);
  EXPECT_EQ(fenster->StapelKopien.Count(), 0);
}

TEST_F(frmDrucken_DruckstapelTest, PreviewedThirdDocumentShowsAllThreeMergedThenDeletesTheMembers) {
  dokument(*fenster, 3, vorlage, A, 1, 2);
  dokument(*fenster, 3, vorlage, B, 2, 1);
  vorschauSchliessen();
  dokument(*fenster, 1, vorlage, C, 1);

  EXPECT_EQ(vorschauSeiten, 4);
  EXPECT_EQ(gezeigt, seiten(A, 1) + seiten(B, 2) + seiten(C, 1));
  EXPECT_EQ(mitgliederBeimZeigen,
            QStringList({QStringLiteral("SDRK001.LL"), QStringLiteral("SDRK002.LL"), QStringLiteral("SDRK003.LL")}));
  EXPECT_EQ(dialogs->pendingAnswers(), 0);
  EXPECT_TRUE(dateien(QStringLiteral("*.LL")).isEmpty());
  EXPECT_TRUE(druck->documents().isEmpty());
  EXPECT_EQ(fenster->StapelAnzahl, 0);
  EXPECT_EQ(fenster->StapelKopien.Count(), 0);
}

TEST_F(frmDrucken_DruckstapelTest, BatchAfterAPreviewPrintsWithTheNewCopyCountsOnly) {
  dokument(*fenster, 3, vorlage, A, 1, 5);
  vorschauSchliessen();
  dokument(*fenster, 1, vorlage, B, 1);
  dokument(*fenster, 3, vorlage, C, 1, 2);
  dokument(*fenster, 2, vorlage, D, 1, 1);
  EXPECT_EQ(gedruckt(), QList<QStringList>({seiten(C, 1), seiten(C, 1), seiten(D, 1)}));
  EXPECT_TRUE(dateien(QStringLiteral("*.LL")).isEmpty());
}

TEST_F(frmDrucken_DruckstapelTest, PdfExportNeitherUsesNorEndsTheBatch) {
  dokument(*fenster, 3, vorlage, A, 1, 1);
  fenster->let_PDFArchivDatei(log.dir().file(QStringLiteral("B.pdf")));
  dokument(*fenster, 4, vorlage, B, 1);
  EXPECT_TRUE(QFileInfo::exists(log.dir().file(QStringLiteral("B.pdf"))));
  EXPECT_EQ(fenster->StapelAnzahl, 1);
  EXPECT_EQ(dateien(QStringLiteral("*.LL")), QStringList({QStringLiteral("SDRK001.LL")}));
  dokument(*fenster, 2, vorlage, C, 1);
  EXPECT_EQ(gedruckt(), QList<QStringList>({seiten(A, 1), seiten(C, 1)}));
}

TEST_F(frmDrucken_DruckstapelTest, StaleMemberOfTheSameNameIsReplaced) {
  log.dir().write(QStringLiteral("SDRK001.LL"), "ein Rest");
  dokument(*fenster, 3, vorlage, A, 2);
  EXPECT_EQ(druckausgabe::seitenTexte(log.dir().file(QStringLiteral("SDRK001.LL"))), seiten(A, 2));
}

TEST_F(frmDrucken_DruckstapelTest, MemberThousandGetsFourDigits) {
  fenster->StapelAnzahl = 999;
  dokument(*fenster, 3, vorlage, A, 1);
  EXPECT_EQ(dateien(QStringLiteral("*.LL")), QStringList({QStringLiteral("SDRK1000.LL")}));
}

// A document whose storage is missing (its job cancelled or failed) leaves the batch as it was,
// so the members after it print with their own copies.
TEST_F(frmDrucken_DruckstapelTest, AFailedStoreLeavesTheBatchAsItWas) {
  dokument(*fenster, 3, vorlage, A, 1, 2);
  fenster->Speicherdatei = log.dir().file(QStringLiteral("Fehlt.LL"));
  fenster->let_AnzahlKopien(7);
  EXPECT_EQ(fehlerNummer([&] { fenster->DruckAbschliessen(3, QStringLiteral("Fehlt.lst")); }), vb::ErrFileNotFound);
  EXPECT_EQ(fenster->StapelAnzahl, 1);
  EXPECT_EQ(fenster->StapelKopien.Count(), 1);
  dokument(*fenster, 2, vorlage, B, 1, 1);
  EXPECT_EQ(gedruckt(), QList<QStringList>({seiten(A, 1), seiten(A, 1), seiten(B, 1)}));
}

TEST_F(frmDrucken_DruckstapelTest, BatchNeverOutputStaysUntilTheNextWindowIsCreated) {
  dokument(*fenster, 3, vorlage, A, 1);
  fenster.reset();
  EXPECT_EQ(dateien(QStringLiteral("SDRK*.LL")), QStringList({QStringLiteral("SDRK001.LL")}));
  fenster = std::make_shared<frmDrucken>(ll);
  EXPECT_TRUE(dateien(QStringLiteral("SDRK*.LL")).isEmpty());
  EXPECT_TRUE(druck->documents().isEmpty());
}

// Another running engine keeps its batch in the same local path: a new window leaves its member
// alone and keeps its own batch in a folder of its own there; the folder of an engine that ended goes.
TEST_F(frmDrucken_DruckstapelTest, BatchOfAnotherRunningEngineInTheLocalPathStaysItsOwn) {
  const QString geteilt = log.dir().file(QStringLiteral("geteilt"));
  ASSERT_TRUE(QDir().mkpath(geteilt + QStringLiteral("/.skrivant-1-beendet")));
  const QByteArray fremd = "Mitglied der anderen Engine";
  log.dir().write(QStringLiteral("geteilt/SDRK001.LL"), fremd);
  log.dir().write(QStringLiteral("geteilt/.skrivant-1-beendet/SDRK001.LL"), "Rest");
  // The other engine's claim on the folder: flock conflicts between open files, in one process too.
  const int andere = ::open(QFile::encodeName(geteilt).constData(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(::flock(andere, LOCK_EX | LOCK_NB), 0);

  SetLokalerPfad(geteilt);
  fenster = std::make_shared<frmDrucken>(ll);
  fenster->DruckerSchacht->LoadDruckForm(GetRechnerName(), druckausgabe::kFormNummer, druckausgabe::kFormStatus);
  dokument(*fenster, 3, vorlage, A, 1);
  EXPECT_EQ(QFileInfo(geteilt + QStringLiteral("/SDRK001.LL")).size(), fremd.size());
  const QStringList ordner = QDir(geteilt).entryList({QStringLiteral(".skrivant-*")}, QDir::Dirs | QDir::Hidden);
  ASSERT_EQ(ordner.size(), 1);
  EXPECT_NE(ordner[0], QStringLiteral(".skrivant-1-beendet"));
  EXPECT_EQ(druckausgabe::seitenTexte(geteilt + QLatin1Char('/') + ordner[0] + QStringLiteral("/SDRK001.LL")), seiten(A, 1));
  ::close(andere);
}

// The report operations of the merged preview, in order.
class frmDrucken_DruckstapelAufrufeTest : public testsupport::DruckFensterFixture {};

TEST_F(frmDrucken_DruckstapelAufrufeTest, MergedPreviewAppendsEveryMemberToTheFirstThenShowsAndDeletesThem) {
  const QString lokal = GetLokalerPfad();
  const auto q = [&](const QString& name) { return QLatin1Char('"') + lokal + name + QLatin1Char('"'); };
  fenster->Speicherdatei = lokal + QStringLiteral("SDRK003.LL");
  fenster->StapelAnzahl = 3;
  fenster->StapelKopien.Add(1);
  fenster->DruckstapelVorschau();
  EXPECT_EQ(ll->calls(),
            QStringList({QStringLiteral("OpenStorage(%1, \"\", 0, 0)").arg(q(QStringLiteral("SDRK001.LL"))),
                         QStringLiteral("OpenStorage(%1, \"\", 0, 0)").arg(q(QStringLiteral("SDRK002.LL"))),
                         QStringLiteral("AppendStorage(1, 2)"), QStringLiteral("CloseStorage(2)"),
                         QStringLiteral("OpenStorage(%1, \"\", 0, 0)").arg(q(QStringLiteral("SDRK003.LL"))),
                         QStringLiteral("AppendStorage(1, 3)"), QStringLiteral("CloseStorage(3)"),
                         QStringLiteral("CloseStorage(1)"),
                         QStringLiteral("ShowPreview(%1, \"\", 0)").arg(q(QStringLiteral("SDRK001.LST"))),
                         QStringLiteral("DeletePreviewFiles(%1, \"\")").arg(q(QStringLiteral("SDRK001.LL"))),
                         QStringLiteral("DeletePreviewFiles(%1, \"\")").arg(q(QStringLiteral("SDRK002.LL"))),
                         QStringLiteral("DeletePreviewFiles(%1, \"\")").arg(q(QStringLiteral("SDRK003.LL")))}));
  EXPECT_EQ(fenster->Speicherdatei, lokal + QStringLiteral("SDRK001.LL"));
  EXPECT_EQ(fenster->StapelAnzahl, 0);
  EXPECT_EQ(fenster->StapelKopien.Count(), 0);
}

// A member cut by a full disk fails its own call and is not taken; one that cannot be read when
// the batch prints is named by its document and why, the others print, and its file stays.
TEST_F(frmDrucken_DruckstapelTest, MembersCutOrUnreadableAreToldByTheirOwnDocument) {
  dokument(*fenster, 3, vorlage, A, 1);
  testsupport::mitDateigrenze(200, [&] { dokument(*fenster, 3, vorlage, D, 1); });
  EXPECT_EQ(fenster->ExitCode(), 1);
  EXPECT_EQ(dateien(QStringLiteral("SDRK*.LL")), QStringList({QStringLiteral("SDRK001.LL")}));

  fenster->JobBeginn();  // the next job tells its own failure
  dokument(*fenster, 3, vorlage, B, 1);
  QFile zwei(log.dir().file(QStringLiteral("SDRK002.LL")));
  ASSERT_TRUE(zwei.resize(zwei.size() / 2));
  dokument(*fenster, 2, vorlage, C, 1);
  EXPECT_EQ(gedruckt(), QList<QStringList>({seiten(A, 1), seiten(C, 1)}));
  const auto boxen = dialogs->messageBoxes();
  ASSERT_EQ(boxen.size(), 2);
  EXPECT_TRUE(boxen[0].text.contains(QStringLiteral("File too large"))) << boxen[0].text.toStdString();
  EXPECT_TRUE(boxen[1].text.contains(QStringLiteral("Dokument 2 (Vorlage 'Liste'): die Druckdatei kann nicht gelesen werden: ") +
                                     zwei.fileName() + QStringLiteral(" is no storage file")))
      << boxen[1].text.toStdString();
  EXPECT_EQ(dateien(QStringLiteral("SDRK*.LL")), QStringList({QStringLiteral("SDRK002.LL")}));
}
