#pragma once
// Article numbers as free text (clipboard, client records): their kind, check characters, the
// two ISBN forms, and two text helpers for "|"-separated records. Shared by both stock servers;
// no state.
//
// Comparisons ignore letter case: a check character "x" is "X", a prefix "a" is "A". Hyphens are
// the only separators removed; blanks are not. A check character must be a digit (or X where
// the rule allows it): "123456789A" is no ISBN-10, whatever its letter would add up to.
#include <QString>

#include "platform/vb/Variant.h"

// Kinds of article number that GetNummernTyp tells apart.
enum NummernTyp : int {
  ntKeine = 0,       // empty, or of no kind below
  ntISBN10 = 1,      // ISBN-10 with a correct check character; also a text of another length
                     // (not 8, 10 or 13 without hyphens) whose first hyphen stands at position 1 or 2
  ntEAN = 2,         // EAN-13 or EAN-8 with a correct check digit, of neither kind 4 nor 12
  ntArtikelA = 3,    // eight letters and digits beginning with "A"
  ntISBN13 = 4,      // 13 digits beginning with "978" (check digit not tested)
  ntArtikelR = 7,    // 12 characters: "R" followed by a positive number
  ntISSN = 11,       // eight characters, an ISSN with a correct check character
  ntISSN13 = 12,     // 13 digits beginning with "977" (check digit not tested)
  ntArtikelL = 14,   // eight letters and digits beginning with "L"
};

// The kind of `ArtNr` (Null allowed: kind 0).
int GetNummernTyp(const vb::Variant& ArtNr);

// Whether `ArtNr` is an ISBN-10 with a correct check character, hyphens anywhere. Null counts as
// valid, an empty text does not. When ten characters of nine digits and a digit or X fail the
// check, `Pruefziffer` (if given) receives the right check character; otherwise it is untouched.
bool IsISBN10(const vb::Variant& ArtNr, QString* Pruefziffer = nullptr);

// Whether `ArtNr` is an EAN-13 or EAN-8 with a correct check digit. `ArtNr` comes back without
// hyphens (unless it is Null or blank). When the digits before the check digit are digits but the
// check digit is wrong (or no digit), `Pruefziffer` (if given) receives the right one.
bool IsEAN13(QString& ArtNr, QString* Pruefziffer = nullptr);
bool IsEAN13(vb::Variant& ArtNr, QString* Pruefziffer = nullptr);

// Whether `ArtNr` is an ISSN (eight characters, hyphens anywhere) with a correct check character;
// when the check fails, `Pruefziffer` (if given) receives the right one.
bool IsISSN(const vb::Variant& ArtNr, QString* Pruefziffer = nullptr);

// The modulo-11 check character of `Nummer` (hyphens removed): it must be `Laenge` characters long
// with digits before the last; the weights run from `HoechsteGewichtung` down by one. Returns
// false, leaving `Pruefziffer` alone, when the text does not fit.
bool ISBN10Pruefziffer(const QString& Nummer, int Laenge, int HoechsteGewichtung, QString& Pruefziffer);

// Every character a letter A-Z (either case) or a digit; true for an empty text. Not trimmed.
bool IsAlphaNum(const QString& Text);
// Every character of the trimmed text a digit; true for an empty text.
bool IsNurZiffern(const QString& Text);

// A number of kind 1 as "978" and its digits with the right EAN check digit (a valid ISBN-10
// gives its EAN-13); any other number comes back unchanged.
QString ISBN10To13(const QString& ArtNr);
// A 13-character number (hyphens removed) as its characters 4 to 12 and the ISBN-10 check
// character, whatever its prefix; any other number comes back unchanged.
QString ISBN13To10(const QString& ArtNr);

// `Text` with every occurrence of `Suche` (any letter case) replaced by `Ersatz`; a replacement
// is not searched again. An empty `Suche` gives `Text` back unchanged.
QString ReplaceAll(const QString& Text, const QString& Suche, const QString& Ersatz);

// `Satz` with `Wert` put behind its `Feld`-th separator `Trenner`, that is at the start of field
// Feld + 1 in front of what that field holds; the number of separators stays the same, so later
// insertions by field number still fit. Feld below 1 puts `Wert` in front of the record. A record
// with fewer than `Feld` separators (or an empty `Trenner`) comes back unchanged: the field does
// not exist, and the fields that do are kept.
QString InsertFeld(const QString& Satz, long Feld, const QString& Trenner, const QString& Wert);
