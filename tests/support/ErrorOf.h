#pragma once
// The number of the run-time error a call raises: what most failure-path tests check.
#include <functional>
#include <string>

#include "platform/vb/VbError.h"

namespace testsupport {

// 0 when `f` raises nothing.
inline long errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const vb::VbError& e) {
    return e.number();
  }
  return 0;
}

// The description of the error `f` raises; empty when it raises none.
inline std::string errorTextOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const vb::VbError& e) {
    return e.description().toStdString();
  }
  return {};
}

}  // namespace testsupport
