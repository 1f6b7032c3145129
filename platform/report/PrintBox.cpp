#include "platform/report/PrintBox.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace report {

PrintBox::PrintBox(const QString& title, QWidget* parent)
    : QDialog(parent),
      m_text(new QLabel(this)),
      m_progress(new QProgressBar(this)),
      m_cancel(new QPushButton(QStringLiteral("Abbrechen"), this)) {
  setWindowTitle(title);
  setModal(false);
  m_text->setObjectName(QStringLiteral("textLabel"));
  m_text->setMinimumWidth(320);
  m_progress->setObjectName(QStringLiteral("progressBar"));
  m_progress->setRange(0, 100);
  m_progress->setValue(0);
  m_cancel->setObjectName(QStringLiteral("cancelButton"));
  connect(m_cancel, &QPushButton::clicked, this, &PrintBox::cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_text);
  layout->addWidget(m_progress);
  layout->addWidget(m_cancel, 0, Qt::AlignRight);
}

void PrintBox::setText(const QString& text, int percent) {
  m_text->setText(text);
  m_progress->setValue(std::clamp(percent, 0, 100));
  // Only events already queued: the job must not wait here for the user.
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void PrintBox::cancel() {
  if (m_cancelled) return;
  m_cancelled = true;
  m_cancel->setEnabled(false);
}

QString PrintBox::text() const { return m_text->text(); }

int PrintBox::percent() const { return m_progress->value(); }

void PrintBox::closeEvent(QCloseEvent* event) {
  cancel();
  event->ignore();
}

void PrintBox::reject() { cancel(); }

}  // namespace report
