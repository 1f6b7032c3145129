#pragma once
#include "platform/vb/Variant.h"

namespace vb {

// A member's parameter or result that holds an object reference or Nothing: the same type to C++,
// but late binding refuses anything else for such a parameter (error 13), and the bus
// introspection types it Object. Spelled "vb::ObjectVariant" in the declaration, which is what
// moc records.
using ObjectVariant = Variant;

}  // namespace vb
