// The report control driven the way the engine drives it: variables, rows until the page is
// full, print variables, repeat; job starts, ends, statuses and the files they leave.
#include <gtest/gtest.h>

#include <QFontMetricsF>

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>

#include <pwd.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

#include "platform/report/ReportControl.h"
#include "platform/report/StorageFile.h"
#include "platform/report/Template.h"
#include "tests/platform/report/ReportTestSupport.h"
#include "tests/support/TempDir.h"
#include "tests/support/RequireTool.h"

using namespace report;
using reporttest::AnsweringWindows;
using reporttest::textListOfPage;

namespace {

constexpr int T = kTypeText;
constexpr int N = kTypeNumeric;

// Rows of exactly 8 mm; the body runs from 60 mm (page 1) or 30 mm (following pages) to 260 mm.
const QByteArray kFixedRows = R"json({
  "kind": "list",
  "objects": [ { "type": "text", "x": 20, "y": 10, "width": 100, "text": "Liste {Titel}" } ],
  "table": { "x": 20, "width": 170, "top": 60, "topFollowing": 30, "bottom": 260,
    "rows": [ { "when": "Zeilentyp = 'Position'", "height": 8,
                "objects": [ { "type": "text", "x": 0, "width": 20, "text": "{Position}" },
                             { "type": "text", "x": 20, "width": 100, "text": "{Bezeichnung}" } ] },
              { "when": "Zeilentyp = 'Textbaustein'", "height": 8,
                "objects": [ { "type": "text", "x": 10, "width": 150, "text": "TB {Bezeichnung}",
                               "font": { "italic": true } } ] },
              { "when": "Zeilentyp = 'Vortext'",
                "objects": [ { "type": "text", "x": 0, "width": 170, "text": "{Vortext}" } ] } ] }
})json";

// Carry-over: the running sum at the foot of every page but the last and at the head of every
// page but the first; the total at the end.
const QByteArray kCarry = R"json({
  "kind": "list",
  "table": { "top": 30, "bottom": 100,
    "header": [ { "when": "page() > 1 and ÜbertragDrucken = 'JA'", "height": 6,
                  "objects": [ { "type": "text", "x": 0, "width": 100, "text": "Übertrag von Seite" },
                               { "type": "text", "x": 100, "width": 60, "align": "right", "text": "{Summe:#,##0.00}" } ] } ],
    "rows": [ { "when": "Zeilentyp = 'Position'", "height": 10,
                "objects": [ { "type": "text", "x": 0, "width": 100, "text": "{Position}" },
                             { "type": "text", "x": 100, "width": 60, "align": "right", "text": "{GP:#,##0.00}" } ] } ],
    "footer": [ { "when": "not lastpage() and ÜbertragDrucken = 'JA'", "height": 6,
                  "objects": [ { "type": "text", "x": 0, "width": 100, "text": "Übertrag auf Seite" },
                               { "type": "text", "x": 100, "width": 60, "align": "right", "text": "{Summe:#,##0.00}" } ] },
                { "when": "lastpage()", "height": 6,
                  "objects": [ { "type": "text", "x": 0, "width": 100, "text": "Summe" },
                               { "type": "text", "x": 100, "width": 60, "align": "right", "text": "{Summe:#,##0.00}" } ] } ] },
  "sums": [ { "name": "Summe", "value": "GP", "when": "Zeilentyp = 'Position'" } ]
})json";

const QByteArray kLabels = R"json({
  "kind": "label",
  "page": { "size": "A4", "margins": [0, 0, 0, 0] },
  "objects": [ { "type": "text", "x": 5, "y": 290, "width": 100, "text": "Bogen {page()}" } ],
  "label": { "x": 0, "y": 0, "width": 70, "height": 37.125, "columns": 3, "rows": 8,
             "objects": [ { "type": "text", "x": 3, "y": 3, "width": 64, "text": "{Details.Name}" } ] }
})json";

struct Fixture : ::testing::Test {
  testsupport::TempDir dir;
  std::shared_ptr<AnsweringWindows> windows = std::make_shared<AnsweringWindows>();
  ReportControl control{windows};

  QString write(const QString& name, const QByteArray& text) { return dir.write(name, text); }

  void definePosition(int n, const QString& zeilentyp = QStringLiteral("Position")) {
    control.DefineReportField(QStringLiteral("Position"), QString::number(n), T);
    control.DefineReportField(QStringLiteral("Bezeichnung"), QStringLiteral("Artikel %1").arg(n), T);
    control.DefineReportField(QStringLiteral("Zeilentyp"), zeilentyp, T);
  }

  // The engine's page-full protocol; counts how often a row was refused.
  int printRow() {
    int refused = 0;
    int status = control.PrintFields();
    while (status == kPageFull && refused < 3) {
      ++refused;
      control.PrintVariables();
      status = control.PrintFields();
    }
    EXPECT_EQ(status, kOk);
    return refused;
  }

  // A whole list job into its storage file; answers the storage.
  StorageFile printList(const QString& tpl, int rows) {
    control.SetPrinterDefaultsDir(dir.path());
    control.StartFields();
    control.StartVariables();
    control.DefineReportVariable(QStringLiteral("Titel"), QStringLiteral("Lager"), T);
    QString file = tpl;
    EXPECT_EQ(control.StartPrintJob(kProjectList, file, kToStorage), kOk) << control.lastError().toStdString();
    control.PrintVariables();
    for (int i = 1; i <= rows; ++i) {
      definePosition(i);
      EXPECT_LE(printRow(), 1) << "row " << i;
    }
    EXPECT_EQ(control.EndPrint(0), kOk) << control.lastError().toStdString();
    QString why;
    auto s = StorageFile::load(control.storagePathForJob(tpl), &why);
    EXPECT_TRUE(s.has_value()) << why.toStdString();
    return s ? *s : StorageFile();
  }
};

QByteArray fileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

using ReportControlTest = Fixture;

TEST_F(ReportControlTest, ThreeHundredRowsGiveTheSamePageCountEveryTime) {
  const QString tpl = write(QStringLiteral("Liste.lst"), kFixedRows);
  const StorageFile first = printList(tpl, 300);
  const QByteArray firstBytes = fileBytes(control.storagePathForJob(tpl));
  const StorageFile second = printList(tpl, 300);
  // 8 mm rows: 200 mm of body hold 25 rows on page 1, 230 mm hold 28 on the following pages.
  const int following = (300 - 25 + 27) / 28;
  EXPECT_EQ(first.pageCount(), 1 + following);
  EXPECT_EQ(second.pageCount(), first.pageCount());
  EXPECT_EQ(fileBytes(control.storagePathForJob(tpl)), firstBytes);
}

