#pragma once
// A small HTTP/1.1 service on 127.0.0.1 for the branch synchronisation, in the tests and as the
// sample bookshop's web service (webstub/). It runs on its owner's thread: it answers while the
// client under test lets events run. Every request is recorded; each answer comes from
// `respond`, by default from the script: the next of `infotimestamp` ("nix" when used up) to
// "infotimestamp", "OK" to everything else.
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <functional>
#include <vector>

namespace testsupport {

class WebStub : public QObject {
  Q_OBJECT
 public:
  struct Request {
    QString target;      // path and query string exactly as sent
    QString path;
    QList<std::pair<QString, QString>> query;  // decoded, in order
    QByteArray userAgent;
    QByteArray cacheControl;
    QString value(const QString& key) const;  // "" when absent
  };
  struct Response {
    int status = 200;
    QByteArray body;
    bool cutShort = false;  // announce more than the body and close after it
    bool stopAfter = false;  // stop listening once this answer is out
  };

  // Listens on `port`, or on a free one for 0.
  explicit WebStub(quint16 port = 0);
  bool listening() const { return m_server.isListening(); }
  QString baseUrl() const;  // "http://127.0.0.1:<port>"
  // Stops listening; later connections are refused.
  void stop();

  // Answers request number `index` (from 0); the default is described above.
  std::function<Response(const Request&, int index)> respond;
  // Bodies for "infotimestamp", one per request in order; "nix" when used up.
  QList<QByteArray> infotimestamp;

  const std::vector<Request>& requests() const { return m_requests; }
  QStringList actions() const;  // the "action" of every request so far
  Response scriptedResponse(const Request& request);

 private:
  void serve(QTcpSocket* socket);

  QTcpServer m_server;
  quint16 m_port = 0;
  std::vector<Request> m_requests;
};

}  // namespace testsupport
