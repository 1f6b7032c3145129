#pragma once
// The progress box of a print job: a text, a progress bar and an "Abbrechen" button. Shown
// without waiting (ui::dialogs().showWindow(box, "printbox")); the report control reads
// cancelled() before each print call and ends the job when it is set. The box stays until
// its owner deletes it, so the user sees the job wind down.
#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace report {

class PrintBox : public QDialog {
  Q_OBJECT
 public:
  explicit PrintBox(const QString& title, QWidget* parent = nullptr);

  // Text and percent (kept within 0..100). Lets pending events run, so the box repaints and
  // its cancel button answers while the job keeps the main thread busy.
  void setText(const QString& text, int percent);

  bool cancelled() const { return m_cancelled; }
  // What the cancel button does; closing the box by its frame or Escape does the same.
  void cancel();

  QString text() const;
  int percent() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  QLabel* m_text;
  QProgressBar* m_progress;
  QPushButton* m_cancel;
  bool m_cancelled = false;
};

}  // namespace report
