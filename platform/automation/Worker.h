#pragma once
// A process a program's front (Front.h) started for one client: it serves the factory on the
// front's behalf, and every object it creates counts for that client, whoever asked (the front,
// or the client itself); any other caller is refused with error 70. It tells the front its unique
// bus name on its standard output once it serves, and is idle when the client holds nothing any
// more (after it held something), left the bus, asked for nothing within the start grace, or when
// the bus went away; it says "ende" on its standard output then, so the front sends the client's
// next creation to a new worker. Its calls back into the client have the bound callbackTimeout().
//
//   QString client, front;
//   if (automation::Worker::fromArguments(QCoreApplication::arguments(), &client, &front)) {
//     automation::Worker worker(QStringLiteral("Skrivant"), client, front);
//     if (!worker.start()) return 1;
//     QObject::connect(&worker, &automation::Worker::idle, &app, &QCoreApplication::quit);
//   }
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <chrono>

class QDBusServiceWatcher;

namespace automation {

class Worker : public QObject {
  Q_OBJECT

 public:
  // The arguments a front starts a worker with.
  static QStringList arguments(const QString& client, const QString& front);
  // Whether `args` (a program's command line, the program first) are a worker's; then `client`
  // and `front` hold the two unique names.
  static bool fromArguments(const QStringList& args, QString* client, QString* front);

  // A worker of `project` ("Skrivant") for `client`, started by `front`.
  Worker(const QString& project, const QString& client, const QString& front, QObject* parent = nullptr);
  ~Worker() override;

  // Serves the factory and announces the worker. False, with errorString(), without a session bus.
  bool start();
  QString errorString() const { return m_error; }

 signals:
  void idle();

 private:
  void onExportedCountChanged(int count);
  void end();

  QString m_project;
  QString m_client;
  QString m_front;
  QString m_error;
  QTimer m_grace;
  QTimer m_busCheck;
  QDBusServiceWatcher* m_clientWatch = nullptr;
  bool m_created = false;
  bool m_ended = false;
};

}  // namespace automation
