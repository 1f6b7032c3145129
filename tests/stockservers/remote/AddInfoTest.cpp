// TarneloDCOM's Application in process, on the sample bookshop's SQLite files and its real window
// (offscreen).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>

#include "platform/vb/VbError.h"
#include "stockservers/common/TrayArea.h"
#include "stockservers/remote/Application.h"
#include "stockservers/remote/Form1.h"
#include "tests/stockservers/remote/Buchladen.h"
#include "tests/support/Leitfaden.h"
#include "tests/support/RequireTool.h"

namespace {

using buchladen::feld;
using buchladen::satz;
using vb::Variant;

// Runs `sql` on a file; the first column of the first row, or -1.
int sqlite(const QString& datei, const QString& sql) {
  int wert = -1;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("pruefung"));
    db.setDatabaseName(datei);
    if (db.open()) {
      QSqlQuery q(db);
      if (q.exec(sql) && q.next()) wert = q.value(0).toInt();
    }
  }
  QSqlDatabase::removeDatabase(QStringLiteral("pruefung"));
  return wert;
}

class AddInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(laden.ok) << laden.fehler;
    form = std::make_unique<dcom::Form1>();
    app = std::make_shared<dcom::Application>();
  }
  void TearDown() override {
    app.reset();
    form.reset();
  }
  // The log lines a call added.
  QString neuImLog(const std::function<void()>& aufruf) {
    const qsizetype vorher = form->InfoText().size();
    aufruf();
    return form->InfoText().mid(vorher);
  }

  buchladen::Beispiel laden;
  std::unique_ptr<dcom::Form1> form;
  std::shared_ptr<dcom::Application> app;
};

TEST_F(AddInfoTest, RecordsGetTheirArticlesFiguresAndUnsafeTextStaysInItsLiteral) {
  ASSERT_EQ(app->infofelder(), QStringLiteral("70:am Lager|80:Bestellt|81:Reserviert|82:Abholfach|83:offene Bestellung|84:Filialen|"));
  const QString keineFilialen = QStringLiteral("Hauptstelle:n.v. - Nord:n.v. - ");
  const QString parfum[] = {QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("0"), QString(), keineFilialen};
  const struct {
    const char* name;
    QString satz;
    QString erwartet[6];  // fields 70, 80, 81, 82, 83, 84
    QString log;          // what the call adds to the log
  } faelle[] = {
      {"ISBN-10 with hyphens finds the article stored under its 978 form",
       satz(QStringLiteral("3-446-23456-X")),
       {QStringLiteral("5"), QStringLiteral("3"), QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("2"),
        QStringLiteral("Hauptstelle:4 - Nord:1 - ")},
       QString()},
      {"EAN-13 finds the article stored as ISBN-10; only BE orders leave field 83 as sent",
       satz(QStringLiteral("978-3-499-22744-8")),
       {QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("0"), QString(),
        QStringLiteral("Hauptstelle:n.v. - Nord:3 - ")},
       QString()},
      {"Null stock and no orders read 0",
       satz(QStringLiteral("9791000000015")),
       {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("0"), keineFilialen},
       QString()},
      {"unknown ISBN",
       satz(QStringLiteral("3-15-012345-3")),
       {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), keineFilialen},
       QStringLiteral("Suche nach 3150123453u. 9783150123454 ohne Ergebnis\r\n")},
      {"unknown ISBN found by its title number at the wholesaler of LibriAdressNr",
       satz(QStringLiteral("3-15-012345-3"), QStringLiteral("LB123456")),
       {parfum[0], parfum[1], parfum[2], parfum[3], parfum[4], parfum[5]},
       QStringLiteral("Suche nach 3150123453u. 9783150123454 ohne Ergebnis\r\n")},
      {"title number at the wholesaler of KNOAdressNr",
       satz(QStringLiteral("3150123453"), QStringLiteral("KN98765"), QStringLiteral("KN98765")),
       {parfum[0], parfum[1], parfum[2], parfum[3], parfum[4], parfum[5]},
       QStringLiteral("Suche nach 3150123453u. 9783150123454 ohne Ergebnis\r\n")},
      {"ISSN in EAN-13 form is looked up like any number",
       satz(QStringLiteral("9771234567003")),
       {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), keineFilialen},
       QStringLiteral("Suche nach 9771234567003u. 9771234567003 ohne Ergebnis\r\n")},
      {"empty field 3",
       satz(QString()),
       {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), keineFilialen},
       QStringLiteral("Suche nach u.  ohne Ergebnis\r\n")},
      {"SQL in field 3",
       satz(QStringLiteral("x' OR '1'='1")),
       {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), keineFilialen},
       QStringLiteral("Suche nach x' OR '1'='1u. x' OR '1'='1 ohne Ergebnis\r\n")},
      {"SQL in fields 40 and 41",
       satz(QStringLiteral("3150123453"), QStringLiteral("LB123456' OR '1'='1"), QStringLiteral("x'); DELETE FROM Artikel; --")),
       {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), keineFilialen},
       QStringLiteral("Suche nach 3150123453u. 9783150123454 ohne Ergebnis\r\n")},
      {"a megabyte in field 3, quoted short",
       satz(QString(1024 * 1024, QLatin1Char('7'))),
       {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), keineFilialen},
       QStringLiteral("Suche nach %1…u. %1… ohne Ergebnis\r\n").arg(QString(kZitatZeichen, QLatin1Char('7')))},
  };
  int anfragen = 0;
  int treffer = 0;
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.name);
    QString ergebnis;
    EXPECT_EQ(neuImLog([&] { ergebnis = app->AddInfo(f.satz); }), f.log);
    const int felder[] = {70, 80, 81, 82, 83, 84};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(feld(ergebnis, felder[i]), f.erwartet[i]) << "field " << felder[i];
    EXPECT_EQ(ergebnis.count(QLatin1Char('|')), 84);
    EXPECT_EQ(feld(ergebnis, 3), feld(f.satz, 3));
    ++anfragen;
    if (f.log.isEmpty()) ++treffer;
    EXPECT_EQ(form->Label2->text(), QString::number(anfragen));
    EXPECT_EQ(form->Label3->text(), QString::number(treffer));
  }
  EXPECT_EQ(form->TrayIcon->ToolTip(), QStringLiteral("Tarnelo <-> Lesomat \r\n%1 Anfragen verarbeitet \r\n%2 Treffer").arg(anfragen).arg(treffer));
  EXPECT_EQ(sqlite(laden.artikel(), QStringLiteral("SELECT COUNT(*) FROM Artikel")), 5);
  EXPECT_EQ(sqlite(laden.artikel(), QStringLiteral("SELECT COUNT(*) FROM [Artikel Einkauf]")), 2);
}

