// The closing block below the positions: subtotals, VAT per rate, contained VAT, the overall
// discount and the final amount, in the order of the caller's closing lines; and the reading of
// an amount text. No error is trapped here: the document print's handler applies.
#include "engine/frmDrucken.h"
#include "engine/modFormate.h"
#include "foundation/clsProgVorgaben.h"
#include "foundation/modDouble.h"
#include "foundation/modWaehrungen.h"
#include "platform/report/IReportControl.h"
#include "platform/vb/Convert.h"
#include "platform/vb/Format.h"

namespace {

// A total of amounts in cents: a sum of doubles gathers fractions no amount has.
template <std::size_t N>
double summe(const std::array<double, N>& werte) {
  double s = 0;
  for (double w : werte) s += w;
  return Runden(s, 2);
}

// Balances the four slots to `soll` in place.
void ausgleichen(double soll, std::array<double, 4>& werte) {
  QList<vb::Variant> liste;
  for (double w : werte) liste.append(vb::Variant(w));
  RundungsdifferenzAusgleichen(soll, liste);
  for (std::size_t i = 0; i < werte.size(); ++i) werte[i] = vb::CDbl(liste.at(static_cast<qsizetype>(i)));
}

}  // namespace

void frmDrucken::SummenLoeschen() {
  dblRechnungsbetrag.fill(0);
  dblRabattfaehigBetrag.fill(0);
  dblRabattBetrag.fill(0);
  dblMWSTBetrag.fill(0);
  GesamtrabattAbgezogen = false;
}

double frmDrucken::BetragAusText(const QString& text) {
  const int komma = vb::InStr(text, QStringLiteral(","));
  const int punkt = vb::InStr(text, QStringLiteral("."));
  QString zahl = text;
  if (komma == 0 || punkt == 0) {
    zahl.replace(QLatin1Char(','), QLatin1Char('.'));
  } else if (punkt < komma) {
    zahl.remove(QLatin1Char('.'));
    zahl.replace(QLatin1Char(','), QLatin1Char('.'));
  } else {
    zahl.remove(QLatin1Char(','));
  }
  return vb::Val(zahl);
}

