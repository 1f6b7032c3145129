#pragma once
// Building SQL text by concatenation, as the system does everywhere, without letting a value
// break out of its literal. Every statement builder of the system quotes its texts here.
#include <QString>

namespace data {

// The text as an SQL string literal: between apostrophes, every apostrophe doubled
// ("it's" gives 'it''s'). A NUL character, which would cut the statement short, is dropped.
QString sqlText(const QString& value);

// The text as sqlText writes it into a statement: without NUL characters. A key that is looked
// up through sqlText and written through a record set goes through this first, so that the row
// written is the row found.
QString withoutNul(const QString& value);

}  // namespace data