TEST_F(ReportControlTest, PageFullComesAfterTheRowsThatFitAndTheRowMovesToTheNextPage) {
  const QString tpl = write(QStringLiteral("Liste.lst"), kFixedRows);
  control.SetPrinterDefaultsDir(dir.path());
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToStorage), kOk);
  control.PrintVariables();
  for (int i = 1; i <= 25; ++i) {
    definePosition(i);
    ASSERT_EQ(control.PrintFields(), kOk) << "row " << i;
  }
  definePosition(26);
  EXPECT_EQ(control.PrintFields(), kPageFull);
  EXPECT_EQ(control.PrintFields(), kPageFull) << "the page stays full until the variables are printed";
  EXPECT_EQ(control.PrintVariables(), kOk);
  EXPECT_EQ(control.PrintFields(), kOk);
  ASSERT_EQ(control.EndPrint(0), kOk);
  auto s = StorageFile::load(control.storagePathForJob(tpl), nullptr);
  ASSERT_TRUE(s);
  ASSERT_EQ(s->pageCount(), 2);
  EXPECT_FALSE(textListOfPage(*s, 1).contains(QStringLiteral("26")));
  const QStringList page2 = textListOfPage(*s, 2);
  EXPECT_TRUE(page2.contains(QStringLiteral("26")));
  EXPECT_TRUE(page2.contains(QStringLiteral("Artikel 26")));
}

TEST_F(ReportControlTest, RowLayoutIsChosenByZeilentyp) {
  const QString tpl = write(QStringLiteral("Liste.lst"), kFixedRows);
  control.SetPrinterDefaultsDir(dir.path());
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToStorage), kOk);
  control.PrintVariables();
  definePosition(1);
  printRow();
  definePosition(2, QStringLiteral("Textbaustein"));
  printRow();
  definePosition(3, QStringLiteral("Unbekannt"));
  printRow();
  ASSERT_EQ(control.EndPrint(0), kOk);
  auto s = StorageFile::load(control.storagePathForJob(tpl), nullptr);
  ASSERT_TRUE(s);
  const auto texts = reporttest::textsOfPage(*s, 1);
  QStringList list;
  for (const auto& t : texts) list << t.text;
  EXPECT_TRUE(list.contains(QStringLiteral("Artikel 1")));
  EXPECT_TRUE(list.contains(QStringLiteral("TB Artikel 2")));
  EXPECT_FALSE(list.contains(QStringLiteral("2"))) << "a text block row has no position column";
  EXPECT_FALSE(list.contains(QStringLiteral("Artikel 3"))) << "a row kind without a layout prints nothing";
  for (const auto& t : texts)
    if (t.text == QLatin1String("TB Artikel 2")) EXPECT_TRUE(t.font.italic());
}

TEST_F(ReportControlTest, CarryOverIsPrintedAtTheFootAndTheHeadOfTheNextPage) {
  const QString tpl = write(QStringLiteral("Uebertrag.lst"), kCarry);
  control.SetPrinterDefaultsDir(dir.path());
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToStorage), kOk);
  control.PrintVariables();
  double total = 0;
  for (int i = 1; i <= 12; ++i) {
    control.DefineReportField(QStringLiteral("Position"), QStringLiteral("P%1").arg(i), T);
    control.DefineReportField(QStringLiteral("GP"), QStringLiteral("%1,25").arg(100 * i), N);
    control.DefineReportField(QStringLiteral("Zeilentyp"), QStringLiteral("Position"), T);
    control.DefineReportField(QStringLiteral("ÜbertragDrucken"), QStringLiteral("JA"), T);
    printRow();
    total += 100 * i + 0.25;
  }
  ASSERT_EQ(control.EndPrint(0), kOk);
  auto s = StorageFile::load(control.storagePathForJob(tpl), nullptr);
  ASSERT_TRUE(s);
  // 70 mm of body less 6 mm for the foot: 6 rows on page 1; the head takes 6 mm on the next.
  ASSERT_EQ(s->pageCount(), 3);
  const QStringList p1 = textListOfPage(*s, 1);
  const QStringList p2 = textListOfPage(*s, 2);
  const QStringList p3 = textListOfPage(*s, 3);
  const int rowsOnPage1 = static_cast<int>(std::count_if(p1.begin(), p1.end(), [](const QString& t) { return t.startsWith('P'); }));
  ASSERT_EQ(rowsOnPage1, 6);
  double carried = 0;
  for (int i = 1; i <= rowsOnPage1; ++i) carried += 100 * i + 0.25;
  const QString carriedText = QLocale(QLocale::German).toString(carried, 'f', 2);
  const qsizetype foot = p1.indexOf(QStringLiteral("Übertrag auf Seite"));
  ASSERT_GE(foot, 0);
  EXPECT_EQ(p1.value(foot + 1), carriedText);
  EXPECT_FALSE(p1.contains(QStringLiteral("Übertrag von Seite")));
  const qsizetype head = p2.indexOf(QStringLiteral("Übertrag von Seite"));
  ASSERT_GE(head, 0);
  EXPECT_EQ(p2.value(head + 1), carriedText);
  EXPECT_LT(head, p2.indexOf(QStringLiteral("P7"))) << "the carry-over heads the page";
  EXPECT_FALSE(p3.contains(QStringLiteral("Übertrag auf Seite")));
  const qsizetype sum = p3.indexOf(QStringLiteral("Summe"));
  ASSERT_GE(sum, 0);
  EXPECT_EQ(p3.value(sum + 1), QLocale(QLocale::German).toString(total, 'f', 2));
}

TEST_F(ReportControlTest, CarryOverIsLeftOutWhenTheRowsSayNo) {
  const QString tpl = write(QStringLiteral("Uebertrag.lst"), kCarry);
  control.SetPrinterDefaultsDir(dir.path());
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToStorage), kOk);
  control.PrintVariables();
  for (int i = 1; i <= 8; ++i) {
    control.DefineReportField(QStringLiteral("Position"), QStringLiteral("P%1").arg(i), T);
    control.DefineReportField(QStringLiteral("GP"), QStringLiteral("1"), N);
    control.DefineReportField(QStringLiteral("Zeilentyp"), QStringLiteral("Position"), T);
    control.DefineReportField(QStringLiteral("ÜbertragDrucken"), QStringLiteral("NEIN"), T);
    printRow();
  }
  ASSERT_EQ(control.EndPrint(0), kOk);
  auto s = StorageFile::load(control.storagePathForJob(tpl), nullptr);
  ASSERT_TRUE(s);
  ASSERT_EQ(s->pageCount(), 2);
  EXPECT_FALSE(textListOfPage(*s, 1).contains(QStringLiteral("Übertrag auf Seite")));
  EXPECT_FALSE(textListOfPage(*s, 2).contains(QStringLiteral("Übertrag von Seite")));
}

