#include "platform/automation/Bridge.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QHash>
#include <QLocale>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPointer>
#include <QTimer>
#include <QUuid>
#include <limits>

#include "platform/automation/ClassRegistry.h"
#include "platform/automation/RemoteObject.h"
#include "platform/automation/WireValue.h"
#include "platform/vb/VbError.h"

namespace automation {

namespace {

const QString ObjectPathPrefix = QStringLiteral("/obj/");
const QString IntrospectableInterface = QStringLiteral("org.freedesktop.DBus.Introspectable");
// The platform's number for a call on an object that is no longer there (RPC_E_DISCONNECTED).
constexpr long ErrObjectDisconnected = -2147417848;
// On a peer connection the one peer is every message's sender.
const QString ThePeer = QStringLiteral("peer");

struct Export {
  std::shared_ptr<QObject> object;
  QHash<QString, quint32> holders;  // peer's unique name -> references it holds
};

QString escapeXml(const QString& s) { return s.toHtmlEscaped(); }

// An interface name element allows letters, digits and '_', and no digit first.
QString interfaceElement(const QString& name) {
  QString out;
  for (const QChar c : name) out += (c.isLetterOrNumber() && c.unicode() < 128) || c == QLatin1Char('_') ? c : QLatin1Char('_');
  if (out.isEmpty() || out.front().isDigit()) out.prepend(QLatin1Char('_'));
  return out;
}

QString classInterfaceName(const QMetaObject& mo) {
  QString id = progIdOf(mo);
  if (id.isEmpty()) id = QString::fromLatin1(mo.className()).replace(QLatin1String("::"), QLatin1String("."));
  QStringList parts;
  for (const QString& part : id.split(QLatin1Char('.'), Qt::SkipEmptyParts)) parts << interfaceElement(part);
  return QLatin1String(Bridge::ClassInterfacePrefix) + parts.join(QLatin1Char('.'));
}

QString argXml(const QString& name, const char* type, const char* direction) {
  return QStringLiteral("      <arg name=\"%1\" type=\"%2\" direction=\"%3\"/>\n")
      .arg(escapeXml(name), QLatin1String(type), QLatin1String(direction));
}

// An argument of a class member: a (yv) with its automation type, whether it may be left out, and
// whether the member hands it back changed, as annotations a code generator reads.
QString memberArgXml(const QString& name, const char* direction, const QString& type, bool optional = false,
                     bool byReference = false) {
  QString xml = QStringLiteral("      <arg name=\"%1\" type=\"(yv)\" direction=\"%2\">\n"
                               "        <annotation name=\"de.automation.Type\" value=\"%3\"/>\n")
                    .arg(escapeXml(name), QLatin1String(direction), type);
  if (optional) xml += QStringLiteral("        <annotation name=\"de.automation.Optional\" value=\"true\"/>\n");
  if (byReference) xml += QStringLiteral("        <annotation name=\"de.automation.ByRef\" value=\"true\"/>\n");
  return xml + QStringLiteral("      </arg>\n");
}

// The public members of a class as methods taking and giving (yv): methods and slots (the one
// with the most parameters where a name is overloaded; parameters with a default may be left
// out), properties as a reading method and a "let_" method when writable.
QString classInterfaceXml(const QMetaObject& mo) {
  struct Member {
    QMetaMethod method;
    int required;
  };
  QMap<QString, Member> methods;
  for (int i = QObject::staticMetaObject.methodCount(); i < mo.methodCount(); ++i) {
    const QMetaMethod m = mo.method(i);
    if (m.access() != QMetaMethod::Public) continue;
    if (m.methodType() != QMetaMethod::Method && m.methodType() != QMetaMethod::Slot) continue;
    const QString key = QString::fromLatin1(m.name()).toLower();
    const auto it = methods.find(key);
    // moc gives a member with default arguments one entry per count, the shorter ones marked cloned.
    if (it != methods.end() && (m.attributes() & QMetaMethod::Cloned) && it->method.parameterCount() > m.parameterCount())
      it->required = std::min(it->required, m.parameterCount());
    else if (it == methods.end() || it->method.parameterCount() < m.parameterCount())
      methods.insert(key, Member{m, m.parameterCount()});
  }
  QString xml = QStringLiteral("  <interface name=\"%1\">\n").arg(classInterfaceName(mo));
  for (const Member& member : std::as_const(methods)) {
    const QMetaMethod& m = member.method;
    xml += QStringLiteral("    <method name=\"%1\">\n").arg(QString::fromLatin1(m.name()));
    const QList<QByteArray> names = m.parameterNames();
    for (int p = 0; p < m.parameterCount(); ++p) {
      const QString name = p < names.size() && !names[p].isEmpty() ? QString::fromLatin1(names[p]) : QStringLiteral("arg%1").arg(p);
      xml += memberArgXml(name, "in", automationTypeOf(m, p), p >= member.required, isByReference(m, p));
    }
    xml += memberArgXml(QStringLiteral("result"), "out", automationTypeOf(m, -1)) + QStringLiteral("    </method>\n");
  }
  for (int i = QObject::staticMetaObject.propertyCount(); i < mo.propertyCount(); ++i) {
    const QMetaProperty p = mo.property(i);
    const QString name = QString::fromLatin1(p.name());
    if (p.isReadable() && !methods.contains(name.toLower()))
      xml += QStringLiteral("    <method name=\"%1\">\n").arg(name) +
             memberArgXml(QStringLiteral("result"), "out", automationTypeName(p.metaType())) + QStringLiteral("    </method>\n");
    const QString let = QStringLiteral("let_") + name;
    if (p.isWritable() && !methods.contains(let.toLower()))
      xml += QStringLiteral("    <method name=\"%1\">\n").arg(let) +
             memberArgXml(QStringLiteral("value"), "in", automationTypeName(p.metaType())) +
             memberArgXml(QStringLiteral("result"), "out", automationTypeName(QMetaType())) + QStringLiteral("    </method>\n");
  }
  return xml + QStringLiteral("  </interface>\n");
}

const QString& objectInterfaceXml() {
  static const QString xml =
      QStringLiteral("  <interface name=\"%1\">\n    <method name=\"Invoke\">\n").arg(QLatin1String(Bridge::ObjectInterface)) +
      argXml(QStringLiteral("member"), "s", "in") + argXml(QStringLiteral("kind"), "y", "in") +
      argXml(QStringLiteral("args"), "a(yv)", "in") + argXml(QStringLiteral("result"), "(yv)", "out") +
      argXml(QStringLiteral("argsBack"), "a(yv)", "out") + QStringLiteral("    </method>\n    <method name=\"Release\">\n") +
      argXml(QStringLiteral("count"), "u", "in") + QStringLiteral("    </method>\n  </interface>\n");
  return xml;
}

const QString& factoryInterfaceXml() {
  static const QString xml =
      QStringLiteral("  <interface name=\"%1\">\n    <method name=\"CreateObject\">\n").arg(QLatin1String(Bridge::FactoryInterface)) +
      argXml(QStringLiteral("progId"), "s", "in") + argXml(QStringLiteral("object"), "(so)", "out") +
      QStringLiteral("    </method>\n  </interface>\n");
  return xml;
}

QString introspectionDocument(const QString& body) {
  return QStringLiteral(
             "<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection 1.0//EN\"\n"
             " \"http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd\">\n<node>\n"
             "  <interface name=\"org.freedesktop.DBus.Introspectable\">\n    <method name=\"Introspect\">\n"
             "      <arg name=\"xml_data\" type=\"s\" direction=\"out\"/>\n    </method>\n  </interface>\n") +
         body + QStringLiteral("</node>\n");
}

// "de.automation.Error.E13"; a negative number with "_" for its sign ("E_2147467259").
QString errorName(long number) {
  return QLatin1String(Bridge::ErrorName) + QStringLiteral(".E") +
         (number < 0 ? QLatin1Char('_') + QString::number(-qint64(number)) : QString::number(number));
}

QString errorText(const vb::VbError& e) {
  // Tabs would break the fields apart, and the message must be text the bus carries. Nothing
  // follows the message: D-Bus libraries read an error's text only from a body of one string.
  auto field = [](const QString& s) {
    QString out = s;
    out.replace(QLatin1Char('\t'), QLatin1Char(' '));
    if (WireValue::travelsAsText(out)) return out;
    for (qsizetype i = 0; i < out.size(); ++i) {
      if (out[i].isHighSurrogate() && i + 1 < out.size() && out[i + 1].isLowSurrogate()) ++i;
      else if (out[i].isNull() || out[i].isSurrogate()) out[i] = QChar::ReplacementCharacter;
    }
    return out;
  };
  return QStringLiteral("%1\t%2\t%3").arg(e.number()).arg(field(e.source()), field(e.description()));
}

}  // namespace

// Receives every call to "/obj/<n>" and FACTORY on the bridge's thread (QtDBus posts them to the
// thread the virtual object lives in).
class ObjectTable : public QDBusVirtualObject {
 public:
  explicit ObjectTable(Bridge& bridge) : m_bridge(bridge) {}
  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override;

