#include "platform/printing/CupsPrintDocument.h"

#include <cups/cups.h>
#include <cups/pwg.h>

#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QTemporaryFile>

#include <cerrno>

#include "platform/printing/CupsPrinterCatalogue.h"
#include "platform/vb/VbError.h"

namespace printing {

namespace {
constexpr long ErrPrinter = 482;
constexpr long ErrInvalidPropertyValue = 380;
constexpr long ErrPathFileAccess = 75;
const QString Source = QStringLiteral("PrintDocument");
}  // namespace

CupsPrintDocument::CupsPrintDocument() = default;

CupsPrintDocument::~CupsPrintDocument() { abort(); }

void CupsPrintDocument::openDocument(const QString& printer, int bin, const QString& title,
                                     const QPageSize& pageSize) {
  const std::optional<PrinterInfo> info = CupsPrinterCatalogue().printer(printer);
  if (!info) {
    // Without a name nothing asked the server, so its last message is not about this printer.
    const QString why = printer.isEmpty() ? QStringLiteral("kein Drucker angegeben")
                                          : QString::fromUtf8(cupsLastErrorString());
    vb::raise(ErrPrinter, Source, QStringLiteral("Drucker '%1' nicht gefunden: %2").arg(printer, why));
  }
  m_binOption.clear();
  m_binKeyword.clear();
  if (bin > 0) {
    if (bin > info->bins.size())
      vb::raise(ErrInvalidPropertyValue, Source,
                QStringLiteral("Drucker '%1' hat keinen Schacht %2").arg(printer).arg(bin));
    m_binOption = info->binOption;
    m_binKeyword = info->bins.at(bin - 1).keyword;
  }
  m_file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/skrivant-print-XXXXXX.pdf"));
  if (!m_file->open()) {
    const QString why = m_file->errorString();
    m_file.reset();
    vb::raise(75, Source, why);
  }
  m_printer = info->deviceName;
  m_title = title;
  // The paper is the page size asked for; otherwise the queue's default paper would take the pages.
  // Paper names are for the upright sheet: a landscape page is printed across it.
  const QSizeF mm = pageSize.size(QPageSize::Millimeter);
  const pwg_media_t* media = pwgMediaForSize(qRound(qMin(mm.width(), mm.height()) * 100),
                                             qRound(qMax(mm.width(), mm.height()) * 100));
  m_media = media ? QString::fromUtf8(media->pwg) : QString();
  m_writer = std::make_unique<QPdfWriter>(m_file.get());
  m_writer->setTitle(title);
  m_writer->setCreator(QStringLiteral("Skrivant"));
  m_writer->setPageSize(pageSize);
  m_writer->setPageMargins(QMarginsF(0, 0, 0, 0));
}

QPainter& CupsPrintDocument::startPage(int page) {
  if (page == 1) {
    m_painter.begin(m_writer.get());
  } else {
    m_writer->newPage();
  }
  return m_painter;
}

void CupsPrintDocument::finishPage(int) {}

int CupsPrintDocument::submit() {
  // A print file cut by a full disk or a file size limit would reach the queue as a broken job:
  // every write is checked before anything is submitted.
  // The file's own error text says nothing about why a write failed; errno does.
  errno = 0;
  const bool beendet = m_painter.end();
  const bool geschrieben = m_file->flush() && m_file->error() == QFileDevice::NoError;
  const int grund = errno;
  const qint64 soll = m_file->pos();
  if (!beendet || !geschrieben || soll <= 0 || QFileInfo(m_file->fileName()).size() != soll) {
    const QString why = grund                                          ? qt_error_string(grund)
                        : m_file->error() != QFileDevice::NoError ? m_file->errorString()
                                                                   : QStringLiteral("unvollständig geschrieben");
    vb::raise(ErrPathFileAccess, Source,
              QStringLiteral("Die temporäre PDF-Datei '%1' für den Drucker '%2' konnte nicht vollständig geschrieben werden: %3")
                  .arg(m_file->fileName(), m_printer, why));
  }
  const QByteArray printer = m_printer.toUtf8();
  const QByteArray title = m_title.toUtf8();
  const QByteArray path = m_file->fileName().toUtf8();
  cups_option_t* options = nullptr;
  int count = 0;
  if (!m_binOption.isEmpty())
    count = cupsAddOption(m_binOption.toUtf8().constData(), m_binKeyword.toUtf8().constData(), count, &options);
  if (!m_media.isEmpty()) count = cupsAddOption(CUPS_MEDIA, m_media.toUtf8().constData(), count, &options);
  const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, printer.constData(), path.constData(), title.constData(),
                                 count, options);
  cupsFreeOptions(count, options);
  if (job <= 0) {
    vb::raise(ErrPrinter, Source,
              QStringLiteral("Drucker '%1': %2").arg(m_printer, QString::fromUtf8(cupsLastErrorString())));
  }
  return job;
}

void CupsPrintDocument::closeDocument() {
  if (m_painter.isActive()) m_painter.end();
  m_writer.reset();
  m_file.reset();
}

}  // namespace printing
