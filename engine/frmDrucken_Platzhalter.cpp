// The placeholders in angle brackets of a document's free texts: document numbers, dates, and the
// amounts of cash discount and discount worked out from the sums per VAT class.
#include <QDateTime>
#include <array>
#include <exception>
#include <optional>

#include "engine/frmDrucken.h"
#include "engine/modFormate.h"
#include "foundation/modDouble.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/Format.h"

namespace {

const QString kDatumFormat = QStringLiteral("dd.mm.yyyy");

// One step of the replacement. A caller variable that is no date or number (type mismatch) skips
// the step silently and leaves its placeholder; any other failure is shown, and the next step runs.
template <typename F>
void Schritt(F&& step) {
  try {
    step();
  } catch (...) {
    const vb::VbError e = vb::toVbError(std::current_exception());
    if (e.number() != vb::ErrTypeMismatch) ui::MsgBox(e.description(), ui::vbOKOnly);
  }
}

// Replaces every occurrence of `platzhalter` (any letter case). The value is worked out only when
// the text holds the placeholder, so a broken caller variable bothers no text that does not use it.
template <typename F>
void Ersetze(QString& text, const QString& platzhalter, F&& wert) {
  if (vb::InStr(text, platzhalter) == 0) return;
  text = vb::replaceText(text, platzhalter, wert());
}

// A date plus a number of days, as "dd.mm.yyyy"; beyond the date range an overflow.
QString DatumPlusTage(const vb::Variant& datum, const vb::Variant& tage) {
  const double serial = vb::toOleDate(vb::CDate(datum)) + vb::CDbl(tage);
  if (serial < -657434.0 || serial >= 2958466.0) vb::raise(vb::ErrOverflow);
  return vb::formatDate(vb::fromOleDate(serial), kDatumFormat);
}

struct DokumentNummer {
  const char* platzhalter;
  const char* variable;
};

// The document number a form type prints under its own placeholder.
std::optional<DokumentNummer> NummerDesFormTyps(short formStatus) {
  switch (formStatus) {
    case 2: return DokumentNummer{"<LieferscheinNr>", "LieferscheinNr"};
    case 3: return DokumentNummer{"<RechnungNr>", "RechnungNr"};
    case 4: return DokumentNummer{"<AuftragBestNr>", "AuftragBestNr"};
    case 5: return DokumentNummer{"<LieferscheinNr>", "Abo.LieferscheinNr"};
    case 6: return DokumentNummer{"<RechnungNr>", "Abo.RechnungNr"};
    case 7: return DokumentNummer{"<RechnungNr>", "RechnungNr"};
    case 8: return DokumentNummer{"<GutschriftNr>", "GutschriftNr"};
    case 9:
    case 11: return DokumentNummer{"<BestellungNr>", "BestellungNr"};
    case 10: return DokumentNummer{"<RechnungNr>", "RechnungNr"};
    case 12: return DokumentNummer{"<RemissionNr>", "RemissionNr"};
    default: return std::nullopt;
  }
}

}  // namespace

