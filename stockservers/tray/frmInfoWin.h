#pragma once
// "Tarnelo - Lagerinformationen": the small frameless topmost window in which the look-up shows
// an article's stock, beside the mouse or at the bottom left of the screen. Its right-click menu
// switches the placement, opens the title in the host ("Titel in Tarnelo anzeigen" calls the
// host's Reservieren, "Bestellen" its Bestellen) and switches the automatic ISBN stack.
//
// It has no frame to close it by: a left click on it, Escape, or turning to another window
// (once it had the keyboard) puts it away until the next look-up shows it again. It is 300 pixels
// wide and 100 high, higher where its lines need it, so they stand whole without a scroll bar.
#include <QAction>
#include <QMenu>
#include <QTextEdit>
#include <QString>
#include <QWidget>

#include "platform/vb/Variant.h"

class QScreen;

// Add every looked-up number that is not in stock to the ISBN stack (setting "InISBNStapel").
extern bool blnInISBNStapel;

class frmInfoWin : public QWidget {
  Q_OBJECT

 public:
  // Runs the load routine.
  explicit frmInfoWin(QWidget* parent = nullptr);

  // The host object (Aktiv, Bestellen, Reservieren), called by name; Nothing when there is none.
  vb::Variant objTarnelo = vb::Variant::nothing();

  // Keeps the article number (empty where the text shows no article), shows the text
  // and, with the mouse placement on, moves the window with its top-left corner to the cursor, as
  // far left and up as it takes to stand whole on the cursor's screen. At the bottom left it keeps
  // its bottom edge where it grows or shrinks.
  void SetInfoText(const QString& text, const QString& ISBN);
  // The top-left corner for a window of `size` at the `cursor` that keeps it whole on `screen`.
  static QPoint amBildschirm(const QPoint& cursor, const QSize& size, const QRect& screen);
  QString Text() const { return m_text; }
  QString AktISBN() const { return strAktISBN; }
  bool WinToMouse() const { return blnWinToMouse; }

  // The right mouse button on the window: the menu's items set for the placement and the host,
  // then the menu pops up at the cursor.
  void Form_MouseDown(int Button);

  QTextEdit* InfoText;
  QMenu* cmdMenue;
  QAction* cmdMousePos;
  QAction* cmdNoMousePos;
  QAction* cmdBestellen;
  QAction* cmdReservieren;
  QAction* cmdISBNStapelAn;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Bottom left of the screen, 300 x 100, topmost; the placement and stack options from the
  // settings.
  void Form_Load();
  // Calls the host's `member` with the article number; a host that is gone is passed over.
  void hostRufen(const QString& member);
  // The height at which the text's lines stand whole in `breite`: at least 100, at most the
  // screen's.
  int hoehe(int breite, const QScreen* screen) const;

  bool blnWinToMouse = true;
  QString strAktISBN;
  QString m_text;
  bool m_hatteTastatur = false;  // active since it was last shown
};
