// Application's document-content members: each hands its value to the print window, with the
// few small changes made on the way (header line numbers, line breaks, deduction texts, rates).
#include "automation/Application.h"
#include "engine/frmDrucken.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ProgramInfo.h"
#include "platform/vb/Convert.h"
#include "platform/vb/Format.h"
#include "platform/vb/VbError.h"

namespace {

// Report texts break lines at a lone CR.
QString OhneCrLf(const QString& text) { return QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\r")); }

// The next header line number of a page: the counter goes up first and is kept even when the line
// number it gives is out of range. Both are bytes; passing 255 is error 6.
int KopfZeilenNr(std::uint8_t& zaehler, int versatz) {
  if (zaehler == 255) vb::raise(vb::ErrOverflow);
  ++zaehler;
  const int nr = zaehler + versatz;
  if (nr > 255) vb::raise(vb::ErrOverflow);
  return nr;
}

}  // namespace

// A document value by name, kept in the print window's value store. Empty.
vb::Variant Application::WertSetzen(const QString& name, const vb::Variant& wert) {
  m_fenster->AddValue(name, wert);
  return {};
}

void Application::ClearAbschluss() { m_fenster->ClearAbschluss(); }

void Application::AddAbschluss(const QString& steuerlabel, const QString& Bezeichnung,
                               const vb::Variant& SummenStrichDavor) {
  const bool strich = !SummenStrichDavor.isMissing() && !SummenStrichDavor.isNull() && !SummenStrichDavor.isEmpty() &&
                      vb::CBool(SummenStrichDavor);
  m_fenster->AddAbschluss(steuerlabel, Bezeichnung, strich);
}

void Application::let_GesamtRabatt(double v) { m_fenster->let_GesamtRabatt(v); }
double Application::GesamtRabatt() const { return m_fenster->GesamtRabatt(); }
double Application::MWSTSatz_Voll() const { return m_fenster->MWSTSatz_Voll(); }
void Application::let_MWSTSatz_Voll(double v) { m_fenster->let_MWSTSatz_Voll(v); }
double Application::MWSTSatz_halb() const { return m_fenster->MWSTSatz_halb(); }
void Application::let_MWSTSatz_halb(double v) { m_fenster->let_MWSTSatz_halb(v); }
void Application::let_StapelDruck(bool v) { m_fenster->let_StapelDruck(v); }
void Application::let_PDFArchivDatei(const QString& v) { m_fenster->let_PDFArchivDatei(v); }
void Application::let_RabattProPosition(bool v) { m_fenster->let_RabattProPosition(v); }
bool Application::RabattProPosition() const { return m_fenster->RabattProPosition(); }

vb::Variant Application::SetAnzahlKopien(std::int16_t Anzahl) {
  m_fenster->let_AnzahlKopien(Anzahl);
  return {};
}

void Application::ClearAnzahlKopien() { m_fenster->ClearAnzahlKopien(); }

bool Application::SetDokumentTitle(const QString& DokumentTitel) {
  m_fenster->let_ApplicationTitel(DokumentTitel);
  return false;
}

// The printer is chosen by the form's routes.
vb::Variant Application::ShowDruckerAuswahl(const QString&, std::int32_t) { return {}; }

bool Application::DruckeOhneEPGP() {
  m_fenster->let_DruckOhneEPGP(true);
  return false;
}

bool Application::SetFormToBlankett() {
  m_fenster->let_AusgabeAlsBlankett(true);
  return false;
}

// Fonts are the template's business.
bool Application::SetAktuelleFont(const QString&, std::int16_t, std::int16_t, std::int16_t, std::int16_t,
                                  std::int16_t) {
  return true;
}

bool Application::SetKopfSeite1(const QString& Kopftext, std::int16_t, std::int16_t, std::int16_t, std::int16_t) {
  m_fenster->let_KopfZeile(KopfZeilenNr(m_KopfZaehler1, 0), Kopftext);
  return false;
}

bool Application::SetKopfSeite2(const QString& Kopftext, std::int16_t, std::int16_t, std::int16_t, std::int16_t) {
  m_fenster->let_KopfZeile(KopfZeilenNr(m_KopfZaehler2, 20), Kopftext);
  return false;
}

vb::Variant Application::SetAbsender(const QString& AbsenderText) {
  m_fenster->let_AbsenderSichtfenster(AbsenderText);
  return {};
}

vb::Variant Application::SetAnschrift(const QString& AnschriftText, std::int16_t) {
  m_fenster->let_AnschriftEmpfaenger(OhneCrLf(AnschriftText));
  return {};
}

vb::Variant Application::SetBetreffText(const QString& Betrefftext, std::int32_t, std::int32_t, std::int32_t,
                                        std::int16_t, std::int16_t) {
  m_fenster->let_Betrefftext(Betrefftext);
  return {};
}

vb::Variant Application::SetAdrFeld(const QString& AdrArt, const QString& FeldName, const QString& strWert) {
  if (vb::textEquals(AdrArt, QStringLiteral("Projekt")))
    m_fenster->let_AdrProjektFeld(FeldName, strWert);
  else if (vb::textEquals(AdrArt, QStringLiteral("Bauherr")))
    m_fenster->let_AdrBauherrFeld(FeldName, strWert);
  else
    ui::MsgBox(QStringLiteral("SetAdrFeld mit ungültiger AdrArt aufgerufen. (Projekt bzw. Bauherr)"), ui::vbOKOnly,
               ui::programTitle());
  return {};
}

vb::Variant Application::SetFormBez(const QString& Bezeichnung) {
  m_fenster->let_DokumentTitel(Bezeichnung);
  return {};
}

vb::Variant Application::SetLeerzeilenZwischenPos(std::int32_t LeerzeilenAnzahl) {
  m_fenster->let_LeerzeilenZwischenPositionen(vb::CInt(vb::Variant(LeerzeilenAnzahl)));
  return {};
}

vb::Variant Application::SetKundenNr(std::int32_t lngKundenNr) {
  return WertSetzen(QStringLiteral("KundenNr"), vb::Variant(lngKundenNr));
}

vb::Variant Application::SetVorgangNr(const QString& VorgangNr) {
  return WertSetzen(QStringLiteral("VorgangNr"), VorgangNr);
}

vb::Variant Application::SetRechnungNr(const QString& RechnungNr) {
  return WertSetzen(QStringLiteral("RechnungNr"), RechnungNr);
}

vb::Variant Application::SetBestellungNr(const QString& strWert) {
  return WertSetzen(QStringLiteral("BestellungNr"), strWert);
}

vb::Variant Application::SetRemissionNr(const QString& strWert) {
  return WertSetzen(QStringLiteral("RemissionNr"), strWert);
}

vb::Variant Application::SetSachbearbeiter(const QString& strWert) {
  return WertSetzen(QStringLiteral("Sachbearbeiter"), strWert);
}

vb::Variant Application::SetRechnungDatum(const QDateTime& datWert) {
  return WertSetzen(QStringLiteral("RechnungDatum"), datWert);
}

vb::Variant Application::SetUebertrag(std::int16_t UebertragDrucken) {
  m_fenster->let_UebertraegeDrucken(UebertragDrucken != 0);
  return {};
}

vb::Variant Application::DruckeBeiUebertragTitelSummen() {
  m_fenster->let_UebertraegeProTitel(true);
  return {};
}

vb::Variant Application::SetAbschlag(const QString& Brutto_Netto, const QString& AbschlagText, double Betrag) {
  m_fenster->AddAbzugBetrag(vb::textEquals(Brutto_Netto, QStringLiteral("N")),
                            vb::Format(vb::Variant(Betrag), QStringLiteral("#,##0.00#")), 0,
                            QStringLiteral("- ") + AbschlagText);
  return {};
}

// The closing amounts are the template's and the closing block's business.
vb::Variant Application::SetGesamt(const QString&, const QString&, const QString&, const QString&, const QString&,
                                   const QString&) {
  return {};
}

void Application::let_NettoRechnung(bool v) {
  m_fenster->let_AusgabeEndpreis(v ? QStringLiteral("E") : QStringLiteral("I"));
}

bool Application::NettoRechnung() const { return m_fenster->NettoRechnung(); }

vb::Variant Application::SetAbschluss(const QString& MwSt_Satz, const QString& Art_MWSt, const QString&, const QString&,
                                      const QString&, const QString&, const QString&, const QString&) {
  m_fenster->let_MWSTSatz_Voll(vb::Val(MwSt_Satz) / 100);
  m_fenster->let_AusgabeEndpreis(Art_MWSt);
  return {};
}

vb::Variant Application::SetVorText(const QString& VorText) {
  m_fenster->let_VorText(VorText);
  return {};
}

vb::Variant Application::SetSchlussText(const QString& SchlussText) {
  m_fenster->let_SchlussText(OhneCrLf(SchlussText));
  return {};
}

vb::Variant Application::SetZahlText(const QString& ZahlText) {
  m_fenster->let_ZahlText(OhneCrLf(ZahlText));
  return {};
}
