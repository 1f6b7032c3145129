#pragma once
// The client side for hosts: create a public class of another program over the session bus and
// drive it by name with the same callByName as in process, so a host switches roads in one line:
//   auto app = automation::createObject(QStringLiteral("Skrivant.Application"));        // in process
//   auto app = automation::createRemoteObject(QStringLiteral("Skrivant.Application"));  // over the bus
//   automation::callByName(*app, QStringLiteral("SetDataBaseName"), CallKind::Method, args);
// A host's own objects (record set, handler, event object) go to the server as vb::Variant
// arguments and are called back while the host waits in its call; the host's main thread must
// run a QCoreApplication.
#include <QObject>
#include <QString>
#include <memory>

#include "platform/automation/LateBinding.h"

namespace automation {

// An object of the program serving `progId` (busNameFor(progId)), started by D-Bus activation
// when it is not running. Raises what the program raised (429 for an unknown identifier), 429
// when there is no session bus or the program cannot be started.
std::shared_ptr<QObject> createRemoteObject(const QString& progId);

// The same over the D-Bus peer address of a program that listens on one (Server::listen), such
// as "unix:path=/run/user/1000/tarnelodcom.sock" or a socket forwarded from another machine.
// One connection per address serves every object made through it and the callbacks to this
// side's objects; it closes when the program ends. Raises 429 when the address cannot be
// reached or the program raised it.
std::shared_ptr<QObject> createRemoteObject(const QString& progId, const QString& address);

}  // namespace automation
