#include "foundation/modDouble.h"

#include <cmath>

#include "platform/vb/Convert.h"
#include "platform/vb/Format.h"
#include "platform/vb/Locale.h"
#include "platform/vb/VbError.h"

double Runden(double Wert, std::int16_t Stellen) {
  if (Stellen == 32767) vb::raise(vb::ErrOverflow);
  if (Stellen < 0) vb::raise(vb::ErrInvalidCall);
  const double h = 5 * std::pow(10.0, -(Stellen + 1));
  const double v = Wert >= 0 ? Wert + h : Wert - h;
  QString text = vb::formatNumber(v, QStringLiteral("0.0##############"));
  const int sep = text.indexOf(vb::decimalSeparator());
  if (sep >= 0) text = text.left(sep + 1 + Stellen);
  const double result = vb::CDbl(vb::Variant(text));
  // "-0,00" reads back as -0; an amount of nothing has no sign.
  return result == 0 ? 0.0 : result;
}

vb::Variant MaxWert(const vb::Variant& A, const vb::Variant& B) {
  if (A.isNull()) return B;
  if (B.isNull()) return A;
  return vb::compare(A, B) < 0 ? B : A;
}
