#include "platform/automation/WireValue.h"

#include <QDBusMetaType>
#include <algorithm>

#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"

namespace automation {

namespace {

using vb::VarType;

QDBusVariant wrap(const QVariant& v) { return QDBusVariant(v); }

[[noreturn]] void notAValue(int code) {
  vb::raise(vb::ErrTypeMismatch, QStringLiteral("VarType %1").arg(code));
}

// The text of a String value's `s` or `aq`; false for anything else.
bool readText(const QVariant& value, QString& text) {
  if (value.typeId() == QMetaType::QString) {
    text = value.toString();
    return true;
  }
  QList<ushort> units;
  if (value.userType() == qMetaTypeId<QList<ushort>>()) {
    units = value.value<QList<ushort>>();
  } else if (value.userType() == qMetaTypeId<QDBusArgument>()) {
    const QDBusArgument arg = value.value<QDBusArgument>();
    if (arg.currentSignature() != QLatin1String("aq")) return false;
    arg >> units;
  } else {
    return false;
  }
  text = QString(reinterpret_cast<const QChar*>(units.constData()), units.size());
  return true;
}

}  // namespace

void WireValue::registerTypes() {
  static const bool done = [] {
    qDBusRegisterMetaType<ObjectRef>();
    qDBusRegisterMetaType<WireValue>();
    qDBusRegisterMetaType<QList<WireValue>>();
    qDBusRegisterMetaType<QList<ushort>>();
    return true;
  }();
  (void)done;
}

WireValue WireValue::encode(const vb::Variant& v, const Exporter& exportObject) {
  WireValue w;
  w.type = static_cast<uchar>(v.varType());
  const QVariant& q = v.value();
  switch (v.varType()) {
    case VarType::Empty:
    case VarType::Null:
    case VarType::Error: w.value = wrap(0); break;
    case VarType::Object: w.value = wrap(QVariant::fromValue(exportObject(v.object()))); break;
    case VarType::Integer: w.value = wrap(QVariant::fromValue(short(q.toInt()))); break;
    case VarType::Long: w.value = wrap(q.toInt()); break;
    case VarType::LongLong: w.value = wrap(q.toLongLong()); break;
    case VarType::Currency: w.value = wrap(qlonglong(q.value<vb::Currency>().units)); break;
    case VarType::Date: w.value = wrap(vb::toOleDate(q.toDateTime())); break;
    case VarType::Boolean: w.value = wrap(q.toBool()); break;
    case VarType::Byte: w.value = wrap(QVariant::fromValue(uchar(q.toUInt()))); break;
    case VarType::Double: w.value = wrap(q.toDouble()); break;
    default: w.value = text(vb::CStr(v)); break;
  }
  return w;
}

vb::Variant WireValue::decode(const Importer& importObject) const {
  const QVariant q = value.variant();
  bool ok = true;
  switch (static_cast<VarType>(type)) {
    case VarType::Empty: return {};
    case VarType::Null: return vb::Variant::null();
    case VarType::Error: return vb::Variant::missing();
    case VarType::Object: {
      if (q.userType() != qMetaTypeId<QDBusArgument>()) notAValue(type);
      const QDBusArgument arg = q.value<QDBusArgument>();
      if (arg.currentSignature() != QLatin1String("(so)")) notAValue(type);
      ObjectRef ref;
      arg >> ref;
      if (ref.path.path() == QLatin1String("/")) return vb::Variant::nothing();
      return vb::Variant(importObject(ref));
    }
    case VarType::Integer: {
      const int i = q.toInt(&ok);
      if (!ok || i < -32768 || i > 32767) notAValue(type);
      return vb::Variant(static_cast<std::int16_t>(i));
    }
    case VarType::Long: {
      const int i = q.toInt(&ok);
      if (!ok) notAValue(type);
      return vb::Variant(i);
    }
    case VarType::LongLong:
    case VarType::Currency: {
      const qlonglong i = q.toLongLong(&ok);
      if (!ok) notAValue(type);
      if (static_cast<VarType>(type) == VarType::Currency) return vb::Variant(vb::Currency{i});
      return vb::Variant(static_cast<long long>(i));
    }
    case VarType::Double:
    case VarType::Date: {
      const double d = q.toDouble(&ok);
      if (!ok) notAValue(type);
      if (static_cast<VarType>(type) == VarType::Date) return vb::Variant(vb::fromOleDate(d));
      return vb::Variant(d);
    }
    case VarType::Boolean: return vb::Variant(q.toBool());
    case VarType::Byte: {
      const uint b = q.toUInt(&ok);
      if (!ok || b > 255) notAValue(type);
      return vb::Variant(static_cast<std::uint8_t>(b));
    }
    case VarType::String: {
      QString s;
      if (!readText(q, s)) notAValue(type);
      return vb::Variant(s);
    }
    default: notAValue(type);
  }
}

bool WireValue::travelsAsText(const QString& text) {
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (c.isNull()) return false;
    if (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
      ++i;
    } else if (c.isSurrogate()) {
      return false;
    }
  }
  return true;
}

QDBusVariant WireValue::text(const QString& text) {
  if (travelsAsText(text)) return wrap(text);
  QList<ushort> units(text.size());
  std::copy(text.utf16(), text.utf16() + text.size(), units.begin());
  return wrap(QVariant::fromValue(units));
}

QList<WireValue> WireValue::encode(const QList<vb::Variant>& values, const Exporter& exportObject) {
  QList<WireValue> out;
  out.reserve(values.size());
  for (const vb::Variant& v : values) out << encode(v, exportObject);
  return out;
}

QList<vb::Variant> WireValue::decode(const QList<WireValue>& values, const Importer& importObject) {
  QList<vb::Variant> out;
  out.reserve(values.size());
  for (const WireValue& w : values) out << w.decode(importObject);
  return out;
}

vb::Variant WireValue::fromArgument(const QVariant& arg, const Importer& importObject) {
  if (arg.userType() == qMetaTypeId<QDBusArgument>()) {
    const QDBusArgument a = arg.value<QDBusArgument>();
    if (a.currentSignature() != QLatin1String("(yv)")) vb::raise(vb::ErrTypeMismatch, a.currentSignature());
    WireValue w;
    a >> w;
    return w.decode(importObject);
  }
  if (arg.userType() == qMetaTypeId<QDBusVariant>()) return fromArgument(arg.value<QDBusVariant>().variant(), importObject);
  return vb::Variant::fromQVariant(arg);
}

QDBusArgument& operator<<(QDBusArgument& arg, const ObjectRef& ref) {
  arg.beginStructure();
  arg << ref.busName << ref.path;
  arg.endStructure();
  return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, ObjectRef& ref) {
  arg.beginStructure();
  arg >> ref.busName >> ref.path;
  arg.endStructure();
  return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const WireValue& value) {
  arg.beginStructure();
  arg << value.type << value.value;
  arg.endStructure();
  return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, WireValue& value) {
  arg.beginStructure();
  arg >> value.type >> value.value;
  arg.endStructure();
  return arg;
}

}  // namespace automation
