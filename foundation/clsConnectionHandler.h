#pragma once
// The database connections of one client as numbered groups (GRP1, GRP6, GRP99, ...). A host
// either hands in connections it opened itself (set_SQLGruppe_Connection) or describes one
// (provider, properties, connection string) and lets the handler open it. Groups appear on
// first mention, even by a read, and are never removed; the handler never closes a connection,
// it only drops its reference.
//
// Groups the print engine uses: 1 addresses, 2 small-parts documents and articles, 4 form
// tables, 6 settings and text blocks, 99 the hand-over database of one job.
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

#include "foundation/clsListElement.h"
#include "platform/data/Connection.h"
#include "platform/vb/Collection.h"
#include "platform/vb/Variant.h"

class clsConnectionHandler : public QObject {
  Q_OBJECT
 public:
  clsConnectionHandler() = default;

  // The connection of the first existing group among 1 to 8, or nullptr when that group has
  // none or no such group exists. Creates no group.
  Q_INVOKABLE std::shared_ptr<data::Connection> FirstConnection();

  // Stores `objCon` (a data::Connection, or Nothing) in the group, replacing the previous one.
  Q_INVOKABLE void set_SQLGruppe_Connection(std::int16_t SQLGruppe, const vb::Variant& objCon);
  // The group's connection; a group without one raises error 5 (and stays behind, empty).
  Q_INVOKABLE std::shared_ptr<data::Connection> SQLGruppe_Connection(std::int16_t SQLGruppe);
  // Stores the provider name. Never fails.
  Q_INVOKABLE void let_SQLGruppe_DB_Provider(std::int16_t SQLGruppe, const QString& strH);
  // Stores one provider property; a name differing only in case replaces the earlier entry,
  // which moves to the end. Never fails.
  Q_INVOKABLE void let_SQLGruppe_DB_Properties(std::int16_t SQLGruppe, const QString& strPropName,
                                               const QString& strH);
  // Opens a new connection with the group's provider and properties and the connection string
  // `strH`, and stores it in the group. A failure reaches the caller; the group then keeps its
  // previous connection.
  Q_INVOKABLE void let_SQLGruppe_DB_OpenConnection(std::int16_t SQLGruppe, const QString& strH);

  // Whether any group was ever mentioned.
  bool HatGruppen() const { return m_colGruppen.Count() > 0; }

 private:
  struct Gruppe {
    vb::Collection<vb::Variant> Eintraege;  // "Connection", "DB_Provider"
    std::shared_ptr<vb::Collection<ListElementPtr>> DB_Properties;
  };
  static QString gruppenSchluessel(std::int16_t SQLGruppe);
  Gruppe& GetGruppe(std::int16_t SQLGruppe);

  vb::Collection<std::shared_ptr<Gruppe>> m_colGruppen;
};

// The clsConnectionHandler of this process that a host hands a public class as its ConnectList,
// nullptr for Nothing. Anything else, a handler living in another process included, cannot carry
// database connections: error 13 with `quelle` as its source.
std::shared_ptr<clsConnectionHandler> EigeneVerbindungen(const vb::Variant& handler, const QString& quelle);
