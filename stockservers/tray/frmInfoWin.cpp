#include "stockservers/tray/frmInfoWin.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include "platform/automation/LateBinding.h"
#include "platform/vb/Convert.h"
#include "platform/vb/ErrorStyle.h"
#include "stockservers/common/modEinstellungen.h"

bool blnInISBNStapel = false;

namespace {

const QString kLagerAnfrage = QStringLiteral("LagerAnfrage");
constexpr int kBreite = 300;
constexpr int kHoehe = 100;

QAction* eintrag(QMenu* menu, const QString& name, const QString& text) {
  QAction* a = menu->addAction(text);
  a->setObjectName(name);
  return a;
}

}  // namespace

frmInfoWin::frmInfoWin(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("frmInfoWin"));
  setWindowTitle(QStringLiteral("Tarnelo - Lagerinformationen"));
  InfoText = new QPlainTextEdit(this);
  InfoText->setObjectName(QStringLiteral("InfoText"));
  InfoText->setReadOnly(true);
  // The text box covers the window: its right click is the window's.
  InfoText->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(InfoText, &QWidget::customContextMenuRequested, this, [this] { Form_MouseDown(2); });
  setContextMenuPolicy(Qt::CustomContextMenu);
  connect(this, &QWidget::customContextMenuRequested, this, [this] { Form_MouseDown(2); });

  cmdMenue = new QMenu(QStringLiteral("AnsichtMenü"), this);
  cmdMenue->setObjectName(QStringLiteral("cmdMenue"));
  cmdMousePos = eintrag(cmdMenue, QStringLiteral("cmdMousePos"), QStringLiteral("Mauspos. ON"));
  cmdNoMousePos = eintrag(cmdMenue, QStringLiteral("cmdNoMousePos"), QStringLiteral("Mauspos. OFF"));
  cmdBestellen = eintrag(cmdMenue, QStringLiteral("cmdBestellen"), QStringLiteral("Bestellen"));
  cmdReservieren = eintrag(cmdMenue, QStringLiteral("cmdReservieren"), QStringLiteral("Titel in Tarnelo anzeigen"));
  cmdISBNStapelAn = eintrag(cmdMenue, QStringLiteral("cmdISBNStapelAn"), QStringLiteral("ISBNs automatisch in ISBN Stapel"));
  cmdISBNStapelAn->setCheckable(true);

  connect(cmdMousePos, &QAction::triggered, this, [this] {
    blnWinToMouse = true;
    SaveSetting(kLagerAnfrage, QStringLiteral("WinToMouse"), QStringLiteral("1"));
    Form_Load();
  });
  connect(cmdNoMousePos, &QAction::triggered, this, [this] {
    blnWinToMouse = false;
    SaveSetting(kLagerAnfrage, QStringLiteral("WinToMouse"), QStringLiteral("0"));
    Form_Load();
  });
  connect(cmdISBNStapelAn, &QAction::triggered, this, [this](bool an) {
    SaveSetting(kLagerAnfrage, QStringLiteral("InISBNStapel"), an ? QStringLiteral("1") : QStringLiteral("0"));
    blnInISBNStapel = an;
  });
  connect(cmdReservieren, &QAction::triggered, this, [this] { hostRufen(QStringLiteral("Reservieren")); });
  connect(cmdBestellen, &QAction::triggered, this, [this] { hostRufen(QStringLiteral("Bestellen")); });

  Form_Load();
}

void frmInfoWin::Form_Load() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const int bildschirmHoehe = screen ? screen->geometry().height() : kHoehe;
  resize(kBreite, kHoehe);
  move(1, bildschirmHoehe - height() - 2);
  raise();
  blnWinToMouse = vb::Val(GetSetting(kLagerAnfrage, QStringLiteral("WinToMouse"), QStringLiteral("1"))) != 0;
  blnInISBNStapel = GetSetting(kLagerAnfrage, QStringLiteral("InISBNStapel"), QStringLiteral("0")) == QLatin1String("1");
  cmdISBNStapelAn->setChecked(blnInISBNStapel);
}

void frmInfoWin::SetInfoText(const QString& text, const QString& ISBN) {
  strAktISBN = ISBN;
  m_text = text;
  InfoText->setPlainText(QString(text).remove(QLatin1Char('\r')));
  if (blnWinToMouse) {
    // Beside a pointer in the screen's corner the clerk would see only a corner of the stock.
    const QPoint maus = QCursor::pos();
    const QScreen* screen = QGuiApplication::screenAt(maus);
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QSize size(width(), kHoehe);
    setGeometry(QRect(screen ? amBildschirm(maus, size, screen->availableGeometry()) : maus, size));
    raise();
  }
}

QPoint frmInfoWin::amBildschirm(const QPoint& cursor, const QSize& size, const QRect& screen) {
  return QPoint(qMax(screen.left(), qMin(cursor.x(), screen.right() + 1 - size.width())),
                qMax(screen.top(), qMin(cursor.y(), screen.bottom() + 1 - size.height())));
}

void frmInfoWin::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  InfoText->setGeometry(0, 0, width(), height());
}

void frmInfoWin::Form_MouseDown(int Button) {
  if (Button != 2) return;
  cmdNoMousePos->setVisible(blnWinToMouse);
  cmdMousePos->setVisible(!blnWinToMouse);
  cmdBestellen->setVisible(false);
  cmdReservieren->setVisible(false);
  vb::ignoreErrors([&] {
    if (objTarnelo.isObject() && !objTarnelo.isNothing() &&
        vb::CBool(automation::callByName(*objTarnelo.object(), QStringLiteral("Aktiv"), automation::CallKind::Get)))
      cmdReservieren->setVisible(true);
  });
  cmdMenue->popup(QCursor::pos());
}

void frmInfoWin::hostRufen(const QString& member) {
  vb::ignoreErrors([&] {
    if (objTarnelo.isObject() && !objTarnelo.isNothing())
      automation::callByName(*objTarnelo.object(), member, automation::CallKind::Method, {vb::Variant(strAktISBN)});
  });
}
