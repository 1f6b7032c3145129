#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPixmap>
#include <QStringList>
#include <QSystemTrayIcon>

#include "stockservers/common/TrayArea.h"

namespace {

class TrayAreaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tray = area.findChild<QSystemTrayIcon*>();
    ASSERT_NE(tray, nullptr);
    QObject::connect(&area, &TrayArea::MouseMove, [this] { events << QStringLiteral("MouseMove"); });
    QObject::connect(&area, &TrayArea::MouseDown, [this](int b) { events << QStringLiteral("MouseDown %1").arg(b); });
    QObject::connect(&area, &TrayArea::MouseUp, [this](int b) { events << QStringLiteral("MouseUp %1").arg(b); });
    QObject::connect(&area, &TrayArea::DblClick, [this] { events << QStringLiteral("DblClick"); });
  }
  static QIcon someIcon() {
    QPixmap p(16, 16);
    p.fill(Qt::darkGreen);
    return QIcon(p);
  }
  TrayArea area;
  QSystemTrayIcon* tray = nullptr;
  QStringList events;
};

}  // namespace

TEST_F(TrayAreaTest, ClicksOnTheIconRaiseTheButtonEvents) {
  const struct {
    QSystemTrayIcon::ActivationReason reason;
    QStringList expected;
  } cases[] = {
      {QSystemTrayIcon::Trigger, {"MouseMove", "MouseDown 1", "MouseUp 1"}},
      {QSystemTrayIcon::Context, {"MouseMove", "MouseDown 2", "MouseUp 2"}},
      {QSystemTrayIcon::DoubleClick, {"MouseMove", "DblClick"}},
      {QSystemTrayIcon::MiddleClick, {}},
      {QSystemTrayIcon::Unknown, {}},
  };
  for (const auto& c : cases) {
    events.clear();
    emit tray->activated(c.reason);
    EXPECT_EQ(events, c.expected) << c.reason;
  }
}

TEST_F(TrayAreaTest, IconToolTipAndVisibilityReachTheNotificationArea) {
  area.let_ToolTip(QStringLiteral("  Tarnelo Lagerserver \r\n 0 Treffer  "));
  EXPECT_EQ(area.ToolTip(), QStringLiteral("Tarnelo Lagerserver \r\n 0 Treffer"));
  EXPECT_EQ(tray->toolTip(), area.ToolTip());

  area.set_Icon(someIcon());
  area.let_Visible(true);
  EXPECT_TRUE(area.Visible());
  EXPECT_TRUE(tray->isVisible());
  // Taking the icon away removes it and leaves Visible False.
  area.set_Icon(QIcon());
  EXPECT_FALSE(area.Visible());
  EXPECT_FALSE(tray->isVisible());
}

// The offscreen platform has no notification area, as some desktops have none: the control says
// so, keeps its state and still turns reported clicks into events.
TEST_F(TrayAreaTest, WithoutANotificationAreaTheControlKeepsWorking) {
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) GTEST_SKIP() << "needs the offscreen platform";
  EXPECT_FALSE(TrayArea::isTrayAvailable());
  area.set_Icon(someIcon());
  area.let_Visible(true);
  EXPECT_TRUE(area.Visible());
  emit tray->activated(QSystemTrayIcon::Context);
  EXPECT_EQ(events, (QStringList{"MouseMove", "MouseDown 2", "MouseUp 2"}));
}
