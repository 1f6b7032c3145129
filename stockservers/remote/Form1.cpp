#include "stockservers/remote/Form1.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDateTime>
#include <QGridLayout>
#include <QMenuBar>
#include <QPointer>
#include <QVBoxLayout>

#include "foundation/frmAbout.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ProgramInfo.h"
#include "platform/vb/Convert.h"
#include "stockservers/common/TrayArea.h"
#include "stockservers/common/modEinstellungen.h"

namespace dcom {

namespace {

const QString kLagerServer = QStringLiteral("LagerServer");
const QString kCrLf = QStringLiteral("\r\n");

QPointer<Form1>& instanz() {
  static QPointer<Form1> form;
  return form;
}

QString jetzt() { return vb::CStr(vb::Variant(QDateTime::currentDateTime())); }

QLabel* label(QWidget* parent, const QString& name, const QString& text) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  return l;
}

// An option box with its value from the settings, saved there again when clicked.
QCheckBox* option(QWidget* parent, const QString& name, const QString& text, const QString& schluessel) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(name);
  box->setChecked(vb::Val(GetSetting(kLagerServer, schluessel, QStringLiteral("1"))) != 0);
  QObject::connect(box, &QCheckBox::clicked, box, [schluessel](bool an) {
    SaveSetting(kLagerServer, schluessel, an ? QStringLiteral("1") : QStringLiteral("0"));
  });
  return box;
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
  if (!instanz()) instanz() = this;
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Tarnelo - Lageranfrage"));
  setWindowIcon(ui::programIcon());

  auto* heading = label(this, QStringLiteral("Label6"), QStringLiteral("Tarnelo - Lagerserver"));
  QFont f = heading->font();
  f.setBold(true);
  heading->setFont(f);
  Label2 = label(this, QStringLiteral("Label2"), QStringLiteral("0"));
  Label3 = label(this, QStringLiteral("Label3"), QStringLiteral("0"));
  blnAuchBestellte = option(this, QStringLiteral("blnAuchBestellte"), QStringLiteral("bestellte Mengen ermitteln"),
                            QStringLiteral("SelectBestellte"));
  blnAuchReservierte = option(this, QStringLiteral("blnAuchReservierte"), QStringLiteral("reservierte Mengen ermitteln"),
                              QStringLiteral("SelectReservierte"));
  blnAuchFilialen = option(this, QStringLiteral("blnAuchFilialen"), QStringLiteral("Filialbestände ermitteln"),
                           QStringLiteral("SelectFilialen"));
  Info = new QPlainTextEdit(this);
  Info->setObjectName(QStringLiteral("Info"));
  Info->setReadOnly(true);

  auto* grid = new QGridLayout;
  grid->addWidget(label(this, QStringLiteral("Label4"), QStringLiteral("Anfragen")), 0, 0);
  grid->addWidget(Label2, 0, 1);
  grid->addWidget(label(this, QStringLiteral("Label5"), QStringLiteral("Treffer")), 1, 0);
  grid->addWidget(Label3, 1, 1);
  grid->addWidget(blnAuchBestellte, 2, 0, 1, 2);
  grid->addWidget(blnAuchReservierte, 3, 0, 1, 2);
  grid->addWidget(blnAuchFilialen, 4, 0, 1, 2);

  auto* menuBar = new QMenuBar(this);
  cmdAbout = menuBar->addAction(QStringLiteral("&Info"));
  cmdAbout->setObjectName(QStringLiteral("cmdAbout"));
  connect(cmdAbout, &QAction::triggered, this, &Form1::cmdAbout_Click);
  mnuTrayMenue = new QMenu(QStringLiteral("TrayMenü"), this);
  mnuTrayMenue->setObjectName(QStringLiteral("mnuTrayMenue"));
  cmdOeffnen = mnuTrayMenue->addAction(QStringLiteral("Öffnen"));
  cmdOeffnen->setObjectName(QStringLiteral("cmdOeffnen"));
  cmdBeenden = mnuTrayMenue->addAction(QStringLiteral("Beenden"));
  cmdBeenden->setObjectName(QStringLiteral("cmdBeenden"));
  connect(cmdOeffnen, &QAction::triggered, this, [this] {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
  });
  connect(cmdBeenden, &QAction::triggered, this, &Form1::Unload);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menuBar);
  layout->addWidget(heading);
  layout->addLayout(grid);
  layout->addWidget(Info, 1);

  TrayIcon = new TrayArea(this);
  TrayIcon->set_Icon(windowIcon());
  connect(TrayIcon, &TrayArea::MouseDown, this, &Form1::TrayIcon_MouseDown);

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

void Form1::UpdateTrayToolTip() {
  TrayIcon->let_ToolTip(QStringLiteral("Tarnelo <-> Lesomat ") + kCrLf + Label2->text() + QStringLiteral(" Anfragen verarbeitet ") +
                        kCrLf + Label3->text() + QStringLiteral(" Treffer"));
}

void Form1::InfoAnfuegen(const QString& text) { setInfoText(m_info + text); }

void Form1::LogZeile(const QString& zeile) { InfoAnfuegen(kCrLf + zeile); }

void Form1::setInfoText(const QString& text) {
  m_info = text;
  Info->setPlainText(m_info);
  Info->moveCursor(QTextCursor::End);
}

void Form1::Unload() {
  TrayIcon->let_Visible(false);
  hide();
}

void Form1::closeEvent(QCloseEvent* event) {
  event->ignore();
  Unload();
}

void Form1::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // Without a notification area the window stays in the task bar, the one way back to it.
  if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized) && TrayArea::isTrayAvailable()) hide();
}

void Form1::TrayIcon_MouseDown(int Button) {
  if (Button == TrayArea::RightButton) mnuTrayMenue->popup(QCursor::pos());
}

void Form1::cmdAbout_Click() {
  frmAbout about(this);
  ui::dialogs().execWindow(about, QStringLiteral("about"));
}

}  // namespace dcom
