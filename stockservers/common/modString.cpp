#include "stockservers/common/modString.h"

#include "platform/vb/Convert.h"

namespace {

const QString kBindestrich = QStringLiteral("-");

QString ohneBindestriche(const QString& text) { return ReplaceAll(text, kBindestrich, QString()); }

bool istZiffer(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

int ziffer(QChar c) { return c.unicode() - '0'; }

bool istX(QChar c) { return c == QLatin1Char('X') || c == QLatin1Char('x'); }

bool nurZiffern(const QString& text, qsizetype anzahl) {
  for (qsizetype i = 0; i < anzahl; ++i)
    if (!istZiffer(text[i])) return false;
  return true;
}

bool beginntMit(const QString& text, QLatin1StringView prefix) { return text.startsWith(prefix, Qt::CaseInsensitive); }

bool leer(const vb::Variant& v) { return v.isNull() || vb::CStr(v).trimmed().isEmpty(); }

QString pruefzeichen(int wert) { return wert == 10 ? QStringLiteral("X") : QString::number(wert); }

}  // namespace

int GetNummernTyp(const vb::Variant& ArtNr) {
  if (leer(ArtNr)) return ntKeine;
  const QString nummer = vb::CStr(ArtNr);
  const QString rein = ohneBindestriche(nummer);
  const bool achtZeichenAlphaNum = nummer.size() == 8 && IsAlphaNum(nummer);
  if (beginntMit(rein, QLatin1StringView("A")) && achtZeichenAlphaNum) return ntArtikelA;
  if (beginntMit(rein, QLatin1StringView("L")) && achtZeichenAlphaNum) return ntArtikelL;
  if (beginntMit(rein, QLatin1StringView("R")) && rein.size() == 12 && vb::Val(rein.mid(1)) > 0) return ntArtikelR;
  if (rein.size() == 10) return IsISBN10(rein) ? ntISBN10 : ntKeine;
  if (rein.size() == 8 || rein.size() == 13) {
    // "Number" means digits: "978" followed by letters is no ISBN.
    if (rein.size() == 13 && nurZiffern(rein, 13)) {
      if (rein.startsWith(QLatin1StringView("978"))) return ntISBN13;
      if (rein.startsWith(QLatin1StringView("977"))) return ntISSN13;
    }
    QString kopie = rein;
    if (IsEAN13(kopie)) return ntEAN;
    if (rein.size() == 8 && IsISSN(rein)) return ntISSN;
    return ntKeine;
  }
  const qsizetype ersterBindestrich = nummer.indexOf(kBindestrich);
  return ersterBindestrich == 0 || ersterBindestrich == 1 ? ntISBN10 : ntKeine;
}

bool IsISBN10(const vb::Variant& ArtNr, QString* Pruefziffer) {
  if (ArtNr.isNull()) return true;
  const QString rein = ohneBindestriche(vb::CStr(ArtNr));
  if (rein.size() != 10 || !nurZiffern(rein, 9)) return false;
  int summe = 0;
  for (int i = 0; i < 9; ++i) summe += ziffer(rein[i]) * (i + 1);
  const int richtig = summe % 11;
  const QChar letztes = rein[9];
  if (istX(letztes) ? richtig == 10 : istZiffer(letztes) && ziffer(letztes) == richtig) return true;
  if (Pruefziffer) *Pruefziffer = pruefzeichen(richtig);
  return false;
}

bool IsEAN13(QString& ArtNr, QString* Pruefziffer) {
  if (ArtNr.trimmed().isEmpty()) return false;
  ArtNr = ohneBindestriche(ArtNr);
  // EAN-8 weighs the odd positions 3, EAN-13 the even ones: both count 3 for every second digit
  // to the left of the check digit.
  const qsizetype laenge = ArtNr.size();
  if (laenge != 8 && laenge != 13) return false;
  if (!nurZiffern(ArtNr, laenge - 1)) return false;
  int summe = 0;
  for (qsizetype i = 0; i < laenge - 1; ++i) summe += ziffer(ArtNr[i]) * ((laenge - 1 - i) % 2 == 1 ? 3 : 1);
  const int richtig = (10 - summe % 10) % 10;
  const QChar letztes = ArtNr[laenge - 1];
  if (istZiffer(letztes) && ziffer(letztes) == richtig) return true;
  if (Pruefziffer) *Pruefziffer = QString::number(richtig);
  return false;
}

bool IsEAN13(vb::Variant& ArtNr, QString* Pruefziffer) {
  if (ArtNr.isNull()) return false;
  QString text = vb::CStr(ArtNr);
  if (text.trimmed().isEmpty()) return false;
  const bool gueltig = IsEAN13(text, Pruefziffer);
  ArtNr = vb::Variant(text);
  return gueltig;
}

bool IsISSN(const vb::Variant& ArtNr, QString* Pruefziffer) {
  if (leer(ArtNr)) return false;
  const QString rein = ohneBindestriche(vb::CStr(ArtNr));
  QString richtig;
  if (!ISBN10Pruefziffer(rein, 8, 8, richtig)) return false;
  if (QString(rein.back()).compare(richtig, Qt::CaseInsensitive) == 0) return true;
  if (Pruefziffer) *Pruefziffer = richtig;
  return false;
}

bool ISBN10Pruefziffer(const QString& Nummer, int Laenge, int HoechsteGewichtung, QString& Pruefziffer) {
  const QString rein = ohneBindestriche(Nummer);
  if (Laenge < 1 || rein.size() != Laenge || !nurZiffern(rein, Laenge - 1)) return false;
  int summe = 0;
  for (int i = 0; i < Laenge - 1; ++i) summe += ziffer(rein[i]) * (HoechsteGewichtung - i);
  Pruefziffer = pruefzeichen((11 - summe % 11) % 11);
  return true;
}

bool IsAlphaNum(const QString& Text) {
  for (const QChar c : Text) {
    const bool buchstabe = (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
    if (!buchstabe && !istZiffer(c)) return false;
  }
  return true;
}

bool IsNurZiffern(const QString& Text) {
  const QString t = Text.trimmed();
  return nurZiffern(t, t.size());
}

QString ISBN10To13(const QString& ArtNr) {
  if (GetNummernTyp(ArtNr) != ntISBN10) return ArtNr;
  QString kandidat = QStringLiteral("978") + ohneBindestriche(ArtNr);
  QString pruefziffer;
  QString pruefling = kandidat;
  if (!IsEAN13(pruefling, &pruefziffer)) kandidat = kandidat.left(12) + pruefziffer;
  return kandidat;
}

QString ISBN13To10(const QString& ArtNr) {
  const QString rein = ohneBindestriche(ArtNr);
  if (rein.size() != 13) return ArtNr;
  QString kandidat = rein.mid(3, 9) + QLatin1Char('0');
  QString pruefziffer;
  if (!IsISBN10(kandidat, &pruefziffer)) kandidat = kandidat.left(9) + pruefziffer;
  return kandidat;
}

QString ReplaceAll(const QString& Text, const QString& Suche, const QString& Ersatz) {
  return vb::replaceText(Text, Suche, Ersatz);
}

QString InsertFeld(const QString& Satz, long Feld, const QString& Trenner, const QString& Wert) {
  if (Feld < 1) return Wert + Satz;
  if (Trenner.isEmpty()) return Satz;
  qsizetype stelle = -Trenner.size();
  for (long n = 0; n < Feld; ++n) {
    stelle = Satz.indexOf(Trenner, stelle + Trenner.size(), Qt::CaseInsensitive);
    if (stelle < 0) return Satz;
  }
  const qsizetype hinter = stelle + Trenner.size();
  return Satz.left(hinter) + Wert + Satz.mid(hinter);
}
