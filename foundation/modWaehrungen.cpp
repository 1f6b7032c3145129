#include "foundation/modWaehrungen.h"

#include "foundation/modUtils.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"

namespace {
constexpr double kDemProEur = 1.95583;

bool isOneOf(const QString& text, std::initializer_list<const char*> codes) {
  for (const char* c : codes)
    if (vb::textEquals(text, QString::fromUtf8(c))) return true;
  return false;
}
}  // namespace

QString GetWaehrungsKuerzel(const QString& Waehrung) {
  const QString w = Waehrung.trimmed();
  if (isOneOf(w, {"1", "", "EURO", "€", "EUR"})) return QStringLiteral("EUR");
  if (isOneOf(w, {"0", "DM", "DEM"})) return QStringLiteral("DEM");
  return Waehrung;
}

double WaehrungUmrechnen(double Betrag, const QString& VonWaehrung, const QString& NachWaehrung) {
  double faktor = 1;
  if (vb::textEquals(VonWaehrung, QStringLiteral("DEM"))) {
    if (vb::textEquals(NachWaehrung, QStringLiteral("EUR"))) faktor = 1 / kDemProEur;
  } else if (vb::textEquals(VonWaehrung, QStringLiteral("EUR"))) {
    if (vb::textEquals(NachWaehrung, QStringLiteral("DEM"))) faktor = kDemProEur;
  }
  return Betrag * faktor;
}

void RundungsdifferenzAusgleichen(double Soll, QList<vb::Variant>& Betraege) {
  if (Betraege.isEmpty()) vb::raise(vb::ErrSubscript);
  const vb::Variant null0(0);
  qsizetype m = 0;
  double summe = 0;
  for (qsizetype i = 0; i < Betraege.size(); ++i) {
    if (vb::compare(NZ(Betraege[m], null0), NZ(Betraege[i], null0)) < 0) m = i;
    summe += vb::CDbl(NZ(Betraege[i], null0));
  }
  if (summe != Soll) Betraege[m] = vb::CDbl(NZ(Betraege[m], null0)) - (summe - Soll);
}
