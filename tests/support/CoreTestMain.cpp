// The main of the logic tests: a QGuiApplication on the offscreen platform, enough for fonts,
// images and painting on images; these tests never link the widget library.
#include <gtest/gtest.h>
#include <QGuiApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
