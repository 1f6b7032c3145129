#include "foundation/frmInfoFenster.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/modDebugOutput.h"
#include "platform/automation/LateBinding.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/ProgramInfo.h"
#include "platform/vb/ErrorStyle.h"

frmInfoFenster::frmInfoFenster(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Skrivant"));
  setWindowIcon(ui::programIcon());

  auto* ProgInfo = new QLabel(QStringLiteral("Version: ") + ui::programVersion(), this);
  ProgInfo->setObjectName(QStringLiteral("ProgInfo"));

  m_strInfo = new QLabel(this);
  m_strInfo->setObjectName(QStringLiteral("strInfo"));
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(9.75);
  font.setBold(true);
  m_strInfo->setFont(font);
  m_strInfo->setMinimumWidth(320);

  auto* cmdCancel = new QPushButton(QStringLiteral("Druck abbrechen"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  connect(cmdCancel, &QPushButton::clicked, this, &frmInfoFenster::cmdCancel_Click);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ProgInfo);
  layout->addWidget(m_strInfo);
  layout->addWidget(cmdCancel, 0, Qt::AlignRight);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

frmInfoFenster::~frmInfoFenster() {
  DebugOutput(QStringLiteral("->InfoFensterterminate"));
  m_parent.clear();
  DebugOutput(QStringLiteral("InfoFensterterminate->"));
}

void frmInfoFenster::SetInfoText(const QString& Wert) {
  m_strInfo->setText(Wert);
  QCoreApplication::processEvents();
}

void frmInfoFenster::cmdCancel_Click() {
  if (ui::MsgBox(QStringLiteral("Möchten Sie die Druckausgabe wirklich abbrechen?"),
                 ui::vbYesNo + ui::vbQuestion + ui::vbDefaultButton2, ui::programTitle()) != ui::vbYes)
    return;
  // The dunning run lets go of its window inside its own CancelOutput, so a second confirmed
  // click can find no owner: then there is nothing left to cancel.
  if (!m_parent) return;
  // An event handler is the end of the road for an error: it is logged, never passed on.
  vb::leaveOnError(QStringLiteral("frmInfoFenster.cmdCancel_Click"), [this] {
    automation::callByName(*m_parent, QStringLiteral("CancelOutput"), automation::CallKind::Method);
  });
}
