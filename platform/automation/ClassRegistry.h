#pragma once
// The classes a program makes public, by program identifier ("Skrivant.Application"). A program
// registers each class in one line at start; createObject is the in-process creation, the
// Server creates over the bus through the same registry. Identifiers compare without regard
// to case.
#include <QMetaObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace automation {

using ClassFactory = std::function<std::shared_ptr<QObject>()>;

// Registers (or replaces) the class behind `progId`. Not thread-safe: register at start, on the
// main thread.
void registerClass(const QString& progId, ClassFactory factory);

template <class T>
void registerClass(const QString& progId) {
  registerClass(progId, [] { return std::static_pointer_cast<QObject>(std::make_shared<T>()); });
}

// A new object of the class registered as `progId`. Raises 429 ("Objekterstellung durch
// ActiveX-Komponente nicht möglich.") for an identifier nobody registered; a VbError raised by
// the class's constructor reaches the caller as it was raised.
std::shared_ptr<QObject> createObject(const QString& progId);

// The identifiers as they were registered, sorted.
QStringList registeredClasses();

// The identifier objects of class `mo` were created by, as registered; empty for a class never
// created through the registry.
QString progIdOf(const QMetaObject& mo);

}  // namespace automation
