#include <gtest/gtest.h>

#include <QObject>

#include "platform/automation/ClassRegistry.h"
#include "platform/vb/VbError.h"

namespace {

class Kasse : public QObject {
  Q_OBJECT
};

TEST(ClassRegistry, CreatesByIdentifierWithoutRegardToCase) {
  automation::registerClass<Kasse>(QStringLiteral("RegistryTest.Kasse"));
  EXPECT_TRUE(automation::registeredClasses().contains(QStringLiteral("RegistryTest.Kasse")));
  const auto obj = automation::createObject(QStringLiteral("registrytest.KASSE"));
  ASSERT_TRUE(qobject_cast<Kasse*>(obj.get()));
  EXPECT_NE(automation::createObject(QStringLiteral("RegistryTest.Kasse")), obj);  // a new object each time
  EXPECT_EQ(automation::progIdOf(Kasse::staticMetaObject), QStringLiteral("RegistryTest.Kasse"));
}

TEST(ClassRegistry, UnknownIdentifierRaises429WithTheRunTimesText) {
  try {
    automation::createObject(QStringLiteral("RegistryTest.Unbekannt"));
    FAIL() << "no error";
  } catch (const vb::VbError& e) {
    EXPECT_EQ(e.number(), 429);
    EXPECT_EQ(e.source(), QStringLiteral("RegistryTest.Unbekannt"));
    EXPECT_EQ(e.description(), QStringLiteral("Objekterstellung durch ActiveX-Komponente nicht möglich."));
  }
}

}  // namespace

#include "ClassRegistryTest.moc"
