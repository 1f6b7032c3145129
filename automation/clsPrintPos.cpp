#include "automation/clsPrintPos.h"

#include <cmath>

#include "platform/vb/VbError.h"

void clsPrintPos::let_EP(double v) {
  m_EP_Material = v;
  m_EP_Lohn = 0;
}

double clsPrintPos::EP() const {
  const double summe = m_EP_Material + m_EP_Lohn;
  if (!std::isfinite(summe)) vb::raise(vb::ErrOverflow);
  return summe;
}
