#include "engine/modFormate.h"

#include <cmath>

#include "platform/vb/Format.h"
#include "platform/vb/VbError.h"

namespace {

struct Formate {
  QString betraege;
  QString prozent;
  QString mwstSatz;
};

Formate& formate() {
  static Formate f;
  return f;
}

}  // namespace

void SetBetraegeFormat(const QString& Format) { formate().betraege = Format; }
QString GetBetraegeFormat() { return formate().betraege; }
void SetProzentFormat(const QString& Format) { formate().prozent = Format; }
QString GetProzentFormat() { return formate().prozent; }
void SetMWSTSatzFormat(const QString& Format) { formate().mwstSatz = Format; }
QString GetMWSTSatzFormat() { return formate().mwstSatz; }

QString BetragFormatieren(double Betrag) {
  // An amount beyond the Double range overflows, as in the run time; it is never printed as "inf".
  if (!std::isfinite(Betrag)) vb::raise(vb::ErrOverflow);
  return vb::Format(vb::Variant(Betrag), formate().betraege);
}
