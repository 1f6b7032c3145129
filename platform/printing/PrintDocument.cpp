#include "platform/printing/PrintDocument.h"

#include "platform/printing/CupsPrintDocument.h"
#include "platform/vb/VbError.h"

namespace printing {

void PrintDocument::begin(const QString& printer, int bin, const QString& title, const QPageSize& pageSize) {
  if (m_open) vb::raise(vb::ErrInvalidCall, QStringLiteral("PrintDocument"), QStringLiteral("Es ist schon ein Dokument offen"));
  openDocument(printer, bin, title, pageSize);
  m_open = true;
  m_pageStarted = false;
  m_pages = 0;
  m_painter = nullptr;
}

void PrintDocument::requireOpen() const {
  if (!m_open) vb::raise(vb::ErrInvalidCall, QStringLiteral("PrintDocument"), QStringLiteral("Kein Dokument offen"));
}

QPainter& PrintDocument::currentPage() {
  if (!m_pageStarted) {
    m_painter = &startPage(m_pages + 1);
    ++m_pages;
    m_pageStarted = true;
  }
  return *m_painter;
}

QPainter& PrintDocument::painter() {
  requireOpen();
  return currentPage();
}

void PrintDocument::newPage() {
  requireOpen();
  currentPage();
  finishPage(m_pages);
  m_pageStarted = false;
}

int PrintDocument::end() {
  if (!m_open) return 0;
  m_open = false;
  int job = 0;
  try {
    if (m_pageStarted) finishPage(m_pages);
    if (m_pages > 0) job = submit();
  } catch (...) {
    closeDocument();
    throw;
  }
  closeDocument();
  return job;
}

void PrintDocument::abort() {
  if (!m_open) return;
  m_open = false;
  closeDocument();
}

namespace {
std::shared_ptr<PrintDocument>& installed() {
  static std::shared_ptr<PrintDocument> impl;
  return impl;
}
}  // namespace

PrintDocument& printDocument() {
  if (!installed()) installed() = std::make_shared<CupsPrintDocument>();
  return *installed();
}

void setPrintDocument(std::shared_ptr<PrintDocument> impl) { installed() = std::move(impl); }

}  // namespace printing
