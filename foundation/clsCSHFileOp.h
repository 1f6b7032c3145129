#pragma once
// Moves, copies, deletes or renames a list of files and folders, with the confirmations, progress
// display and undo (the trash) that its options ask for. Confirmations and the progress window go
// through ui::dialogs(). Source and destination entries are the system's stored paths.
#include <QString>
#include <QStringList>
#include <cstdint>

class clsCSHFileOp {
 public:
  // Deleted items go to the trash instead of being removed.
  bool AllowUndo() const { return m_allowUndo; }
  void let_AllowUndo(bool bAllowUndo) { m_allowUndo = bAllowUndo; }
  // Ask before creating a missing destination folder.
  bool ConfirmMakeDir() const { return m_confirmMakeDir; }
  void let_ConfirmMakeDir(bool bConfirmMakeDir) { m_confirmMakeDir = bConfirmMakeDir; }
  // Ask before deleting and before replacing; False answers every question with Yes.
  bool ConfirmOperation() const { return m_confirmOperation; }
  void let_ConfirmOperation(bool bConfirmOperation) { m_confirmOperation = bConfirmOperation; }
  // Not empty: the progress window shows this title and no file names.
  QString CustomText() const { return m_customText; }
  void let_CustomText(const QString& sCustomText) { m_customText = sCustomText; }
  // False: a wildcard source takes files only, no folders.
  bool IncludeDirectories() const { return m_includeDirectories; }
  void let_IncludeDirectories(bool bIncludeDirectories) { m_includeDirectories = bIncludeDirectories; }
  // Kept for the callers; the dialogs find their own parent window.
  std::int32_t ParentWnd() const { return m_parentWnd; }
  void let_ParentWnd(std::int32_t hParentWnd) { m_parentWnd = hParentWnd; }
  // A target that exists already gets a free name "Kopie von <name>" instead of being replaced.
  bool RenameOnCollision() const { return m_renameOnCollision; }
  void let_RenameOnCollision(bool bRenameOnCollision) { m_renameOnCollision = bRenameOnCollision; }
  // No progress window.
  bool SilentMode() const { return m_silentMode; }
  void let_SilentMode(bool bSilentMode) { m_silentMode = bSilentMode; }

  // True when every item was done and the user aborted nothing. Without source files each raises
  // -2147220504 "No source files specified file operation". One destination entry names the
  // target folder (or, for a single source, the new name); several pair up with the sources.
  bool MoveFiles();
  bool CopyFiles();
  bool DeleteFiles();
  bool RenameFiles();

  void ClearSourceFiles() { m_sources.clear(); }
  void AddSourceFile(const QString& sFilename) { m_sources.append(sFilename); }
  void ClearDestFiles() { m_dests.clear(); }
  void AddDestFile(const QString& sFilename) { m_dests.append(sFilename); }

 private:
  enum class Operation { Move = 1, Copy = 2, Delete = 3, Rename = 4 };
  enum class Outcome { Done, Skipped, Failed, Aborted };

  bool ExecuteFileOp(Operation op);
  QStringList expandSources() const;
  bool targetsFor(Operation op, const QStringList& sources, QStringList& targets);
  bool ensureFolder(const QString& folder);
  Outcome transfer(Operation op, const QString& source, QString target);
  Outcome remove(const QString& source);

  bool m_allowUndo = false;
  bool m_confirmMakeDir = true;
  bool m_confirmOperation = true;
  QString m_customText;
  bool m_includeDirectories = true;
  std::int32_t m_parentWnd = 0;
  bool m_renameOnCollision = false;
  bool m_silentMode = false;
  QStringList m_sources;
  QStringList m_dests;
};
