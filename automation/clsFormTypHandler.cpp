#include "automation/clsFormTypHandler.h"

#include "automation/HostFelder.h"
#include "engine/modSkrivant.h"
#include "foundation/clsDataCollection.h"
#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/report/IReportControl.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/VbError.h"

namespace {

// A read of LoadFormtyp: a failure is told to the user and the load goes on without the value.
template <typename F>
bool lesen(F&& schritt) {
  try {
    schritt();
    return true;
  } catch (...) {
    ui::MsgBox(vb::toVbError(std::current_exception()).description(), ui::vbOKOnly);
    return false;
  }
}

// The rows of form type `FormTypID` that `sql` selects ("… WHERE FormTypID=?"), updatable.
std::shared_ptr<data::Recordset> oeffnen(const QString& sql, std::int32_t FormTypID) {
  auto rs = std::make_shared<data::Recordset>();
  rs->Open(sql, vb::Variant(FormularConnection()), data::adOpenDynamic, data::adLockOptimistic, data::adCmdUnspecified,
           {FormTypID});
  return rs;
}

void feldLesen(data::Recordset& rs, clsDataCollection& ziel, const char* spalte, const QString& schluessel) {
  lesen([&] {
    const vb::Variant wert = rs.Fields(vb::Variant(QString::fromLatin1(spalte)))->Value();
    ziel.let_DataValue(schluessel, vb::Variant(), wert);
  });
}

void protokollieren(const vb::VbError& e) {
  vb::logTrappedLine(QStringLiteral("DruckFelderDefinieren:%1:%2").arg(e.number()).arg(e.description()));
}

}  // namespace

vb::Variant clsFormTypHandler::DataVariablen() const { return vb::Variant(m_DataVariablen); }
vb::Variant clsFormTypHandler::DataFelder() const { return vb::Variant(m_DataFelder); }

void clsFormTypHandler::set_LL(const vb::Variant& control) { m_LL = vb::objectOrNothing(control); }
void clsFormTypHandler::set_DataVariablen(const vb::Variant& menge) {
  m_DataVariablen = vb::objectOrNothing(menge) ? menge.objectAs<clsDataCollection>() : nullptr;
  if (!menge.isNothing() && !m_DataVariablen) vb::raise(vb::ErrTypeMismatch);
}
void clsFormTypHandler::set_DataFelder(const vb::Variant& menge) {
  m_DataFelder = vb::objectOrNothing(menge) ? menge.objectAs<clsDataCollection>() : nullptr;
  if (!menge.isNothing() && !m_DataFelder) vb::raise(vb::ErrTypeMismatch);
}
// The host's record sets: an object or Nothing, a text or a number in their place is error 13.
void clsFormTypHandler::set_objRsVariablen(const vb::Variant& objekt) {
  m_objRsVariablen = vb::objectOrNothing(vb::requireObject(objekt, QStringLiteral("KopfDaten")));
}
void clsFormTypHandler::set_Data(const vb::Variant& objekt) {
  m_Data = vb::objectOrNothing(vb::requireObject(objekt, QStringLiteral("DetailDaten")));
}

vb::Variant clsFormTypHandler::LoadDesignData(std::int32_t FormTypID) {
  m_blnDesignModus = true;
  LoadFormtyp(FormTypID);
  return {};
}

bool clsFormTypHandler::LoadFormtyp(std::int32_t FormTypID) {
  std::shared_ptr<data::Recordset> rs;
  bool leer = true;
  if (!lesen([&] {
        rs = oeffnen(QStringLiteral("SELECT * FROM Druck_Formulartypen WHERE FormTypID=?"), FormTypID);
        leer = rs->Eof();
      }))
    return false;
  if (leer) {
    vb::ignoreErrors([&] { rs->Close(); });
    return false;
  }
  lesen([&] {
    const vb::Variant name = rs->Fields(vb::Variant(QStringLiteral("Bezeichnung")))->Value();
    m_strBezeichnung = name.isNull() ? QString() : vb::CStr(name);
  });
  vb::ignoreErrors([&] { rs->Close(); });

  if (!lesen([&] {
        // In the order written: by the row number our schema adds, else as the table keeps them
        // (a table built with the five columns the hosts know has no key of its own).
        const bool mitId = FormularConnection()->hasColumn(QStringLiteral("Druck_Formulartypen_Felder"), QStringLiteral("ID"));
        rs = oeffnen(QStringLiteral("SELECT * FROM Druck_Formulartypen_Felder WHERE FormTypID=?") +
                         (mitId ? QStringLiteral(" ORDER BY ID") : QString()),
                     FormTypID);
        leer = rs->Eof();
      }))
    return false;
  if (leer) return false;

  auto variablen = std::make_shared<clsDataCollection>();
  auto felder = std::make_shared<clsDataCollection>();
  m_DataVariablen = variablen;
  m_DataFelder = felder;
  for (;;) {
    bool kopf = false;
    lesen([&] { kopf = vb::CLng(rs->Fields(vb::Variant(QStringLiteral("Datenbereich")))->Value()) == 1; });
    clsDataCollection& ziel = kopf ? *variablen : *felder;
    ziel.AddNew();
    feldLesen(*rs, ziel, "FeldName", QStringLiteral("Feldname"));
    feldLesen(*rs, ziel, "DatenTyp", QStringLiteral("FeldTyp"));
    feldLesen(*rs, ziel, "DesignWert", QStringLiteral("Wert"));
    ziel.Save();
    bool ende = true;
    if (!lesen([&] {
          rs->MoveNext();
          ende = rs->Eof();
        }))
      return false;
    if (ende) break;
  }
  vb::ignoreErrors([&] { rs->Close(); });
  return true;
}