void frmDrucken::DruckeAbschluss() {
  const auto leeren = [this] { DruckFelderDefinieren(nullptr, true); };
  const auto zeile = [this](const QString& bezeichnung, const QString& infoPreis, const QString& zeilentyp) {
    LL().DefineReportField(QStringLiteral("Bezeichnung"), bezeichnung, report::kTypeText);
    LL().DefineReportField(QStringLiteral("InfoPreis"), infoPreis, report::kTypeText);
    LL().DefineReportField(QStringLiteral("Zeilentyp"), zeilentyp, report::kTypeText);
    LL().DefineReportField(QStringLiteral("ÜbertragDrucken"), QStringLiteral("NEIN"), report::kTypeText);
    ZeileDrucken();
  };
  const auto satzText = [](double satz) { return vb::Format(vb::Variant(satz), GetMWSTSatzFormat()); };

  let_UebertraegeDrucken(false);
  leeren();
  if (blnDruckOhneGP) return;

  const std::size_t anzahl = Abschluss.size();
  for (std::size_t n = 0; n < anzahl; ++n) {
    const AbschlussZeile eintrag = Abschluss.at(n);
    const QString& b = eintrag.Bezeichnung;
    const auto ist = [&eintrag](const char* art) { return vb::textEquals(eintrag.Key, QString::fromLatin1(art)); };
    if (eintrag.LinieEinfach) DruckeLinieEinfach();

    if (ist("Zwischensumme")) {
      zeile(b, BetragFormatieren(summe(dblRechnungsbetrag)), QStringLiteral("RechnungZwischensumme"));
      leeren();
    } else if (ist("ZwischensummeMWST")) {
      for (int i = 0; i <= 3; ++i) {
        leeren();
        if (dblRechnungsbetrag[i] == 0) continue;
        const double satz = i == 1 ? MWSTSatz_Voll() : i == 2 ? MWSTSatz_halb() : 0;
        zeile(vb::replaceText(b, QStringLiteral("MWSTSatz"), satzText(satz)), BetragFormatieren(dblRechnungsbetrag[i]),
              QStringLiteral("RechnungZwischensumme"));
      }
    } else if (ist("MWST") || ist("EnthalteneMWST")) {
      if (Steuerbefreit()) continue;
      const bool enthalten = ist("EnthalteneMWST");
      dblMWSTBetrag[1] = 0;
      dblMWSTBetrag[2] = 0;
      leeren();
      double netto = summe(dblRechnungsbetrag);
      for (int c = 1; c <= 2; ++c) {
        const double a = dblRechnungsbetrag[c];
        if (a == 0) continue;
        const double satz = c == 1 ? MWSTSatz_Voll() : MWSTSatz_halb();
        // VAT is money: in cents whatever the amount format shows, and the stored VAT is the
        // printed one.
        const double mwst = Runden(enthalten ? a - vb::divide(a, satz + 1) : satz * a, 2);
        const QString t = BetragFormatieren(mwst);
        dblMWSTBetrag[c] = mwst;
        netto = Runden(netto - mwst, 2);
        const QString bezeichnung = vb::replaceText(vb::replaceText(b, QStringLiteral("[MWSTSatz]"), satzText(satz)),
                                                    QStringLiteral("[Betrag]"), BetragFormatieren(a));
        if (enthalten) {
          zeile(bezeichnung, t, QStringLiteral("EnthaltenerMWSTBetrag"));
        } else {
          dblRechnungsbetrag[c] = a + dblMWSTBetrag[c];
          zeile(bezeichnung, t, QStringLiteral("MWSTBetrag"));
        }
      }
      if (enthalten && netto != 0) {
        leeren();
        // A host that printed no batch has handed in no settings: the text's default applies, so
        // the closing lines after this one (the final amount among them) are not lost.
        const vb::Variant standard(QStringLiteral("Der Nettobetrag der Rechnung beträgt: [RechNettoBetrag] €"));
        const QString info = vb::CStr(
            objVorgaben ? objVorgaben->Value(QStringLiteral("SKRV_NettoBetragInfoText"), standard) : standard);
        zeile(vb::replaceText(info, QStringLiteral("[RechNettoBetrag]"), BetragFormatieren(netto)),
              BetragFormatieren(netto), QStringLiteral("EnthaltenerMWSTBetrag"));
      }
      leeren();
    } else if (ist("Brutto") || ist("Netto")) {
      leeren();
      // The running total at this point of the list; "<EndBetrag>" prints the last one.
      strEndBetrag = BetragFormatieren(summe(dblRechnungsbetrag));
      zeile(b, strEndBetrag, QStringLiteral("Endbetrag"));
    } else if (ist("Gesamtrabatt")) {
      const double g = GesamtRabatt();
      const double rabatt = Runden(-g * summe(dblRabattfaehigBetrag), 2);
      for (std::size_t i = 0; i < dblRabattBetrag.size(); ++i) dblRabattBetrag[i] = Runden(-g * dblRabattfaehigBetrag[i], 2);
      ausgleichen(rabatt, dblRabattBetrag);
      double neu = summe(dblRechnungsbetrag);
      for (std::size_t i = 0; i < dblRechnungsbetrag.size(); ++i) dblRechnungsbetrag[i] += dblRabattBetrag[i];
      neu += rabatt;
      ausgleichen(neu, dblRechnungsbetrag);
      GesamtrabattAbgezogen = true;
      zeile(vb::replaceText(b, QStringLiteral("[Gesamtrabatt]"), vb::Format(vb::Variant(-g), GetProzentFormat())),
            BetragFormatieren(rabatt), QStringLiteral("Gesamtrabatt"));
    } else if (ist("LinieEinfach")) {
      leeren();
      DruckeLinieEinfach();
    } else if (ist("LinieDoppelt")) {
      leeren();
      DruckeLinieDoppelt();
    }
    // "MWSTRabatt" and unknown kinds print nothing.
  }
}
