// A shop's article file as the host's own programs share it: keys beyond ASCII in every indexed
// text column, written by the sqlite3 shell and by both servers in turn. SQLite's own check says
// "ok" throughout, and each key is found once by each side through its index.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QProcess>
#include <QStandardPaths>

#include "foundation/modFiles.h"
#include "platform/data/Connection.h"
#include "platform/vb/Convert.h"
#include "stockservers/remote/Application.h"
#include "stockservers/remote/Form1.h"
#include "tests/serverroad/lager/Filialabgleich.h"
#include "tests/stockservers/remote/Buchladen.h"
#include "tests/support/RequireTool.h"

namespace {

const QStringList kSchluessel = {"Äb1", "äa1", "ÄA2", "Öl7", "öl8", "Über3", "über4", "Straße5", "É6", "é7", "Œuvre9", "Æ1", "æ2"};

// The key in other letter case, as a client or the web service may send it.
QString anders(const QString& k) { return k.toUpper().size() == k.size() && k.toUpper() != k ? k.toUpper() : k.toLower(); }

// The sqlite3 shell on the file: its output, "|" between columns.
QString schale(const QString& datei, const QString& sql) {
  QProcess p;
  p.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), QStringLiteral("-bail"), datei});
  p.write(sql.toUtf8());
  p.closeWriteChannel();
  EXPECT_TRUE(p.waitForFinished(30000) && p.exitCode() == 0) << sql.toStdString() << p.readAllStandardError().toStdString();
  return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// The ISBN index as an earlier version left it: under a NOCASE of its own, by folded letters.
int alteOrdnung(void*, int n1, const void* a, int n2, const void* b) {
  const QString x = QString::fromUtf8(static_cast<const char*>(a), n1);
  const QString y = QString::fromUtf8(static_cast<const char*>(b), n2);
  const int d = x.toCaseFolded().compare(y.toCaseFolded());
  return d ? d : x.compare(y);
}
void altenIndexBauen(const QString& datei) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(datei.toUtf8().constData(), &db), SQLITE_OK);
  sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, &alteOrdnung);
  EXPECT_EQ(sqlite3_exec(db, "CREATE INDEX Artikel_ISBN ON Artikel (ISBN)", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
}

}  // namespace

