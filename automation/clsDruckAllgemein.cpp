#include "automation/clsDruckAllgemein.h"

#include "automation/DruckklasseStarten.h"
#include "automation/Druckstapelfortschritt.h"
#include "automation/HostFelder.h"
#include "automation/clsFormTypHandler.h"
#include "engine/Druckfenster.h"
#include "engine/frmDrucken.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/frmInfoFenster.h"
#include "foundation/modSkrivant.h"
#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/report/IReportControl.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/VbError.h"

namespace {

const QString kQuelle = QStringLiteral("Skrivant.clsDruckAllgemein");

// Head sample values are cut to this many characters; detail samples are kept whole.
constexpr int kKopfWertLaenge = 150;

void setze(data::Recordset& rs, const char* spalte, const vb::Variant& wert) {
  rs.Fields(vb::Variant(QString::fromLatin1(spalte)))->let_Value(wert);
}

// The rows of form type `FormTypID` that `sql` selects ("… WHERE FormTypID=?"), updatable.
std::shared_ptr<data::Recordset> oeffnen(const std::shared_ptr<data::Connection>& con, const QString& sql,
                                         std::int32_t FormTypID) {
  auto rs = std::make_shared<data::Recordset>();
  rs->Open(sql, vb::Variant(con), data::adOpenDynamic, data::adLockOptimistic, data::adCmdUnspecified, {FormTypID});
  return rs;
}

void felderSchreiben(data::Recordset& rs, std::int32_t FormTypID, std::int16_t bereich, QObject& quelle) {
  for (const auto& feld : HostFelder(quelle)) {
    const vb::Variant wert = HostFeldWert(*feld);
    vb::Variant muster;
    if (bereich == 1)
      muster = QStringLiteral("%1").arg(WertAlsText(wert).left(kKopfWertLaenge));
    else
      muster = wert.isNull() ? vb::Variant::null() : vb::Variant(WertAlsText(wert));
    rs.AddNew();
    setze(rs, "FormTypID", FormTypID);
    setze(rs, "Datenbereich", bereich);
    setze(rs, "FeldName", HostFeldName(*feld));
    setze(rs, "DatenTyp", HostFeldLLTyp(*feld));
    setze(rs, "DesignWert", muster);
    rs.Update();
  }
}

// A record set of the host: a text or a number in its place is the wrong type, Nothing no object.
QObject& hostObjekt(const vb::Variant& v) {
  if (!v.isObject()) vb::raise(vb::ErrTypeMismatch, kQuelle);
  if (v.isNothing()) vb::raise(vb::ErrObjectNotSet, kQuelle);
  return *v.object();
}

}  // namespace

clsDruckAllgemein::clsDruckAllgemein() {
  m_fenster = DruckklasseStarten();
  m_ConnectList = GetGlobalConnectList();
  if (!m_ConnectList) m_ConnectList = std::make_shared<clsConnectionHandler>();
  m_objFormTypHandler = std::make_shared<clsFormTypHandler>();
  HandlerEinstecken();
  Clear();
}

clsDruckAllgemein::~clsDruckAllgemein() {
  m_InfoFenster.reset();
  // The window keeps the last handler it was given; ours goes with this object.
  vb::ignoreErrors([this] {
    if (m_fenster->DruckdatenHandler == m_objFormTypHandler) m_fenster->set_DruckdatenHandler(vb::Variant::nothing());
  });
  vb::ignoreErrors([this] { m_fenster.reset(); });
  m_ConnectList.reset();
  m_objFormTypHandler.reset();
}

vb::Variant clsDruckAllgemein::ConnectList() const { return vb::Variant(m_ConnectList); }

void clsDruckAllgemein::set_ConnectList(const vb::Variant& handler) {
  m_ConnectList = EigeneVerbindungen(handler, kQuelle);
}

