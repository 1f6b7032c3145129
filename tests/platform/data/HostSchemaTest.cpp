#include <gtest/gtest.h>

#include "schema/HostSchema.h"
#include "tests/platform/data/TestDatabase.h"

using namespace datatest;

TEST(HostSchema, CreatesEveryHostTable) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  for (const char* table : {"Vorgaben", "Auftrag_Formular_Neu", "Auftrag_Formular_Vorlagen",
                            "Auftrag_Formular_Druckerschacht_Neu", "Auftrag_Formular_Mahnung", "Druck_Formulartypen",
                            "Druck_Formulartypen_Felder", "TextBausteine", "Adressen", "Artikel", "KT_DruckTabelle",
                            "KleinteilKopf", "KleinteilElemente", "PrintInputTabelle", "SavedQueries"}) {
    EXPECT_EQ(scalar(file, QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type='table' AND name='%1'")
                               .arg(QString::fromUtf8(table))),
              QStringLiteral("1"))
        << table;
  }
}

TEST(HostSchema, CreatingAgainKeepsTablesAndRows) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  exec(file, QStringLiteral("INSERT INTO Vorgaben (FeldName, Wert) VALUES ('bleibt', '1')"));
  QString error;
  EXPECT_TRUE(schema::createHostDatabase(file, &error)) << error.toStdString();
  EXPECT_EQ(scalar(file, QStringLiteral("SELECT Wert FROM Vorgaben WHERE FeldName='bleibt'")), QStringLiteral("1"));
}

TEST(HostSchema, HandOverKeyCountsUpAndTextKeysIgnoreCase) {
  testsupport::TempDir dir;
  const QString file = makeHostDatabase(dir);
  exec(file, QStringLiteral("INSERT INTO PrintInputTabelle (Feld1) VALUES ('a'), ('b')"));
  EXPECT_EQ(scalar(file, QStringLiteral("SELECT group_concat(LongKey) FROM PrintInputTabelle")), QStringLiteral("1,2"));
  exec(file, QStringLiteral("INSERT INTO Auftrag_Formular_Druckerschacht_Neu (RechnerName) VALUES ('PC01')"));
  EXPECT_EQ(scalar(file, QStringLiteral("SELECT COUNT(*) FROM Auftrag_Formular_Druckerschacht_Neu WHERE RechnerName='pc01'")),
            QStringLiteral("1"));
}

TEST(HostSchema, FolderThatCannotBeMadeFailsWithAReason) {
  testsupport::TempDir dir;
  const QString blocker = dir.write(QStringLiteral("datei"), QByteArray("x"));
  QString error;
  EXPECT_FALSE(schema::createHostDatabase(blocker + QStringLiteral("/unter/host.db"), &error));
  EXPECT_FALSE(error.isEmpty());
}
