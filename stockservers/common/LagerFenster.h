#pragma once
// What the main windows of both stock servers have alike: the heading, the request and hit
// counters, the three query options, the log `Info`, the menu bar with "&Info" and the tray icon
// with its menu "TrayMenü" ("Öffnen", "Beenden"). Each server's Form1 adds its own controls,
// reads and saves the options its own way and decides what "&Info", "Beenden" and closing do.
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QWidget>

class TrayArea;

class LagerFenster : public QWidget {
  Q_OBJECT

 public:
  // `TrayKopf` is the first line of the tray icon's tooltip.
  LagerFenster(const QString& TrayKopf, QWidget* parent);

  // TrayKopf CR LF <requests> " Anfragen verarbeitet " CR LF <hits> " Treffer".
  void UpdateTrayToolTip();

  // The log: InfoAnfuegen appends the text as it is; LogZeile appends CR LF and the line;
  // setInfoText replaces it. It keeps its last kLogZeilen lines and kLogZeichen characters, so a
  // server that runs for weeks, or a client that sends a megabyte, does not slow every later
  // line; the box shows the lines without their CR and gets only what is appended.
  static constexpr int kLogZeilen = 500;
  static constexpr int kLogZeichen = 64 * 1024;
  void InfoAnfuegen(const QString& text);
  void LogZeile(const QString& zeile);
  void setInfoText(const QString& text);
  QString InfoText() const { return m_info; }

  QLabel* Label6;  // heading
  QLabel* Label2;  // requests
  QLabel* Label3;  // hits
  QCheckBox* blnAuchBestellte;
  QCheckBox* blnAuchReservierte;
  QCheckBox* blnAuchFilialen;
  QPlainTextEdit* Info;
  TrayArea* TrayIcon;
  QMenu* mnuTrayMenue;
  QAction* cmdOeffnen;
  QAction* cmdBeenden;
  QAction* cmdAbout;

 protected:
  void changeEvent(QEvent* event) override;

  // Counters and options in rows 0 to 4; a server adds its own rows below.
  QGridLayout* Raster;

 private:
  void TrayIcon_MouseDown(int Button);

  // Drops the oldest lines of m_info beyond the bounds; true when a line was cut in two.
  bool kuerzen();

  QString m_trayKopf;
  QString m_info;
  int m_zeilen = 0;  // line breaks in m_info
};

// A label with its object name.
QLabel* NeuesLabel(QWidget* parent, const QString& name, const QString& text);

// A client's text as a log line quotes it: its first kZitatZeichen characters, and "…" when
// there are more.
constexpr int kZitatZeichen = 40;
QString LogZitat(const QString& text);
