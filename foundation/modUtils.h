#pragma once
// Small helpers every program uses: directory test, the null replacement NZ, and the one-setting
// reads and writes of the settings table.
#include <QString>
#include <memory>

#include "platform/vb/Variant.h"

namespace data { class Connection; }

// Whether the folder exists; blanks trimmed, "\" or "/" appended; any failure is false.
bool VerzeichnisExistiert(const QString& Pfad);

// `Ersatz` when `Wert` is Null, else `Wert` (empty text, 0 and Missing are not Null). An object
// with a value (a field, a property) stands for its value.
vb::Variant NZ(const vb::Variant& Wert, const vb::Variant& Ersatz = vb::Variant(QString()));

// Adds the setting `FeldName` with `Wert` unless Vorgaben holds the key; where Vorgaben.FeldName
// has its unique key also when another workstation adds it at the same moment. True when this call
// added it. Database errors reach the caller.
bool VorgabeHinzufuegen(const QString& FeldName, const vb::Variant& Wert, const std::shared_ptr<data::Connection>& objCon);

// The setting's value as text; a missing key is written with `Default` and `Default` returned (or
// the value of the row another workstation added at the same moment). Database errors reach the
// caller.
QString GetVorgabe(const QString& FeldName, const QString& Default, const std::shared_ptr<data::Connection>& objCon);
// Writes the setting (the first row of the key, or a new row).
void SetVorgabe(const QString& FeldName, const QString& Wert, const std::shared_ptr<data::Connection>& objCon);
