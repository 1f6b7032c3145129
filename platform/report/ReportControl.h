#pragma once
// The report back end: templates of our own (templates/README.md) laid out with QPainter into
// one QPicture per page; pages go to a storage file, a PDF (QPdfWriter) or the default printer.
// Statuses, flags and the call order are those of IReportControl.
#include <functional>
#include <memory>

#include "platform/report/IReportControl.h"
#include "platform/report/ReportWindows.h"

namespace report {

class ReportControl : public IReportControl {
 public:
  // Puts pages of a job started with kToPrinter on paper; answers false when it could not.
  using PrinterOutput = std::function<bool(const PageSource& pages, const QString& title)>;

  // Without windows the Qt windows (defaultReportWindows()) are used.
  explicit ReportControl(std::shared_ptr<ReportWindows> windows = nullptr);
  ~ReportControl() override;

  // Replaces the printer output of kToPrinter jobs (the default prints on the default printer).
  void setPrinterOutput(PrinterOutput output);

  // The file a job on `templateFile` writes its storage to, with the current defaults folder.
  QString storagePathForJob(const QString& templateFile) const;

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
  QString lastError() const override;

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

// The storage file of a project: `file` with its final extension replaced by "LL" ("a.b.lst"
// gives "a.b.LL", "Rechnung" gives "Rechnung.LL"), in `path` when that is not empty. Stored
// Windows paths are resolved (vb::resolvePath).
QString storagePathForProject(const QString& file, const QString& path = {});

}  // namespace report
