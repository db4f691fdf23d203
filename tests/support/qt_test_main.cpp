// Test main for suites that need Qt widgets: one QApplication for the whole run.
#include <QApplication>
#include <clocale>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  // libmpv refuses to start under any other numeric locale.
  std::setlocale(LC_NUMERIC, "C");
  return RUN_ALL_TESTS();
}