TEST_F(ReportControlTest, LabelsFillThreeByEightAndTheTwentyFifthStartsANewSheet) {
  const QString tpl = write(QStringLiteral("Etikett.lbl"), kLabels);
  control.SetPrinterDefaultsDir(dir.path());
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectLabel, file, kToStorage), kOk);
  for (int i = 1; i <= 25; ++i) {
    control.DefineReportVariable(QStringLiteral("Details.Name"), QStringLiteral("Kunde %1").arg(i), T);
    ASSERT_EQ(control.PrintVariables(), kOk);
  }
  EXPECT_EQ(control.PrintFields(), kOk) << "fields print nothing in a label job";
  ASSERT_EQ(control.EndPrint(0), kOk);
  auto s = StorageFile::load(control.storagePathForJob(tpl), nullptr);
  ASSERT_TRUE(s);
  ASSERT_EQ(s->pageCount(), 2);
  const auto page1 = reporttest::textsOfPage(*s, 1);
  int labels = 0;
  for (const auto& t : page1) {
    if (!t.text.startsWith(QLatin1String("Kunde "))) continue;
    ++labels;
    const int n = t.text.mid(6).toInt() - 1;
    // Row by row: label n sits in column n % 3 and row n / 3.
    EXPECT_NEAR(t.at.x(), (n % 3) * 7000 + 300, 1) << t.text.toStdString();
    EXPECT_GT(t.at.y(), (n / 3) * 3712.5 + 300);
    EXPECT_LT(t.at.y(), (n / 3 + 1) * 3712.5);
  }
  EXPECT_EQ(labels, 24);
  const QStringList page2 = textListOfPage(*s, 2);
  EXPECT_TRUE(page2.contains(QStringLiteral("Kunde 25")));
  EXPECT_TRUE(page2.contains(QStringLiteral("Bogen 2")));
  EXPECT_EQ(page2.filter(QStringLiteral("Kunde")).size(), 1);
}

TEST_F(ReportControlTest, RowTallerThanAPageIsSplitAndNeverRefusedOnAnEmptyPage) {
  const QString tpl = write(QStringLiteral("Liste.lst"), kFixedRows);
  control.SetPrinterDefaultsDir(dir.path());
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToStorage), kOk);
  control.PrintVariables();
  definePosition(1);
  ASSERT_EQ(control.PrintFields(), kOk);
  QStringList lines;
  for (int i = 1; i <= 150; ++i) lines << QStringLiteral("Zeile %1").arg(i);
  control.DefineReportField(QStringLiteral("Zeilentyp"), QStringLiteral("Vortext"), T);
  control.DefineReportField(QStringLiteral("Vortext"), lines.join(QStringLiteral("\r\n")), T);
  EXPECT_EQ(control.PrintFields(), kPageFull) << "a page with rows sends the tall row on";
  control.PrintVariables();
  EXPECT_EQ(control.PrintFields(), kOk) << "an empty page takes it, split";
  definePosition(2);
  EXPECT_EQ(printRow(), 0) << "the row after goes under the split row's end";
  ASSERT_EQ(control.EndPrint(0), kOk);
  auto s = StorageFile::load(control.storagePathForJob(tpl), nullptr);
  ASSERT_TRUE(s);
  ASSERT_GE(s->pageCount(), 3);
  QStringList seen;
  for (int p = 2; p <= s->pageCount(); ++p)
    for (const QString& t : textListOfPage(*s, p))
      if (t.startsWith(QLatin1String("Zeile "))) seen << t;
  EXPECT_EQ(seen.join(QLatin1Char('|')).toStdString(), lines.join(QLatin1Char('|')).toStdString())
      << "every line once, in order, none cut";
  EXPECT_TRUE(textListOfPage(*s, s->pageCount()).contains(QStringLiteral("Artikel 2")));
}

TEST_F(ReportControlTest, TallRowAsTheFirstRowIsSplitAtOnce) {
  const QString tpl = write(QStringLiteral("Liste.lst"), kFixedRows);
  control.SetPrinterDefaultsDir(dir.path());
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToStorage), kOk);
  control.PrintVariables();
  control.DefineReportField(QStringLiteral("Zeilentyp"), QStringLiteral("Vortext"), T);
  control.DefineReportField(QStringLiteral("Vortext"), QString(QStringLiteral("Wort ")).repeated(4000), T);
  EXPECT_EQ(control.PrintFields(), kOk);
  ASSERT_EQ(control.EndPrint(0), kOk);
  auto s = StorageFile::load(control.storagePathForJob(tpl), nullptr);
  ASSERT_TRUE(s);
  EXPECT_GE(s->pageCount(), 2);
}

TEST_F(ReportControlTest, PageObjectsFollowTheirPageRules) {
  const QString tpl = write(QStringLiteral("Seiten.lst"), R"json({
    "kind": "list",
    "objects": [
      { "type": "text", "x": 20, "y": 10, "width": 100, "text": "Erste", "pages": "first" },
      { "type": "text", "x": 20, "y": 15, "width": 100, "text": "Folge {page()}", "pages": "following" },
      { "type": "text", "x": 20, "y": 20, "width": 100, "text": "Letzte", "pages": "last" },
      { "type": "text", "x": 20, "y": 25, "width": 100, "text": "Weiter", "pages": "notlast" },
      { "type": "text", "x": 20, "y": 30, "width": 100, "text": "Falz", "when": "Falzstrich" },
      { "type": "text", "x": 20, "y": 35, "width": 100, "text": "Nr. {RechnungNr}" } ],
    "table": { "rows": [] } })json");
  control.SetPrinterDefaultsDir(dir.path());
  control.DefineReportVariable(QStringLiteral("Falzstrich"), QStringLiteral("0"), kTypeBoolean);
  control.DefineReportVariable(QStringLiteral("RechnungNr"), QStringLiteral("R-1"), T);
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToStorage), kOk);
  control.PrintVariables();
  control.DefineReportVariable(QStringLiteral("Falzstrich"), QStringLiteral("1"), kTypeBoolean);
  control.DefineReportVariable(QStringLiteral("RechnungNr"), QStringLiteral("R-2"), T);
  control.PrintVariables();
  control.PrintVariables();
  ASSERT_EQ(control.EndPrint(0), kOk);
  auto s = StorageFile::load(control.storagePathForJob(tpl), nullptr);
  ASSERT_TRUE(s);
  ASSERT_EQ(s->pageCount(), 3);
  EXPECT_EQ(textListOfPage(*s, 1), (QStringList{"Erste", "Weiter", "Nr. R-1"}));
  EXPECT_EQ(textListOfPage(*s, 2), (QStringList{"Folge 2", "Weiter", "Falz", "Nr. R-2"}));
  EXPECT_EQ(textListOfPage(*s, 3), (QStringList{"Folge 3", "Letzte", "Falz", "Nr. R-2"}));
}

