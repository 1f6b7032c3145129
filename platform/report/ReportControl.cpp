#include "platform/report/ReportControl.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPaintDevice>
#include <QPainter>
#include <QSaveFile>
#include <map>

#include "platform/report/PageOutput.h"
#include "platform/report/ReportJob.h"
#include "platform/report/StorageFile.h"
#include "platform/report/Template.h"
#include "platform/report/ValueSet.h"
#include "platform/vb/PathResolver.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>

namespace report {

namespace {

// Why `path` names no template we can open: a folder on the way that we may not read or search
// hides it, which "not found" would wrongly blame on the file.
QString missingTemplate(const QString& path) {
  QString folder = QFileInfo(path).absoluteFilePath();
  struct stat st {};
  int belowErrno = 0;
  // The deepest folder of the path that we can see, and what kept us from the name below it.
  for (;;) {
    if (::stat(QFile::encodeName(folder).constData(), &st) == 0) break;
    belowErrno = errno;
    const QString up = QFileInfo(folder).path();
    if (up == folder) break;
    folder = up;
  }
  bool denied = belowErrno == EACCES;
  if (!denied && S_ISDIR(st.st_mode)) {
    // Letter case is matched by listing the folder, so a folder we may not list hides the file too.
    if (DIR* d = ::opendir(QFile::encodeName(folder).constData())) ::closedir(d);
    else denied = errno == EACCES;
  }
  if (denied) return QStringLiteral("template %1 cannot be read: no permission to read folder %2").arg(path, folder);
  return QStringLiteral("template %1 not found").arg(path);
}

QString joinFolder(const QString& folder, const QString& name) {
  if (folder.isEmpty()) return name;
  if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))) return folder + name;
  return folder + QLatin1Char('/') + name;
}

}  // namespace

QString storagePathForProject(const QString& file, const QString& path) {
  const QString folder = vb::folderPart(file);
  QString stem = vb::fileNamePart(file);
  const qsizetype dot = stem.lastIndexOf(QLatin1Char('.'));
  if (dot >= 0) stem.truncate(dot);
  return vb::resolvePath(joinFolder(path.isEmpty() ? folder : path, stem + QStringLiteral(".LL")));
}

struct ReportControl::Impl {
  struct Job {
    std::unique_ptr<ReportJob> layout;
    QString templatePath;
    int projectType = kProjectList;
    int flags = 0;
    QString storagePath;
    bool box = false;
    bool aborted = false;
  };
  struct OpenedStorage {
    QString path;
    bool readOnly = true;
    bool mustWrite = false;  // changed, or new
    StorageFile data;
  };

  std::shared_ptr<ReportWindows> windows;
  PrinterOutput printer = printOnDefaultPrinter;
  ValueSet fields, variables;
  QString defaultsDir;
  QString title;
  QString exportFormats = QStringLiteral("PDF");
  QHash<QString, QString> exportParameters;  // case-folded key -> value
  QHash<int, int> options, printOptions;
  std::unique_ptr<Job> job;
  std::shared_ptr<TextLayoutCache> layouts = std::make_shared<TextLayoutCache>();
  std::map<int, OpenedStorage> storages;
  int nextHandle = 1;
  QString lastError;

  int fail(int status, const QString& why) {
    lastError = why;
    return status;
  }

  void dropJob() {
    if (job && job->box) windows->closePrintBox();
    job.reset();
  }

  // The status of a print call: the job may have been cancelled in the print box meanwhile.
  int printStatus() {
    if (!job) return fail(kNoJob, QStringLiteral("no print job is running"));
    if (!job->aborted && job->box && windows->printBoxCancelled()) job->aborted = true;
    if (job->aborted) return fail(kUserAbort, QStringLiteral("the job was cancelled"));
    return kOk;
  }

  OpenedStorage* storage(int handle) {
    const auto it = storages.find(handle);
    return it == storages.end() ? nullptr : &it->second;
  }

