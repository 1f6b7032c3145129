#include "stockservers/tray/modNetAPI.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include "foundation/modFiles.h"
#include "platform/vb/PathResolver.h"
#include "platform/vb/VbError.h"
#include "stockservers/common/modEinstellungen.h"

namespace {

constexpr qint64 kStueck = 2048;
// A service that stops answering ends the request instead of holding the pass for ever.
constexpr int kZeitlimitMs = 30000;

const QString kQuelle = QStringLiteral("DownloadURL");

QByteArray agent() {
  const QString gesetzt = GetSetting(QStringLiteral("LagerServer"), QStringLiteral("WebAgent")).trimmed();
  return gesetzt.isEmpty() ? QByteArrayLiteral("Tarnelo Lagerserver") : gesetzt.toUtf8();
}

}  // namespace

QString DownloadURL(const QString& strURL, const QString& strDatei, std::int32_t lngZugriff,
                    std::int32_t& /*lngUnbenutzt*/, bool Anhaengen, const QString& strNachsatz) {
  QFile datei(vb::resolvePath(strDatei));
  bool offen = Anhaengen && datei.open(QIODevice::WriteOnly | QIODevice::Append);
  if (!offen) offen = datei.open(QIODevice::WriteOnly | QIODevice::Truncate);
  if (!offen) vb::raise(75, kQuelle);

  QNetworkAccessManager netz;
  if (lngZugriff != 0) netz.setProxy(QNetworkProxy::NoProxy);
  QNetworkRequest anfrage{QUrl(strURL)};
  anfrage.setRawHeader("User-Agent", agent());
  anfrage.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  anfrage.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
  anfrage.setTransferTimeout(kZeitlimitMs);

  QNetworkReply* antwort = netz.get(anfrage);
  bool schreibfehler = false;
  qint64 erhalten = 0;
  auto lesen = [&] {
    // The body of an error status is not the service's answer.
    if (antwort->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() >= 400) return;
    char puffer[kStueck];
    qint64 n;
    while ((n = antwort->read(puffer, kStueck)) > 0) {
      if (datei.write(puffer, n) != n) schreibfehler = true;
      erhalten += n;
      QCoreApplication::processEvents();
    }
  };
  QEventLoop warten;
  QObject::connect(antwort, &QNetworkReply::readyRead, &warten, lesen);
  QObject::connect(antwort, &QNetworkReply::finished, &warten, &QEventLoop::quit);
  if (!antwort->isFinished()) warten.exec();
  // The loop also ends when the program quits: an unfinished answer was not delivered.
  if (!antwort->isFinished()) antwort->abort();
  lesen();

  const int status = antwort->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  const QNetworkReply::NetworkError fehler = antwort->error();
  const QString fehlerText = antwort->errorString();

  if (status >= 400)
    vb::raise(ErrWebStatus, kQuelle, QStringLiteral("Der Webdienst antwortet mit HTTP %1: %2").arg(status).arg(strURL));
  if (fehler != QNetworkReply::NoError)
    vb::raise(ErrWebVerbindung, kQuelle, QStringLiteral("Der Webdienst ist nicht erreichbar: ") + fehlerText);
  // A connection closed early is not always reported by the network layer; an answer shorter than
  // it announced is not the service's whole answer.
  const QVariant angekuendigt = antwort->header(QNetworkRequest::ContentLengthHeader);
  if (angekuendigt.isValid() && !antwort->hasRawHeader("Content-Encoding") && erhalten < angekuendigt.toLongLong())
    vb::raise(ErrWebVerbindung, kQuelle,
              QStringLiteral("Der Webdienst ist nicht erreichbar: die Antwort endet nach %1 von %2 Bytes")
                  .arg(erhalten)
                  .arg(angekuendigt.toLongLong()));
  if (!strNachsatz.isEmpty() && datei.write(toAnsi(strNachsatz) + "\r\n") < 0) schreibfehler = true;
  if (schreibfehler || !datei.flush()) vb::raise(75, kQuelle);
  return {};
}

void Warte(std::int32_t lngMillisekunden) {
  QCoreApplication::processEvents();
  if (lngMillisekunden <= 0) return;
  QEventLoop warten;
  QTimer::singleShot(lngMillisekunden, &warten, &QEventLoop::quit);
  warten.exec();
}
