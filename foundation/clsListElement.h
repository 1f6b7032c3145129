#pragma once
// The element of every keyed value store: a key with up to two values. Value2 carries a report
// field type where the print window and the dunning handler use it.
#include <QString>
#include <memory>

#include "platform/vb/Variant.h"

struct clsListElement {
  QString Key;
  QString Key2;  // kept for its place; nothing sets or reads it
  vb::Variant Value;
  vb::Variant Value2;
};

using ListElementPtr = std::shared_ptr<clsListElement>;