 private:
  Bridge& m_bridge;
};

struct Bridge::Private {
  explicit Private(Bridge& bridge)
      : q(bridge),
        table(bridge),
        watcher(QString(), bridge.m_connection, QDBusServiceWatcher::WatchForUnregistration),
        isPeer(bridge.m_connection.baseService().isEmpty()),
        // A peer connection has no bus to name its ends: each side makes up its own name, under
        // which its references travel and come home.
        ownName(isPeer ? QStringLiteral(":peer.") + QUuid::createUuid().toString(QUuid::Id128) : bridge.m_connection.baseService()) {}

  Bridge& q;
  ObjectTable table;
  QDBusServiceWatcher watcher;
  const bool isPeer;
  const QString ownName;
  QTimer peerCheck;
  QHash<QString, Export> exports;  // objects peers hold, by path
  // Every object ever exported keeps its path while it lives: a peer's release may overtake
  // the reply that hands the object back, which must still find it.
  QHash<const QObject*, QString> paths;
  QHash<QString, std::weak_ptr<QObject>> known;
  QHash<QPair<QString, QString>, std::weak_ptr<RemoteObject>> proxies;  // by (bus name, path)
  QStringList ownNames;
  std::function<std::shared_ptr<QObject>(const QString&)> factory;
  std::function<QString(const QString&)> factoryHolder;
  std::chrono::milliseconds callTimeout{0};
  quint64 nextId = 1;

