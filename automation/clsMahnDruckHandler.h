#pragma once
// Skrivant.clsMahnDruckHandler: the print-data handler of dunning letters. clsMahnungDrucken
// stores the letter's single values here (AddValue) and its rows in Data; during a job the print
// window hands over its report control in LL and asks for the definitions by name.
#include <QObject>
#include <QString>
#include <memory>

#include "foundation/clsDataCollection.h"
#include "platform/vb/ObjectVariant.h"

class clsMahnDruckHandler : public QObject {
  Q_OBJECT

 public:
  clsMahnDruckHandler();

  // The report control the print window wrote; Nothing until then.
  Q_INVOKABLE vb::ObjectVariant LL() const;
  Q_INVOKABLE void set_LL(const vb::ObjectVariant& control);
  // The letter's rows.
  Q_INVOKABLE std::shared_ptr<QObject> Data() const { return m_Data; }
  // Takes an in-memory record set of this process (clsDataCollection); anything else is error 13.
  Q_INVOKABLE void set_Data(const vb::ObjectVariant& daten);
  std::shared_ptr<clsDataCollection> Daten() const { return m_Data; }

  // The stored value, Empty for a name that is not stored.
  Q_INVOKABLE vb::Variant GetValue(const QString& strBez) const;
  // Stores or replaces a value (names without regard to case), now last in order, with the report
  // type of its own type: a date becomes its day number. Never raises; a value of a type without a
  // report type is told in a message box and stored without one.
  Q_INVOKABLE void AddValue(const QString& strBez, const vb::Variant& Wert);
  // Every stored value as a variable, then "AnzahlRechnungen".
  Q_INVOKABLE void DruckVariablenDefinieren();
  // The current row of Data and every stored value as fields, then "AnzahlRechnungen". The
  // arguments change nothing.
  Q_INVOKABLE void DruckFelderDefinieren(const vb::Variant& AllesLeer = vb::Variant::missing(),
                                         const vb::Variant& AusgabeFuerLabel = vb::Variant::missing());
  Q_INVOKABLE vb::Variant FensterTitelEntwurf() const { return vb::Variant(QStringLiteral("Mahnung")); }

 private:
  void definieren(bool alsFeld, const QString& name, const vb::Variant& wert, const vb::Variant& typ) const;
  void anzahlDefinieren(bool alsFeld) const;

  std::shared_ptr<QObject> m_LL;
  std::shared_ptr<clsDataCollection> m_Data = std::make_shared<clsDataCollection>();
  std::unique_ptr<vb::Collection<ListElementPtr>> m_Werte;
};

// The whole day number (days from 30.12.1899) of the calendar day of `datum`; its time of day
// does not count.
long Tageszahl(const QDateTime& datum);
