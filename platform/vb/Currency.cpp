#include "platform/vb/Currency.h"

#include <cmath>

#include "platform/vb/VbError.h"

namespace vb {

Currency Currency::fromDouble(double d) {
  const double scaled = std::round(d * 10000.0);
  // 922337203685477.5807 is the largest Currency; the double next to 2^63 already overflows.
  if (std::isnan(scaled) || scaled >= 9223372036854775808.0 || scaled < -9223372036854775808.0) raise(ErrOverflow);
  return Currency{static_cast<std::int64_t>(scaled)};
}

}  // namespace vb