  int writeOutput(StorageFile& pages) {
    pages.setTitle(title);
    QString why;
    if (job->flags & kToStorage) {
      if (!pages.save(job->storagePath, &why)) return fail(kFileError, why);
      return kOk;
    }
    if (job->flags & kToExport) {
      if (!exportFormats.split(QLatin1Char(';')).contains(QStringLiteral("PDF"), Qt::CaseInsensitive))
        return fail(kBadArgument, QStringLiteral("PDF export is not allowed for this job"));
      const QString file = exportParameters.value(QStringLiteral("export.file"));
      if (file.isEmpty()) return fail(kFileError, QStringLiteral("no export file was given"));
      const QString target = vb::resolvePath(joinFolder(exportParameters.value(QStringLiteral("export.path")), file));
      if (!writePdf(pages, target, title, &why)) return fail(kFileError, why);
      return kOk;
    }
    if (!printer(pages, title)) return fail(kFileError, QStringLiteral("the pages could not be printed"));
    return kOk;
  }
};

ReportControl::ReportControl(std::shared_ptr<ReportWindows> windows) : d(std::make_unique<Impl>()) {
  d->windows = windows ? std::move(windows) : defaultReportWindows();
}

ReportControl::~ReportControl() { d->dropJob(); }

void ReportControl::setPrinterOutput(PrinterOutput output) { d->printer = std::move(output); }

QString ReportControl::storagePathForJob(const QString& templateFile) const {
  return storagePathForProject(templateFile, d->defaultsDir);
}

QString ReportControl::lastError() const { return d->lastError; }

int ReportControl::DefineReportField(const QString& name, const QString& contents, int type) {
  if (name.isEmpty()) return d->fail(kBadArgument, QStringLiteral("a field needs a name"));
  d->fields.define(name, contents, type);
  return kOk;
}

int ReportControl::DefineReportVariable(const QString& name, const QString& contents, int type) {
  if (name.isEmpty()) return d->fail(kBadArgument, QStringLiteral("a variable needs a name"));
  d->variables.define(name, contents, type);
  return kOk;
}

int ReportControl::StartVariables() {
  d->variables.clear();
  return kOk;
}

int ReportControl::StartFields() {
  d->fields.clear();
  return kOk;
}

int ReportControl::DesignLayout(QWidget* window, const QString& title, int projectType, QString& file) {
  if (projectType != kProjectLabel && projectType != kProjectList)
    return d->fail(kBadArgument, QStringLiteral("unknown project kind %1").arg(projectType));
  DesignRequest request;
  request.title = title;
  request.projectType = projectType;
  request.templatePath = vb::resolvePath(file);
  // Designing a file that does not exist yet starts a new template of the asked kind.
  if (!QFileInfo::exists(request.templatePath)) {
    QSaveFile f(request.templatePath);
    if (!f.open(QIODevice::WriteOnly) || f.write(emptyTemplateText(projectType)) < 0 || !f.commit())
      return d->fail(kFileError, QStringLiteral("cannot create %1: %2").arg(request.templatePath, f.errorString()));
  }
  request.variables = d->variables.all();
  request.fields = d->fields.all();
  // The preview renders from a copy of the values, so it stays right while the designer is open.
  auto fields = std::make_shared<ValueSet>(d->fields);
  auto variables = std::make_shared<ValueSet>(d->variables);
  const QString folder = QFileInfo(request.templatePath).absolutePath();
  request.render = [fields, variables, folder](const QByteArray& text, QString* error) -> std::unique_ptr<PageSource> {
    auto tpl = Template::parse(text, error);
    if (!tpl) return nullptr;
    tpl->folder = folder;
    const bool list = tpl->projectType == kProjectList;
    ReportJob job(std::move(*tpl), *fields, *variables);
    job.printVariables();
    if (list) job.printFields();
    return std::make_unique<StorageFile>(job.finish());
  };
  d->windows->design(request, window);
  return kOk;
}

int ReportControl::PrintVariables() {
  if (const int s = d->printStatus(); s != kOk) return s;
  return d->job->layout->printVariables();
}

int ReportControl::PrintFields() {
  if (const int s = d->printStatus(); s != kOk) return s;
  return d->job->layout->printFields();
}

