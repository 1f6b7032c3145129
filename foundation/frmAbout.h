#pragma once
// The program's about box: title, version, two notices, OK and a button that starts the
// desktop's system-information tool.
#include <QDialog>
#include <QStringList>

class frmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit frmAbout(QWidget* parent = nullptr);

  // Starts the system-information tool detached and returns; when there is none or it cannot
  // be started, says "Systeminformationen sind momentan nicht verfügbar".
  void StartSysInfo();

  // The tool StartSysInfo starts: the first known one found in the tool folders; empty if none.
  QString SysInfoTool() const;
  // Folders searched for the tool; empty (the default) searches PATH.
  void setToolFolders(const QStringList& folders) { m_toolFolders = folders; }

 private:
  QStringList m_toolFolders;
};
