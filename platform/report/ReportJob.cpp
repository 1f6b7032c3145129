#include "platform/report/ReportJob.h"

#include "platform/report/IReportControl.h"
#include "platform/vb/Convert.h"

namespace report {

namespace {

constexpr double U = kUnitsPerMM;
// Rounding slack when a row is measured against the space left (a hundredth of a unit).
constexpr double kSlack = 0.01;
// A split row moves on by at least this much per page (units), so a template whose header and
// footer leave no room still ends.
constexpr double kMinProgress = 1.0 * U;

}  // namespace

// What conditions and texts see: values in the order the context asks for, then the sums.
class ReportJob::Scope : public ValueScope {
 public:
  Scope(const ValueSet& first, const ValueSet& second, const ReportJob& job, bool last)
      : m_first(first), m_second(second), m_job(job), m_last(last) {}

  std::optional<ReportValue> value(const QString& name) const override {
    if (auto v = m_first.find(name)) return v;
    if (auto v = m_second.find(name)) return v;
    for (const SumSpec& s : m_job.m_tpl.sums)
      if (s.name.compare(name, Qt::CaseInsensitive) == 0) {
        const auto& sums = s.perPage ? m_job.m_pageSums : m_job.m_sums;
        return ReportValue{vb::numberToText(sums.value(s.name.toCaseFolded())), kTypeNumeric};
      }
    return std::nullopt;
  }
  int page() const override { return m_job.m_page; }
  bool lastPage() const override { return m_last; }
  QList<DefinedValue> all(bool fields) const override {
    const bool ersteSindFelder = &m_first == &m_job.m_fields;
    return (ersteSindFelder == fields ? m_first : m_second).all();
  }

