// The tray server on the sample bookshop: what the user copies drives the look-up, the info
// window, the counters and the ISBN stack; the settings choose the connection and the timer.
#include <QCursor>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "platform/vb/VbError.h"

#include "tests/stockservers/tray/TarneloSrvSupport.h"
#include "tests/support/Leitfaden.h"

namespace tarnelotest {
namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kStadtDerBuecher = QStringLiteral(
    "9783446234567 Stadt der Bücher\r\nLagerbestand: 5\r\noffen bestellt: 2\r\nbestellt: 3\r\n"
    "offene Reservierungen: 3\r\nim Abholfach: 1\r\n");

TEST_F(TarneloSrvTest, CopiedTextsDriveTheLookUp) {
  starten();
  const QString datei = artikelDatei;
  const QStringList artikelVorher = zeilen(datei, QStringLiteral("SELECT * FROM Artikel ORDER BY Artikelident"));
  struct Fall {
    QString kopiert;
    int anfragen, treffer;
    QString text;  // the info window's text afterwards
    QString aktISBN;
    int stapel;    // rows of the ISBN stack afterwards
  };
  const QString unbekannt = QStringLiteral("3150123453\r\nArtikel nicht im Lager vorhanden");
  const QString falsch = QStringLiteral("\r\nKeine gültige ISBN oder EAN (Prüfziffer falsch)");
  const QString textmarker = QStringLiteral(
      "4006381333931 Textmarker\r\nLagerbestand: 12\r\noffen bestellt: 6\r\noffene Reservierungen: 0\r\nim Abholfach: 0\r\n");
  const QList<Fall> faelle{
      // An ISBN-10 with hyphens, blanks and a line break finds the article stored under 978.
      {QStringLiteral("  3-446-23456-X \r\n"), 1, 1, kStadtDerBuecher, QStringLiteral("344623456X"), 0},
      // The same copy in other letter case is no new copy.
      {QStringLiteral("  3-446-23456-x \r\n"), 1, 1, kStadtDerBuecher, QStringLiteral("344623456X"), 0},
      {QStringLiteral("Hallo Welt"), 1, 1, kStadtDerBuecher, QStringLiteral("344623456X"), 0},
      // A number with a wrong check digit is told as such, not answered with the article before.
      {QStringLiteral("3-499-22744-5"), 1, 1, QStringLiteral("3-499-22744-5") + falsch, QString(), 0},
      // A valid ISBN the shop does not carry goes onto the stack once.
      {QStringLiteral("3-15-012345-3"), 2, 1, unbekannt, QStringLiteral("3150123453"), 1},
      {QStringLiteral("Hallo"), 2, 1, unbekannt, QStringLiteral("3150123453"), 1},
      {QStringLiteral("3-15-012345-3"), 3, 1, unbekannt, QStringLiteral("3150123453"), 1},
      // Texts whose last character is no check digit, or that carry SQL, never reach a query.
      {QStringLiteral("400638133393A"), 3, 1, QStringLiteral("400638133393A") + falsch, QString(), 1},
      {QStringLiteral("3-446-23456-X' OR '1'='1"), 3, 1, QStringLiteral("400638133393A") + falsch, QString(), 1},
      {QStringLiteral("978344623456'; DELETE FROM Artikel; --"), 3, 1, QStringLiteral("400638133393A") + falsch, QString(), 1},
      // An EAN of no book, with an open order and no reservation.
      {QStringLiteral("4006381333931"), 4, 2, textmarker, QStringLiteral("4006381333931"), 1},
      // An ISSN in EAN form has no article query: not in stock, and nothing read from a closed set.
      {QStringLiteral("977-1234-567-003"), 5, 2, QStringLiteral("9771234567003\r\nArtikel nicht im Lager vorhanden"),
       QStringLiteral("9771234567003"), 2},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.kopiert.toStdString());
    kopieren(f.kopiert);
    // No statement failed.
    EXPECT_FALSE(form().InfoText().endsWith(QStringLiteral("\r\n"))) << form().InfoText().toStdString();
    ASSERT_NE(infoWin(), nullptr);
    EXPECT_EQ(form().Label2->text(), QString::number(f.anfragen));
    EXPECT_EQ(form().Label3->text(), QString::number(f.treffer));
    EXPECT_EQ(infoWin()->Text(), f.text);
    EXPECT_EQ(infoWin()->AktISBN(), f.aktISBN);
    EXPECT_EQ(zeilen(datei, QStringLiteral("SELECT COUNT(*) FROM Artikel_ISBN_Stapel")), QStringList{QString::number(f.stapel)});
    // The clipboard is the user's: the server neither empties nor changes it.
    EXPECT_EQ(QGuiApplication::clipboard()->text(), f.kopiert);
  }
  EXPECT_EQ(zeilen(datei, QStringLiteral("SELECT ISBN, Min, Max, MEnge, MengeÜbernommen FROM Artikel_ISBN_Stapel ORDER BY ID")),
            (QStringList{QStringLiteral("3150123453|0|0|0|0"), QStringLiteral("9771234567003|0|0|0|0")}));
  EXPECT_EQ(zeilen(datei, QStringLiteral("SELECT * FROM Artikel ORDER BY Artikelident")), artikelVorher);
  EXPECT_EQ(form().TrayIcon->ToolTip(), QStringLiteral("Tarnelo Lagerserver \r\n5 Anfragen verarbeitet \r\n2 Treffer"));
  EXPECT_TRUE(form().InfoText().contains(QStringLiteral("Connecting via Registry...")));
  EXPECT_TRUE(form().InfoText().contains(QStringLiteral("Database: ") + laden + QStringLiteral("/buch_dat.mdb")))
      << form().InfoText().toStdString();

