#pragma once
// The session-bus face of a program that serves each client from a process of its own (the print
// engine: its one print window and the values a host sets on it are per process, so a host's
// document never carries what another host set).
//
// The front owns the program's bus name and answers de.automation.Factory.CreateObject at
// "/factory". For a client's first creation it starts a worker, the same program with the
// arguments Worker::arguments() gives, and has the worker create the object: the answer is the
// worker's reference (its unique name and the object path), so the client talks to its worker
// from then on. Every creation of the client goes to the same worker while that runs. The front
// never waits: it answers a creation when the worker has, and with error 429 and the reason when
// the worker did not start. It is idle when no worker runs and no creation waits, or when nothing
// was asked for within the start grace, or when the bus went away.
//
//   automation::Front front(QStringLiteral("Skrivant"));
//   if (!front.start()) return 1;
//   QObject::connect(&front, &automation::Front::idle, &app, &QCoreApplication::quit);
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <memory>

namespace automation {

class Front : public QObject {
  Q_OBJECT

 public:
  // Serves the identifiers of `project` ("Skrivant") under busNameFor(project).
  explicit Front(const QString& project, QObject* parent = nullptr);
  ~Front() override;

  // Claims the bus name. False, with errorString(), when there is no session bus or another
  // process owns the name.
  bool start();
  QString busName() const { return m_busName; }
  QString errorString() const { return m_error; }

  // The program a worker runs: this one unless a test says otherwise. The front waits 30 s for
  // its first creation and 30 s for a worker to say that it serves.
  void setWorkerProgram(const QString& program);

 signals:
  void idle();

 private:
  struct Private;
  friend struct Private;
  std::unique_ptr<Private> d;
  QString m_busName;
  QString m_error;
};

}  // namespace automation
