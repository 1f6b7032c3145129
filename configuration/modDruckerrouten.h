#pragma once
// What the two printer panels share about their rows of Auftrag_Formular_Druckerschacht_Neu: the
// statement that selects one form's routes of one workstation, and the replacement of those rows
// in one transaction on group 4 of the global connection handler.
#include <QString>
#include <functional>
#include <memory>

namespace data { class Recordset; }

namespace configuration {

// The rows of "SELECT * FROM Auftrag_Formular_Druckerschacht_Neu WHERE RechnerName=… AND
// FormNummer=… AND FormStatus=…" followed by `Rest` (" AND VonExemplar>0 ORDER BY …"),
// forward-only and read-only. The values are bound, so a name with an apostrophe selects its own
// rows and nothing else. Errors reach the caller.
std::shared_ptr<data::Recordset> RoutenLesen(const QString& RechnerName, short FormNummer, short FormStatus,
                                             const QString& Rest);

// Deletes the rows that `Bedingung` (" AND VonExemplar>0") selects of the form and workstation,
// then hands `Schreiben` a record set open for adding on the same rows, all in one transaction:
// when anything fails the rows stay as they were and the error goes to the caller.
void RoutenErsetzen(const QString& RechnerName, short FormNummer, short FormStatus, const QString& Bedingung,
                    const std::function<void(data::Recordset&)>& Schreiben);

}  // namespace configuration
