// The report back end with the shipped invoice template: a 1,000-row list laid out into a
// storage file, and the same list exported as PDF.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/report/ReportControl.h"

using namespace report;

namespace {

// Windows are never opened by these jobs.
class NoWindows : public ReportWindows {
 public:
  void showPreview(const PageSource&, const QString&, QWidget*) override {}
  void openPrintBox(const QString&, QWidget*) override {}
  void updatePrintBox(const QString&, int) override {}
  bool printBoxCancelled() const override { return false; }
  void closePrintBox() override {}
  bool printOptions(const PrintOptionsRequest&, QWidget*) override { return true; }
  QString selectFile(int, const QString&, QWidget*) override { return {}; }
  void design(const DesignRequest&, QWidget*) override {}
};

const QString kTemplate = QStringLiteral(SKRIVANT_SOURCE_DIR "/templates/Rechnung.lst");

// One invoice of `rows` positions as the engine prints it: variables, opening text, rows with
// the page-full protocol, a closing row. Answers the EndPrint status.
int printInvoice(ReportControl& c, int flags, int rows) {
  constexpr int T = kTypeText;
  c.StartFields();
  c.StartVariables();
  c.DefineReportVariable(QStringLiteral("AnschriftEmpfaenger"),
                         QStringLiteral("Frau\nErika Mustermann\nMusterstraße 4\n09999 Musterhausen"), 0x10000001);
  c.DefineReportVariable(QStringLiteral("RechnungNr"), QStringLiteral("20041221"), T);
  c.DefineReportVariable(QStringLiteral("RechnungsDatum"), QStringLiteral("05.03.2024"), kTypeDate);
  c.DefineReportVariable(QStringLiteral("DokumentTitel"), QStringLiteral("Rechnung"), 0x10000001);
  c.DefineReportVariable(QStringLiteral("Falzstrich"), QStringLiteral("1"), kTypeBoolean);
  QString file = kTemplate;
  if (c.StartPrintJob(kProjectList, file, flags) != kOk) return -1;
  c.PrintVariables();
  c.DefineReportField(QStringLiteral("Zeilentyp"), QStringLiteral("Vortext"), T);
  c.DefineReportField(QStringLiteral("Vortext"), QStringLiteral("Sehr geehrte Frau Mustermann,\r\nwir berechnen Ihnen:"), T);
  while (c.PrintFields() == kPageFull) c.PrintVariables();
  c.DefineReportField(QStringLiteral("Vortext"), QString(), T);
  for (int i = 1; i <= rows; ++i) {
    c.DefineReportField(QStringLiteral("ÜbertragDrucken"), QStringLiteral("JA"), T);
    c.DefineReportField(QStringLiteral("Zeilentyp"), QStringLiteral("Position"), T);
    c.DefineReportField(QStringLiteral("Position"), QString::number(i), T);
    c.DefineReportField(QStringLiteral("Menge"), QStringLiteral("2"), T);
    c.DefineReportField(QStringLiteral("Bezeichnung"),
                        i % 5 == 0 ? QStringLiteral("Ein langer Buchtitel über Größe und Übermut, der in seiner Spalte umbricht")
                                   : QStringLiteral("Buch Nr. %1").arg(i),
                        T);
    c.DefineReportField(QStringLiteral("GP"), QStringLiteral("%1,50").arg(i * 3), kTypeNumeric);
    while (c.PrintFields() == kPageFull) c.PrintVariables();
  }
  c.DefineReportField(QStringLiteral("ÜbertragDrucken"), QStringLiteral("NEIN"), T);
  c.DefineReportField(QStringLiteral("Zeilentyp"), QStringLiteral("Endbetrag"), T);
  c.DefineReportField(QStringLiteral("Bezeichnung"), QStringLiteral("Gesamtbetrag"), T);
  c.DefineReportField(QStringLiteral("InfoPreis"), QStringLiteral("1.502.250,00"), T);
  while (c.PrintFields() == kPageFull) c.PrintVariables();
  return c.EndPrint(0);
}

void BM_InvoiceToStorage(benchmark::State& state) {
  QTemporaryDir dir;
  ReportControl c(std::make_shared<NoWindows>());
  c.SetPrinterDefaultsDir(dir.path());
  int pages = 0;
  for (auto _ : state) {
    if (printInvoice(c, kToStorage, static_cast<int>(state.range(0))) != kOk) state.SkipWithError("job failed");
    const int h = c.OpenStorage(kTemplate, dir.path(), 1, 0);
    pages = c.StoragePageCount(h);
    c.CloseStorage(h);
  }
  state.counters["pages"] = pages;
  state.counters["bytes"] = static_cast<double>(QFileInfo(dir.filePath(QStringLiteral("Rechnung.LL"))).size());
}
BENCHMARK(BM_InvoiceToStorage)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_InvoiceToPdf(benchmark::State& state) {
  QTemporaryDir dir;
  ReportControl c(std::make_shared<NoWindows>());
  c.SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.File"), QStringLiteral("Rechnung.pdf"));
  c.SetExportParameter(1, QStringLiteral("PDF"), QStringLiteral("Export.Path"), dir.path());
  for (auto _ : state)
    if (printInvoice(c, kToExport, static_cast<int>(state.range(0))) != kOk) state.SkipWithError("export failed");
  state.counters["bytes"] = static_cast<double>(QFileInfo(dir.filePath(QStringLiteral("Rechnung.pdf"))).size());
}
BENCHMARK(BM_InvoiceToPdf)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
