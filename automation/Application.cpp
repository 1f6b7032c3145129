// Application's life, its connection and path members, the output methods with the batch
// progress window, and the busy and exit state.
#include "automation/Application.h"

#include <QScopeGuard>

#include "automation/DruckklasseStarten.h"
#include "automation/Druckstapelfortschritt.h"
#include "engine/Druckfenster.h"
#include "engine/frmDrucken.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/clsProgVorgaben.h"
#include "foundation/frmInfoFenster.h"
#include "foundation/modDebugOutput.h"
#include "foundation/modSkrivant.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/VbError.h"

namespace {
Application::Vorlagenverwaltung& vorlagenverwaltung() {
  static Application::Vorlagenverwaltung oeffnen;
  return oeffnen;
}
}  // namespace

Application::Application() {
  m_fenster = DruckklasseStarten();
  m_ConnectList = std::make_shared<clsConnectionHandler>();
  Clear();
  DebugOutput(QStringLiteral("Application_Initialize->"));
}

Application::~Application() {
  DebugOutput(QStringLiteral("->Application.Terminate"));
  InfoFensterSchliessen();
  // Unloads the window unless another object still holds it.
  m_fenster.reset();
  m_ConnectList.reset();
  m_objVorgaben.reset();
  DebugOutput(QStringLiteral("Application.Terminate->"));
}

vb::Variant Application::ConnectList() const { return vb::Variant(m_ConnectList); }

void Application::set_ConnectList(const vb::Variant& handler) {
  m_ConnectList = EigeneVerbindungen(handler, QStringLiteral("Skrivant.Application"));
}

void Application::let_LokalerPfad(QString& Pfad) {
  Pfad = Pfad.trimmed();
  SetLokalerPfad(Pfad);
}

QString Application::LokalerPfad() const { return GetLokalerPfad(); }

void Application::let_Datenverzeichnis(const QString& Pfad) { SetDatenverzeichnis(Pfad); }

bool Application::Clear() {
  m_fenster->Init();
  m_KopfZaehler1 = 0;
  m_KopfZaehler2 = 0;
  return true;
}

// The print window's Init has no use for the flag.
bool Application::Clear260(bool) { return Clear(); }

QString Application::GetVersion() const { return m_fenster->GetVersion(); }

vb::Variant Application::SetDruckerOptionen(std::int16_t Status, std::int16_t Vorlage) {
  SetGlobalConnectList(m_ConnectList);
  m_fenster->SetDruckerOptionen(Status, Vorlage);
  return {};
}

vb::Variant Application::SetDruckwaehrung(const QString& Druckwaehrung) {
  m_fenster->let_Druckwaehrung(Druckwaehrung);
  return {};
}

bool Application::IsBesetzt() const {
  if (m_blnGestaltung) return !GetGestaltungBeendet();
  return m_fenster->Running();
}

std::int32_t Application::GetExitCode() const { return vb::CLng(vb::Variant(m_fenster->ExitCode())); }

vb::Variant Application::OpenDesign(const QString& Dateiname, const vb::Variant& BerichtArt) {
  // The window keeps the handler another object plugged in last (a dunning letter, a form type):
  // the invoice designer works without one, and the other object finds its own back afterwards.
  const auto fremderHandler = m_fenster->DruckdatenHandler;
  m_fenster->DruckdatenHandler.reset();
  const auto zurueck = qScopeGuard([&] { m_fenster->DruckdatenHandler = fremderHandler; });
  m_fenster->OpenDesign(Dateiname, BerichtArt.isMissing() ? vb::Variant(std::int16_t(2)) : BerichtArt);
  return {};
}

QString Application::GetGesamtBetrag() const { return vb::CStr(vb::Variant(m_fenster->Rechnungsbetrag())); }

std::int16_t Application::AddToDruckstapel(const QString& DruckInfo) {
  // The progress window lets the host's calls in; one of them may be the host's last release.
  const auto selbst = weak_from_this().lock();
  const QString& text = DruckInfo;
  KeinLaufenderAuftrag(*m_fenster, QStringLiteral("Skrivant.Application"));
  m_fenster->objVorgaben = m_objVorgaben;
  m_fenster->StartPrint(3);
  FortschrittZeigen(m_InfoFenster, this, text);
  const bool abgebrochen = m_blnAbbruch;
  Clear();
  return abgebrochen ? 1 : 0;
}

std::int32_t Application::Ausgeben(std::int16_t AusgabeModus) {
  KeinLaufenderAuftrag(*m_fenster, QStringLiteral("Skrivant.Application"));
  InfoFensterSchliessen();
  m_fenster->objVorgaben = m_objVorgaben;
  m_fenster->StartPrint(AusgabeModus);
  return 0;
}

void Application::InfoFensterSchliessen() { m_InfoFenster.reset(); }

bool Application::SetDataBaseName(const QString& Dateiname) {
  m_fenster->let_Uebergabedatei(Dateiname);
  return true;
}

void Application::setVorlagenverwaltung(Vorlagenverwaltung oeffnen) { vorlagenverwaltung() = std::move(oeffnen); }

void Application::FormularGestaltung(std::int16_t AuftragStatus, std::int16_t VorlageNr, const vb::Variant&) {
  SetGestaltungBeendet(false);
  m_blnGestaltung = true;
  DebugOutput(QStringLiteral("Start Formulargestaltung"));
  SetGlobalConnectList(m_ConnectList);
  const auto fehler = vb::resumeNext(QString(), [&] {
    if (!vorlagenverwaltung()) vb::raise(vb::ErrCannotCreateObject);
    vorlagenverwaltung()(m_ConnectList, AuftragStatus, VorlageNr);
  });
  // No window came up: the host would otherwise wait on IsBesetzt for ever.
  if (fehler && fehler->number() == vb::ErrCannotCreateObject) SetGestaltungBeendet(true);
}
