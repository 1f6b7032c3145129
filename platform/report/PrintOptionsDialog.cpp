#include "platform/report/PrintOptionsDialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/report/IReportControl.h"

namespace report {

PrintOptionsDialog::PrintOptionsDialog(const PrintOptionsRequest& request, QWidget* parent)
    : QDialog(parent), m_details(new QLabel(this)) {
  setWindowTitle(request.text);
  QStringList lines;
  if (!request.jobTitle.isEmpty()) lines << QStringLiteral("Auftrag: %1").arg(request.jobTitle);
  if (!request.templatePath.isEmpty()) {
    const QString kind = request.projectType == kProjectLabel ? QStringLiteral("Etikettenvorlage")
                                                              : QStringLiteral("Listenvorlage");
    lines << QStringLiteral("%1: %2").arg(kind, QFileInfo(request.templatePath).fileName());
  }
  m_details->setObjectName(QStringLiteral("detailsLabel"));
  m_details->setTextFormat(Qt::PlainText);
  m_details->setText(lines.join(u'\n'));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
  QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
  cancel->setObjectName(QStringLiteral("cancelButton"));
  cancel->setText(QStringLiteral("Abbrechen"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_details);
  layout->addWidget(buttons);
  setMinimumWidth(360);
}

}  // namespace report
