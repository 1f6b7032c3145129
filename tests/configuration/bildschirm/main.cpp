// The engine's windows on a 1920×1080 screen at 200 %: the scale and the screen are fixed when
// the application starts, so this program sets them up itself.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  QTemporaryDir dir;
  const QString config = dir.filePath(QStringLiteral("bildschirm.json"));
  QFile f(config);
  if (!f.open(QIODevice::WriteOnly) ||
      f.write(R"({"screens": [{"name": "Bildschirm", "x": 0, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96}]})") < 0)
    return 1;
  f.close();
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Skrivant"));
  QGuiApplication::setApplicationDisplayName(QStringLiteral("Skrivant"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