  // A client's call with an SQL text is refused before any query; its variable comes back
  // trimmed and without hyphens.
  QString nr = QStringLiteral(" 1' OR 1=1 -- ");
  EXPECT_FALSE(form().objApplication->SearchArtNr(nr));
  EXPECT_EQ(nr, QStringLiteral("1' OR 1=1 "));
  EXPECT_EQ(form().objApplication->Anfragen(), 5);
}

TEST_F(TarneloSrvTest, WhatStoodOnTheClipboardBeforeTheStartIsNotLookedUp) {
  QGuiApplication::clipboard()->setText(QStringLiteral("3-446-23456-X"));
  starten();
  form().Timer_Timer();
  EXPECT_EQ(form().Label2->text(), QStringLiteral("0"));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("3-446-23456-X"));
  EXPECT_TRUE(form().Timer.isActive());
  EXPECT_EQ(form().Timer.interval(), 500);
}

TEST_F(TarneloSrvTest, OrderLinesOnlyWithTheirOption) {
  starten();
  form().blnAuchBestellte->click();
  EXPECT_EQ(GetSetting(QStringLiteral("LagerServer"), QStringLiteral("SelectBestellte")), QStringLiteral("0"));
  kopieren(QStringLiteral("3-446-23456-X"));
  ASSERT_NE(infoWin(), nullptr);
  EXPECT_EQ(infoWin()->Text(), QStringLiteral("9783446234567 Stadt der Bücher\r\nLagerbestand: 5\r\n"
                                              "offene Reservierungen: 3\r\nim Abholfach: 1\r\n"));
}