  bool isOwnName(const QString& busName) const {
    return busName == ownName || ownNames.contains(busName);
  }

  QString peerOf(const QDBusMessage& call) const { return isPeer ? ThePeer : call.service(); }
  QString peerOf(const RemoteObject& proxy) const { return isPeer ? ThePeer : proxy.busName(); }
  // Messages on a peer connection carry no destination.
  QString destination(const QString& busName) const { return isPeer ? QString() : busName; }

  WireValue::Exporter exporterFor(const QString& peer) {
    return [this, peer](const std::shared_ptr<QObject>& obj) { return exportFor(obj, peer); };
  }
  WireValue::Importer importer() {
    return [this](const ObjectRef& ref) { return import(ref); };
  }
  // For the arguments of a peer's call: our own objects only as far as the peer holds them.
  WireValue::Importer importerFrom(const QString& peer) {
    return [this, peer](const ObjectRef& ref) { return import(ref, &peer); };
  }

  ObjectRef exportFor(const std::shared_ptr<QObject>& obj, const QString& peer) {
    if (!obj) return {QString(), QDBusObjectPath(QStringLiteral("/"))};
    // A peer's own object goes back as its own reference; an object of a third process is
    // exported as our proxy, so the third process's counts stay with the peers it knows.
    if (const auto* remote = qobject_cast<const RemoteObject*>(obj.get());
        remote && remote->m_bridge == &q && peerOf(*remote) == peer)
      return {remote->busName(), QDBusObjectPath(remote->path())};
    QString path = paths.value(obj.get());
    if (path.isEmpty()) {
      path = ObjectPathPrefix + QString::number(nextId++);
      paths.insert(obj.get(), path);
      known.insert(path, obj);
      QObject::connect(obj.get(), &QObject::destroyed, &q, [this, raw = obj.get(), path] {
        paths.remove(raw);
        known.remove(path);
      });
    }
    const bool added = !exports.contains(path);
    if (added) exports.insert(path, Export{obj, {}});
    ++exports[path].holders[peer];
    watch(peer);
    if (added) emit q.exportedCountChanged(int(exports.size()));
    return {ownName, QDBusObjectPath(path)};
  }

