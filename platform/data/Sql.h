#pragma once
// Building SQL text by concatenation, as the system does everywhere, without letting a value
// break out of its literal. Every statement builder of the system quotes its texts here.
#include <QString>

namespace data {

// The text as an SQL string literal: between apostrophes, every apostrophe doubled
// ("it's" gives 'it''s'). A NUL character, which would cut the statement short, is dropped.
QString sqlText(const QString& value);

}  // namespace data
