// Editing in the template manager: new, delete, copy and paste of templates, and the load and
// save of the setting panels for the current node.
#include "configuration/ctrArchivierungsDrucker.h"
#include "configuration/ctrDruckerschacht.h"
#include "configuration/ctrFormatdatei.h"
#include "configuration/ctrMahnAllgTexte.h"
#include "configuration/ctrMahnVorSchluss.h"
#include "configuration/ctrTexte.h"
#include "configuration/clsMenuHandler.h"
#include "configuration/frmDruckFormulare.h"
#include "configuration/modPanelWerte.h"
#include "engine/modSkrivant.h"
#include "engine/modSystem.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ProgramInfo.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"

#include <QAction>
#include <QMenu>

namespace configuration {

namespace {

void setzen(data::Recordset& rs, const QString& name, const vb::Variant& wert) {
  rs.Fields(vb::Variant(name))->let_Value(wert);
}

}  // namespace

bool frmDruckFormulare::MussSpeichern() const {
  return intFormNummer > 0 && intFormStatus >= 0 && !strKnotenArt.trimmed().isEmpty();
}

bool frmDruckFormulare::IstMahnstufe() const {
  return strKnotenArt.startsWith(QLatin1Char('M'), Qt::CaseInsensitive) && !strKnotenArt.isEmpty() &&
         vb::Val(strKnotenArt.right(1)) > 0;
}

std::shared_ptr<data::Recordset> frmDruckFormulare::FormularZeile(bool mahnung) const {
  if (!m_ConnectList) vb::raise(vb::ErrObjectNotSet);
  QString sql = mahnung ? QStringLiteral("SELECT * FROM Auftrag_Formular_Mahnung WHERE FormNummer=?")
                        : QStringLiteral("SELECT * FROM Auftrag_Formular_Neu WHERE FormNummer=?");
  sql += QStringLiteral(" AND FormStatus=?");
  data::Parameters werte = {intFormNummer, intFormStatus};
  if (mahnung) {
    sql += QStringLiteral(" AND Mahnstufe=?");
    werte.push_back(intMahnstufe);
  }
  auto rs = std::make_shared<data::Recordset>();
  rs->Open(sql, vb::Variant(m_ConnectList->SQLGruppe_Connection(4)), data::adOpenDynamic, data::adLockOptimistic,
           data::adCmdUnspecified, werte);
  return rs;
}

void frmDruckFormulare::WerteLaden() {
  if (IstMahnstufe()) {
    auto rs = FormularZeile(true);
    m_ctrMahnVorSchluss->LoadData(*rs);
    m_zeileGeladen = true;
    rs->Close();
    return;
  }
  auto rs = FormularZeile(false);
  if (!rs->Eof()) {
    m_ctrFormatdatei->LoadData(*rs);
    ctrTexte1->LoadData(*rs);
    const QString rechner = strGlobalLokal == QLatin1String("G") ? QStringLiteral("$GLOBAL$") : GetRechnerName();
    if (strKnotenArt.startsWith(QLatin1Char('D'), Qt::CaseInsensitive))
      Druckerwahl->LoadData(intFormStatus, intFormNummer, rechner);
    else if (strKnotenArt.startsWith(QLatin1Char('A'), Qt::CaseInsensitive))
      m_ctrArchivierungsDrucker->LoadData(intFormStatus, intFormNummer, rechner);
    objMenuHandler->Init();
    for (const auto& [name, key] : {std::pair{"mnuPlatzhalterYYYY", "YYYY"}, {"mnuPlatzhalterYYYYMMDD", "YYYYMMDD"},
                                    {"mnuPlatzhalterYYMMDD", "YYMMDD"}, {"mnuPlatzhalterKDNr", "KUNDENNUMMER"},
                                    {"mnuPlatzhalterAuftragNr", "VORGANGNR"}, {"mnuPlatzhalterAngebotNr", "ANGEBOTNR"}})
      objMenuHandler->AddMenu(mnuPlatzhalter->findChild<QAction*>(QString::fromUtf8(name)), QString::fromUtf8(key));
    objMenuHandler->let_CurStatus(vb::CInt(rs->Fields(vb::Variant(QStringLiteral("FormStatus")))->Value()));
    m_zeileGeladen = true;
  }
  m_ctrMahnAllgTexte->LoadData(*rs);
  rs->Close();
}

// Saves only what the panels hold of the current node: a route panel still holding another
// node's routes, or record panels that found no row for this node, would write stale values.
void frmDruckFormulare::WerteSpeichern() {
  if (!m_zeileGeladen) return;
  if (IstMahnstufe()) {
    auto rs = FormularZeile(true);
    if (rs->Eof()) {
      rs->AddNew();
      setzen(*rs, QStringLiteral("FormNummer"), intFormNummer);
      setzen(*rs, QStringLiteral("FormStatus"), intFormStatus);
      setzen(*rs, QStringLiteral("Mahnstufe"), intMahnstufe);
    }
    m_ctrMahnVorSchluss->SaveData(*rs);
    rs->Update();
    rs->Close();
    return;
  }
  auto rs = FormularZeile(false);
  if (rs->Eof()) {
    rs->AddNew();
    setzen(*rs, QStringLiteral("FormNummer"), intFormNummer);
    setzen(*rs, QStringLiteral("FormStatus"), intFormStatus);
  }
  m_ctrFormatdatei->SaveData(*rs);
  ctrTexte1->SaveData(*rs);
  if (intFormStatus == 130) m_ctrMahnAllgTexte->SaveData(*rs);
  if (strKnotenArt.startsWith(QLatin1Char('D'), Qt::CaseInsensitive)) Druckerwahl->SaveData();
  if (strKnotenArt.startsWith(QLatin1Char('A'), Qt::CaseInsensitive)) m_ctrArchivierungsDrucker->SaveData();
  rs->Update();
  rs->Close();
  VorlagenNamenZeigen(intFormNummer, m_ctrFormatdatei->VorlagenName());
}

void frmDruckFormulare::VorlageAnlegen(std::int16_t BerichtArt) {
  std::int16_t nummer = 0;
  bool angelegt = false;
  MitVerbindungen(m_ConnectList, [&] { angelegt = CreateFormular(intFormStatus, nummer, BerichtArt); });
  if (!angelegt) return;
  BaumLaden();
  SetNode(intFormStatus, nummer);
}

void frmDruckFormulare::VorlageLoeschen() {
  if (ui::MsgBox(QStringLiteral("Möchten Sie die aktuelle Vorlage wirklich löschen?"),
                 ui::vbYesNo | ui::vbQuestion | ui::vbDefaultButton2, ui::programTitle()) != ui::vbYes)
    return;
  const std::int16_t status = intFormStatus;
  bool geloescht = false;
  MitVerbindungen(m_ConnectList, [&] { geloescht = DeleteFormular(status, intFormNummer); });
  if (!geloescht) return;
  // The template is gone: nothing of it may be saved when its node is left.
  intFormNummer = 0;
  strKnotenArt.clear();
  m_zeileGeladen = false;
  BaumLaden();
  SetNode(status, 0);
}

void frmDruckFormulare::Kopieren() {
  intQuellFormNummer = intFormNummer;
  intQuellFormStatus = intFormStatus;
  cmdEinfuegen->setEnabled(true);
}

void frmDruckFormulare::Einfuegen() {
  MitVerbindungen(m_ConnectList, [&] {
    CopyFormularDaten(intQuellFormStatus, intQuellFormNummer, intKopierFlags, intFormStatus, intFormNummer);
  });
  WerteLaden();
}

}  // namespace configuration
