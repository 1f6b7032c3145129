#pragma once
// Tests that need an outside program (cupsd, pdftotext) skip on a developer's machine without it,
// but fail in CI, where scripts/setup must have installed it.
#include <gtest/gtest.h>

#include <QtGlobal>

#define SKRIVANT_REQUIRE_TOOL(available, why)                    \
  do {                                                           \
    if (!(available)) {                                          \
      if (qEnvironmentVariableIsSet("CI")) FAIL() << (why);      \
      GTEST_SKIP() << (why);                                     \
    }                                                            \
  } while (0)
