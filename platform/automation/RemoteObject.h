#pragma once
// A reference to an object of another process, as the Bridge hands it out: callByName on it
// forwards the call over the bus, so code written for local objects works on remote ones.
// Dropping the last shared_ptr releases the references this side received.
#include <QObject>
#include <QPointer>
#include <QString>

#include "platform/automation/LateBinding.h"
#include "platform/vb/Variant.h"

namespace automation {

class Bridge;

class RemoteObject : public QObject {
  Q_OBJECT

 public:
  ~RemoteObject() override;

  QString busName() const { return m_busName; }
  QString path() const { return m_path; }

  // Calls `member` at the peer. Raises the peer's run-time error as it was raised there, 462
  // when the peer is gone (left the bus, crashed) or the bridge is; `args` comes back as the
  // peer's member left it.
  vb::Variant call(const QString& member, CallKind kind, QList<vb::Variant>& args);

 private:
  friend class Bridge;
  RemoteObject(Bridge& bridge, const QString& busName, const QString& path);

  QPointer<Bridge> m_bridge;
  QString m_busName;
  QString m_path;
  quint32 m_received = 0;  // references received; released together when the proxy goes
};

}  // namespace automation
