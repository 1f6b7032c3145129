#pragma once
// Skrivant.clsFormTypHandler: the print-data handler of generic form types. clsDruckAllgemein
// plugs it into the print window, which calls it by name (LL, Data, DruckVariablenDefinieren,
// DruckFelderDefinieren, FensterTitelEntwurf). In print mode the host's head record
// (objRsVariablen) gives the report variables and the current record of the host's detail record
// set (Data) the fields; in design mode, entered by LoadDesignData for good, the type's stored
// declaration in Druck_Formulartypen_Felder gives them with their sample values.
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

#include "platform/vb/ObjectVariant.h"

class clsDataCollection;
namespace report { class IReportControl; }

class clsFormTypHandler : public QObject {
  Q_OBJECT

 public:
  Q_INVOKABLE vb::ObjectVariant LL() const { return vb::Variant(m_LL); }
  Q_INVOKABLE void set_LL(const vb::ObjectVariant& control);
  // The stored head and detail fields of the loaded type ("Feldname", "FeldTyp", "Wert"):
  // Nothing until the first LoadFormtyp that finds field rows.
  Q_INVOKABLE vb::ObjectVariant DataVariablen() const;
  Q_INVOKABLE void set_DataVariablen(const vb::ObjectVariant& menge);
  Q_INVOKABLE vb::ObjectVariant DataFelder() const;
  Q_INVOKABLE void set_DataFelder(const vb::ObjectVariant& menge);
  // The host's head record and detail record set, kept as handed in (any object, local or behind
  // the bridge).
  Q_INVOKABLE vb::ObjectVariant objRsVariablen() const { return vb::Variant(m_objRsVariablen); }
  Q_INVOKABLE void set_objRsVariablen(const vb::ObjectVariant& objekt);
  Q_INVOKABLE vb::ObjectVariant Data() const { return vb::Variant(m_Data); }
  Q_INVOKABLE void set_Data(const vb::ObjectVariant& objekt);

  // Design mode for the rest of the handler's life, then LoadFormtyp. Result always empty.
  Q_INVOKABLE vb::Variant LoadDesignData(std::int32_t FormTypID);
  // Name and stored fields of the type, on group 4 of the engine-wide connection handler. False
  // without a type row or without field rows; a read that fails is told in a message box, and a
  // record set that cannot be opened or stepped ends the load with False.
  Q_INVOKABLE bool LoadFormtyp(std::int32_t FormTypID);
  // The current detail record as fields, for a label (AusgabeFuerLabel True) as variables.
  // AllesLeer is accepted and not read. Errors are logged; a field that fails is skipped.
  Q_INVOKABLE void DruckFelderDefinieren(const vb::Variant& AllesLeer = vb::Variant::missing(),
                                         const vb::Variant& AusgabeFuerLabel = vb::Variant::missing());
  Q_INVOKABLE void DruckVariablenDefinieren();
  Q_INVOKABLE void DruckFelderDefinieren_Designmodus(const vb::Variant& AllesLeer = vb::Variant::missing());
  Q_INVOKABLE void DruckVariablenDefinieren_DesignModus();
  // The type's Bezeichnung as the last LoadFormtyp found it: the designer's window title.
  Q_INVOKABLE vb::Variant FensterTitelEntwurf() const { return vb::Variant(m_strBezeichnung); }

 private:
  report::IReportControl& steuerung() const;
  void gespeicherteDefinieren(const std::shared_ptr<clsDataCollection>& menge, bool alsVariable);

  std::shared_ptr<QObject> m_LL;
  std::shared_ptr<clsDataCollection> m_DataVariablen;
  std::shared_ptr<clsDataCollection> m_DataFelder;
  std::shared_ptr<QObject> m_objRsVariablen;
  std::shared_ptr<QObject> m_Data;
  QString m_strBezeichnung;
  bool m_blnDesignModus = false;
};
