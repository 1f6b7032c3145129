#include <gtest/gtest.h>

#include <random>

#include "platform/vb/Convert.h"
#include "stockservers/common/modString.h"

namespace {

struct KindCase {
  vb::Variant nummer;
  int typ;
};

}  // namespace

TEST(GetNummernTyp, TellsTheKindsApart) {
  const KindCase cases[] = {
      {vb::Variant::null(), ntKeine},
      {"", ntKeine},
      {"   ", ntKeine},
      {"3-446-23456-X", ntISBN10},
      {"3-446-23456-x", ntISBN10},     // a lower-case check character is the same X
      {"3-446-23456-0", ntKeine},      // wrong check character: not taken for an EAN either
      {"9783446234560", ntISBN13},     // 978 with a wrong check digit
      {"9771234567003", ntISSN13},
      {"4006381333931", ntEAN},
      {"96385074", ntEAN},             // EAN-8
      {"76317064", ntEAN},             // an EAN-8 that is a valid ISSN too stays an EAN
      {"0317-8471", ntISSN},
      {"7298-063x", ntISSN},
      {"A1234567", ntArtikelA},
      {"a1234567", ntArtikelA},
      {"A-123456", ntISBN10},          // the hyphen fails the alphanumeric test; first hyphen at 2
      {"L7654321", ntArtikelL},
      {"R00000000001", ntArtikelR},
      {"R00000000000", ntKeine},
      {"1-234", ntISBN10},
      {"123-4", ntKeine},
      // The last character must be a digit (or X): a letter does not read as 0.
      {"657070499A", ntKeine},
      {"400890682883B", ntKeine},
      {"978344623456Z", ntKeine},
  };
  for (const KindCase& c : cases)
    EXPECT_EQ(GetNummernTyp(c.nummer), c.typ) << vb::CStr(c.nummer.isNull() ? vb::Variant("<Null>") : c.nummer).toStdString();
}

TEST(IsISBN10, NullIsValidEmptyIsNotAndTheRightCheckCharacterIsOffered) {
  EXPECT_TRUE(IsISBN10(vb::Variant::null()));
  EXPECT_FALSE(IsISBN10(""));
  QString pruefziffer = QStringLiteral("unberührt");
  EXPECT_FALSE(IsISBN10("3-446-23456-0", &pruefziffer));
  EXPECT_EQ(pruefziffer, QStringLiteral("X"));
  pruefziffer = QStringLiteral("unberührt");
  EXPECT_FALSE(IsISBN10("3-446-2345", &pruefziffer));
  EXPECT_FALSE(IsISBN10("3.4462345X", &pruefziffer));  // nine characters that are no digits
  EXPECT_EQ(pruefziffer, QStringLiteral("unberührt"));
}

TEST(IsEAN13, GivesTheNumberBackWithoutHyphensAndOffersTheCheckDigit) {
  QString nummer = QStringLiteral("978-3-446-23456-7");
  EXPECT_TRUE(IsEAN13(nummer));
  EXPECT_EQ(nummer, QStringLiteral("9783446234567"));
  vb::Variant variante(QStringLiteral("400-638-133-393-1"));
  EXPECT_TRUE(IsEAN13(variante));
  EXPECT_EQ(vb::CStr(variante), QStringLiteral("4006381333931"));
  vb::Variant null = vb::Variant::null();
  EXPECT_FALSE(IsEAN13(null));
  EXPECT_TRUE(null.isNull());

  QString falsch = QStringLiteral("4006381333930");
  QString pruefziffer;
  EXPECT_FALSE(IsEAN13(falsch, &pruefziffer));
  EXPECT_EQ(pruefziffer, QStringLiteral("1"));
  QString buchstabe = QStringLiteral("400890682883X");
  EXPECT_FALSE(IsEAN13(buchstabe, &pruefziffer));
  EXPECT_EQ(pruefziffer, QStringLiteral("0"));
}

TEST(ISBN10Pruefziffer, ComputesModuloElevenOrLeavesTheResultAlone) {
  QString pruefziffer = QStringLiteral("-");
  EXPECT_TRUE(ISBN10Pruefziffer(QStringLiteral("0317-8470"), 8, 8, pruefziffer));
  EXPECT_EQ(pruefziffer, QStringLiteral("1"));
  EXPECT_TRUE(ISBN10Pruefziffer(QStringLiteral("72980630"), 8, 8, pruefziffer));
  EXPECT_EQ(pruefziffer, QStringLiteral("X"));
  pruefziffer = QStringLiteral("-");
  EXPECT_FALSE(ISBN10Pruefziffer(QStringLiteral("7298063"), 8, 8, pruefziffer));
  EXPECT_FALSE(ISBN10Pruefziffer(QStringLiteral("72980A3X"), 8, 8, pruefziffer));
  EXPECT_EQ(pruefziffer, QStringLiteral("-"));
}

