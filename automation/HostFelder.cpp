#include "automation/HostFelder.h"

#include "engine/modSQL.h"
#include "platform/automation/LateBinding.h"
#include "platform/data/Field.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"

using automation::callByName;
using automation::CallKind;

namespace {

std::shared_ptr<QObject> objekt(const vb::Variant& v) {
  if (!v.isObject() || v.isNothing()) vb::raise(vb::ErrObjectNotSet);
  return v.object();
}

}  // namespace

QList<std::shared_ptr<QObject>> HostFelder(QObject& quelle) {
  const auto felder = objekt(callByName(quelle, QStringLiteral("Fields"), CallKind::Get));
  const long anzahl = vb::CLng(callByName(*felder, QStringLiteral("Count"), CallKind::Get));
  QList<std::shared_ptr<QObject>> liste;
  for (long i = 0; i < anzahl; ++i)
    liste << objekt(callByName(*felder, QStringLiteral("Item"), CallKind::Get, {vb::Variant(std::int32_t(i))}));
  return liste;
}

QString HostFeldName(QObject& feld) { return vb::CStr(callByName(feld, QStringLiteral("Name"), CallKind::Get)); }

std::int32_t HostFeldLLTyp(QObject& feld) {
  const std::int32_t typ = vb::CLng(callByName(feld, QStringLiteral("Type"), CallKind::Get));
  if (qobject_cast<data::Field*>(&feld)) return GetLLFeldTypDatenschicht(typ);
  return GetLLFeldTyp(typ);
}

vb::Variant HostFeldWert(QObject& feld) { return callByName(feld, QStringLiteral("Value"), CallKind::Get); }

QString WertAlsText(const vb::Variant& wert) {
  if (wert.isNull() || wert.isEmpty()) return {};
  if (wert.isBool()) return wert.value().toBool() ? QStringLiteral("1") : QStringLiteral("0");
  return vb::CStr(wert);
}
