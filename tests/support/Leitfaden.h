#pragma once
// A member table of docs/hosts.md against the bus introspection of its class: the same members,
// arguments (names, types, optional and by-reference marks) and result types. Arguments read
// "name (Type[, by reference][, default])", "[…]" when optional, a name without a type takes the
// next one's; let_/set_ members in a row with a plain one take the arguments, the plain one reads.
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>
#include <string>

#include "platform/automation/Bridge.h"

namespace leitfaden {

struct Mitglied {
  QStringList args;  // "name Type[ optional][ byref]", the name "?" where the guide gives none
  QString result;
};

inline QString faltung(QString s) {
  for (const auto& [von, nach] : {std::pair{u'ä', "ae"}, {u'ö', "oe"}, {u'ü', "ue"}, {u'Ä', "Ae"}, {u'Ö', "Oe"}, {u'Ü', "Ue"}, {u'ß', "ss"}})
    s.replace(QChar(von), QLatin1String(nach));
  return s.toLower();
}

inline QString erstesWort(const QString& s) { return QRegularExpression(QStringLiteral("^[A-Za-z]*")).match(s.trimmed()).captured(); }

// Read from the last argument back, so that a name without a type takes the one after it.
inline QStringList argumente(const QString& zelle) {
  static const QRegularExpression teil(QStringLiteral("(\\[?)\\s*([^,()\\[\\]]*?)\\s*(?:\\(([^()]*)\\))?\\s*\\]?\\s*(?:,|$)"));
  static const QRegularExpression wort(QStringLiteral("^[\\wÄÖÜäöüß]+$"));
  static const QStringList typen{"String", "Integer", "Long", "Double", "Currency", "Date", "Boolean", "Byte", "Variant", "Object"};
  QList<QRegularExpressionMatch> teile;
  for (auto it = teil.globalMatch(zelle); it.hasNext();)
    if (const auto m = it.next(); m.capturedLength(2) > 0 || m.capturedStart(3) >= 0) teile << m;
  QStringList out;
  QString typ;
  for (auto m = teile.crbegin(); m != teile.crend(); ++m) {
    QString name = m->captured(2);
    if (m->capturedStart(3) >= 0) typ = erstesWort(m->captured(3));
    else if (typen.contains(name)) typ = name, name.clear();
    out.prepend((wort.match(name).hasMatch() ? faltung(name) : QStringLiteral("?")) + u' ' + typ +
                QLatin1String(m->capturedLength(1) ? " optional" : "") + QLatin1String(m->captured(3).contains(u"by reference") ? " byref" : ""));
  }
  return out;
}

inline QMap<QString, Mitglied> tabelle(const QString& guide, const QString& ueberschrift) {
  static const QRegularExpression kodiert(QStringLiteral("`([^`]+)`"));
  const auto zuweisend = [](const QString& n) { return n.startsWith(u"let_") || n.startsWith(u"set_"); };
  QMap<QString, Mitglied> out;
  const QStringList zeilen = guide.split(u'\n');
  qsizetype i = zeilen.indexOf(ueberschrift);
  if (i < 0) return out;
  while (++i < zeilen.size() && !zeilen[i].startsWith(u'|')) {}
  for (i += 2; i < zeilen.size() && zeilen[i].startsWith(u'|'); ++i) {
    const QStringList zellen = zeilen[i].split(u'|');  // member, arguments, result after an empty one
    QStringList namen;
    for (auto it = kodiert.globalMatch(zellen.value(1)); it.hasNext();) namen << it.next().captured(1);
    const bool gemischt = std::any_of(namen.begin(), namen.end(), zuweisend);
    for (const QString& n : namen)
      out.insert(faltung(n), {!gemischt || zuweisend(n) ? argumente(zellen.value(2)) : QStringList(),
                              zuweisend(n) || zellen.value(3).trimmed().isEmpty() ? QStringLiteral("Empty") : erstesWort(zellen.value(3))});
  }
  return out;
}

// The class interface of an introspection document in the same form.
inline QMap<QString, Mitglied> introspektion(const QString& xml) {
  QMap<QString, Mitglied> out;
  QXmlStreamReader r(xml);
  QString methode, richtung;
  bool klasse = false;
  while (!r.atEnd()) {
    if (r.readNext() != QXmlStreamReader::StartElement) continue;
    const auto at = [&](const char* n) { return r.attributes().value(QLatin1String(n)).toString(); };
    if (r.name() == u"interface") klasse = at("name").startsWith(u"de.automation.class.");
    if (!klasse) continue;
    if (r.name() == u"method") out[methode = faltung(at("name"))] = {};
    if (r.name() == u"arg" && (richtung = at("direction")) == u"in") out[methode].args << faltung(at("name"));
    if (r.name() != u"annotation") continue;
    const QString name = at("name"), wert = at("value");
    QStringList& args = out[methode].args;
    if (name == u"de.automation.Type" && richtung == u"out") out[methode].result = wert;
    else if (name == u"de.automation.Type") args.last() += u' ' + wert;
    else if (name == u"de.automation.Optional") args.last() += u" optional";
    else if (name == u"de.automation.ByRef") args.last() += u" byref";
  }
  return out;
}

// Every difference between the table after `ueberschrift` and the class, one line each, a member
// one side lacks with the result "-"; empty when they agree.
inline std::string unterschiede(const QString& ueberschrift, const QMetaObject& mo) {
  QFile datei(QStringLiteral(SKRIVANT_SOURCE_DIR "/docs/hosts.md"));
  datei.open(QIODevice::ReadOnly);
  const auto guide = tabelle(QString::fromUtf8(datei.readAll()), ueberschrift);
  const auto klasse = introspektion(automation::Bridge::classIntrospection(mo));
  QStringList namen = guide.keys() + klasse.keys(), out;
  namen.removeDuplicates();
  for (const QString& n : std::as_const(namen)) {
    const Mitglied g = guide.value(n, {{}, QStringLiteral("-")});
    Mitglied k = klasse.value(n, {{}, QStringLiteral("-")});
    for (qsizetype p = 0; p < k.args.size() && p < g.args.size(); ++p)
      if (g.args[p].startsWith(u"? ")) k.args[p] = u'?' + k.args[p].mid(k.args[p].indexOf(u' '));
    if (k.args != g.args || k.result != g.result)
      out << QStringLiteral("%1: (%2) %3, guide (%4) %5").arg(n, k.args.join(u", "), k.result, g.args.join(u", "), g.result);
  }
  return out.join(u'\n').toStdString();
}

}  // namespace leitfaden
