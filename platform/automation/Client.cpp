#include "platform/automation/Client.h"

#include "platform/automation/Bridge.h"
#include "platform/automation/Server.h"

namespace automation {

std::shared_ptr<QObject> createRemoteObject(const QString& progId) {
  return Bridge::session().createRemote(busNameFor(progId), progId);
}

}  // namespace automation
