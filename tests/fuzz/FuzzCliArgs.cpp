// The command-line parser with fuzzed words (split at NUL bytes): it must
// either give options within their ranges or a message, never both.
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CliArgs.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> words(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) words.emplace_back();
    else words.back() += static_cast<char>(data[i]);
  }
  const CliParseResult result = ParseCliArgs(words);
  Require(result.options.has_value() == result.error.empty());
  if (!result.options) return 0;
  const CliOptions& o = *result.options;
  Require(o.scale >= 1 && o.scale <= 16);
  Require(o.version >= 0 && o.version <= 40);
  Require(o.dmSize >= -2 && o.dmSize <= 29);
  Require(o.dmScheme >= 0 && o.dmScheme <= 6);
  Require(o.operatorFormat >= 1 && o.operatorFormat <= 3);
  Require(o.level == 'L' || o.level == 'M' || o.level == 'Q' || o.level == 'H');
  if (o.command != CliCommand::Help) Require(o.dump || o.outputFile);
  return 0;
}
