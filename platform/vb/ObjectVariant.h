#pragma once
#include "platform/vb/Variant.h"
#include "platform/vb/VbError.h"

namespace vb {

// A member's parameter or result that holds an object reference or Nothing: the same type to C++,
// typed Object in the bus introspection. Spelled "vb::ObjectVariant" in the declaration, which is
// what moc records. The member refuses anything else itself (requireObject), in its own words.
using ObjectVariant = Variant;

// `v` when it is an object or Nothing; a text, a number or Empty is error 13.
inline const Variant& requireObject(const Variant& v, const QString& source = {}) {
  if (!v.isObject()) raise(ErrTypeMismatch, source);
  return v;
}

}  // namespace vb
