#include "stockservers/common/LagerFenster.h"

#include <QCursor>
#include <QMenuBar>
#include <QVBoxLayout>

#include "platform/ui/ProgramInfo.h"
#include "stockservers/common/TrayArea.h"

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QCheckBox* option(QWidget* parent, const QString& name, const QString& text) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(name);
  return box;
}

}  // namespace

QLabel* NeuesLabel(QWidget* parent, const QString& name, const QString& text) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  return l;
}

LagerFenster::LagerFenster(const QString& TrayKopf, QWidget* parent) : QWidget(parent), m_trayKopf(TrayKopf) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Tarnelo - Lageranfrage"));
  setWindowIcon(ui::programIcon());
  TrayIcon = new TrayArea(this);
  TrayIcon->set_Icon(windowIcon());
  connect(TrayIcon, &TrayArea::MouseDown, this, &LagerFenster::TrayIcon_MouseDown);

  Label6 = NeuesLabel(this, QStringLiteral("Label6"), QStringLiteral("Tarnelo - Lagerserver"));
  QFont f = Label6->font();
  f.setBold(true);
  Label6->setFont(f);
  Label2 = NeuesLabel(this, QStringLiteral("Label2"), QStringLiteral("0"));
  Label3 = NeuesLabel(this, QStringLiteral("Label3"), QStringLiteral("0"));
  blnAuchBestellte = option(this, QStringLiteral("blnAuchBestellte"), QStringLiteral("bestellte Mengen ermitteln"));
  blnAuchReservierte = option(this, QStringLiteral("blnAuchReservierte"), QStringLiteral("reservierte Mengen ermitteln"));
  blnAuchFilialen = option(this, QStringLiteral("blnAuchFilialen"), QStringLiteral("Filialbestände ermitteln"));
  Info = new QPlainTextEdit(this);
  Info->setObjectName(QStringLiteral("Info"));
  Info->setReadOnly(true);
  Info->setMaximumBlockCount(kLogZeilen + 1);

  Raster = new QGridLayout;
  Raster->addWidget(NeuesLabel(this, QStringLiteral("Label4"), QStringLiteral("Anfragen")), 0, 0);
  Raster->addWidget(Label2, 0, 1);
  Raster->addWidget(NeuesLabel(this, QStringLiteral("Label5"), QStringLiteral("Treffer")), 1, 0);
  Raster->addWidget(Label3, 1, 1);
  Raster->addWidget(blnAuchBestellte, 2, 0, 1, 2);
  Raster->addWidget(blnAuchReservierte, 3, 0, 1, 2);
  Raster->addWidget(blnAuchFilialen, 4, 0, 1, 2);

  auto* menuBar = new QMenuBar(this);
  cmdAbout = menuBar->addAction(QStringLiteral("&Info"));
  cmdAbout->setObjectName(QStringLiteral("cmdAbout"));
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

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(menuBar);
  layout->addWidget(Label6);
  layout->addLayout(Raster);
  layout->addWidget(Info, 1);
}

void LagerFenster::UpdateTrayToolTip() {
  TrayIcon->let_ToolTip(m_trayKopf + kCrLf + Label2->text() + QStringLiteral(" Anfragen verarbeitet ") + kCrLf + Label3->text() +
                        QStringLiteral(" Treffer"));
}

QString LogZitat(const QString& text) {
  return text.size() <= kZitatZeichen ? text : text.left(kZitatZeichen) + QStringLiteral("…");
}

void LagerFenster::InfoAnfuegen(const QString& text) {
  m_info += text;
  m_zeilen += int(text.count(QLatin1Char('\n')));
  if (kuerzen()) {
    setInfoText(m_info);
    return;
  }
  // Only the new text is laid out; the box drops its oldest lines itself.
  QTextCursor ende(Info->document());
  ende.movePosition(QTextCursor::End);
  ende.insertText(QString(text).remove(QLatin1Char('\r')));
  Info->moveCursor(QTextCursor::End);
}

void LagerFenster::LogZeile(const QString& zeile) { InfoAnfuegen(kCrLf + zeile); }

void LagerFenster::setInfoText(const QString& text) {
  m_info = text;
  m_zeilen = int(m_info.count(QLatin1Char('\n')));
  kuerzen();
  Info->setPlainText(QString(m_info).remove(QLatin1Char('\r')));
  Info->moveCursor(QTextCursor::End);
}

bool LagerFenster::kuerzen() {
  qsizetype ab = 0;
  for (int zuViel = m_zeilen - kLogZeilen; zuViel > 0; --zuViel) ab = m_info.indexOf(QLatin1Char('\n'), ab) + 1;
  bool zerschnitten = false;
  while (m_info.size() - ab > kLogZeichen) {
    const qsizetype naechste = m_info.indexOf(QLatin1Char('\n'), ab);
    if (naechste < 0) {
      // The oldest line left is too long: its end stays.
      ab = m_info.size() - kLogZeichen;
      zerschnitten = true;
      break;
    }
    ab = naechste + 1;
  }
  if (ab == 0) return false;
  m_zeilen -= int(QStringView(m_info).left(ab).count(QLatin1Char('\n')));
  m_info.remove(0, ab);
  return zerschnitten;
}

void LagerFenster::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // Without a notification area a hidden window could not be reached again: it stays minimised,
  // in the task bar.
  if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized) && TrayArea::isTrayAvailable())
    hide();
}

void LagerFenster::TrayIcon_MouseDown(int Button) {
  if (Button == TrayArea::RightButton) mnuTrayMenue->popup(QCursor::pos());
}
