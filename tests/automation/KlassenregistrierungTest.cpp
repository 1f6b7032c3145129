// A host's code generator names the arguments as the class does.
#include <QMetaMethod>

#include "automation/Klassenregistrierung.h"
#include "platform/automation/ClassRegistry.h"
#include "tests/automation/AutomationTestSupport.h"

namespace {

using KlassenregistrierungTest = automationtest::AutomationFixture;

TEST_F(KlassenregistrierungTest, EveryMemberNamesItsArguments) {
  KlassenRegistrieren();
  for (const QString& id : automation::registeredClasses()) {
    const auto object = automation::createObject(id);
    const QMetaObject& mo = *object->metaObject();
    for (int i = QObject::staticMetaObject.methodCount(); i < mo.methodCount(); ++i) {
      const QMetaMethod m = mo.method(i);
      if (m.access() != QMetaMethod::Public || m.methodType() == QMetaMethod::Signal) continue;
      for (const QByteArray& name : m.parameterNames())
        EXPECT_FALSE(name.isEmpty()) << id.toStdString() << ": " << m.methodSignature().toStdString();
    }
  }
}

}  // namespace