void clsFormTypHandler::DruckVariablenDefinieren() {
  if (m_blnDesignModus) {
    DruckVariablenDefinieren_DesignModus();
    return;
  }
  if (!m_objRsVariablen) vb::raise(vb::ErrObjectNotSet);
  for (const auto& feld : HostFelder(*m_objRsVariablen))
    steuerung().DefineReportVariable(HostFeldName(*feld), WertAlsText(HostFeldWert(*feld)), HostFeldLLTyp(*feld));
}

void clsFormTypHandler::DruckFelderDefinieren(const vb::Variant& AllesLeer, const vb::Variant& AusgabeFuerLabel) {
  const auto zeile = [](const vb::VbError& e) {
    return QStringLiteral("DruckFelderDefinieren:%1:%2").arg(e.number()).arg(e.description());
  };
  if (m_blnDesignModus) {
    vb::leaveOnError(zeile, [&] { DruckFelderDefinieren_Designmodus(AllesLeer); });
    return;
  }
  QList<std::shared_ptr<QObject>> felder;
  if (!vb::leaveOnError(zeile, [&] {
        if (!m_Data) vb::raise(vb::ErrObjectNotSet);
        felder = HostFelder(*m_Data);
      }))
    return;
  for (const auto& feld : felder) {
    try {
      const QString name = HostFeldName(*feld);
      const QString wert = WertAlsText(HostFeldWert(*feld));
      const std::int32_t typ = HostFeldLLTyp(*feld);
      bool alsVariable = true;
      if (AusgabeFuerLabel.isMissing()) {
        alsVariable = false;
      } else {
        try {
          alsVariable = vb::CBool(AusgabeFuerLabel);
        } catch (const vb::VbError& e) {
          protokollieren(e);
        }
      }
      if (alsVariable)
        steuerung().DefineReportVariable(name, wert, typ);
      else
        steuerung().DefineReportField(name, wert, typ);
    } catch (...) {
      protokollieren(vb::toVbError(std::current_exception()));
    }
  }
}

void clsFormTypHandler::DruckFelderDefinieren_Designmodus(const vb::Variant&) {
  gespeicherteDefinieren(m_DataFelder, false);
}

void clsFormTypHandler::DruckVariablenDefinieren_DesignModus() { gespeicherteDefinieren(m_DataVariablen, true); }

// The stored type as it is, no second mapping; 91 while no field rows were loaded.
void clsFormTypHandler::gespeicherteDefinieren(const std::shared_ptr<clsDataCollection>& menge, bool alsVariable) {
  if (!menge) vb::raise(vb::ErrObjectNotSet);
  menge->MoveFirst();
  while (!menge->Eof()) {
    const DataRecordPtr satz = menge->objCurDataRecord();
    const QString name = vb::CStr(satz->Item(QStringLiteral("Feldname"))->Value);
    const QString wert = WertAlsText(satz->Item(QStringLiteral("Wert"))->Value);
    const std::int32_t typ = vb::CLng(satz->Item(QStringLiteral("FeldTyp"))->Value);
    if (alsVariable)
      steuerung().DefineReportVariable(name, wert, typ);
    else
      steuerung().DefineReportField(name, wert, typ);
    menge->MoveNext();
  }
}

report::IReportControl& clsFormTypHandler::steuerung() const {
  auto* c = dynamic_cast<report::IReportControl*>(m_LL.get());
  if (!c) vb::raise(vb::ErrObjectNotSet);
  return *c;
}
