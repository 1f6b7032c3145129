// The document's values as report variables, for the page header, footer and closing objects.
#include "engine/frmDrucken.h"
#include "platform/report/IReportControl.h"
#include "platform/vb/Convert.h"
#include "platform/vb/Format.h"

namespace {

// The text variables the old report library read as its variant text kind.
constexpr int kTypeTextVariante = report::kTypeText | 0x1;

}  // namespace

// The fixed 27 first, in the order templates have always seen them, then the caller variables in
// the order they were added. A caller variable with a fixed name is defined again after the fixed
// one, which is how sample values reach the designer. Errors go to the caller.
void frmDrucken::DokumentVariablenDefinieren() {
  report::IReportControl& ll = LL();
  const auto gespeichert = [this](const QString& key) { return vb::CStr(GetValue(key, QString())); };
  const auto zahl = [](double wert) { return vb::numberToText(wert); };

  ll.DefineReportVariable(QStringLiteral("Ausgabemodus"), QString::number(AktAusgabeModus), report::kTypeNumeric);
  ll.DefineReportVariable(QStringLiteral("AnzahlSeiten"), QString::number(Seitenzahl), report::kTypeText);
  // The variables count 1 to 6, the stored keys carry two digits.
  for (int n = 1; n <= 6; ++n)
    ll.DefineReportVariable(QStringLiteral("BlockLabel") + QString::number(n),
                            gespeichert(QStringLiteral("BlockLabel") + vb::Format(n, QStringLiteral("00"))),
                            report::kTypeText);
  ll.DefineReportVariable(QStringLiteral("Exemplar"), DuplikatModus ? QString::number(AktExemplar) : QStringLiteral("0"),
                          report::kTypeNumeric);
  ll.DefineReportVariable(QStringLiteral("AbsenderSichtfenster"), gespeichert(QStringLiteral("AbsenderSichtfenster")),
                          kTypeTextVariante);
  ll.DefineReportVariable(QStringLiteral("AnschriftEmpfaenger"), gespeichert(QStringLiteral("AnschriftEmpfaenger")),
                          kTypeTextVariante);
  ll.DefineReportVariable(QStringLiteral("DokumentTitel"), PlatzhalterErsetzen(DokumentTitel()), kTypeTextVariante);
  ll.DefineReportVariable(QStringLiteral("Zahltext"), ZahlText(), report::kTypeText);
  ll.DefineReportVariable(QStringLiteral("Schlusstext"), SchlussText(), report::kTypeText);
  ll.DefineReportVariable(QStringLiteral("Betrefftext"), PlatzhalterErsetzen(Betrefftext()), report::kTypeText);
  ll.DefineReportVariable(QStringLiteral("MwStSatz_Voll"), zahl(MWSTSatz_Voll()), report::kTypeNumeric);
  ll.DefineReportVariable(QStringLiteral("MwStSatz_Halb"), zahl(MWSTSatz_halb()), report::kTypeNumeric);
  // Templates of old read the rates under these names too.
  ll.DefineReportVariable(QStringLiteral("MwSt_Voll"), zahl(MWSTSatz_Voll()), report::kTypeNumeric);
  ll.DefineReportVariable(QStringLiteral("MwSt_Halb"), zahl(MWSTSatz_halb()), report::kTypeNumeric);
  ll.DefineReportVariable(QStringLiteral("Druckwährung"), Druckwaehrung(), report::kTypeText);
  ll.DefineReportVariable(QStringLiteral("Sachbearbeiter"), gespeichert(QStringLiteral("Sachbearbeiter")),
                          report::kTypeText);
  ll.DefineReportVariable(QStringLiteral("VorgangNr"), gespeichert(QStringLiteral("VorgangNr")), report::kTypeText);
  ll.DefineReportVariable(QStringLiteral("RechnungNr"), gespeichert(QStringLiteral("RechnungNr")), report::kTypeText);
  // SetRechnungDatum stores the invoice date under "RechnungDatum"; read it where it is.
  ll.DefineReportVariable(QStringLiteral("RechnungsDatum"), gespeichert(QStringLiteral("RechnungDatum")),
                          report::kTypeText);
  ll.DefineReportVariable(QStringLiteral("Falzstrich"), FalzstricheDrucken ? QStringLiteral("1") : QStringLiteral("0"),
                          report::kTypeBoolean);
  ll.DefineReportVariable(QStringLiteral("VortextPermanent"), gespeichert(QStringLiteral("Vortext")), report::kTypeText);
  ll.DefineReportVariable(QStringLiteral("FormStatus"), QString::number(intCurFormStatus), report::kTypeNumeric);

  // Before the first Init there are no caller variables.
  if (!m_Druckvariablen) return;
  for (const auto& eintrag : *m_Druckvariablen)
    ll.DefineReportVariable(eintrag.value->Key, vb::CStr(eintrag.value->Value), vb::CLng(eintrag.value->Value2));
}
