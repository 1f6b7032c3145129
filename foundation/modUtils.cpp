#include "foundation/modUtils.h"

#include <QDir>

#include "platform/automation/LateBinding.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"
#include "platform/vb/PathResolver.h"
#include "platform/vb/VbError.h"

bool VerzeichnisExistiert(const QString& Pfad) {
  QString p = Pfad.trimmed();
  if (!p.endsWith(QLatin1Char('/')) && !p.endsWith(QLatin1Char('\\'))) p += QLatin1Char('\\');
  // An empty path lists the root of the current drive: here, the current directory's root.
  if (p == QLatin1String("\\") || p == QLatin1String("/")) return QDir::root().exists();
  return QDir(vb::resolvePath(p)).exists();
}

vb::Variant NZ(const vb::Variant& Wert, const vb::Variant& Ersatz) {
  // A field stands for its value here, as in an assignment without Set.
  if (Wert.isObject() && !Wert.isNothing() && Wert.object()->metaObject()->indexOfMethod("Value()") >= 0) {
    const vb::Variant value = automation::callByName(*Wert.object(), QStringLiteral("Value"), automation::CallKind::Get);
    return value.isNull() ? Ersatz : value;
  }
  return Wert.isNull() ? Ersatz : Wert;
}

namespace {
// The settings row of `FeldName` (umlauts in any letter case too), updatable. The FeldName is
// bound, so any text is stored and found as it is.
std::shared_ptr<data::Recordset> openVorgabe(const QString& FeldName, const std::shared_ptr<data::Connection>& objCon) {
  if (!objCon) vb::raise(vb::ErrObjectNotSet);
  data::Parameters werte;
  const QString wo = objCon->dialect().caseBlindEquals(QStringLiteral("Feldname"), FeldName, werte);
  auto rs = std::make_shared<data::Recordset>();
  rs->Open(QStringLiteral("SELECT * FROM Vorgaben WHERE ") + wo, vb::Variant(objCon), data::adOpenDynamic,
           data::adLockOptimistic, data::adCmdUnspecified, werte);
  return rs;
}
}  // namespace

bool VorgabeHinzufuegen(const QString& FeldName, const vb::Variant& Wert, const std::shared_ptr<data::Connection>& objCon) {
  if (!objCon) vb::raise(vb::ErrObjectNotSet);
  return objCon->addUnlessPresent(QStringLiteral("Vorgaben"), QStringLiteral("FeldName"), FeldName,
                                  QStringLiteral("Wert"), Wert);
}

// A missing key is added in one statement rather than read and then inserted: another workstation
// may add it in between, and then its row is the one to use.
QString GetVorgabe(const QString& FeldName, const QString& Default, const std::shared_ptr<data::Connection>& objCon) {
  auto rs = openVorgabe(FeldName, objCon);
  if (rs->Eof()) {
    if (VorgabeHinzufuegen(FeldName, vb::Variant(Default), objCon)) return Default;
    rs->Requery();
    if (rs->Eof()) return Default;  // added and removed again meanwhile
  }
  return vb::CStr(NZ(rs->Fields(QStringLiteral("Wert"))->Value(), vb::Variant(QString())));
}

void SetVorgabe(const QString& FeldName, const QString& Wert, const std::shared_ptr<data::Connection>& objCon) {
  auto rs = openVorgabe(FeldName, objCon);
  if (rs->Eof()) {
    if (VorgabeHinzufuegen(FeldName, vb::Variant(Wert), objCon)) return;
    rs->Requery();  // the row another workstation added a moment ago takes the value
    if (rs->Eof()) {
      rs->AddNew();
      rs->Fields(QStringLiteral("FeldName"))->let_Value(vb::Variant(FeldName));
    }
  }
  rs->Fields(QStringLiteral("Wert"))->let_Value(vb::Variant(Wert));
  rs->Update();
}
