// The data layer on the three databases: the same statements give the same results on the
// SQLite file, PostgreSQL and MariaDB.
#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

#include "foundation/clsProgVorgaben.h"
#include "foundation/modUtils.h"
#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/Recordset.h"
#include "platform/vb/Convert.h"
#include "platform/vb/VbError.h"
#include "schema/BookshopSample.h"
#include "tests/support/Backends.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/RecordRows.h"

using testsupport::Backend;
using testsupport::errorOf;

namespace {

// A database of the backend with the host tables; Bookshop below has the bookshop's instead.
class DataLayer : public ::testing::TestWithParam<Backend> {
 protected:
  virtual schema::Tables tables() const { return schema::Tables::Host; }
  void SetUp() override {
    SKRIVANT_REQUIRE_DATABASE(db);
    ASSERT_TRUE(db.create(tables())) << db.failure();
    con = db.open();
    if (tables() == schema::Tables::Bookshop)
      for (const QString& row : schema::sampleArtikelRows() + schema::sampleDatenRows()) con->Execute(row);
  }

  std::shared_ptr<data::Recordset> open(const QString& sql, const data::Parameters& values = {},
                                        int lock = data::adLockOptimistic) {
    auto rs = std::make_shared<data::Recordset>();
    rs->Open(sql, vb::Variant(con), data::adOpenDynamic, lock, data::adCmdUnspecified, values);
    return rs;
  }
  // The rows of `sql`, each as its values joined by "|" (Null as "NULL").
  QStringList rows(const QString& sql, const data::Parameters& values = {}) {
    return testsupport::recordRows(*open(sql, values, data::adLockReadOnly));
  }
  testsupport::BackendDatabase db{GetParam()};
  std::shared_ptr<data::Connection> con;
};

class Bookshop : public DataLayer {
 protected:
  schema::Tables tables() const override { return schema::Tables::Bookshop; }
};

INSTANTIATE_TEST_SUITE_P(Backends, DataLayer, testsupport::allBackends(), testsupport::backendName);
INSTANTIATE_TEST_SUITE_P(Backends, Bookshop, testsupport::allBackends(), testsupport::backendName);

void set(data::Recordset& rs, const char* column, const vb::Variant& value) {
  rs.Fields(vb::Variant(QString::fromUtf8(column)))->let_Value(value);
}

// Adds a row of `values` (column and value) through `rs`.
void add(data::Recordset& rs, std::initializer_list<std::pair<const char*, vb::Variant>> values) {
  rs.AddNew();
  for (const auto& [column, value] : values) set(rs, column, value);
  rs.Update();
}

}  // namespace

TEST_P(DataLayer, SettingsAreReadWrittenAndAddedWithNewKeys) {
  SetVorgabe(QStringLiteral("SKRV_BeträgeFormat"), QStringLiteral("#,##0.00 €"), con);
  EXPECT_EQ(GetVorgabe(QStringLiteral("skrv_beträgeformat"), QStringLiteral("x"), con), QStringLiteral("#,##0.00 €"));
  EXPECT_EQ(GetVorgabe(QStringLiteral("Falzstriche"), QStringLiteral("0"), con), QStringLiteral("0"));
  SetVorgabe(QStringLiteral("FALZSTRICHE"), QStringLiteral("-1"), con);

  clsProgVorgaben vorgaben;
  vorgaben.LoadCustomProperties(vb::Variant(con));
  EXPECT_EQ(vb::CStr(vorgaben.Value(QStringLiteral("falzstriche"), QStringLiteral("0"))), QStringLiteral("-1"));
  EXPECT_EQ(vb::CStr(vorgaben.Value(QStringLiteral("SKRV_ProzentFormat"), QStringLiteral("#,#0.0%"))),
            QStringLiteral("#,#0.0%"));
  EXPECT_EQ(rows(QStringLiteral("SELECT FeldName, Wert FROM Vorgaben ORDER BY FeldName")),
            (QStringList{QStringLiteral("Falzstriche|-1"), QStringLiteral("SKRV_BeträgeFormat|#,##0.00 €"),
                         QStringLiteral("SKRV_ProzentFormat|#,#0.0%")}));

  // Columns are named as the statement spells them (PostgreSQL hands unquoted names back in
  // lower case).
  auto rs = open(QStringLiteral("SELECT Vorgaben.FeldName, Wert AS WertText, COUNT(*) AS Anzahl FROM Vorgaben "
                                "GROUP BY Vorgaben.FeldName, Wert"));
  QStringList namen;
  for (int i = 0; i < rs->Fields()->Count(); ++i) namen << rs->Fields(vb::Variant(i))->Name();
  EXPECT_EQ(namen.join(QLatin1Char('|')).toStdString(), "FeldName|WertText|Anzahl");
}

