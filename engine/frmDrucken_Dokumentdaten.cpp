// The print window's document data: the keyed value store behind most text properties, the
// caller variables, the plain properties, and the closing lines, deductions and VAT-class totals
// the host hands in or reads back.
#include <QGuiApplication>

#include "engine/frmDrucken.h"
#include "foundation/modFiles.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ProgramInfo.h"
#include "platform/vb/Convert.h"
#include "platform/vb/Format.h"

namespace {

const QString kAusgabeEndpreis = QStringLiteral("AusgabeEndpreis");

// A number as the run time's Str writes it: a blank in place of the plus sign.
QString MitVorzeichenstelle(int n) {
  return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n);
}

}  // namespace

// ---- value stores ----

void frmDrucken::AddValue(const QString& strBez, const vb::Variant& Wert) {
  auto element = std::make_shared<clsListElement>();
  if (m_Werte.Contains(strBez)) m_Werte.Remove(strBez);
  element->Value = Wert;
  element->Key = strBez;
  m_Werte.Add(element, strBez);
}

vb::Variant frmDrucken::GetValue(const QString& strBez, const vb::Variant& DefaultValue) const {
  vb::Variant wert = m_Werte.Contains(strBez) ? m_Werte.Item(strBez)->Value : DefaultValue;
  // Report texts break lines at a lone CR.
  if (wert.isString()) wert = vb::Variant(wert.value().toString().replace(QStringLiteral("\r\n"), QStringLiteral("\r")));
  return wert;
}

void frmDrucken::AddDruckvariable(const QString& Key, const QString& Wert, int LLTyp) {
  auto element = std::make_shared<clsListElement>();
  element->Key = Key;
  element->Value = Wert;
  element->Value2 = LLTyp;
  if (!m_Druckvariablen) vb::raise(vb::ErrObjectNotSet);
  if (m_Druckvariablen->Contains(Key)) m_Druckvariablen->Remove(Key);
  m_Druckvariablen->Add(element, Key);
}

vb::Variant frmDrucken::GetDruckvariable(const QString& Key, const vb::Variant& Default) const {
  if (m_Druckvariablen && m_Druckvariablen->Contains(Key)) return m_Druckvariablen->Item(Key)->Value;
  return Default;
}

// ---- properties kept in the value store ----

void frmDrucken::let_AusgabeEndpreis(const QString& strAusgabeArt) { AddValue(kAusgabeEndpreis, strAusgabeArt); }
QString frmDrucken::AusgabeEndpreis() const { return vb::CStr(GetValue(kAusgabeEndpreis, QStringLiteral("E"))); }

// A net invoice unless the host said otherwise.
bool frmDrucken::NettoRechnung() const { return vb::textEquals(AusgabeEndpreis(), QStringLiteral("E")); }

void frmDrucken::let_KopfZeile(int ZeilenNr, const QString& text) {
  AddValue(QStringLiteral("KopfZeile") + QString::number(ZeilenNr), text);
}
QString frmDrucken::KopfZeile(int ZeilenNr) const {
  return vb::CStr(GetValue(QStringLiteral("KopfZeile") + QString::number(ZeilenNr), QString()));
}
void frmDrucken::let_FussZeile(int ZeilenNr, const QString& text) {
  AddValue(QStringLiteral("FussZeile") + QString::number(ZeilenNr), text);
}
QString frmDrucken::FussZeile(int ZeilenNr) const {
  return vb::CStr(GetValue(QStringLiteral("FussZeile") + QString::number(ZeilenNr), QString()));
}

void frmDrucken::let_DokumentTitel(const QString& strTitel) { AddValue(QStringLiteral("DokumentTitel"), strTitel); }
QString frmDrucken::DokumentTitel() const { return vb::CStr(GetValue(QStringLiteral("DokumentTitel"), QString())); }

QString frmDrucken::Betrefftext() const { return vb::CStr(GetValue(QStringLiteral("Betrefftext"), QString())); }
void frmDrucken::let_Betrefftext(const QString& v) { AddValue(QStringLiteral("Betrefftext"), v); }

bool frmDrucken::AusgabeAlsBlankett() const { return vb::CBool(GetValue(QStringLiteral("AusgabeAlsBlankett"), false)); }
void frmDrucken::let_AusgabeAlsBlankett(bool v) { AddValue(QStringLiteral("AusgabeAlsBlankett"), v); }

void frmDrucken::let_UebertraegeDrucken(bool v) { AddValue(QStringLiteral("ÜberträgeDrucken"), v); }
bool frmDrucken::UebertraegeDrucken() const { return vb::CBool(GetValue(QStringLiteral("ÜberträgeDrucken"), true)); }

bool frmDrucken::UebertraegeProTitel() const { return vb::CBool(GetValue(QStringLiteral("ÜberträgeProTitel"), false)); }
void frmDrucken::let_UebertraegeProTitel(bool v) { AddValue(QStringLiteral("ÜberträgeProTitel"), v); }