TEST_F(ReportControlTest, PrintCallsWithoutAJobAreRefused) {
  EXPECT_EQ(control.PrintVariables(), kNoJob);
  EXPECT_EQ(control.PrintFields(), kNoJob);
  EXPECT_EQ(control.EndPrint(0), kNoJob);
  EXPECT_EQ(control.PrintOptionsDialog(nullptr, QStringLiteral("x")), kNoJob);
}

TEST_F(ReportControlTest, JobStartRefusesMissingWrongAndBrokenTemplates) {
  QString missing = dir.file(QStringLiteral("Fehlt.lst"));
  EXPECT_EQ(control.StartPrintJob(kProjectList, missing, kToStorage), kFileError);
  QString label = write(QStringLiteral("E.lbl"), kLabels);
  EXPECT_EQ(control.StartPrintJob(kProjectList, label, kToStorage), kBadTemplate);
  QString broken = write(QStringLiteral("B.lst"), "{ \"kind\": \"list\", ");
  EXPECT_EQ(control.StartPrintJob(kProjectList, broken, kToStorage), kBadTemplate);
  EXPECT_FALSE(control.lastError().isEmpty());
  QString good = write(QStringLiteral("L.lst"), kFixedRows);
  EXPECT_EQ(control.StartPrintJob(3, good, kToStorage), kBadArgument);
  EXPECT_EQ(control.StartPrintJob(kProjectList, good, 0), kBadArgument);
  EXPECT_EQ(control.PrintFields(), kNoJob) << "a refused start leaves no job";
}

// A templates folder we may not read hides its templates: the start says so instead of blaming
// the file. Root reads every folder, so as root the start runs as "nobody".
TEST_F(ReportControlTest, JobStartInAFolderWeMayNotReadSaysSo) {
  QString tpl = write(QStringLiteral("Formulare/Rechnung.lst"), kFixedRows);
  const QString folder = QFileInfo(tpl).absolutePath();
  ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0711), 0);
  ASSERT_EQ(chmod(QFile::encodeName(folder).constData(), 0), 0);
  const passwd* niemand = geteuid() == 0 ? getpwnam("nobody") : nullptr;
  if (geteuid() == 0 && (!niemand || seteuid(niemand->pw_uid) != 0)) GTEST_SKIP() << "cannot run as \"nobody\"";
  const int status = control.StartPrintJob(kProjectList, tpl, kToStorage);
  if (niemand) seteuid(0);
  chmod(QFile::encodeName(folder).constData(), 0700);
  EXPECT_EQ(status, kFileError);
  EXPECT_EQ(control.lastError(), QStringLiteral("template %1 cannot be read: no permission to read folder %2").arg(tpl, folder));
}

TEST_F(ReportControlTest, StoredWindowsPathsFindTheTemplate) {
  write(QStringLiteral("Formulare/Rechnung.LST"), kFixedRows);
  QString stored = QString(dir.path() + QStringLiteral("\\FORMULARE\\rechnung.lst"));
  control.SetPrinterDefaultsDir(dir.path() + QStringLiteral("\\"));
  ASSERT_EQ(control.StartPrintJob(kProjectList, stored, kToStorage), kOk) << control.lastError().toStdString();
  control.PrintVariables();
  ASSERT_EQ(control.EndPrint(0), kOk);
  EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("rechnung.LL"))));
}

TEST_F(ReportControlTest, StorageOfAJobGoesToTheDefaultsFolderOrNextToTheTemplate) {
  const QString tpl = write(QStringLiteral("Vorlagen/Rechnung.lst"), kFixedRows);
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToStorage), kOk);
  control.PrintVariables();
  ASSERT_EQ(control.EndPrint(0), kOk);
  EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("Vorlagen/Rechnung.LL"))));
  control.SetPrinterDefaultsDir(dir.path());
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToStorage), kOk);
  control.PrintVariables();
  ASSERT_EQ(control.EndPrint(0), kOk);
  EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("Rechnung.LL"))));
}

TEST_F(ReportControlTest, BoxShowsTextAndPercentAndItsCancelAbortsTheJob) {
  const QString tpl = write(QStringLiteral("Liste.lst"), kFixedRows);
  control.SetPrinterDefaultsDir(dir.path());
  write(QStringLiteral("Liste.LL"), "older job");
  windows->cancelBoxAfterTexts = true;
  windows->cancelAtText = 3;
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJobWithBox(kProjectList, file, 0xB00, 2, nullptr, QStringLiteral("Druckausgabe")), kOk);
  EXPECT_EQ(windows->boxesOpened, 1);
  EXPECT_EQ(windows->boxTitle, QStringLiteral("Druckausgabe"));
  EXPECT_EQ(control.PrintOptionsDialog(nullptr, QStringLiteral("Druckparameter festlegen")), kOk);
  control.PrintVariables();
  QList<int> statuses;
  for (int i = 1; i <= 4; ++i) {
    control.SetBoxText(QStringLiteral("Druckausgabe"), i * 25);
    definePosition(i);
    statuses << control.PrintFields();
  }
  EXPECT_EQ(statuses, (QList<int>{kOk, kOk, kUserAbort, kUserAbort}));
  EXPECT_EQ(windows->boxPercents, (QList<int>{25, 50, 75, 100}));
  EXPECT_EQ(control.PrintVariables(), kUserAbort);
  EXPECT_EQ(control.EndPrint(0), kUserAbort);
  EXPECT_EQ(windows->boxesClosed, 1);
  EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("Liste.LL")))) << "no storage, not even an old one";
  EXPECT_EQ(control.PrintFields(), kNoJob);
}

TEST_F(ReportControlTest, CancelledPrintOptionsEndTheJob) {
  const QString tpl = write(QStringLiteral("Liste.lst"), kFixedRows);
  windows->optionsOk = false;
  control.SetOptionString(kOptionStringTitle, QStringLiteral("Skrivant"));
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJobWithBox(kProjectList, file, 0xB00, 2, nullptr, QStringLiteral("Druckausgabe")), kOk);
  EXPECT_EQ(control.PrintOptionsDialog(nullptr, QStringLiteral("Druckparameter festlegen")), kUserAbort);
  ASSERT_EQ(windows->optionRequests.size(), 1);
  EXPECT_EQ(windows->optionRequests[0].text, QStringLiteral("Druckparameter festlegen"));
  EXPECT_EQ(windows->optionRequests[0].jobTitle, QStringLiteral("Skrivant"));
  EXPECT_EQ(windows->optionRequests[0].templatePath, tpl);
  EXPECT_EQ(windows->boxesClosed, 1);
  EXPECT_EQ(control.PrintVariables(), kNoJob);
}

