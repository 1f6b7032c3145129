#include "platform/automation/RemoteObject.h"

#include "platform/automation/Bridge.h"
#include "platform/vb/VbError.h"

namespace automation {

RemoteObject::RemoteObject(Bridge& bridge, const QString& busName, const QString& path)
    : m_bridge(&bridge), m_busName(busName), m_path(path) {}

RemoteObject::~RemoteObject() {
  if (m_bridge) m_bridge->releaseRemote(m_busName, m_path, m_received);
}

vb::Variant RemoteObject::call(const QString& member, CallKind kind, QList<vb::Variant>& args) {
  if (!m_bridge) vb::raise(vb::ErrRemoteServerUnavailable, m_busName);
  return m_bridge->invokeRemote(*this, member, kind, args);
}

}  // namespace automation