// A numbered key (Vorgaben.ID) and a key of the caller's own (Auftrag_Formular_Vorlagen).
TEST_P(DataLayer, RowAddedIsUpdatedOrDeletedInTheSameSet) {
  auto rs = open(QStringLiteral("SELECT * FROM Vorgaben WHERE FeldName<>?"), {QStringLiteral("fremd")});
  add(*rs, {{"FeldName", QStringLiteral("eins")}, {"Wert", QStringLiteral("1")}});
  EXPECT_GT(vb::CLng(rs->Fields(vb::Variant(QStringLiteral("ID")))->Value()), 0);  // the number the database gave
  set(*rs, "Wert", QStringLiteral("2"));
  rs->Update();
  set(*rs, "Wert", QStringLiteral("2"));  // the value it has: nothing changes, and that is no failure
  rs->Update();
  add(*rs, {{"FeldName", QStringLiteral("zwei")}});
  rs->Delete();
  con->Execute(QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES (?, ?)"),
               {QStringLiteral("drei"), QStringLiteral("3")});
  rs->Requery();  // the same values bound again
  EXPECT_EQ(rs->RecordCount(), 2);
  EXPECT_EQ(rows(QStringLiteral("SELECT FeldName, Wert FROM Vorgaben ORDER BY ID")),
            (QStringList{QStringLiteral("eins|2"), QStringLiteral("drei|3")}));

  auto vorlagen = open(QStringLiteral("SELECT * FROM Auftrag_Formular_Vorlagen"));
  for (const int nr : {7, 8}) add(*vorlagen, {{"FormularNr", nr}, {"FormularText", QStringLiteral("%1.Vorlage").arg(nr)}});
  for (int i = 0; i < 2; ++i) {  // the second time to the value it has
    set(*vorlagen, "FormularText", QStringLiteral("Lieferschein"));
    vorlagen->Update();
  }
  vorlagen->MoveFirst();
  vorlagen->Delete();
  EXPECT_EQ(rows(QStringLiteral("SELECT * FROM Auftrag_Formular_Vorlagen")), QStringList{QStringLiteral("8|Lieferschein")});
}

// Each text is written as a key and a value through a record set, changed through a bound
// statement, and must come back exactly: read through the layer and measured by the server.
TEST_P(DataLayer, HostileTextsAreStoredAndReadBackExactly) {
  QString lang;
  for (int i = 0; lang.size() < (1 << 20); ++i) lang += QStringLiteral("Zeile %1: Grüße \\ 'x' ✓\n").arg(i);
  const QString texte[] = {QStringLiteral("C:\\Vorlagen\\Rechnung.lst"), QStringLiteral("x\\' OR 1=1 #"),
                           QStringLiteral("endet mit \\"), QStringLiteral("it's \"quoted\""),
                           QStringLiteral("Grüße ÄÖÜ äöü ß €"), QStringLiteral("Paar 😀 und ＡＢＣ"),
                           QStringLiteral("zwei\r\nZeilen\n"), QStringLiteral(" Rand "), lang};
  const QString laenge = GetParam() == Backend::MariaDb ? QStringLiteral("CHAR_LENGTH") : QStringLiteral("LENGTH");
  int nr = 0;
  for (const QString& text : texte) {
    SCOPED_TRACE(text.left(40).toStdString());
    const QString key = text.size() > 200 ? QStringLiteral("lang") : text;
    add(*open(QStringLiteral("SELECT * FROM Vorgaben")), {{"FeldName", key}, {"Wert", QStringLiteral("vorher")}});
    con->Execute(QStringLiteral("UPDATE Vorgaben SET Wert=? WHERE FeldName=?"), {text, key});
    EXPECT_EQ(GetVorgabe(key, QString(), con), text);
    // Characters as the server counts them: a NUL sent along would be one more.
    EXPECT_EQ(rows(QStringLiteral("SELECT %1(FeldName), %1(Wert) FROM Vorgaben WHERE FeldName=?").arg(laenge), {key}),
              QStringList{QStringLiteral("%1|%2").arg(key.toUcs4().size()).arg(text.toUcs4().size())});
    ++nr;
  }
  EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*) FROM Vorgaben")), QStringList{QString::number(nr)});
}

