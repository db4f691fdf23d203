// Test main for suites that need Qt widgets: one QApplication for the whole run.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Test discovery runs the binary without the test's environment: never
  // reach for a display that may not be there.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // libmpv refuses to start under any other numeric locale.
  std::setlocale(LC_NUMERIC, "C");
  return RUN_ALL_TESTS();
}
