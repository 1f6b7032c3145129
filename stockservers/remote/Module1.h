#pragma once
// TarneloDCOM's start: the main window and the program's own Application, and where the
// program serves clients on other machines.
#include <QString>
#include <memory>

namespace dcom {

class Application;
class Form1;

struct Module1 {
  std::unique_ptr<Form1> form;
  std::shared_ptr<Application> gobjApplication;
};

// Makes the main window (logging "->New Application" and "New Application->" around the
// creation), shows it and creates the program's own Application. The creation's error reaches
// the caller.
void Main(Module1& module);

// The unix socket the program serves its objects on for other machines: the setting "Socket" of
// section "LagerServer", by default "tarnelodcom.sock" in the user's runtime folder.
QString PeerSocket();

}  // namespace dcom
