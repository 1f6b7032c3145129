#pragma once
// One print document at a time on one printer and paper bin: pages are drawn through a QPainter,
// and end() hands the pages to the printer as one job. The object is reused for document after
// document. CupsPrintDocument prints through CUPS; RecordingPrintDocument records for tests.
//
// Pages: the first drawing on a page starts it; newPage() finishes it (a page nothing was drawn
// on becomes a blank sheet). A page begun by newPage() that is never drawn on is not printed,
// so "draw, newPage, draw, newPage, end" gives two sheets.
#include <QPageSize>
#include <QString>
#include <memory>

class QPainter;

namespace printing {

class PrintDocument {
 public:
  virtual ~PrintDocument() = default;

  // Opens a document on `printer` from paper bin `bin` (numbered as the catalogue numbers the
  // printer's bins; 0 or less leaves the printer's bin as it is), titled `title`, on pages of
  // `pageSize`. Raises 5 when a document is already open; the implementation raises when it
  // cannot print there (no such printer: 482, no such bin: 380).
  void begin(const QString& printer, int bin, const QString& title,
             const QPageSize& pageSize = QPageSize(QPageSize::A4));
  bool isOpen() const { return m_open; }
  // The painter of the current page, started on first use. Raises 5 when no document is open.
  QPainter& painter();
  // Finishes the current page; the next drawing goes on a new sheet. Raises 5 when no document
  // is open.
  void newPage();
  // Pages started so far in the open document.
  int pageCount() const { return m_pages; }
  // Hands the pages to the printer as one job and closes the document, also when that fails.
  // Returns the job's id, or 0 when the document had no page (nothing is printed then); with no
  // document open it does nothing and returns 0. A failed submission raises 482 with the print
  // server's message.
  int end();
  // Closes the open document without printing it.
  void abort();

 protected:
  // Prepares the output of a document; raises when it cannot print there.
  virtual void openDocument(const QString& printer, int bin, const QString& title,
                            const QPageSize& pageSize) = 0;
  // Starts page `page` (from 1) and returns the painter on it.
  virtual QPainter& startPage(int page) = 0;
  // Page `page` is complete.
  virtual void finishPage(int page) = 0;
  // Prints the finished pages (at least one) and returns the job's id.
  virtual int submit() = 0;
  // Releases what openDocument took; called after submit(), after a failure and on abort().
  virtual void closeDocument() = 0;

 private:
  QPainter& currentPage();
  void requireOpen() const;

  bool m_open = false;
  bool m_pageStarted = false;
  int m_pages = 0;
  QPainter* m_painter = nullptr;
};

// The document the process prints through: CUPS unless a test installed another.
PrintDocument& printDocument();
// Installs `impl`; an empty pointer goes back to CUPS.
void setPrintDocument(std::shared_ptr<PrintDocument> impl);

}  // namespace printing
