#pragma once
// The running program's title and version as the windows show them.
#include <QIcon>
#include <QString>

namespace ui {

// The program's title: the application's display name, which is its name ("Skrivant",
// "TarneloSrv", ...) until a host sets another title.
QString programTitle();
// "major.minor.revision" of the build, each in plain decimal ("1.12.19").
QString programVersion();
// The program's icon for its windows: the application's window icon when the program set one,
// else a small sheet of paper of our own.
QIcon programIcon();

}  // namespace ui
