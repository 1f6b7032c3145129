#pragma once
// Token cutting and string reversal; the stock servers use the same two.
#include <QString>

// Cuts one token off `Text` at `Trenner` (letter case ignored). Direction "l": the part before the
// first separator is returned and `Text` keeps the part after it; "r": the part after the last
// separator is returned and `Text` keeps the part before it. Without a separator the whole text is
// returned and `Text` becomes empty. Any other direction returns "" and leaves `Text` alone.
QString GetToken(QString& Text, const QString& Trenner, const QString& Richtung = QStringLiteral("l"));

// The characters of `Text` in reverse order.
QString ReverseString(const QString& Text);