// Characters outside the Basic Multilingual Plane among umlauts, in a key and in values beyond one
// read of the driver's (64 KiB): whole through Execute and a record set, which stores what it read.
TEST_P(DataLayer, TextsOutsideTheBasicPlaneComeBackWholeAndAreStoredAsRead) {
  const QString lang = QStringLiteral("ü📚ä😀 ").repeated(10000);
  const QString texte[] = {QStringLiteral("📚 😀"), QStringLiteral("ü📚ü📚"), QStringLiteral("Bü📚 😀 (U+1F600)|2"),
                           QStringLiteral("😀😀 Grüße 🎉 ÄÖÜ 📚📚"), QStringLiteral("😀📚").repeated(100), lang};
  for (const QString& text : texte) {
    SCOPED_TRACE(text.left(20).toStdString());
    const QString key = text == lang ? QStringLiteral("lang") : text;  // a key holds 255 characters at most
    con->Execute(QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES (?, ?)"), {key, text});
    const QString lesen = QStringLiteral("SELECT FeldName, Wert, ID FROM Vorgaben WHERE FeldName=?");
    const QString zeile = key + QLatin1Char('|') + text + QLatin1Char('|');
    EXPECT_TRUE(testsupport::recordRows(*con->Execute(lesen, {key})).value(0).startsWith(zeile));
    auto rs = open(lesen, {key});
    for (const char* spalte : {"FeldName", "Wert"}) set(*rs, spalte, rs->Fields(vb::Variant(QString::fromUtf8(spalte)))->Value());
    rs->Update();
    rs->Requery();
    EXPECT_TRUE(testsupport::recordRows(*rs).value(0).startsWith(zeile));
    EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*) FROM Vorgaben WHERE FeldName=? AND Wert=?"), {key, text}),
              QStringList{QStringLiteral("1")});  // what the server holds is what was bound
  }
}

// What a database cannot hold is refused with a message that says so, never cut or changed: a
// NUL on the servers, half a surrogate pair anywhere (every backend stores UTF-8).
TEST_P(DataLayer, NulIsKeptOnSqliteAndTextsTheDatabaseCannotHoldAreRefused) {
  const QString nul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
  const QString texte[] = {nul, QStringLiteral("halb") + QChar(0xD83D), QChar(0xDE00) + QStringLiteral("halb")};
  for (const QString& text : texte) {
    SCOPED_TRACE(text.toUtf8().toHex().toStdString());
    if (GetParam() == Backend::Sqlite && text == nul) {
      SetVorgabe(text, text, con);
      EXPECT_EQ(GetVorgabe(text, QString(), con), text);
      con->Execute(QStringLiteral("DELETE FROM Vorgaben"));
      continue;
    }
    QString why;
    try {
      SetVorgabe(QStringLiteral("k"), text, con);
    } catch (const vb::VbError& e) {
      EXPECT_EQ(e.number(), data::ErrDatabase);
      why = e.description();
    }
    EXPECT_TRUE(why.contains(QLatin1String("NUL")) || why.contains(QLatin1String("Surrogat"))) << why.toStdString();
  }
  EXPECT_TRUE(rows(QStringLiteral("SELECT * FROM Vorgaben")).isEmpty());
}

