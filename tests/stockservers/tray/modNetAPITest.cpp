// DownloadURL against the local web service: what reaches the file, what reaches the service, and
// every failure raised, never answered with an empty success.
#include <gtest/gtest.h>

#include <QFile>
#include <QTimer>

#include "platform/vb/VbError.h"
#include "stockservers/common/modEinstellungen.h"
#include "stockservers/tray/modNetAPI.h"
#include "tests/stockservers/tray/TarneloSrvSupport.h"
#include "tests/support/TempDir.h"
#include "tests/support/WebStub.h"

namespace {

using testsupport::WebStub;

QByteArray lies(const QString& pfad) {
  QFile f(pfad);
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

long fehlerVon(const QString& url, const QString& datei, bool anhaengen = false) {
  std::int32_t unbenutzt = 0;
  try {
    DownloadURL(url, datei, 0, unbenutzt, anhaengen);
  } catch (const vb::VbError& e) {
    return e.number();
  }
  return 0;
}

class DownloadURLTest : public ::testing::Test {
 protected:
  const bool einstellungen = (tarnelotest::leereEinstellungen(), true);
  testsupport::TempDir dir;
  WebStub web;
  QString url() const { return web.baseUrl() + QStringLiteral("/filial/article.php?action=update"); }
};

TEST_F(DownloadURLTest, ABodyOfSeveralPiecesArrivesByteForByteFreshFromTheServer) {
  QByteArray body;
  for (int i = 0; i < 5000; ++i) body.append(static_cast<char>(i * 7 % 256));
  web.respond = [&](const WebStub::Request&, int) { return WebStub::Response{200, body}; };
  const QString datei = dir.write(QStringLiteral("tarneloweb.txt"), "alter Inhalt, viel laenger als nichts");
  std::int32_t unbenutzt = 0;
  EXPECT_EQ(DownloadURL(url(), datei, 0, unbenutzt), QString());
  EXPECT_EQ(lies(datei), body);
  ASSERT_EQ(web.requests().size(), 1u);
  EXPECT_EQ(web.requests()[0].userAgent, "Tarnelo Lagerserver");
  EXPECT_EQ(web.requests()[0].cacheControl, "no-cache");

  SaveSetting(QStringLiteral("LagerServer"), QStringLiteral("WebAgent"), QStringLiteral("Filiale Nord"));
  DownloadURL(url(), datei, 0, unbenutzt, true, QStringLiteral("Nachsatz"));
  EXPECT_EQ(lies(datei), body + body + "Nachsatz\r\n");
  EXPECT_EQ(web.requests()[1].userAgent, "Filiale Nord");
}

TEST_F(DownloadURLTest, AFailedRequestRaisesAndLeavesNoAnswerInTheFile) {
  struct Fall {
    const char* name;
    WebStub::Response antwort;
    long fehler;
    QByteArray datei;
  };
  const Fall faelle[] = {
      {"status 500", {500, "Internal Server Error, viel Text"}, ErrWebStatus, ""},
      {"cut short", {200, "1;2;3;4;5;I3", true}, ErrWebVerbindung, "1;2;3;4;5;I3"},
  };
  for (const Fall& f : faelle) {
    web.respond = [&](const WebStub::Request&, int) { return f.antwort; };
    const QString datei = dir.write(QStringLiteral("antwort.txt"), "alte Antwort");
    EXPECT_EQ(fehlerVon(url(), datei), f.fehler) << f.name;
    EXPECT_EQ(lies(datei), f.datei) << f.name;
  }
  EXPECT_EQ(fehlerVon(url(), dir.file(QStringLiteral("fehlt/antwort.txt"))), 75) << "file cannot be written";
}

TEST(WarteTest, EventsRunWhileItWaits) {
  bool gelaufen = false;
  QTimer::singleShot(20, [&] { gelaufen = true; });
  Warte(0);
  EXPECT_FALSE(gelaufen);
  Warte(200);
  EXPECT_TRUE(gelaufen);
}

}  // namespace
