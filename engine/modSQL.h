#pragma once
// Route check for the template tree, and the report type code of a host record source's field.
#include <QString>
#include <cstdint>

// Whether `RechnerName` has routes of its own for the form: archive-printer rows
// (VonExemplar = -1) when `Archiv` is true, ordinary routes (VonExemplar > 0) otherwise.
// Reads group 4 of the global connection handler; a missing handler or a failing statement
// raises to the caller.
bool ExistsDruckerRoute(const QString& RechnerName, short FormStatus, short FormNummer, bool Archiv);

// Report type code for a field type code of a host's record set (the desktop database's codes:
// 1 Boolean, 2 Byte, 3 Integer, 4 Long, 5 Currency, 7 Double, 8 Date): 1 boolean; 2 to 5 and 7
// numeric; 8 and 9 date; 6 and everything else text. Never fails.
std::int32_t GetLLFeldTyp(std::int32_t FeldTyp);

// The same for a field of the data layer's record sets, which report the data-access library's
// codes (data::DataType) whether the source is SQLite or ODBC: 11 boolean; the whole, decimal and
// currency codes numeric; 7 and the database date and time codes date; everything else text.
std::int32_t GetLLFeldTypDatenschicht(std::int32_t adTyp);
