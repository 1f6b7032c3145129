#include "stockservers/tray/Form1.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMenuBar>
#include <QVBoxLayout>
#include <cmath>

#include "foundation/frmAbout.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ProgramInfo.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "platform/vb/Format.h"
#include "stockservers/common/TrayArea.h"
#include "stockservers/common/modEinstellungen.h"
#include "stockservers/common/modString.h"
#include "stockservers/tray/Application.h"

namespace {

const QString kLagerServer = QStringLiteral("LagerServer");
const QString kCrLf = QStringLiteral("\r\n");
constexpr int kBalkenBreite = 200;

QPointer<Form1>& instanz() {
  static QPointer<Form1> form;
  return form;
}

QLabel* label(QWidget* parent, const QString& name, const QString& text) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  return l;
}

QCheckBox* option(QWidget* parent, const QString& name, const QString& text) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(name);
  return box;
}

// The label's text colour: 255 red, 0 black.
void farbe(QLabel* l, bool rot) { l->setStyleSheet(rot ? QStringLiteral("color: #ff0000") : QStringLiteral("color: #000000")); }

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
  if (!instanz()) instanz() = this;
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Tarnelo - Lageranfrage"));
  setWindowIcon(ui::programIcon());
  TrayIcon = new TrayArea(this);
  TrayIcon->set_Icon(windowIcon());
  connect(TrayIcon, &TrayArea::MouseDown, this, &Form1::TrayIcon_MouseDown);

  auto* heading = label(this, QStringLiteral("Label6"), QStringLiteral("Tarnelo - Lagerserver"));
  QFont f = heading->font();
  f.setBold(true);
  f.setPointSizeF(f.pointSizeF() * 1.3);
  heading->setFont(f);
  Label2 = label(this, QStringLiteral("Label2"), QStringLiteral("0"));
  Label3 = label(this, QStringLiteral("Label3"), QStringLiteral("0"));
  Label9 = label(this, QStringLiteral("Label9"), QStringLiteral("0"));
  blnAuchBestellte = option(this, QStringLiteral("blnAuchBestellte"), QStringLiteral("bestellte Mengen ermitteln"));
  blnAuchReservierte = option(this, QStringLiteral("blnAuchReservierte"), QStringLiteral("reservierte Mengen ermitteln"));
  blnAuchFilialen = option(this, QStringLiteral("blnAuchFilialen"), QStringLiteral("Filialbestände ermitteln"));
  dblUpdateInterval = new QLineEdit(this);
  dblUpdateInterval->setObjectName(QStringLiteral("dblUpdateInterval"));
  Shape1 = new QFrame(this);
  Shape1->setObjectName(QStringLiteral("Shape1"));
  Shape1->setFrameShape(QFrame::Box);
  Shape1->setStyleSheet(QStringLiteral("background: #3070c0"));
  Shape1->setFixedSize(kBalkenBreite, 8);
  Info = new QPlainTextEdit(this);
  Info->setObjectName(QStringLiteral("Info"));
  Info->setReadOnly(true);
  Timer.setObjectName(QStringLiteral("Timer"));

  auto* grid = new QGridLayout;
  grid->addWidget(label(this, QStringLiteral("Label4"), QStringLiteral("Anfragen")), 0, 0);
  grid->addWidget(Label2, 0, 1);
  grid->addWidget(label(this, QStringLiteral("Label5"), QStringLiteral("Treffer")), 1, 0);
  grid->addWidget(Label3, 1, 1);
  grid->addWidget(blnAuchBestellte, 2, 0, 1, 2);
  grid->addWidget(blnAuchReservierte, 3, 0, 1, 2);
  grid->addWidget(blnAuchFilialen, 4, 0, 1, 2);
  grid->addWidget(label(this, QStringLiteral("Label10"), QStringLiteral("Interval (Minuten)")), 5, 0);
  grid->addWidget(dblUpdateInterval, 5, 1);
  grid->addWidget(label(this, QStringLiteral("Label8"), QStringLiteral("Web Prüfung")), 6, 0);
  grid->addWidget(Label9, 6, 1);
  grid->addWidget(Shape1, 7, 0, 1, 2, Qt::AlignLeft);

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
  connect(cmdBeenden, &QAction::triggered, this, [this] {
    close();
    emit beenden();
  });

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menuBar);
  layout->addWidget(heading);
  layout->addLayout(grid);
  layout->addWidget(Info, 1);

  // Load.
  lngBalkenBreite = static_cast<int>(std::lround(Shape1->width()));
  const auto laden = [](QCheckBox* box, const QString& schluessel) {
    const int wert = static_cast<int>(vb::Val(GetSetting(kLagerServer, schluessel, QStringLiteral("1"))));
    box->setTristate(wert == 2);
    box->setCheckState(wert == 0 ? Qt::Unchecked : wert == 2 ? Qt::PartiallyChecked : Qt::Checked);
  };
  laden(blnAuchBestellte, QStringLiteral("SelectBestellte"));
  laden(blnAuchReservierte, QStringLiteral("SelectReservierte"));
  laden(blnAuchFilialen, QStringLiteral("SelectFilialen"));
  m_info = QStringLiteral("Programmstart ") + vb::formatDate(QDateTime::currentDateTime(), QStringLiteral("dd.mm.yyyy hh:mm:ss"));
  Info->setPlainText(m_info);
  dblUpdateInterval->setText(vb::CStr(vb::Val(GetSetting(kLagerServer, QStringLiteral("FilInterval"), QStringLiteral("1")))));

  connect(blnAuchBestellte, &QCheckBox::clicked, this, [this] { optionSpeichern(blnAuchBestellte, QStringLiteral("SelectBestellte")); });
  connect(blnAuchReservierte, &QCheckBox::clicked, this, [this] { optionSpeichern(blnAuchReservierte, QStringLiteral("SelectReservierte")); });
  connect(blnAuchFilialen, &QCheckBox::clicked, this, [this] { optionSpeichern(blnAuchFilialen, QStringLiteral("SelectFilialen")); });
  connect(dblUpdateInterval, &QLineEdit::editingFinished, this,
          [this] { SaveSetting(kLagerServer, QStringLiteral("FilInterval"), dblUpdateInterval->text()); });
  connect(&Timer, &QTimer::timeout, this, &Form1::Timer_Timer);
  TrayIcon->let_Visible(true);
  UpdateTrayToolTip();
}

