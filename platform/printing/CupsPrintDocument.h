#pragma once
// A print document for a CUPS queue: the pages go into a temporary PDF (QPdfWriter) that end()
// submits as one job, with the bin's keyword as the queue's bin option (InputSlot), the page
// size as the paper (media) and the document's title as the job's name. The PDF is removed when the document closes.
// A PDF that could not be written whole (disk full, file size limit) is not submitted: end() raises 75.
#include <QPainter>
#include <QString>
#include <memory>

#include "platform/printing/PrintDocument.h"

class QPdfWriter;
class QTemporaryFile;

namespace printing {

class CupsPrintDocument : public PrintDocument {
 public:
  CupsPrintDocument();
  ~CupsPrintDocument() override;

 protected:
  void openDocument(const QString& printer, int bin, const QString& title, const QPageSize& pageSize) override;
  QPainter& startPage(int page) override;
  void finishPage(int page) override;
  int submit() override;
  void closeDocument() override;

 private:
  QString m_printer;
  QString m_title;
  QString m_binOption;   // empty: the bin stays as it is
  QString m_binKeyword;
  QString m_media;       // PWG name of the paper, empty when the size has none
  std::unique_ptr<QTemporaryFile> m_file;
  std::unique_ptr<QPdfWriter> m_writer;
  QPainter m_painter;
};

}  // namespace printing
