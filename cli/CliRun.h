// quillet-cli as a function, so tests run it in process.
#pragma once

#include <ostream>
#include <span>
#include <string>

enum CliExitStatus : int {
  ExitOk = 0,
  ExitUsage = 1,
  ExitDoesNotFit = 2,
  ExitWriteFailed = 3,
};

// `args` are the words after the program name.
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err);
