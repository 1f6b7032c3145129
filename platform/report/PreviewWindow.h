#pragma once
// The preview: the pages of a job with page navigation and zoom (PageView's actions) and a
// "Schließen" action ("closePreview"). Run it through ui::dialogs().execWindow(window,
// "preview"); it returns when the user closes it.
#include <QDialog>

namespace report {

class PageSource;
class PageView;

class PreviewWindow : public QDialog {
  Q_OBJECT
 public:
  // `pages` must outlive the window.
  PreviewWindow(const PageSource& pages, const QString& title, QWidget* parent = nullptr);

  PageView& view() const { return *m_view; }

 private:
  PageView* m_view;
};

}  // namespace report
