#include <gtest/gtest.h>

#include <QApplication>

#include "gui/DialogUnits.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  QApplication::setFont(DialogFont());
  return RUN_ALL_TESTS();
}
