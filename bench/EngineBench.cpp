// The whole engine on the example host: a 1,000-position invoice from the hand-over table to PDF
// through the print window (form load, document variables, counting pass and export pass, row
// walk with prices and VAT sums, closing block) on the real report control. Beside it the floor:
// the same rows drawn straight into a QPdfWriter by a program that knows its one layout.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTextLayout>

#include "engine/frmDrucken.h"
#include "examples/BeispielHost.h"
#include "platform/printing/CurrentPrinter.h"
#include "platform/printing/FakePrinterCatalogue.h"
#include "platform/printing/RecordingPrintDocument.h"
#include "platform/ui/ScriptedDialogs.h"

namespace {

// The example host set up in `dir`; none, with the benchmark skipped, when it cannot be.
std::unique_ptr<beispiel::BeispielHost> eingerichteterHost(benchmark::State& state, const QTemporaryDir& dir) {
  auto host = std::make_unique<beispiel::BeispielHost>(dir.path());
  QString fehler;
  if (host->einrichten(&fehler)) return host;
  state.SkipWithError(qPrintable(fehler));
  return nullptr;
}

void BM_EngineInvoiceToPdf(benchmark::State& state) {
  QTemporaryDir dir;
  ui::ScopedScriptedDialogs dialogs;
  const auto host = eingerichteterHost(state, dir);
  if (!host) return;
  QString fehler;
  const QList<beispiel::Zeile> zeilen = beispiel::massenPositionen(static_cast<int>(state.range(0)));
  const QString pdf = dir.filePath(QStringLiteral("Rechnung.pdf"));
  int lauf = 0;
  for (auto _ : state) {
    // Every run prints another document: texts laid out for the one before are of no help.
    state.PauseTiming();
    QList<beispiel::Zeile> dokument = zeilen;
    ++lauf;
    for (beispiel::Zeile& z : dokument) z.Bezeichnung.replace(QStringLiteral("Buch"), QStringLiteral("Buch %1").arg(lauf));
    host->zeilenSchreiben(dokument);
    state.ResumeTiming();
    if (!host->pdfDrucken(pdf, &fehler)) {
      state.SkipWithError(qPrintable(fehler));
      break;
    }
  }
  state.counters["pages"] = host->fenster().Seitenzahl;
  state.counters["bytes"] = static_cast<double>(QFileInfo(pdf).size());
}
BENCHMARK(BM_EngineInvoiceToPdf)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// A print batch as an order-processing program sends it: 100 documents of 20 positions, each
// written into the hand-over table and added to the batch (StartPrint(3)), the last one printing
// the batch (StartPrint(2)) on the current printer, a recording print document.
void BM_EngineBatchToPrinter(benchmark::State& state) {
  constexpr int kDokumente = 100;
  QTemporaryDir dir;
  ui::ScopedScriptedDialogs dialogs;
  const auto host = eingerichteterHost(state, dir);
  if (!host) return;
  auto katalog = std::make_shared<printing::FakePrinterCatalogue>();
  printing::PrinterInfo buero;
  buero.deviceName = QStringLiteral("Buero");
  katalog->setPrinters({buero});
  katalog->setDefaultPrinter(buero.deviceName);
  printing::setCatalogue(katalog);
  auto druck = std::make_shared<printing::RecordingPrintDocument>();
  printing::setPrintDocument(druck);
  printing::setCurrentPrinter(buero.deviceName);
  const QList<beispiel::Zeile> zeilen = beispiel::massenPositionen(static_cast<int>(state.range(0)));
  frmDrucken& f = host->fenster();
  qsizetype gedruckt = 0;
  for (auto _ : state) {
    const qsizetype vorher = druck->documents().size();
    for (int d = 1; d <= kDokumente; ++d) {
      host->zeilenSchreiben(zeilen);
      host->dokumentdatenSetzen();
      f.StartPrint(d < kDokumente ? 3 : 2);
    }
    gedruckt = druck->documents().size() - vorher;
  }
  if (gedruckt != kDokumente) state.SkipWithError("the batch did not print every document");
  state.counters["documents"] = static_cast<double>(gedruckt);
  state.counters["per_document"] =
      benchmark::Counter(kDokumente, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  printing::setPrintDocument(nullptr);
  printing::setCatalogue(nullptr);
  printing::setCurrentPrinter(QString());
}
BENCHMARK(BM_EngineBatchToPrinter)->Arg(20)->Unit(benchmark::kMillisecond);

// ---- the floor ----

// Page units of 0.01 mm, fonts as templates/Rechnung.lst sets them.
constexpr double U = 100;
QFont schrift(double punkte, bool fett = false, bool kursiv = false) {
  QFont f(QStringLiteral("Arial"));
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setPixelSize(qRound(punkte * 2540.0 / 72.0));
  f.setBold(fett);
  f.setItalic(kursiv);
  return f;
}

QString betrag(double v) { return QLocale(QLocale::German).toString(v, 'f', 2); }

struct FloorRow {
  QStringList bezeichnung;  // the wrapped lines
  QString position, menge, satz, ep, gp;
  double gesamt = 0;
};

// Draws `text` left or right aligned in a column from `x` (mm) `breite` wide, baseline at `y` units.
void spalte(QPainter& p, const QFontMetricsF& fm, double x, double breite, double y, const QString& text,
            bool rechts = false) {
  const double links = x * U + (rechts ? breite * U - fm.horizontalAdvance(text) : 0);
  p.drawText(QPointF(links, y + fm.ascent()), text);
}

// The invoice's page furniture: letterhead and title on page 1, running head after, footer and
// "Seite x von y" on all.
void seitenrahmen(QPainter& p, int seite, int seiten) {
  const QFont klein = schrift(7), acht = schrift(8), neun = schrift(9);
  const QFontMetricsF fmKlein(klein), fmAcht(acht), fmNeun(neun);
  if (seite == 1) {
    const QFont gross = schrift(16, true), titel = schrift(14, true);
    p.setFont(gross);
    spalte(p, QFontMetricsF(gross), 115, 80, 14 * U, QStringLiteral("Buchhandlung am Markt"), true);
    p.setFont(acht);
    const QStringList kopf = {QStringLiteral("Marktplatz 1 · 12345 Musterstadt"),
                              QStringLiteral("Telefon 01234 5678-0 · Telefax 01234 5678-99"),
                              QStringLiteral("info@buchhandlung-am-markt.example")};
    for (int i = 0; i < kopf.size(); ++i) spalte(p, fmAcht, 115, 80, 21.5 * U + i * fmAcht.lineSpacing(), kopf[i], true);
    p.setFont(schrift(10));
    const QStringList an = {QStringLiteral("Städtisches Gymnasium Musterstadt"), QStringLiteral("Schulbibliothek"),
                            QStringLiteral("Frau Dr. Albers"), QStringLiteral("Schulstraße 12"), QStringLiteral("12345 Musterstadt")};
    for (int i = 0; i < an.size(); ++i) spalte(p, QFontMetricsF(schrift(10)), 20, 85, 62.7 * U + i * QFontMetricsF(schrift(10)).lineSpacing(), an[i]);
    p.setFont(neun);
    spalte(p, fmNeun, 125, 35, 52 * U, QStringLiteral("Rechnung Nr."));
    spalte(p, fmNeun, 160, 35, 52 * U, QStringLiteral("2024-10317"), true);
    p.setFont(titel);
    spalte(p, QFontMetricsF(titel), 20, 175, 98 * U, QStringLiteral("Rechnung"));
  } else {
    p.setFont(neun);
    spalte(p, fmNeun, 20, 120, 15 * U, QStringLiteral("Rechnung Nr. 2024-10317 vom 05.09.2024"));
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 0.2 * U));
    p.drawLine(QPointF(20 * U, 20 * U), QPointF(195 * U, 20 * U));
  }
  p.setPen(Qt::black);
  p.setFont(acht);
  spalte(p, fmAcht, 120, 75, 268 * U, QStringLiteral("Seite %1 von %2").arg(seite).arg(seiten), true);
  p.setPen(QPen(QColor(0x80, 0x80, 0x80), 0.2 * U));
  p.drawLine(QPointF(20 * U, 274 * U), QPointF(195 * U, 274 * U));
  p.setPen(QColor(0x40, 0x40, 0x40));
  p.setFont(klein);
  const QStringList fuss[3] = {
      {QStringLiteral("Buchhandlung am Markt GmbH"), QStringLiteral("Marktplatz 1 · 12345 Musterstadt"),
       QStringLiteral("Geschäftsführung: Petra Beispiel")},
      {QStringLiteral("Musterbank Musterstadt"), QStringLiteral("IBAN DE00 0000 0000 0000 0000 00"),
       QStringLiteral("BIC MUSTDEXXXXX")},
      {QStringLiteral("Amtsgericht Musterstadt HRB 0000"), QStringLiteral("USt-IdNr. DE000000000"),
       QStringLiteral("Steuer-Nr. 000/000/00000")}};
  const double xs[3] = {20, 80, 140}, ws[3] = {60, 60, 55};
  for (int b = 0; b < 3; ++b)
    for (int i = 0; i < 3; ++i)
      spalte(p, fmKlein, xs[b], ws[b], 275.5 * U + i * fmKlein.lineSpacing(), fuss[b][i], b == 2);
  p.setPen(Qt::black);
}

