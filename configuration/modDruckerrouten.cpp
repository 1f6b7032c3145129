#include "configuration/modDruckerrouten.h"

#include "foundation/clsConnectionHandler.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/vb/ErrorStyle.h"

namespace configuration {

namespace {
// One form's routes of one workstation, followed by `Rest`; bound: the name, number and type.
QString abfrage(const QString& Rest) {
  return QStringLiteral("SELECT * FROM Auftrag_Formular_Druckerschacht_Neu WHERE RechnerName=? AND FormNummer=? AND "
                        "FormStatus=?") +
         Rest;
}
}  // namespace

std::shared_ptr<data::Connection> FormularVerbindung(const std::shared_ptr<clsConnectionHandler>& handler) {
  if (!handler) vb::raise(vb::ErrObjectNotSet);
  return handler->SQLGruppe_Connection(4);
}

std::shared_ptr<data::Recordset> RoutenLesen(const std::shared_ptr<data::Connection>& con, const QString& RechnerName,
                                             short FormNummer, short FormStatus, const QString& Rest) {
  auto rs = std::make_shared<data::Recordset>();
  rs->Open(abfrage(Rest), vb::Variant(con), data::adOpenForwardOnly, data::adLockReadOnly, data::adCmdUnspecified,
           {RechnerName, FormNummer, FormStatus});
  return rs;
}

void RoutenErsetzen(const std::shared_ptr<data::Connection>& con, const QString& RechnerName, short FormNummer,
                    short FormStatus, const QString& Bedingung,
                    const std::function<void(data::Recordset&)>& Schreiben) {
  con->BeginTrans();
  try {
    const data::Parameters form = {RechnerName, FormNummer, FormStatus};
    con->Execute(QStringLiteral("DELETE FROM Auftrag_Formular_Druckerschacht_Neu WHERE RechnerName=? AND FormNummer=? "
                                "AND FormStatus=?") +
                     Bedingung,
                 form);
    data::Recordset rs;
    rs.Open(abfrage(Bedingung + QStringLiteral(" ORDER BY VonExemplar, VonSeite")), vb::Variant(con),
            data::adOpenDynamic, data::adLockOptimistic, data::adCmdUnspecified, form);
    Schreiben(rs);
    rs.Close();
    con->CommitTrans();
  } catch (...) {
    vb::ignoreErrors([&] { con->RollbackTrans(); });
    throw;
  }
}

}  // namespace configuration
