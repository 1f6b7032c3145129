#pragma once
// A value as it travels on the bus: the D-Bus struct (yv) of the VarType code and the value
// (see Bridge.h for the table). Object references are handed to the bridge to export or import.
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

#include "platform/vb/Variant.h"

namespace automation {

// (so): the bus name of the process holding the object and its path; path "/" is Nothing.
struct ObjectRef {
  QString busName;
  QDBusObjectPath path;
};

struct WireValue {
  using Exporter = std::function<ObjectRef(const std::shared_ptr<QObject>&)>;
  using Importer = std::function<std::shared_ptr<QObject>(const ObjectRef&)>;

  uchar type = 0;
  QDBusVariant value;

  // Registers the D-Bus types; called before the first message is built or read.
  static void registerTypes();
  static WireValue encode(const vb::Variant& v, const Exporter& exportObject);
  // Raises 13 for a type code or value that is no automation value.
  vb::Variant decode(const Importer& importObject) const;

  // Whether D-Bus carries `text` as a string: no NUL and no lone surrogate (the bus takes valid
  // UTF-8 only). Other strings travel as their UTF-16 code units (aq) under the String code.
  static bool travelsAsText(const QString& text);
  // A String value as it travels: plain `s` where it can, else `aq`.
  static QDBusVariant text(const QString& text);

  static QList<WireValue> encode(const QList<vb::Variant>& values, const Exporter& exportObject);
  static QList<vb::Variant> decode(const QList<WireValue>& values, const Importer& importObject);
  // A message argument as a value: a (yv) struct, or a plain basic value from a shell user.
  static vb::Variant fromArgument(const QVariant& arg, const Importer& importObject);
};

QDBusArgument& operator<<(QDBusArgument& arg, const ObjectRef& ref);
const QDBusArgument& operator>>(const QDBusArgument& arg, ObjectRef& ref);
QDBusArgument& operator<<(QDBusArgument& arg, const WireValue& value);
const QDBusArgument& operator>>(const QDBusArgument& arg, WireValue& value);

}  // namespace automation

Q_DECLARE_METATYPE(automation::ObjectRef)
Q_DECLARE_METATYPE(automation::WireValue)