QString frmDrucken::PlatzhalterErsetzen(const QString& text) {
  QString t = text;
  const auto variable = [this](const char* key, const vb::Variant& vorgabe) {
    return GetDruckvariable(QString::fromUtf8(key), vorgabe);
  };
  const auto alsText = [&](const char* key) { return vb::CStr(variable(key, QString())); };
  const auto heute = vb::Variant(QDate::currentDate());

  Schritt([&] {
    if (const auto nummer = NummerDesFormTyps(intCurFormStatus))
      Ersetze(t, QString::fromUtf8(nummer->platzhalter), [&] { return alsText(nummer->variable); });
  });
  Schritt([&] { Ersetze(t, QStringLiteral("<SkontoZiel>"), [&] { return alsText("SkontoZiel"); }); });
  Schritt([&] {
    Ersetze(t, QStringLiteral("<SkontoSatz>"), [&] { return vb::Format(variable("SkontoSatz", QString()), GetProzentFormat()); });
  });
  Schritt([&] {
    Ersetze(t, QStringLiteral("<SkontoDatum>"), [&] { return DatumPlusTage(variable("RechnungsDatum", "0"), variable("SkontoZiel", "0")); });
  });

  double gesamt = 0;
  Schritt([&] { gesamt = Runden(Rechnungsbetrag(), 2); });

  // Cash discount: per VAT class only when the text asks for a class; rows without a class then
  // take no cash discount.
  double skonto = 0;
  std::array<double, 4> skontoKlasse{};
  const auto skontoSatz = [&] { return vb::CDbl(variable("SkontoSatz", 0)); };
  if (vb::InStr(t, QStringLiteral("<SkontoBetragHalb>")) > 0 || vb::InStr(t, QStringLiteral("<SkontoBetragVoll>")) > 0 ||
      vb::InStr(t, QStringLiteral("<SkontoBetragOhne>")) > 0) {
    for (int c : {2, 1, 3}) Schritt([&] { skontoKlasse[c] = Runden(skontoSatz() * dblRechnungsbetrag[c], 2); });
    Schritt([&] { skonto = Runden(skontoKlasse[2] + skontoKlasse[1] + skontoKlasse[3], 2); });
  } else {
    Schritt([&] { skonto = Runden(skontoSatz() * gesamt, 2); });
  }
  Schritt([&] { Ersetze(t, QStringLiteral("<SkontoBetrag>"), [&] { return BetragFormatieren(skonto); }); });
  Schritt([&] { Ersetze(t, QStringLiteral("<SkontoBetragVoll>"), [&] { return BetragFormatieren(skontoKlasse[1]); }); });
  Schritt([&] { Ersetze(t, QStringLiteral("<SkontoBetragHalb>"), [&] { return BetragFormatieren(skontoKlasse[2]); }); });
  Schritt([&] { Ersetze(t, QStringLiteral("<SkontoBetragOhne>"), [&] { return BetragFormatieren(skontoKlasse[3]); }); });
  Schritt([&] { Ersetze(t, QStringLiteral("<SkontoRechBetrag>"), [&] { return BetragFormatieren(Runden(gesamt - skonto, 2)); }); });
  Schritt([&] { Ersetze(t, QStringLiteral("<RechBetrag>"), [&] { return BetragFormatieren(gesamt); }); });

  // Discounts: a net invoice shows them gross; the full and reduced class are filled with their
  // gross value here, before the net values below could reach them. After a closing line
  // "Gesamtrabatt" the slots hold the discount as a deduction and the total is already net of
  // it: the discount shows as the amount it is, and is not taken off the total again.
  const auto rabattBetrag = [this](int i) { return GesamtrabattAbgezogen ? -dblRabattBetrag[i] : dblRabattBetrag[i]; };
  double rabatt = 0;
  for (int i = 0; i <= 3; ++i) {
    Schritt([&] {
      if (!NettoRechnung()) {
        rabatt += rabattBetrag(i);
        return;
      }
      const double satz = i == 1 ? MWSTSatz_Voll() : i == 2 ? MWSTSatz_halb() : 0.0;
      const double brutto = Runden((1 + satz) * rabattBetrag(i), 2);
      if (i == 1) Ersetze(t, QStringLiteral("<RabattBetragVoll>"), [&] { return BetragFormatieren(brutto); });
      if (i == 2) Ersetze(t, QStringLiteral("<RabattBetragHalb>"), [&] { return BetragFormatieren(brutto); });
      rabatt += brutto;
    });
  }
  rabatt = Runden(rabatt, 2);
  const double rabattRechBetrag = GesamtrabattAbgezogen ? gesamt : Runden(gesamt - rabatt, 2);
  Schritt([&] { Ersetze(t, QStringLiteral("<RabattBetrag>"), [&] { return BetragFormatieren(rabatt); }); });
  Schritt([&] { Ersetze(t, QStringLiteral("<RabattBetragVoll>"), [&] { return BetragFormatieren(rabattBetrag(1)); }); });
  Schritt([&] { Ersetze(t, QStringLiteral("<RabattBetragHalb>"), [&] { return BetragFormatieren(rabattBetrag(2)); }); });
  Schritt([&] { Ersetze(t, QStringLiteral("<RabattBetragOhne>"), [&] { return BetragFormatieren(rabattBetrag(3)); }); });
  Schritt([&] { Ersetze(t, QStringLiteral("<Rabatt>"), [&] { return vb::Format(GesamtRabatt(), GetProzentFormat()); }); });
  Schritt([&] {
    Ersetze(t, QStringLiteral("<SktRabRechBetrag>"), [&] { return BetragFormatieren(Runden(rabattRechBetrag - skonto, 2)); });
  });
  Schritt([&] { Ersetze(t, QStringLiteral("<RabRechBetrag>"), [&] { return BetragFormatieren(rabattRechBetrag); }); });

  Schritt([&] { Ersetze(t, QStringLiteral("<ZahlungZiel>"), [&] { return alsText("ZahlZiel"); }); });
  Schritt([&] {
    Ersetze(t, QStringLiteral("<ZahlungDatum>"), [&] { return DatumPlusTage(variable("RechnungsDatum", "0"), variable("ZahlZiel", "0")); });
  });
  Schritt([&] {
    Ersetze(t, QStringLiteral("<Uhrzeit>"), [] { return vb::formatDate(QDateTime::currentDateTime(), QStringLiteral("hh:mm")); });
  });
  Schritt([&] { Ersetze(t, QStringLiteral("<Datum>"), [] { return vb::formatDate(QDateTime::currentDateTime(), kDatumFormat); }); });
  Schritt([&] { Ersetze(t, QStringLiteral("<AboNr>"), [&] { return alsText("Abo.Nummer"); }); });
  Schritt([&] { Ersetze(t, QStringLiteral("<AngebotNr>"), [&] { return alsText("AngebotNr"); }); });
  Schritt([&] { Ersetze(t, QStringLiteral("<Konto>"), [&] { return alsText("Konto"); }); });
  Schritt([&] { Ersetze(t, QStringLiteral("<GegenKonto>"), [&] { return alsText("GegenKonto"); }); });
  Schritt([&] {
    Ersetze(t, QStringLiteral("<ErfassDatum>"), [&] { return vb::formatDate(vb::CDate(variable("ErfassungsDatum", heute)), kDatumFormat); });
  });
  Schritt([&] { Ersetze(t, QStringLiteral("<RechDatum>"), [&] { return alsText("RechnungsDatum"); }); });
  // Formatted as given: a text that is no date comes out unchanged.
  Schritt([&] { Ersetze(t, QStringLiteral("<BuchDatum>"), [&] { return vb::Format(variable("BuchungsDatum", heute), kDatumFormat); }); });
  // Every form type that the document number above did not serve.
  Schritt([&] { Ersetze(t, QStringLiteral("<RechnungNr>"), [&] { return alsText("RechnungNr"); }); });
  Schritt([&] { Ersetze(t, QStringLiteral("<BestellDatum>"), [&] { return alsText("BestellDatum"); }); });
  Schritt([&] { Ersetze(t, QStringLiteral("<LieferDatum>"), [&] { return alsText("LieferDatum"); }); });
  Schritt([&] { Ersetze(t, QStringLiteral("<Empfänger.USTID>"), [&] { return alsText("Empfänger.UmsatzsteuerID"); }); });
  return t;
}
