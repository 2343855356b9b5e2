// The main of the window tests: a QApplication on the offscreen platform so widgets, fonts
// and images work without a display, on a screen of 1024 x 768, the smallest the program's
// windows are made for.
#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv) {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty() || platform == "offscreen")
    qputenv("QT_QPA_PLATFORM",
            "offscreen:configfile=" RUTO_SOURCE_DIR "/tests/support/screen-1024x768.json");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
