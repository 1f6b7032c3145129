#include "automation/clsMahnungDrucken.h"

#include <QDate>
#include <QLocale>
#include <QScopeGuard>
#include <cmath>

#include "automation/clsMahnDruckHandler.h"
#include "automation/Druckstapelfortschritt.h"
#include "engine/Druckfenster.h"
#include "engine/frmDrucken.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/frmInfoFenster.h"
#include "foundation/modDebugOutput.h"
#include "foundation/modDouble.h"
#include "foundation/modSkrivant.h"
#include "foundation/modUtils.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/report/IReportControl.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/VbError.h"

namespace {

const QString kQuelle = QStringLiteral("Skrivant.clsMahnungDrucken");
constexpr short kFormStatusMahnung = 130;
constexpr int kTypDatumTageszahl = 0x04000002;
constexpr int kFussZeilen = 10;

void spalte(clsDataCollection& daten, const QString& name, const vb::Variant& wert, int typ) {
  daten.let_DataValue(name, vb::Variant(typ), wert);
}

bool istFussZeile(const DataRecordPtr& satz) {
  return satz->Contains(QStringLiteral("Zeilentyp")) &&
         vb::CStr(satz->Item(QStringLiteral("Zeilentyp"))->Value).startsWith(QStringLiteral("FUSS"));
}

QString feldText(const data::Recordset& rs, const QString& name) {
  return vb::CStr(NZ(rs.Fields(vb::Variant(name))->Value()));
}

}  // namespace

clsMahnungDrucken::clsMahnungDrucken() {
  DebugOutputInit(QStringLiteral("DEBUG.TXT"));
  m_fenster = DruckfensterLaden();
  m_ConnectList = std::make_shared<clsConnectionHandler>();
  Clear();
}

clsMahnungDrucken::~clsMahnungDrucken() {
  m_InfoFenster.reset();
  if (m_fenster && m_fenster->DruckdatenHandler == m_handler) m_fenster->DruckdatenHandler.reset();
  m_fenster.reset();
  m_ConnectList.reset();
  m_handler.reset();
}

vb::Variant clsMahnungDrucken::ConnectList() const { return vb::Variant(m_ConnectList); }

void clsMahnungDrucken::set_ConnectList(const vb::Variant& handler) {
  m_ConnectList = EigeneVerbindungen(handler, kQuelle);
}

bool clsMahnungDrucken::Clear() {
  m_fenster->Init();
  m_offenerBetrag = 0;
  m_handler = std::make_shared<clsMahnDruckHandler>();
  // A count the host set was for the letter just ended; the next one takes its form's count again.
  if (m_kopienGesetzt) {
    m_fenster->let_AnzahlKopien(1);
    m_fenster->ClearAnzahlKopien();
    m_kopienGesetzt = false;
  }
  return true;
}

void clsMahnungDrucken::let_Datenverzeichnis(const QString& Pfad) { SetDatenverzeichnis(Pfad); }
QString clsMahnungDrucken::GetVersion() const { return m_fenster->GetVersion(); }
void clsMahnungDrucken::let_PDFArchivDatei(const QString& Datei) { m_fenster->let_PDFArchivDatei(Datei); }

vb::Variant clsMahnungDrucken::SetDruckwaehrung(const QString& Druckwaehrung) {
  wert(QStringLiteral("Druckwährung"), Druckwaehrung);
  m_fenster->let_Druckwaehrung(Druckwaehrung);
  return {};
}

bool clsMahnungDrucken::IsBesetzt() const { return m_fenster->Running(); }
std::int32_t clsMahnungDrucken::GetExitCode() const { return m_fenster->ExitCode(); }

vb::Variant clsMahnungDrucken::OpenDesign(const QString& Dateiname) {
  KeinLaufenderAuftrag(*m_fenster, kQuelle);
  frmDrucken& f = *m_fenster;
  // The samples fill a letter of their own; the host's letter, copy count and titles come back
  // afterwards.
  const auto brief = m_handler;
  const double offen = m_offenerBetrag;
  const short kopien = f.AnzahlKopien();
  const bool kopienAusVorlage = f.KopienAusVorlage;
  const bool kopienGesetzt = m_kopienGesetzt;
  const QString jobTitel = f.ApplicationTitel();
  const QString dokumentTitel = f.DokumentTitel();
  const auto zurueck = qScopeGuard([&] {
    f.DruckdatenHandler.reset();
    m_handler = brief;
    m_offenerBetrag = offen;
    f.let_AnzahlKopien(kopien);
    f.KopienAusVorlage = kopienAusVorlage;
    m_kopienGesetzt = kopienGesetzt;
    f.let_ApplicationTitel(jobTitel);
    f.let_DokumentTitel(dokumentTitel);
  });
  m_handler = std::make_shared<clsMahnDruckHandler>();
  m_offenerBetrag = 0;
  f.set_DruckdatenHandler(vb::Variant(m_handler));
  f.LL().StartFields();
  f.LL().StartVariables();
  WerteFuerEntwurfErzeugen();
  f.OpenDesign(Dateiname, vb::Variant(std::int16_t(2)));
  return {};
}

