#include "stockservers/common/LagerIndizes.h"

#include <QRegularExpression>
#include <QSet>
#include <cstring>

#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "schema/BookshopSchema.h"

namespace {

// How long the index work waits for a file another program holds: the statements' own busy
// timeout, once per statement, kept a server from answering for over a minute.
constexpr int kKurzWartenMs = 1000;

// The busy timeout of the connection, shortened while this object lives.
class KurzWarten {
 public:
  explicit KurzWarten(data::Connection& con) : m_con(con) { setzen(kKurzWartenMs); }
  ~KurzWarten() {
    vb::ignoreErrors([&] { setzen(data::Connection::kBusyTimeoutMs); });
  }
  KurzWarten(const KurzWarten&) = delete;
  KurzWarten& operator=(const KurzWarten&) = delete;

 private:
  void setzen(int ms) { m_con.Execute(QStringLiteral("PRAGMA busy_timeout=%1").arg(ms)); }
  data::Connection& m_con;
};

// SQLite's message when another connection holds the file ("database is locked") or a table.
bool gesperrt(const vb::VbError& e) { return e.description().contains(QLatin1String("locked"), Qt::CaseInsensitive); }

QString zitiert(const QString& name) { return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"'); }

// The names of the file's objects of one type ("index", "table"), in lower case: SQLite's
// names ignore letter case.
QSet<QString> namen(data::Connection& con, const QString& typ) {
  QSet<QString> out;
  auto rs = con.Execute(QStringLiteral("SELECT name FROM sqlite_master WHERE type='") + typ + QLatin1Char('\''));
  for (; !rs->Eof(); rs->MoveNext()) out.insert(vb::CStr(rs->Fields(0)->Value()).toLower());
  return out;
}

// Two values of an index column in SQLite's own order: Null, numbers, texts (by their UTF-8
// bytes, with ASCII letters folded under NOCASE), anything else.
int vergleich(const QVariant& a, const QVariant& b, bool nocase) {
  const auto rang = [](const QVariant& v) {
    if (v.isNull()) return 0;
    if (v.typeId() == QMetaType::QString) return 2;
    return v.canConvert<double>() ? 1 : 3;
  };
  const int ra = rang(a);
  const int rb = rang(b);
  if (ra != rb || ra == 0 || ra == 3) return ra - rb;
  if (ra == 1) {
    const double x = a.toDouble();
    const double y = b.toDouble();
    return x < y ? -1 : x > y ? 1 : 0;
  }
  QByteArray x = a.toString().toUtf8();
  QByteArray y = b.toString().toUtf8();
  if (nocase) {
    x = x.toLower();  // QByteArray folds ASCII letters only, as SQLite's NOCASE does
    y = y.toLower();
  }
  const int d = std::memcmp(x.constData(), y.constData(), size_t(std::min(x.size(), y.size())));
  return d ? d : int(x.size() - y.size());
}

// Whether index `index` of `tabelle` is in the order SQLite itself searches it. Earlier versions
// of the servers ordered NOCASE keys by a comparison of their own, which placed an ASCII key as
// SQLite's NOCASE does but two keys beyond ASCII otherwise; so only the order among the entries
// that hold such a key needs a look, read in index order.
bool inSqliteOrdnung(data::Connection& con, const QString& index, const QString& tabelle) {
  QStringList spalten;
  QList<bool> nocase;
  for (auto rs = con.Execute(QStringLiteral("PRAGMA index_xinfo(%1)").arg(zitiert(index))); !rs->Eof(); rs->MoveNext()) {
    if (vb::CLng(rs->Fields(QStringLiteral("key"))->Value()) == 0 || vb::CLng(rs->Fields(QStringLiteral("cid"))->Value()) < 0)
      continue;
    spalten << zitiert(vb::CStr(rs->Fields(QStringLiteral("name"))->Value()));
    nocase << vb::textEquals(vb::CStr(rs->Fields(QStringLiteral("coll"))->Value()), QStringLiteral("NOCASE"));
  }
  QStringList jenseitsAscii;
  for (qsizetype i = 0; i < spalten.size(); ++i)
    if (nocase[i]) jenseitsAscii << QStringLiteral("length(CAST(%1 AS BLOB))<>length(%1)").arg(spalten[i]);
  if (jenseitsAscii.isEmpty()) return true;
  auto rs = con.Execute(QStringLiteral("SELECT %1 FROM %2 INDEXED BY %3 WHERE %4")
                            .arg(spalten.join(QLatin1Char(',')), zitiert(tabelle), zitiert(index),
                                 jenseitsAscii.join(QStringLiteral(" OR "))));
  QVariantList vorige;
  for (; !rs->Eof(); rs->MoveNext()) {
    QVariantList zeile;
    for (qsizetype i = 0; i < spalten.size(); ++i) zeile << rs->Fields(vb::Variant(int(i)))->Value().toQVariant();
    for (qsizetype i = 0; !vorige.isEmpty() && i < spalten.size(); ++i) {
      const int d = vergleich(vorige[i], zeile[i], nocase[i]);
      if (d > 0) return false;
      if (d < 0) break;
    }
    vorige = zeile;
  }
  return true;
}

}  // namespace

void LagerIndizesAnlegen(data::Connection& con, const std::function<void(const QString&)>& log) {
  if (!con.isSqlite()) return;
  // Files whose indexes are all there and in order, or cannot be made (a read-only file): every
  // client's Application opens the file again, and would pay the look each time.
  static QSet<QString> erledigt;
  const QString datei = con.database().databaseName();
  if (erledigt.contains(datei)) return;
  std::optional<KurzWarten> kurz;
  QSet<QString> indizes;
  QSet<QString> tabellen;
  if (auto fehler = vb::ignoreErrors([&] {
        kurz.emplace(con);
        indizes = namen(con, QStringLiteral("index"));
        tabellen = namen(con, QStringLiteral("table"));
      })) {
    log(QStringLiteral("Indizes nicht geprüft: ") + fehler->description());
    if (!gesperrt(*fehler)) erledigt.insert(datei);
    return;
  }
  // Once the file is held by another program, the rest is not tried either: it would wait again.
  std::optional<vb::VbError> sperre;
  static const QRegularExpression anweisung(QStringLiteral(R"(EXISTS\s+(\S+)\s+ON\s+(\[[^\]]+\]|\S+)\s*\()"));
  for (const QString& sql : schema::bookshopIndexStatements()) {
    const QRegularExpressionMatch m = anweisung.match(sql);
    if (!m.hasMatch()) continue;
    const QString name = m.captured(1);
    QString tabelle = m.captured(2);
    if (tabelle.startsWith(QLatin1Char('['))) tabelle = tabelle.mid(1, tabelle.size() - 2);
    if (!tabellen.contains(tabelle.toLower())) continue;
    const bool vorhanden = indizes.contains(name.toLower());
    if (sperre) {
      if (!vorhanden) log(QStringLiteral("Index ") + name + QStringLiteral(" nicht angelegt: ") + sperre->description());
      continue;
    }
    bool neu = false;
    const auto fehler = vb::ignoreErrors([&] {
      if (!vorhanden) {
        con.Execute(sql);
        neu = true;
      } else if (!inSqliteOrdnung(con, name, tabelle)) {
        con.Execute(QStringLiteral("REINDEX ") + zitiert(name));
        neu = true;
      }
    });
    if (fehler && gesperrt(*fehler)) sperre = fehler;
    if (fehler)
      log(QStringLiteral("Index ") + name + (vorhanden ? QStringLiteral(" nicht neu aufgebaut: ") : QStringLiteral(" nicht angelegt: ")) +
          fehler->description());
    else if (neu)
      log(QStringLiteral("Index ") + name + (vorhanden ? QStringLiteral(" neu aufgebaut") : QStringLiteral(" angelegt")));
  }
  // A file another program held is looked at again at the next open or pass.
  if (!sperre) erledigt.insert(datei);
}
