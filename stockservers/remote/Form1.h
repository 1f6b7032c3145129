#pragma once
// TarneloDCOM's main window "Tarnelo - Lageranfrage": the log `Info` the server and its clients
// write to, the request and hit counters, the query options and the tray icon. It has no timer:
// clients call Application::infofelder and AddInfo.
//
// One window per process: the first Form1 made is the one Application objects find through
// Form1::aktuell().
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QWidget>

class TrayArea;

namespace dcom {

class Form1 : public QWidget {
  Q_OBJECT

 public:
  // The window's load: options from the settings, "Programmstart " and the time in Info, the
  // tray icon shown with its tooltip.
  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  // The process's main window; nullptr before it is made and after it is gone.
  static Form1* aktuell();

  // "Tarnelo <-> Lesomat " CR LF <requests> " Anfragen verarbeitet " CR LF <hits> " Treffer".
  void UpdateTrayToolTip();

  // The log: InfoAnfuegen appends the text as it is; LogZeile appends CR LF and the line;
  // setInfoText replaces it.
  void InfoAnfuegen(const QString& text);
  void LogZeile(const QString& zeile);
  void setInfoText(const QString& text);
  QString InfoText() const { return m_info; }

  // Unloading the window: it and its tray icon go away. The process goes on while an
  // Application serves its clients.
  void Unload();

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
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void cmdAbout_Click();
  void TrayIcon_MouseDown(int Button);

  QString m_info;
};

}  // namespace dcom
