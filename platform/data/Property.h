#pragma once
// One provider property of a connection (Connection::Properties(name)).
#include <QObject>
#include <QString>

#include "platform/data/ObjectTypes.h"
#include "platform/vb/Variant.h"

namespace data {

class Property : public QObject {
  Q_OBJECT
 public:
  explicit Property(const QString& name);

  Q_INVOKABLE QString Name() const;
  Q_INVOKABLE vb::Variant Value() const;
  // Takes effect at the connection's next Open.
  Q_INVOKABLE void let_Value(const vb::Variant& value);

 private:
  QString m_name;
  vb::Variant m_value;
};

}  // namespace data
