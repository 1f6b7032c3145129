#pragma once
// The icon of a stock server in the desktop's notification area, with its tooltip, turning the
// user's clicks on it into the events the server windows handle (a right button press opens
// their tray menu).
//
// Qt reports clicks on the icon as whole actions, not as button presses and releases, and has no
// event for a pointer resting on the icon. So each action the icon reports raises:
//   left click          MouseMove, MouseDown(1), MouseUp(1)
//   right click (menu)  MouseMove, MouseDown(2), MouseUp(2)
//   double click        MouseMove, DblClick
//   middle click, other nothing
//
// Without a notification area (a desktop without one, the offscreen platform) the control keeps
// its state as usual, `Visible` included, but no icon appears; isTrayAvailable() tells a window
// so, which then must stay reachable without the icon.
#include <QIcon>
#include <QObject>
#include <QString>

class QSystemTrayIcon;

class TrayArea : public QObject {
  Q_OBJECT
 public:
  // Button values of MouseDown and MouseUp.
  enum Button : int { LeftButton = 1, RightButton = 2 };

  explicit TrayArea(QObject* parent = nullptr);
  ~TrayArea() override;  // removes the icon

  QIcon Icon() const { return m_icon; }
  // A null icon removes the icon from the notification area and sets Visible to False.
  void set_Icon(const QIcon& New_Icon);

  QString ToolTip() const { return m_toolTip; }
  // Stored without leading and trailing blanks; shown at once when the icon is visible.
  void let_ToolTip(const QString& New_ToolTip);

  bool Visible() const { return m_visible; }
  // Adds the icon to the notification area or removes it; setting the current value does nothing.
  void let_Visible(bool New_Visible);

  // Whether the desktop has a notification area to show the icon in.
  static bool isTrayAvailable();

 signals:
  void MouseMove();
  void MouseDown(int Button);
  void MouseUp(int Button);
  void DblClick();

 private:
  void onActivated(int reason);

  QSystemTrayIcon* m_tray;
  QIcon m_icon;
  QString m_toolTip;
  bool m_visible = false;
};