TEST(GeteilteDatei, KeysBeyondAsciiStaySoundAndAreFoundByTheServersAndTheShell) {
  SKRIVANT_REQUIRE_TOOL(!QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty(), "sqlite3 is not installed");
  buchladen::Beispiel laden;
  ASSERT_TRUE(laden.ok) << laden.fehler;
  const QString datei = laden.artikel();
  // A file made before the indexes, with the host's rows beyond ASCII; one branch row twice.
  QString zeilen = schale(datei, QStringLiteral("SELECT 'DROP INDEX \"' || name || '\";' FROM sqlite_master WHERE type='index' AND sql IS NOT NULL;"));
  zeilen += QStringLiteral("DELETE FROM Artikel_geändert;");
  for (qsizetype i = 0; i < kSchluessel.size(); ++i)
    zeilen += QStringLiteral(
                  "INSERT INTO Artikel (Artikelident, ISBN, Bestand) VALUES (%1, '%2', %3);"
                  "INSERT INTO [Artikel Einkauf] (Artikelident, LieferantNr, TitelNr) VALUES (%1, 70001, 'T%2');"
                  "INSERT INTO Artikel_ISBN_Stapel (ISBN, Min, Max, MEnge, MengeÜbernommen) VALUES ('%2', 0, 0, 0, 0);"
                  "INSERT INTO Artikel_Filialbestände (FilialNr, ISBN, Bestand, LetztUpdate) VALUES (1, '%2', 1, '0');"
                  "INSERT INTO Artikel_geändert VALUES (NULL, %1, 0, 0, NULL);")
                  .arg(QString::number(3000 + i), kSchluessel[i], QString::number(10 + i));
  schale(datei, zeilen + QStringLiteral("INSERT INTO Artikel_Filialbestände (FilialNr, ISBN, Bestand) VALUES (1, 'Äb1', 1);"));
  altenIndexBauen(datei);
  ASSERT_NE(schale(datei, QStringLiteral("PRAGMA integrity_check;")), QStringLiteral("ok"));

  {  // TarneloDCOM opens the file, rebuilds the old index, adds the others, and finds every key.
    dcom::Form1 form;
    dcom::Application app;
    EXPECT_TRUE(form.InfoText().contains(QStringLiteral("Index Artikel_ISBN neu aufgebaut"))) << form.InfoText().toStdString();
    EXPECT_EQ(schale(datei, QStringLiteral("PRAGMA integrity_check;")), QStringLiteral("ok"));
    app.infofelder();
    for (qsizetype i = 0; i < kSchluessel.size(); ++i) {
      const QString bestand = QString::number(10 + i);
      const QString satz = app.AddInfo(buchladen::satz(anders(kSchluessel[i])));
      EXPECT_EQ(buchladen::feld(satz, 70) + buchladen::feld(satz, 84), bestand + QStringLiteral("Hauptstelle:1 - Nord:n.v. - "));
      EXPECT_EQ(buchladen::feld(app.AddInfo(buchladen::satz(QStringLiteral("0"), QLatin1Char('T') + anders(kSchluessel[i]))), 70), bestand);
    }
  }

  // TarneloSrv sends the articles and stores the other branches' figures, from a service that
  // gives back what was sent: branch 2 the keys as sent, branch 1 in other letter case. The shell's
  // rows are updated in place, the doubled one becomes one; then the shell writes.
  testsupport::WebStub web;
  QByteArray antwort;
  for (const QString& k : kSchluessel) antwort += toAnsi(QStringLiteral("1;7;0;0;20261209100000000000;I%1<br>").arg(anders(k)));
  web.respond = [&](const testsupport::WebStub::Request& r, int) {
    const QByteArray ziel = r.target.toLatin1();
    if (ziel.contains("action=update"))
      antwort += "2;8;0;0;20261209100000000000;" + QByteArray::fromPercentEncoding(ziel.mid(ziel.indexOf("&isbn=") + 6).split('&')[0]) + "<br>";
    return testsupport::WebStub::Response{200, ziel.contains("action=infotimestamp") ? antwort : "OK"};
  };
  lagertest::syncPass(web);
  EXPECT_EQ(schale(datei, QStringLiteral("PRAGMA integrity_check; UPDATE Artikel_Filialbestände SET Bestand=Bestand+1; PRAGMA integrity_check;"
                                         "SELECT COUNT(*), SUM(Bestand), (SELECT COUNT(*) FROM Artikel_geändert) FROM "
                                         "Artikel_Filialbestände WHERE length(CAST(ISBN AS BLOB))<>length(ISBN);"))
                .toStdString(),
            QStringLiteral("ok\nok\n%1|%2|0").arg(2 * kSchluessel.size()).arg(17 * kSchluessel.size()).toStdString());

  // Each key once for each side, through the index: the shell with the key as stored, the data
  // layer in other letter case.
  auto con = std::make_shared<data::Connection>();
  con->Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + datei);
  const QStringList spalten[] = {{"Artikel WHERE", "ISBN", ""}, {"[Artikel Einkauf] WHERE", "TitelNr", "T"},
                                 {"Artikel_ISBN_Stapel WHERE", "ISBN", ""}, {"Artikel_Filialbestände WHERE FilialNr=1 AND", "ISBN", ""},
                                 {"Artikel_Filialbestände WHERE FilialNr=2 AND", "ISBN", ""}};
  for (const QStringList& s : spalten) {
    const QString von = QStringLiteral(" FROM %1 ").arg(s[0]);
    for (const QString& k : kSchluessel) {
      const QString shell = von + QStringLiteral("%1='%2%3';").arg(s[1], s[2], k);
      const QString plan = schale(datei, QStringLiteral("SELECT COUNT(*)") + shell + QStringLiteral("EXPLAIN QUERY PLAN SELECT *") + shell);
      EXPECT_TRUE(plan.startsWith(QStringLiteral("1\n")) && plan.contains(QStringLiteral(" INDEX "))) << plan.toStdString();
      data::Parameters werte;
      const QString wo = von + con->dialect().caseBlindEquals(s[1], s[2] + anders(k), werte);
      EXPECT_EQ(vb::CLng(con->Execute(QStringLiteral("SELECT COUNT(*)") + wo, werte)->Fields(0)->Value()), 1) << wo.toStdString();
      EXPECT_TRUE(vb::CStr(con->Execute(QStringLiteral("EXPLAIN QUERY PLAN SELECT *") + wo, werte)->Fields(QStringLiteral("detail"))->Value())
                      .contains(QStringLiteral(" INDEX ")));
    }
  }
}
