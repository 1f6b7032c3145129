// AddInfo: an article record filled with the stock figures of its article.
#include "foundation/clsConnectionHandler.h"
#include "foundation/modString.h"
#include "foundation/modUtils.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "stockservers/common/modString.h"
#include "stockservers/remote/Application.h"
#include "stockservers/remote/Form1.h"

namespace dcom {

namespace {

const QString kTrenner = QStringLiteral("|");
constexpr std::int16_t kArtikelDb = 4;
const QString kCrLf = QStringLiteral("\r\n");

bool angehakt(QCheckBox* Form1::*box) {
  const Form1* form = Form1::aktuell();
  return form && (form->*box)->isChecked();
}

// A quantity as the database gives it in text form, "0" for Null.
QString menge(data::Recordset& rs, const char* feld) {
  return vb::CStr(NZ(rs.Fields(vb::Variant(feld))->Value(), vb::Variant(QStringLiteral("0"))));
}

}  // namespace

void SplitFelder(const QString& Satz, const QString& Trenner, QHash<QString, QString>& colFelder, const QList<int>& Felder) {
  colFelder.clear();
  QString rest = Satz;
  QString feld;
  int nummer = 0;
  for (const int gesucht : Felder) {
    while (nummer < gesucht) {
      feld = rest.isEmpty() ? QString() : GetToken(rest, Trenner);
      ++nummer;
    }
    colFelder.insert(QStringLiteral("F") + QString::number(gesucht), feld);
  }
}

QString Application::AddInfo(const QString& strInfo) {
  QString satz = strInfo;
  const auto schritt = [this](auto&& f) {
    if (auto fehler = vb::ignoreErrors(f)) log(fehler->description() + kCrLf);
  };
  // Every value goes in front of what its field holds; a field the record does not reach is
  // left out.
  const auto einfuegen = [&](int feld, const QString& wert) { satz = InsertFeld(satz, feld - 1, kTrenner, wert); };

  QString strISBN;
  QString strISBN2;
  schritt([&] {
    QString arbeit = strInfo;
    GetToken(arbeit, kTrenner);
    GetToken(arbeit, kTrenner);
    strISBN = arbeit.isEmpty() ? QString() : GetToken(arbeit, kTrenner);
    strISBN.remove(QLatin1Char('-'));
  });
  schritt([&] {
    const int typ = GetNummernTyp(vb::Variant(strISBN));
    strISBN2 = typ == ntISBN13 ? ISBN13To10(strISBN) : typ == ntISBN10 ? ISBN10To13(strISBN) : strISBN;
  });
  // Either form of the number in any letter case (an own article number's umlauts too); the
  // numbers are bound into `werte`.
  const auto nachNummer = [&](data::Parameters& werte) {
    const data::Dialect& dialect = objConHandler->SQLGruppe_Connection(kArtikelDb)->dialect();
    return dialect.caseBlindEquals(QStringLiteral("ISBN"), strISBN, werte) + QStringLiteral(" OR ") +
           dialect.caseBlindEquals(QStringLiteral("ISBN"), strISBN2, werte);
  };

  bool gefunden = false;
  std::int32_t artikel = 0;
  QString bestand = QStringLiteral("0");
  schritt([&] {
    data::Parameters nummern;
    const QString wo = nachNummer(nummern);
    data::Recordset& rs = abfrage(kArtikelDb, QStringLiteral("SELECT Bestand, Artikelident FROM Artikel WHERE ") + wo, nummern);
    if (rs.Eof()) return;
    gefunden = true;
    artikel = vb::CLng(rs.Fields(vb::Variant("Artikelident"))->Value());
    bestand = menge(rs, "Bestand");
  });
  ++lngAnfragen;
  Form1* form = Form1::aktuell();
  if (form) form->Label2->setText(QString::number(lngAnfragen));

  if (gefunden) {
    ++lngTreffer;
  } else {
    // A client's number is quoted short: a megabyte in the log would slow every later line.
    log(QStringLiteral("Suche nach ") + LogZitat(strISBN) + QStringLiteral("u. ") + LogZitat(strISBN2) + QStringLiteral(" ohne Ergebnis") + kCrLf);
    QHash<QString, QString> felder;
    SplitFelder(strInfo, kTrenner, felder, {40, 41});
    artikel = 0;
    if (!felder.value(QStringLiteral("F40")).isEmpty()) {
      schritt([&] {
        const data::Dialect& dialect = objConHandler->SQLGruppe_Connection(kArtikelDb)->dialect();
        data::Parameters werte;
        const auto titel = [&](const QString& nummer, std::int32_t lieferant) {
          const QString gleich = dialect.caseBlindEquals(QStringLiteral("TitelNr"), nummer, werte);
          werte.emplace_back(lieferant);
          return QLatin1Char('(') + gleich + QStringLiteral(" AND LieferantNr=?)");
        };
        const QString libri = titel(felder.value(QStringLiteral("F40")), lngLibriAdressNr);
        const QString kno = titel(felder.value(QStringLiteral("F41")), lngKNOAdressNr);
        data::Recordset& rs =
            abfrage(kArtikelDb, QStringLiteral("SELECT Artikelident FROM [Artikel Einkauf] WHERE ") + libri + QStringLiteral(" OR ") + kno,
                    werte);
        if (!rs.Eof()) artikel = vb::CLng(rs.Fields(vb::Variant("Artikelident"))->Value());
      });
    }
    if (artikel != 0) {
      schritt([&] {
        data::Recordset& rs =
            abfrage(kArtikelDb, QStringLiteral("SELECT Bestand, Warengruppe, Artikelident FROM Artikel WHERE Artikelident=?"), {artikel});
        if (!rs.Eof()) bestand = menge(rs, "Bestand");
      });
    }
  }
  if (form) {
    form->Label3->setText(QString::number(lngTreffer));
    form->UpdateTrayToolTip();
  }

  if (artikel == 0) {
    for (const int feld : {80, 81, 82, 83}) einfuegen(feld, QStringLiteral("0"));
  } else {
    if (angehakt(&Form1::blnAuchBestellte)) {
      schritt([&] {
        data::Recordset& rs = abfrage(
            kArtikelDb, QStringLiteral("SELECT Artikel_LieferantBestellungen.Status, Sum(Artikel_LieferantBestellungen_Details.Menge) AS BestMenge ") +
                   QStringLiteral("FROM Artikel_LieferantBestellungen INNER JOIN Artikel_LieferantBestellungen_Details ") +
                   QStringLiteral("ON Artikel_LieferantBestellungen.VorgangNr = Artikel_LieferantBestellungen_Details.VorgangNr ") +
                   QStringLiteral("WHERE Artikel_LieferantBestellungen_Details.Artikelident=?") +
                   QStringLiteral(" AND (Artikel_LieferantBestellungen.Status='BE' OR Artikel_LieferantBestellungen.Status='AO') "
                                  "GROUP BY Artikel_LieferantBestellungen.Status"),
            {artikel});
        if (rs.Eof()) {
          einfuegen(80, QStringLiteral("0"));
          einfuegen(83, QStringLiteral("0"));
        }
        for (; !rs.Eof(); rs.MoveNext()) {
          const QString status = vb::CStr(NZ(rs.Fields(vb::Variant("Status"))->Value()));
          if (vb::textEquals(status, QStringLiteral("BE"))) einfuegen(80, menge(rs, "BestMenge"));
          if (vb::textEquals(status, QStringLiteral("AO"))) einfuegen(83, menge(rs, "BestMenge"));
        }
      });
    }
    if (angehakt(&Form1::blnAuchReservierte)) {
      schritt([&] {
        data::Recordset& rs = abfrage(
            kArtikelDb, QStringLiteral("SELECT Sum(Artikel_KundenReservierung_Details.MengeBestellt) AS BestMenge,"
                              "Sum(Artikel_KundenReservierung_Details.MengeZugewiesen) AS AbholfachMenge ") +
                   QStringLiteral("FROM Artikel_KundenReservierung_Details ") +
                   QStringLiteral("WHERE Artikel_KundenReservierung_Details.Artikelident=?"),
            {artikel});
        if (rs.Eof()) {
          einfuegen(81, QStringLiteral("0"));
          einfuegen(82, QStringLiteral("0"));
        } else {
          einfuegen(81, menge(rs, "BestMenge"));
          einfuegen(82, menge(rs, "AbholfachMenge"));
        }
      });
    }
  }

  if (angehakt(&Form1::blnAuchFilialen)) {
    QString filialen;
    for (const Filiale& filiale : std::as_const(colFilialen)) {
      schritt([&] {
        data::Parameters werte = {filiale.Nr};
        const QString wo = nachNummer(werte);
        data::Recordset& rs =
            abfrage(kArtikelDb, QStringLiteral("SELECT Bestand FROM Artikel_Filialbestände WHERE FilialNr=? AND (") + wo + QStringLiteral(")"),
                    werte);
        filialen += filiale.N + QStringLiteral(":");
        filialen += rs.Eof() ? QStringLiteral("n.v. - ")
                             : vb::CStr(NZ(rs.Fields(vb::Variant("Bestand"))->Value(), vb::Variant(0))) + QStringLiteral(" - ");
      });
    }
    einfuegen(84, filialen);
  } else {
    einfuegen(84, QStringLiteral("keine Abfrage"));
  }
  einfuegen(70, bestand);
  schritt([&] {
    if (objRsAbfrage->State() != 0) objRsAbfrage->Close();
  });
  return satz;
}

}  // namespace dcom