vb::Variant clsDruckAllgemein::CreateFormularTyp(std::int32_t FormTypID, const QString& Bezeichnung,
                                                 const QString& Beschreibung, std::int16_t BerichtArt,
                                                 const vb::Variant& objKopfDaten, const vb::Variant& objDetailDaten) {
  if (FormTypID < 1000 || FormTypID > 32767)
    vb::raise(vb::ErrInvalidCall, kQuelle,
              QStringLiteral("Die Formulartyp-Nummer %1 liegt nicht zwischen 1000 und 32767: kleinere Nummern "
                             "gehören den Formularen der Druckengine.")
                  .arg(FormTypID));
  if (!m_ConnectList) vb::raise(vb::ErrObjectNotSet, kQuelle);
  QObject& kopf = hostObjekt(objKopfDaten);
  QObject& detail = hostObjekt(objDetailDaten);
  const auto con = m_ConnectList->SQLGruppe_Connection(4);

  con->BeginTrans();
  try {
    auto rs = oeffnen(con, QStringLiteral("SELECT * FROM Druck_Formulartypen WHERE FormTypID=?"), FormTypID);
    if (rs->Eof()) {
      rs->AddNew();
      setze(*rs, "FormTypID", FormTypID);
    }
    setze(*rs, "Bezeichnung", Bezeichnung);
    setze(*rs, "Beschreibung", Beschreibung);
    rs->Update();
    rs->Close();

    con->Execute(QStringLiteral("DELETE FROM Druck_Formulartypen_Felder WHERE FormTypID=?"), {FormTypID});
    rs = oeffnen(con, QStringLiteral("SELECT * FROM Druck_Formulartypen_Felder WHERE FormTypID=?"), FormTypID);
    felderSchreiben(*rs, FormTypID, 1, kopf);
    felderSchreiben(*rs, FormTypID, 2, detail);
    rs->Close();

    rs = oeffnen(con, QStringLiteral("SELECT * FROM Auftrag_Formular_Neu WHERE FormStatus=?"), FormTypID);
    if (rs->Eof()) {
      rs->AddNew();
      setze(*rs, "FormNummer", std::int16_t(1));
      setze(*rs, "FormStatus", FormTypID);
      setze(*rs, "BerichtArt", BerichtArt);
      rs->Update();
    }
    rs->Close();

    rs = oeffnen(con, QStringLiteral("SELECT * FROM Auftrag_Formular_Druckerschacht_Neu WHERE FormStatus=?"), FormTypID);
    if (rs->Eof()) {
      for (const std::int16_t seite : {std::int16_t(1), std::int16_t(2)}) {
        rs->AddNew();
        setze(*rs, "RechnerName", QStringLiteral("$GLOBAL$"));
        setze(*rs, "FormNummer", std::int16_t(1));
        setze(*rs, "FormStatus", FormTypID);
        setze(*rs, "VonExemplar", std::int16_t(1));
        setze(*rs, "BisExemplar", std::int16_t(99));
        setze(*rs, "VonSeite", seite);
        setze(*rs, "BisSeite", std::int16_t(seite == 1 ? 1 : 9999));
        setze(*rs, "Drucker", QStringLiteral("Standard"));
        setze(*rs, "SchachtText", QStringLiteral("Standard"));
        setze(*rs, "SchachtNr", std::int16_t(0));
        setze(*rs, "LetzteSeiteZuerst", false);
        rs->Update();
      }
    }
    rs->Close();
    con->CommitTrans();
  } catch (...) {
    vb::ignoreErrors([&] { con->RollbackTrans(); });
    throw;
  }
  return {};
}

void clsDruckAllgemein::set_KopfDaten(const vb::Variant& objekt) { m_objFormTypHandler->set_objRsVariablen(objekt); }
void clsDruckAllgemein::set_DetailDaten(const vb::Variant& objekt) { m_objFormTypHandler->set_Data(objekt); }

bool clsDruckAllgemein::Clear() {
  m_fenster->Init();
  return true;
}

void clsDruckAllgemein::let_Datenverzeichnis(const QString& Pfad) { SetDatenverzeichnis(Pfad); }
QString clsDruckAllgemein::GetVersion() const { return m_fenster->GetVersion(); }
bool clsDruckAllgemein::IsBesetzt() const { return m_fenster->Running(); }
std::int32_t clsDruckAllgemein::GetExitCode() const { return m_fenster->ExitCode(); }

vb::Variant clsDruckAllgemein::OpenDesign(std::int32_t FormTypID, const QString& Dateiname,
                                          const vb::Variant& BerichtArt) {
  KeinLaufenderAuftrag(*m_fenster, kQuelle);
  HandlerEinstecken();
  m_objFormTypHandler->LoadDesignData(FormTypID);
  m_fenster->LL().StartFields();
  m_fenster->LL().StartVariables();
  WerteFuerEntwurfErzeugen();
  m_fenster->OpenDesign(Dateiname, BerichtArt.isMissing() ? vb::Variant(std::int16_t(2)) : BerichtArt);
  m_fenster->set_DruckdatenHandler(vb::Variant::nothing());
  return {};
}

vb::Variant clsDruckAllgemein::SetAnzahlKopien(std::int16_t Anzahl) {
  m_fenster->let_AnzahlKopien(Anzahl);
  return {};
}

bool clsDruckAllgemein::SetDokumentTitle(const QString& DokumentTitel) {
  m_fenster->let_ApplicationTitel(DokumentTitel);
  return false;
}

std::int16_t clsDruckAllgemein::AddToDruckstapel(const QString& DruckInfo) {
  // The progress window lets the host's calls in; one of them may be the host's last release.
  const auto selbst = weak_from_this().lock();
  const QString& text = DruckInfo;
  KeinLaufenderAuftrag(*m_fenster, kQuelle);
  HandlerEinstecken();
  m_fenster->StartPrintAllgemein(3);
  FortschrittZeigen(m_InfoFenster, this, text);
  const bool abgebrochen = m_blnAbbruch;
  Clear();
  return abgebrochen ? 1 : 0;
}

vb::Variant clsDruckAllgemein::SetFormBez(const QString& Bezeichnung) {
  m_fenster->let_DokumentTitel(Bezeichnung);
  return {};
}

vb::Variant clsDruckAllgemein::SetDruckerOptionen(std::int16_t Status, std::int16_t Vorlage) {
  SetGlobalConnectList(m_ConnectList);
  m_fenster->SetDruckerOptionen(Status, Vorlage);
  return {};
}

std::int32_t clsDruckAllgemein::Ausgeben(std::int16_t AusgabeModus, bool direkt) {
  KeinLaufenderAuftrag(*m_fenster, kQuelle);
  m_InfoFenster.reset();
  HandlerEinstecken();
  m_fenster->StartPrintAllgemein(AusgabeModus, vb::Variant(direkt));
  return 0;
}

void clsDruckAllgemein::HandlerEinstecken() { m_fenster->set_DruckdatenHandler(vb::Variant(m_objFormTypHandler)); }