Form1::~Form1() {
  Timer.stop();
  if (instanz() == this) instanz() = nullptr;
}

Form1* Form1::aktuell() { return instanz(); }

void Form1::optionSpeichern(QCheckBox* box, const QString& schluessel) {
  const int wert = box->checkState() == Qt::Unchecked ? 0 : box->checkState() == Qt::PartiallyChecked ? 2 : 1;
  SaveSetting(kLagerServer, schluessel, QString::number(wert));
}

void Form1::InfoAnfuegen(const QString& text) {
  m_info += text;
  // The box shows lines; the log keeps the CR LF the callers wrote.
  Info->setPlainText(QString(m_info).remove(QLatin1Char('\r')));
  Info->moveCursor(QTextCursor::End);
}

void Form1::LogZeile(const QString& zeile) { InfoAnfuegen(kCrLf + zeile); }

void Form1::UpdateNextWebCheck(double ProzentVerstrichen) {
  const double anteil = ProzentVerstrichen <= 1 ? 1 - ProzentVerstrichen : 1;
  Shape1->setFixedWidth(static_cast<int>(std::lround(anteil * lngBalkenBreite)));
  QCoreApplication::processEvents();
}

void Form1::StartWebPruefung() {
  if (lngWebPruefungen == INT32_MAX) vb::raise(vb::ErrOverflow);
  ++lngWebPruefungen;
  Label9->setText(QString::number(lngWebPruefungen));
  farbe(Label9, true);
}

void Form1::EndWebPruefung() { farbe(Label9, false); }

void Form1::UpdateTrayToolTip() {
  const QString tip = QStringLiteral("Tarnelo Lagerserver ") + kCrLf + Label2->text() + QStringLiteral(" Anfragen verarbeitet ") +
                      kCrLf + Label3->text() + QStringLiteral(" Treffer");
  TrayIcon->let_ToolTip(tip);
}

void Form1::Timer_Timer() {
  vb::ignoreErrors([&] {
    if (objApplication) objApplication->AktivCheck();
  });
  vb::ignoreErrors([&] {
    // Only read: the clipboard is the user's and stays as it is.
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QString text = clipboard ? clipboard->text() : QString();
    if (text.isEmpty() || vb::textEquals(text, strLetzteZwischenablage)) return;
    strLetzteZwischenablage = text;
    QString kandidat = text.trimmed();
    kandidat.remove(kCrLf);
    if (objApplication && (IsISBN10(vb::Variant(kandidat)) || IsEAN13(kandidat))) objApplication->SearchArtNr(kandidat);
  });
  vb::ignoreErrors([&] {
    if (objApplication) objApplication->CheckWebUpdate();
  });
}

void Form1::closeEvent(QCloseEvent* event) {
  // Closing only minimises the window, which hides it to the tray.
  event->ignore();
  setWindowState(windowState() | Qt::WindowMinimized);
  if (!isHidden() && TrayArea::isTrayAvailable()) hide();
}

void Form1::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // Without a notification area a hidden window could not be reached again: it stays minimised.
  if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized) && TrayArea::isTrayAvailable())
    hide();
}

void Form1::TrayIcon_MouseDown(int Button) {
  if (Button == 2) mnuTrayMenue->popup(QCursor::pos());
}

void Form1::cmdAbout_Click() {
  frmAbout about(QStringLiteral("Tarnelo Lagerserver für den Datenaustausch mit anderen Anwendungen"), this);
  ui::dialogs().execWindow(about, QStringLiteral("about"));
}