// Two workstations adding the same 300 new settings at once, by each road that adds a missing key:
// one row per key, and neither gets an error.
TEST_P(DataLayer, TwoWorkstationsAddingTheSameKeysLeaveOneRowEach) {
  int roads = 0;
  for (const char* road : {"get", "set", "value"}) {
    SCOPED_TRACE(road);
    QProcess arbeiter[2];
    for (QProcess& p : arbeiter)
      p.start(QStringLiteral(SKRIVANT_VORGABEN_WORKER),
              {db.connectionString(), QString::fromLatin1(road), QStringLiteral("Neu_%1_").arg(road), QStringLiteral("300")});
    for (int i = 0; i < 300; ++i) {  // both take each key at the same moment
      for (QProcess& p : arbeiter)
        while (!p.canReadLine()) ASSERT_TRUE(p.waitForReadyRead(30000)) << p.readAllStandardError().toStdString();
      for (QProcess& p : arbeiter) {
        p.readLine();
        p.write("\n");
        p.waitForBytesWritten();
      }
    }
    for (QProcess& p : arbeiter) {
      ASSERT_TRUE(p.waitForFinished(120000));
      EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    }
    EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT FeldName) FROM Vorgaben")),
              QStringList{QStringLiteral("%1|%1").arg(300 * ++roads)});
  }
}

TEST_P(DataLayer, YesNoIsTypeElevenWithTrueAsMinusOne) {
  auto rs = open(QStringLiteral("SELECT * FROM Auftrag_Formular_Druckerschacht_Neu"));
  for (const bool ja : {true, false}) add(*rs, {{"RechnerName", QStringLiteral("PC")}, {"LetzteSeiteZuerst", ja}});
  con->Execute(QStringLiteral("INSERT INTO Auftrag_Formular_Druckerschacht_Neu (RechnerName, LetzteSeiteZuerst) VALUES (?, ?)"),
               {QStringLiteral("bound"), true});
  const QString lesen = QStringLiteral("SELECT LetzteSeiteZuerst FROM Auftrag_Formular_Druckerschacht_Neu ORDER BY ID");
  EXPECT_EQ(open(lesen, {}, data::adLockReadOnly)->Fields(vb::Variant(0))->Type(), data::adBoolean);
  const QString ja = vb::CStr(vb::Variant(true)), nein = vb::CStr(vb::Variant(false));
  EXPECT_EQ(rows(lesen), (QStringList{ja, nein, ja}));
}

TEST_P(Bookshop, SavedQueryGivesTheSameRowsEverywhere) {
  for (const auto& [artikel, erwartet] : {std::pair{1001, "5|3"}, std::pair{1003, "0|1"}, std::pair{1004, "0|0"}}) {
    data::Recordset rs;
    rs.Open(QStringLiteral("ArtikelBestelltVerplant(%1)").arg(artikel), vb::Variant(con), data::adOpenStatic);
    ASSERT_FALSE(rs.Eof()) << artikel;
    EXPECT_EQ(vb::CStr(rs.Fields(vb::Variant(QStringLiteral("Bestellt")))->Value()) + QLatin1Char('|') +
                  vb::CStr(rs.Fields(vb::Variant(QStringLiteral("Reserviert")))->Value()),
              QLatin1String(erwartet));
  }
  EXPECT_EQ(rows(QStringLiteral("SELECT COUNT(*) FROM Artikel_geändert")), QStringList{QStringLiteral("2")});
}

// Jet's bracketed names and wildcards, and keys compared without regard to case.
TEST_P(Bookshop, BracketsWildcardsAndKeysWithoutRegardToCase) {
  EXPECT_EQ(rows(QStringLiteral("SELECT Artikelident FROM [Artikel Einkauf] WHERE TitelNr=? AND LieferantNr=?"),
                 {QStringLiteral("lb123456"), 70001}),
            QStringList{QStringLiteral("1002")});
  EXPECT_EQ(rows(QStringLiteral("SELECT FilialNr FROM Artikel_Filialbestände WHERE ISBN=?"), {QStringLiteral("344623456x")}),
            QStringList{QStringLiteral("2")});
  EXPECT_EQ(rows(QStringLiteral("SELECT FeldName FROM Vorgaben WHERE FeldName Like '%1' ORDER BY FeldName")
                     .arg(con->dialect().likePattern(QStringLiteral("*adressnr")))),
            (QStringList{QStringLiteral("KNOAdressNr"), QStringLiteral("KOEAdressNr"), QStringLiteral("LibriAdressNr"),
                         QStringLiteral("UmbreitAdressNr")}));
  // An added row of a table whose name needs quoting is written and found again.
  auto rs = open(QStringLiteral("SELECT * FROM [Artikel Einkauf] WHERE Artikelident=?"), {1005});
  add(*rs, {{"Artikelident", 1005}, {"TitelNr", QStringLiteral("ÄÖ-1")}});
  set(*rs, "LieferantNr", 70002);
  rs->Update();
  data::Parameters titel;
  const QString gleich = con->dialect().caseBlindEquals(QStringLiteral("TitelNr"), QStringLiteral("äö-1"), titel);
  EXPECT_EQ(rows(QStringLiteral("SELECT LieferantNr FROM [Artikel Einkauf] WHERE ") + gleich, titel),
            QStringList{QStringLiteral("70002")});
}

