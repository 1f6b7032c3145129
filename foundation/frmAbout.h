#pragma once
// The program's about box: title, version, two notices, OK and a button that starts the
// desktop's system-information tool. The stock servers' about box shows title, version, its own
// description and OK only.
#include <QDialog>
#include <QStringList>

class frmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit frmAbout(QWidget* parent = nullptr);
  frmAbout(const QString& beschreibung, QWidget* parent);

  // Starts the system-information tool detached and returns; when there is none or it cannot
  // be started, says "Systeminformationen sind momentan nicht verfügbar".
  void StartSysInfo();

  // The tool StartSysInfo starts: the first known one found in the tool folders; empty if none.
  QString SysInfoTool() const;
  // Folders searched for the tool; empty (the default) searches PATH.
  void setToolFolders(const QStringList& folders) { m_toolFolders = folders; }

 private:
  void aufbauen(const QString& beschreibung, bool vollstaendig);

  QStringList m_toolFolders;
};
