#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

#include "cli/CliRun.h"

int main(int argc, char** argv) {
  // Image-format plugins (JPEG) are found through the application's paths.
  QCoreApplication app(argc, argv);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return RunCli(args, std::cout, std::cerr);
}
