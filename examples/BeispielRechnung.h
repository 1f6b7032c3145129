#pragma once
// The sample invoice of the example host: a bookshop's invoice to a school, with books at the
// reduced VAT rate (price-bound, so without discount) and school supplies at the full rate (with
// the overall discount), a subtotal, a blank row, a text block and a cover letter that breaks the
// page. Only data: BeispielHost writes it into the hand-over table and onto the print window.
#include <QList>
#include <QString>
#include <optional>

namespace beispiel {

// One row of PrintInputTabelle as the host writes it.
struct Zeile {
  QString ControlString;         // "{Zwischensumme}", "{TB}", "{Leerzeile}", ... or empty for a position
  QString Feld1;                 // position number
  std::optional<double> Menge;   // none: Null
  QString Bezeichnung;           // plain text or RTF
  std::optional<double> EP;      // unit price, net
  short MWSTArt = 0;             // 1 full rate, 2 reduced rate
  double MwStSatz = 0;
  bool RabattFaehig = false;
  QString EAN;
  QString Autor;
  QString Bemerkung;
};

// Rates as fractions, as the print window takes them.
constexpr double kMwstVoll = 0.19;
constexpr double kMwstHalb = 0.07;
constexpr double kGesamtRabatt = 0.05;

// The form the host prints with: form type 3 (invoice), template number 1.
constexpr short kFormStatusRechnung = 3;
constexpr short kFormStatusMahnung = 130;
constexpr short kFormNummer = 1;

// The rows of the sample invoice, in print order: 26 positions.
QList<Zeile> beispielZeilen();

// A position of the full or reduced rate, numbered `nummer`, for invoices made up in bulk.
Zeile position(int nummer, double menge, const QString& bezeichnung, double ep, bool vollerSatz);

// `anzahl` positions of both rates numbered from 1, as a long invoice of the benchmarks and tests;
// every fifth text wraps onto a second line.
QList<Zeile> massenPositionen(int anzahl);

// The document texts. The pre-text carries "<Seitenumbruch>": the cover letter fills page 1 and
// the positions start on page 2.
QString beispielVortext();
QString beispielSchlusstext();
QString beispielZahltext();

}  // namespace beispiel