  std::shared_ptr<QObject> import(const ObjectRef& ref, const QString* caller = nullptr) {
    const QString path = ref.path.path();
    if (isOwnName(ref.busName)) {
      if (caller && !holds(*caller, path)) vb::raise(vb::ErrPermissionDenied, path);
      if (std::shared_ptr<QObject> obj = known.value(path).lock()) return obj;
      vb::raise(vb::ErrObjectNotSet, path);
    }
    const auto key = qMakePair(ref.busName, path);
    if (std::shared_ptr<RemoteObject> proxy = proxies.value(key).lock()) {
      ++proxy->m_received;
      return proxy;
    }
    std::shared_ptr<RemoteObject> proxy(new RemoteObject(q, ref.busName, path));
    proxy->m_received = 1;
    proxies.insert(key, proxy);
    return proxy;
  }

  bool holds(const QString& peer, const QString& path) const {
    const auto it = exports.constFind(path);
    return it != exports.constEnd() && it->holders.contains(peer);
  }

  void sendError(const QDBusMessage& call, const vb::VbError& e) { q.m_connection.send(errorReply(call, e)); }

  // Watches the peer's name so a peer that leaves is released; a peer gone before the watch
  // began is found by asking the bus once.
  void watch(const QString& peer) {
    if (isPeer) return;  // the connection's end is watched instead
    if (watcher.watchedServices().contains(peer)) return;
    watcher.addWatchedService(peer);
    QDBusMessage ask = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                                      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    ask << peer;
    auto* pending = new QDBusPendingCallWatcher(q.m_connection.asyncCall(ask), &q);
    QObject::connect(pending, &QDBusPendingCallWatcher::finished, &q, [this, peer](QDBusPendingCallWatcher* w) {
      w->deleteLater();
      const QDBusMessage reply = w->reply();
      if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().value(0).toBool()) releasePeer(peer);
    });
  }

  void release(const QString& path, const QString& peer, quint32 count) {
    const auto it = exports.find(path);
    if (it == exports.end() || !it->holders.contains(peer)) return;
    quint32& held = it->holders[peer];
    held -= std::min(held, count);
    if (held == 0) it->holders.remove(peer);
    if (!it->holders.isEmpty()) return;
    Export dropped = exports.take(path);
    forgetIfIdle(peer);
    dropped = {};  // the object's termination runs here unless someone else holds it
    emit q.exportedCountChanged(int(exports.size()));
  }

  void releasePeer(const QString& peer) {
    QStringList held;
    for (auto it = exports.cbegin(); it != exports.cend(); ++it)
      if (it->holders.contains(peer)) held << it.key();
    for (const QString& path : held) release(path, peer, std::numeric_limits<quint32>::max());
    forgetIfIdle(peer);
  }

  void forgetIfIdle(const QString& peer) {
    for (const Export& e : std::as_const(exports))
      if (e.holders.contains(peer)) return;
    watcher.removeWatchedService(peer);
  }

  QString introspect(const QString& path) const {
    if (path == QLatin1String(FactoryPath)) return introspectionDocument(factory ? factoryInterfaceXml() : QString());
    if (const auto it = exports.constFind(path); it != exports.constEnd()) {
      QString body = objectInterfaceXml();
      if (!qobject_cast<const RemoteObject*>(it->object.get())) body += classInterfaceXml(*it->object->metaObject());
      return introspectionDocument(body);
    }
    QString nodes;
    if (path + QLatin1Char('/') == ObjectPathPrefix)
      for (auto it = exports.cbegin(); it != exports.cend(); ++it)
        nodes += QStringLiteral("  <node name=\"%1\"/>\n").arg(it.key().mid(ObjectPathPrefix.size()));
    return introspectionDocument(nodes);
  }

  void reply(const QDBusMessage& call, const QVariantList& values) {
    if (call.isReplyRequired()) q.m_connection.send(call.createReply(values));
  }

  void handleCall(const QDBusMessage& call);
  void handleObjectCall(const QDBusMessage& call, const std::shared_ptr<QObject>& obj);
};

bool ObjectTable::handleMessage(const QDBusMessage& message, const QDBusConnection&) {
  m_bridge.d->handleCall(message);
  return true;
}

