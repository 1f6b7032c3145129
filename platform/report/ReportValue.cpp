#include "platform/report/ReportValue.h"

#include <QRegularExpression>
#include <QTextDocument>

#include "platform/report/RtfReader.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/Format.h"

namespace report {

ValueKind kindOf(int type) {
  const quint32 t = static_cast<quint32>(type);
  if (t & 0x20000000u) return ValueKind::Drawing;
  if (t & 0x10000000u) return ValueKind::Text;
  if (t & 0x08000000u) return ValueKind::Numeric;
  if (t & 0x04000000u) return ValueKind::Date;
  if (t & 0x02000000u) return ValueKind::Boolean;
  if (t & 0x01000000u) return ValueKind::RichText;
  return ValueKind::Text;
}

std::optional<double> readNumber(const QString& input) {
  QString s = input;
  s.remove(QLatin1Char(' '));
  s.remove(QChar(0x00A0));
  if (s.isEmpty()) return std::nullopt;
  const qsizetype lastComma = s.lastIndexOf(QLatin1Char(','));
  const qsizetype lastPoint = s.lastIndexOf(QLatin1Char('.'));
  if (lastComma >= 0 && lastPoint >= 0) {
    if (lastComma > lastPoint) {
      s.remove(QLatin1Char('.'));
      s.replace(QLatin1Char(','), QLatin1Char('.'));
    } else {
      s.remove(QLatin1Char(','));
    }
  } else if (lastComma >= 0) {
    if (s.count(QLatin1Char(',')) > 1) return std::nullopt;
    s.replace(QLatin1Char(','), QLatin1Char('.'));
  } else if (lastPoint >= 0 && s.count(QLatin1Char('.')) > 1) {
    s.remove(QLatin1Char('.'));
  }
  bool ok = false;
  const double d = s.toDouble(&ok);
  if (!ok) return std::nullopt;
  return d;
}

std::optional<double> ReportValue::number() const {
  if (kind() == ValueKind::Boolean) return truth() ? 1.0 : 0.0;
  return readNumber(text);
}

std::optional<QDateTime> ReportValue::date() const {
  const QString t = text.trimmed();
  if (t.isEmpty()) return std::nullopt;
  static const QRegularExpression serial(QStringLiteral("^-?\\d+([.,]\\d+)?$"));
  if (serial.match(t).hasMatch())
    if (auto n = readNumber(t)) return vb::fromOleDate(*n);
  const QDateTime iso = QDateTime::fromString(t, Qt::ISODate);
  if (iso.isValid()) return iso;
  std::optional<QDateTime> out;
  vb::ignoreErrors([&] { out = vb::CDate(vb::Variant(t)); });
  return out;
}

bool ReportValue::truth() const {
  const QString t = text.trimmed();
  switch (kind()) {
    case ValueKind::Boolean:
      return t == QLatin1String("1") || t == QLatin1String("-1") || vb::textEquals(t, QStringLiteral("true")) ||
             vb::textEquals(t, QStringLiteral("wahr")) || vb::textEquals(t, QStringLiteral("ja"));
    case ValueKind::Numeric: {
      const auto n = readNumber(t);
      return n && *n != 0.0;
    }
    default:
      return !t.isEmpty();
  }
}

QString ReportValue::print(const QString& pattern) const {
  switch (kind()) {
    case ValueKind::RichText: {
      QTextDocument doc;
      readRtf(text, doc, QFont());
      return doc.toPlainText();
    }
    case ValueKind::Date:
      if (!pattern.isEmpty())
        if (auto d = date()) return vb::formatDate(*d, pattern);
      return text;
    case ValueKind::Numeric:
    case ValueKind::Text:
    case ValueKind::Boolean:
      if (!pattern.isEmpty())
        if (auto n = readNumber(text)) return vb::formatNumber(*n, pattern);
      return text;
    case ValueKind::Drawing:
      return text;
  }
  return text;
}

}  // namespace report
