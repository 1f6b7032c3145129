#pragma once
// TarneloSrv's branch sync driven as its window's timer drives it, against a local web stub.
#include <QDateTime>
#include <QStringList>

#include "foundation/modSkrivant.h"
#include "stockservers/common/modEinstellungen.h"
#include "stockservers/tray/Application.h"
#include "stockservers/tray/Form1.h"
#include "tests/support/TempDir.h"
#include "tests/support/WebStub.h"

namespace lagertest {

// One pass against `web`, a minute after the servers started: the query strings sent.
inline QStringList syncPass(testsupport::WebStub& web) {
  testsupport::TempDir lokal;
  SetLokalerPfad(lokal.path());
  SaveSetting(QStringLiteral("LagerServer"), QStringLiteral("WebServer"), web.baseUrl());
  QDateTime uhr(QDate(2026, 12, 9), QTime(10, 0));
  ::Application::setUhr([&] { return uhr; });
  {
    ::Form1 form;
    form.dblUpdateInterval->setText(QStringLiteral("1"));
    ::Application app;
    app.let_KundenNr(1);
    app.let_FilialNr(10000);
    app.let_BestaendeAbgleichen(true);
    uhr = uhr.addSecs(61);
    form.Timer_Timer();
  }
  ::Application::setUhr([] { return QDateTime::currentDateTime(); });
  SetLokalerPfad({});
  QStringList gesendet;
  for (const auto& r : web.requests()) gesendet << r.target.mid(r.target.indexOf(QLatin1Char('?')) + 1);
  return gesendet;
}

}  // namespace lagertest
