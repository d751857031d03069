// quillet-cli as a function, so tests run it in process.
#pragma once

#include <istream>
#include <ostream>
#include <span>
#include <string>

namespace quillet {

enum CliExitStatus : int {
  ExitOk = 0,
  ExitUsage = 1,
  ExitDoesNotFit = 2,
  ExitWriteFailed = 3,
  ExitSomeRowsFailed = 4,
  ExitNotReadBack = 5,  // --verify: the written image does not give the encoded bytes
  ExitNoSymbol = 6,     // read: some file gave no symbol
};

// `args` are the words after the program name; `in` serves --data-file -
// and `out` -o - as well as --dump.
int RunCli(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err);
// With nothing on standard input.
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace quillet
