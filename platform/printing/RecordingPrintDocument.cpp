#include "platform/printing/RecordingPrintDocument.h"

#include "platform/vb/VbError.h"

namespace printing {

RecordingPrintDocument::~RecordingPrintDocument() { abort(); }

void RecordingPrintDocument::openDocument(const QString& printer, int bin, const QString& title,
                                          const QPageSize& pageSize) {
  if (m_printers && !m_printers->contains(printer, Qt::CaseInsensitive))
    vb::raise(482, QStringLiteral("PrintDocument"), QStringLiteral("Drucker '%1' nicht gefunden").arg(printer));
  m_documents.append({printer, bin, title, pageSize, {}, 0});
  m_events.append(QStringLiteral("begin %1 %2").arg(printer).arg(bin));
}

QPainter& RecordingPrintDocument::startPage(int page) {
  QPicture& picture = m_documents.last().pages.emplace_back();
  // A picture has no size of its own: give it the page's, in points, so callers can scale to it.
  picture.setBoundingRect(m_documents.last().pageSize.rectPoints());
  m_painter.begin(&picture);
  m_events.append(QStringLiteral("page %1").arg(page));
  return m_painter;
}

void RecordingPrintDocument::finishPage(int) { m_painter.end(); }

int RecordingPrintDocument::submit() {
  if (!m_failure.isEmpty()) vb::raise(482, QStringLiteral("PrintDocument"), m_failure);
  m_documents.last().job = m_nextJob++;
  m_events.append(QStringLiteral("submit %1").arg(m_documents.last().job));
  return m_documents.last().job;
}

void RecordingPrintDocument::closeDocument() {
  if (m_painter.isActive()) m_painter.end();
  m_events.append(QStringLiteral("close"));
}

}  // namespace printing