void Bridge::Private::handleCall(const QDBusMessage& call) {
  const QString path = call.path();
  if (call.interface() == IntrospectableInterface && call.member() == QLatin1String("Introspect")) {
    reply(call, {introspect(path)});
    return;
  }
  try {
    if (path == QLatin1String(FactoryPath) && factory && call.member() == QLatin1String("CreateObject") &&
        call.signature() == QLatin1String("s")) {
      const QString holder = factoryHolder ? factoryHolder(peerOf(call)) : peerOf(call);
      if (holder.isEmpty()) vb::raise(vb::ErrPermissionDenied, path);
      const std::shared_ptr<QObject> obj = factory(call.arguments().value(0).toString());
      if (!obj) vb::raise(vb::ErrCannotCreateObject, call.arguments().value(0).toString());
      reply(call, {QVariant::fromValue(exportFor(obj, holder))});
      return;
    }
    const auto it = exports.constFind(path);
    if (it == exports.constEnd()) {
      // A released object is told as the platform tells a disconnected one, in words a host
      // reads; a path no object ever had (the factory before it is served) stays the bus's own.
      if (path.startsWith(ObjectPathPrefix))
        vb::raise(ErrObjectDisconnected, path,
                  QStringLiteral("Automatisierungsfehler: Das aufgerufene Objekt %1 wurde von seinen Clients getrennt "
                                 "(freigegeben oder nie vorhanden).")
                      .arg(path));
      q.m_connection.send(call.createErrorReply(QDBusError::UnknownObject, QStringLiteral("No object at %1").arg(path)));
      return;
    }
    // An object belongs to the peers it was handed to: others neither call nor release it.
    if (!it->holders.contains(peerOf(call))) vb::raise(vb::ErrPermissionDenied, path);
    // Held here too: the object may be released by a nested call while its member runs.
    const std::shared_ptr<QObject> obj = it->object;
    handleObjectCall(call, obj);
  } catch (const vb::VbError& e) {
    sendError(call, e);
  } catch (const std::exception& e) {
    sendError(call, vb::VbError(vb::ErrAutomation, QString::fromLocal8Bit(e.what()), call.member()));
  }
}

void Bridge::Private::handleObjectCall(const QDBusMessage& call, const std::shared_ptr<QObject>& obj) {
  const QString iface = call.interface();
  const QString peer = peerOf(call);
  const QVariantList in = call.arguments();
  if (iface == QLatin1String(ObjectInterface) && call.member() == QLatin1String("Invoke") &&
      call.signature() == QLatin1String("sya(yv)")) {
    const uchar kind = in[1].value<uchar>();
    if (kind > uchar(CallKind::Set)) vb::raise(vb::ErrInvalidCall, call.member());
    QList<vb::Variant> args = WireValue::decode(qdbus_cast<QList<WireValue>>(in[2]), importerFrom(peer));
    const vb::Variant result = callByName(*obj, in[0].toString(), CallKind(kind), args);
    reply(call, {QVariant::fromValue(WireValue::encode(result, exporterFor(peer))),
                 QVariant::fromValue(WireValue::encode(args, exporterFor(peer)))});
  } else if (iface == QLatin1String(ObjectInterface) && call.member() == QLatin1String("Release") &&
             call.signature() == QLatin1String("u")) {
    release(call.path(), peer, in[0].toUInt());
    reply(call, {});
  } else if (iface.isEmpty() || iface.startsWith(QLatin1String(ClassInterfacePrefix))) {
    QString member = call.member();
    CallKind kind = CallKind::Method;
    if (member.startsWith(QLatin1String("let_"), Qt::CaseInsensitive)) kind = CallKind::Let;
    if (member.startsWith(QLatin1String("set_"), Qt::CaseInsensitive)) kind = CallKind::Set;
    if (kind != CallKind::Method) member = member.mid(4);
    QList<vb::Variant> args;
    for (const QVariant& arg : in) args << WireValue::fromArgument(arg, importerFrom(peer));
    const vb::Variant result = callByName(*obj, member, kind, args);
    reply(call, {QVariant::fromValue(WireValue::encode(result, exporterFor(peer)))});
  } else {
    q.m_connection.send(call.createErrorReply(QDBusError::UnknownMethod,
                                              QStringLiteral("No method %1.%2 (%3)").arg(iface, call.member(), call.signature())));
  }
}

Bridge::Bridge(const QDBusConnection& connection, QObject* parent)
    : QObject(parent), m_connection(connection), d(std::make_unique<Private>(*this)) {
  WireValue::registerTypes();
  m_connection.registerVirtualObject(ObjectPathPrefix.chopped(1), &d->table, QDBusConnection::SubPath);
  connect(&d->watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this](const QString& peer) { d->releasePeer(peer); });
  if (d->isPeer) {
    // QtDBus tells nobody when a peer connection closes; its state is looked at instead.
    d->peerCheck.setInterval(std::chrono::milliseconds(250));
    connect(&d->peerCheck, &QTimer::timeout, this, [this] {
      if (m_connection.isConnected()) return;
      d->peerCheck.stop();
      d->releasePeer(ThePeer);
      emit disconnected();
    });
    d->peerCheck.start();
  }
}

