#include "foundation/modString.h"

#include <algorithm>

#include "platform/vb/Convert.h"

QString GetToken(QString& Text, const QString& Trenner, const QString& Richtung) {
  if (vb::textEquals(Richtung, QStringLiteral("l"))) {
    const int p = vb::InStr(Text, Trenner);
    if (p == 0) {
      const QString all = Text;
      Text.clear();
      return all;
    }
    const QString token = Text.left(p - 1);
    Text = Text.mid(p - 1 + Trenner.size());
    return token;
  }
  if (vb::textEquals(Richtung, QStringLiteral("r"))) {
    QString reversed = ReverseString(Text);
    const QString token = ReverseString(GetToken(reversed, ReverseString(Trenner), QStringLiteral("l")));
    Text = ReverseString(reversed);
    return token;
  }
  return {};
}

QString ReverseString(const QString& Text) {
  // By code points, so a character outside the basic plane stays whole.
  QList<uint> codePoints = Text.toUcs4();
  std::reverse(codePoints.begin(), codePoints.end());
  return QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()), codePoints.size());
}