vb::Variant clsMahnungDrucken::SetAnzahlKopien(std::int16_t Anzahl) {
  m_fenster->let_AnzahlKopien(Anzahl);
  m_kopienGesetzt = true;
  return {};
}

bool clsMahnungDrucken::SetDokumentTitle(const QString& DokumentTitel) {
  m_fenster->let_ApplicationTitel(DokumentTitel);
  return false;
}

std::int16_t clsMahnungDrucken::AddToDruckstapel(const QString& DruckInfo) {
  // The progress window lets the host's calls in; one of them may be the host's last release.
  const auto selbst = weak_from_this().lock();
  const QString& text = DruckInfo;
  KeinLaufenderAuftrag(*m_fenster, kQuelle);
  FussZeilenAnhaengen();
  m_fenster->set_DruckdatenHandler(vb::Variant(m_handler));
  m_fenster->StartPrintAllgemein(3, vb::Variant(false));
  FortschrittZeigen(m_InfoFenster, this, text);
  const bool abgebrochen = m_abbruch;
  Clear();
  return abgebrochen ? 1 : 0;
}

void clsMahnungDrucken::CancelOutput() {
  if (m_InfoFenster) m_InfoFenster->set_Parent(nullptr);
  m_abbruch = true;
}

std::int32_t clsMahnungDrucken::Ausgeben(std::int16_t AusgabeModus) {
  KeinLaufenderAuftrag(*m_fenster, kQuelle);
  m_InfoFenster.reset();
  if (AusgabeModus == 4) {
    // One copy for this file only: the form's count still counts for the letters after it.
    const bool ausVorlage = m_fenster->KopienAusVorlage;
    m_fenster->let_AnzahlKopien(1);
    m_fenster->KopienAusVorlage = ausVorlage;
  }
  FussZeilenAnhaengen();
  m_fenster->set_DruckdatenHandler(vb::Variant(m_handler));
  m_fenster->StartPrintAllgemein(AusgabeModus, vb::Variant(false));
  return 0;
}

// The letter's rows with the ten footer rows after its invoices: the footer rows of an earlier
// output of the same letter are replaced, not added to.
void clsMahnungDrucken::FussZeilenAnhaengen() {
  const auto alt = m_handler->Daten();
  auto neu = std::make_shared<clsDataCollection>();
  alt->MoveFirst();
  while (!alt->Eof()) {
    const DataRecordPtr satz = alt->objCurDataRecord();
    if (!istFussZeile(satz)) {
      neu->set_objCurDataRecord(satz);
      neu->Save();
    }
    alt->MoveNext();
  }
  const vb::Variant heute(Tageszahl(QDateTime::currentDateTime()));
  for (int i = 1; i <= kFussZeilen; ++i) {
    neu->AddNew();
    spalte(*neu, QStringLiteral("Zeilentyp"), QStringLiteral("FUSS") + QString::number(i), report::kTypeText);
    spalte(*neu, QStringLiteral("Mahnstufe"), 0, report::kTypeNumeric);
    spalte(*neu, QStringLiteral("RechnungNr"), QString(), report::kTypeText);
    spalte(*neu, QStringLiteral("RechnungDatum"), heute, kTypDatumTageszahl);
    spalte(*neu, QStringLiteral("FälligDatum"), heute, kTypDatumTageszahl);
    spalte(*neu, QStringLiteral("BruttoBetrag"), 0, report::kTypeNumeric);
    spalte(*neu, QStringLiteral("ZahlBetrag"), 0, report::kTypeNumeric);
    spalte(*neu, QStringLiteral("ExterneBemerkung"), QString(), report::kTypeText);
    neu->Save();
  }
  m_handler->set_Data(vb::Variant(neu));
}

void clsMahnungDrucken::wert(const QString& name, const vb::Variant& v) { m_handler->AddValue(name, v); }

QString clsMahnungDrucken::textWert(const QString& name) const {
  const vb::Variant v = m_handler->GetValue(name);
  return v.isEmpty() ? QString() : vb::CStr(v);
}

