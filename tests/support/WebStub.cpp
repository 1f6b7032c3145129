#include "tests/support/WebStub.h"

#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>

namespace testsupport {

QString WebStub::Request::value(const QString& key) const {
  for (const auto& [k, v] : query)
    if (k == key) return v;
  return {};
}

WebStub::WebStub(quint16 port) {
  m_server.listen(QHostAddress::LocalHost, port);
  m_port = m_server.serverPort();
  connect(&m_server, &QTcpServer::newConnection, this, [this] {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
      connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
      connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
  });
}

QString WebStub::baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }

void WebStub::stop() { m_server.close(); }

QStringList WebStub::actions() const {
  QStringList out;
  for (const Request& r : m_requests) out << r.value(QStringLiteral("action"));
  return out;
}

WebStub::Response WebStub::scriptedResponse(const Request& request) {
  if (request.value(QStringLiteral("action")) != QLatin1String("infotimestamp")) return {200, "OK"};
  if (infotimestamp.isEmpty()) return {200, "nix"};
  return {200, infotimestamp.takeFirst()};
}

void WebStub::serve(QTcpSocket* socket) {
  QByteArray head = socket->property("head").toByteArray() + socket->readAll();
  const int end = head.indexOf("\r\n\r\n");
  if (end < 0) {
    socket->setProperty("head", head);
    return;
  }
  const QList<QByteArray> lines = head.left(end).split('\n');
  const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
  Request request;
  request.target = QString::fromLatin1(requestLine.value(1));
  const QUrl url(request.target);
  request.path = url.path();
  for (const auto& [k, v] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) request.query.append({k, v});
  for (const QByteArray& line : lines) {
    const int colon = line.indexOf(':');
    const QByteArray name = line.left(colon).trimmed().toLower();
    if (name == "user-agent") request.userAgent = line.mid(colon + 1).trimmed();
    if (name == "cache-control") request.cacheControl = line.mid(colon + 1).trimmed();
  }
  const int index = static_cast<int>(m_requests.size());
  m_requests.push_back(request);
  const Response r = respond ? respond(request, index) : scriptedResponse(request);

  const qsizetype announced = r.body.size() + (r.cutShort ? 100 : 0);
  QByteArray out = "HTTP/1.1 " + QByteArray::number(r.status) + (r.status < 400 ? " OK" : " Error") +
                   "\r\nContent-Type: text/html\r\nContent-Length: " + QByteArray::number(announced) +
                   "\r\nConnection: close\r\n\r\n" + r.body;
  socket->write(out);
  socket->disconnectFromHost();
  if (r.stopAfter) stop();
}

}  // namespace testsupport