TEST_F(ReportControlTest, NewStartGivesUpAJobThatWasNotEnded) {
  const QString tpl = write(QStringLiteral("Liste.lst"), kFixedRows);
  control.SetPrinterDefaultsDir(dir.path());
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToStorage), kOk);
  control.PrintVariables();
  control.PrintVariables();
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToStorage), kOk);
  control.PrintVariables();
  ASSERT_EQ(control.EndPrint(0), kOk);
  auto s = StorageFile::load(control.storagePathForJob(tpl), nullptr);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->pageCount(), 1);
}

TEST_F(ReportControlTest, PreviewShowsTheStorageOfTheProjectAndDeleteRemovesIt) {
  const QString tpl = write(QStringLiteral("Rechnung.lst"), kFixedRows);
  control.SetOptionString(kOptionStringTitle, QStringLiteral("Skrivant"));
  printList(tpl, 30);
  const QString project = dir.path() + QStringLiteral("/Rechnung.lst");
  ASSERT_EQ(control.ShowPreview(project, {}, nullptr), kOk);
  EXPECT_EQ(windows->previews, 1);
  EXPECT_EQ(windows->previewPageCount, 2);
  EXPECT_EQ(windows->previewTitle, QStringLiteral("Skrivant"));
  EXPECT_EQ(control.DeletePreviewFiles(project, {}), kOk);
  EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("Rechnung.LL"))));
  EXPECT_EQ(control.ShowPreview(project, {}, nullptr), kFileError);
  EXPECT_EQ(windows->previews, 1);
  EXPECT_EQ(control.DeletePreviewFiles(project, {}), kOk) << "nothing left to delete is no fault";
}

TEST_F(ReportControlTest, PreviewAndDeleteLookInTheGivenPath) {
  const QString tpl = write(QStringLiteral("Rechnung.lst"), kFixedRows);
  printList(tpl, 3);
  ASSERT_EQ(control.ShowPreview(QStringLiteral("C:\\Woanders\\Rechnung.lst"), dir.path(), nullptr), kOk);
  EXPECT_EQ(windows->previewPageCount, 1);
  ASSERT_EQ(control.DeletePreviewFiles(QStringLiteral("Rechnung.lst"), dir.path() + QStringLiteral("/")), kOk);
  EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("Rechnung.LL"))));
}

TEST(StoragePathForProject, ReplacesTheFinalExtensionOnly) {
  EXPECT_EQ(storagePathForProject(QStringLiteral("/tmp/x/Rechnung.lst")), QStringLiteral("/tmp/x/Rechnung.LL"));
  EXPECT_EQ(storagePathForProject(QStringLiteral("/tmp/x/a.b.lst")), QStringLiteral("/tmp/x/a.b.LL"));
  EXPECT_EQ(storagePathForProject(QStringLiteral("/tmp/x/Rechnung")), QStringLiteral("/tmp/x/Rechnung.LL"));
  EXPECT_EQ(storagePathForProject(QStringLiteral("/tmp/x/SDRK001.LL")), QStringLiteral("/tmp/x/SDRK001.LL"));
  EXPECT_EQ(storagePathForProject(QStringLiteral("Rechnung.lst"), QStringLiteral("/tmp/y")), QStringLiteral("/tmp/y/Rechnung.LL"));
  EXPECT_EQ(storagePathForProject(QStringLiteral("/tmp/lst.d/Rechnung"), {}), QStringLiteral("/tmp/lst.d/Rechnung.LL"));
}

TEST_F(ReportControlTest, StorageRoundTripCountsAppendsAndDrawsAPageIntoAPdf) {
  const QString a = write(QStringLiteral("A.lst"), kFixedRows);
  const QString b = write(QStringLiteral("B.lst"), kFixedRows);
  printList(a, 30);  // 2 pages
  printList(b, 60);  // 3 pages
  const int h = control.OpenStorage(dir.file(QStringLiteral("A.LL")), {}, 1, 0);
  ASSERT_GT(h, 0);
  EXPECT_EQ(control.SetStorageJob(h, 1), kOk);
  EXPECT_EQ(control.SetStorageJob(h, 2), kBadArgument);
  EXPECT_EQ(control.StoragePageCount(h), 2);
  EXPECT_EQ(control.CloseStorage(h), kOk);
  EXPECT_EQ(control.StoragePageCount(h), kBadArgument) << "a closed handle is gone";

  const int target = control.OpenStorage(dir.file(QStringLiteral("A.LL")), {}, 0, 0);
  const int source = control.OpenStorage(dir.file(QStringLiteral("B.LL")), {}, 0, 0);
  ASSERT_GT(target, 0);
  ASSERT_GT(source, 0);
  ASSERT_NE(target, source);
  EXPECT_EQ(control.AppendStorage(target, source), kOk);
  EXPECT_EQ(control.CloseStorage(source), kOk);
  EXPECT_EQ(control.CloseStorage(target), kOk);

  const int merged = control.OpenStorage(dir.file(QStringLiteral("A.lst")), {}, 1, 0);
  ASSERT_GT(merged, 0);
  EXPECT_EQ(control.StoragePageCount(merged), 5);
  const QString pdf = dir.file(QStringLiteral("Seite2.pdf"));
  {
    QPdfWriter writer(pdf);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    EXPECT_EQ(control.DrawStoragePage(merged, painter, 2), kOk);
    EXPECT_EQ(control.DrawStoragePage(merged, painter, 6), kBadArgument);
  }
  EXPECT_EQ(control.CloseStorage(merged), kOk);
  SKRIVANT_REQUIRE_TOOL(reporttest::havePdfToText(), "pdftotext missing");
  const QString text = reporttest::pdfText(pdf);
  EXPECT_TRUE(text.contains(QStringLiteral("Artikel 26"))) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("Artikel 25\n")));
}

