#include <gtest/gtest.h>

#include <QApplication>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <thread>

#include "app/TesselApp.h"

using namespace quillet;

namespace {

std::ptrdiff_t ThreadCount() {
  std::error_code error;
  const std::filesystem::directory_iterator tasks("/proc/self/task", error);
  return error ? 1 : std::distance(tasks, std::filesystem::directory_iterator());
}

// Qt's thread pool, which its painting uses too, waits for its threads to
// finish their work but not for them to end. One still ending as the
// program exits holds its thread data only where the leak checker no longer
// looks, and is reported as a leak.
void WaitForTheOtherThreadsToEnd() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (ThreadCount() > 1 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QUILLET_GUI_PLATFORM);
  testing::InitGoogleTest(&argc, argv);
  int status = 0;
  {
    QApplication app(argc, argv);
    ConfigureApplication(app);
    status = RUN_ALL_TESTS();
  }
  WaitForTheOtherThreadsToEnd();
  return status;
}
