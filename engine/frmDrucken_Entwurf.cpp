// The report designer on a template, with every value a real job of that kind defines: the
// print-data handler's own, or the document's values with a fixed set of samples.
#include <QDate>
#include <QScopeGuard>
#include <optional>
#include <vector>

#include "engine/frmDrucken.h"
#include "foundation/modDebugOutput.h"
#include "foundation/modSkrivant.h"
#include "platform/automation/LateBinding.h"
#include "platform/report/IReportControl.h"
#include "platform/vb/Convert.h"
#include "platform/vb/Format.h"

namespace {

using automation::callByName;
using automation::CallKind;

struct Beispiel {
  const char16_t* name;
  QString wert;
  int typ = report::kTypeText;
};

// The sample caller variables, in the order the designer has always listed them: recipient,
// delivery address, dates and numbers, subscription, bank.
std::vector<Beispiel> beispielVariablen() {
  const QString heute = vb::CStr(vb::Variant(QDate::currentDate()));
  const QString heuteFormatiert = vb::Format(vb::Variant(QDate::currentDate()), QStringLiteral("dd.mm.yyyy"));
  const QString neunen = QStringLiteral("99999");
  return {
      {u"Empfänger.SuchName", QStringLiteral("MUSTERMANN")},
      {u"Empfänger.Telefon", neunen},
      {u"Empfänger.Fax", neunen},
      {u"Empfänger.Handy", neunen},
      {u"Empfänger.UmsatzSteuerID", neunen},
      {u"Empfänger.Nummer", neunen},
      {u"Empfänger.eMail", QStringLiteral("max.mustermann@example.de")},
      {u"Empfänger.zuHänden", QStringLiteral("-")},
      {u"Empfänger.Titel", QStringLiteral("Dr.")},
      {u"Empfänger.Anrede", QStringLiteral("Herr")},
      {u"Empfänger.Name1", QStringLiteral("Max Mustermann")},
      {u"Empfänger.Name2", QString()},
      {u"Empfänger.Name3", QString()},
      {u"Empfänger.Strasse", QStringLiteral("Musterstraße 4")},
      {u"Empfänger.Ort", QStringLiteral("Musterhausen")},
      {u"Empfänger.PLZ", QStringLiteral("09999")},
      {u"Empfänger.Land", QStringLiteral("D")},
      {u"Liefer.Titel", QStringLiteral("Dipl. Kfm.")},
      {u"Liefer.Suchname", QStringLiteral("MUSTERFRAU")},
      {u"Liefer.Name1", QStringLiteral("Erika Musterfrau")},
      {u"Liefer.Nummer", QStringLiteral("12345")},
      {u"Liefer.Anrede", QStringLiteral("Herr")},
      {u"Liefer.Name2", QStringLiteral("L.Name2")},
      {u"Liefer.Name3", QStringLiteral("L.Name3")},
      {u"Liefer.Strasse", QStringLiteral("Musterweg 3")},
      {u"Liefer.Ort", QStringLiteral("Musterhausen")},
      {u"Liefer.PLZ", QStringLiteral("07272")},
      {u"Liefer.Land", QStringLiteral("D")},
      {u"ErfassungsDatum", heute},
      {u"RechnungsDatum", heute},
      {u"BuchungsDatum", heute},
      {u"Lieferdatum", heute},
      {u"Konto", neunen},
      {u"GegenKonto", neunen},
      {u"AuftragBestNr", QStringLiteral("20051221")},
      {u"RechnungNr", QStringLiteral("20041221")},
      {u"LieferscheinNr", QStringLiteral("LS00023")},
      {u"AngebotNr", QStringLiteral("ANG002")},
      {u"SkontoZiel", QStringLiteral("14")},
      {u"SkontoSatz", QStringLiteral("3")},
      {u"ZahlZiel", QStringLiteral("14")},
      {u"Bestelldatum", heuteFormatiert},
      {u"VorgangsDatum", heuteFormatiert},
      {u"Abo.Nummer", QStringLiteral("ABO10029")},
      {u"Abo.RechnungNr", QStringLiteral("23434")},
      {u"Abo.LieferscheinNr", QStringLiteral("23423")},
      {u"Bankeinzug", QStringLiteral("0"), report::kTypeBoolean},
      {u"Bankkonto", QStringLiteral("123456789")},
      {u"BLZ", QStringLiteral("99999999")},
      {u"Abo.Benachrichtigung", QStringLiteral("Ausgabe von Abo Benachrichtigung")},
  };
}

}  // namespace

// No trap: an error (a handler without one of its members, say) goes to the caller.
void frmDrucken::OpenDesign(const QString& Dateiname, const vb::Variant& BerichtArt) {
  DebugOutput(QStringLiteral("->frmDrucken.OpenDesign"));
  report::IReportControl& ll = LL();
  ll.SetPrinterDefaultsDir(GetFormularPfad());
  const int art = vb::CInt(BerichtArt);
  // The designer works on the file itself; the caller's name stays as it was.
  QString datei = Dateiname;

  if (DruckdatenHandler) {
    QObject& handler = *DruckdatenHandler;
    callByName(handler, QStringLiteral("LL"), CallKind::Set, {vb::Variant(m_LL)});
    callByName(handler, QStringLiteral("DruckVariablenDefinieren"), CallKind::Method);
    callByName(handler, QStringLiteral("DruckFelderDefinieren"), CallKind::Method, {vb::Variant::nothing()});
    ll.DefineReportVariable(QStringLiteral("Exemplar"), QStringLiteral("0"), report::kTypeNumeric);
    ll.DefineReportVariable(QStringLiteral("Falzstrich"), QStringLiteral("1"), report::kTypeBoolean);
    ll.DefineReportField(QStringLiteral("DatenEOF"), QStringLiteral("1"), report::kTypeBoolean);
    const QString titel = vb::CStr(callByName(handler, QStringLiteral("FensterTitelEntwurf"), CallKind::Get));
    ll.DesignLayout(nullptr, titel, art, datei);
  } else {
    // The samples are for the designer only: the caller's variables and the two switches the
    // samples need come back as they were once it has closed, whatever happened, so the next
    // real document prints no sample address or bank account.
    const std::optional<vb::Collection<std::shared_ptr<clsListElement>>> variablenVorher =
        m_Druckvariablen ? std::optional(*m_Druckvariablen) : std::nullopt;
    const bool rabattVorher = m_RabattProPosition;
    const bool falzVorher = FalzstricheDrucken;
    const auto zurueck = qScopeGuard([&] {
      if (variablenVorher) *m_Druckvariablen = *variablenVorher;
      m_RabattProPosition = rabattVorher;
      FalzstricheDrucken = falzVorher;
    });

    EntwurfBerichtArt = static_cast<short>(art);
    let_RabattProPosition(true);
    FalzstricheDrucken = true;
    ll.StartFields();
    ll.StartVariables();
    for (const Beispiel& b : beispielVariablen()) AddDruckvariable(QString::fromUtf16(b.name), b.wert, b.typ);
    DokumentVariablenDefinieren();
    DruckFelderDefinieren(nullptr, false);
    ll.DesignLayout(nullptr, QStringLiteral("Rechnungsentwurf"), art, datei);
  }
  DebugOutput(QStringLiteral("frmDrucken.OpenDesign->"));
}
