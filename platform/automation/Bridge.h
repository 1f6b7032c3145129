#pragma once
// One side of the out-of-process road, over a QDBusConnection; the server program and every
// host have one. It exports local objects that travel in calls and replies (one object path
// each, "/obj/<n>"; the same object keeps its path while it is exported) and turns references
// that arrive into RemoteObject proxies, or back into the local object when the reference comes
// home (its bus name is this connection's unique name or one of its own well-known names).
//
// On the bus every exported object answers:
//   de.automation.Object.Invoke(s member, y kind, a(yv) args) -> ((yv) result, a(yv) argsBack)
//       kind 0 Method, 1 Get, 2 Let, 3 Set; goes through callByName, argsBack holds the
//       arguments as the member left them (by-reference parameters changed).
//   de.automation.Object.Release(u count)
//       the sender drops `count` of the references it received to this object.
//   de.automation.class.<identifier or class name>.<Member>((yv) …) -> ((yv) result)
//       each public member called directly, for hosts in other languages; plain basic
//       values (s, i, d, b, …) are taken as arguments too. "let_<Name>"/"set_<Name>" assign.
//   org.freedesktop.DBus.Introspectable.Introspect, listing the members above; each argument
//       of a class member is named as the class declares it and carries the annotations
//       "de.automation.Type" (String, Integer, Long, …, Variant, Object; Empty for no result),
//       where the caller may leave it out "de.automation.Optional" = "true", and where the
//       member hands it back in argsBack "de.automation.ByRef" = "true".
// A value travels as (yv): the VarType code and n Integer, i Long, x LongLong, d Double,
// x Currency (ten-thousandths), d Date (OLE serial), b Boolean, s String, y Byte,
// (so) object reference (bus name, path; path "/" is Nothing), i 0 Empty/Null/Missing
// (Missing is code 10, Error). A String the bus cannot carry as text (a NUL, a lone surrogate)
// travels as aq, its UTF-16 code units; every other String as s.
// A run-time error comes back as the D-Bus error "de.automation.Error.E<number>" ("E_<number>"
// for a negative one) whose message is "<number>\t<source>\t<description>" (tabs in the texts
// made blanks, NULs and lone surrogates U+FFFD); other exceptions as error 440. The client takes
// the error without ".E<number>" as well. A call on an object path that holds no object (released)
// is error -2147417848 in the same shape.
//
// References are counted per peer (its unique name): each reference sent to a peer counts one,
// the peer's RemoteObject sends Release with its count when it goes, and a peer that leaves the
// bus (exit, crash) is released of all it held. An object belongs to the peers holding a
// reference to it: another peer's call, Release, or reference to it in an argument is refused
// with error 70.
//
// A bridge over a peer-to-peer connection (QDBusServer, QDBusConnection::connectToPeer) works the
// same way with one peer, the other end: its references travel under a name each side makes up,
// and when the connection closes the peer is released of all it held. When no peer holds an object any more the bridge
// drops its shared_ptr, so the object's destructor runs if nobody else holds it.
//
// Everything runs on the thread that owns the bridge (the main thread); calls wait for their
// reply in a local event loop that serves incoming calls (callbacks) but no user input. A peer
// that leaves the bus ends the call with error 462. A host's calls have no time limit (a preview
// waits for the user); a program's calls back into its hosts have the bound setCallTimeout gives.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>

#include "platform/automation/LateBinding.h"
#include "platform/vb/Variant.h"

namespace vb { class VbError; }

namespace automation {

class RemoteObject;

class Bridge : public QObject {
  Q_OBJECT

 public:
  // The D-Bus names of the road, for shells and other languages.
  static constexpr const char* ObjectInterface = "de.automation.Object";
  static constexpr const char* ClassInterfacePrefix = "de.automation.class.";
  static constexpr const char* FactoryInterface = "de.automation.Factory";
  static constexpr const char* FactoryPath = "/factory";
  static constexpr const char* ErrorName = "de.automation.Error";

  explicit Bridge(const QDBusConnection& connection, QObject* parent = nullptr);
  ~Bridge() override;

  // The bridge of the session bus, made on first use; the one createRemoteObject and Server use.
  // Raises 429 when there is no session bus.
  static Bridge& session();

  QDBusConnection connection() const { return m_connection; }

  // Serves de.automation.Factory.CreateObject(s progId) -> ((so)) at FactoryPath through
  // `factory`; the reference returned counts for the caller, or for the peer `holder` names for
  // the caller (a worker that creates for its one client on behalf of the program's front). An
  // empty name from `holder` refuses the caller with error 70.
  void serveFactory(std::function<std::shared_ptr<QObject>(const QString&)> factory,
                    std::function<QString(const QString& caller)> holder = {});
  // A well-known name this side owns: references under it come home as local objects.
  void addOwnName(const QString& busName);

  // Creates an object at the peer `busName` through its factory (D-Bus activation starts the
  // program when it is not running; on a peer connection `busName` is not used). Raises what the peer raised (429 for an unknown
  // identifier), 429 when the peer cannot be reached or started.
  std::shared_ptr<QObject> createRemote(const QString& busName, const QString& progId);

  // Number of local objects peers hold references to.
  int exportedCount() const;

  // A bound on every call this side makes to a peer (zero: none, the default). Past it the call
  // fails with error 440, whose description says that the peer did not answer in time; its late
  // answer is dropped.
  void setCallTimeout(std::chrono::milliseconds bound);

  // The reply to `call` that carries the run-time error `e` as this road sends errors.
  static QDBusMessage errorReply(const QDBusMessage& call, const vb::VbError& e);
  // The introspection document of FactoryPath, and that of an exported object of class `mo`.
  static QString factoryIntrospection();
  static QString classIntrospection(const QMetaObject& mo);

 signals:
  // A peer connection closed; its peer has been released.
  void disconnected();

  // The number of exported objects changed (an object was handed out, or its last reference went).
  void exportedCountChanged(int count);

 private:
  friend class RemoteObject;
  friend class ObjectTable;
  struct Private;

  vb::Variant invokeRemote(const RemoteObject& proxy, const QString& member, CallKind kind, QList<vb::Variant>& args);
  void releaseRemote(const QString& busName, const QString& path, quint32 count);
  QDBusMessage waitForReply(const QDBusMessage& call);

  QDBusConnection m_connection;
  std::unique_ptr<Private> d;
};

}  // namespace automation
