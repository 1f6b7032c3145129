#pragma once
// A report control for tests of the layers above: it records every call as one text line and
// answers scripted statuses. Lines look like
//   DefineReportField("Zeilentyp", "Position", 0x10000000)
//   StartPrintJob(2, "C:\Formulare\Rechnung.lst", 0x200)
//   PrintFields()
// Texts are quoted (an inner quote doubled); the type code of Define* and the flags of the job
// starts are written in hex, every other number in decimal; a window is written as 0 or 1
// (none / given), a painter as "painter".
#include <QHash>
#include <QList>
#include <QQueue>
#include <QStringList>

#include "platform/report/IReportControl.h"

namespace report {

class RecordingReportControl : public IReportControl {
 public:
  // Every call recorded so far, in order.
  const QStringList& calls() const { return m_calls; }
  // Only the calls of one operation.
  QStringList callsOf(const QString& operation) const;
  void clearCalls() { m_calls.clear(); }

  // Answers: a queued answer of the operation first, then its fixed answer, then the default
  // (0; OpenStorage a new handle from 1 up; StoragePageCount 0).
  void queueStatus(const QString& operation, int status) { m_queued[operation].enqueue(status); }
  void setStatus(const QString& operation, int status) { m_fixed[operation] = status; }
  // PrintFields answers kPageFull once `rows` rows were printed since the last PrintVariables
  // (0 switches it off). The refused call is recorded and counts no row.
  void setRowsPerPage(int rows) { m_rowsPerPage = rows; }
  // What SelectFileDialog leaves in its argument; empty answers kUserAbort and leaves it.
  void setSelectedFile(const QString& file) { m_selectedFile = file; }
  // What DesignLayout leaves in its argument; empty leaves it unchanged.
  void setDesignedFile(const QString& file) { m_designedFile = file; }

  // Values defined now (after Start* and redefinitions), by name without regard to case.
  QString field(const QString& name) const;
  QString variable(const QString& name) const;

  int DefineReportField(const QString& name, const QString& contents, int type) override;
  int DefineReportVariable(const QString& name, const QString& contents, int type) override;
  int StartVariables() override;
  int StartFields() override;
  int DesignLayout(QWidget* window, const QString& title, int projectType, QString& file) override;
  int PrintVariables() override;
  int PrintFields() override;
  int EndPrint(int flags = 0) override;
  int SetPrinterDefaultsDir(const QString& folder) override;
  int DeletePreviewFiles(const QString& file, const QString& path) override;
  int ShowPreview(const QString& file, const QString& path, QWidget* window) override;
  int SetOption(int option, int value) override;
  int SetOptionString(int option, const QString& value) override;
  int SetBoxText(const QString& text, int percent) override;
  int StartPrintJob(int projectType, QString& file, int flags) override;
  int StartPrintJobWithBox(int projectType, QString& file, int flags, int boxType, QWidget* window,
                           const QString& title) override;
  int PrintOptionsDialog(QWidget* window, const QString& text) override;
  int SetPrintOption(int option, int value) override;
  int SelectFileDialog(QWidget* window, int projectType, QString& file) override;
  int OpenStorage(const QString& file, const QString& path, int readOnly, int reserved = 0) override;
  int CloseStorage(int handle) override;
  int StoragePageCount(int handle) override;
  int AppendStorage(int target, int source) override;
  int StoragePageSize(int handle, int page, QSizeF& sizeMM) override;
  int SetStorageJob(int handle, int job) override;
  int DrawStoragePage(int handle, QPainter& painter, int page, const QRectF& target = {}) override;
  int SetExportParameter(int extensionType, const QString& format, const QString& key,
                         const QString& value) override;
  // The text set by setLastError.
  QString lastError() const override { return m_lastErrorText; }
  void setLastError(const QString& text) { m_lastErrorText = text; }
  // What StoragePageSize leaves in its argument; invalid leaves it unchanged.
  void setStoragePageSize(const QSizeF& sizeMM) { m_storagePageSize = sizeMM; }

 private:
  int record(const QString& operation, const QStringList& args, int defaultStatus = kOk);

  QStringList m_calls;
  QHash<QString, QQueue<int>> m_queued;
  QHash<QString, int> m_fixed;
  QHash<QString, QString> m_fields;
  QHash<QString, QString> m_variables;
  int m_rowsPerPage = 0;
  int m_rowsOnPage = 0;
  int m_nextHandle = 1;
  QString m_selectedFile;
  QString m_designedFile;
  QString m_lastErrorText;
  QSizeF m_storagePageSize;
};

}  // namespace report
