#pragma once
// The engine's process-wide settings: the local path and its forms folder, the data directory and
// its "$Daten$" token in stored paths, the document date format, the global connection handler and
// the flag that the template manager has closed. One thread uses them; nothing is locked.
#include <QString>
#include <memory>

#include "platform/vb/Variant.h"

class clsConnectionHandler;

// Stores the local path trimmed, with "\" appended when it ends in neither "\" nor "/". An empty or
// blank path means "not set": GetLokalerPfad then gives the default again.
void SetLokalerPfad(const QString& Pfad);
// The stored local path, else the per-user data folder (created when missing) followed by "/".
QString GetLokalerPfad();
// GetLokalerPfad() & "Formular", without a trailing separator.
QString GetFormularPfad();
// Where this process keeps the files of its print jobs (storage files, print-batch members) in
// the local path: the local path itself while no other running process keeps its files there,
// else a folder of this process's own in it (ProzessOrdnerPraefix followed by the process id),
// so that the engines of several hosts of a desktop never take each other's files. Decided once
// per local path for the life of the process; the local path as it is while it does not exist.
// With `anlegen` False no folder is made for it: an empty text then says that there is none.
QString GetProzessOrdner(bool anlegen = true);
// The name with which the folders of GetProzessOrdner begin.
inline const QString ProzessOrdnerPraefix = QStringLiteral(".skrivant-");
// Creates the forms folder (its last level only) when it is missing; a failure is written to the
// debug log as "<number>: <description>" and never reaches the caller.
void CreateFormularPfad();

// "dd.mm.yyyy"; "" for Null and for a value that is no date.
QString FormatDatum(const vb::Variant& Wert);

// The host's data directory, exactly as given (hosts end it with "\").
void SetDatenverzeichnis(const QString& Datenverzeichnis);
QString GetDatenverzeichnis();
// Every "$Daten$" (any letter case) replaced by the data directory.
QString ExpandDatenPfad(const QString& Pfad);
// Every occurrence of the data directory (any letter case) replaced by "$Daten$"; unchanged while
// the data directory is empty.
QString CollapseDatenPfad(const QString& Pfad);

// The engine-wide connection handler through which the form tables are reached; may be empty.
// A handler still set when the QCoreApplication goes is released then.
void SetGlobalConnectList(std::shared_ptr<clsConnectionHandler> handler);
std::shared_ptr<clsConnectionHandler> GetGlobalConnectList();

// True once the template manager opened by FormularGestaltung has closed; False at start.
void SetGestaltungBeendet(bool beendet);
bool GetGestaltungBeendet();
