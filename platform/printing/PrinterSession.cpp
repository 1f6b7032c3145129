#include "platform/printing/PrinterSession.h"

#include "platform/printing/CurrentPrinter.h"

namespace printing {

PrinterSession::PrinterSession(const QString& title, PrintDocument& document, const QPageSize& pageSize)
    : m_document(document), m_title(title), m_pageSize(pageSize), m_printer(currentPrinter()) {}

PrinterSession::~PrinterSession() { m_document.abort(); }

template <typename Change>
void PrinterSession::endThen(Change change) {
  try {
    m_document.end();
  } catch (...) {
    change();
    throw;
  }
  change();
}

void PrinterSession::setPrinter(const QString& name) {
  const auto select = [&] {
    m_printer = name;
    setCurrentPrinter(name);
  };
  if (QString::compare(name, m_printer, Qt::CaseInsensitive) == 0) {
    select();
    return;
  }
  endThen(select);
}

void PrinterSession::setBin(int bin) {
  if (bin <= 0) bin = 0;
  if (bin == m_bin) return;
  endThen([&] { m_bin = bin; });
}

void PrinterSession::ensureOpen() {
  if (!m_document.isOpen()) m_document.begin(m_printer, m_bin, m_title, m_pageSize);
}

QPainter& PrinterSession::painter() {
  ensureOpen();
  return m_document.painter();
}

void PrinterSession::newPage() {
  ensureOpen();
  m_document.newPage();
}

int PrinterSession::end() { return m_document.end(); }

}  // namespace printing