void clsMahnungDrucken::let_Sachbearbeiter(const QString& v) { wert(QStringLiteral("Sachbearbeiter"), v); }
void clsMahnungDrucken::let_KundenNr(const QString& v) { wert(QStringLiteral("KundenNr"), v); }
void clsMahnungDrucken::let_Druckdatum(const QDateTime& v) { wert(QStringLiteral("Druckdatum"), v); }
void clsMahnungDrucken::let_AbsenderSichtfenster(const QString& v) { wert(QStringLiteral("AbsenderSichtfenster"), v); }
void clsMahnungDrucken::let_DefineVariable(const QString& FeldName, const QString& v) { wert(FeldName, v); }
void clsMahnungDrucken::let_Anschrift(const QString& v) { wert(QStringLiteral("AnschriftEmpfänger"), v); }
void clsMahnungDrucken::let_DatumZahlziel(const QDateTime& v) { wert(QStringLiteral("Zahlziel"), v); }
void clsMahnungDrucken::let_DatumLetztZahlungseingang(const QDateTime& v) {
  wert(QStringLiteral("DatumLetztZahlungseingang"), v);
}
void clsMahnungDrucken::let_Verzugszinsen(double v) { wert(QStringLiteral("Verzugszinsen"), v); }
void clsMahnungDrucken::let_Mahngebuehren(double v) { wert(QStringLiteral("Mahngebühren"), v); }
void clsMahnungDrucken::let_Betrefftext(const QString& v) { wert(QStringLiteral("Betrefftext"), v); }
void clsMahnungDrucken::let_Briefanrede(const QString& v) { let_DefineVariable(QStringLiteral("Briefanrede"), v); }
void clsMahnungDrucken::let_MahnstufenText(const QString& v) { let_DefineVariable(QStringLiteral("MahnstufenText"), v); }
void clsMahnungDrucken::let_VorText(const QString& v) { wert(QStringLiteral("Vortext"), v); }
QString clsMahnungDrucken::VorText() const { return textWert(QStringLiteral("Vortext")); }
void clsMahnungDrucken::let_SchlussText(const QString& v) { wert(QStringLiteral("Schlusstext"), v); }
QString clsMahnungDrucken::SchlussText() const { return textWert(QStringLiteral("Schlusstext")); }

void clsMahnungDrucken::AddRechnung(std::int16_t Mahnstufe, const QString& RechnungNr, const QDateTime& RechDatum,
                                    const QDateTime& FaelligDatum, double BruttoBetrag, double BisherGezahlt,
                                    const QString& ExterneBemerkung) {
  clsDataCollection& daten = *m_handler->Daten();
  daten.AddNew();
  spalte(daten, QStringLiteral("Mahnstufe"), Mahnstufe, report::kTypeNumeric);
  spalte(daten, QStringLiteral("RechnungNr"), RechnungNr, report::kTypeText);
  spalte(daten, QStringLiteral("RechnungDatum"), Tageszahl(RechDatum), kTypDatumTageszahl);
  spalte(daten, QStringLiteral("FälligDatum"), Tageszahl(FaelligDatum), kTypDatumTageszahl);
  spalte(daten, QStringLiteral("BruttoBetrag"), BruttoBetrag, report::kTypeNumeric);
  spalte(daten, QStringLiteral("ZahlBetrag"), BisherGezahlt, report::kTypeNumeric);
  spalte(daten, QStringLiteral("ExterneBemerkung"), ExterneBemerkung, report::kTypeText);
  spalte(daten, QStringLiteral("Zeilentyp"), QStringLiteral("RECH"), report::kTypeText);
  daten.Save();
  // Rounded again so that a long letter does not gather binary remainders.
  m_offenerBetrag = Runden(m_offenerBetrag + Runden(BruttoBetrag, 2) - Runden(BisherGezahlt, 2), 2);
  wert(QStringLiteral("OffenerBetrag"), m_offenerBetrag);
}

vb::Variant clsMahnungDrucken::SetFormBez(const QString& Bezeichnung) {
  m_fenster->let_DokumentTitel(Bezeichnung);
  return {};
}

vb::Variant clsMahnungDrucken::SetDruckerOptionen(std::int16_t Status, std::int16_t Vorlage) {
  SetGlobalConnectList(m_ConnectList);
  m_fenster->SetDruckerOptionen(Status, Vorlage);
  MahnTexteLaden();
  return {};
}