 private:
  const ValueSet& m_first;
  const ValueSet& m_second;
  const ReportJob& m_job;
  bool m_last;
};

ReportJob::ReportJob(Template tpl, const ValueSet& fields, const ValueSet& variables,
                     std::shared_ptr<TextLayoutCache> layouts)
    : m_tpl(std::move(tpl)),
      m_fields(fields),
      m_variables(variables),
      m_layouts(layouts ? std::move(layouts) : std::make_shared<TextLayoutCache>()) {
  m_layouts->startJob();
  m_images.setFolder(m_tpl.folder);
}

double ReportJob::bodyTop() const { return (m_page <= 1 ? m_tpl.table.top : m_tpl.table.topFollowing) * U; }

void ReportJob::openPage() {
  ++m_page;
  m_pageOpen = true;
  m_pageVariables = m_variables;
  m_body = PageContent();
  m_y = bodyTop();
  m_rowsOnPage = 0;
  m_tableOnPage = false;
  m_headerOnPage = false;
  m_labelSlot = 0;
  m_pageSums.clear();
}

void ReportJob::closePage(bool last) {
  if (m_tableOnPage) printFooter(last);
  PageContent page;
  const Scope scope(m_pageVariables, m_fields, *this, last);
  QList<DrawObject> objects;
  for (const DrawObject& o : m_tpl.objects) {
    const bool show = o.pages == PageRule::All || (o.pages == PageRule::First && m_page == 1) ||
                      (o.pages == PageRule::Following && m_page > 1) || (o.pages == PageRule::Last && last) ||
                      (o.pages == PageRule::NotLast && !last);
    if (show) objects.append(o);
  }
  ObjectPainter(m_images, *m_layouts).draw(&page, objects, scope);
  page.append(m_body);
  m_pages.addPage(m_tpl.pageSize, std::move(page));
  m_body = PageContent();
  m_pageOpen = false;
}

double ReportJob::measure(const QList<RowLayout>& layouts, bool last) const {
  const Scope scope(m_fields, m_variables, *this, last);
  ObjectPainter painter(m_images, *m_layouts);
  double height = 0;
  for (const RowLayout& l : layouts)
    if (l.when.test(scope))
      height += qMax(l.minHeight * U, (l.paddingTop + l.paddingBottom) * U + painter.draw(nullptr, l.objects, scope));
  return height;
}

ReportJob::RenderedRow ReportJob::render(const QList<RowLayout>& layouts, bool last, double from, double to) const {
  const Scope scope(m_fields, m_variables, *this, last);
  ObjectPainter objectPainter(m_images, *m_layouts);
  RenderedRow row;
  for (const RowLayout& l : layouts) {
    if (!l.when.test(scope)) continue;
    const double top = row.height + l.paddingTop * U;
    objectPainter.setWindow(from - top, to - top);
    QList<LineSpan> spans;
    PageContent part;
    const double h = objectPainter.draw(&part, l.objects, scope, &spans);
    row.content.append(part, QPointF(0, top));
    for (const LineSpan& s : spans) row.spans.append({s.top + top, s.bottom + top});
    row.height += qMax(l.minHeight * U, (l.paddingTop + l.paddingBottom) * U + h);
  }
  return row;
}

// Puts the part from `from` to `to` of a row rendered with that window at the body's end.
void ReportJob::place(const RenderedRow& row, double from, double to) {
  m_body.append(row.content, QPointF(m_tpl.table.x * U, m_y - from));
  m_y += to - from;
}

// The header goes above the first row of the page that one of its layouts holds for: a page
// that opens with rows the header does not belong over (an opening text) gets it further down.
void ReportJob::startTable() {
  m_tableOnPage = true;
  m_tableInJob = true;
  if (m_headerOnPage) return;
  const RenderedRow header = render(m_tpl.table.header, false);
  if (header.height <= 0) return;
  place(header, 0, header.height);
  m_headerOnPage = true;
}

void ReportJob::printFooter(bool last) {
  const RenderedRow footer = render(m_tpl.table.footer, last);
  if (footer.height > 0) place(footer, 0, footer.height);
}

void ReportJob::addToSums() {
  const Scope scope(m_fields, m_variables, *this, false);
  for (const SumSpec& s : m_tpl.sums) {
    if (!s.when.test(scope)) continue;
    const auto v = scope.value(s.value);
    const double n = v ? v->number().value_or(0.0) : 0.0;
    m_sums[s.name.toCaseFolded()] += n;
    m_pageSums[s.name.toCaseFolded()] += n;
  }
}

int ReportJob::printVariables() {
  if (m_tpl.projectType == kProjectList) {
    if (m_pageOpen) closePage(false);
    openPage();
    return kOk;
  }
  const LabelSpec& g = m_tpl.label;
  if (!m_pageOpen) openPage();
  if (m_labelSlot >= g.columns * g.rows) {
    closePage(false);
    openPage();
  }
  const int col = g.byColumns ? m_labelSlot / g.rows : m_labelSlot % g.columns;
  const int row = g.byColumns ? m_labelSlot % g.rows : m_labelSlot / g.columns;
  const QRectF box((g.x + col * (g.width + g.gapX)) * U, (g.y + row * (g.height + g.gapY)) * U, g.width * U, g.height * U);
  PageContent label;
  ObjectPainter(m_images, *m_layouts).draw(&label, g.objects, Scope(m_variables, m_fields, *this, false));
  m_body.setClip(box);
  m_body.append(label, box.topLeft());
  m_body.setClip(std::nullopt);
  ++m_labelSlot;
  return kOk;
}

int ReportJob::printFields() {
  if (m_tpl.projectType != kProjectList) return kOk;
  if (!m_pageOpen) openPage();
  const RenderedRow row = render(m_tpl.table.rows, false);
  if (row.height <= 0) return kOk;
  const double header = m_headerOnPage ? 0 : measure(m_tpl.table.header, false);
  const double footer = measure(m_tpl.table.footer, false);
  const double room = m_tpl.table.bottom * U - m_y - header - footer;
  if (row.height <= room + kSlack) {
    startTable();
    addToSums();
    place(row, 0, row.height);
    ++m_rowsOnPage;
    return kOk;
  }
  if (m_rowsOnPage > 0) return kPageFull;
  startTable();
  addToSums();
  splitRow(row);
  ++m_rowsOnPage;
  return kOk;
}

// A row taller than an empty page goes on over as many pages as it needs, cut between text
// lines where the lines allow it.
void ReportJob::splitRow(const RenderedRow& row) {
  double offset = 0;
  while (offset < row.height - kSlack) {
    const double room = m_tpl.table.bottom * U - m_y - measure(m_tpl.table.footer, false);
    if (row.height - offset <= room + kSlack) {
      place(render(m_tpl.table.rows, false, offset, row.height), offset, row.height);
      return;
    }
    double cut = offset + room;
    // The lowest line bottom that fits, unless a line crosses it.
    double best = offset;
    for (const LineSpan& s : row.spans) {
      if (s.bottom <= cut + kSlack && s.bottom > best) {
        bool crossed = false;
        for (const LineSpan& o : row.spans)
          if (o.top < s.bottom - kSlack && o.bottom > s.bottom + kSlack) crossed = true;
        if (!crossed) best = s.bottom;
      }
    }
    if (best > offset + kSlack) cut = best;
    if (cut < offset + kMinProgress) cut = offset + kMinProgress;
    cut = qMin(cut, row.height);
    place(render(m_tpl.table.rows, false, offset, cut), offset, cut);
    offset = cut;
    if (offset >= row.height - kSlack) return;
    closePage(false);
    openPage();
    startTable();
  }
}

StorageFile ReportJob::finish() {
  if (m_pageOpen) {
    if (m_tpl.projectType == kProjectList && m_tableInJob) {
      const double header = m_tableOnPage ? 0 : measure(m_tpl.table.header, true);
      const double room = m_tpl.table.bottom * U - m_y - header;
      if (measure(m_tpl.table.footer, true) > room + kSlack && m_tableOnPage) {
        closePage(false);
        openPage();
      }
      if (!m_tableOnPage) startTable();
    }
    closePage(true);
  }
  return std::move(m_pages);
}

}  // namespace report