TEST_P(DataLayer, OpensByDriverStringByDsnAndWithAnEndingSemicolon) {
  con->Execute(QStringLiteral("INSERT INTO TextBausteine (Nummer, Text) VALUES (1, ?)"), {QStringLiteral("über DSN")});
  for (const QString& text : {db.dsnConnectionString(), db.connectionString() + QLatin1Char(';'),
                              QStringLiteral("ODBC;") + db.dsnConnectionString()}) {
    SCOPED_TRACE(text.toStdString());
    auto other = std::make_shared<data::Connection>();
    ASSERT_EQ(errorOf([&] { other->Open(text); }), 0);
    EXPECT_EQ(other->Execute(QStringLiteral("SELECT Text FROM TextBausteine"))->Fields(vb::Variant(0))->Value().value().toString(),
              QStringLiteral("über DSN"));
  }
}

// The schema made for each backend has every table and column of the one definition; host and
// bookshop tables are two databases.
TEST_P(DataLayer, SchemaHasTheSameTablesAndColumnsEverywhere) {
  testsupport::BackendDatabase buchhandlung(GetParam());
  ASSERT_TRUE(buchhandlung.create(schema::Tables::Bookshop)) << buchhandlung.failure();
  static const QRegularExpression table(QStringLiteral(R"(^CREATE TABLE IF NOT EXISTS (\S+|\[[^\]]+\]) \()"));
  static const QRegularExpression column(QStringLiteral(R"(^\s+(\S+) [A-Z])"), QRegularExpression::MultilineOption);
  int tables = 0;
  for (const auto which : {schema::Tables::Host, schema::Tables::Bookshop}) {
    const auto c = which == schema::Tables::Host ? con : buchhandlung.open();
    for (const QString& statement : schema::statementsFor(which, data::Dialect::Kind::Jet)) {
      const QString name = table.match(statement).captured(1);
      if (name.isEmpty() || name == QLatin1String("SavedQueries")) continue;
      ++tables;
      QStringList expected, found;
      for (auto it = column.globalMatch(statement); it.hasNext();) expected << it.next().captured(1).toLower();
      expected.removeAll(QStringLiteral("primary"));
      const auto rs = c->Execute(QStringLiteral("SELECT * FROM %1 WHERE 1=0").arg(name));
      for (int i = 0; i < rs->Fields()->Count(); ++i) found << rs->Fields(vb::Variant(i))->Name().toLower();
      EXPECT_EQ(found, expected) << name.toStdString();
    }
  }
  EXPECT_GT(tables, 20);
}

