#include "engine/modSQL.h"

#include "engine/modSkrivant.h"
#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/report/IReportControl.h"

bool ExistsDruckerRoute(const QString& RechnerName, short FormStatus, short FormNummer, bool Archiv) {
  const QString bedingung = Archiv ? QStringLiteral("VonExemplar=-1") : QStringLiteral("VonExemplar>0");
  const auto con = FormularConnection();
  data::Parameters werte;
  const QString rechner = con->dialect().caseBlindEquals(QStringLiteral("RechnerName"), RechnerName, werte);
  werte.insert(werte.end(), {FormNummer, FormStatus});
  auto rs = std::make_shared<data::Recordset>();
  rs->Open(QStringLiteral("SELECT * FROM Auftrag_Formular_Druckerschacht_Neu WHERE ") + rechner +
               QStringLiteral(" AND FormNummer=? AND FormStatus=? AND ") + bedingung,
           vb::Variant(con), data::adOpenForwardOnly, data::adLockReadOnly, data::adCmdUnspecified, werte);
  const bool found = !rs->Eof();
  rs->Close();
  return found;
}

std::int32_t GetLLFeldTyp(std::int32_t FeldTyp) {
  switch (FeldTyp) {
    case 1:
      return report::kTypeBoolean;
    case 2:
    case 3:
    case 4:
    case 5:
    case 7:
      return report::kTypeNumeric;
    case 8:
    case 9:
      return report::kTypeDate;
    default:
      return report::kTypeText;
  }
}

std::int32_t GetLLFeldTypDatenschicht(std::int32_t adTyp) {
  switch (adTyp) {
    case data::adBoolean:
      return report::kTypeBoolean;
    case data::adSmallInt:
    case data::adInteger:
    case data::adSingle:
    case data::adDouble:
    case data::adCurrency:
    case 14:  // decimal
    case 16:  // tiny int
    case data::adUnsignedTinyInt:
    case 18:  // unsigned small int
    case 19:  // unsigned int
    case data::adBigInt:
    case 21:  // unsigned big int
    case data::adNumeric:
    case 139:  // variable numeric
      return report::kTypeNumeric;
    case data::adDate:
    case 133:  // database date
    case 134:  // database time
    case 135:  // database time stamp
      return report::kTypeDate;
    default:
      return report::kTypeText;
  }
}
