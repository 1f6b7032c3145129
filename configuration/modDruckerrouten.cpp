#include "configuration/modDruckerrouten.h"

#include "foundation/clsConnectionHandler.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/data/Sql.h"
#include "platform/vb/ErrorStyle.h"

namespace configuration {

namespace {
QString bedingungen(const QString& RechnerName, short FormNummer, short FormStatus) {
  return QStringLiteral("WHERE RechnerName=") + data::sqlText(RechnerName) + QStringLiteral(" AND FormNummer=") +
         QString::number(FormNummer) + QStringLiteral(" AND FormStatus=") + QString::number(FormStatus);
}
}  // namespace

std::shared_ptr<data::Connection> FormularVerbindung(const std::shared_ptr<clsConnectionHandler>& handler) {
  if (!handler) vb::raise(vb::ErrObjectNotSet);
  return handler->SQLGruppe_Connection(4);
}

QString RoutenAbfrage(const QString& RechnerName, short FormNummer, short FormStatus, const QString& Rest) {
  return QStringLiteral("SELECT * FROM Auftrag_Formular_Druckerschacht_Neu ") +
         bedingungen(RechnerName, FormNummer, FormStatus) + Rest;
}

std::shared_ptr<data::Recordset> RoutenLesen(const std::shared_ptr<data::Connection>& con, const QString& RechnerName,
                                             short FormNummer, short FormStatus, const QString& Rest) {
  auto rs = std::make_shared<data::Recordset>();
  rs->Open(RoutenAbfrage(RechnerName, FormNummer, FormStatus, Rest), vb::Variant(con),
           data::adOpenForwardOnly, data::adLockReadOnly);
  return rs;
}

void RoutenErsetzen(const std::shared_ptr<data::Connection>& con, const QString& RechnerName, short FormNummer,
                    short FormStatus, const QString& Bedingung,
                    const std::function<void(data::Recordset&)>& Schreiben) {
  con->BeginTrans();
  try {
    con->Execute(QStringLiteral("DELETE FROM Auftrag_Formular_Druckerschacht_Neu ") +
                 bedingungen(RechnerName, FormNummer, FormStatus) + Bedingung);
    data::Recordset rs;
    rs.Open(RoutenAbfrage(RechnerName, FormNummer, FormStatus, Bedingung + QStringLiteral(" ORDER BY VonExemplar, VonSeite")),
            vb::Variant(con), data::adOpenDynamic, data::adLockOptimistic);
    Schreiben(rs);
    rs.Close();
    con->CommitTrans();
  } catch (...) {
    vb::ignoreErrors([&] { con->RollbackTrans(); });
    throw;
  }
}

}  // namespace configuration
