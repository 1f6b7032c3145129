#include "platform/automation/LateBinding.h"

#include <QMetaMethod>
#include <QMetaProperty>
#include <optional>
#include <vector>

#include "platform/automation/RemoteObject.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"

namespace automation {

namespace {

constexpr long ErrWrongArgumentCount = 450;

[[noreturn]] void wrongArgumentCount(const QString& member) {
  vb::raise(ErrWrongArgumentCount, member, QStringLiteral("Falsche Anzahl an Argumenten oder ungültige Zuweisung zu einer Eigenschaft"));
}

void registerTypes() {
  static const bool done = [] {
    qRegisterMetaType<vb::Variant>();
    qRegisterMetaType<std::shared_ptr<QObject>>();
    qRegisterMetaType<vb::Currency>();
    return true;
  }();
  (void)done;
}

[[noreturn]] void typeMismatch(const QMetaType& type) {
  vb::raise(vb::ErrTypeMismatch, QString::fromLatin1(type.name()));
}

QObject* objectOf(const vb::Variant& v, const QMetaType& type) {
  if (!v.isObject()) typeMismatch(type);
  return v.object().get();
}

// The argument as a value of the parameter's type, ready to be passed by address.
QVariant toParameter(const vb::Variant& v, const QMetaType& type) {
  if (type == QMetaType::fromType<vb::Variant>()) return QVariant::fromValue(v);
  if (type == QMetaType::fromType<std::shared_ptr<QObject>>()) {
    if (!v.isObject()) typeMismatch(type);
    return QVariant::fromValue(v.object());
  }
  if (type == QMetaType::fromType<vb::Currency>())
    return QVariant::fromValue(v.isCurrency() ? v.value().value<vb::Currency>() : vb::Currency::fromDouble(vb::CDbl(v)));
  switch (type.id()) {
    case QMetaType::QString: return vb::CStr(v);
    case QMetaType::Int: return QVariant::fromValue(int(vb::CLng(v)));
    case QMetaType::Long: return QVariant::fromValue(long(vb::CLng(v)));
    case QMetaType::LongLong: return QVariant::fromValue(qlonglong(vb::CLng(v)));
    case QMetaType::Short: return QVariant::fromValue(short(vb::CInt(v)));
    case QMetaType::UChar: return QVariant::fromValue(uchar(vb::CByte(v)));
    case QMetaType::Double: return vb::CDbl(v);
    case QMetaType::Float: return QVariant::fromValue(float(vb::CDbl(v)));
    case QMetaType::Bool: return vb::CBool(v);
    case QMetaType::QDateTime: return vb::CDate(v);
    case QMetaType::QDate: return vb::CDate(v).date();
    case QMetaType::QObjectStar: return QVariant::fromValue(objectOf(v, type));
    default: break;
  }
  if (type.flags() & QMetaType::PointerToQObject) {
    QObject* obj = objectOf(v, type);
    if (obj && type.metaObject() && !obj->metaObject()->inherits(type.metaObject())) typeMismatch(type);
    return QVariant(type, &obj);
  }
  typeMismatch(type);
}

vb::Variant fromResult(const QVariant& value, const QMetaType& type) {
  if (!type.isValid() || type.id() == QMetaType::Void) return {};
  if (type == QMetaType::fromType<vb::Variant>()) return value.value<vb::Variant>();
  if (type == QMetaType::fromType<std::shared_ptr<QObject>>()) return vb::Variant(value.value<std::shared_ptr<QObject>>());
  // Shared object types of other layers register a converter to a Variant object reference.
  if (type.id() >= QMetaType::User && QMetaType::canConvert(type, QMetaType::fromType<vb::Variant>())) {
    vb::Variant out;
    if (QMetaType::convert(type, value.constData(), QMetaType::fromType<vb::Variant>(), &out)) return out;
  }
  // A raw object pointer carries no ownership a reference could hold on to.
  if (type.id() >= QMetaType::User || (type.flags() & (QMetaType::PointerToQObject | QMetaType::IsPointer)))
    typeMismatch(type);
  return vb::Variant::fromQVariant(value);
}

// moc records the type as the declaration spells it, so the alias shows.
bool isObjectVariant(const QByteArray& typeName) {
  return typeName == "vb::ObjectVariant" || typeName == "ObjectVariant";
}

bool nameMatches(const QByteArray& candidate, const QString& wanted) {
  return QString::fromLatin1(candidate).compare(wanted, Qt::CaseInsensitive) == 0;
}

// The method that takes `argc` arguments: an exact count first, else one whose further
// parameters are all Variants (optional).
std::optional<QMetaMethod> findMethod(const QMetaObject& mo, const QString& wanted, qsizetype argc, bool& named) {
  std::optional<QMetaMethod> optional;
  for (int i = 0; i < mo.methodCount(); ++i) {
    const QMetaMethod m = mo.method(i);
    if (m.access() != QMetaMethod::Public) continue;
    if (m.methodType() != QMetaMethod::Method && m.methodType() != QMetaMethod::Slot) continue;
    if (!nameMatches(m.name(), wanted)) continue;
    named = true;
    if (m.parameterCount() == argc) return m;
    if (m.parameterCount() < argc || optional) continue;
    bool rest = true;
    for (int p = int(argc); p < m.parameterCount(); ++p)
      rest = rest && parameterMetaType(m, p) == QMetaType::fromType<vb::Variant>();
    if (rest) optional = m;
  }
  return optional;
}

std::optional<QMetaProperty> findProperty(const QMetaObject& mo, const QString& wanted) {
  for (int i = 0; i < mo.propertyCount(); ++i) {
    const QMetaProperty p = mo.property(i);
    if (nameMatches(p.name(), wanted)) return p;
  }
  return std::nullopt;
}

// Calls `m`; with `byRef`, the arguments for reference parameters are replaced by what the
// member left in them.
vb::Variant invoke(QObject& obj, const QMetaMethod& m, const QList<vb::Variant>& args, QList<vb::Variant>* byRef) {
  const int n = m.parameterCount();
  std::vector<QVariant> values;
  values.reserve(n + 1);
  std::vector<void*> argv(n + 1, nullptr);
  const QMetaType returnType = m.returnMetaType();
  if (returnType.isValid() && returnType.id() != QMetaType::Void) {
    values.emplace_back(returnType, nullptr);
    argv[0] = values.back().data();
  }
  for (int i = 0; i < n; ++i) {
    const vb::Variant arg = i < args.size() ? args[i] : vb::Variant::missing();
    values.push_back(toParameter(arg, parameterMetaType(m, i)));
    argv[i + 1] = values.back().data();
  }
  QMetaObject::metacall(&obj, QMetaObject::InvokeMetaMethod, m.methodIndex(), argv.data());
  const std::size_t first = argv[0] ? 1 : 0;
  if (byRef) {
    for (int i = 0; i < n && i < byRef->size(); ++i)
      if (isByReference(m, i)) (*byRef)[i] = fromResult(values[first + i], parameterMetaType(m, i));
  }
  return first ? fromResult(values.front(), returnType) : vb::Variant();
}

vb::Variant accessProperty(QObject& obj, const QMetaProperty& p, CallKind kind, const QList<vb::Variant>& args) {
  const bool read = kind == CallKind::Method || kind == CallKind::Get;
  if (read ? !args.isEmpty() : args.size() != 1) wrongArgumentCount(QString::fromLatin1(p.name()));
  if (read) {
    if (!p.isReadable()) vb::raise(vb::ErrNoSuchMember, QString::fromLatin1(p.name()));
    return fromResult(p.read(&obj), p.metaType());
  }
  if (!p.isWritable()) vb::raise(vb::ErrNoSuchMember, QString::fromLatin1(p.name()));
  if (!p.write(&obj, toParameter(args.first(), p.metaType()))) typeMismatch(p.metaType());
  return {};
}

QString accessorName(const QString& member, CallKind kind) {
  switch (kind) {
    case CallKind::Let: return QStringLiteral("let_") + asciiName(member);
    case CallKind::Set: return QStringLiteral("set_") + asciiName(member);
    default: return asciiName(member);
  }
}

}  // namespace

// moc keeps "&" in the name of a non-const reference parameter only (a const one normalises away).
bool isByReference(const QMetaMethod& m, int parameter) {
  return m.parameterTypeName(parameter).endsWith('&');
}

QString automationTypeOf(const QMetaMethod& m, int parameter) {
  const QByteArray name = parameter < 0 ? QByteArray(m.typeName()) : m.parameterTypeName(parameter);
  if (isObjectVariant(name)) return QStringLiteral("Object");
  return automationTypeName(parameter < 0 ? m.returnMetaType() : parameterMetaType(m, parameter));
}

// moc records no meta type for a non-const reference parameter; the type it refers to has one.
QMetaType parameterMetaType(const QMetaMethod& m, int parameter) {
  if (!isByReference(m, parameter)) return m.parameterMetaType(parameter);
  return QMetaType::fromName(m.parameterTypeName(parameter).chopped(1));
}

QString automationTypeName(const QMetaType& type) {
  registerTypes();
  if (!type.isValid() || type.id() == QMetaType::Void) return QStringLiteral("Empty");
  if (type == QMetaType::fromType<vb::Variant>()) return QStringLiteral("Variant");
  if (type == QMetaType::fromType<vb::Currency>()) return QStringLiteral("Currency");
  switch (type.id()) {
    case QMetaType::QString: return QStringLiteral("String");
    case QMetaType::Short: return QStringLiteral("Integer");
    case QMetaType::Int:
    case QMetaType::Long: return QStringLiteral("Long");
    case QMetaType::LongLong: return QStringLiteral("LongLong");
    case QMetaType::UChar: return QStringLiteral("Byte");
    case QMetaType::Double:
    case QMetaType::Float: return QStringLiteral("Double");
    case QMetaType::Bool: return QStringLiteral("Boolean");
    case QMetaType::QDateTime:
    case QMetaType::QDate: return QStringLiteral("Date");
    default: break;
  }
  // Object references: shared or raw QObjects, and the shared object types of other layers.
  return QStringLiteral("Object");
}

QString asciiName(const QString& name) {
  QString out;
  out.reserve(name.size() + 4);
  for (const QChar c : name) {
    switch (c.unicode()) {
      case 0xE4: out += QLatin1String("ae"); break;
      case 0xF6: out += QLatin1String("oe"); break;
      case 0xFC: out += QLatin1String("ue"); break;
      case 0xC4: out += QLatin1String("Ae"); break;
      case 0xD6: out += QLatin1String("Oe"); break;
      case 0xDC: out += QLatin1String("Ue"); break;
      case 0xDF: out += QLatin1String("ss"); break;
      default: out += c;
    }
  }
  return out;
}

namespace {

vb::Variant callLocal(QObject& obj, const QString& member, CallKind kind, const QList<vb::Variant>& args,
                      QList<vb::Variant>* byRef) {
  registerTypes();
  const QMetaObject& mo = *obj.metaObject();
  bool named = false;
  if (const auto m = findMethod(mo, accessorName(member, kind), args.size(), named)) return invoke(obj, *m, args, byRef);
  if (named) wrongArgumentCount(member);
  if (const auto p = findProperty(mo, asciiName(member))) return accessProperty(obj, *p, kind, args);
  vb::raise(vb::ErrNoSuchMember, QString::fromLatin1(mo.className()));
}

}  // namespace

vb::Variant callByName(QObject& obj, const QString& member, CallKind kind, const QList<vb::Variant>& args) {
  if (auto* remote = qobject_cast<RemoteObject*>(&obj)) {
    QList<vb::Variant> copy = args;
    return remote->call(member, kind, copy);
  }
  return callLocal(obj, member, kind, args, nullptr);
}

vb::Variant callByName(QObject& obj, const QString& member, CallKind kind, QList<vb::Variant>& args) {
  if (auto* remote = qobject_cast<RemoteObject*>(&obj)) return remote->call(member, kind, args);
  const QList<vb::Variant> in = args;
  return callLocal(obj, member, kind, in, &args);
}

}  // namespace automation
