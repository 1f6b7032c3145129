#pragma once
// Fixtures of the template manager's panel tests: the example host's database, data directory and
// templates; scripted dialogs; a stand-in for the window that holds a panel; and the row handling
// the window does around a panel's LoadData and SaveData.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPoint>
#include <QWidget>
#include <memory>

#include "configuration/FormularFenster.h"
#include "engine/modSkrivant.h"
#include "examples/BeispielHost.h"
#include "foundation/clsConnectionHandler.h"
#include "foundation/modSkrivant.h"
#include "platform/data/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/Recordset.h"
#include "platform/ui/ScriptedDialogs.h"
#include "platform/vb/Convert.h"
#include "tests/support/TempDir.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace paneltest {

// What a panel asks of its window, recorded.
class FensterAttrappe : public configuration::FormularFenster {
 public:
  void set_CurTextControl(QLineEdit* feld) override { textFeld = feld; }
  void PlatzhalterMenueZeigen(bool sichtbar) override { menueSichtbar = sichtbar; }
  void PlatzhalterMenueOeffnen(QWidget* panel, const QPoint& punkt) override {
    geoeffnetAuf = panel;
    punkte << punkt;
  }
  std::shared_ptr<clsConnectionHandler> ConnectList() const override { return GetGlobalConnectList(); }

  QLineEdit* textFeld = nullptr;
  bool menueSichtbar = false;
  QWidget* geoeffnetAuf = nullptr;
  QList<QPoint> punkte;
};

class PanelFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    QString fehler;
    ASSERT_TRUE(host.einrichten(&fehler)) << qPrintable(fehler);
  }
  void TearDown() override {
    SetGlobalConnectList(nullptr);
    SetDatenverzeichnis(QString());
    SetLokalerPfad(QString());
  }

  std::shared_ptr<data::Connection> formulare() const { return GetGlobalConnectList()->SQLGruppe_Connection(4); }

  // The record set the window opens for a node, as it opens it.
  std::shared_ptr<data::Recordset> satz(const QString& sql) const {
    auto rs = std::make_shared<data::Recordset>();
    rs->Open(sql, formulare(), data::adOpenDynamic, data::adLockOptimistic);
    return rs;
  }
  std::shared_ptr<data::Recordset> formular(int status, int nummer) const {
    return satz(QStringLiteral("SELECT * FROM Auftrag_Formular_Neu WHERE FormNummer=%1 AND FormStatus=%2")
                    .arg(nummer)
                    .arg(status));
  }

  // Loads the panel from the record set as the window does.
  template <typename Panel>
  static void laden(Panel& panel, const std::shared_ptr<data::Recordset>& rs) {
    panel.LoadData(*rs);
    rs->Close();
  }
  // The window's save: the row added with `schluessel` when missing, the panel's SaveData, Update.
  template <typename Panel>
  static void speichern(Panel& panel, const std::shared_ptr<data::Recordset>& rs,
                        const QList<QPair<QString, vb::Variant>>& schluessel) {
    if (rs->Eof()) {
      rs->AddNew();
      for (const auto& [spalte, wert] : schluessel) rs->Fields(vb::Variant(spalte))->let_Value(wert);
    }
    panel.SaveData(*rs);
    rs->Update();
    rs->Close();
  }

  // One value of the database as text ("<Null>" for Null, "<keine Zeile>" without a row).
  QString wert(const QString& sql) const {
    auto rs = satz(sql);
    if (rs->Eof()) return QStringLiteral("<keine Zeile>");
    const vb::Variant v = rs->Fields(vb::Variant(0))->Value();
    return v.isNull() ? QStringLiteral("<Null>") : vb::CStr(v);
  }

  // A column of a form's row, and columns set in it.
  QString formularWert(int status, int nummer, const QString& spalte) const {
    return wert(QStringLiteral("SELECT %1 FROM Auftrag_Formular_Neu WHERE FormNummer=%2 AND FormStatus=%3")
                    .arg(spalte)
                    .arg(nummer)
                    .arg(status));
  }
  void formularSetzen(int status, int nummer, const QString& zuweisungen) const {
    formulare()->Execute(QStringLiteral("UPDATE Auftrag_Formular_Neu SET %1 WHERE FormNummer=%2 AND FormStatus=%3")
                             .arg(zuweisungen)
                             .arg(nummer)
                             .arg(status));
  }

  static QString feld(QWidget& panel, const char* name) {
    auto* f = panel.findChild<QLineEdit*>(QString::fromUtf8(name));
    EXPECT_TRUE(f) << name;
    return f ? f->text() : QString();
  }
  static void setze(QWidget& panel, const char* name, const QString& text) {
    auto* f = panel.findChild<QLineEdit*>(QString::fromUtf8(name));
    ASSERT_TRUE(f) << name;
    f->setText(text);
  }

  testsupport::TempDir temp;
  beispiel::BeispielHost host{temp.file(QStringLiteral("Arbeit"))};
  ui::ScopedScriptedDialogs dialogs;
  FensterAttrappe fenster;
};

}  // namespace paneltest
