#include "platform/vb/Variant.h"

namespace vb {

Variant Variant::fromQVariant(const QVariant& q) {
  if (!q.isValid() || q.isNull()) return Variant::null();
  switch (q.typeId()) {
    case QMetaType::Bool: return Variant(q.toBool());
    case QMetaType::Short: return Variant(static_cast<std::int16_t>(q.toInt()));
    case QMetaType::UChar: return Variant(static_cast<std::uint8_t>(q.toUInt()));
    case QMetaType::Int:
    case QMetaType::UShort: return Variant(q.toInt());
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULong:
    case QMetaType::ULongLong: return Variant(static_cast<long long>(q.toLongLong()));
    case QMetaType::Float:
    case QMetaType::Double: return Variant(q.toDouble());
    case QMetaType::QDate: return Variant(q.toDate());
    case QMetaType::QDateTime: return Variant(q.toDateTime());
    case QMetaType::QTime: return Variant(QDateTime(QDate(1899, 12, 30), q.toTime()));
    case QMetaType::QByteArray: return Variant(QString::fromUtf8(q.toByteArray()));
    default:
      if (q.userType() == qMetaTypeId<Variant>()) return q.value<Variant>();
      if (q.userType() == qMetaTypeId<Currency>()) return Variant(q.value<Currency>());
      return Variant(q.toString());
  }
}

bool Variant::isNumberType() const {
  if (!isValue()) return false;
  switch (m_value.typeId()) {
    case QMetaType::Short:
    case QMetaType::UChar:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double: return true;
    default: return isCurrency();
  }
}

VarType Variant::varType() const {
  switch (m_marker) {
    case Marker::Empty: return VarType::Empty;
    case Marker::Null: return VarType::Null;
    case Marker::Missing: return VarType::Error;
    case Marker::Object: return VarType::Object;
    case Marker::Value: break;
  }
  switch (m_value.typeId()) {
    case QMetaType::Bool: return VarType::Boolean;
    case QMetaType::Short: return VarType::Integer;
    case QMetaType::UChar: return VarType::Byte;
    case QMetaType::Int: return VarType::Long;
    case QMetaType::LongLong: return VarType::LongLong;
    case QMetaType::Double: return VarType::Double;
    case QMetaType::QDateTime: return VarType::Date;
    default: return isCurrency() ? VarType::Currency : VarType::String;
  }
}

QVariant Variant::toQVariant() const {
  if (m_marker == Marker::Value) return m_value;
  return {};
}

bool Variant::operator==(const Variant& o) const {
  if (m_marker != o.m_marker) return false;
  if (m_marker == Marker::Object) return m_object == o.m_object;
  if (m_marker != Marker::Value) return true;
  return m_value == o.m_value;
}

}  // namespace vb
