// The tray server on a real X11 display (Xvfb): another program (xclip) puts the text on the
// clipboard as a user's copy does, and the server's own poll timer finds it. The test runs itself
// again under xvfb-run on the xcb platform; that run does the work.
#include <QCursor>
#include <QProcess>
#include <QStandardPaths>

#include "tests/stockservers/tray/TarneloSrvSupport.h"
#include "tests/support/RequireTool.h"

namespace tarnelotest {
namespace {

const char* const kImXvfb = "TARNELO_TEST_IM_XVFB";

// xclip's copy to the clipboard (it keeps serving the selection in the background), or its paste.
void xclipKopieren(const QString& text) {
  QProcess xclip;
  xclip.setStandardOutputFile(QProcess::nullDevice());
  xclip.setStandardErrorFile(QProcess::nullDevice());
  xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i")});
  ASSERT_TRUE(xclip.waitForStarted());
  xclip.write(text.toUtf8());
  xclip.closeWriteChannel();
  ASSERT_TRUE(xclip.waitForFinished());
}

QString xclipEinfuegen() {
  QProcess xclip;
  xclip.start(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")});
  // Our own event loop must run: the owner of the selection may be this process.
  warten([&] { return xclip.state() == QProcess::NotRunning; }, 10000);
  return QString::fromUtf8(xclip.readAllStandardOutput());
}

TEST_F(TarneloSrvTest, AnotherProgramsCopyOnX11IsLookedUp) {
  if (!qEnvironmentVariableIsSet(kImXvfb)) {
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
      GTEST_SKIP() << "xvfb-run or xclip is not installed (scripts/setup installs xvfb and xclip)";
    QProcess lauf;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QString::fromLatin1(kImXvfb), QStringLiteral("1"));
    umgebung.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    lauf.setProcessEnvironment(umgebung);
    lauf.setProcessChannelMode(QProcess::MergedChannels);
    lauf.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1024x768x24"),
                         QCoreApplication::applicationFilePath(),
                         QStringLiteral("--gtest_filter=TarneloSrvTest.AnotherProgramsCopyOnX11IsLookedUp")});
    ASSERT_TRUE(lauf.waitForFinished(120000));
    const QString ausgabe = QString::fromUtf8(lauf.readAll());
    EXPECT_EQ(lauf.exitCode(), 0) << ausgabe.toStdString();
    EXPECT_TRUE(ausgabe.contains(QStringLiteral("[  PASSED  ] 1 test"))) << ausgabe.toStdString();
    return;
  }

  ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
  // What was copied before the start stays on the clipboard and is not looked up.
  xclipKopieren(QStringLiteral("3-15-012345-3"));
  starten();
  ASSERT_TRUE(form().Timer.isActive());
  EXPECT_FALSE(warten([&] { return form().Label2->text() != QLatin1String("0"); }, 1500));
  EXPECT_EQ(xclipEinfuegen(), QStringLiteral("3-15-012345-3"));

  QCursor::setPos(QPoint(400, 300));
  xclipKopieren(QStringLiteral("  3-446-23456-X\n"));
  ASSERT_TRUE(warten([&] { return form().Label2->text() == QLatin1String("1"); }, 10000));
  ASSERT_NE(infoWin(), nullptr);
  EXPECT_EQ(infoWin()->Text(), QStringLiteral("9783446234567 Stadt der Bücher\r\nLagerbestand: 5\r\noffen bestellt: 2\r\n"
                                              "bestellt: 3\r\noffene Reservierungen: 3\r\nim Abholfach: 1\r\n"));
  EXPECT_EQ(form().Label3->text(), QStringLiteral("1"));
  EXPECT_TRUE(warten([&] { return infoWin()->isVisible(); }, 5000));
  EXPECT_EQ(infoWin()->pos(), QCursor::pos());
  EXPECT_EQ(xclipEinfuegen(), QStringLiteral("  3-446-23456-X\n"));

  // The number of no article, copied again now, goes onto the ISBN stack.
  xclipKopieren(QStringLiteral("3-15-012345-3"));
  ASSERT_TRUE(warten([&] { return form().Label2->text() == QLatin1String("2"); }, 10000));
  EXPECT_EQ(infoWin()->Text(), QStringLiteral("3150123453\r\nArtikel nicht im Lager vorhanden"));
  EXPECT_EQ(form().Label3->text(), QStringLiteral("1"));
  EXPECT_EQ(zeilen(artikelDatei, QStringLiteral("SELECT ISBN FROM Artikel_ISBN_Stapel")), QStringList{QStringLiteral("3150123453")});
}

}  // namespace
}  // namespace tarnelotest
