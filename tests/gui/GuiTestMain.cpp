#include <gtest/gtest.h>

#include <QApplication>

#include "app/TesselApp.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  ConfigureApplication(app);
  return RUN_ALL_TESTS();
}
