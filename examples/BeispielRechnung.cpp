#include "examples/BeispielRechnung.h"

namespace beispiel {

Zeile position(int nummer, double menge, const QString& bezeichnung, double ep, bool vollerSatz) {
  Zeile z;
  z.Feld1 = QString::number(nummer);
  z.Menge = menge;
  z.Bezeichnung = bezeichnung;
  z.EP = ep;
  z.MWSTArt = vollerSatz ? 1 : 2;
  z.MwStSatz = vollerSatz ? kMwstVoll : kMwstHalb;
  // Books keep their fixed price; only the full-rate goods take the discount.
  z.RabattFaehig = vollerSatz;
  return z;
}

QList<Zeile> massenPositionen(int anzahl) {
  QList<Zeile> zeilen;
  for (int i = 1; i <= anzahl; ++i)
    zeilen << position(i, i % 5 + 1,
                       i % 5 == 0 ? QStringLiteral("Ein langer Buchtitel über Größe und Übermut, der in "
                                                   "seiner Spalte auf eine zweite Zeile umbricht")
                                  : QStringLiteral("Buch Nr. %1").arg(i),
                       0.37 + 1.13 * (i % 40), i % 3 == 0);
  return zeilen;
}

namespace {

Zeile steuerzeile(const QString& code, const QString& bezeichnung = {}) {
  Zeile z;
  z.ControlString = code;
  z.Bezeichnung = bezeichnung;
  return z;
}

Zeile buch(int nummer, double menge, const QString& titel, double ep) { return position(nummer, menge, titel, ep, false); }
Zeile ware(int nummer, double menge, const QString& text, double ep) { return position(nummer, menge, text, ep, true); }

}  // namespace

QList<Zeile> beispielZeilen() {
  QList<Zeile> zeilen;
  zeilen << buch(1, 30, QStringLiteral("Goethe: Faust I – Schulausgabe"), 4.67)
         << buch(2, 30, QStringLiteral("Schiller: Die Räuber – Schulausgabe"), 3.93)
         << buch(3, 28, QStringLiteral("Lessing: Nathan der Weise – Schulausgabe"), 4.21);
  Zeile atlas = buch(4, 2, QStringLiteral("Atlas der Erde, Ausgabe für Gymnasien"), 27.10);
  atlas.EAN = QStringLiteral("978-3-00-000412-7");
  zeilen << atlas;
  // Written by the host as rich text: the edition in bold on a line of its own.
  Zeile woerterbuch = buch(5, 1, QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 "
                                               "W\\'f6rterbuch der deutschen Rechtschreibung,\\line {\\b 29. Auflage}}"),
                           24.30);
  woerterbuch.EAN = QStringLiteral("978-3-00-000529-2");
  zeilen << woerterbuch
         << buch(6, 3, QStringLiteral("Fontane: Effi Briest – Schulausgabe"), 6.45)
         << buch(7, 5, QStringLiteral("Kafka: Die Verwandlung – Lektüreschlüssel"), 5.05)
         << buch(8, 25, QStringLiteral("Büchner: Woyzeck – Schulausgabe"), 3.64)
         << buch(9, 1, QStringLiteral("Lexikon der Weltgeschichte"), 45.79)
         << buch(10, 12, QStringLiteral("Formelsammlung Mathematik, Sekundarstufe II"), 11.17)
         << steuerzeile(QStringLiteral("{Zwischensumme}"))
         << steuerzeile(QStringLiteral("{Leerzeile}"))
         << ware(11, 10, QStringLiteral("Whiteboard-Marker, 4er-Set, sortiert"), 6.29)
         << ware(12, 20, QStringLiteral("Collegeblock A4, kariert, 80 Blatt"), 2.09)
         << ware(13, 5, QStringLiteral("Ordner A4, 8 cm, blau"), 2.94)
         << ware(14, 2, QStringLiteral("Laminiergerät A4"), 36.97)
         << ware(15, 4, QStringLiteral("Laminierfolien A4, 100 Stück"), 9.24)
         << ware(16, 50, QStringLiteral("Bleistift HB"), 0.37)
         << ware(17, 3, QStringLiteral("Locher, bis 40 Blatt"), 8.36)
         << ware(18, 3, QStringLiteral("Heftgerät, bis 30 Blatt"), 7.98)
         << ware(19, 10, QStringLiteral("Heftklammern 24/6, 1000 Stück"), 1.25);
  Zeile globus = ware(20, 1, QStringLiteral("Globus, Durchmesser 30 cm, beleuchtet"), 58.82);
  globus.Bemerkung = QStringLiteral("Ausstellungsstück, Sockel mit leichten Kratzern");
  zeilen << globus
         << ware(21, 6, QStringLiteral("Lernspiel Geografie-Quiz"), 16.76)
         << ware(22, 2, QStringLiteral("Wandkalender 2025, Kunst"), 12.56)
         << ware(23, 15, QStringLiteral("Klebestift 40 g"), 1.67)
         << ware(24, 8, QStringLiteral("Geodreieck 16 cm"), 1.51)
         << steuerzeile(QStringLiteral("{TB}"),
                        QStringLiteral("Die folgenden Titel erscheinen im April; wir liefern sie ohne weitere "
                                       "Versandkosten nach."))
         << buch(25, 30, QStringLiteral("Hauptmann: Die Weber – Schulausgabe"), 4.11)
         << buch(26, 1, QStringLiteral("Schulwörterbuch Englisch–Deutsch, Neuausgabe"), 20.56);
  return zeilen;
}

QString beispielVortext() {
  return QStringLiteral(
      "Sehr geehrte Frau Dr. Albers,\r\n\r\n"
      "vielen Dank für Ihre Bestellung vom <BestellDatum> für das neue Schuljahr. Die Lektüren und "
      "Nachschlagewerke haben wir am <LieferDatum> geliefert, die Schreibwaren und Unterrichtsmaterialien "
      "mit derselben Sendung.\r\n\r\n"
      "Wie vereinbart erhalten Sie auf alle nicht preisgebundenen Artikel einen Rabatt von <Rabatt>. "
      "Bücher unterliegen der Buchpreisbindung und sind davon ausgenommen. Die Aufstellung der gelieferten "
      "Artikel finden Sie auf der folgenden Seite.\r\n\r\n"
      "Mit freundlichen Grüßen\r\n\r\n"
      "Buchhandlung am Markt\r\n"
      "<Seitenumbruch>"
      "Wir berechnen Ihnen:");
}

QString beispielSchlusstext() {
  return QStringLiteral("Die Lieferung erfolgte frei Haus.");
}

QString beispielZahltext() {
  return QStringLiteral("Bitte überweisen Sie den Rechnungsbetrag von <EndBetrag> bis zum <ZahlungDatum> ohne Abzug "
                        "unter Angabe der Rechnungsnummer <RechnungNr>.");
}

}  // namespace beispiel
