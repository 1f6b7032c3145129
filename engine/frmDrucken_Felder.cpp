// The row values of the print window: the header values, the empty set, the designer's sample
// set and the row set of one hand-over row with its control codes, rich-text position text and
// picture; the naming form of a value and the printing of one body row.
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <cmath>
#include <optional>

#include "engine/clsDruckerSchacht.h"
#include "engine/frmDrucken.h"
#include "foundation/modDebugOutput.h"
#include "foundation/modFiles.h"
#include "foundation/modSkrivant.h"
#include "foundation/modString.h"
#include "foundation/modUtils.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/report/IReportControl.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/PathResolver.h"

namespace {

const QString kProc = QStringLiteral("DruckFelderDefinieren");
constexpr int kText = report::kTypeText;
constexpr int kZahl = report::kTypeNumeric;
constexpr int kBild = report::kTypeDrawing;

// A page that stays full this often in a row will never take the row: the control is broken.
constexpr int kMaxSeitenVoll = 1000;

// One step of the row walk: a failure is logged and the walk goes on with the next step.
template <typename F>
bool schritt(F&& step) {
  return !vb::resumeNext(kProc, std::forward<F>(step)).has_value();
}

vb::Variant spalte(const data::Recordset& rs, const QString& name) {
  return rs.Fields(vb::Variant(name))->Value();
}

// A text column, Null read as `ersatz`.
QString text(const data::Recordset& rs, const QString& name, const QString& ersatz = {}) {
  return vb::CStr(NZ(spalte(rs, name), vb::Variant(ersatz)));
}

// A number column as the report's numeric text. Null is no number: the value is empty, as in the
// empty set, where the previous row's value would otherwise be printed again.
QString zahl(const data::Recordset& rs, const QString& name) {
  const vb::Variant wert = spalte(rs, name);
  return wert.isNull() ? QString() : vb::CStr(wert);
}

struct Wert {
  const char16_t* name;
  QString inhalt;
  int typ;
};

// ---- rich-text position text ----

// Text as RTF: the three special characters escaped, line breaks as paragraph ends, characters
// beyond ASCII as code-page bytes or, where the code page has none, as Unicode escapes.
QString rtfText(const QString& s) {
  QString out;
  for (qsizetype i = 0; i < s.size(); ++i) {
    const QChar c = s[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n') ++i;
      out += QStringLiteral("\\par ");
    } else if (c == u'\t') {
      out += QStringLiteral("\\tab ");
    } else if (c == u'\\' || c == u'{' || c == u'}') {
      out += u'\\';
      out += c;
    } else if (c.unicode() < 0x80) {
      out += c;
    } else {
      const QByteArray ansi = toAnsi(QString(c));
      if (ansi != "?")
        out += QStringLiteral("\\'%1").arg(static_cast<uchar>(ansi.at(0)), 2, 16, QLatin1Char('0'));
      else
        out += QStringLiteral("\\u%1?").arg(static_cast<qint16>(c.unicode()));
    }
  }
  return out;
}

// Position behind the group that opens at `open` (the index of its "{"), or the text's end.
qsizetype hinterGruppe(const QString& rtf, qsizetype open) {
  int tiefe = 0;
  for (qsizetype i = open; i < rtf.size(); ++i) {
    const QChar c = rtf[i];
    if (c == u'\\') {
      ++i;  // an escaped brace or backslash does not count
    } else if (c == u'{') {
      ++tiefe;
    } else if (c == u'}' && --tiefe == 0) {
      return i + 1;
    }
  }
  return rtf.size();
}

// Where the document's first character stands: behind the version, the header groups (font and
// colour tables, style sheet, information, "\*" destinations) and the formatting words in front
// of the first text, so the lead-in takes the first paragraph's own paragraph formatting.
qsizetype textAnfang(const QString& rtf) {
  static const QStringList kKopfGruppen = {
      QStringLiteral("fonttbl"), QStringLiteral("colortbl"), QStringLiteral("stylesheet"),
      QStringLiteral("info"),    QStringLiteral("filetbl"),  QStringLiteral("revtbl"),
      QStringLiteral("header"),  QStringLiteral("headerl"),  QStringLiteral("headerr"),
      QStringLiteral("headerf"), QStringLiteral("footer"),   QStringLiteral("footerl"),
      QStringLiteral("footerr"), QStringLiteral("footerf")};
  static const QStringList kZeichenWoerter = {
      QStringLiteral("par"),     QStringLiteral("line"),      QStringLiteral("tab"),
      QStringLiteral("sect"),    QStringLiteral("page"),      QStringLiteral("column"),
      QStringLiteral("cell"),    QStringLiteral("row"),       QStringLiteral("u"),
      QStringLiteral("emdash"),  QStringLiteral("endash"),    QStringLiteral("bullet"),
      QStringLiteral("lquote"),  QStringLiteral("rquote"),    QStringLiteral("ldblquote"),
      QStringLiteral("rdblquote"), QStringLiteral("emspace"), QStringLiteral("enspace"),
      QStringLiteral("qmspace")};
  static const QRegularExpression kWort(QStringLiteral("\\G\\\\([a-zA-Z]+)(-?\\d+)? ?"));
  static const QRegularExpression kGruppenKopf(QStringLiteral("\\G\\{\\s*\\\\(\\*|[a-zA-Z]+)"));

  qsizetype i = 5;  // behind "{\rtf", its version and the blank that ends the word
  while (i < rtf.size() && rtf[i].isDigit()) ++i;
  if (i < rtf.size() && rtf[i] == u' ') ++i;
  while (i < rtf.size()) {
    const QChar c = rtf[i];
    if (c == u'\r' || c == u'\n') {
      ++i;
    } else if (c == u'{') {
      const auto m = kGruppenKopf.match(rtf, i);
      if (!m.hasMatch() || !(m.captured(1) == u"*" || kKopfGruppen.contains(m.captured(1)))) return i;
      i = hinterGruppe(rtf, i);
    } else if (c == u'\\') {
      const auto m = kWort.match(rtf, i);
      if (!m.hasMatch() || kZeichenWoerter.contains(m.captured(1))) return i;
      i += m.capturedLength();
    } else {
      return i;  // text, or the document's closing brace
    }
  }
  return i;
}

// The quantity-unit font, each attribute as far as it could be read.
struct Schrift {
  std::optional<QString> name;
  std::optional<double> groesse;
  std::optional<bool> kursiv, fett, unterstrichen, durchgestrichen;
};

Schrift mengenEinheitSchrift(const frmDrucken& f) {
  const auto wert = [&f](const char16_t* was) {
    if (!f.DruckerSchacht) vb::raise(vb::ErrObjectNotSet);
    return f.DruckerSchacht->MEFont(QString::fromUtf16(was));
  };
  Schrift s;
  schritt([&] { s.name = vb::CStr(wert(u"Name")); });
  schritt([&] { s.groesse = vb::CDbl(wert(u"Size")); });
  schritt([&] { s.kursiv = vb::CBool(wert(u"Italic")); });
  schritt([&] { s.fett = vb::CBool(wert(u"Bold")); });
  schritt([&] { s.unterstrichen = vb::CBool(wert(u"Underline")); });
  schritt([&] { s.durchgestrichen = vb::CBool(wert(u"Strikethrough")); });
  return s;
}

// A font number that no font of the document uses.
int freieSchriftNummer(const QString& rtf) {
  static const QRegularExpression kNummer(QStringLiteral("\\\\(?:deff|f)(\\d+)"));
  int nummer = 0;
  for (auto it = kNummer.globalMatch(rtf); it.hasNext();) nummer = qMax(nummer, it.next().captured(1).toInt() + 1);
  return nummer;
}

// Adds font `nummer` named `name` to the document's font table, creating the table when there is none.
QString schriftEintragen(QString rtf, const QString& name, int nummer) {
  static const QRegularExpression kTabelle(QStringLiteral("\\{\\s*\\\\fonttbl"));
  const QString eintrag = QStringLiteral("{\\f%1\\fnil %2;}").arg(nummer).arg(rtfText(name));
  const auto m = kTabelle.match(rtf);
  if (m.hasMatch()) {
    rtf.insert(hinterGruppe(rtf, m.capturedStart()) - 1, eintrag);
  } else {
    // Behind "\rtf1" and the blank that ends it, so the blank stays no text.
    qsizetype i = 5;
    while (i < rtf.size() && rtf[i].isDigit()) ++i;
    if (i < rtf.size() && rtf[i] == u' ') ++i;
    rtf.insert(i, QStringLiteral("{\\fonttbl") + eintrag + u'}');
  }
  return rtf;
}

// The RTF document with the lead-in in front of its first character, in the given font.
QString mitVorspann(QString rtf, const QString& vorspann, const Schrift& s) {
  const int nummer = freieSchriftNummer(rtf);
  QString gruppe = QStringLiteral("{\\uc1");
  if (s.name) gruppe += QStringLiteral("\\f%1").arg(nummer);
  if (s.groesse) gruppe += QStringLiteral("\\fs%1").arg(qRound(*s.groesse * 2));
  if (s.kursiv) gruppe += *s.kursiv ? QStringLiteral("\\i") : QStringLiteral("\\i0");
  if (s.fett) gruppe += *s.fett ? QStringLiteral("\\b") : QStringLiteral("\\b0");
  if (s.unterstrichen) gruppe += *s.unterstrichen ? QStringLiteral("\\ul") : QStringLiteral("\\ulnone");
  if (s.durchgestrichen) gruppe += *s.durchgestrichen ? QStringLiteral("\\strike") : QStringLiteral("\\strike0");
  gruppe += u' ' + rtfText(vorspann) + u'}';
  rtf.insert(textAnfang(rtf), gruppe);
  // The table stands in front of the text, so it goes in last.
  return s.name ? schriftEintragen(rtf, *s.name, nummer) : rtf;
}

// `Bezeichnung` of a position row: plain text, or rich text with the lead-in moved into the
// document in the quantity-unit font.
void bezeichnungDefinieren(frmDrucken& f, const data::Recordset& rs) {
  static const QString kMarke = QStringLiteral("{\\rtf");
  QString bezeichnung;
  QString datei;
  schritt([&] { bezeichnung = text(rs, QStringLiteral("Bezeichnung")); });
  schritt([&] { datei = text(rs, QStringLiteral("TextAusDatei")); });
  QString posText = bezeichnung;
  if (!datei.isEmpty()) schritt([&] { posText = bezeichnung + DateiLesen(datei); });

  if (vb::InStr(posText, kMarke) == 0) {
    schritt([&] { f.DefiniereWert(QStringLiteral("Bezeichnung"), posText, kText); });
    return;
  }
  QString rumpf = posText;
  QString vorspann = GetToken(rumpf, kMarke);
  // Text that came with a file keeps a blank in front of each of its line ends.
  if (!datei.isEmpty()) vorspann.replace(QStringLiteral("\r\n"), QStringLiteral(" \r\n"));
  QString rtf = kMarke + rumpf;
  if (!vorspann.isEmpty()) rtf = mitVorspann(rtf, vorspann, mengenEinheitSchrift(f));
  schritt([&] { f.DefiniereWert(QStringLiteral("Bezeichnung"), rtf, report::kTypeRichText); });
}

// ---- picture ----

// The picture in the holder; error 481 when the file holds none.
QImage bildLaden(const QString& pfad) {
  QImageReader leser(vb::resolvePath(pfad));
  QImage bild = leser.read();
  if (bild.isNull()) vb::raise(481, {}, QStringLiteral("Ungültiges Bild"));
  return bild;
}

// A length of `punkte` pixels at `proMeter` dots per metre, in the row's picture units: whole
// 0.01 mm divided by 157. Without a stored resolution the screen's 96 dpi apply.
QString bildMass(int punkte, int proMeter) {
  if (proMeter <= 0) proMeter = 3780;
  const double hundertstelMm = std::round(punkte * 100000.0 / proMeter);
  return vb::numberToText(hundertstelMm / 157.0);
}

}  // namespace

