#pragma once
// The two currencies of the system, euro and Deutsche Mark, at the fixed rate 1.95583 DEM per EUR.
#include <QList>
#include <QString>

#include "platform/vb/Variant.h"

// "EUR" for "1", "", "EURO", "€", "EUR"; "DEM" for "0", "DM", "DEM" (blanks around and letter case
// ignored); anything else comes back exactly as passed.
QString GetWaehrungsKuerzel(const QString& Waehrung);

// `Betrag` converted between "EUR" and "DEM" (codes as GetWaehrungsKuerzel gives them); other
// pairs leave it unchanged. Not rounded.
double WaehrungUmrechnen(double Betrag, const QString& VonWaehrung, const QString& NachWaehrung);

// Makes `Betraege` add up to `Soll` by correcting the largest amount (the first of equal ones);
// Null counts as 0. An empty list raises 9, an amount that is no number 13.
void RundungsdifferenzAusgleichen(double Soll, QList<vb::Variant>& Betraege);
