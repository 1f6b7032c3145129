#pragma once
// Route check for the template tree, and the report type code of a host record source's field.
#include <QString>
#include <cstdint>

// Whether `RechnerName` has routes of its own for the form: archive-printer rows
// (VonExemplar = -1) when `Archiv` is true, ordinary routes (VonExemplar > 0) otherwise.
// Reads group 4 of the global connection handler; a missing handler or a failing statement
// raises to the caller.
bool ExistsDruckerRoute(const QString& RechnerName, short FormStatus, short FormNummer, bool Archiv);

// Report type code for a record-source field type: 1 boolean; 2 to 5 and 7 numeric; 8 and 9
// date; 6 and everything else text. Never fails.
std::int32_t GetLLFeldTyp(std::int32_t FeldTyp);
