// The whole engine on the example host: a 1,000-position invoice from the hand-over table to PDF
// through the print window (form load, document variables, counting pass and export pass, row
// walk with prices and VAT sums, closing block) on the real report control.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "engine/frmDrucken.h"
#include "examples/BeispielHost.h"
#include "platform/ui/ScriptedDialogs.h"

namespace {

// Positions of both VAT rates; every fifth text wraps onto a second line.
QList<beispiel::Zeile> positionen(int anzahl) {
  QList<beispiel::Zeile> zeilen;
  for (int i = 1; i <= anzahl; ++i)
    zeilen << beispiel::position(i, i % 5 + 1,
                                 i % 5 == 0 ? QStringLiteral("Ein langer Buchtitel über Größe und Übermut, der in "
                                                             "seiner Spalte auf eine zweite Zeile umbricht")
                                            : QStringLiteral("Buch Nr. %1").arg(i),
                                 0.37 + 1.13 * (i % 40), i % 3 == 0);
  return zeilen;
}

void BM_EngineInvoiceToPdf(benchmark::State& state) {
  QTemporaryDir dir;
  ui::ScopedScriptedDialogs dialogs;
  beispiel::BeispielHost host(dir.path());
  QString fehler;
  if (!host.einrichten(&fehler)) {
    state.SkipWithError(qPrintable(fehler));
    return;
  }
  host.zeilenSchreiben(positionen(static_cast<int>(state.range(0))));
  const QString pdf = dir.filePath(QStringLiteral("Rechnung.pdf"));
  for (auto _ : state) {
    if (!host.pdfDrucken(pdf, &fehler)) {
      state.SkipWithError(qPrintable(fehler));
      break;
    }
  }
  state.counters["pages"] = host.fenster().Seitenzahl;
  state.counters["bytes"] = static_cast<double>(QFileInfo(pdf).size());
}
BENCHMARK(BM_EngineInvoiceToPdf)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
