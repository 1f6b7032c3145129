#pragma once
// What the stock benchmarks ask the servers, shared by the benchmark and its client processes:
// article numbers of the generated bookshop (schema/BookshopSample.h) as a client sends them.
#include <QString>
#include <QStringList>
#include <random>

#include "schema/BookshopSample.h"

namespace lagerbench {

// Treffer: an article of the shop, by number. Fehlanzeige: a valid ISBN the shop does not
// carry, without title numbers. Titelnummer: such an ISBN with the article's title number at the
// first wholesaler in field 40.
enum class Fall { Treffer, Fehlanzeige, Titelnummer };

struct Abfrage {
  QString nummer;     // field 3 of AddInfo, strNr of SearchArtNr
  QString titelNr;    // field 40
  QString bestand;    // field 70 of the answer
};

class Abfragen {
 public:
  Abfragen(int artikel, unsigned startwert) : m_artikel(artikel), m_zufall(startwert) {}

  Abfrage naechste(Fall fall) {
    std::uniform_int_distribution<int> imLaden(1, m_artikel);
    std::uniform_int_distribution<int> ausserhalb(m_artikel + 1, 2 * m_artikel);
    Abfrage a;
    const int n = imLaden(m_zufall);
    const int fremd = ausserhalb(m_zufall);
    if (fall == Fall::Treffer) {
      // As clients write them: the ISBN-10 with hyphens, or the EAN.
      const QString isbn = schema::sampleIsbn10(n);
      a.nummer = n % 2 ? isbn.left(1) + QLatin1Char('-') + isbn.mid(1, 8) + QLatin1Char('-') + isbn.right(1) : schema::sampleEan(n);
      a.bestand = QString::number(n % 23);
    } else {
      a.nummer = fremd % 2 ? schema::sampleIsbn10(fremd) : schema::sampleEan(fremd);
      a.bestand = QStringLiteral("0");
      if (fall == Fall::Titelnummer) {
        a.titelNr = QStringLiteral("LB%1").arg(n, 8, 10, QLatin1Char('0'));
        a.bestand = QString::number(n % 23);
      }
    }
    return a;
  }

 private:
  int m_artikel;
  std::mt19937 m_zufall;
};

// A client's InfoSatz of 85 fields with the number in field 3 and the title number in field 40.
inline QString infoSatz(const Abfrage& a) {
  QStringList felder(85);
  felder[0] = QStringLiteral("K1");
  felder[2] = a.nummer;
  felder[39] = a.titelNr;
  return felder.join(QLatin1Char('|'));
}

// Field `nummer` (counted from 1) of a record.
inline QString feld(const QString& satz, int nummer) { return satz.section(QLatin1Char('|'), nummer - 1, nummer - 1); }

}  // namespace lagerbench
