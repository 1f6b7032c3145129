#pragma once
// The template manager as a user meets it: opened by a host through Application.FormularGestaltung
// on the example host's database, driven through its tree and menu actions, closed by its menu.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>

#include "automation/Application.h"
#include "configuration/FormularGestaltung.h"
#include "configuration/frmDruckFormulare.h"
#include "engine/modSystem.h"
#include "examples/BeispielHost.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "platform/data/Connection.h"
#include "platform/ui/ScriptedDialogs.h"
#include "platform/vb/Convert.h"
#include "tests/automation/AutomationTestSupport.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/support/DebugLog.h"

namespace vorlagentest {

using configuration::frmDruckFormulare;

using automationtest::rufe;

// `server`: connection string of the database keeping the host's forms and settings (empty: its own file).
template <typename Basis = ::testing::Test>
class VorlagenFixtureAuf : public Basis {
 protected:
  explicit VorlagenFixtureAuf(const QString& server = {}) : host{log.dir().file(QStringLiteral("Arbeit")), server} {}

  void SetUp() override {
    QString fehler;
    ASSERT_TRUE(host.einrichten(&fehler)) << qPrintable(fehler);
    handler = GetGlobalConnectList();
    configuration::FormularGestaltungAnmelden([this] { ++prozessEnden; });
    sql("INSERT INTO Druck_Formulartypen (FormTypID, Bezeichnung) VALUES (3, 'Rechnung')");
  }
  void TearDown() override {
    delete configuration::OffeneFormularGestaltung();
    app.reset();
    SetDatenverzeichnis(QString());
    SetGlobalConnectList(nullptr);
  }

  void sql(const QString& text) const { handler->SQLGruppe_Connection(4)->Execute(text); }
  void sql(const char* text) const { sql(QString::fromUtf8(text)); }
  QStringList zeilen(const QString& text) const { return enginetest::zeilen(*handler->SQLGruppe_Connection(4), text); }

  // The host's road: an Application with its connection handler asks for the template manager.
  frmDruckFormulare& oeffnen(int status, int vorlage) {
    app = std::make_shared<Application>();
    rufe(*app, "ConnectList", {vb::Variant(handler)}, automation::CallKind::Set);
    rufe(*app, "Datenverzeichnis", {host.datenverzeichnis()}, automation::CallKind::Let);
    rufe(*app, "FormularGestaltung", {std::int16_t(status), std::int16_t(vorlage)});
    frmDruckFormulare* f = configuration::OffeneFormularGestaltung();
    if (!f) throw std::runtime_error("the template manager did not open");
    return *f;
  }
  static frmDruckFormulare& fenster() { return *configuration::OffeneFormularGestaltung(); }
  bool besetzt() const { return vb::CBool(rufe(*app, "IsBesetzt")); }

  // The user clicks a node.
  void waehle(const QString& key) const {
    QTreeWidgetItem* item = fenster().Knoten(key);
    ASSERT_NE(item, nullptr) << key.toStdString();
    fenster().AuswahlTree()->setCurrentItem(item);
  }
  void waehle(const char* key) const { waehle(QString::fromUtf8(key)); }
  QAction& aktion(const char* name) const {
    auto* a = fenster().findChild<QAction*>(QString::fromUtf8(name));
    if (!a) throw std::runtime_error(name);
    return *a;
  }
  template <typename T = QLineEdit>
  T& feld(const char* panel, const char* name) const {
    auto* p = fenster().findChild<QWidget*>(QString::fromUtf8(panel));
    auto* f = p ? p->findChild<T*>(QString::fromUtf8(name)) : nullptr;
    if (!f) throw std::runtime_error(name);
    return *f;
  }
  QString aktuellerKnoten() const {
    const QTreeWidgetItem* item = fenster().AuswahlTree()->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QString();
  }
  QString panel() const {
    const QWidget* p = fenster().SichtbaresPanel();
    return p ? p->objectName() : QString();
  }
  // The user closes the window through its menu; the window goes as a closed window does.
  void schliessen() const {
    aktion("Exit").trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  testsupport::DebugLog log;
  ui::ScopedScriptedDialogs dialogs;
  beispiel::BeispielHost host;
  std::shared_ptr<clsConnectionHandler> handler;
  std::shared_ptr<Application> app;
  int prozessEnden = 0;
};

using VorlagenFixture = VorlagenFixtureAuf<>;

}  // namespace vorlagentest
