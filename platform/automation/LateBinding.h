#pragma once
// Late binding: call a member of a QObject by its name, as the component model's
// dispatch did. Members are the object's public Q_INVOKABLE methods and slots, and its
// Q_PROPERTYs:
//   Method, Get  a method named like the member, or a readable property;
//   Let          a method "let_<Name>", or a writable property;
//   Set          a method "set_<Name>" (object assignment), or a writable property.
// The name asked for goes through asciiName() and is matched without regard to case.
//
// Arguments are converted to the parameter types: vb::Variant as it is; QString (CStr); int,
// long, long long (CLng); short (CInt); unsigned char (CByte); double, float (CDbl); bool (CBool);
// QDateTime, QDate (CDate); vb::Currency (CDbl to four places); std::shared_ptr<QObject>, QObject* and pointers to QObject
// subclasses (an object reference, Nothing allowed). Conversion errors (6, 13, 94) are raised.
// Trailing vb::Variant parameters may be left out by the caller; they receive
// vb::Variant::missing(). Results come back as vb::Variant: a void method gives Empty, an object
// result must be declared std::shared_ptr<QObject> or vb::Variant.
// A RemoteObject (an object of another process, see Bridge.h) takes the same calls: they go
// over the bus into this same late binding on the other side.
#include <QList>
#include <QMetaMethod>
#include <QMetaType>
#include <QObject>
#include <QString>

#include "platform/vb/Variant.h"

namespace automation {

enum class CallKind { Method, Get, Let, Set };

// The automation type of a parameter or result of C++ type `type`, as the conversions above
// take it: "String", "Integer", "Long", "LongLong", "Double", "Currency", "Date", "Boolean",
// "Byte", "Variant", "Object"; "Empty" for void.
QString automationTypeName(const QMetaType& type);

// The type of parameter `parameter` of `m`, also where it is passed by reference.
QMetaType parameterMetaType(const QMetaMethod& m, int parameter);

// The automation type of parameter `parameter` of `m`, or of its result for -1: as
// automationTypeName, and "Object" for one declared vb::ObjectVariant.
QString automationTypeOf(const QMetaMethod& m, int parameter);

// Whether parameter `parameter` of `m` is a non-const reference: what the member leaves in it
// goes back to the caller.
bool isByReference(const QMetaMethod& m, int parameter);

// A name as the code spells it: ä→ae, ö→oe, ü→ue, Ä→Ae, Ö→Oe, Ü→Ue, ß→ss; the rest unchanged.
QString asciiName(const QString& name);

// Calls `member` of `obj`. Raises 438 when the object has no such member, 450 when it has one
// but not for this number of arguments; a VbError thrown by the member reaches the caller as
// it was thrown.
vb::Variant callByName(QObject& obj, const QString& member, CallKind kind, const QList<vb::Variant>& args = {});

// The same call with every argument passed by reference, as the public classes' members take
// them: afterwards `args` holds what the member left in each parameter it declared as a
// non-const reference (vb::Variant&, QString&, short&, int&, double&, bool&, …), with the
// automation type of the parameter (a QString& comes back a String, a short& an Integer).
// Arguments for other parameters, and leftover optional ones, come back as they went in.
// On a RemoteObject the call goes over the bus and the peer's changed arguments come back.
vb::Variant callByName(QObject& obj, const QString& member, CallKind kind, QList<vb::Variant>& args);

}  // namespace automation