TEST_F(AddInfoTest, ValuesGoInFrontOfWhatTheFieldHoldsAndUntickedOptionsLeaveFieldsAsSent) {
  app->infofelder();
  form->blnAuchBestellte->setChecked(false);
  form->blnAuchReservierte->setChecked(false);
  form->blnAuchFilialen->setChecked(false);
  QStringList felder = satz(QStringLiteral("344623456X")).split(QLatin1Char('|'));
  felder[69] = QStringLiteral("alt");
  for (int i = 79; i <= 83; ++i) felder[i] = QStringLiteral("k%1").arg(i + 1);
  const QString ergebnis = app->AddInfo(felder.join(QLatin1Char('|')));
  EXPECT_EQ(feld(ergebnis, 70), QStringLiteral("5alt"));
  for (int i = 80; i <= 83; ++i) EXPECT_EQ(feld(ergebnis, i), QStringLiteral("k%1").arg(i));
  EXPECT_EQ(feld(ergebnis, 84), QStringLiteral("keine Abfragek84"));
}

TEST_F(AddInfoTest, ARecordShorterThan85FieldsComesBackWithTheFieldsThatFit) {
  app->infofelder();
  const struct {
    int anzahl;
    QString feld70;
    QString feld84;
  } faelle[] = {{84, QStringLiteral("5"), QStringLiteral("Hauptstelle:4 - Nord:1 - ")},
                {75, QStringLiteral("5"), QString()},
                {3, QString(), QString()}};
  for (const auto& f : faelle) {
    SCOPED_TRACE(f.anzahl);
    const QString gesendet = satz(QStringLiteral("3-446-23456-X"), {}, {}, f.anzahl);
    const QString ergebnis = app->AddInfo(gesendet);
    EXPECT_EQ(ergebnis.count(QLatin1Char('|')), f.anzahl - 1);
    EXPECT_EQ(feld(ergebnis, 3), QStringLiteral("3-446-23456-X"));
    EXPECT_EQ(feld(ergebnis, 70), f.feld70);
    EXPECT_EQ(feld(ergebnis, 84), f.feld84);
    if (f.anzahl < 70) {
      EXPECT_EQ(ergebnis, gesendet);
    }
  }
}

