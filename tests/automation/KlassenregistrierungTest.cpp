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
    const QMetaObject* mo = automation::createObject(id)->metaObject();
    for (int i = QObject::staticMetaObject.methodCount(); i < mo->methodCount(); ++i) {
      const QMetaMethod m = mo->method(i);
      EXPECT_TRUE(m.access() != QMetaMethod::Public || m.methodType() == QMetaMethod::Signal || !m.parameterNames().contains(QByteArray()))
          << id.toStdString() << ": " << m.methodSignature().toStdString();
    }
  }
}

}  // namespace
