#pragma once
// Rounding of amounts and the larger of two values.
#include <cstdint>

#include "platform/vb/Variant.h"

// `Wert` rounded half away from zero to `Stellen` decimal places, read through its 15-digit
// decimal text so that 2.675 (stored as 2.67499...) still gives 2.68. Never returns -0.
// `Stellen` 32767 overflows (error 6); a negative `Stellen` is an invalid argument (error 5).
double Runden(double Wert, std::int16_t Stellen);

// The larger of `A` and `B` by the run time's comparison (equal values give `A`); a Null side
// gives the other, both Null give Null. Values that cannot be compared raise 13.
vb::Variant MaxWert(const vb::Variant& A, const vb::Variant& B);
