#include "configuration/modDruckerrouten.h"

#include "foundation/clsConnectionHandler.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/vb/ErrorStyle.h"

namespace configuration {

namespace {
// "WHERE" and the condition of one form's routes of one workstation (its name in any letter
// case, umlauts too), followed by `Rest`; the values it binds go into `werte`.
QString routenDerForm(const data::Connection& con, const QString& RechnerName, short FormNummer, short FormStatus,
                      const QString& Rest, data::Parameters& werte) {
  const QString rechner = con.dialect().caseBlindEquals(QStringLiteral("RechnerName"), RechnerName, werte);
  werte.insert(werte.end(), {FormNummer, FormStatus});
  return QStringLiteral("WHERE ") + rechner + QStringLiteral(" AND FormNummer=? AND FormStatus=?") + Rest;
}
const QString kRouten = QStringLiteral("Auftrag_Formular_Druckerschacht_Neu ");
}  // namespace

std::shared_ptr<data::Connection> FormularVerbindung(const std::shared_ptr<clsConnectionHandler>& handler) {
  if (!handler) vb::raise(vb::ErrObjectNotSet);
  return handler->SQLGruppe_Connection(4);
}

std::shared_ptr<data::Recordset> RoutenLesen(const std::shared_ptr<data::Connection>& con, const QString& RechnerName,
                                             short FormNummer, short FormStatus, const QString& Rest) {
  data::Parameters werte;
  const QString wo = routenDerForm(*con, RechnerName, FormNummer, FormStatus, Rest, werte);
  auto rs = std::make_shared<data::Recordset>();
  rs->Open(QStringLiteral("SELECT * FROM ") + kRouten + wo, vb::Variant(con), data::adOpenForwardOnly,
           data::adLockReadOnly, data::adCmdUnspecified, werte);
  return rs;
}

void RoutenErsetzen(const std::shared_ptr<data::Connection>& con, const QString& RechnerName, short FormNummer,
                    short FormStatus, const QString& Bedingung,
                    const std::function<void(data::Recordset&)>& Schreiben) {
  con->BeginTrans();
  try {
    data::Parameters form;
    con->Execute(QStringLiteral("DELETE FROM ") + kRouten + routenDerForm(*con, RechnerName, FormNummer, FormStatus, Bedingung, form),
                 form);
    data::Parameters wieder;
    const QString wo = routenDerForm(*con, RechnerName, FormNummer, FormStatus,
                                     Bedingung + QStringLiteral(" ORDER BY VonExemplar, VonSeite"), wieder);
    data::Recordset rs;
    rs.Open(QStringLiteral("SELECT * FROM ") + kRouten + wo, vb::Variant(con), data::adOpenDynamic, data::adLockOptimistic,
            data::adCmdUnspecified, wieder);
    Schreiben(rs);
    rs.Close();
    con->CommitTrans();
  } catch (...) {
    vb::ignoreErrors([&] { con->RollbackTrans(); });
    throw;
  }
}

}  // namespace configuration