short frmDrucken::AktBerichtArt() const {
  const short art = DruckerSchacht ? DruckerSchacht->BerichtArt() : -1;
  return art == -1 ? EntwurfBerichtArt : art;
}

void frmDrucken::DefiniereWert(const QString& name, const QString& value, int type) {
  if (AktBerichtArt() == 1)
    LL().DefineReportVariable(QStringLiteral("Details.") + name, value, type);
  else
    LL().DefineReportField(name, value, type);
}

void frmDrucken::ZeileDrucken() {
  int volleSeiten = 0;
  while (LL().PrintFields() == report::kPageFull) {
    if (++volleSeiten > kMaxSeitenVoll) {
      DebugOutput(QStringLiteral("ZeileDrucken: Seite nach %1 Seitenwechseln noch voll, Zeile nicht gedruckt")
                      .arg(kMaxSeitenVoll));
      return;
    }
    LL().PrintVariables();
  }
}

void frmDrucken::DruckFelderDefinieren(const std::shared_ptr<data::Recordset>& rs, bool AllesLeer) {
  const auto definiere = [this](const std::vector<Wert>& werte) {
    for (const Wert& w : werte) schritt([&] { DefiniereWert(QString::fromUtf16(w.name), w.inhalt, w.typ); });
  };

  // Header values, on every call.
  schritt([&] {
    DefiniereWert(QStringLiteral("ÜbertragDrucken"), UebertraegeDrucken() ? QStringLiteral("JA") : QStringLiteral("NEIN"),
                  kText);
  });
  definiere({
      {u"AnzahlSeiten", QString::number(Seitenzahl), kText},
      {u"LinieEinfach", GetDatenverzeichnis() + QStringLiteral("FORMULAR\\LEinfach.BMP"), kBild},
      {u"LinieDoppelt", GetDatenverzeichnis() + QStringLiteral("FORMULAR\\LDoppelt.BMP"), kBild},
      {u"RabattProPos", m_RabattProPosition ? QStringLiteral("1") : QStringLiteral("0"), kZahl},
  });

  if (AllesLeer) {
    QString vortext;
    schritt([&] { vortext = vb::CStr(GetValue(QStringLiteral("Vortext"), vb::Variant(QString()))); });
    definiere({
        {u"ÜbertragUnterdrücken", QStringLiteral("Nein"), kText}, {u"Position", {}, kText},
        {u"Menge", {}, kText}, {u"Bezeichnung", {}, kText}, {u"EP", {}, kZahl}, {u"GP", {}, kZahl},
        {u"Liste", {}, kZahl}, {u"DruckEP", {}, kText}, {u"DruckGP", {}, kText}, {u"InfoPreis", {}, kText},
        {u"Vortext", {}, kText}, {u"Schlusstext", {}, kText}, {u"Zahltext", {}, kText},
        {u"Zeilentyp", {}, kText}, {u"Bilddatei", {}, kBild}, {u"BildHöhe", {}, kZahl},
        {u"BildBreite", {}, kZahl}, {u"EPUnterstreichen", {}, kText}, {u"GPUnterstreichen", {}, kText},
        {u"MLBezeichnung", {}, kText}, {u"MLPreis", {}, kText}, {u"VortextPermanent", vortext, kText},
        {u"MWSTArt", QStringLiteral("1"), kZahl}, {u"RabattSatz", QStringLiteral("0"), kZahl},
        {u"MWSTSatz", QStringLiteral("0.16"), kZahl}, {u"Firmenbestellung.Sachbearbeiter", {}, kText},
        {u"Firmenbestellung.Kostenstelle", {}, kText}, {u"Firmenbestellung.Besteller", {}, kText},
        {u"PosBemerkung", {}, kText}, {u"ISBN", {}, kText}, {u"Autor", {}, kText},
        {u"Matchcode", {}, kText}, {u"Titel", {}, kText},
    });
    return;
  }

  if (!rs) {
    // The designer's sample row; the person, match code and title are made up.
    const QString vortext = QStringLiteral("Hierüber erfolgt die Ausgabe des Vortextes");
    definiere({
        {u"ÜbertragUnterdrücken", QStringLiteral("Nein"), kText},
        {u"Position", QStringLiteral("01.001"), kText},
        {u"Menge", QStringLiteral("2.00"), kText},
        {u"Bezeichnung",
         QStringLiteral("Dies ist ein langer Beispieltext für eine Position der Rechnung, damit der Umbruch zu "
                        "sehen ist. abcdefghijklmnopqrstuvwxyz abcdefghijklmnopqrstuvwxyz abcdefghijklmnopqrstuvwxyz"),
         kText},
        {u"EP", QStringLiteral("1,12"), kZahl}, {u"GP", QStringLiteral("2,24"), kZahl},
        {u"Liste", QStringLiteral("1,12"), kZahl}, {u"DruckEP", QStringLiteral("1,12"), kText},
        {u"DruckGP", QStringLiteral("2,24"), kText}, {u"InfoPreis", {}, kText},
        {u"Vortext", vortext, kText}, {u"VortextPermanent", vortext, kText},
        {u"Schlusstext", QStringLiteral("Hierüber erfolgt die Ausgabe des Schlusstextes"), kText},
        {u"Zahltext", QStringLiteral("Hierüber erfolgt die Ausgabe des Zahltextes"), kText},
        {u"Zeilentyp", QStringLiteral("Position"), kText}, {u"EPUnterstreichen", {}, kText},
        {u"GPUnterstreichen", {}, kText}, {u"Bilddatei", {}, kBild}, {u"BildHöhe", {}, kZahl},
        {u"BildBreite", {}, kZahl}, {u"MLBezeichnung", {}, kText}, {u"MLPreis", {}, kText},
        {u"MWSTArt", QStringLiteral("1"), kZahl}, {u"RabattSatz", QStringLiteral("0"), kZahl},
        {u"MWSTSatz", QStringLiteral("0.16"), kZahl},
        {u"Firmenbestellung.Sachbearbeiter", QStringLiteral("SB bei Firmenkunden"), kText},
        {u"Firmenbestellung.Kostenstelle", QStringLiteral("Kostenstelle bei Firmenkunden"), kText},
        {u"Firmenbestellung.Besteller", QStringLiteral("Besteller bei Firmenkunden"), kText},
        {u"PosBemerkung", QStringLiteral("Bemerkung zur Rechnungsposition"), kText},
        {u"ISBN", QStringLiteral("3-499-22558-2"), kText}, {u"Autor", QStringLiteral("Erika Mustermann"), kText},
        {u"Matchcode", QStringLiteral("Mustermann; Beispielbuch"), kText},
        {u"Titel", QStringLiteral("Ein Beispielbuch"), kText},
    });
    return;
  }

  const data::Recordset& r = *rs;
  const auto textWert = [&](const QString& name, const QString& spaltenName) {
    schritt([&] { DefiniereWert(name, text(r, spaltenName), kText); });
  };
  const auto zahlWert = [&](const QString& name, const QString& spaltenName) {
    schritt([&] { DefiniereWert(name, zahl(r, spaltenName), kZahl); });
  };

  // What the row is: the same in every kind of row.
  textWert(QStringLiteral("ISBN"), QStringLiteral("EAN"));
  textWert(QStringLiteral("Autor"), QStringLiteral("Autor"));
  textWert(QStringLiteral("Matchcode"), QStringLiteral("Matchcode"));
  textWert(QStringLiteral("Titel"), QStringLiteral("Bezeichnung"));
  zahlWert(QStringLiteral("MWSTArt"), QStringLiteral("MWSTArt"));
  zahlWert(QStringLiteral("MWSTSatz"), QStringLiteral("MwStSatz"));
  textWert(QStringLiteral("Firmenbestellung.Sachbearbeiter"), QStringLiteral("Sachbearbeiter"));
  textWert(QStringLiteral("Firmenbestellung.Kostenstelle"), QStringLiteral("Kostenstelle"));
  textWert(QStringLiteral("Firmenbestellung.Besteller"), QStringLiteral("KST_Ansprechpartner"));
  textWert(QStringLiteral("PosBemerkung"), QStringLiteral("Bemerkung"));
  // The one value that is a plain report variable in both naming forms.
  schritt([&] {
    LL().DefineReportVariable(QStringLiteral("VortextPermanent"),
                              vb::CStr(GetValue(QStringLiteral("Vortext"), vb::Variant(QString()))), kText);
  });

  // A control code that cannot be read is no code: the row stays a position row, where taking
  // it for the first code would blank every row of a table without the column.
  QString code;
  schritt([&] { code = text(r, QStringLiteral("ControlString")); });
  const auto ist = [&code](const char16_t* c) { return vb::textEquals(code, QString::fromUtf16(c)); };

  if (ist(u"{Leerzeile}")) {
    schritt([&] { DruckFelderDefinieren(nullptr, true); });
    schritt([&] { DefiniereWert(QStringLiteral("Zeilentyp"), QStringLiteral("Leerzeile"), kText); });
    schritt([&] { ZeileDrucken(); });
  } else if (ist(u"{Seitenvorschub}")) {
    // The document print prints every row after this call: a page feed must not print the
    // position before it again, nor count it twice in the carry-over.
    schritt([&] { DruckFelderDefinieren(nullptr, true); });
    if (AktBerichtArt() != 1) schritt([&] { NeueSeite(); });
  } else if (ist(u"{TB}")) {
    schritt([&] { DruckFelderDefinieren(nullptr, true); });
    textWert(QStringLiteral("Bezeichnung"), QStringLiteral("Bezeichnung"));
    schritt([&] { DefiniereWert(QStringLiteral("Zeilentyp"), QStringLiteral("Textbaustein"), kText); });
  } else if (ist(u"{Zwischensumme}")) {
    schritt([&] { DruckeZwischensumme(); });
  } else {
    schritt([&] { DefiniereWert(QStringLiteral("RabattSatz"), vb::CStr(NZ(spalte(r, QStringLiteral("Rabatt")), 0)), kZahl); });
    zahlWert(QStringLiteral("MWSTArt"), QStringLiteral("MWSTArt"));
    zahlWert(QStringLiteral("MWSTSatz"), QStringLiteral("MwStSatz"));
    zahlWert(QStringLiteral("Liste"), QStringLiteral("VK"));
    schritt([&] { DefiniereWert(QStringLiteral("Position"), text(r, QStringLiteral("Feld1"), QStringLiteral(" ")), kText); });
    textWert(QStringLiteral("Menge"), QStringLiteral("Menge"));
    bezeichnungDefinieren(*this, r);
    if (!m_DruckOhneEPGP) PreiseDefinieren(rs);
    schritt([&] { DefiniereWert(QStringLiteral("InfoPreis"), QString(), kText); });
    schritt([&] {
      DefiniereWert(QStringLiteral("Zeilentyp"),
                    ist(u"{FBGruppenkopf}") ? QStringLiteral("FirmenBestGruppenKopf") : QStringLiteral("Position"),
                    kText);
    });
  }

  // Picture of the row. The column is read only where the table has it.
  QString bild;
  if (BildspalteVorhanden) schritt([&] { bild = text(r, QStringLiteral("BildAusdatei")); });
  // A file that is missing or holds no picture gets no picture, never the one of the row before;
  // only a file that is there but no picture is logged.
  if (!bild.isEmpty() && DateiExistiert(bild)) {
    if (schritt([&] { m_Picture = bildLaden(bild); })) {
      schritt([&] { DefiniereWert(QStringLiteral("Bilddatei"), bild, kBild); });
      schritt([&] { DefiniereWert(QStringLiteral("BildHöhe"), bildMass(m_Picture.height(), m_Picture.dotsPerMeterY()), kZahl); });
      schritt([&] { DefiniereWert(QStringLiteral("BildBreite"), bildMass(m_Picture.width(), m_Picture.dotsPerMeterX()), kZahl); });
      return;
    }
  }
  schritt([&] { DefiniereWert(QStringLiteral("Bilddatei"), QString(), kBild); });
  schritt([&] { DefiniereWert(QStringLiteral("BildHöhe"), QString(), kZahl); });
  schritt([&] { DefiniereWert(QStringLiteral("BildBreite"), QString(), kZahl); });
}