void clsMahnungDrucken::MahnTexteLaden() {
  const short nummer = m_fenster->intCurFormNummer;
  const short status = m_fenster->intCurFormStatus;
  if (status != kFormStatusMahnung || nummer <= 0) return;
  // The level is the text's numeric value: a word ("Zahlungserinnerung"), an empty text or 0 is
  // no level and loads nothing.
  const QString stufeText = textWert(QStringLiteral("MahnstufenText"));
  if (vb::Val(stufeText) <= 0) return;
  // The level row is looked up by the text itself, so the whole text must be a number: one that
  // goes on with other text ("2abc") cannot be compared and is refused. A number that no level
  // row can hold ("2.5") finds none, and the form's own texts are taken.
  QLocale c = QLocale::c();
  c.setNumberOptions(QLocale::RejectGroupSeparator);
  bool zahl = false;
  const double stufeWert = c.toDouble(stufeText.trimmed(), &zahl);
  if (!zahl)
    vb::raise(vb::ErrTypeMismatch, kQuelle, QStringLiteral("Die Mahnstufe \"%1\" ist keine Zahl.").arg(stufeText));
  const bool stufenZeile = stufeWert == std::trunc(stufeWert) && stufeWert <= 32767;
  if (!m_ConnectList) vb::raise(vb::ErrObjectNotSet, kQuelle);
  const vb::Variant verbindung(m_ConnectList->SQLGruppe_Connection(4));
  const QString form = QStringLiteral(" WHERE FormNummer=? AND FormStatus=?");

  QString vor, schluss;
  if (stufenZeile) {
    // The level goes into the statement as a number, never as the host's text.
    data::Recordset stufenTexte;
    stufenTexte.Open(QStringLiteral("SELECT * FROM Auftrag_Formular_Mahnung") + form + QStringLiteral(" AND Mahnstufe=?"),
                     verbindung, data::adOpenDynamic, data::adLockOptimistic, data::adCmdUnspecified,
                     {nummer, status, static_cast<int>(stufeWert)});
    if (!stufenTexte.Eof()) {
      wert(QStringLiteral("Betrefftext"), feldText(stufenTexte, QStringLiteral("Überschrift")));
      vor = feldText(stufenTexte, QStringLiteral("VorText"));
      schluss = feldText(stufenTexte, QStringLiteral("SchlussText"));
      if (!vor.isEmpty()) wert(QStringLiteral("Vortext"), vor);
      if (!schluss.isEmpty()) wert(QStringLiteral("Schlusstext"), schluss);
    }
    stufenTexte.Close();
  }

  data::Recordset formTexte;
  formTexte.Open(QStringLiteral("SELECT * FROM Auftrag_Formular_Neu") + form, verbindung, data::adOpenDynamic,
                 data::adLockOptimistic, data::adCmdUnspecified, {nummer, status});
  if (!formTexte.Eof()) {
    wert(QStringLiteral("AbsenderSichtfenster"), feldText(formTexte, QStringLiteral("Absender")));
    if (vor.isEmpty()) wert(QStringLiteral("Vortext"), feldText(formTexte, QStringLiteral("Betrefftext")));
    if (schluss.isEmpty()) wert(QStringLiteral("Schlusstext"), feldText(formTexte, QStringLiteral("AllgemeinSchlussText")));
  }
  formTexte.Close();
}

void clsMahnungDrucken::WerteFuerEntwurfErzeugen() {
  const QDateTime heute = QDateTime::currentDateTime();
  let_Sachbearbeiter(QStringLiteral("Sachbearbeiter"));
  let_KundenNr(QStringLiteral("99999"));
  let_Druckdatum(heute);
  let_Betrefftext(QStringLiteral("Mahnung"));
  let_DatumLetztZahlungseingang(QDateTime(QDate(2003, 5, 19), QTime(0, 0)));
  let_DatumZahlziel(heute.addDays(10));
  let_DefineVariable(QStringLiteral("MahnstufenText"), QStringLiteral("1"));
  let_Mahngebuehren(1.0);
  let_Verzugszinsen(1.3);
  let_VorText(QStringLiteral("Vortext für die Mahnung"));
  let_SchlussText(QStringLiteral("Schlusstext für die Mahnung"));
  let_DefineVariable(QStringLiteral("Briefanrede"), QStringLiteral("Sehr geehrter Herr Mustermann,"));
  let_AbsenderSichtfenster(QStringLiteral("Buchhandlung am Markt · Marktplatz 1 · 12345 Musterstadt"));
  m_handler->AddValue(QStringLiteral("OffenerBetrag"), 952.3);
  let_Anschrift(QStringLiteral("Firma\r\nMax Mustermann\r\nMusterstraße 4\r\n99999 Musterhausen"));
  SetDokumentTitle(QStringLiteral("Mahnung"));
  SetFormBez(QStringLiteral("Mahnung"));
  SetAnzahlKopien(1);
  SetDruckwaehrung(QStringLiteral("€"));
  AddRechnung(1, QStringLiteral("111111"), QDateTime(QDate(2003, 1, 1), QTime(0, 0)),
              QDateTime(QDate(2003, 1, 10), QTime(0, 0)), 1000.0, 50.0,
              QStringLiteral("Hier kann eine externe Bemerkung stehen"));
  FussZeilenAnhaengen();
}
