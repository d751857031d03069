#include <iostream>
#include <string>
#include <vector>

#include "cli/CliRun.h"
#include "cli/Translate.h"

using namespace quillet;

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  SpeakUserLanguage();
  const std::vector<std::string> args(argv + 1, argv + argc);
  return RunCli(args, std::cin, std::cout, std::cerr);
}
