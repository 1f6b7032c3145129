#include "stockservers/remote/Form1.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QPointer>

#include "foundation/frmAbout.h"
#include "platform/ui/Dialogs.h"
#include "platform/vb/Convert.h"
#include "stockservers/common/TrayArea.h"
#include "stockservers/common/modEinstellungen.h"

namespace dcom {

namespace {

const QString kLagerServer = QStringLiteral("LagerServer");

QPointer<Form1>& instanz() {
  static QPointer<Form1> form;
  return form;
}

// The option's value from the settings, saved there again when clicked.
void optionLaden(QCheckBox* box, const QString& schluessel) {
  box->setChecked(vb::Val(GetSetting(kLagerServer, schluessel, QStringLiteral("1"))) != 0);
  QObject::connect(box, &QCheckBox::clicked, box, [schluessel](bool an) {
    SaveSetting(kLagerServer, schluessel, an ? QStringLiteral("1") : QStringLiteral("0"));
  });
}

}  // namespace

Form1::Form1(QWidget* parent) : LagerFenster(QStringLiteral("Tarnelo <-> Lesomat "), parent) {
  if (!instanz()) instanz() = this;
  optionLaden(blnAuchBestellte, QStringLiteral("SelectBestellte"));
  optionLaden(blnAuchReservierte, QStringLiteral("SelectReservierte"));
  optionLaden(blnAuchFilialen, QStringLiteral("SelectFilialen"));
  connect(cmdAbout, &QAction::triggered, this, &Form1::cmdAbout_Click);
  connect(cmdBeenden, &QAction::triggered, this, &Form1::Unload);

  setInfoText(QStringLiteral("Programmstart ") + jetzt());
  TrayIcon->let_Visible(true);
  LogZeile(QStringLiteral("vor UpdateTrayToolTip ") + jetzt());
  UpdateTrayToolTip();
  LogZeile(QStringLiteral("nach UpdateTrayToolTip ") + jetzt());
}

Form1::~Form1() {
  if (instanz() == this) instanz() = nullptr;
}

Form1* Form1::aktuell() { return instanz(); }

QString jetzt() { return vb::CStr(vb::Variant(QDateTime::currentDateTime())); }

void Form1::Unload() {
  TrayIcon->let_Visible(false);
  hide();
}

void Form1::closeEvent(QCloseEvent* event) {
  event->ignore();
  Unload();
}

void Form1::cmdAbout_Click() {
  frmAbout about(this);
  ui::dialogs().execWindow(about, QStringLiteral("about"));
}

}  // namespace dcom
