#pragma once
// A member table of docs/hosts.md against the bus introspection of its class: the same members,
// each with the same arguments (names where the guide gives one word, types, optional and
// by-reference marks) and result type. The table grammar the guide keeps to: backticked names
// in the first cell; arguments "name (Type[, by reference][, default])", "[…]" when optional,
// names without a type taking the next one's, or a bare type; the result cell starts with its
// type, empty for none. Where a row names let_/set_ members beside a plain one, those take the
// arguments and give nothing, the plain one reads the value.
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

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

// `text` split at `trenner` outside brackets; a backslash keeps the next character as it is.
inline QStringList teilen(const QString& text, QChar trenner) {
  QStringList teile{QString()};
  int tiefe = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i] == u'\\' && i + 1 < text.size() ? text[++i] : text[i];
    tiefe += (c == u'(' || c == u'[') - (c == u')' || c == u']');
    if (c == trenner && tiefe == 0) teile << QString();
    else teile.last() += c;
  }
  for (QString& t : teile) t = t.trimmed();
  return teile;
}

inline QString erstesWort(const QString& s) {
  return QRegularExpression(QStringLiteral("^[A-Za-z]*")).match(s.trimmed()).captured();
}

inline QStringList argumente(const QString& zelle) {
  static const QRegularExpression mitTyp(QStringLiteral("^(.*?)\\s*\\(([^()]*)\\)$"));
  static const QRegularExpression wort(QStringLiteral("^[\\wÄÖÜäöüß]+$"));
  static const QStringList typen{"String", "Integer", "Long", "Double", "Currency", "Date", "Boolean", "Byte", "Variant", "Object"};
  QStringList out, offen;  // offen: names waiting for the next one's type
  for (QString teil : teilen(zelle, u',')) {
    if (teil.isEmpty()) continue;
    const bool optional = teil.startsWith(u'[');
    if (optional) teil = teil.mid(1, teil.size() - 2);
    const auto m = mitTyp.match(teil);
    QString name = m.hasMatch() ? m.captured(1) : teil;
    QString typ = m.hasMatch() ? erstesWort(m.captured(2)) : QString();
    if (!m.hasMatch() && typen.contains(name)) typ = name, name.clear();
    const QString marken = QLatin1String(optional ? " optional" : "") +
                           QLatin1String(m.captured(2).contains(QLatin1String("by reference")) ? " byref" : "");
    name = wort.match(name).hasMatch() ? faltung(name) : QStringLiteral("?");
    if (typ.isEmpty()) {
      offen << name + QLatin1Char('\t') + marken;
      continue;
    }
    for (const QString& o : std::as_const(offen)) out << o.section(u'\t', 0, 0) + u' ' + typ + o.section(u'\t', 1);
    offen.clear();
    out << name + u' ' + typ + marken;
  }
  return out + offen;
}

inline QMap<QString, Mitglied> tabelle(const QString& guide, const QString& ueberschrift) {
  QMap<QString, Mitglied> out;
  const QStringList zeilen = guide.split(u'\n');
  qsizetype i = zeilen.indexOf(ueberschrift);
  if (i < 0) return out;
  while (++i < zeilen.size() && !zeilen[i].startsWith(u'|')) {}
  for (i += 2; i < zeilen.size() && zeilen[i].startsWith(u'|'); ++i) {
    const QStringList zellen = teilen(zeilen[i].mid(1, zeilen[i].size() - 2), u'|');
    QStringList namen;
    static const QRegularExpression kodiert(QStringLiteral("`([^`]+)`"));
    for (auto it = kodiert.globalMatch(zellen.value(0)); it.hasNext();) namen << it.next().captured(1);
    const auto zuweisend = [](const QString& n) { return n.startsWith(u"let_") || n.startsWith(u"set_"); };
    const bool gemischt = std::any_of(namen.begin(), namen.end(), zuweisend);
    for (const QString& n : namen)
      out.insert(faltung(n), Mitglied{!gemischt || zuweisend(n) ? argumente(zellen.value(1)) : QStringList(),
                                      zuweisend(n) || zellen.value(2).isEmpty() ? QStringLiteral("Empty")
                                                                                : erstesWort(zellen.value(2))});
  }
  return out;
}

// The class interface of an introspection document in the same form.
inline QMap<QString, Mitglied> introspektion(const QString& xml) {
  QMap<QString, Mitglied> out;
  QXmlStreamReader r(xml);
  QString methode, arg;
  bool klasse = false;
  while (!r.atEnd()) {
    if (r.readNext() != QXmlStreamReader::StartElement) continue;
    const auto at = [&](const char* n) { return r.attributes().value(QLatin1String(n)).toString(); };
    if (r.name() == u"interface") klasse = at("name").startsWith(u"de.automation.class.");
    if (!klasse) continue;
    if (r.name() == u"method") out[methode = faltung(at("name"))] = {};
    if (r.name() == u"arg" && at("direction") == u"in") out[methode].args << faltung(at("name"));
    if (r.name() == u"arg") arg = at("direction");
    if (r.name() != u"annotation") continue;
    QStringList& args = out[methode].args;
    if (at("name") == u"de.automation.Type" && arg == u"out") out[methode].result = at("value");
    else if (at("name") == u"de.automation.Type") args.last() += u' ' + at("value");
    else if (at("name") == u"de.automation.Optional") args.last() += u" optional";
    else if (at("name") == u"de.automation.ByRef") args.last() += u" byref";
  }
  return out;
}

// Every difference, one line each; empty when the table and the class agree.
inline QStringList unterschiede(const QString& ueberschrift, const QString& xml) {
  QFile datei(QStringLiteral(SKRIVANT_SOURCE_DIR "/docs/hosts.md"));
  if (!datei.open(QIODevice::ReadOnly)) return {QStringLiteral("docs/hosts.md not readable")};
  const auto guide = tabelle(QString::fromUtf8(datei.readAll()), ueberschrift), klasse = introspektion(xml);
  QStringList out;
  if (guide.isEmpty()) out << QStringLiteral("no table after ") + ueberschrift;
  for (const QString& name : klasse.keys())
    if (!guide.contains(name)) out << QStringLiteral("not in the guide: ") + name;
  for (auto g = guide.cbegin(); g != guide.cend(); ++g) {
    if (!klasse.contains(g.key())) {
      out << QStringLiteral("no such member: ") + g.key();
      continue;
    }
    Mitglied k = klasse[g.key()];
    for (qsizetype p = 0; p < k.args.size() && p < g->args.size(); ++p)
      if (g->args[p].startsWith(u"? ")) k.args[p] = u'?' + k.args[p].mid(k.args[p].indexOf(u' '));
    if (k.args != g->args || k.result != g->result)
      out << QStringLiteral("%1: (%2) %3, guide (%4) %5")
                 .arg(g.key(), k.args.join(u", "), k.result, g->args.join(u", "), g->result);
  }
  return out;
}

}  // namespace leitfaden
