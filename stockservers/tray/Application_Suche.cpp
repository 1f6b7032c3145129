// The stock look-up behind the clipboard watch: the article by either ISBN form, its stock,
// open supplier orders and customer reservations, shown in the info window.
#include "stockservers/tray/Application.h"

#include "foundation/clsConnectionHandler.h"
#include "foundation/modUtils.h"
#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "stockservers/common/modString.h"
#include "stockservers/tray/Form1.h"
#include "stockservers/tray/frmInfoWin.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr std::int16_t kArtikelDb = 4;

QString feld(const data::Recordset& rs, const QString& name, const QString& beiNull) {
  return vb::CStr(NZ(rs.Fields(vb::Variant(name))->Value(), vb::Variant(beiNull)));
}

}  // namespace

void Application::InfoWinBereit() {
  if (!objInfoWin) objInfoWin = std::make_unique<frmInfoWin>();
  if (!objInfoWin->isVisible()) ui::dialogs().showWindow(*objInfoWin, QStringLiteral("infowin"));
  objInfoWin->objTarnelo = objAccessApp;
}

void Application::UngueltigeNummerZeigen(const QString& strNr) {
  vb::ignoreErrors([&] {
    InfoWinBereit();
    objInfoWin->SetInfoText(strNr + kCrLf + QStringLiteral("Keine gültige ISBN oder EAN (Prüfziffer falsch)"), QString());
  });
}

