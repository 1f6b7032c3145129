#include "platform/automation/ClassRegistry.h"

#include <QHash>
#include <QMap>

#include "platform/vb/VbError.h"

namespace automation {

namespace {

struct Entry {
  QString progId;  // as registered
  ClassFactory factory;
};

// Keyed by the identifier in lower case.
QMap<QString, Entry>& classes() {
  static QMap<QString, Entry> map;
  return map;
}

QHash<QByteArray, QString>& createdClasses() {
  static QHash<QByteArray, QString> map;
  return map;
}

}  // namespace

void registerClass(const QString& progId, ClassFactory factory) {
  classes().insert(progId.toLower(), Entry{progId, std::move(factory)});
}

std::shared_ptr<QObject> createObject(const QString& progId) {
  const auto it = classes().constFind(progId.toLower());
  if (it == classes().constEnd()) vb::raise(vb::ErrCannotCreateObject, progId);
  std::shared_ptr<QObject> obj = it->factory();
  if (!obj) vb::raise(vb::ErrCannotCreateObject, progId);
  createdClasses().insert(QByteArray(obj->metaObject()->className()), it->progId);
  return obj;
}

QStringList registeredClasses() {
  QStringList ids;
  for (const Entry& e : classes()) ids << e.progId;
  ids.sort(Qt::CaseInsensitive);
  return ids;
}

QString progIdOf(const QMetaObject& mo) {
  return createdClasses().value(QByteArray(mo.className()));
}

}  // namespace automation
