#pragma once
// What the two printer panels share about their rows of Auftrag_Formular_Druckerschacht_Neu: the
// statement that selects one form's routes of one workstation, and the replacement of those rows
// in one transaction, on the connection (group 4) of the template manager that holds the panel.
#include <QString>
#include <functional>
#include <memory>

class clsConnectionHandler;
namespace data {
class Connection;
class Recordset;
}

namespace configuration {

// Group 4 of `handler`, where the form tables are: error 91 without a handler, the handler's error
// 5 when the group has no connection.
std::shared_ptr<data::Connection> FormularVerbindung(const std::shared_ptr<clsConnectionHandler>& handler);

// The rows of "SELECT * FROM Auftrag_Formular_Druckerschacht_Neu WHERE RechnerName=… AND
// FormNummer=… AND FormStatus=…" followed by `Rest` (" AND VonExemplar>0 ORDER BY …"),
// forward-only and read-only; the workstation's name matches in any letter case, umlauts too.
// The values are bound, so a name with an apostrophe selects its own rows and nothing else.
// Errors reach the caller.
std::shared_ptr<data::Recordset> RoutenLesen(const std::shared_ptr<data::Connection>& con, const QString& RechnerName,
                                             short FormNummer, short FormStatus, const QString& Rest);

// Deletes the rows that `Bedingung` (" AND VonExemplar>0") selects of the form and workstation,
// then hands `Schreiben` a record set open for adding on the same rows, all in one transaction:
// when anything fails the rows stay as they were and the error goes to the caller.
void RoutenErsetzen(const std::shared_ptr<data::Connection>& con, const QString& RechnerName, short FormNummer,
                    short FormStatus, const QString& Bedingung, const std::function<void(data::Recordset&)>& Schreiben);

}  // namespace configuration
