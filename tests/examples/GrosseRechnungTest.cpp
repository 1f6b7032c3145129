// A 1,000-position invoice through the whole engine, held against the text it printed when the
// engine was last known right: the PDF and the batch's storage file give the same pages and the
// same text, line for line as pdftotext reads them.
#include <gtest/gtest.h>

#include <QFile>
#include <QStandardPaths>

#include "engine/frmDrucken.h"
#include "examples/BeispielHost.h"
#include "foundation/modSkrivant.h"
#include "platform/report/PageOutput.h"
#include "platform/report/StorageFile.h"
#include "platform/ui/ScriptedDialogs.h"
#include "tests/examples/PdfText.h"
#include "tests/support/RequireTool.h"
#include "tests/support/TempDir.h"

using namespace testsupport;

namespace {

const QString kErwartet = QStringLiteral(SKRIVANT_SOURCE_DIR "/tests/examples/GrosseRechnung.txt");

QString erwarteterText() {
  QFile f(kErwartet);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// The first line where `ist` and `soll` differ, for the failure message.
QString ersterUnterschied(const QString& ist, const QString& soll) {
  const QStringList a = ist.split(QLatin1Char('\n')), b = soll.split(QLatin1Char('\n'));
  for (qsizetype i = 0; i < qMax(a.size(), b.size()); ++i) {
    const QString x = a.value(i), y = b.value(i);
    if (x != y) return QStringLiteral("line %1:\n  printed  '%2'\n  expected '%3'").arg(i + 1).arg(x, y);
  }
  return {};
}

class GrosseRechnungTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetLokalerPfad(QString());
    SetDatenverzeichnis(QString());
  }

  TempDir temp;
  ui::ScopedScriptedDialogs dialogs;
};

TEST_F(GrosseRechnungTest, PdfAndBatchStorageKeepTheirPagesAndText) {
  SKRIVANT_REQUIRE_TOOL(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(), "pdftotext missing");
  beispiel::BeispielHost host(temp.file(QStringLiteral("Arbeit")));
  QString fehler;
  ASSERT_TRUE(host.einrichten(&fehler)) << qPrintable(fehler);
  host.zeilenSchreiben(beispiel::massenPositionen(1000));

  const QString pdf = temp.file(QStringLiteral("Rechnung.pdf"));
  ASSERT_TRUE(host.pdfDrucken(pdf, &fehler)) << qPrintable(fehler);
  const int seitenzahl = host.fenster().Seitenzahl;

  // The same document into the print batch: its member is the storage file the batch prints and
  // the preview shows.
  frmDrucken& f = host.fenster();
  f.StartPrint(3);
  ASSERT_EQ(f.StapelAnzahl, 1);
  const auto speicher = report::StorageFile::load(host.lokalerPfad() + QStringLiteral("SDRK001.LL"), &fehler);
  ASSERT_TRUE(speicher) << qPrintable(fehler);
  const QString speicherPdf = temp.file(QStringLiteral("Speicher.pdf"));
  ASSERT_TRUE(report::writePdf(*speicher, speicherPdf, QString(), &fehler)) << qPrintable(fehler);
  f.DruckstapelVerwerfen();

  const QStringList seiten = pdfSeiten(pdf);
  const QStringList speicherSeiten = pdfSeiten(speicherPdf);
  EXPECT_EQ(seitenzahl, 27);
  EXPECT_EQ(seiten.size(), 27);
  EXPECT_EQ(speicher->pageCount(), 27);
  const QString text = seiten.join(QLatin1Char('\f'));
  const QString soll = erwarteterText();
  ASSERT_FALSE(soll.isEmpty()) << qPrintable(kErwartet);
  EXPECT_TRUE(text == soll) << qPrintable(ersterUnterschied(text, soll));
  EXPECT_TRUE(speicherSeiten.join(QLatin1Char('\f')) == soll)
      << qPrintable(ersterUnterschied(speicherSeiten.join(QLatin1Char('\f')), soll));
}

}  // namespace
