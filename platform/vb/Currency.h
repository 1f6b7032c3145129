#pragma once
// VB's Currency: a fixed-point amount held as a 64-bit count of ten-thousandths, so amounts add
// up without the rounding drift of a Double.
#include <QMetaType>
#include <cstdint>

namespace vb {

struct Currency {
  std::int64_t units = 0;  // 1.2345 is 12345

  // Rounds to four places, half away from zero; raises 6 beyond the Currency range.
  static Currency fromDouble(double d);
  double toDouble() const { return static_cast<double>(units) / 10000.0; }
  bool operator==(const Currency&) const = default;
};

}  // namespace vb

Q_DECLARE_METATYPE(vb::Currency)