TEST_F(ReportControlTest, StorageFaultsAreStatuses) {
  EXPECT_EQ(control.OpenStorage(dir.file(QStringLiteral("Fehlt.LL")), {}, 1, 0), kFileError);
  write(QStringLiteral("Kaputt.LL"), "not a storage");
  EXPECT_EQ(control.OpenStorage(dir.file(QStringLiteral("Kaputt.LL")), {}, 1, 0), kFileError);
  const int fresh = control.OpenStorage(dir.file(QStringLiteral("Neu.LL")), {}, 0, 0);
  ASSERT_GT(fresh, 0);
  EXPECT_EQ(control.StoragePageCount(fresh), 0);
  EXPECT_EQ(control.CloseStorage(fresh), kOk);
  EXPECT_TRUE(QFileInfo::exists(dir.file(QStringLiteral("Neu.LL")))) << "a storage opened for writing is created";
  const int ro = control.OpenStorage(dir.file(QStringLiteral("Neu.LL")), {}, 1, 0);
  EXPECT_EQ(control.AppendStorage(ro, ro), kBadArgument) << "read-only target";
  QImage img(10, 10, QImage::Format_ARGB32);
  QPainter idle;
  EXPECT_EQ(control.DrawStoragePage(ro, idle, 1), kBadArgument);
  EXPECT_EQ(control.CloseStorage(99), kBadArgument);
}

TEST_F(ReportControlTest, PdfExportWritesTheFileNamedByTheExportParameters) {
  const QString tpl = write(QStringLiteral("Export.lst"), R"json({
    "kind": "list",
    "font": { "family": "Arial", "size": 11 },
    "objects": [ { "type": "text", "x": 20, "y": 20, "width": 170, "text": "{Anrede} Müller, Größe {Betrag:#,##0.00} €" } ],
    "table": { "rows": [ { "objects": [ { "type": "text", "x": 0, "width": 170, "text": "Straße {Ort} {Datum:dd.mm.yyyy}" } ] } ] } })json");
  control.DefineReportVariable(QStringLiteral("Anrede"), QStringLiteral("Sehr geehrte Frau"), T);
  control.DefineReportVariable(QStringLiteral("Betrag"), QStringLiteral("1234.56"), N);
  control.SetOptionString(kOptionStringTitle, QStringLiteral("Rechnung 7"));
  ASSERT_EQ(control.SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.File"), QStringLiteral("R1.pdf")), kOk);
  ASSERT_EQ(control.SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.Path"), dir.path() + QStringLiteral("\\Archiv\\")), kOk);
  ASSERT_EQ(control.SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.Quiet"), QStringLiteral("1")), kOk);
  QDir().mkpath(dir.file(QStringLiteral("Archiv")));
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToExport), kOk);
  ASSERT_EQ(control.SetOptionString(kOptionStringExportFormats, QStringLiteral("PDF")), kOk);
  control.PrintVariables();
  control.DefineReportField(QStringLiteral("Ort"), QStringLiteral("Übersee"), T);
  control.DefineReportField(QStringLiteral("Datum"), QStringLiteral("2024-03-05"), kTypeDate);
  printRow();
  ASSERT_EQ(control.EndPrint(0), kOk) << control.lastError().toStdString();
  const QString pdf = dir.file(QStringLiteral("Archiv/R1.pdf"));
  ASSERT_TRUE(QFileInfo::exists(pdf));
  EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("Export.LL")))) << "an export writes no storage";
  SKRIVANT_REQUIRE_TOOL(reporttest::havePdfToText(), "pdftotext missing");
  const QString text = reporttest::pdfText(pdf);
  EXPECT_TRUE(text.contains(QStringLiteral("Sehr geehrte Frau Müller, Größe 1.234,56 €"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Straße Übersee 05.03.2024"))) << text.toStdString();
  QProcess fonts;
  fonts.start(QStringLiteral("pdffonts"), {pdf});
  ASSERT_TRUE(fonts.waitForFinished(30000));
  EXPECT_TRUE(fonts.readAllStandardOutput().contains("LiberationSans")) << "Arial is drawn in its metric twin";
}

TEST_F(ReportControlTest, PdfExportFaultsAreStatuses) {
  const QString tpl = write(QStringLiteral("Export.lst"), kFixedRows);
  EXPECT_EQ(control.SetExportParameter(1, QStringLiteral("XLS"), QStringLiteral("Export.File"), QStringLiteral("a.xls")), kBadArgument);
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToExport), kOk);
  control.PrintVariables();
  EXPECT_EQ(control.EndPrint(0), kFileError) << "no export file";
  control.SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.File"), QStringLiteral("x.pdf"));
  control.SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.Path"), dir.file(QStringLiteral("fehlt")));
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToExport), kOk);
  control.PrintVariables();
  EXPECT_EQ(control.EndPrint(0), kFileError) << "a folder that does not exist";
  control.SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.Path"), dir.path());
  control.SetOptionString(kOptionStringExportFormats, QStringLiteral("XLS"));
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToExport), kOk);
  control.PrintVariables();
  EXPECT_EQ(control.EndPrint(0), kBadArgument) << "PDF not among the allowed formats";
  EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("x.pdf"))));
}

// A disk that fills up while the PDF is written (a file size limit makes every write past it
// fail, as a full disk does): the export fails and the earlier file at the target stays whole.
TEST_F(ReportControlTest, PdfExportCutShortKeepsTheEarlierFile) {
  const QString tpl = write(QStringLiteral("Export.lst"), kFixedRows);
  const QString pdf = dir.file(QStringLiteral("R1.pdf"));
  control.SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.File"), QStringLiteral("R1.pdf"));
  control.SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.Path"), dir.path());
  const auto exportieren = [&] {
    QString file = tpl;
    EXPECT_EQ(control.StartPrintJob(kProjectList, file, kToExport), kOk);
    control.DefineReportVariable(QStringLiteral("Titel"), QStringLiteral("mit einem Text, der Platz braucht"), T);
    control.PrintVariables();
    return control.EndPrint(0);
  };
  ASSERT_EQ(exportieren(), kOk) << control.lastError().toStdString();
  QFile vorher(pdf);
  ASSERT_TRUE(vorher.open(QIODevice::ReadOnly));
  const QByteArray gut = vorher.readAll();
  vorher.close();
  ASSERT_GT(gut.size(), 2048);

  rlimit alt{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &alt), 0);
  const auto altesSignal = signal(SIGXFSZ, SIG_IGN);
  rlimit knapp = alt;
  knapp.rlim_cur = 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &knapp), 0);
  const int status = exportieren();
  setrlimit(RLIMIT_FSIZE, &alt);
  signal(SIGXFSZ, altesSignal);

  EXPECT_EQ(status, kFileError);
  EXPECT_FALSE(control.lastError().isEmpty());
  QFile nachher(pdf);
  ASSERT_TRUE(nachher.open(QIODevice::ReadOnly));
  const QByteArray jetzt = nachher.readAll();
  EXPECT_EQ(jetzt.size(), gut.size());
  EXPECT_TRUE(jetzt == gut);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("Export.lst"), QStringLiteral("R1.pdf")}));
}

