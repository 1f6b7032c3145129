#pragma once
// TarneloDCOM's public class "TarneloDCOM.Application": a client asks infofelder which fields
// of its article record the server can fill, then hands each record to AddInfo.
//
// Every object opens its own connections from the per-user settings (group 4 the article
// database, group 1 the bookshop data file with Vorgaben). Releasing the last client's object
// ends the server process; while other clients hold theirs, they go on being served.
//
// infofelder and AddInfo run under one error handler each: a failing statement is told in the
// window's log and the method goes on with the next one, so it always answers. Every value from
// a client record or the database goes into SQL as a quoted literal or a number.
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/data/Recordset.h"
#include "platform/vb/ObjectVariant.h"

class clsConnectionHandler;

namespace dcom {

class Application : public QObject {
  Q_OBJECT

 public:
  // Opens the connections of the settings' "Type": "MDB" (the SQLite files behind "DBName" and
  // "DBNameDat") or "SQL-Server" (ODBC, "ODBC_Connect"), any letter case; other types open
  // none. A connection that does not open fails the creation with its error. `eigenes` marks
  // the program's own object, which is no client's.
  explicit Application(bool eigenes = false);
  // When no client's object is left: unloads the main window and ends the process.
  ~Application() override;

  // Unloads the main window and ends the process; failures are passed over.
  Q_INVOKABLE void Quit();
  // The client's link object: its ProgrammLinkInfo is logged, Nothing logs "Disconnet ".
  // Anything but an object or Nothing is error 13.
  Q_INVOKABLE void let_EventClass(const vb::ObjectVariant& objH);
  Q_INVOKABLE void set_EventClass(const vb::ObjectVariant& objH);
  Q_INVOKABLE void Init();
  // "70:am Lager|80:Bestellt|81:Reserviert|82:Abholfach|83:offene Bestellung|", and
  // "84:Filialen|" when the article database has branches. The first call loads the branch
  // list and the wholesalers' address numbers; later calls read nothing.
  Q_INVOKABLE QString infofelder();
  // The record with stock (70), ordered (80), reserved (81), pickup shelf (82), open orders
  // (83) and branch stocks (84) inserted at the start of those fields. Field 3 holds the ISBN
  // or EAN, fields 40 and 41 title numbers at two wholesalers for articles not found by number.
  // A field the record does not reach is left out; the fields that fit are filled.
  Q_INVOKABLE QString AddInfo(const QString& strInfo);

 private:
  struct Filiale {
    QString N;
    std::int32_t Nr;
  };

  // Opens a new static record set of `sql` on a group; it replaces objRsAbfrage.
  data::Recordset& abfrage(std::int16_t gruppe, const QString& sql, const data::Parameters& werte = {});
  void EventClassSetzen(const vb::Variant& objH);
  void log(const QString& text);

  const bool m_eigenes;
  std::shared_ptr<clsConnectionHandler> objConHandler;
  std::shared_ptr<data::Recordset> objRsAbfrage;
  QList<Filiale> colFilialen;
  std::int32_t lngLibriAdressNr = 0;
  std::int32_t lngKNOAdressNr = 0;
  std::int32_t lngUmbreitAdressNr = 0;
  std::int32_t lngKOEAdressNr = 0;
  std::int32_t lngAnfragen = 0;
  std::int32_t lngTreffer = 0;
  bool blnFilialenGeladen = false;
  vb::Variant objEventClass = vb::Variant::nothing();
};

// The texts of the record's fields `Felder` (ascending field numbers) under "F" and the number
// ("F40"); a field the record does not reach is empty.
void SplitFelder(const QString& Satz, const QString& Trenner, QHash<QString, QString>& colFelder, const QList<int>& Felder);

}  // namespace dcom