TEST(TextTests, AlphaNumAndDigitsOnly) {
  EXPECT_TRUE(IsAlphaNum(QString()));
  EXPECT_TRUE(IsAlphaNum(QStringLiteral("aZ09")));
  EXPECT_FALSE(IsAlphaNum(QStringLiteral(" A1")));
  EXPECT_FALSE(IsAlphaNum(QStringLiteral("Ä1")));
  EXPECT_TRUE(IsNurZiffern(QStringLiteral(" 0123 ")));
  EXPECT_TRUE(IsNurZiffern(QStringLiteral("  ")));
  EXPECT_FALSE(IsNurZiffern(QStringLiteral("1 2")));
}

TEST(IsbnForms, TenToThirteenAndBack) {
  EXPECT_EQ(ISBN10To13(QStringLiteral("3-446-23456-X")), QStringLiteral("9783446234567"));
  EXPECT_EQ(ISBN10To13(QStringLiteral("3-446-23456-x")), QStringLiteral("9783446234567"));
  EXPECT_EQ(ISBN13To10(QStringLiteral("978-3-446-23456-7")), QStringLiteral("344623456X"));
  // Anything else comes back as it was.
  EXPECT_EQ(ISBN10To13(QStringLiteral("3-446-23456-0")), QStringLiteral("3-446-23456-0"));
  EXPECT_EQ(ISBN10To13(QStringLiteral("4006381333931")), QStringLiteral("4006381333931"));
  EXPECT_EQ(ISBN13To10(QStringLiteral("3-446-23456-X")), QStringLiteral("3-446-23456-X"));
}

TEST(ReplaceAll, ReplacesEveryOccurrenceOnceAndAnEmptySearchChangesNothing) {
  EXPECT_EQ(ReplaceAll(QStringLiteral("1-2-3"), QStringLiteral("-"), QString()), QStringLiteral("123"));
  EXPECT_EQ(ReplaceAll(QStringLiteral("a-b"), QStringLiteral("-"), QStringLiteral("--")), QStringLiteral("a--b"));
  EXPECT_EQ(ReplaceAll(QStringLiteral("aXbx"), QStringLiteral("x"), QStringLiteral("-")), QStringLiteral("a-b-"));
  // Searching for nothing used to find it again at every position without end.
  EXPECT_EQ(ReplaceAll(QStringLiteral("abc"), QString(), QStringLiteral("-")), QStringLiteral("abc"));
}