// One set changes keys, among them a rowid's own (Nummer on SQLite), adds a row keyed 0 and
// deletes: after every step the table holds exactly the rows the set shows.
TEST_P(DataLayer, RecordSetWritesTheRowItShowsAfterItsKeyChanged) {
  con->Execute(QStringLiteral("CREATE TABLE Formulare (Nummer INTEGER NOT NULL PRIMARY KEY, Name VARCHAR(40))"));
  con->Execute(QStringLiteral("INSERT INTO Formulare (Nummer, Name) VALUES (1, 'a'), (2, 'b')"));
  auto rs = open(QStringLiteral("SELECT * FROM Formulare ORDER BY Nummer"));
  const auto zeile = [&](int n, const char* column = nullptr, const vb::Variant& value = {}) {  // changed, or deleted
    rs->MoveFirst();
    for (int i = 0; i < n; ++i) rs->MoveNext();
    if (!column) return rs->Delete();
    set(*rs, column, value);
    rs->Update();
  };
  const std::pair<std::function<void()>, const char*> schritte[] = {
      {[&] { zeile(0, "Nummer", 5); }, "2|b;5|a"},
      {[&] { zeile(1, "Nummer", 1); }, "1|b;5|a"},
      {[&] { zeile(0, "Name", QStringLiteral("a geändert")); }, "1|b;5|a geändert"},
      {[&] { zeile(0); }, "1|b"},
      {[&] { add(*rs, {{"Nummer", 0}, {"Name", QStringLiteral("null")}}); }, "0|null;1|b"},
      {[&] { zeile(1, "Name", QStringLiteral("null geändert")); }, "0|null geändert;1|b"},
      {[&] { zeile(1, "Nummer", 7); }, "1|b;7|null geändert"},
      {[&] { zeile(1); }, "1|b"}};
  for (const auto& [schritt, danach] : schritte) {
    SCOPED_TRACE(danach);
    ASSERT_EQ(errorOf(schritt), 0);
    rs->MoveFirst();
    QStringList gezeigt = testsupport::recordRows(*rs);
    gezeigt.sort();
    EXPECT_EQ(gezeigt.join(u';').toStdString(), danach);
    EXPECT_EQ(rows(QStringLiteral("SELECT Nummer, Name FROM Formulare ORDER BY Nummer")).join(u';').toStdString(), danach);
  }
}

// Tables and columns whose names hold blanks and double quotes, opened by name and written.
TEST_P(DataLayer, NamesWithBlanksAndQuotesAreOpenedAndWritten) {
  for (const QString& tabelle : {QStringLiteral("Lager Stück"), QStringLiteral("Lager \"Süd\"")}) {
    SCOPED_TRACE(tabelle.toStdString());
    con->Execute(QStringLiteral("CREATE TABLE [%1] (Nr INTEGER NOT NULL PRIMARY KEY, [Preis \"netto\"] DOUBLE PRECISION, "
                                "[Menge am Lager] INTEGER)").arg(tabelle));
    data::Recordset rs;
    rs.Open(tabelle, vb::Variant(con), data::adOpenDynamic, data::adLockOptimistic, data::adCmdTable);
    for (const int nr : {1, 2}) add(rs, {{"Nr", nr}, {"Preis \"netto\"", 9.5}, {"Menge am Lager", nr}});
    set(rs, "Preis \"netto\"", 10.25);
    rs.Update();
    rs.MoveFirst();
    rs.Delete();
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM [%1]").arg(tabelle)), QStringList{QStringLiteral("2|10,25|2")});
  }
}

// A restart between two calls fails the first one with the database's words; one inside a
// transaction fails every statement up to CommitTrans, which leaves nothing of it.
TEST_P(DataLayer, AServerRestartFailsTheNextCallOnceAndAnOpenTransactionUpToCommit) {
  if (GetParam() == Backend::Sqlite) GTEST_SKIP() << "an SQLite file has no server connection to lose";
  const auto verloren = [&](const std::function<void()>& f) {
    const std::string text = testsupport::errorTextOf(f);
    EXPECT_TRUE(testsupport::tellsLostConnection(GetParam(), text)) << text;
  };
  SetVorgabe(QStringLiteral("Falzstriche"), QStringLiteral("-1"), con);
  ASSERT_TRUE(db.breakConnections()) << db.failure();
  verloren([&] { GetVorgabe(QStringLiteral("Falzstriche"), QStringLiteral("0"), con); });
  EXPECT_EQ(GetVorgabe(QStringLiteral("Falzstriche"), QStringLiteral("0"), con), QStringLiteral("-1"));

  const QString einfuegen = QStringLiteral("INSERT INTO TextBausteine (Nummer, Text) VALUES (?, 'x')");
  con->BeginTrans();
  for (int i = 1; i <= 50; ++i) con->Execute(einfuegen, {i});
  ASSERT_TRUE(db.breakConnections()) << db.failure();
  verloren([&] { con->Execute(einfuegen, {51}); });
  verloren([&] { con->Execute(einfuegen, {52}); });  // not opened again inside it: 52 would be stored alone
  verloren([&] { con->CommitTrans(); });
  con->Execute(einfuegen, {53});
  EXPECT_EQ(rows(QStringLiteral("SELECT Nummer FROM TextBausteine")), QStringList{"53"});
}
