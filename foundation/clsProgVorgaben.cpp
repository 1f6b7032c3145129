#include "foundation/clsProgVorgaben.h"

#include "foundation/modUtils.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/VbError.h"

void clsProgVorgaben::LoadCustomProperties(const vb::Variant& objCon) {
  auto con = objCon.objectAs<data::Connection>();
  if (!con) vb::raise(vb::ErrObjectNotSet);
  auto rs = std::make_shared<data::Recordset>();
  rs->Open(QStringLiteral("SELECT * FROM Vorgaben"), vb::Variant(con), data::adOpenDynamic, data::adLockOptimistic,
           data::adCmdUnspecified);
  m_rs = rs;
  m_cache = std::make_unique<vb::Collection<ListElementPtr>>();
  while (!rs->Eof()) {
    const vb::Variant feldName = rs->Fields(QStringLiteral("FeldName"))->Value();
    // A row without a key cannot be cached. Stopping here would leave every later key
    // uncached, and reading those keys would append duplicates; it is passed over instead.
    if (!feldName.isNull()) {
      auto element = std::make_shared<clsListElement>();
      element->Key = vb::CStr(feldName);
      element->Value = rs->Fields(QStringLiteral("Wert"))->Value();
      if (m_cache->Contains(element->Key)) {
        vb::ignoreErrors([&] { rs->Delete(1); });
      } else {
        m_cache->Add(element, element->Key);
      }
    }
    rs->MoveNext();
  }
}

vb::Variant clsProgVorgaben::Value(const QString& PropName, const vb::Variant& DefaultValue) {
  if (!m_cache || !m_rs) vb::raise(vb::ErrObjectNotSet);
  if (m_cache->Contains(PropName)) return m_cache->Item(PropName)->Value;
  vb::Variant result = DefaultValue.isMissing() ? vb::Variant(0) : DefaultValue;
  const std::shared_ptr<data::Connection> con = m_rs->ActiveConnection();
  if (!VorgabeHinzufuegen(PropName, result, con)) {
    // Another workstation added the key since the load: its value holds.
    std::vector<vb::Variant> werte;
    const QString wo = con->dialect().caseBlindEquals(QStringLiteral("FeldName"), PropName, werte);
    const auto stored = con->Execute(QStringLiteral("SELECT Wert FROM Vorgaben WHERE ") + wo, werte);
    if (!stored->Eof()) result = stored->Fields(vb::Variant(0))->Value();
  }
  auto element = std::make_shared<clsListElement>();
  element->Key = PropName;
  element->Value = result;
  m_cache->Add(element, PropName);
  return result;
}

bool clsProgVorgaben::LieferscheinMitEinzelpreisen() {
  return vb::CBool(Value(QStringLiteral("LieferEZPDrucken"), vb::Variant(false)));
}