TEST(InsertFeld, PutsTheValueAtTheStartOfTheFieldBehindTheNthSeparator) {
  const struct {
    const char* satz;
    long feld;
    const char* trenner;
    const char* ergebnis;
  } cases[] = {
      {"a|b||d", 2, "|", "a|b|X|d"},
      {"a|b|c|d", 2, "|", "a|b|Xc|d"},
      {"a|b|", 2, "|", "a|b|X"},     // the n-th separator ends the record
      {"a|b", 5, "|", "a|b"},        // no such field: the record as it was, not an empty text
      {"a|b", 0, "|", "Xa|b"},
      {"aTRbtrc", 2, "tr", "aTRbtrXc"},
      {"a|b", 1, "", "a|b"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(InsertFeld(QString::fromUtf8(c.satz), c.feld, QString::fromUtf8(c.trenner), QStringLiteral("X")),
              QString::fromUtf8(c.ergebnis))
        << c.satz << " " << c.feld;
}

// Numbers generated at random, their expected kinds and forms computed here by the textbook
// rules (ISBN-10 weights 10 to 1, EAN weights 3 and 1 from the right, ISSN weights 8 to 2).
namespace {

QString isbn10Check(const QString& neun) {
  int summe = 0;
  for (int i = 0; i < 9; ++i) summe += (10 - i) * neun[i].digitValue();
  const int check = (11 - summe % 11) % 11;
  return check == 10 ? QStringLiteral("X") : QString::number(check);
}

QString eanCheck(const QString& ohnePruefziffer) {
  int summe = 0;
  const int n = ohnePruefziffer.size();
  for (int vonRechts = 0; vonRechts < n; ++vonRechts)
    summe += ohnePruefziffer[n - 1 - vonRechts].digitValue() * (vonRechts % 2 == 0 ? 3 : 1);
  return QString::number((10 - summe % 10) % 10);
}

QString issnCheck(const QString& sieben) {
  int summe = 0;
  for (int i = 0; i < 7; ++i) summe += (8 - i) * sieben[i].digitValue();
  const int check = (11 - summe % 11) % 11;
  return check == 10 ? QStringLiteral("X") : QString::number(check);
}

struct Generated {
  QString nummer;  // as a user would write it
  int typ;
  QString als13;   // ISBN10To13
  QString als10;   // ISBN13To10
  bool ean;        // IsEAN13
};

class Generator {
 public:
  QString ziffern(int n) {
    QString s;
    for (int i = 0; i < n; ++i) s += QChar(u'0' + std::uniform_int_distribution<int>(0, 9)(m_rng));
    return s;
  }
  // Another check character than `richtig`.
  QString falsch(const QString& richtig, bool xErlaubt) {
    const QString alle = xErlaubt ? QStringLiteral("0123456789X") : QStringLiteral("0123456789");
    QString c;
    do {
      c = alle[std::uniform_int_distribution<int>(0, alle.size() - 1)(m_rng)];
    } while (c == richtig);
    return c;
  }
  // Hyphens at random places between characters, as users and catalogues write them.
  QString mitBindestrichen(const QString& s) {
    QString out;
    for (int i = 0; i < s.size(); ++i) {
      if (i > 0 && std::uniform_int_distribution<int>(0, 3)(m_rng) == 0) out += QLatin1Char('-');
      out += s[i];
    }
    return out;
  }
  bool wuerfel() { return std::uniform_int_distribution<int>(0, 1)(m_rng) == 1; }

 private:
  std::mt19937 m_rng{20261209};
};

std::vector<Generated> generate() {
  Generator g;
  std::vector<Generated> out;
  auto form10von13 = [](const QString& dreizehn) {
    const QString neun = dreizehn.mid(3, 9);
    return neun + isbn10Check(neun);
  };
  for (int i = 0; i < 40; ++i) {
    // ISBN-10, right and wrong, X in either case.
    const QString neun = g.ziffern(9);
    const QString check = isbn10Check(neun);
    const QString richtig = neun + (g.wuerfel() ? check : check.toLower());
    const QString dreizehn = QStringLiteral("978") + neun + eanCheck(QStringLiteral("978") + neun);
    const QString geschrieben = g.mitBindestrichen(richtig);
    out.push_back({geschrieben, ntISBN10, dreizehn, geschrieben, false});
    const QString verkehrt = g.mitBindestrichen(neun + g.falsch(check, true));
    out.push_back({verkehrt, ntKeine, verkehrt, verkehrt, false});

    // ISBN-13 with 978 (a wrong check digit is still kind 4) and 979 (an EAN like any other).
    for (const QString& prefix : {QStringLiteral("978"), QStringLiteral("979")}) {
      const QString zwoelf = prefix + g.ziffern(9);
      const QString gut = zwoelf + eanCheck(zwoelf);
      const QString schlecht = zwoelf + g.falsch(eanCheck(zwoelf), false);
      const int typGut = prefix == QLatin1String("978") ? ntISBN13 : ntEAN;
      const int typSchlecht = prefix == QLatin1String("978") ? ntISBN13 : ntKeine;
      const QString gutGeschrieben = g.mitBindestrichen(gut);
      const QString schlechtGeschrieben = g.mitBindestrichen(schlecht);
      out.push_back({gutGeschrieben, typGut, gutGeschrieben, form10von13(gut), true});
      out.push_back({schlechtGeschrieben, typSchlecht, schlechtGeschrieben, form10von13(schlecht), false});
    }

    // EAN-13 of other prefixes and EAN-8; a wrong EAN-8 may still be an ISSN.
    QString zwoelf;
    do zwoelf = g.ziffern(12);
    while (zwoelf.startsWith(QLatin1String("977")) || zwoelf.startsWith(QLatin1String("978")));
    const QString ean13 = zwoelf + eanCheck(zwoelf);
    out.push_back({ean13, ntEAN, ean13, form10von13(ean13), true});
    const QString sieben = g.ziffern(7);
    const QString ean8 = sieben + eanCheck(sieben);
    const QString ean8falsch = sieben + g.falsch(eanCheck(sieben), false);
    out.push_back({g.mitBindestrichen(ean8), ntEAN, QString(), QString(), true});
    const QString falschGeschrieben = g.mitBindestrichen(ean8falsch);
    out.push_back({falschGeschrieben, ean8falsch.endsWith(issnCheck(sieben)) ? ntISSN : ntKeine, falschGeschrieben,
                   falschGeschrieben, false});
  }
  return out;
}

}  // namespace

TEST(GeneratedNumbers, KindsAndFormsAgreeWithTheCheckDigitRules) {
  const std::vector<Generated> all = generate();
  ASSERT_GE(all.size(), 200u);
  for (const Generated& c : all) {
    SCOPED_TRACE(c.nummer.toStdString());
    EXPECT_EQ(GetNummernTyp(c.nummer), c.typ);
    QString kopie = c.nummer;
    EXPECT_EQ(IsEAN13(kopie), c.ean);
    EXPECT_EQ(kopie, QString(c.nummer).remove(QLatin1Char('-')));
    if (!c.als13.isNull()) {
      EXPECT_EQ(ISBN10To13(c.nummer), c.als13);
    }
    if (!c.als10.isNull()) {
      EXPECT_EQ(ISBN13To10(c.nummer), c.als10);
    }
  }
}
