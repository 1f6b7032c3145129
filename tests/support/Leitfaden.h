#pragma once
// The member tables of docs/hosts.md against the bus introspection of a class: every member the
// class shows is in the table and the reverse, with the same arguments (names where the guide
// names them, automation types, optional and by-reference marks) and result type.
//
// Table grammar: the first cell names the members in backticks; the arguments cell lists
// "name (Type[, by reference][, default])", "[…]" for one that may be left out, names without a
// type taking the next one's ("AdrArt, FeldName, strWert (String)"), or a bare type; the result
// cell starts with the type, empty for none. In a row that names let_/set_ members beside a plain
// one, those take the arguments and give nothing, the plain one reads the value.
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

namespace leitfaden {

struct Argument {
  QString name;  // empty where the guide gives only the type or a description
  QString type;
  bool optional = false;
  bool byReference = false;
};

struct Member {
  QString name;
  QList<Argument> args;
  QString result;
};

inline QString faltung(QString s) {
  s.replace(u'ä', QLatin1String("ae")).replace(u'ö', QLatin1String("oe")).replace(u'ü', QLatin1String("ue"));
  s.replace(u'Ä', QLatin1String("Ae")).replace(u'Ö', QLatin1String("Oe")).replace(u'Ü', QLatin1String("Ue"));
  return s.replace(u'ß', QLatin1String("ss")).toLower();
}

inline QStringList teilen(const QString& text, QChar trenner, bool klammern) {
  QStringList teile;
  QString teil;
  int tiefe = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u'\\' && i + 1 < text.size()) {
      teil += text[++i];
      continue;
    }
    if (klammern && (c == u'(' || c == u'[')) ++tiefe;
    if (klammern && (c == u')' || c == u']')) --tiefe;
    if (c == trenner && tiefe == 0) {
      teile << teil.trimmed();
      teil.clear();
    } else {
      teil += c;
    }
  }
  teile << teil.trimmed();
  return teile;
}

inline QString typWort(const QString& text) {
  static const QRegularExpression wort(QStringLiteral("^[A-Za-z]+"));
  return wort.match(text.trimmed()).captured(0);
}

inline QList<Argument> argumente(const QString& zelle) {
  static const QStringList typen{"String", "Integer", "Long", "LongLong", "Double", "Currency", "Date",
                                 "Boolean", "Byte", "Variant", "Object"};
  static const QRegularExpression mitTyp(QStringLiteral("^(.*?)\\s*\\(([^()]*)\\)$"));
  static const QRegularExpression bezeichner(QStringLiteral("^[\\wÄÖÜäöüß]+$"));
  QList<Argument> out;
  int ohneTyp = 0;
  for (QString teil : teilen(zelle, u',', true)) {
    if (teil.isEmpty()) continue;
    Argument a;
    if (teil.startsWith(u'[') && teil.endsWith(u']')) {
      a.optional = true;
      teil = teil.mid(1, teil.size() - 2).trimmed();
    }
    const auto m = mitTyp.match(teil);
    if (m.hasMatch()) {
      a.name = m.captured(1);
      a.type = typWort(m.captured(2));
      a.byReference = m.captured(2).contains(QLatin1String("by reference"));
    } else if (typen.contains(teil)) {
      a.type = teil;
    } else {
      a.name = teil;
      ++ohneTyp;
    }
    if (!bezeichner.match(a.name).hasMatch()) a.name.clear();
    if (!a.type.isEmpty())
      for (int k = 1; k <= ohneTyp; ++k) out[out.size() - k].type = a.type;
    if (!a.type.isEmpty()) ohneTyp = 0;
    out << a;
  }
  return out;
}

// The members of the first table after the line `ueberschrift`, by folded name.
inline QMap<QString, Member> tabelle(const QString& guide, const QString& ueberschrift) {
  QMap<QString, Member> out;
  const QStringList zeilen = guide.split(u'\n');
  qsizetype i = zeilen.indexOf(ueberschrift);
  if (i < 0) return out;
  while (++i < zeilen.size() && !zeilen[i].startsWith(u'|')) {}
  static const QRegularExpression kodiert(QStringLiteral("`([^`]+)`"));
  for (i += 2; i < zeilen.size() && zeilen[i].startsWith(u'|'); ++i) {
    const QStringList zellen = teilen(zeilen[i].mid(1, zeilen[i].size() - 2), u'|', false);
    if (zellen.size() < 3) continue;
    QStringList namen;
    for (auto it = kodiert.globalMatch(zellen[0]); it.hasNext();) namen << it.next().captured(1);
    const bool zuweisung = std::any_of(namen.begin(), namen.end(), [](const QString& n) {
      return n.startsWith(QLatin1String("let_")) || n.startsWith(QLatin1String("set_"));
    });
    const QString ergebnis = zellen[2].isEmpty() ? QStringLiteral("Empty") : typWort(zellen[2]);
    for (const QString& name : namen) {
      const bool zuweisen = name.startsWith(QLatin1String("let_")) || name.startsWith(QLatin1String("set_"));
      Member m{name, {}, zuweisen ? QStringLiteral("Empty") : ergebnis};
      if (!zuweisung || zuweisen) m.args = argumente(zellen[1]);
      out.insert(faltung(name), m);
    }
  }
  return out;
}