TEST_F(ReportControlTest, PrinterJobsGoToThePrinterOutput) {
  const QString tpl = write(QStringLiteral("Liste.lst"), kFixedRows);
  int printed = -1;
  QString title;
  control.setPrinterOutput([&](const PageSource& pages, const QString& t) {
    printed = pages.pageCount();
    title = t;
    return true;
  });
  control.SetOptionString(kOptionStringTitle, QStringLiteral("Mahnung"));
  control.SetPrinterDefaultsDir(dir.path());
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToPrinter), kOk);
  control.PrintVariables();
  for (int i = 1; i <= 30; ++i) {
    definePosition(i);
    printRow();
  }
  EXPECT_EQ(control.EndPrint(0), kOk);
  EXPECT_EQ(printed, 2);
  EXPECT_EQ(title, QStringLiteral("Mahnung"));
  EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("Liste.LL"))));
  control.setPrinterOutput([](const PageSource&, const QString&) { return false; });
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToPrinter), kOk);
  control.PrintVariables();
  EXPECT_EQ(control.EndPrint(0), kFileError);
}

TEST_F(ReportControlTest, SelectFileDialogLeavesTheChoiceOrAnswersAbort) {
  QString file = QStringLiteral("alt.lst");
  windows->fileAnswer = dir.file(QStringLiteral("neu.lst"));
  EXPECT_EQ(control.SelectFileDialog(nullptr, kProjectList, file), kOk);
  EXPECT_EQ(file, dir.file(QStringLiteral("neu.lst")));
  windows->fileAnswer.clear();
  EXPECT_EQ(control.SelectFileDialog(nullptr, kProjectLabel, file), kUserAbort);
  EXPECT_EQ(file, dir.file(QStringLiteral("neu.lst")));
  EXPECT_EQ(windows->selectKinds, (QList<int>{kProjectList, kProjectLabel}));
  EXPECT_EQ(windows->selectStarts.first(), QStringLiteral("alt.lst"));
}

TEST_F(ReportControlTest, DesignerGetsTheDefinedValuesAndALivePreview) {
  control.StartVariables();
  control.StartFields();
  control.DefineReportVariable(QStringLiteral("RechnungNr"), QStringLiteral("20041221"), T);
  control.DefineReportVariable(QStringLiteral("Bankeinzug"), QStringLiteral("0"), kTypeBoolean);
  control.DefineReportField(QStringLiteral("Zeilentyp"), QStringLiteral("Position"), T);
  control.DefineReportField(QStringLiteral("Bezeichnung"), QStringLiteral("Probe"), T);
  windows->designTemplate = kFixedRows;
  QString file = dir.file(QStringLiteral("Neu.lst"));
  EXPECT_EQ(control.DesignLayout(nullptr, QStringLiteral("Rechnungsentwurf"), kProjectList, file), kOk);
  ASSERT_EQ(windows->designs, 1);
  const DesignRequest& r = windows->design_;
  EXPECT_EQ(r.title, QStringLiteral("Rechnungsentwurf"));
  EXPECT_EQ(r.projectType, kProjectList);
  EXPECT_EQ(r.templatePath, dir.file(QStringLiteral("Neu.lst")));
  ASSERT_EQ(r.variables.size(), 2);
  EXPECT_EQ(r.variables[1].name, QStringLiteral("Bankeinzug"));
  EXPECT_EQ(r.variables[1].type, kTypeBoolean);
  ASSERT_EQ(r.fields.size(), 2);
  EXPECT_EQ(windows->designPreviewPages, 1);
  QString why;
  auto pages = r.render(kFixedRows, &why);
  ASSERT_TRUE(pages);
  EXPECT_TRUE(textListOfPage(*pages, 1).contains(QStringLiteral("Probe")));
  EXPECT_FALSE(r.render("{ \"kind\": \"nix\" }", &why));
  EXPECT_FALSE(why.isEmpty());
  EXPECT_EQ(control.DesignLayout(nullptr, QStringLiteral("x"), 5, file), kBadArgument);
}

TEST_F(ReportControlTest, DesigningAMissingTemplateStartsAnEmptyOneOfTheKind) {
  QString label = dir.file(QStringLiteral("Neu.lbl"));
  ASSERT_EQ(control.DesignLayout(nullptr, QStringLiteral("Etiketten"), kProjectLabel, label), kOk);
  QString why;
  auto t = Template::load(label, &why);
  ASSERT_TRUE(t) << why.toStdString();
  EXPECT_EQ(t->projectType, kProjectLabel);
  const QString existing = write(QStringLiteral("Alt.lst"), kFixedRows);
  QString file = existing;
  ASSERT_EQ(control.DesignLayout(nullptr, QStringLiteral("Liste"), kProjectList, file), kOk);
  EXPECT_EQ(fileBytes(existing), kFixedRows) << "an existing template is left as it is";
  QString nowhere = dir.file(QStringLiteral("fehlt/Neu.lst"));
  EXPECT_EQ(control.DesignLayout(nullptr, QStringLiteral("Liste"), kProjectList, nowhere), kFileError);
  EXPECT_EQ(windows->designs, 2);
}

TEST_F(ReportControlTest, StartFieldsAndStartVariablesForgetTheirValues) {
  const QString tpl = write(QStringLiteral("Liste.lst"), kFixedRows);
  control.SetPrinterDefaultsDir(dir.path());
  control.DefineReportVariable(QStringLiteral("Titel"), QStringLiteral("Alt"), T);
  control.StartVariables();
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToStorage), kOk);
  control.PrintVariables();
  definePosition(1);
  control.StartFields();
  control.DefineReportField(QStringLiteral("Zeilentyp"), QStringLiteral("Position"), T);
  printRow();
  ASSERT_EQ(control.EndPrint(0), kOk);
  auto s = StorageFile::load(control.storagePathForJob(tpl), nullptr);
  ASSERT_TRUE(s);
  const QStringList texts = textListOfPage(*s, 1);
  EXPECT_TRUE(texts.contains(QStringLiteral("Liste")));
  EXPECT_FALSE(texts.contains(QStringLiteral("Artikel 1")));
}

