#pragma once
// The form-record procedures of modSkrivant: create, delete and copy the rows of a form in
// Auftrag_Formular_Neu and Auftrag_Formular_Druckerschacht_Neu, and keep the name table
// Auftrag_Formular_Vorlagen in step. The module's path and connection state is in
// foundation/modSkrivant.h. Every statement goes to group 4 of the global connection handler;
// no procedure traps an error, so a failure reaches the caller and what was saved stays saved.
#include <cstdint>
#include <memory>

#include "platform/vb/Variant.h"

namespace data { class Connection; }

// The connection of group 4 of the global connection handler, where the form tables live, fetched
// afresh for every statement. Error 91 while no handler is set; the handler's error 5 when its
// group 4 holds no connection.
std::shared_ptr<data::Connection> FormularConnection();

// Bits of the copy flags word of CopyFormularDaten.
namespace FormularKopie {
constexpr short Texte = 1;            // texts and report kind
constexpr short RoutenRechner = 2;    // routes of this workstation
constexpr short RoutenGlobal = 4;     // routes of "$GLOBAL$"
constexpr short Formatdatei = 8;      // template file and copy count
}  // namespace FormularKopie

// Adds a form of type `FormStatus` under the lowest number from 1 up that no form, route or dunning
// text row of that type uses (returned in `FormNummer`) with report kind `BerichtArt`, two default "$GLOBAL$" routes when that number has
// none yet, and a name row for every number without one. Error 6 when every number is taken.
// Returns True.
bool CreateFormular(std::int32_t FormStatus, short& FormNummer, const vb::Variant& BerichtArt);

// Deletes the form's routes of every workstation, then its form row and its dunning level texts.
// Returns True.
bool DeleteFormular(std::int32_t FormStatus, short FormNummer);

// Copies what the flags name from the source form to the target form: bit 1 the texts and report
// kind, bit 8 the template file and copy count (both create a missing target row), bit 2 the
// routes of this workstation, bit 4 those of "$GLOBAL$" (archive-printer rows included). A route
// copy replaces only the target's routes of the named kinds, and only when the source has routes:
// a paste onto one workstation's routes must not change, or wipe, the "$GLOBAL$" routes every other
// workstation prints with.
void CopyFormularDaten(short QuellFormStatus, short QuellFormNummer, short Flags, short ZielFormStatus,
                       short ZielFormNummer);

// Adds a name row "<n>.Vorlage" for every template number that has none.
void VorlagenAbgleichen();