// The class interface of an introspection document, by folded name.
inline QMap<QString, Member> introspektion(const QString& xml) {
  QMap<QString, Member> out;
  QXmlStreamReader r(xml);
  bool klasse = false;
  Member m;
  Argument a;
  bool ergebnis = false;
  while (!r.atEnd()) {
    r.readNext();
    const auto at = [&](const char* n) { return r.attributes().value(QLatin1String(n)).toString(); };
    if (r.isStartElement() && r.name() == QLatin1String("interface"))
      klasse = at("name").startsWith(QLatin1String("de.automation.class."));
    if (!klasse) continue;
    if (r.isStartElement() && r.name() == QLatin1String("method")) m = Member{at("name"), {}, {}};
    if (r.isStartElement() && r.name() == QLatin1String("arg")) {
      ergebnis = at("direction") == QLatin1String("out");
      a = Argument{at("name"), {}, false, false};
    }
    if (r.isStartElement() && r.name() == QLatin1String("annotation")) {
      const QString wert = at("value");
      if (at("name") == QLatin1String("de.automation.Type")) (ergebnis ? m.result : a.type) = wert;
      if (at("name") == QLatin1String("de.automation.Optional")) a.optional = wert == QLatin1String("true");
      if (at("name") == QLatin1String("de.automation.ByRef")) a.byReference = wert == QLatin1String("true");
    }
    if (r.isEndElement() && r.name() == QLatin1String("arg") && !ergebnis) m.args << a;
    if (r.isEndElement() && r.name() == QLatin1String("method")) out.insert(faltung(m.name), m);
  }
  return out;
}

inline QString beschreibung(const Argument& a) {
  return QStringLiteral("%1%2 %3%4").arg(a.optional ? QStringLiteral("[") : QString(), a.name, a.type,
                                         QString(a.byReference ? QStringLiteral(" byref") : QString()) +
                                             (a.optional ? QStringLiteral("]") : QString()));
}

// Every difference, one line each; empty when the guide's table and the class agree.
inline QStringList unterschiede(const QString& ueberschrift, const QString& xml) {
  QFile datei(QStringLiteral(SKRIVANT_SOURCE_DIR "/docs/hosts.md"));
  if (!datei.open(QIODevice::ReadOnly)) return {QStringLiteral("docs/hosts.md not readable")};
  const auto guide = tabelle(QString::fromUtf8(datei.readAll()), ueberschrift);
  const auto klasse = introspektion(xml);
  QStringList out;
  if (guide.isEmpty()) out << QStringLiteral("no table after ") + ueberschrift;
  for (auto it = klasse.cbegin(); it != klasse.cend(); ++it)
    if (!guide.contains(it.key())) out << QStringLiteral("not in the guide: ") + it->name;
  for (auto it = guide.cbegin(); it != guide.cend(); ++it) {
    const auto k = klasse.constFind(it.key());
    if (k == klasse.cend()) {
      out << QStringLiteral("no such member: ") + it->name;
      continue;
    }
    if (k->result != it->result) out << QStringLiteral("%1: result %2, guide %3").arg(it->name, k->result, it->result);
    if (k->args.size() != it->args.size()) {
      out << QStringLiteral("%1: %2 arguments, guide %3").arg(it->name).arg(k->args.size()).arg(it->args.size());
      continue;
    }
    for (qsizetype p = 0; p < k->args.size(); ++p) {
      Argument g = it->args[p];
      if (g.name.isEmpty()) g.name = k->args[p].name;
      const Argument& c = k->args[p];
      if (faltung(g.name) != faltung(c.name) || g.type != c.type || g.optional != c.optional || g.byReference != c.byReference)
        out << QStringLiteral("%1: argument %2 is %3, guide %4").arg(it->name).arg(p + 1).arg(beschreibung(c), beschreibung(g));
    }
  }
  return out;
}

}  // namespace leitfaden
