#include "stockservers/tray/Form1.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QGuiApplication>
#include <QPointer>
#include <cmath>

#include "foundation/frmAbout.h"
#include "platform/ui/Dialogs.h"
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

// A text of an ISBN-10's or EAN's shape whose check character is wrong: a number the clerk
// meant, mistyped or misprinted, not just any text on the clipboard.
bool PruefzifferFalsch(const QString& kandidat) {
  QString richtig;
  if (!IsISBN10(vb::Variant(kandidat), &richtig) && !richtig.isEmpty()) return true;
  QString ean = kandidat;
  return !IsEAN13(ean, &richtig) && !richtig.isEmpty();
}

// The label's text colour: 255 red, 0 black.
void farbe(QLabel* l, bool rot) { l->setStyleSheet(rot ? QStringLiteral("color: #ff0000") : QStringLiteral("color: #000000")); }

}  // namespace

Form1::Form1(QWidget* parent) : LagerFenster(QStringLiteral("Tarnelo Lagerserver "), parent) {
  if (!instanz()) instanz() = this;
  QFont f = Label6->font();
  f.setPointSizeF(f.pointSizeF() * 1.3);
  Label6->setFont(f);
  Label9 = NeuesLabel(this, QStringLiteral("Label9"), QStringLiteral("0"));
  dblUpdateInterval = new QLineEdit(this);
  dblUpdateInterval->setObjectName(QStringLiteral("dblUpdateInterval"));
  Shape1 = new QFrame(this);
  Shape1->setObjectName(QStringLiteral("Shape1"));
  Shape1->setFrameShape(QFrame::Box);
  Shape1->setStyleSheet(QStringLiteral("background: #3070c0"));
  Shape1->setFixedSize(kBalkenBreite, 8);
  Timer.setObjectName(QStringLiteral("Timer"));

  Raster->addWidget(NeuesLabel(this, QStringLiteral("Label10"), QStringLiteral("Interval (Minuten)")), 5, 0);
  Raster->addWidget(dblUpdateInterval, 5, 1);
  Raster->addWidget(NeuesLabel(this, QStringLiteral("Label8"), QStringLiteral("Web Prüfung")), 6, 0);
  Raster->addWidget(Label9, 6, 1);
  Raster->addWidget(Shape1, 7, 0, 1, 2, Qt::AlignLeft);

  connect(cmdAbout, &QAction::triggered, this, &Form1::cmdAbout_Click);
  connect(cmdBeenden, &QAction::triggered, this, [this] {
    close();
    emit beenden();
  });

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
  setInfoText(QStringLiteral("Programmstart ") + vb::formatDate(QDateTime::currentDateTime(), QStringLiteral("dd.mm.yyyy hh:mm:ss")));
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
    if (!objApplication) return;
    const QString kopiert = kandidat;
    if (IsISBN10(vb::Variant(kandidat)) || IsEAN13(kandidat)) objApplication->SearchArtNr(kandidat);
    else if (PruefzifferFalsch(kopiert)) objApplication->UngueltigeNummerZeigen(kopiert);
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

void Form1::cmdAbout_Click() {
  frmAbout about(QStringLiteral("Tarnelo Lagerserver für den Datenaustausch mit anderen Anwendungen"), this);
  ui::dialogs().execWindow(about, QStringLiteral("about"));
}
