#include <gtest/gtest.h>

#include <QFile>
#include <QMetaMethod>

#include "foundation/clsConnectionHandler.h"
#include "platform/automation/LateBinding.h"
#include "platform/data/DataError.h"
#include "platform/data/Recordset.h"
#include "platform/vb/VbError.h"
#include "schema/HostSchema.h"
#include "tests/support/TempDir.h"
#include "tests/support/ErrorOf.h"

namespace {

using testsupport::errorOf;

QString hostDatabase(const testsupport::TempDir& dir, const QString& name = QStringLiteral("host.db")) {
  const QString path = dir.file(name);
  QString error;
  EXPECT_TRUE(schema::createHostDatabase(path, &error)) << error.toStdString();
  return path;
}

std::shared_ptr<data::Connection> openJet(const QString& file) {
  auto con = std::make_shared<data::Connection>();
  con->let_Provider(QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
  con->Open(QStringLiteral("Data Source=") + file);
  return con;
}

}  // namespace

TEST(clsConnectionHandler, StoredConnectionIsReadBack) {
  testsupport::TempDir dir;
  auto con = openJet(hostDatabase(dir));
  clsConnectionHandler h;
  h.set_SQLGruppe_Connection(6, vb::Variant(con));
  EXPECT_EQ(h.SQLGruppe_Connection(6), con);
  auto other = openJet(hostDatabase(dir, QStringLiteral("b.db")));
  h.set_SQLGruppe_Connection(6, vb::Variant(other));
  EXPECT_EQ(h.SQLGruppe_Connection(6), other);
}

TEST(clsConnectionHandler, GroupWithoutConnectionFailsWithError5AndStaysBehind) {
  testsupport::TempDir dir;
  auto con = openJet(hostDatabase(dir));
  clsConnectionHandler h;
  h.set_SQLGruppe_Connection(3, vb::Variant(con));
  EXPECT_EQ(errorOf([&] { h.SQLGruppe_Connection(2); }), vb::ErrInvalidCall);
  // The read created group 2, empty; it now hides group 3 from FirstConnection.
  EXPECT_EQ(h.FirstConnection(), nullptr);
}

TEST(clsConnectionHandler, FirstConnectionTakesTheLowestGroupOneToEight) {
  testsupport::TempDir dir;
  auto three = openJet(hostDatabase(dir, QStringLiteral("3.db")));
  auto six = openJet(hostDatabase(dir, QStringLiteral("6.db")));
  clsConnectionHandler h;
  EXPECT_EQ(h.FirstConnection(), nullptr);
  h.set_SQLGruppe_Connection(6, vb::Variant(six));
  h.set_SQLGruppe_Connection(3, vb::Variant(three));
  EXPECT_EQ(h.FirstConnection(), three);
}

TEST(clsConnectionHandler, FirstConnectionIgnoresGroupsOutsideOneToEight) {
  testsupport::TempDir dir;
  auto con = openJet(hostDatabase(dir));
  clsConnectionHandler h;
  h.set_SQLGruppe_Connection(99, vb::Variant(con));
  h.set_SQLGruppe_Connection(0, vb::Variant(con));
  h.set_SQLGruppe_Connection(-5, vb::Variant(con));
  EXPECT_EQ(h.FirstConnection(), nullptr);
  EXPECT_EQ(h.SQLGruppe_Connection(-5), con);
  EXPECT_EQ(h.SQLGruppe_Connection(0), con);
}

TEST(clsConnectionHandler, PropertyAssignedAgainInOtherLettersTakesTheLastValue) {
  testsupport::TempDir dir;
  const QString file = hostDatabase(dir);
  clsConnectionHandler h;
  h.let_SQLGruppe_DB_Provider(4, QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
  // First a workgroup file that does not exist, then the same property in other letters
  // naming one that does: only the second may be applied, or the open fails.
  h.let_SQLGruppe_DB_Properties(4, QStringLiteral("JET OLEDB:SYSTEM DATABASE"), dir.file(QStringLiteral("fehlt.mdw")));
  QFile(dir.file(QStringLiteral("SYSTEM.MDW"))).open(QIODevice::WriteOnly);
  h.let_SQLGruppe_DB_Properties(4, QStringLiteral("jet oledb:system database"), dir.file(QStringLiteral("SYSTEM.MDW")));
  h.let_SQLGruppe_DB_OpenConnection(4, QStringLiteral("Data Source=") + file);
  auto con = h.SQLGruppe_Connection(4);
  ASSERT_NE(con, nullptr);
  EXPECT_EQ(con->State(), 1);
  EXPECT_EQ(con->Properties(QStringLiteral("Jet OLEDB:System database"))->Value().value().toString(),
            dir.file(QStringLiteral("SYSTEM.MDW")));
}

TEST(clsConnectionHandler, GroupNinetyNineOpensTheHandOverFileAsTheEngineDescribesIt) {
  testsupport::TempDir dir;
  const QString file = hostDatabase(dir, QStringLiteral("Uebergabe.mdb"));
  QFile(dir.file(QStringLiteral("SYSTEM.MDW"))).open(QIODevice::WriteOnly);
  // The engine passes stored paths: backslashes, the folder through its last backslash.
  QString stored = file;
  stored.replace(QLatin1Char('/'), QLatin1Char('\\'));
  const QString folder = stored.left(stored.lastIndexOf(QLatin1Char('\\')) + 1);
  clsConnectionHandler h;
  h.let_SQLGruppe_DB_Provider(99, QStringLiteral("Microsoft.Jet.OLEDB.4.0;"));
  h.let_SQLGruppe_DB_Properties(99, QStringLiteral("Jet OLEDB:System database"), folder + QStringLiteral("SYSTEM.MDW"));
  h.let_SQLGruppe_DB_OpenConnection(99, QStringLiteral("Data Source=") + stored);
  auto con = h.SQLGruppe_Connection(99);
  ASSERT_NE(con, nullptr);
  con->Execute(QStringLiteral("INSERT INTO PrintInputTabelle (Feld1) VALUES ('01')"));
  auto rs = con->Execute(QStringLiteral("SELECT COUNT(*) FROM PrintInputTabelle"));
  EXPECT_EQ(rs->Fields(0)->Value().value().toInt(), 1);
}

TEST(clsConnectionHandler, MissingWorkgroupFileFailsAndTheGroupKeepsItsConnection) {
  testsupport::TempDir dir;
  const QString file = hostDatabase(dir);
  auto previous = openJet(file);
  clsConnectionHandler h;
  h.set_SQLGruppe_Connection(99, vb::Variant(previous));
  h.let_SQLGruppe_DB_Provider(99, QStringLiteral("Microsoft.Jet.OLEDB.4.0;"));
  h.let_SQLGruppe_DB_Properties(99, QStringLiteral("Jet OLEDB:System database"), dir.file(QStringLiteral("SYSTEM.MDW")));
  EXPECT_EQ(errorOf([&] { h.let_SQLGruppe_DB_OpenConnection(99, QStringLiteral("Data Source=") + file); }),
            data::ErrDatabase);
  EXPECT_EQ(h.SQLGruppe_Connection(99), previous);
  // Provider and property stay stored: with the file in place the same open works.
  QFile(dir.file(QStringLiteral("SYSTEM.MDW"))).open(QIODevice::WriteOnly);
  h.let_SQLGruppe_DB_OpenConnection(99, QStringLiteral("Data Source=") + file);
  EXPECT_NE(h.SQLGruppe_Connection(99), previous);
}

TEST(clsConnectionHandler, UnknownPropertyNameFailsAtOpen) {
  testsupport::TempDir dir;
  const QString file = hostDatabase(dir);
  clsConnectionHandler h;
  h.let_SQLGruppe_DB_Provider(4, QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
  h.let_SQLGruppe_DB_Properties(4, QStringLiteral("Gibt es nicht"), QStringLiteral("1"));
  EXPECT_EQ(errorOf([&] { h.let_SQLGruppe_DB_OpenConnection(4, QStringLiteral("Data Source=") + file); }),
            data::ErrItemNotFound);
  EXPECT_EQ(errorOf([&] { h.SQLGruppe_Connection(4); }), vb::ErrInvalidCall);
}

TEST(clsConnectionHandler, SecondOpenReplacesTheFirstConnectionWithoutClosingIt) {
  testsupport::TempDir dir;
  const QString file = hostDatabase(dir);
  clsConnectionHandler h;
  h.let_SQLGruppe_DB_Provider(4, QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
  h.let_SQLGruppe_DB_OpenConnection(4, QStringLiteral("Data Source=") + file);
  auto first = h.SQLGruppe_Connection(4);
  h.let_SQLGruppe_DB_OpenConnection(4, QStringLiteral("Data Source=") + file);
  EXPECT_NE(h.SQLGruppe_Connection(4), first);
  EXPECT_EQ(first->State(), 1);
}

TEST(clsConnectionHandler, GroupWithoutProviderOpensWithTheStringAlone) {
  testsupport::TempDir dir;
  const QString file = hostDatabase(dir);
  clsConnectionHandler h;
  h.let_SQLGruppe_DB_OpenConnection(1, QStringLiteral("DRIVER={SQLite3};Database=") + file);
  auto con = h.SQLGruppe_Connection(1);
  ASSERT_NE(con, nullptr);
  EXPECT_FALSE(con->isSqlite());
  EXPECT_EQ(con->State(), 1);
}

TEST(clsConnectionHandler, OnlyObjectsCanBeStoredAsConnection) {
  clsConnectionHandler h;
  EXPECT_EQ(errorOf([&] { h.set_SQLGruppe_Connection(1, vb::Variant(5)); }), vb::ErrTypeMismatch);
  h.set_SQLGruppe_Connection(1, vb::Variant::nothing());
  EXPECT_EQ(h.SQLGruppe_Connection(1), nullptr);
}

TEST(clsConnectionHandler, RefusedValueKeepsTheGroupsConnection) {
  testsupport::TempDir dir;
  auto con = openJet(hostDatabase(dir));
  clsConnectionHandler h;
  h.set_SQLGruppe_Connection(6, vb::Variant(con));
  EXPECT_EQ(errorOf([&] { h.set_SQLGruppe_Connection(6, vb::Variant(QStringLiteral("DSN=x"))); }),
            vb::ErrTypeMismatch);
  EXPECT_EQ(h.SQLGruppe_Connection(6), con);
}

TEST(clsConnectionHandler, MembersAreFoundByLateBinding) {
  const QMetaObject* mo = &clsConnectionHandler::staticMetaObject;
  for (const char* name : {"FirstConnection", "SQLGruppe_Connection", "set_SQLGruppe_Connection",
                           "let_SQLGruppe_DB_Provider", "let_SQLGruppe_DB_Properties",
                           "let_SQLGruppe_DB_OpenConnection"}) {
    bool found = false;
    for (int i = mo->methodOffset(); i < mo->methodCount(); ++i)
      if (mo->method(i).name() == name) found = true;
    EXPECT_TRUE(found) << name;
  }
  testsupport::TempDir dir;
  auto con = openJet(hostDatabase(dir));
  clsConnectionHandler h;
  ASSERT_TRUE(QMetaObject::invokeMethod(&h, "set_SQLGruppe_Connection", Q_ARG(std::int16_t, 6),
                                        Q_ARG(vb::Variant, vb::Variant(con))));
  std::shared_ptr<data::Connection> result;
  ASSERT_TRUE(QMetaObject::invokeMethod(&h, "SQLGruppe_Connection",
                                        Q_RETURN_ARG(std::shared_ptr<data::Connection>, result),
                                        Q_ARG(std::int16_t, 6)));
  EXPECT_EQ(result, con);
  EXPECT_EQ(QVariant::fromValue(result).value<vb::Variant>().objectAs<data::Connection>(), con);
}

TEST(clsConnectionHandler, HostsReachTheGroupsByName) {
  testsupport::TempDir dir;
  auto con = openJet(hostDatabase(dir));
  clsConnectionHandler h;
  automation::callByName(h, QStringLiteral("SQLGruppe_Connection"), automation::CallKind::Set,
                         {vb::Variant(std::int16_t(4)), vb::Variant(con)});
  const vb::Variant got = automation::callByName(h, QStringLiteral("sqlgruppe_connection"),
                                                 automation::CallKind::Get, {vb::Variant(std::int16_t(4))});
  ASSERT_TRUE(got.isObject());
  EXPECT_EQ(got.object().get(), con.get());
}
