#include "stockservers/common/TrayArea.h"

#include <QSystemTrayIcon>

TrayArea::TrayArea(QObject* parent) : QObject(parent), m_tray(new QSystemTrayIcon(this)) {
  connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    onActivated(reason);
  });
}

TrayArea::~TrayArea() { m_tray->hide(); }

void TrayArea::set_Icon(const QIcon& New_Icon) {
  m_icon = New_Icon;
  m_tray->setIcon(m_icon);
  if (m_icon.isNull()) let_Visible(false);
}

void TrayArea::let_ToolTip(const QString& New_ToolTip) {
  m_toolTip = New_ToolTip.trimmed();
  m_tray->setToolTip(m_toolTip);
}

void TrayArea::let_Visible(bool New_Visible) {
  if (New_Visible == m_visible) return;
  m_visible = New_Visible;
  m_tray->setVisible(m_visible);
}

bool TrayArea::isTrayAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TrayArea::onActivated(int reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      emit MouseMove();
      emit MouseDown(LeftButton);
      emit MouseUp(LeftButton);
      break;
    case QSystemTrayIcon::Context:
      emit MouseMove();
      emit MouseDown(RightButton);
      emit MouseUp(RightButton);
      break;
    case QSystemTrayIcon::DoubleClick:
      emit MouseMove();
      emit DblClick();
      break;
    default:  // middle click and whatever else a platform reports raise nothing
      break;
  }
}
