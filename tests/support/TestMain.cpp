// Every test program runs with a QApplication on the offscreen platform, so windows and dialogs
// can be created and driven.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Skrivant"));
  QGuiApplication::setApplicationDisplayName(QStringLiteral("Skrivant"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
