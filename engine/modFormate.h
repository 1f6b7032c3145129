#pragma once
// The engine's three display formats for amounts, percentages and VAT rates. They live for the
// whole process and are shared by every job; empty at start, set only by the batch print. An empty
// format gives the general number form.
#include <QString>

void SetBetraegeFormat(const QString& Format);
QString GetBetraegeFormat();
void SetProzentFormat(const QString& Format);
QString GetProzentFormat();
void SetMWSTSatzFormat(const QString& Format);
QString GetMWSTSatzFormat();

// `Betrag` as text in the amount format; error 6 for an infinite or undefined amount.
QString BetragFormatieren(double Betrag);
