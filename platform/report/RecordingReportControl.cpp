#include "platform/report/RecordingReportControl.h"

namespace report {

namespace {

QString quoted(const QString& text) {
  QString q = text;
  q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + q + QLatin1Char('"');
}

QString hex(int value) { return QStringLiteral("0x") + QString::number(static_cast<quint32>(value), 16).toUpper(); }

QString num(int value) { return QString::number(value); }

QString window(QWidget* w) { return w ? QStringLiteral("1") : QStringLiteral("0"); }

}  // namespace

QStringList RecordingReportControl::callsOf(const QString& operation) const {
  QStringList out;
  const QString prefix = operation + QLatin1Char('(');
  for (const QString& c : m_calls)
    if (c.startsWith(prefix)) out << c;
  return out;
}

QString RecordingReportControl::field(const QString& name) const { return m_fields.value(name.toCaseFolded()); }

QString RecordingReportControl::variable(const QString& name) const {
  return m_variables.value(name.toCaseFolded());
}

int RecordingReportControl::record(const QString& operation, const QStringList& args, int defaultStatus) {
  m_calls << operation + QLatin1Char('(') + args.join(QStringLiteral(", ")) + QLatin1Char(')');
  auto queued = m_queued.find(operation);
  if (queued != m_queued.end() && !queued->isEmpty()) return queued->dequeue();
  auto fixed = m_fixed.constFind(operation);
  if (fixed != m_fixed.constEnd()) return *fixed;
  return defaultStatus;
}

int RecordingReportControl::DefineReportField(const QString& name, const QString& contents, int type) {
  m_fields.insert(name.toCaseFolded(), contents);
  return record(QStringLiteral("DefineReportField"), {quoted(name), quoted(contents), hex(type)});
}

int RecordingReportControl::DefineReportVariable(const QString& name, const QString& contents, int type) {
  m_variables.insert(name.toCaseFolded(), contents);
  return record(QStringLiteral("DefineReportVariable"), {quoted(name), quoted(contents), hex(type)});
}

int RecordingReportControl::StartVariables() {
  m_variables.clear();
  return record(QStringLiteral("StartVariables"), {});
}

int RecordingReportControl::StartFields() {
  m_fields.clear();
  return record(QStringLiteral("StartFields"), {});
}

int RecordingReportControl::DesignLayout(QWidget* w, const QString& title, int projectType, QString& file) {
  const int status =
      record(QStringLiteral("DesignLayout"), {window(w), quoted(title), num(projectType), quoted(file)});
  if (!m_designedFile.isEmpty()) file = m_designedFile;
  return status;
}

int RecordingReportControl::PrintVariables() {
  m_rowsOnPage = 0;
  return record(QStringLiteral("PrintVariables"), {});
}

int RecordingReportControl::PrintFields() {
  const bool full = m_rowsPerPage > 0 && m_rowsOnPage >= m_rowsPerPage;
  const int status = record(QStringLiteral("PrintFields"), {}, full ? kPageFull : kOk);
  if (status == kOk) ++m_rowsOnPage;
  return status;
}

int RecordingReportControl::EndPrint(int flags) { return record(QStringLiteral("EndPrint"), {num(flags)}); }

int RecordingReportControl::SetPrinterDefaultsDir(const QString& folder) {
  return record(QStringLiteral("SetPrinterDefaultsDir"), {quoted(folder)});
}

int RecordingReportControl::DeletePreviewFiles(const QString& file, const QString& path) {
  return record(QStringLiteral("DeletePreviewFiles"), {quoted(file), quoted(path)});
}

int RecordingReportControl::ShowPreview(const QString& file, const QString& path, QWidget* w) {
  return record(QStringLiteral("ShowPreview"), {quoted(file), quoted(path), window(w)});
}

int RecordingReportControl::SetOption(int option, int value) {
  return record(QStringLiteral("SetOption"), {num(option), num(value)});
}

int RecordingReportControl::SetOptionString(int option, const QString& value) {
  return record(QStringLiteral("SetOptionString"), {num(option), quoted(value)});
}

int RecordingReportControl::SetBoxText(const QString& text, int percent) {
  return record(QStringLiteral("SetBoxText"), {quoted(text), num(percent)});
}

int RecordingReportControl::StartPrintJob(int projectType, QString& file, int flags) {
  return record(QStringLiteral("StartPrintJob"), {num(projectType), quoted(file), hex(flags)});
}

int RecordingReportControl::StartPrintJobWithBox(int projectType, QString& file, int flags, int boxType,
                                                 QWidget* w, const QString& title) {
  return record(QStringLiteral("StartPrintJobWithBox"),
                {num(projectType), quoted(file), hex(flags), num(boxType), window(w), quoted(title)});
}

int RecordingReportControl::PrintOptionsDialog(QWidget* w, const QString& text) {
  return record(QStringLiteral("PrintOptionsDialog"), {window(w), quoted(text)});
}

int RecordingReportControl::SetPrintOption(int option, int value) {
  return record(QStringLiteral("SetPrintOption"), {num(option), num(value)});
}

int RecordingReportControl::SelectFileDialog(QWidget* w, int projectType, QString& file) {
  const int status = record(QStringLiteral("SelectFileDialog"), {window(w), num(projectType), quoted(file)},
                            m_selectedFile.isEmpty() ? kUserAbort : kOk);
  if (status == kOk && !m_selectedFile.isEmpty()) file = m_selectedFile;
  return status;
}

int RecordingReportControl::OpenStorage(const QString& file, const QString& path, int readOnly, int reserved) {
  const int status = record(QStringLiteral("OpenStorage"), {quoted(file), quoted(path), num(readOnly), num(reserved)},
                            m_nextHandle);
  if (status == m_nextHandle) ++m_nextHandle;
  return status;
}

int RecordingReportControl::CloseStorage(int handle) { return record(QStringLiteral("CloseStorage"), {num(handle)}); }

int RecordingReportControl::StoragePageCount(int handle) {
  return record(QStringLiteral("StoragePageCount"), {num(handle)});
}

int RecordingReportControl::AppendStorage(int target, int source) {
  return record(QStringLiteral("AppendStorage"), {num(target), num(source)});
}

int RecordingReportControl::StoragePageSize(int handle, int page, QSizeF& sizeMM) {
  const int status = record(QStringLiteral("StoragePageSize"), {num(handle), num(page)});
  if (status == kOk && m_storagePageSize.isValid()) sizeMM = m_storagePageSize;
  return status;
}

int RecordingReportControl::SetStorageJob(int handle, int job) {
  return record(QStringLiteral("SetStorageJob"), {num(handle), num(job)});
}

int RecordingReportControl::DrawStoragePage(int handle, QPainter&, int page, const QRectF&) {
  return record(QStringLiteral("DrawStoragePage"), {num(handle), QStringLiteral("painter"), num(page)});
}

int RecordingReportControl::SetExportParameter(int extensionType, const QString& format, const QString& key,
                                               const QString& value) {
  return record(QStringLiteral("SetExportParameter"), {num(extensionType), quoted(format), quoted(key), quoted(value)});
}

}  // namespace report
