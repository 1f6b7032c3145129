// The screen (1920×1080) and the scale (200 %) are fixed before the application starts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  QTemporaryDir dir;
  QFile f(dir.filePath(QStringLiteral("bildschirm.json")));
  if (!f.open(QIODevice::WriteOnly) || f.write(R"({"screens": [{"name": "B", "width": 1920, "height": 1080, "logicalDpi": 96}]})") < 0) return 1;
  f.close();
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(f.fileName()));
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Skrivant"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
