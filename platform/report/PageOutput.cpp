#include "platform/report/PageOutput.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

namespace report {

namespace {

QPageLayout layoutFor(const QSizeF& sizeMM) {
  const bool landscape = sizeMM.width() > sizeMM.height();
  const QSizeF portrait = landscape ? sizeMM.transposed() : sizeMM;
  return QPageLayout(QPageSize(portrait, QPageSize::Millimeter), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0));
}

}  // namespace

bool paintPages(const PageSource& pages, QPagedPaintDevice& device, QString* error) {
  if (pages.pageCount() == 0) {
    if (error) *error = QStringLiteral("no pages");
    return false;
  }
  device.setPageLayout(layoutFor(pages.pageSizeMM(1)));
  QPainter painter;
  if (!painter.begin(&device)) {
    if (error) *error = QStringLiteral("the output device cannot be opened");
    return false;
  }
  for (int p = 1; p <= pages.pageCount(); ++p) {
    if (p > 1) {
      device.setPageLayout(layoutFor(pages.pageSizeMM(p)));
      device.newPage();
    }
    pages.drawPage(p, painter, QRectF(0, 0, device.width(), device.height()));
  }
  return painter.end();
}

bool writePdf(const PageSource& pages, const QString& path, const QString& title, QString* error) {
  const auto failed = [&](const QString& why) {
    if (error) *error = why;
    return false;
  };
  if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
    return failed(QStringLiteral("the folder of %1 does not exist").arg(path));
  // Written beside the target and renamed when complete: a failed or cut-short write leaves the
  // earlier file as it was.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return failed(QStringLiteral("%1: %2").arg(path, file.errorString()));
  {
    QPdfWriter writer(&file);
    writer.setResolution(1200);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Skrivant"));
    if (!paintPages(pages, writer, error)) return false;
  }
  // The last buffered bytes are written here; QSaveFile's commit would rename the file even when
  // that fails.
  if (!file.flush() || file.error() != QFileDevice::NoError || !file.commit())
    return failed(QStringLiteral("%1: %2").arg(path, file.errorString()));
  return true;
}

bool printOnDefaultPrinter(const PageSource& pages, const QString& title) {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return false;
  QPrinter printer(info, QPrinter::HighResolution);
  printer.setFullPage(true);
  printer.setDocName(title);
  return paintPages(pages, printer, nullptr);
}

}  // namespace report
