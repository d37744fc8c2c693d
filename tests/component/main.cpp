// Runs the component tests inside a QApplication. Without a display the
// tests use the offscreen platform, also when run outside CTest.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication App(argc, argv);
  App.setApplicationName("VexarTests");
  return RUN_ALL_TESTS();
}