Bridge::~Bridge() {
  m_connection.unregisterObject(ObjectPathPrefix.chopped(1), QDBusConnection::UnregisterTree);
  if (d->factory) m_connection.unregisterObject(QLatin1String(FactoryPath));
  // Objects a peer still holds (a host's record set the engine keeps) go first, while the path
  // tables their destruction updates still stand.
  QHash<QString, Export> gehalten;
  gehalten.swap(d->exports);
  gehalten.clear();
}

Bridge& Bridge::session() {
  static QPointer<Bridge> bridge;
  if (!bridge) {
    if (!QCoreApplication::instance()) vb::raise(vb::ErrCannotCreateObject, QStringLiteral("no QCoreApplication"));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) vb::raise(vb::ErrCannotCreateObject, bus.lastError().message());
    bridge = new Bridge(bus);
    // Before QtDBus winds its connections down at the application's end.
    qAddPostRoutine([] { delete bridge.data(); });
  }
  return *bridge;
}

void Bridge::serveFactory(std::function<std::shared_ptr<QObject>(const QString&)> factory,
                          std::function<QString(const QString&)> holder) {
  const bool first = !d->factory;
  d->factory = std::move(factory);
  d->factoryHolder = std::move(holder);
  if (first) m_connection.registerVirtualObject(QLatin1String(FactoryPath), &d->table);
}

void Bridge::addOwnName(const QString& busName) {
  if (!d->ownNames.contains(busName)) d->ownNames << busName;
}

int Bridge::exportedCount() const { return int(d->exports.size()); }

void Bridge::setCallTimeout(std::chrono::milliseconds bound) { d->callTimeout = bound; }

QDBusMessage Bridge::errorReply(const QDBusMessage& call, const vb::VbError& e) {
  return call.createErrorReply(errorName(e.number()), errorText(e));
}

QString Bridge::factoryIntrospection() { return introspectionDocument(factoryInterfaceXml()); }

QString Bridge::classIntrospection(const QMetaObject& mo) {
  return introspectionDocument(objectInterfaceXml() + classInterfaceXml(mo));
}

