#include "foundation/clsConnectionHandler.h"

#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"

QString clsConnectionHandler::gruppenSchluessel(std::int16_t SQLGruppe) {
  return QStringLiteral("GRP") + QString::number(SQLGruppe);
}

clsConnectionHandler::Gruppe& clsConnectionHandler::GetGruppe(std::int16_t SQLGruppe) {
  const QString key = gruppenSchluessel(SQLGruppe);
  if (!m_colGruppen.Contains(key)) m_colGruppen.Add(std::make_shared<Gruppe>(), key);
  return *m_colGruppen.Item(key);
}

std::shared_ptr<data::Connection> clsConnectionHandler::FirstConnection() {
  if (m_colGruppen.Count() == 0) return nullptr;
  for (std::int16_t n = 1; n <= 8; ++n) {
    if (!m_colGruppen.Contains(gruppenSchluessel(n))) continue;
    std::shared_ptr<data::Connection> result;
    vb::ignoreErrors([&] { result = SQLGruppe_Connection(n); });
    return result;  // the first existing group decides, with or without a connection
  }
  return nullptr;
}

void clsConnectionHandler::set_SQLGruppe_Connection(std::int16_t SQLGruppe, const vb::Variant& objCon) {
  // Only an object (or Nothing) can be Set; a refused value must not cost the group its connection.
  if (!objCon.isObject()) vb::raise(vb::ErrTypeMismatch);
  Gruppe& g = GetGruppe(SQLGruppe);
  vb::ignoreErrors([&] { g.Eintraege.Remove(QStringLiteral("Connection")); });
  g.Eintraege.Add(objCon, QStringLiteral("Connection"));
}

std::shared_ptr<data::Connection> clsConnectionHandler::SQLGruppe_Connection(std::int16_t SQLGruppe) {
  return GetGruppe(SQLGruppe).Eintraege.Item(QStringLiteral("Connection")).objectAs<data::Connection>();
}

void clsConnectionHandler::let_SQLGruppe_DB_Provider(std::int16_t SQLGruppe, const QString& strH) {
  Gruppe& g = GetGruppe(SQLGruppe);
  vb::ignoreErrors([&] { g.Eintraege.Remove(QStringLiteral("DB_Provider")); });
  vb::ignoreErrors([&] { g.Eintraege.Add(vb::Variant(strH), QStringLiteral("DB_Provider")); });
}

void clsConnectionHandler::let_SQLGruppe_DB_Properties(std::int16_t SQLGruppe, const QString& strPropName,
                                                       const QString& strH) {
  Gruppe& g = GetGruppe(SQLGruppe);
  if (!g.DB_Properties) g.DB_Properties = std::make_shared<vb::Collection<ListElementPtr>>();
  auto element = std::make_shared<clsListElement>();
  element->Key = strPropName;
  element->Value = vb::Variant(strH);
  vb::ignoreErrors([&] { g.DB_Properties->Remove(strPropName); });
  vb::ignoreErrors([&] { g.DB_Properties->Add(element, strPropName); });
}

void clsConnectionHandler::let_SQLGruppe_DB_OpenConnection(std::int16_t SQLGruppe, const QString& strH) {
  Gruppe& g = GetGruppe(SQLGruppe);
  auto objCon = std::make_shared<data::Connection>();
  vb::ignoreErrors([&] {
    const vb::Variant provider = g.Eintraege.Item(QStringLiteral("DB_Provider"));
    if (!provider.isNull() && !vb::CStr(provider).isEmpty()) objCon->let_Provider(vb::CStr(provider));
  });
  if (g.DB_Properties) {
    for (const auto& entry : *g.DB_Properties)
      objCon->Properties(entry.value->Key)->let_Value(entry.value->Value);
  }
  objCon->Open(strH, QString(), QString(), -1);
  set_SQLGruppe_Connection(SQLGruppe, vb::Variant(objCon));
}

std::shared_ptr<clsConnectionHandler> EigeneVerbindungen(const vb::Variant& handler, const QString& quelle) {
  if (handler.isNothing()) return nullptr;
  auto lokal = handler.isObject() ? handler.objectAs<clsConnectionHandler>() : nullptr;
  if (!lokal)
    vb::raise(vb::ErrTypeMismatch, quelle,
              QStringLiteral("ConnectList nimmt nur eine Verbindungsverwaltung an, die dieses Programm selbst erzeugt "
                             "hat (\"%1\"): ein Objekt eines anderen Prozesses kann keine Datenbankverbindungen tragen.")
                  .arg(quelle.section(QLatin1Char('.'), 0, 0) + QStringLiteral(".clsConnectionHandler")));
  return lokal;
}
