#include "stockservers/common/LagerIndizes.h"

#include <QRegularExpression>
#include <QSet>

#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "schema/BookshopSchema.h"

namespace {

// The names of the file's objects of one type ("index", "table"), in lower case: SQLite's
// names ignore letter case.
QSet<QString> namen(data::Connection& con, const QString& typ) {
  QSet<QString> out;
  auto rs = con.Execute(QStringLiteral("SELECT name FROM sqlite_master WHERE type='") + typ + QLatin1Char('\''));
  for (; !rs->Eof(); rs->MoveNext()) out.insert(vb::CStr(rs->Fields(0)->Value()).toLower());
  return out;
}

}  // namespace

void LagerIndizesAnlegen(data::Connection& con, const std::function<void(const QString&)>& log) {
  if (!con.isSqlite()) return;
  // Once a process and file: every client's Application opens the file again, and a file that
  // cannot take an index (read-only, or locked for long) would cost each of them the attempt.
  static QSet<QString> gesehen;
  const QString datei = con.database().databaseName();
  if (gesehen.contains(datei)) return;
  gesehen.insert(datei);
  QSet<QString> indizes;
  QSet<QString> tabellen;
  if (auto fehler = vb::ignoreErrors([&] {
        indizes = namen(con, QStringLiteral("index"));
        tabellen = namen(con, QStringLiteral("table"));
      })) {
    log(QStringLiteral("Indizes nicht geprüft: ") + fehler->description());
    return;
  }
  static const QRegularExpression anweisung(QStringLiteral(R"(EXISTS\s+(\S+)\s+ON\s+(\[[^\]]+\]|\S+)\s*\()"));
  for (const QString& sql : schema::bookshopIndexStatements()) {
    const QRegularExpressionMatch m = anweisung.match(sql);
    if (!m.hasMatch()) continue;
    const QString name = m.captured(1);
    QString tabelle = m.captured(2);
    if (tabelle.startsWith(QLatin1Char('['))) tabelle = tabelle.mid(1, tabelle.size() - 2);
    if (indizes.contains(name.toLower()) || !tabellen.contains(tabelle.toLower())) continue;
    if (auto fehler = vb::ignoreErrors([&] { con.Execute(sql); }))
      log(QStringLiteral("Index ") + name + QStringLiteral(" nicht angelegt: ") + fehler->description());
    else
      log(QStringLiteral("Index ") + name + QStringLiteral(" angelegt"));
  }
}
