// The engine's public classes as a host's code generator sees them: every argument of every
// member has the name the class gives it, and optional arguments are declared with a default.
#include <QMap>
#include <QMetaMethod>

#include "automation/Klassenregistrierung.h"
#include "platform/automation/ClassRegistry.h"
#include "tests/automation/AutomationTestSupport.h"

namespace {

using KlassenregistrierungTest = automationtest::AutomationFixture;

TEST_F(KlassenregistrierungTest, EveryMemberNamesItsArguments) {
  KlassenRegistrieren();
  for (const QString& id : automation::registeredClasses()) {
    SCOPED_TRACE(id.toStdString());
    const auto object = automation::createObject(id);
    const QMetaObject& mo = *object->metaObject();
    for (int i = QObject::staticMetaObject.methodCount(); i < mo.methodCount(); ++i) {
      const QMetaMethod m = mo.method(i);
      if (m.access() != QMetaMethod::Public || m.methodType() == QMetaMethod::Signal) continue;
      for (const QByteArray& name : m.parameterNames()) EXPECT_FALSE(name.isEmpty()) << m.methodSignature().toStdString();
    }
  }
  // FormularGestaltung(AuftragStatus, VorlageNr[, BerichtArt]): the third may be left out.
  const auto app = automation::createObject(QStringLiteral("Skrivant.Application"));
  const QMetaObject& mo = *app->metaObject();
  QMap<int, QMetaMethod> nachAnzahl;
  for (int i = 0; i < mo.methodCount(); ++i)
    if (mo.method(i).name() == "FormularGestaltung") nachAnzahl.insert(mo.method(i).parameterCount(), mo.method(i));
  ASSERT_EQ(nachAnzahl.keys(), (QList<int>{2, 3}));
  EXPECT_EQ(nachAnzahl[3].parameterNames(), (QList<QByteArray>{"AuftragStatus", "VorlageNr", "BerichtArt"}));
  EXPECT_TRUE(nachAnzahl[2].attributes() & QMetaMethod::Cloned);
}

}  // namespace