// The column heads on a grey band, as the table header of the template.
void tabellenkopf(QPainter& p, double y) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xe6, 0xe6, 0xe6));
  p.drawRect(QRectF(20 * U, y, 175 * U, 6 * U));
  p.setBrush(Qt::NoBrush);
  p.setPen(Qt::black);
  const QFont f = schrift(9, true);
  const QFontMetricsF fm(f);
  p.setFont(f);
  const double t = y + 1.2 * U;
  spalte(p, fm, 21, 10, t, QStringLiteral("Pos."));
  spalte(p, fm, 32, 13, t, QStringLiteral("Menge"), true);
  spalte(p, fm, 48, 84, t, QStringLiteral("Bezeichnung"));
  spalte(p, fm, 132, 10, t, QStringLiteral("USt."), true);
  spalte(p, fm, 143, 24, t, QStringLiteral("Einzelpreis"), true);
  spalte(p, fm, 169, 25, t, QStringLiteral("Gesamt EUR"), true);
}

void uebertrag(QPainter& p, double y, double summe) {
  const QFont f = schrift(10, false, true);
  const QFontMetricsF fm(f);
  p.setFont(f);
  spalte(p, fm, 48, 80, y, QStringLiteral("Übertrag"));
  spalte(p, fm, 169, 25, y, betrag(summe), true);
}