int ReportControl::EndPrint(int) {
  if (!d->job) return d->fail(kNoJob, QStringLiteral("no print job is running"));
  int status = kOk;
  if (d->job->aborted) {
    // A cancelled job leaves no output, and no older storage that a preview could take for it.
    if (!d->job->storagePath.isEmpty()) QFile::remove(d->job->storagePath);
    status = d->fail(kUserAbort, QStringLiteral("the job was cancelled"));
  } else {
    StorageFile pages = d->job->layout->finish();
    status = d->writeOutput(pages);
  }
  d->dropJob();
  return status;
}

int ReportControl::SetPrinterDefaultsDir(const QString& folder) {
  d->defaultsDir = folder;
  return kOk;
}

int ReportControl::DeletePreviewFiles(const QString& file, const QString& path) {
  const QString target = storagePathForProject(file, path);
  if (QFileInfo::exists(target) && !QFile::remove(target))
    return d->fail(kFileError, QStringLiteral("cannot delete %1").arg(target));
  return kOk;
}

int ReportControl::ShowPreview(const QString& file, const QString& path, QWidget* window) {
  QString why;
  const auto pages = StorageFile::load(storagePathForProject(file, path), &why);
  if (!pages) return d->fail(kFileError, why);
  const QString title = pages->title().isEmpty() ? QFileInfo(vb::resolvePath(file)).completeBaseName() : pages->title();
  d->windows->showPreview(*pages, title, window);
  return kOk;
}

int ReportControl::SetOption(int option, int value) {
  d->options.insert(option, value);
  return kOk;
}

int ReportControl::SetOptionString(int option, const QString& value) {
  if (option == kOptionStringTitle) d->title = value;
  else if (option == kOptionStringExportFormats) d->exportFormats = value;
  else return d->fail(kBadArgument, QStringLiteral("unknown option %1").arg(option));
  return kOk;
}

int ReportControl::SetBoxText(const QString& text, int percent) {
  if (!d->job || !d->job->box) return kOk;
  d->windows->updatePrintBox(text, qBound(0, percent, 100));
  // Lets the box repaint and see its cancel button.
  QCoreApplication::processEvents();
  return kOk;
}

int ReportControl::StartPrintJob(int projectType, QString& file, int flags) {
  // A job that was never ended is given up; its pages are not written.
  d->dropJob();
  if (projectType != kProjectLabel && projectType != kProjectList)
    return d->fail(kBadArgument, QStringLiteral("unknown project kind %1").arg(projectType));
  if (!(flags & (kToPrinter | kToStorage | kToExport)))
    return d->fail(kBadArgument, QStringLiteral("no output chosen (flags %1)").arg(flags));
  const QString path = vb::resolvePath(file);
  if (!QFileInfo(path).isFile()) return d->fail(kFileError, missingTemplate(path));
  QString why;
  auto tpl = Template::load(path, &why);
  if (!tpl) return d->fail(kBadTemplate, why);
  if (tpl->projectType != projectType)
    return d->fail(kBadTemplate, QStringLiteral("%1 is no %2 template").arg(path, projectType == kProjectList ? QStringLiteral("list") : QStringLiteral("label")));
  auto job = std::make_unique<Impl::Job>();
  job->layout = std::make_unique<ReportJob>(std::move(*tpl), d->fields, d->variables, d->layouts);
  job->templatePath = path;
  job->projectType = projectType;
  job->flags = flags;
  if (flags & kToStorage) job->storagePath = storagePathForJob(file);
  d->job = std::move(job);
  return kOk;
}

int ReportControl::StartPrintJobWithBox(int projectType, QString& file, int flags, int, QWidget* window,
                                        const QString& title) {
  const int status = StartPrintJob(projectType, file, flags);
  if (status != kOk) return status;
  d->windows->openPrintBox(title, window);
  d->job->box = true;
  return kOk;
}

int ReportControl::PrintOptionsDialog(QWidget* window, const QString& text) {
  if (!d->job) return d->fail(kNoJob, QStringLiteral("no print job is running"));
  PrintOptionsRequest request;
  request.text = text;
  request.jobTitle = d->title;
  request.templatePath = d->job->templatePath;
  request.projectType = d->job->projectType;
  request.flags = d->job->flags;
  if (d->windows->printOptions(request, window)) return kOk;
  d->dropJob();
  return d->fail(kUserAbort, QStringLiteral("the print options were cancelled"));
}

