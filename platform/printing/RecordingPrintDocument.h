#pragma once
// A print document for tests of the layers above: it prints nothing and records every document
// (printer, bin, title, page size, pages as pictures) and, in order, every event. It can be told
// which printers exist and to fail submissions, so failure paths can be driven.
#include <QList>
#include <QPageSize>
#include <QPainter>
#include <QPicture>
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/printing/PrintDocument.h"

namespace printing {

struct RecordedDocument {
  QString printer;
  int bin = 0;
  QString title;
  QPageSize pageSize;
  QList<QPicture> pages;
  int job = 0;  // id handed out at end(); 0 while open, for a document without pages or one that failed
};

class RecordingPrintDocument : public PrintDocument {
 public:
  ~RecordingPrintDocument() override;

  // Every document opened, in order; the last one may still be open.
  const QList<RecordedDocument>& documents() const { return m_documents; }
  // Every event in order: "begin PRINTER BIN", "page N", "submit JOB" (pages handed to the
  // printer), "close" (the document closed: after a submission, a failure, or without pages).
  const QStringList& events() const { return m_events; }

  // Only these printers accept a document (begin raises 482 for others); unset: every printer.
  void setPrinters(const QStringList& names) { m_printers = names; }
  // Submissions fail with `message` (482) from now on; an empty message lets them succeed again.
  void failSubmissions(const QString& message) { m_failure = message; }

 protected:
  void openDocument(const QString& printer, int bin, const QString& title, const QPageSize& pageSize) override;
  QPainter& startPage(int page) override;
  void finishPage(int page) override;
  int submit() override;
  void closeDocument() override;

 private:
  QList<RecordedDocument> m_documents;
  QStringList m_events;
  std::optional<QStringList> m_printers;
  QString m_failure;
  QPainter m_painter;
  int m_nextJob = 1;
};

}  // namespace printing