TEST_F(AddInfoTest, InfofelderLoadsTheBranchesOnceAndHidesTheWindowWithoutThem) {
  form->show();
  ASSERT_EQ(sqlite(laden.artikel(), QStringLiteral("DELETE FROM Artikel_Filialen")), -1);
  const QString ohne = QStringLiteral("70:am Lager|80:Bestellt|81:Reserviert|82:Abholfach|83:offene Bestellung|");
  EXPECT_EQ(app->infofelder(), ohne);
  EXPECT_FALSE(form->isVisible());
  // Nothing is read again.
  sqlite(laden.artikel(), QStringLiteral("INSERT INTO Artikel_Filialen (FilialNr, Bezeichnung) VALUES (3, 'Süd')"));
  EXPECT_EQ(app->infofelder(), ohne);
  // With no branch to list, field 84 stays as sent.
  EXPECT_EQ(feld(app->AddInfo(satz(QStringLiteral("3-446-23456-X"))), 84), QString());

  // A second object reads the branches it finds.
  auto zweites = std::make_shared<dcom::Application>();
  EXPECT_EQ(zweites->infofelder(), ohne + QStringLiteral("84:Filialen|"));
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(feld(zweites->AddInfo(satz(QStringLiteral("3-446-23456-X"))), 84), QStringLiteral("Süd:n.v. - "));
}

TEST_F(AddInfoTest, AnAddressNumberThatIsNoNumberIsToldAndLeftAtZero) {
  sqlite(laden.daten(), QStringLiteral("UPDATE Vorgaben SET Wert = '70001'' OR ''1''=''1' WHERE FeldName = 'LibriAdressNr'"));
  const QString vorher = form->InfoText();
  app->infofelder();
  EXPECT_TRUE(form->InfoText().startsWith(QStringLiteral("Infofelder:") + vorher + QStringLiteral("\r\n")));
  EXPECT_GT(form->InfoText().size(), QString(QStringLiteral("Infofelder:") + vorher + QStringLiteral("\r\n")).size());
  // Libri's title number finds nothing at address 0; KNO's is still read.
  EXPECT_EQ(feld(app->AddInfo(satz(QStringLiteral("3150123453"), QStringLiteral("LB123456"))), 70), QStringLiteral("0"));
  EXPECT_EQ(feld(app->AddInfo(satz(QStringLiteral("3150123453"), QStringLiteral("-"), QStringLiteral("KN98765"))), 70), QStringLiteral("2"));
  EXPECT_EQ(sqlite(laden.daten(), QStringLiteral("SELECT COUNT(*) FROM Vorgaben")), 4);
}

class Kasse : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString ProgrammLinkInfo MEMBER info)

 public:
  QString info = QStringLiteral("Kasse 2, Filiale Nord");
};

TEST_F(AddInfoTest, TheClientsLinkObjectIsLoggedAndNothingLogsTheDisconnect) {
  form->hide();
  EXPECT_EQ(neuImLog([&] { app->set_EventClass(Variant(std::make_shared<Kasse>())); }), QStringLiteral("\r\nKasse 2, Filiale Nord"));
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(neuImLog([&] { app->let_EventClass(Variant::nothing()); }).startsWith(QStringLiteral("\r\nDisconnet ")));
}

const QString kIndizes = QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type='index' AND sql IS NOT NULL");

// The file as it was before the indexes, and `danach` run on it.
void ohneIndizes(const QString& datei, const QString& danach = {}) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("alt"));
    db.setDatabaseName(datei);
    ASSERT_TRUE(db.open());
    QSqlQuery q(db);
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' AND sql IS NOT NULL")));
    QStringList namen;
    while (q.next()) namen << q.value(0).toString();
    for (const QString& name : namen) ASSERT_TRUE(q.exec(QStringLiteral("DROP INDEX [%1]").arg(name)));
    if (!danach.isEmpty()) ASSERT_TRUE(q.exec(danach));
  }
  QSqlDatabase::removeDatabase(QStringLiteral("alt"));
}

