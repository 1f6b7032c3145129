// Prices of a position row: unit price, line total, their printed forms, and the row's share of
// the invoice, discount-eligible and discount sums of its VAT class.
#include "engine/frmDrucken.h"
#include "engine/modFormate.h"
#include "foundation/modDouble.h"
#include "foundation/modUtils.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/report/IReportControl.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"

namespace {

// Errors here belong to the row walk and are logged under its name.
template <typename F>
void schritt(F&& step) {
  vb::resumeNext(QStringLiteral("DruckFelderDefinieren"), std::forward<F>(step));
}

vb::Variant spalte(const data::Recordset& rs, const QString& name) {
  return rs.Fields(vb::Variant(name))->Value();
}

double betrag(const data::Recordset& rs, const QString& name) { return vb::CDbl(NZ(spalte(rs, name), 0)); }

// The row's VAT class, the index into the sums; error 9 outside 0 to 3. A row without a class
// goes to the slot of no class: its printed amount must be in the totals.
int klasse(const data::Recordset& rs) {
  const int art = vb::CInt(NZ(spalte(rs, QStringLiteral("MWSTArt")), 0));
  if (art < 0 || art > 3) vb::raise(vb::ErrSubscript);
  return art;
}

}  // namespace

void frmDrucken::PreiseDefinieren(const std::shared_ptr<data::Recordset>& rs) {
  const data::Recordset& r = *rs;
  const QString kEP = QStringLiteral("EP");
  const QString kMenge = QStringLiteral("Menge");

  schritt([&] {
    const vb::Variant ep = spalte(r, kEP);
    DefiniereWert(kEP, vb::IsNumeric(ep) ? vb::CStr(NZ(ep, 0)) : QStringLiteral("0"), report::kTypeNumeric);
  });

  double gp = 0;
  schritt([&] { gp = Runden(betrag(r, kEP) * betrag(r, kMenge), 2); });
  schritt([&] { DefiniereWert(QStringLiteral("GP"), vb::numberToText(gp), report::kTypeNumeric); });

  schritt([&] {
    const bool leer = spalte(r, kMenge).isNull() || blnDruckOhneEP;
    DefiniereWert(QStringLiteral("DruckEP"), leer ? QString() : BetragFormatieren(betrag(r, kEP)), report::kTypeText);
  });
  schritt([&] {
    const bool leer = spalte(r, kMenge).isNull() || blnDruckOhneGP;
    DefiniereWert(QStringLiteral("DruckGP"), leer ? QString() : BetragFormatieren(gp), report::kTypeText);
  });

  // A flag that cannot be read counts as not eligible: no discount is made up for the row.
  bool rabattFaehig = false;
  schritt([&] { rabattFaehig = vb::CBool(NZ(spalte(r, QStringLiteral("RabattFähig")), false)); });

  if (rabattFaehig) schritt([&] { dblRabattfaehigBetrag[klasse(r)] += gp; });
  schritt([&] { dblRechnungsbetrag[klasse(r)] += gp; });

  if (rabattFaehig) {
    schritt([&] {
      double rabatt = 0;
      if (GesamtRabatt() > 0) {
        // The overall discount is a fraction, applied as it stands.
        rabatt = Runden(gp * GesamtRabatt(), 2);
      } else if (betrag(r, QStringLiteral("Rabatt")) > 0) {
        // List price against unit price, with the columns as stored: a Null fails the step.
        rabatt = Runden((vb::CDbl(spalte(r, QStringLiteral("VK"))) - vb::CDbl(spalte(r, kEP))) *
                            vb::CDbl(spalte(r, kMenge)),
                        2);
      } else {
        return;
      }
      dblRabattBetrag[klasse(r)] += rabatt;
    });
  }
}
