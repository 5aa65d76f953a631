#include <QApplication>
#include <QLocale>

#include <cstdlib>

#include <gtest/gtest.h>

#include "controls/JapaneseDesktop.h"

// The widget tests run headless unless told otherwise; test discovery at build time runs
// this program without the test's environment, so the default is set here too.
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  SetUpJapaneseDesktop();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