bool Application::SearchArtNr(QString& strNr) {
  strNr = strNr.trimmed();
  const bool isbn10 = IsISBN10(vb::Variant(strNr));
  const bool ean = IsEAN13(strNr);
  if (!isbn10 && !ean) return false;
  if (!blnVerbunden) ConnectDatabases();

  Form1* form = Form1::aktuell();
  vb::ignoreErrors([&] { InfoWinBereit(); });

  // From here on a failing statement is told in the main window's log and the next one runs.
  const auto schritt = [form](auto&& f) {
    if (auto fehler = vb::ignoreErrors(f))
      if (form) form->InfoAnfuegen(fehler->description() + kCrLf);
  };

  QString strText = strNr + kCrLf + QStringLiteral("Artikel nicht im Lager vorhanden");
  const QString strISBN = ReplaceAll(strNr, QStringLiteral("-"), QString());
  const int typ = GetNummernTyp(vb::Variant(strISBN));
  bool blnGefunden = false;
  std::int32_t artikelident = 0;
  const auto rs = objRsAbfrage ? objRsAbfrage : std::make_shared<data::Recordset>();
  const auto oeffnen = [&](const QString& sql, int cursor, int sperre, const data::Parameters& werte) {
    if (rs->State()) rs->Close();
    rs->Open(sql, vb::Variant(m_ConnectList->SQLGruppe_Connection(kArtikelDb)), cursor, sperre, data::adCmdUnspecified,
             werte);
  };
  // "ISBN=…" in any letter case; the number is bound into `werte`.
  const auto isbnGleich = [&](const QString& nummer, data::Parameters& werte) {
    return m_ConnectList->SQLGruppe_Connection(kArtikelDb)->dialect().caseBlindEquals(QStringLiteral("ISBN"), nummer, werte);
  };

  QStringList nummern;
  if (typ == ntISBN10 || typ == ntISBN13) nummern = {strISBN, typ == ntISBN10 ? ISBN10To13(strISBN) : ISBN13To10(strISBN)};
  else if (typ == ntEAN) nummern = {strISBN};
  // An ISSN in EAN form (977) or any other kind has no article query: not in stock.
  const bool gesucht = !nummern.isEmpty();
  if (gesucht) {
    schritt([&] {
      data::Parameters werte;
      QStringList terme;
      for (const QString& nummer : std::as_const(nummern)) terme << isbnGleich(nummer, werte);
      oeffnen(QStringLiteral("SELECT Bestand, Artikelident, ISBN, Matchcode FROM Artikel WHERE ") + terme.join(QStringLiteral(" OR ")),
              data::adOpenStatic, data::adLockReadOnly, werte);
    });
  }
  lngAnfragen += 1;

  schritt([&] {
    if (!gesucht || !rs->State() || rs->Eof()) return;
    blnGefunden = true;
    lngTreffer += 1;
    artikelident = vb::CLng(rs->Fields(vb::Variant(QStringLiteral("Artikelident")))->Value());
    strText = feld(*rs, QStringLiteral("ISBN"), QString()) + QLatin1Char(' ') + feld(*rs, QStringLiteral("Matchcode"), QString()) +
              kCrLf + QStringLiteral("Lagerbestand: ") + feld(*rs, QStringLiteral("Bestand"), QStringLiteral("0")) + kCrLf;
  });

  if (form) {
    form->Label2->setText(QString::number(lngAnfragen));
    form->Label3->setText(QString::number(lngTreffer));
    form->UpdateTrayToolTip();
  }

  if (artikelident != 0) {
    if (form && form->blnAuchBestellte->checkState() != Qt::Unchecked) {
      schritt([&] {
        oeffnen(QStringLiteral("SELECT Artikel_LieferantBestellungen.Status, Sum(Artikel_LieferantBestellungen_Details.Menge) AS BestMenge "
                               "FROM Artikel_LieferantBestellungen INNER JOIN Artikel_LieferantBestellungen_Details "
                               "ON Artikel_LieferantBestellungen.VorgangNr = Artikel_LieferantBestellungen_Details.VorgangNr "
                               "WHERE Artikel_LieferantBestellungen_Details.Artikelident=?") +
                    QStringLiteral(" AND (Artikel_LieferantBestellungen.Status='BE' OR Artikel_LieferantBestellungen.Status='AO') "
                                   "GROUP BY Artikel_LieferantBestellungen.Status"),
                data::adOpenStatic, data::adLockReadOnly, {artikelident});
        for (; !rs->Eof(); rs->MoveNext()) {
          const QString status = feld(*rs, QStringLiteral("Status"), QString());
          const QString menge = feld(*rs, QStringLiteral("BestMenge"), QStringLiteral("0"));
          if (vb::textEquals(status, QStringLiteral("BE"))) strText += QStringLiteral("bestellt: ") + menge + kCrLf;
          else if (vb::textEquals(status, QStringLiteral("AO"))) strText += QStringLiteral("offen bestellt: ") + menge + kCrLf;
        }
      });
    }
    if (form && form->blnAuchReservierte->checkState() != Qt::Unchecked) {
      schritt([&] {
        oeffnen(QStringLiteral("SELECT Sum(Artikel_KundenReservierung_Details.MengeBestellt) AS BestMenge,"
                               "Sum(Artikel_KundenReservierung_Details.MengeZugewiesen) AS AbholfachMenge "
                               "FROM Artikel_KundenReservierung_Details "
                               "WHERE Artikel_KundenReservierung_Details.Artikelident=?"),
                data::adOpenStatic, data::adLockReadOnly, {artikelident});
        if (rs->Eof()) return;
        strText += QStringLiteral("offene Reservierungen: ") + feld(*rs, QStringLiteral("BestMenge"), QStringLiteral("0")) + kCrLf +
                   QStringLiteral("im Abholfach: ") + feld(*rs, QStringLiteral("AbholfachMenge"), QStringLiteral("0")) + kCrLf;
      });
    }
  }

  schritt([&] { objInfoWin->SetInfoText(strText, strISBN); });
  schritt([&] {
    if (rs->State()) rs->Close();
  });

  if (!blnGefunden && blnInISBNStapel) {
    schritt([&] {
      data::Parameters werte;
      const QString wo = isbnGleich(strISBN, werte);
      oeffnen(QStringLiteral("SELECT * FROM Artikel_ISBN_Stapel WHERE ") + wo, data::adOpenDynamic, data::adLockOptimistic, werte);
      if (rs->Eof()) {
        rs->AddNew();
        rs->Fields(vb::Variant(QStringLiteral("ISBN")))->let_Value(vb::Variant(strISBN));
        for (const QString& spalte : {QStringLiteral("Min"), QStringLiteral("Max"), QStringLiteral("MEnge"), QStringLiteral("MengeÜbernommen")})
          rs->Fields(vb::Variant(spalte))->let_Value(vb::Variant(0));
        rs->Update();
      }
      rs->Close();
    });
  }
  strNr = strISBN;
  return false;
}
