#pragma once
// Helpers for the report back end's tests: windows that answer from the test, a paint device
// that records the text drawn on it, and templates written into a temp folder.
#include <QImage>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QString>
#include <QStringList>
#include <memory>

#include "platform/report/ReportWindows.h"
#include "platform/report/StorageFile.h"

namespace reporttest {

class AnsweringWindows : public report::ReportWindows {
 public:
  // Answers.
  bool cancelBoxAfterTexts = false;  // the box's cancel is pressed once a text was shown
  int cancelAtText = 0;              // ... at this SetBoxText call (1-based)
  bool optionsOk = true;
  QString fileAnswer;

  // What was shown.
  int previews = 0;
  int previewPageCount = -1;
  QString previewTitle;
  int boxesOpened = 0, boxesClosed = 0;
  QString boxTitle;
  QStringList boxTexts;
  QList<int> boxPercents;
  QList<report::PrintOptionsRequest> optionRequests;
  QList<int> selectKinds;
  QStringList selectStarts;
  int designs = 0;
  report::DesignRequest design_;
  int designPreviewPages = -1;
  QString designError;
  QByteArray designTemplate;  // rendered through the request's preview when set

  void showPreview(const report::PageSource& pages, const QString& title, QWidget*) override {
    ++previews;
    previewPageCount = pages.pageCount();
    previewTitle = title;
  }
  void openPrintBox(const QString& title, QWidget*) override {
    ++boxesOpened;
    boxTitle = title;
  }
  void updatePrintBox(const QString& text, int percent) override {
    boxTexts << text;
    boxPercents << percent;
  }
  bool printBoxCancelled() const override {
    return cancelBoxAfterTexts && cancelAtText > 0 && boxTexts.size() >= cancelAtText;
  }
  void closePrintBox() override { ++boxesClosed; }
  bool printOptions(const report::PrintOptionsRequest& request, QWidget*) override {
    optionRequests << request;
    return optionsOk;
  }
  QString selectFile(int projectType, const QString& current, QWidget*) override {
    selectKinds << projectType;
    selectStarts << current;
    return fileAnswer;
  }
  void design(const report::DesignRequest& request, QWidget*) override {
    ++designs;
    design_ = request;
    if (!designTemplate.isEmpty()) {
      auto pages = request.render(designTemplate, &designError);
      designPreviewPages = pages ? pages->pageCount() : -1;
    }
  }
};

// One piece of text drawn, with where its baseline started (device units of 0.01 mm when drawn
// unscaled) and its font.
struct DrawnText {
  QString text;
  QPointF at;
  QFont font;
};

// A paint device of page units (0.01 mm, 96 dpi so pictures play unscaled) that keeps every
// text and picture drawn on it.
class CaptureDevice : public QPaintDevice {
 public:
  CaptureDevice(double widthUnits = 21000, double heightUnits = 29700);
  ~CaptureDevice() override;
  QPaintEngine* paintEngine() const override;

  QList<DrawnText> texts;
  int images = 0;
  int lines = 0;
  QStringList textList() const;

 protected:
  int metric(PaintDeviceMetric m) const override;

 private:
  class Engine;
  std::unique_ptr<Engine> m_engine;
  int m_width, m_height;
};

// The texts of `page` of `pages`, drawn at its own size, in drawing order.
QList<DrawnText> textsOfPage(const report::PageSource& pages, int page);
QStringList textListOfPage(const report::PageSource& pages, int page);

// Text that pdftotext reads from `pdf` (empty when the tool is missing).
QString pdfText(const QString& pdf, int page = 0);
bool havePdfToText();

}  // namespace reporttest
