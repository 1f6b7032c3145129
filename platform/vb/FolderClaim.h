#pragma once
// Folders that several processes share (every engine of a desktop may be given the same local
// path), claimed by one process for its own files. A claim is an advisory lock (flock) on the
// folder that the process holds while it runs and that goes with it, also when it crashes: a
// folder nobody claims holds only what processes that ended left behind.
#include <QString>

namespace vb {

// Claims `folder` for this process, or finds it claimed by this process already. False when
// another process holds it or the folder cannot be opened.
bool claimFolder(const QString& folder);

// Makes a folder of this process's own in `parent`, claimed before anyone can see it, named
// `prefix` followed by the process id and a few random characters. Its real path with a
// trailing "/", or an empty text when it cannot be made.
QString makeClaimedFolder(const QString& parent, const QString& prefix);

// Deletes, with all they hold, the folders in `parent` whose names start with `prefix` and that
// no process claims.
void removeUnclaimedFolders(const QString& parent, const QString& prefix);

}  // namespace vb