// One index cannot be made: a view holds its name.
TEST(TarneloDcomSettings, AnOlderFileGetsTheMissingIndexesWhenOpened) {
  buchladen::Beispiel laden;
  ASSERT_TRUE(laden.ok) << laden.fehler;
  const int alle = sqlite(laden.artikel(), kIndizes);
  ASSERT_GE(alle, 8);
  ohneIndizes(laden.artikel(), QStringLiteral("CREATE VIEW Artikel_ISBN_Stapel_ISBN AS SELECT 1"));

  dcom::Form1 form;
  dcom::Application app;
  EXPECT_EQ(sqlite(laden.artikel(), kIndizes), alle - 1);
  EXPECT_TRUE(form.InfoText().contains(QStringLiteral("\r\nIndex Artikel_ISBN angelegt")) &&
              form.InfoText().contains(QStringLiteral("\r\nIndex Artikel_ISBN_Stapel_ISBN nicht angelegt: ")))
      << form.InfoText().toStdString();
  app.infofelder();
  EXPECT_EQ(feld(app.AddInfo(satz(QStringLiteral("3-446-23456-X"))), 70), QStringLiteral("5"));
  // Opened again, it has them: nothing more is made or told.
  const qsizetype vorher = form.InfoText().count(QStringLiteral(" angelegt"));
  dcom::Application nochmal;
  EXPECT_EQ(form.InfoText().count(QStringLiteral(" angelegt")), vorher);
}

// Another program holds the file while its indexes are missing: the server waits a second for
// it, not the busy timeout of each index, answers, and adds them when it opens the file again.
TEST(TarneloDcomSettings, AFileAnotherProgramHoldsIsAnsweredFromAtOnceAndIndexedLater) {
  SKRIVANT_REQUIRE_TOOL(!QStandardPaths::findExecutable(QStringLiteral("sqlite3")).isEmpty(), "sqlite3 is not installed");
  buchladen::Beispiel laden;
  ASSERT_TRUE(laden.ok) << laden.fehler;
  const int alle = sqlite(laden.artikel(), kIndizes);
  ohneIndizes(laden.artikel());
  QProcess halter;
  halter.start(QStringLiteral("sqlite3"), {laden.artikel()});
  halter.write("BEGIN IMMEDIATE;\nSELECT 'gehalten';\n");
  ASSERT_TRUE(halter.waitForReadyRead(10000) && halter.readAll().contains("gehalten"));

  dcom::Form1 form;
  QElapsedTimer uhr;
  uhr.start();
  {
    dcom::Application app;
    app.infofelder();
    EXPECT_EQ(feld(app.AddInfo(satz(QStringLiteral("3-446-23456-X"))), 70), QStringLiteral("5"));
  }
  EXPECT_LT(uhr.elapsed(), 5000);
  EXPECT_TRUE(form.InfoText().contains(QStringLiteral("\r\nIndex Artikel_ISBN nicht angelegt: database is locked")))
      << form.InfoText().toStdString();
  EXPECT_EQ(sqlite(laden.artikel(), kIndizes), 0);

  halter.write("COMMIT;\n.quit\n");
  ASSERT_TRUE(halter.waitForFinished(10000));
  dcom::Application wieder;
  EXPECT_TRUE(form.InfoText().contains(QStringLiteral("\r\nIndex Artikel_ISBN angelegt")));
  EXPECT_EQ(sqlite(laden.artikel(), kIndizes), alle);
}

TEST(TarneloDcomSettings, PathsWithApostrophesOpenAndTheSqlServerRoadIsTakenInAnyCase) {
  buchladen::Beispiel laden(QStringLiteral("O'Brien; Laden=1"));
  ASSERT_TRUE(laden.ok) << laden.fehler;
  dcom::Form1 form;
  {
    dcom::Application app;
    EXPECT_TRUE(form.InfoText().contains(QStringLiteral("\r\nDatabase: ") + laden.artikel()));
    EXPECT_TRUE(form.InfoText().contains(QStringLiteral("\r\nDatabase: ") + laden.daten()));
    app.infofelder();
    EXPECT_EQ(feld(app.AddInfo(satz(QStringLiteral("3-446-23456-X"))), 70), QStringLiteral("5"));
  }
  SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("Type"), QStringLiteral("sql-server"));
  SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("ODBC_Connect"), QStringLiteral("DRIVER={Kein Treiber};DATABASE=tarnelo"));
  EXPECT_THROW(dcom::Application(), vb::VbError);
  EXPECT_TRUE(form.InfoText().contains(QStringLiteral("\r\nStart to Connect: DRIVER={Kein Treiber};DATABASE=tarnelo ")));
  SaveSetting(QStringLiteral("LagerAnfrage"), QStringLiteral("Type"), QStringLiteral("MDB"));
}

// docs/hosts.md's member table against what the bus shows of the class.
TEST(Leitfaden, TarneloDcomTableIsTheIntrospection) {
  EXPECT_EQ(leitfaden::unterschiede(QStringLiteral("### `TarneloDCOM.Application`"), dcom::Application::staticMetaObject), "");
}

}  // namespace

#include "AddInfoTest.moc"
