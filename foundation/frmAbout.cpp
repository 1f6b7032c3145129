#include "foundation/frmAbout.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "platform/ui/Dialogs.h"
#include "platform/ui/ProgramInfo.h"

namespace {

// The desktops' system-information tools, the most informative first.
const QStringList& sysInfoTools() {
  static const QStringList tools{QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
                                 QStringLiteral("gnome-system-monitor")};
  return tools;
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, bool arial) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  l->setWordWrap(true);
  if (arial) {
    QFont font = l->font();
    font.setFamily(QStringLiteral("Arial"));
    l->setFont(font);
  }
  return l;
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  aufbauen(QStringLiteral("Druckmodul der Auftragsbearbeitung für Rechnungen, Lieferscheine, Mahnungen und "
                          "Formulare, mit Vorschau, Druckstapel und PDF-Ausgabe."),
           true);
}

frmAbout::frmAbout(const QString& beschreibung, QWidget* parent) : QDialog(parent) { aufbauen(beschreibung, false); }

void frmAbout::aufbauen(const QString& beschreibung, bool vollstaendig) {
  setWindowTitle(QStringLiteral("Info zu ") + ui::programTitle());

  QLabel* lblTitle = label(this, QStringLiteral("lblTitle"), ui::programTitle(), true);
  QFont titleFont = lblTitle->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
  titleFont.setBold(true);
  lblTitle->setFont(titleFont);
  QLabel* lblVersion = label(this, QStringLiteral("lblVersion"), QStringLiteral("Version ") + ui::programVersion(), true);
  QLabel* lblDescription = label(this, QStringLiteral("lblDescription"), beschreibung, false);
  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setDefault(true);
  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOK);
  if (vollstaendig) {
    auto* cmdSysInfo = new QPushButton(QStringLiteral("&Systeminfo..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
    buttons->addWidget(cmdSysInfo);
  }
  buttons->addStretch();
  auto* bottom = new QHBoxLayout;
  if (vollstaendig)
    bottom->addWidget(label(this, QStringLiteral("lblDisclaimer"),
                            QStringLiteral("Dieses Programm ist urheberrechtlich geschützt. Vervielfältigung oder "
                                           "Weitergabe des Programms oder von Teilen daraus ist ohne Erlaubnis nicht "
                                           "gestattet."),
                            true),
                      1);
  else
    bottom->addStretch(1);
  bottom->addLayout(buttons);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblTitle);
  layout->addWidget(lblVersion);
  layout->addWidget(lblDescription);
  layout->addWidget(line);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  lblDescription->setMinimumWidth(360);
}

QString frmAbout::SysInfoTool() const {
  for (const QString& tool : sysInfoTools()) {
    const QString path = QStandardPaths::findExecutable(tool, m_toolFolders);
    if (!path.isEmpty()) return path;
  }
  return {};
}

void frmAbout::StartSysInfo() {
  const QString tool = SysInfoTool();
  if (tool.isEmpty() || !QProcess::startDetached(tool, {}))
    ui::MsgBox(QStringLiteral("Systeminformationen sind momentan nicht verfügbar"), ui::vbOKOnly);
}
