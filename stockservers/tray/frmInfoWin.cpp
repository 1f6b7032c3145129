#include "stockservers/tray/frmInfoWin.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QTextDocument>
#include <QtMath>
#include <memory>

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
  InfoText = new QTextEdit(this);
  InfoText->setObjectName(QStringLiteral("InfoText"));
  InfoText->setReadOnly(true);
  InfoText->setAcceptRichText(false);
  InfoText->setTextInteractionFlags(Qt::NoTextInteraction);
  InfoText->setFocusPolicy(Qt::NoFocus);
  // The window's only edge, so it stands out from what lies under it.
  InfoText->setFrameStyle(QFrame::Box | QFrame::Plain);
  InfoText->setLineWidth(1);
  InfoText->document()->setDocumentMargin(2);
  InfoText->installEventFilter(this);
  InfoText->viewport()->installEventFilter(this);
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
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
  resize(kBreite, hoehe(kBreite, screen));
  move(1, bildschirmHoehe - height() - 2);
  raise();
  blnWinToMouse = vb::Val(GetSetting(kLagerAnfrage, QStringLiteral("WinToMouse"), QStringLiteral("1"))) != 0;
  blnInISBNStapel = GetSetting(kLagerAnfrage, QStringLiteral("InISBNStapel"), QStringLiteral("0")) == QLatin1String("1");
  cmdISBNStapelAn->setChecked(blnInISBNStapel);
}

void frmInfoWin::SetInfoText(const QString& text, const QString& ISBN) {
  strAktISBN = ISBN;
  m_text = text;
  // Every line ends with a line break; the last one opens no line of its own.
  QString zeilen = QString(text).remove(QLatin1Char('\r'));
  if (zeilen.endsWith(QLatin1Char('\n'))) zeilen.chop(1);
  InfoText->setPlainText(zeilen);
  if (blnWinToMouse) {
    // Beside a pointer in the screen's corner the clerk would see only a corner of the stock.
    const QPoint maus = QCursor::pos();
    const QScreen* screen = QGuiApplication::screenAt(maus);
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QSize size(width(), hoehe(width(), screen));
    setGeometry(QRect(screen ? amBildschirm(maus, size, screen->availableGeometry()) : maus, size));
    raise();
  } else if (const int h = hoehe(width(), screen()); h != height()) {
    setGeometry(x(), geometry().bottom() + 1 - h, width(), h);
  }
}

int frmInfoWin::hoehe(int breite, const QScreen* screen) const {
  const int rahmen = 2 * InfoText->frameWidth();
  const std::unique_ptr<QTextDocument> zeilen(InfoText->document()->clone());
  zeilen->setTextWidth(breite - rahmen);
  const int noetig = qCeil(zeilen->size().height()) + rahmen;
  const int hoechstens = screen ? screen->availableGeometry().height() : noetig;
  return qMax(kHoehe, qMin(noetig, hoechstens));
}

QPoint frmInfoWin::amBildschirm(const QPoint& cursor, const QSize& size, const QRect& screen) {
  return QPoint(qMax(screen.left(), qMin(cursor.x(), screen.right() + 1 - size.width())),
                qMax(screen.top(), qMin(cursor.y(), screen.bottom() + 1 - size.height())));
}

void frmInfoWin::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  InfoText->setGeometry(0, 0, width(), height());
}

void frmInfoWin::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  m_hatteTastatur = false;
}

void frmInfoWin::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::ActivationChange) return;
  // Turning to another window puts it away, once it had the keyboard since it was shown (a late
  // word of the last time it was put away does not count); its own right-click menu does not.
  if (QApplication::activeWindow() == this) m_hatteTastatur = true;
  else if (m_hatteTastatur && isVisible() && !QApplication::activePopupWidget()) close();
}

bool frmInfoWin::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    close();
    return true;
  }
  return QWidget::eventFilter(watched, event);
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