int ReportControl::SetPrintOption(int option, int value) {
  d->printOptions.insert(option, value);
  return kOk;
}

int ReportControl::SelectFileDialog(QWidget* window, int projectType, QString& file) {
  const QString chosen = d->windows->selectFile(projectType, file, window);
  if (chosen.isEmpty()) return d->fail(kUserAbort, QStringLiteral("no file was chosen"));
  file = chosen;
  return kOk;
}

int ReportControl::OpenStorage(const QString& file, const QString& path, int readOnly, int) {
  Impl::OpenedStorage s;
  s.path = storagePathForProject(file, path);
  s.readOnly = readOnly != 0;
  if (QFileInfo::exists(s.path)) {
    QString why;
    auto data = StorageFile::load(s.path, &why);
    if (!data) return d->fail(kFileError, why);
    s.data = std::move(*data);
  } else if (s.readOnly) {
    return d->fail(kFileError, QStringLiteral("storage %1 not found").arg(s.path));
  } else {
    s.mustWrite = true;
  }
  const int handle = d->nextHandle++;
  d->storages.emplace(handle, std::move(s));
  return handle;
}

int ReportControl::CloseStorage(int handle) {
  auto* s = d->storage(handle);
  if (!s) return d->fail(kBadArgument, QStringLiteral("unknown storage handle %1").arg(handle));
  int status = kOk;
  QString why;
  if (!s->readOnly && s->mustWrite && !s->data.save(s->path, &why)) status = d->fail(kFileError, why);
  d->storages.erase(handle);
  return status;
}

int ReportControl::StoragePageCount(int handle) {
  auto* s = d->storage(handle);
  if (!s) return d->fail(kBadArgument, QStringLiteral("unknown storage handle %1").arg(handle));
  return s->data.pageCount();
}

int ReportControl::AppendStorage(int target, int source) {
  auto* t = d->storage(target);
  auto* s = d->storage(source);
  if (!t || !s) return d->fail(kBadArgument, QStringLiteral("unknown storage handle"));
  if (t->readOnly) return d->fail(kBadArgument, QStringLiteral("storage %1 is open for reading only").arg(t->path));
  const StorageFile pages = s->data;  // a storage appended to itself doubles once
  t->data.append(pages);
  t->mustWrite = true;
  return kOk;
}

int ReportControl::StoragePageSize(int handle, int page, QSizeF& sizeMM) {
  auto* s = d->storage(handle);
  if (!s) return d->fail(kBadArgument, QStringLiteral("unknown storage handle %1").arg(handle));
  if (page < 1 || page > s->data.pageCount())
    return d->fail(kBadArgument, QStringLiteral("no page %1 in %2").arg(page).arg(s->path));
  sizeMM = s->data.pageSizeMM(page);
  return kOk;
}

int ReportControl::SetStorageJob(int handle, int job) {
  if (!d->storage(handle)) return d->fail(kBadArgument, QStringLiteral("unknown storage handle %1").arg(handle));
  if (job != 1) return d->fail(kBadArgument, QStringLiteral("a storage holds job 1 only"));
  return kOk;
}

int ReportControl::DrawStoragePage(int handle, QPainter& painter, int page, const QRectF& target) {
  auto* s = d->storage(handle);
  if (!s) return d->fail(kBadArgument, QStringLiteral("unknown storage handle %1").arg(handle));
  if (page < 1 || page > s->data.pageCount())
    return d->fail(kBadArgument, QStringLiteral("no page %1 in %2").arg(page).arg(s->path));
  if (!painter.isActive()) return d->fail(kBadArgument, QStringLiteral("the painter is not active"));
  const QRectF area = target.isEmpty() ? QRectF(0, 0, painter.device()->width(), painter.device()->height()) : target;
  s->data.drawPage(page, painter, area);
  return kOk;
}

int ReportControl::SetExportParameter(int, const QString& format, const QString& key, const QString& value) {
  if (format.compare(QLatin1String("PDF"), Qt::CaseInsensitive) != 0)
    return d->fail(kBadArgument, QStringLiteral("export format %1 is not offered").arg(format));
  d->exportParameters.insert(key.toCaseFolded(), value);
  return kOk;
}

}  // namespace report
