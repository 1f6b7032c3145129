#pragma once
// The system's Variant: a QVariant plus the three markers Empty, Null and Missing, and object
// references. Conversions with VB's run-time errors live in Convert.h.
#include <QDateTime>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <memory>

#include "platform/vb/Currency.h"

namespace vb {

// VB's VarType codes, as callers reading a field's Type see them.
enum class VarType : int {
  Empty = 0, Null = 1, Integer = 2, Long = 3, Single = 4, Double = 5, Currency = 6, Date = 7,
  String = 8, Object = 9, Error = 10, Boolean = 11, Byte = 17, LongLong = 20,
};

class Variant {
 public:
  enum class Marker { Empty, Null, Missing, Value, Object };

  Variant() = default;  // Empty
  Variant(bool b) : m_marker(Marker::Value), m_value(b) {}
  Variant(std::int16_t i) : m_marker(Marker::Value), m_value(QVariant::fromValue(i)) {}
  Variant(int i) : m_marker(Marker::Value), m_value(i) {}
  Variant(long i) : m_marker(Marker::Value), m_value(static_cast<qlonglong>(i)) {}
  Variant(long long i) : m_marker(Marker::Value), m_value(static_cast<qlonglong>(i)) {}
  Variant(std::uint8_t b) : m_marker(Marker::Value), m_value(QVariant::fromValue(b)) {}
  Variant(double d) : m_marker(Marker::Value), m_value(d) {}
  Variant(Currency c) : m_marker(Marker::Value), m_value(QVariant::fromValue(c)) {}
  Variant(const QString& s) : m_marker(Marker::Value), m_value(s) {}
  Variant(const char* s) : m_marker(Marker::Value), m_value(QString::fromUtf8(s)) {}
  Variant(const QDateTime& d) : m_marker(Marker::Value), m_value(d) {}
  Variant(const QDate& d) : m_marker(Marker::Value), m_value(QDateTime(d, QTime(0, 0))) {}
  Variant(std::shared_ptr<QObject> obj) : m_marker(Marker::Object), m_object(std::move(obj)) {}
  template <typename T, typename = std::enable_if_t<std::is_base_of_v<QObject, T>>>
  Variant(std::shared_ptr<T> obj) : Variant(std::static_pointer_cast<QObject>(std::move(obj))) {}

  static Variant null() { Variant v; v.m_marker = Marker::Null; return v; }
  static Variant missing() { Variant v; v.m_marker = Marker::Missing; return v; }
  static Variant nothing() { Variant v; v.m_marker = Marker::Object; return v; }
  // From a QVariant as Qt hands it over (QtSql, QSettings): an invalid or null QVariant is Null.
  static Variant fromQVariant(const QVariant& q);

  Marker marker() const { return m_marker; }
  bool isEmpty() const { return m_marker == Marker::Empty; }
  bool isNull() const { return m_marker == Marker::Null; }
  bool isMissing() const { return m_marker == Marker::Missing; }
  bool isObject() const { return m_marker == Marker::Object; }
  bool isNothing() const { return m_marker == Marker::Object && !m_object; }
  bool isValue() const { return m_marker == Marker::Value; }
  // A number type (Integer, Long, Double, Currency, Byte; Boolean is not one).
  bool isNumberType() const;
  bool isString() const { return isValue() && m_value.typeId() == QMetaType::QString; }
  bool isDate() const { return isValue() && m_value.typeId() == QMetaType::QDateTime; }
  bool isBool() const { return isValue() && m_value.typeId() == QMetaType::Bool; }
  bool isCurrency() const { return isValue() && m_value.typeId() == qMetaTypeId<Currency>(); }

  VarType varType() const;
  const QVariant& value() const { return m_value; }
  // The value as a QVariant for Qt (Null/Empty become an invalid QVariant).
  QVariant toQVariant() const;
  const std::shared_ptr<QObject>& object() const { return m_object; }
  template <typename T>
  std::shared_ptr<T> objectAs() const { return std::dynamic_pointer_cast<T>(m_object); }

  // Identity for objects, same marker and same value otherwise (not VB's "=" operator: see compare()).
  bool operator==(const Variant& o) const;

 private:
  Marker m_marker = Marker::Empty;
  QVariant m_value;
  std::shared_ptr<QObject> m_object;
};

}  // namespace vb

Q_DECLARE_METATYPE(vb::Variant)
