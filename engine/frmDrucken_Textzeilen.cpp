// Body rows that do not come from the hand-over table: free text with page breaks, page feeds,
// rule lines and subtotals. None of them traps an error: the caller's handler applies.
#include "engine/frmDrucken.h"
#include "engine/modFormate.h"
#include "foundation/modSkrivant.h"
#include "foundation/modString.h"
#include "platform/report/IReportControl.h"
#include "platform/vb/Convert.h"

namespace {

const QString kSeitenumbruch = QStringLiteral("<Seitenumbruch>");

}  // namespace

void frmDrucken::DruckeTextZeilen(const QString& text, const QString& Zeilentyp, const QString& FeldName) {
  const QString leer;
  LL().DefineReportField(QStringLiteral("Zeilentyp"), Zeilentyp, report::kTypeText);
  LL().DefineReportField(QStringLiteral("Vortext"), leer, report::kTypeText);
  LL().DefineReportField(QStringLiteral("Schlusstext"), leer, report::kTypeText);
  LL().DefineReportField(QStringLiteral("Zahltext"), leer, report::kTypeText);

  // Each piece between page-break marks is one row, its line breaks included.
  QString rest = text;
  while (!rest.isEmpty()) {
    const bool umbruch = vb::InStr(rest, kSeitenumbruch) > 0;
    const QString stueck = GetToken(rest, kSeitenumbruch);
    LL().DefineReportField(FeldName, stueck, report::kTypeText);
    ZeileDrucken();
    if (umbruch) LL().PrintVariables();
  }

  // The rows that follow must not inherit the text.
  LL().DefineReportField(QStringLiteral("Vortext"), leer, report::kTypeText);
  LL().DefineReportField(QStringLiteral("Schlusstext"), leer, report::kTypeText);
  LL().DefineReportField(QStringLiteral("Zahltext"), leer, report::kTypeText);
  LL().DefineReportField(QStringLiteral("Zeilentyp"), leer, report::kTypeText);
}

void frmDrucken::NeueSeite() { LL().PrintVariables(); }

void frmDrucken::DruckeLinie(const QString& name) {
  // The data directory ends with a backslash: the path is joined without a further separator.
  LL().DefineReportField(QStringLiteral("LinieEinfach"),
                         GetDatenverzeichnis() + QStringLiteral("FORMULAR\\") + name + QStringLiteral(".BMP"),
                         report::kTypeDrawing);
  LL().DefineReportField(QStringLiteral("Zeilentyp"), name, report::kTypeText);
  ZeileDrucken();
  DruckFelderDefinieren(nullptr, true);
}

void frmDrucken::DruckeLinieEinfach() { DruckeLinie(QStringLiteral("LEinfach")); }

void frmDrucken::DruckeLinieDoppelt() { DruckeLinie(QStringLiteral("LDoppelt")); }

void frmDrucken::DruckeZwischensumme() {
  DruckFelderDefinieren(nullptr, true);
  const double summe = Rechnungsbetrag();
  LL().DefineReportField(QStringLiteral("Bezeichnung"), QStringLiteral("Zwischensumme"), report::kTypeText);
  if (!blnDruckOhneEP) LL().DefineReportField(QStringLiteral("InfoPreis"), BetragFormatieren(summe), report::kTypeText);
  LL().DefineReportField(QStringLiteral("Zeilentyp"), QStringLiteral("Zwischensumme"), report::kTypeText);
  ZeileDrucken();
  DruckFelderDefinieren(nullptr, true);
}