QDBusMessage Bridge::waitForReply(const QDBusMessage& call) {
  // Without a bound a call may open a window the user works in for as long as he likes. A peer
  // that leaves the bus ends the call with an error from the bus. The bound is our own timer,
  // not the bus's: the bus answers a peer's leaving with the same error as a timeout.
  QDBusPendingCall pending = m_connection.asyncCall(call, std::numeric_limits<int>::max());
  bool late = false;
  if (!pending.isFinished()) {
    QDBusPendingCallWatcher watcher(pending);
    QEventLoop loop;
    connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    QTimer bound;
    if (d->callTimeout.count() > 0) {
      bound.setSingleShot(true);
      bound.setTimerType(Qt::PreciseTimer);  // a coarse one may fire 5 % early
      connect(&bound, &QTimer::timeout, &loop, [&] {
        late = true;
        loop.quit();
      });
      bound.start(d->callTimeout);
    }
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  if (pending.isFinished()) return pending.reply();
  if (!late)  // the application is quitting
    return call.createErrorReply(QDBusError::NoReply, QStringLiteral("The call was left unfinished"));
  const double seconds = std::chrono::duration<double>(d->callTimeout).count();
  return errorReply(call, vb::VbError(vb::ErrAutomation,
                                      QStringLiteral("Der Host hat auf den Aufruf von '%1' nicht innerhalb von %2 Sekunden geantwortet")
                                          .arg(call.arguments().value(0).toString(), QLocale(QLocale::German).toString(seconds)),
                                      call.service()));
}

namespace {

// The number in an error name "de.automation.Error.E<number>" ("E_<number>" when negative).
bool numberOfName(const QString& name, long& number) {
  const QString prefix = QLatin1String(Bridge::ErrorName) + QStringLiteral(".E");
  if (!name.startsWith(prefix)) return false;
  QString digits = name.mid(prefix.size());
  if (digits.startsWith(QLatin1Char('_'))) digits.replace(0, 1, QLatin1Char('-'));
  bool ok = false;
  number = digits.toLong(&ok);
  return ok;
}

// A run-time error of the peer as it was raised there; `otherwise` for the bus's own errors.
// The error is "de.automation.Error", or the same with ".E<number>" after it; its message is
// "<number>\t<source>\t<description>".
[[noreturn]] void raiseReplyError(const QDBusMessage& reply, long otherwise) {
  const QString name = reply.errorName();
  long number = 0;
  const bool named = numberOfName(name, number);
  if (named || name == QLatin1String(Bridge::ErrorName)) {
    const QStringList fields = reply.errorMessage().split(QLatin1Char('\t'));
    bool ok = false;
    const long inText = fields.value(0).toLong(&ok);
    if (ok && fields.size() == 3) throw vb::VbError(inText, fields[2], fields[1]);
    if (named) throw vb::VbError(number, reply.errorMessage());
  }
  vb::raise(otherwise, reply.errorMessage().isEmpty() ? name : reply.errorMessage());
}

}  // namespace

std::shared_ptr<QObject> Bridge::createRemote(const QString& busName, const QString& progId) {
  if (!WireValue::travelsAsText(progId)) vb::raise(vb::ErrCannotCreateObject, progId);
  QDBusMessage call = QDBusMessage::createMethodCall(d->destination(busName), QLatin1String(FactoryPath), QLatin1String(FactoryInterface),
                                                     QStringLiteral("CreateObject"));
  call << progId;
  QDBusMessage reply = waitForReply(call);
  // QtDBus may hand a server a new peer connection's first call before the server has put its
  // objects on the connection; the factory is there a moment later.
  for (QDeadlineTimer deadline(2000); d->isPeer && reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.UnknownObject") &&
                                   !deadline.hasExpired();) {
    QEventLoop pause;
    QTimer::singleShot(50, &pause, &QEventLoop::quit);
    pause.exec(QEventLoop::ExcludeUserInputEvents);
    reply = waitForReply(call);
  }
  if (reply.type() != QDBusMessage::ReplyMessage) raiseReplyError(reply, vb::ErrCannotCreateObject);
  if (reply.signature() != QLatin1String("(so)")) vb::raise(vb::ErrCannotCreateObject, busName);
  const ObjectRef ref = qdbus_cast<ObjectRef>(reply.arguments().value(0));
  if (ref.path.path() == QLatin1String("/")) vb::raise(vb::ErrCannotCreateObject, progId);
  return d->import(ref);
}

vb::Variant Bridge::invokeRemote(const RemoteObject& proxy, const QString& member, CallKind kind, QList<vb::Variant>& args) {
  // No member's name holds what the bus cannot carry.
  if (!WireValue::travelsAsText(member)) vb::raise(vb::ErrNoSuchMember, proxy.busName());
  QDBusMessage call = QDBusMessage::createMethodCall(d->destination(proxy.busName()), proxy.path(), QLatin1String(ObjectInterface),
                                                     QStringLiteral("Invoke"));
  // A vanished server is not started again behind the caller's back.
  call.setAutoStartService(false);
  call << member << QVariant::fromValue(uchar(kind))
       << QVariant::fromValue(WireValue::encode(args, d->exporterFor(d->peerOf(proxy))));
  const QDBusMessage reply = waitForReply(call);
  if (reply.type() != QDBusMessage::ReplyMessage) raiseReplyError(reply, vb::ErrRemoteServerUnavailable);
  if (reply.signature() != QLatin1String("(yv)a(yv)")) vb::raise(vb::ErrAutomation, proxy.busName());
  const vb::Variant result = qdbus_cast<WireValue>(reply.arguments()[0]).decode(d->importer());
  const QList<vb::Variant> back = WireValue::decode(qdbus_cast<QList<WireValue>>(reply.arguments()[1]), d->importer());
  if (back.size() == args.size()) args = back;
  return result;
}

void Bridge::releaseRemote(const QString& busName, const QString& path, quint32 count) {
  const auto key = qMakePair(busName, path);
  if (d->proxies.value(key).expired()) d->proxies.remove(key);
  if (count == 0) return;
  QDBusMessage release =
      QDBusMessage::createMethodCall(d->destination(busName), path, QLatin1String(ObjectInterface), QStringLiteral("Release"));
  release.setAutoStartService(false);
  release << count;
  m_connection.send(release);
}

}  // namespace automation
