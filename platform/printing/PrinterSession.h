#pragma once
// What a page loop needs to put pages on paper printer by printer and bin by bin: it selects a
// printer and a bin, and a change of either ends the open document, so the next page starts a
// new one there. Documents open on the first drawing after a change and are printed by end().
#include <QPageSize>
#include <QString>

#include "platform/printing/PrintDocument.h"

class QPainter;

namespace printing {

class PrinterSession {
 public:
  // Documents go through `document` under `title`, on pages of `pageSize`. The session starts
  // on the process's current printer with bin 0 (the printer's own bin).
  explicit PrinterSession(const QString& title, PrintDocument& document = printDocument(),
                          const QPageSize& pageSize = QPageSize(QPageSize::A4));
  // Drops a document that was not ended: pages of a loop that broke off are not printed.
  ~PrinterSession();
  PrinterSession(const PrinterSession&) = delete;
  PrinterSession& operator=(const PrinterSession&) = delete;

  // Selects printer `name` and makes it the process's current printer; when it differs from the
  // session's printer (letter case ignored), the open document is ended first. Raises what
  // end() raises; the printer is selected nevertheless.
  void setPrinter(const QString& name);
  // Selects bin `bin` (0 or less: the printer's own); a different bin ends the open document
  // first, as setPrinter does.
  void setBin(int bin);
  QString printer() const { return m_printer; }
  int bin() const { return m_bin; }

  // The painter of the current page; opens a document on the selected printer and bin when none
  // is open. Raises what PrintDocument::begin raises.
  QPainter& painter();
  // Finishes the current page (see PrintDocument::newPage); opens a document when none is open.
  void newPage();
  // Ends the open document (see PrintDocument::end); 0 when none is open.
  int end();

 private:
  void ensureOpen();
  // Ends the open document, keeping the selection change that caused it even when that raises.
  template <typename Change>
  void endThen(Change change);

  PrintDocument& m_document;
  QString m_title;
  QPageSize m_pageSize;
  QString m_printer;
  int m_bin = 0;
};

}  // namespace printing