TEST_F(TarneloSrvTest, InfoWindowPlacementAndMenu) {
  starten();
  QCursor::setPos(QPoint(230, 170));
  kopieren(QStringLiteral("3-446-23456-X"));
  frmInfoWin* win = infoWin();
  ASSERT_NE(win, nullptr);
  EXPECT_TRUE(win->isVisible());
  EXPECT_TRUE(win->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(win->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(win->geometry(), QRect(230, 170, 300, 100));
  // By the screen's corner it moves in as far as it takes to stand whole.
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  QCursor::setPos(screen.bottomRight() - QPoint(20, 20));
  kopieren(QStringLiteral("344623456X"));
  EXPECT_EQ(win->geometry(), QRect(screen.right() + 1 - 300, screen.bottom() + 1 - 100, 300, 100));
  QCursor::setPos(QPoint(230, 170));

  // Without a host only the placement and the stack item are offered.
  win->Form_MouseDown(2);
  EXPECT_TRUE(win->cmdNoMousePos->isVisible());
  EXPECT_FALSE(win->cmdMousePos->isVisible());
  EXPECT_FALSE(win->cmdBestellen->isVisible());
  EXPECT_FALSE(win->cmdReservieren->isVisible());
  win->cmdMenue->close();

  win->cmdNoMousePos->trigger();
  EXPECT_EQ(GetSetting(kLagerAnfrage, QStringLiteral("WinToMouse")), QStringLiteral("0"));
  const int unten = QGuiApplication::primaryScreen()->geometry().height() - 100 - 2;
  EXPECT_EQ(win->geometry(), QRect(1, unten, 300, 100));
  kopieren(QStringLiteral("4006381333931"));
  EXPECT_EQ(win->geometry(), QRect(1, unten, 300, 100));
  win->cmdMousePos->trigger();
  kopieren(QStringLiteral("3-446-23456-X"));
  EXPECT_EQ(win->geometry().topLeft(), QPoint(230, 170));

  // Twice toggled, the stack option is back where it was, and the look-up follows it.
  win->cmdISBNStapelAn->trigger();
  EXPECT_EQ(GetSetting(kLagerAnfrage, QStringLiteral("InISBNStapel")), QStringLiteral("0"));
  EXPECT_FALSE(blnInISBNStapel);
  win->cmdISBNStapelAn->trigger();
  EXPECT_EQ(GetSetting(kLagerAnfrage, QStringLiteral("InISBNStapel")), QStringLiteral("1"));
  EXPECT_TRUE(blnInISBNStapel);
}

// A click on it, Escape or another window puts it away until the next look-up; its own menu
// does not. Lines beyond its 100 pixels make it higher (at the bottom left upward), never scroll.
TEST_F(TarneloSrvTest, InfoWindowIsPutAwayAndShowsItsLinesWhole) {
  starten();
  QWidget andere;
  andere.show();
  for (int n = 0; n < 3; ++n) {
    kopieren(n % 2 ? QStringLiteral("4006381333931") : QStringLiteral("3-446-23456-X"));
    frmInfoWin& win = *infoWin();
    win.activateWindow();
    ASSERT_TRUE(warten([&] { return QApplication::activeWindow() == &win; })) << n;
    QTest::mouseClick(win.windowHandle(), Qt::RightButton, {}, win.rect().center());
    EXPECT_TRUE(win.cmdMenue->isVisible()) << n;
    win.cmdMenue->close();
    if (n == 0) QTest::mouseClick(win.windowHandle(), Qt::LeftButton, {}, win.rect().center());
    if (n == 1) QTest::keyClick(&win, Qt::Key_Escape);
    if (n == 2) andere.activateWindow();
    EXPECT_TRUE(warten([&] { return !win.isVisible(); })) << n;
  }

  kopieren(QStringLiteral("4006381333931"));
  frmInfoWin& win = *infoWin();
  win.cmdNoMousePos->trigger();
  const QRect unten = win.geometry();
  win.SetInfoText(QStringLiteral("9783446234567 Ein Titel, so lang, dass er über drei Zeilen umbrochen werden muss\r\n") +
                      kStadtDerBuecher.section(kCrLf, 1), QStringLiteral("9783446234567"));
  EXPECT_GT(win.height(), 100);
  EXPECT_EQ(win.geometry().bottomLeft(), unten.bottomLeft());
  EXPECT_EQ(win.InfoText->verticalScrollBar()->maximum(), 0);
  // Six lines stand whole in 300 x 100.
  win.SetInfoText(kStadtDerBuecher, QStringLiteral("9783446234567"));
  EXPECT_EQ(win.geometry(), QRect(unten.topLeft(), QSize(300, 100)));
}

TEST(frmInfoWin, StandsWholeOnTheScreenOfThePointer) {
  const QRect links(0, 0, 1920, 1080), rechts(1920, 0, 1280, 1024);  // two screens side by side
  for (const auto& [cursor, screen, at] : std::initializer_list<std::tuple<QPoint, QRect, QPoint>>{
           {{230, 170}, links, {230, 170}}, {{1900, 1070}, links, {1620, 980}}, {{1700, 500}, links, {1620, 500}},
           {{3190, 1000}, rechts, {2900, 924}}, {{1930, 10}, rechts, {1930, 10}},
           {{100, 100}, {0, 0, 200, 80}, {0, 0}}})  // smaller than the window: its corner stays in sight
    EXPECT_EQ(frmInfoWin::amBildschirm(cursor, QSize(300, 100), screen), at) << cursor.x() << "," << cursor.y();
}

TEST_F(TarneloSrvTest, SettingsChooseConnectionAndTimer) {
  struct Fall {
    QString typ, dbNameDat, clipboard, intervall;
    QStringList log;    // lines the log must hold
    bool gefunden;      // the article database was opened
    bool timer;         // the poll timer runs
    int ms;
  };
  const QList<Fall> faelle{
      {QStringLiteral("mdb"), {}, QStringLiteral("0"), QStringLiteral("250"),
       {QStringLiteral("Database: ") + laden + QStringLiteral("/buch_dat.mdb")}, true, true, 250},
      {QStringLiteral("MDB"), QStringLiteral("C:\\Tarnelo\\buch_dat.mdb"), QStringLiteral("0"), QStringLiteral("500"),
       {QStringLiteral("Database: ") + qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Tarnelo/buch_dat.mdb")}, true, true, 500},
      {QStringLiteral("Oracle"), {}, QStringLiteral("0"), QStringLiteral("500"), {}, false, true, 500},
      {QStringLiteral("MDB"), {}, QStringLiteral("1"), QStringLiteral("500"), {}, true, false, 0},
  };
  for (const Fall& f : faelle) {
    SCOPED_TRACE(f.typ.toStdString() + " " + f.clipboard.toStdString());
    SaveSetting(kLagerAnfrage, QStringLiteral("Type"), f.typ);
    SaveSetting(kLagerAnfrage, QStringLiteral("DBNameDat"), f.dbNameDat);
    SaveSetting(kLagerAnfrage, QStringLiteral("AbfrageÜberClipboard"), f.clipboard);
    SaveSetting(kLagerAnfrage, QStringLiteral("AbfrageIntervall"), f.intervall);
    starten();
    EXPECT_EQ(form().Timer.isActive(), f.timer);
    EXPECT_EQ(f.timer ? form().Timer.interval() : 0, f.ms);
    Application* app = f.timer ? form().objApplication : start->objApp().get();
    ASSERT_NE(app, nullptr);
    QString nr = QStringLiteral("3-446-23456-X");
    app->SearchArtNr(nr);
    EXPECT_EQ(nr, QStringLiteral("344623456X"));
    for (const QString& zeile : f.log) EXPECT_TRUE(form().InfoText().contains(zeile)) << form().InfoText().toStdString();
    EXPECT_EQ(app->Treffer(), f.gefunden ? 1 : 0);
    // A failed statement is told in the log, and the window still shows the number.
    if (!f.gefunden) {
      EXPECT_EQ(app->InfoWin()->Text(), QStringLiteral("344623456X\r\nArtikel nicht im Lager vorhanden"));
      // Log lines start with a line break; a failed statement's description ends with one.
      EXPECT_TRUE(form().InfoText().endsWith(QStringLiteral("\r\n"))) << form().InfoText().toStdString();
    }
    start.reset();
  }
}

TEST_F(TarneloSrvTest, MainWindowOptionsAndBar) {
  SaveSetting(QStringLiteral("LagerServer"), QStringLiteral("SelectReservierte"), QStringLiteral("0"));
  SaveSetting(QStringLiteral("LagerServer"), QStringLiteral("FilInterval"), QStringLiteral("x"));
  starten();
  EXPECT_TRUE(form().blnAuchBestellte->isChecked());
  EXPECT_FALSE(form().blnAuchReservierte->isChecked());
  EXPECT_EQ(form().dblUpdateInterval->text(), QStringLiteral("0"));
  EXPECT_TRUE(form().InfoText().startsWith(QStringLiteral("Programmstart ")));
  form().dblUpdateInterval->setText(QStringLiteral("5"));
  emit form().dblUpdateInterval->editingFinished();
  EXPECT_EQ(GetSetting(QStringLiteral("LagerServer"), QStringLiteral("FilInterval")), QStringLiteral("5"));

  const int voll = form().lngBalkenBreite;
  ASSERT_GT(voll, 0);
  form().UpdateNextWebCheck(0.25);
  EXPECT_EQ(form().Shape1->width(), (voll * 3 + 2) / 4);
  form().UpdateNextWebCheck(1.5);
  EXPECT_EQ(form().Shape1->width(), voll);
  form().StartWebPruefung();
  EXPECT_EQ(form().Label9->text(), QStringLiteral("1"));

  // "&Info": the server's own about box, without the system-information button.
  QString beschreibung;
  bool sysInfo = true;
  dialogs->answerWindow([&](QDialog& about) {
    beschreibung = about.findChild<QLabel*>(QStringLiteral("lblDescription"))->text();
    sysInfo = about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo")) != nullptr;
    return 1;
  });
  form().cmdAbout->trigger();
  EXPECT_EQ(beschreibung, QStringLiteral("Tarnelo Lagerserver für den Datenaustausch mit anderen Anwendungen"));
  EXPECT_FALSE(sysInfo);

  // The right button on the tray icon opens the tray menu.
  emit form().TrayIcon->MouseDown(TrayArea::RightButton);
  EXPECT_TRUE(form().mnuTrayMenue->isVisible());
  form().mnuTrayMenue->close();

  // Closing only minimises; "Öffnen" brings the window back; "Beenden" ends the program.
  form().show();
  EXPECT_FALSE(form().close());
  EXPECT_TRUE(form().windowState() & Qt::WindowMinimized);
  form().cmdOeffnen->trigger();
  EXPECT_TRUE(form().isVisible());
  EXPECT_FALSE(form().windowState() & Qt::WindowMinimized);
  int beendet = 0;
  QObject::connect(&form(), &Form1::beenden, [&] { ++beendet; });
  form().cmdBeenden->trigger();
  EXPECT_EQ(beendet, 1);
}

}  // namespace
}  // namespace tarnelotest

namespace tarnelotest {
namespace {

// The last ends the server although the start routine's own object remains.
TEST_F(TarneloSrvTest, OneClientLettingGoLeavesTheOtherServed) {
  starten();
  auto erster = std::make_shared<Application>();
  auto zweiter = std::make_shared<Application>();
  EXPECT_EQ(form().objApplication, zweiter.get());
  zweiter.reset();
  EXPECT_TRUE(prozessEnden == 0 && form().objApplication == erster.get() && form().Timer.isActive());
  kopieren(QStringLiteral("3-446-23456-X"));
  ASSERT_NE(infoWin(), nullptr);
  EXPECT_EQ(infoWin()->Text(), kStadtDerBuecher);
  erster.reset();
  EXPECT_TRUE(prozessEnden == 1 && !form().Timer.isActive());
}

// A host whose Aktiv fails as a host does that has gone away.
class WeggegangenerHost : public QObject {
  Q_OBJECT
 public:
  Q_INVOKABLE bool Aktiv() const {
    ++abfragen;
    vb::raise(462, QStringLiteral("Host"), QStringLiteral("Der Remote-Server-Computer existiert nicht."));
  }
  mutable int abfragen = 0;
};

class LinkInfo : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString ProgrammLinkInfo READ ProgrammLinkInfo)
 public:
  QString ProgrammLinkInfo() const { return QStringLiteral("Kasse 3 verbunden"); }
};

TEST_F(TarneloSrvTest, HostWatchAndClientLinkLog) {
  starten();
  Application& app = *start->objApp();
  auto host = std::make_shared<WeggegangenerHost>();
  app.set_AccessApp(vb::Variant(host));
  app.AktivCheck();
  EXPECT_EQ(host->abfragen, 1);
  EXPECT_EQ(prozessEnden, 1);
  // The next watch is due only about ten minutes later.
  app.AktivCheck();
  EXPECT_EQ(host->abfragen, 1);

  form().hide();
  app.let_EventClass(vb::Variant(std::make_shared<LinkInfo>()));
  EXPECT_TRUE(form().isVisible());
  app.let_EventClass(vb::Variant::nothing());
  EXPECT_TRUE(form().InfoText().contains(QStringLiteral("\r\nKasse 3 verbunden\r\nDisconnet "))) << form().InfoText().toStdString();
  // A link object without the property is told in a message box; the object is kept all the same.
  app.let_EventClass(vb::Variant(std::make_shared<QObject>()));
  ASSERT_EQ(dialogs->messageBoxes().size(), 1);
}

// docs/hosts.md's member table against what the bus shows of the class.
TEST(Leitfaden, TarneloSrvTableIsTheIntrospection) {
  EXPECT_EQ(leitfaden::unterschiede(QStringLiteral("### `TarneloSrv.Application`"), Application::staticMetaObject), "");
}

}  // namespace
}  // namespace tarnelotest

#include "TarneloSrvTest.moc"
