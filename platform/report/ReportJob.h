#pragma once
// One running print job: lays the template out page by page as the engine prints variables and
// fields, and collects the finished pages. Layout depends only on the template and the values,
// so the same calls give the same pages every time.
#include <memory>

#include "platform/report/ObjectPainter.h"
#include "platform/report/PageContent.h"
#include "platform/report/StorageFile.h"
#include "platform/report/Template.h"
#include "platform/report/ValueSet.h"

namespace report {

class ReportJob {
 public:
  // The job reads `fields` and `variables` as they stand at each call. Jobs that share `layouts`
  // lay out a text they have in common once.
  ReportJob(Template tpl, const ValueSet& fields, const ValueSet& variables,
            std::shared_ptr<TextLayoutCache> layouts = nullptr);
  ReportJob(const ReportJob&) = delete;
  ReportJob& operator=(const ReportJob&) = delete;

  // List: opens page 1, or finishes the page and opens the next. Label: places one label.
  int printVariables();
  // List: places one body row (kOk), or answers kPageFull when it does not fit the rest of a page
  // that holds rows; a row too tall for an empty page is split over pages. Label: nothing.
  int printFields();
  // Finishes the last page and hands the pages over; the job is done afterwards.
  StorageFile finish();

  // Pages finished so far.
  int finishedPages() const { return m_pages.pageCount(); }

 private:
  class Scope;
  struct RenderedRow {
    PageContent content;
    double height = 0;
    QList<LineSpan> spans;
  };

  void openPage();
  void closePage(bool last);
  void startTable();
  double measure(const QList<RowLayout>& layouts, bool last) const;
  // Renders the layouts whose condition holds, stacked; with a window only that part of them.
  RenderedRow render(const QList<RowLayout>& layouts, bool last, double from = -1e12, double to = 1e12) const;
  void place(const RenderedRow& row, double from, double to);
  void addToSums();
  void splitRow(const RenderedRow& row);
  void printFooter(bool last);
  double bodyTop() const;

  Template m_tpl;
  const ValueSet& m_fields;
  const ValueSet& m_variables;
  mutable ImageCache m_images;
  std::shared_ptr<TextLayoutCache> m_layouts;
  StorageFile m_pages;

  bool m_pageOpen = false;
  int m_page = 0;
  ValueSet m_pageVariables;  // the variables when the page was opened, for its page objects
  PageContent m_body;
  double m_y = 0;              // next body row's top (units)
  int m_rowsOnPage = 0;
  bool m_tableOnPage = false;   // a body row is out on this page
  bool m_headerOnPage = false;  // the header is out on this page
  bool m_tableInJob = false;
  int m_labelSlot = 0;
  QHash<QString, double> m_sums;      // case-folded name -> running total
  QHash<QString, double> m_pageSums;  // case-folded name -> total of this page
};

}  // namespace report
