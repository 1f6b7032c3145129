#pragma once
// The tray server started in the test process as the program starts it, on the sample bookshop
// in a folder whose name carries apostrophes, with the settings of a per-process config folder.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <memory>

#include "platform/ui/ScriptedDialogs.h"
#include "schema/BookshopSample.h"
#include "stockservers/common/TrayArea.h"
#include "stockservers/common/modEinstellungen.h"
#include "stockservers/tray/Application.h"
#include "stockservers/tray/Form1.h"
#include "stockservers/tray/Module1.h"
#include "stockservers/tray/frmInfoWin.h"
#include "tests/support/TempDir.h"

namespace tarnelotest {

// Settings and data folders of the whole test process: QSettings keeps the first config folder.
inline void xdgOrdnerSetzen() {
  static const testsupport::TempDir dir;
  static const bool gesetzt = [] {
    qputenv("XDG_CONFIG_HOME", dir.file(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", dir.file(QStringLiteral("data")).toUtf8());
    return true;
  }();
  (void)gesetzt;
}

// The settings of the test process's own folder, emptied.
inline void leereEinstellungen() {
  xdgOrdnerSetzen();
  QSettings(QStringLiteral("Tarnelo"), QStringLiteral("Tarnelo")).clear();
}

inline const QString kLagerAnfrage = QStringLiteral("LagerAnfrage");

// Rows of `sql` on the SQLite file, columns joined by "|".
inline QStringList zeilen(const QString& datei, const QString& sql) {
  QStringList out;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("tarnelotest"));
    db.setDatabaseName(datei);
    EXPECT_TRUE(db.open()) << datei.toStdString();
    QSqlQuery q(db);
    EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
    while (q.next()) {
      QStringList spalten;
      for (int i = 0; i < q.record().count(); ++i) spalten << q.value(i).toString();
      out << spalten.join(QLatin1Char('|'));
    }
  }
  QSqlDatabase::removeDatabase(QStringLiteral("tarnelotest"));
  return out;
}

// Runs the event loop until `bedingung` holds or `ms` pass.
template <typename F>
bool warten(F&& bedingung, int ms = 15000) {
  const QDeadlineTimer frist(ms);
  while (!bedingung() && !frist.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return bedingung();
}

class TarneloSrvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    leereEinstellungen();
    QString fehler;
    ASSERT_TRUE(schema::createBookshopSample(laden, &fehler)) << fehler.toStdString();
    SaveSetting(kLagerAnfrage, QStringLiteral("DBName"), artikelDatei);
    SaveSetting(kLagerAnfrage, QStringLiteral("InISBNStapel"), QStringLiteral("1"));
    Application::setProzessEnde([this] { ++prozessEnden; });
    QGuiApplication::clipboard()->clear();
  }
  void TearDown() override {
    start.reset();
    Application::setProzessEnde({});
  }

  void starten() { start = std::make_unique<Module1>(); }
  Form1& form() { return start->form(); }
  // What the user copies, and the next tick of the poll timer.
  void kopieren(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    form().Timer_Timer();
  }
  frmInfoWin* infoWin() { return form().objApplication ? form().objApplication->InfoWin() : nullptr; }

  ui::ScopedScriptedDialogs dialogs;
  testsupport::TempDir tmp;
  const QString laden = tmp.file(QStringLiteral("O'Brien's Laden; Provider=x' OR '1'='1"));
  const QString artikelDatei = laden + QLatin1Char('/') + schema::kSampleArtikelDatei;
  std::unique_ptr<Module1> start;
  int prozessEnden = 0;
};

}  // namespace tarnelotest
