#pragma once
// The report control the print window holds as `LL`: one method per operation the engine calls,
// with the engine's argument order. Every method answers a status: 0 when done, a negative code
// otherwise. The engine relies on two of them: kPageFull from PrintFields (print the variables,
// which finishes the page, then print the same fields again) and kUserAbort from the job starts,
// the print options dialog and the print calls after the user cancelled the print box.
//
// ReportControl (ReportControl.h) is the real back end; RecordingReportControl
// (RecordingReportControl.h) records the calls for tests of the layers above.
#include <QObject>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;
class QWidget;

namespace report {

// Statuses.
constexpr int kOk = 0;
constexpr int kNoJob = -1;             // a print call without a started job
constexpr int kBadArgument = -2;       // unknown handle, job, option or format
constexpr int kFileError = -3;         // a template, storage or export file could not be read or written
constexpr int kBadTemplate = -4;       // the template is no template of ours, or of the other project kind
constexpr int kUserAbort = -99;
constexpr int kPageFull = -998;

// Project kinds.
constexpr int kProjectLabel = 1;
constexpr int kProjectList = 2;

// Job start flags; 0xB00 lets the user pick the target in the print options dialog.
constexpr int kToPrinter = 0x100;
constexpr int kToStorage = 0x200;
constexpr int kToExport = 0x800;

// Value type codes of DefineReportField / DefineReportVariable.
constexpr int kTypeRichText = 0x01000000;
constexpr int kTypeBoolean = 0x02000000;   // "1" / "0"
constexpr int kTypeDate = 0x04000000;
constexpr int kTypeNumeric = 0x08000000;   // German or point decimals
constexpr int kTypeText = 0x10000000;      // 0x10000001 and other low bits: text as well
constexpr int kTypeDrawing = 0x20000000;   // a picture file path (stored Windows paths accepted)

// Option numbers the engine sets.
constexpr int kOptionStringTitle = 3;          // SetOptionString: job title
constexpr int kOptionStringExportFormats = 2;  // SetOptionString: allowed export formats ("PDF")

// A QObject so that it travels as an object reference (vb::Variant) to the print-data handlers;
// they reach the operations with objectAs<report::IReportControl>().
class IReportControl : public QObject {
 public:
  virtual ~IReportControl() = default;

  // Values: a field belongs to the next body row, a variable to the page objects or the next
  // label. Defining a name again replaces its value; Start* forgets all of the kind.
  virtual int DefineReportField(const QString& name, const QString& contents, int type) = 0;
  virtual int DefineReportVariable(const QString& name, const QString& contents, int type) = 0;
  virtual int StartVariables() = 0;
  virtual int StartFields() = 0;

  // Opens the designer on `file` (kind 1 label, 2 list) with the values defined so far;
  // returns when the designer closes. A file that does not exist is created as an empty
  // template of that kind first.
  virtual int DesignLayout(QWidget* window, const QString& title, int projectType, QString& file) = 0;

  // List: the first call puts the page objects of page 1 out; every later call finishes the
  // page and starts the next. Label: puts one label out (a new page when the grid is full).
  virtual int PrintVariables() = 0;
  // Puts one body row out. kPageFull when the row does not fit the rest of a page that already
  // holds rows (nothing was printed: call PrintVariables and repeat). A row that cannot fit even
  // an empty page is split over pages, so an empty page never answers kPageFull.
  virtual int PrintFields() = 0;
  // Ends the job: the last page is finished and the output written (storage, PDF or printer).
  virtual int EndPrint(int flags = 0) = 0;

  // Folder the storage of a job is written to; without one, next to the template.
  virtual int SetPrinterDefaultsDir(const QString& folder) = 0;
  // The storage of a project is the project file with its extension replaced by "LL";
  // `path`, when not empty, is the folder to look in instead of the file's own.
  virtual int DeletePreviewFiles(const QString& file, const QString& path) = 0;
  // Shows the storage of that project in the preview; returns when the preview is closed.
  virtual int ShowPreview(const QString& file, const QString& path, QWidget* window) = 0;

  virtual int SetOption(int option, int value) = 0;
  virtual int SetOptionString(int option, const QString& value) = 0;
  // Progress box text and percent (0..100) of a job started with the box.
  virtual int SetBoxText(const QString& text, int percent) = 0;

  // Starts a job of `projectType` on the template `file` with the kToPrinter / kToStorage /
  // kToExport flags. kUserAbort when the user cancelled.
  virtual int StartPrintJob(int projectType, QString& file, int flags) = 0;
  // The same with a progress box (`boxType` is accepted and not interpreted) titled `title`.
  virtual int StartPrintJobWithBox(int projectType, QString& file, int flags, int boxType, QWidget* window,
                                   const QString& title) = 0;
  // The print options dialog of the started job: 0 on OK, kUserAbort on cancel.
  virtual int PrintOptionsDialog(QWidget* window, const QString& text) = 0;
  virtual int SetPrintOption(int option, int value) = 0;
  // Lets the user pick a template of `projectType`; on OK `file` holds the choice and the
  // answer is 0, on cancel `file` is unchanged and the answer is kUserAbort.
  virtual int SelectFileDialog(QWidget* window, int projectType, QString& file) = 0;

  // Storage files. OpenStorage answers a handle (> 0) or a negative status; `readOnly` 0 opens
  // for writing (a missing file is then created on close).
  virtual int OpenStorage(const QString& file, const QString& path, int readOnly, int reserved = 0) = 0;
  // Writes a storage opened for writing back to its file when it changed, and frees the handle.
  virtual int CloseStorage(int handle) = 0;
  // Number of pages of the selected job (>= 0), or a negative status.
  virtual int StoragePageCount(int handle) = 0;
  // Appends the pages of `source` to `target` (opened for writing).
  virtual int AppendStorage(int target, int source) = 0;
  // Size in millimetres of page `page` (from 1) of the selected job, in its orientation.
  virtual int StoragePageSize(int handle, int page, QSizeF& sizeMM) = 0;
  // Selects the job of the storage to work on; a storage of ours holds job 1.
  virtual int SetStorageJob(int handle, int job) = 0;
  // Draws page `page` (from 1) scaled to fit `target` on `painter`; an empty target means the
  // painter's whole device.
  virtual int DrawStoragePage(int handle, QPainter& painter, int page, const QRectF& target = {}) = 0;

  // Export settings: `extensionType` 1, `format` "PDF", keys "Export.File", "Export.Path"
  // (stored Windows paths accepted, trailing separator optional) and "Export.Quiet".
  virtual int SetExportParameter(int extensionType, const QString& format, const QString& key,
                                 const QString& value) = 0;

  // Why the last call that answered a negative status failed, in words for a message.
  virtual QString lastError() const = 0;
};

}  // namespace report
