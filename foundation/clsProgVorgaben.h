#pragma once
// The host's settings table Vorgaben (FeldName, Wert), loaded once into a cache. Duplicate keys
// are removed from the table while loading (the first row in the database's order stays); a
// key read that is missing is appended with its default, once.
#include <QObject>
#include <QString>
#include <memory>

#include "foundation/clsListElement.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Collection.h"
#include "platform/vb/Variant.h"

class clsProgVorgaben : public QObject {
  Q_OBJECT
 public:
  clsProgVorgaben() = default;

  // Value("LieferEZPDrucken", False) as a truth value; a null Wert raises error 94.
  Q_INVOKABLE bool LieferscheinMitEinzelpreisen();
  // The setting's value as stored (Null stays Null). A missing key is appended with
  // `DefaultValue` and cached, so later reads return it without writing again. Without a
  // default (Missing) a missing key gives 0 and is stored as "0": callers compare such flags
  // with 0, which must not fail. Before LoadCustomProperties: error 91.
  Q_INVOKABLE vb::Variant Value(const QString& PropName, const vb::Variant& DefaultValue = vb::Variant::missing());
  // Reads the whole table of `objCon` (a data::Connection) through an updatable record set kept
  // for the object's lifetime.
  // Database errors reach the caller; a row whose FeldName is null is skipped and left alone.
  Q_INVOKABLE void LoadCustomProperties(const vb::Variant& objCon);

 private:
  std::shared_ptr<data::Recordset> m_rs;
  std::unique_ptr<vb::Collection<ListElementPtr>> m_cache;
};