// The same invoice as the engine prints it from the example host, laid out once (wrapping with
// QTextLayout at the template's column width), paged, and drawn page by page.
qint64 floorInvoice(const QList<beispiel::Zeile>& zeilen, const QString& pfad, int* seitenOut) {
  const QFont normal = schrift(10);
  const QFontMetricsF fm(normal);
  const double zeile = fm.lineSpacing();
  QTextOption umbruch;
  umbruch.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  QList<FloorRow> rows;
  rows.reserve(zeilen.size());
  for (const beispiel::Zeile& z : zeilen) {
    FloorRow r;
    QTextLayout layout(z.Bezeichnung, normal);
    layout.setTextOption(umbruch);
    layout.beginLayout();
    for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
      l.setLineWidth(84 * U);
      r.bezeichnung << z.Bezeichnung.mid(l.textStart(), l.textLength()).trimmed();
    }
    layout.endLayout();
    r.gesamt = *z.Menge * *z.EP;
    r.position = z.Feld1;
    r.menge = QString::number(*z.Menge);
    r.satz = QStringLiteral("%1%").arg(qRound(z.MwStSatz * 100));
    r.ep = betrag(*z.EP);
    r.gp = betrag(r.gesamt);
    rows << r;
  }
  // Paging: rows between the table top and its bottom, less the carry-over line below.
  const auto hoehe = [&](const FloorRow& r) { return 0.6 * U + r.bezeichnung.size() * zeile; };
  QList<int> seitenAnfang{0};
  {
    double y = 113 * U + 7 * U;
    for (int i = 0; i < rows.size(); ++i) {
      if (y + hoehe(rows[i]) > 266 * U - 7 * U) {
        seitenAnfang << i;
        y = 25 * U + 7 * U + 6 * U;
      }
      y += hoehe(rows[i]);
    }
  }
  const int seiten = static_cast<int>(seitenAnfang.size());
  QFile datei(pfad);
  if (!datei.open(QIODevice::WriteOnly)) return -1;
  QPdfWriter writer(&datei);
  writer.setResolution(1200);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
  QPainter p(&writer);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(writer.resolution() / 2540.0, writer.resolution() / 2540.0);
  double summe = 0;
  for (int s = 0; s < seiten; ++s) {
    if (s > 0) writer.newPage();
    seitenrahmen(p, s + 1, seiten);
    double y = s == 0 ? 113 * U : 25 * U;
    tabellenkopf(p, y);
    y += 7 * U;
    if (s > 0) {
      uebertrag(p, y + 0.5 * U, summe);
      y += 6 * U;
    }
    p.setFont(normal);
    const int ende = s + 1 < seiten ? seitenAnfang[s + 1] : static_cast<int>(rows.size());
    for (int i = seitenAnfang[s]; i < ende; ++i) {
      const FloorRow& r = rows[i];
      const double t = y + 0.4 * U;
      spalte(p, fm, 21, 10, t, r.position);
      spalte(p, fm, 32, 13, t, r.menge, true);
      for (int l = 0; l < r.bezeichnung.size(); ++l) spalte(p, fm, 48, 84, t + l * zeile, r.bezeichnung[l]);
      spalte(p, fm, 132, 10, t, r.satz, true);
      spalte(p, fm, 143, 24, t, r.ep, true);
      spalte(p, fm, 169, 25, t, r.gp, true);
      summe += r.gesamt;
      y += hoehe(r);
    }
    if (s + 1 < seiten) {
      p.setPen(QPen(Qt::black, 0.2 * U));
      p.drawLine(QPointF(169 * U, y + 0.8 * U), QPointF(195 * U, y + 0.8 * U));
      uebertrag(p, y + 1.5 * U, summe);
    }
  }
  p.end();
  datei.close();
  *seitenOut = seiten;
  return QFileInfo(pfad).size();
}

void BM_FloorInvoiceToPdf(benchmark::State& state) {
  QTemporaryDir dir;
  const QList<beispiel::Zeile> zeilen = beispiel::massenPositionen(static_cast<int>(state.range(0)));
  const QString pdf = dir.filePath(QStringLiteral("Boden.pdf"));
  int seiten = 0;
  qint64 bytes = 0;
  for (auto _ : state) bytes = floorInvoice(zeilen, pdf, &seiten);
  if (bytes <= 0) state.SkipWithError("no PDF written");
  state.counters["pages"] = seiten;
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_FloorInvoiceToPdf)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