void frmDrucken::let_AbsenderSichtfenster(const QString& v) { AddValue(QStringLiteral("AbsenderSichtfenster"), v); }
void frmDrucken::let_AnschriftEmpfaenger(const QString& v) { AddValue(QStringLiteral("AnschriftEmpfaenger"), v); }

void frmDrucken::SetGewerkBlockLabel(int BlockNr, const QString& strLable) {
  AddValue(QStringLiteral("BlockLabel") + vb::Format(BlockNr, QStringLiteral("00")), strLable);
}

void frmDrucken::let_AdrBauherrFeld(const QString& FeldName, const QString& v) {
  AddValue(QStringLiteral("BHAdr_") + FeldName, v);
}
QString frmDrucken::AdrBauherrFeld(const QString& FeldName) const {
  return vb::CStr(GetValue(QStringLiteral("BHAdr_") + FeldName, QString()));
}
void frmDrucken::let_AdrProjektFeld(const QString& FeldName, const QString& v) {
  AddValue(QStringLiteral("PJAdr_") + FeldName, v);
}
QString frmDrucken::AdrProjektFeld(const QString& FeldName) const {
  return vb::CStr(GetValue(QStringLiteral("PJAdr_") + FeldName, QString()));
}

void frmDrucken::let_VorText(const QString& v) { AddValue(QStringLiteral("Vortext"), v); }
QString frmDrucken::SchlussText() const { return vb::CStr(GetValue(QStringLiteral("Schlusstext"), QString())); }
void frmDrucken::let_SchlussText(const QString& v) { AddValue(QStringLiteral("Schlusstext"), v); }
QString frmDrucken::ZahlText() const { return vb::CStr(GetValue(QStringLiteral("Zahltext"), QString())); }
void frmDrucken::let_ZahlText(const QString& v) { AddValue(QStringLiteral("Zahltext"), v); }

QString frmDrucken::Druckwaehrung() const { return vb::CStr(GetValue(QStringLiteral("Druckwährung"), QStringLiteral(" "))); }
void frmDrucken::let_Druckwaehrung(const QString& v) { AddValue(QStringLiteral("Druckwährung"), v); }

// ---- plain properties ----

void frmDrucken::let_Uebergabedatei(const QString& path) {
  if (DateiExistiert(path)) {
    m_Uebergabedatei = path;
    return;
  }
  ui::MsgBox(QStringLiteral("Fehler bei Definition der Übergabedatei '") + path + QStringLiteral("' !"), ui::vbOKOnly,
             ApplicationTitel());
}

// The title every message box of the program shows by default.
void frmDrucken::let_ApplicationTitel(const QString& strTitel) { QGuiApplication::setApplicationDisplayName(strTitel); }
QString frmDrucken::ApplicationTitel() const { return ui::programTitle(); }

void frmDrucken::let_AnzahlKopien(short intWert) {
  m_AnzahlKopien = intWert;
  KopienAusVorlage = false;
}

QString frmDrucken::GetVersion() const {
  const QStringList teile = ui::programVersion().split(QLatin1Char('.'));
  return MitVorzeichenstelle(teile.value(0).toInt()) + QLatin1Char('.') + MitVorzeichenstelle(teile.value(1).toInt());
}

// ---- closing lines, deductions and VAT-class totals ----

void frmDrucken::ClearAbschluss() { Abschluss.clear(); }

void frmDrucken::AddAbschluss(const QString& steuerlabel, const QString& Bezeichnung, bool SummenStrichDavor) {
  Abschluss.push_back({Bezeichnung, steuerlabel, SummenStrichDavor});
}

void frmDrucken::AddAbzugBetrag(bool VorMwStAbziehen, const QString& AbzugBetrag, double MwStSatz,
                                const QString& strText) {
  AbzugEintrag eintrag;
  eintrag.VorMwStAbziehen = VorMwStAbziehen;
  // A gross deduction is kept as its net part.
  eintrag.Betrag = VorMwStAbziehen ? vb::Variant(vb::divide(vb::CDbl(AbzugBetrag), MwStSatz + 1)) : vb::Variant(AbzugBetrag);
  eintrag.MWSTSatz = MwStSatz;
  eintrag.Text = strText;
  Abzuege.push_back(std::move(eintrag));
}

// Slot 0 (rows without a VAT class) counts in the invoice total but not in the discount total.
double frmDrucken::RabattBetrag() const { return RabattBetrag_voll() + RabattBetrag_halb() + RabattBetrag_ohne(); }

double frmDrucken::Rechnungsbetrag() const {
  return dblRechnungsbetrag[0] + dblRechnungsbetrag[1] + dblRechnungsbetrag[2] + dblRechnungsbetrag[3];
}