TEST_F(ReportControlTest, RichTextIsDrawnWithItsFormattingAndPicturesFromDrawingValues) {
  const QString tpl = write(QStringLiteral("Bild.lst"), R"json({
    "kind": "list",
    "objects": [ { "type": "picture", "x": 150, "y": 10, "width": 40, "source": "{Logo}" } ],
    "table": { "rows": [ { "objects": [
      { "type": "text", "x": 0, "width": 120, "text": "{Bezeichnung}" },
      { "type": "picture", "x": 130, "y": 0, "width": 30, "height": 1, "keepAspect": false, "source": "{LinieEinfach}" } ] } ] } })json");
  QImage logo(40, 20, QImage::Format_RGB32);
  logo.fill(Qt::red);
  ASSERT_TRUE(QDir().mkpath(dir.file(QStringLiteral("Formular"))));
  ASSERT_TRUE(logo.save(dir.file(QStringLiteral("Formular/LEinfach.bmp"))));
  ASSERT_TRUE(logo.save(dir.file(QStringLiteral("logo.png"))));
  control.SetPrinterDefaultsDir(dir.path());
  control.DefineReportVariable(QStringLiteral("Logo"), dir.file(QStringLiteral("logo.png")), kTypeDrawing);
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToStorage), kOk);
  control.PrintVariables();
  control.DefineReportField(QStringLiteral("Bezeichnung"),
                            QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Neu: {\\b Gr\\'fc\\'dfe}\\par zweite Zeile}"),
                            kTypeRichText);
  // A stored path with backslashes and another letter case.
  control.DefineReportField(QStringLiteral("LinieEinfach"), dir.path() + QStringLiteral("\\FORMULAR\\LEinfach.BMP"), kTypeDrawing);
  printRow();
  control.DefineReportField(QStringLiteral("Bezeichnung"), QStringLiteral("schlicht"), T);
  control.DefineReportField(QStringLiteral("LinieEinfach"), dir.file(QStringLiteral("fehlt.bmp")), kTypeDrawing);
  printRow();
  ASSERT_EQ(control.EndPrint(0), kOk);
  auto s = StorageFile::load(control.storagePathForJob(tpl), nullptr);
  ASSERT_TRUE(s);
  reporttest::CaptureDevice device;
  QPainter p(&device);
  s->drawPage(1, p, QRectF(0, 0, 21000, 29700));
  p.end();
  EXPECT_EQ(device.images, 2) << "the logo and one rule; a missing picture draws nothing";
  bool boldSeen = false, plainSeen = false;
  for (const auto& t : device.texts) {
    if (t.text.contains(QStringLiteral("Grüße"))) boldSeen = t.font.bold();
    if (t.text.contains(QStringLiteral("Neu:"))) plainSeen = !t.font.bold();
  }
  EXPECT_TRUE(boldSeen);
  EXPECT_TRUE(plainSeen);
  EXPECT_TRUE(device.textList().contains(QStringLiteral("zweite Zeile")));
  EXPECT_TRUE(device.textList().contains(QStringLiteral("schlicht")));
  qsizetype second = -1, rich = -1;
  for (qsizetype i = 0; i < device.texts.size(); ++i) {
    if (device.texts[i].text == QLatin1String("zweite Zeile")) rich = i;
    if (device.texts[i].text == QLatin1String("schlicht")) second = i;
  }
  EXPECT_GT(device.texts[second].at.y(), device.texts[rich].at.y()) << "the rich row's height counts";
}

TEST_F(ReportControlTest, RichTextRunsFollowEachOtherWithoutOverlap) {
  const QString tpl = write(QStringLiteral("Lauf.lst"), R"json({
    "kind": "list",
    "table": { "rows": [ { "objects": [ { "type": "text", "x": 0, "width": 120, "text": "{Bezeichnung}" } ] } ] } })json");
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectList, file, kToStorage), kOk);
  control.PrintVariables();
  control.DefineReportField(QStringLiteral("Bezeichnung"),
                            QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 W\\'f6rterbuch der Rechtschreibung, {\\b 29. Auflage}}"),
                            kTypeRichText);
  printRow();
  ASSERT_EQ(control.EndPrint(0), kOk);
  auto s = StorageFile::load(control.storagePathForJob(tpl), nullptr);
  ASSERT_TRUE(s);
  const QList<reporttest::DrawnText> texts = reporttest::textsOfPage(*s, 1);
  const reporttest::DrawnText* plain = nullptr;
  const reporttest::DrawnText* bold = nullptr;
  for (const auto& t : texts) {
    if (t.text.startsWith(QStringLiteral("Wörterbuch"))) plain = &t;
    if (t.text.startsWith(QStringLiteral("29."))) bold = &t;
  }
  ASSERT_TRUE(plain && bold);
  // The plain run, drawn in its own font, must end before the bold run starts.
  const double plainEnd = plain->at.x() + QFontMetricsF(plain->font).horizontalAdvance(plain->text);
  EXPECT_LE(plainEnd, bold->at.x() + 1.0);
}

TEST_F(ReportControlTest, OptionsAreTakenAndUnknownOptionStringsRefused) {
  EXPECT_EQ(control.SetOption(21, 1), kOk);
  EXPECT_EQ(control.SetPrintOption(13, 2), kOk);
  EXPECT_EQ(control.SetOptionString(kOptionStringTitle, QStringLiteral("Skrivant")), kOk);
  EXPECT_EQ(control.SetOptionString(77, QStringLiteral("x")), kBadArgument);
  EXPECT_EQ(control.SetBoxText(QStringLiteral("ohne Box"), 50), kOk);
  EXPECT_TRUE(windows->boxTexts.isEmpty());
  EXPECT_EQ(control.DefineReportField(QString(), QStringLiteral("x"), T), kBadArgument);
}

TEST_F(ReportControlTest, LabelsCanFillColumnByColumn) {
  QByteArray byColumns = kLabels;
  byColumns.replace("\"rows\": 8,", "\"rows\": 8, \"order\": \"columns\",");
  const QString tpl = write(QStringLiteral("Spalten.lbl"), byColumns);
  control.SetPrinterDefaultsDir(dir.path());
  QString file = tpl;
  ASSERT_EQ(control.StartPrintJob(kProjectLabel, file, kToStorage), kOk);
  for (int i = 1; i <= 9; ++i) {
    control.DefineReportVariable(QStringLiteral("Details.Name"), QStringLiteral("Kunde %1").arg(i), T);
    control.PrintVariables();
  }
  ASSERT_EQ(control.EndPrint(0), kOk);
  auto s = StorageFile::load(control.storagePathForJob(tpl), nullptr);
  ASSERT_TRUE(s);
  for (const auto& t : reporttest::textsOfPage(*s, 1)) {
    if (t.text == QLatin1String("Kunde 8")) EXPECT_NEAR(t.at.x(), 300, 1) << "first column, eighth row";
    if (t.text == QLatin1String("Kunde 9")) EXPECT_NEAR(t.at.x(), 7300, 1) << "second column";
  }
}
