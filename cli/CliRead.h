// quillet-cli read: the symbols in image files, as the tags that --field
// and --batch take.
#pragma once

#include <istream>
#include <ostream>
#include <span>
#include <string>

namespace quillet {

// `args` are the words after "read". Exit status ExitOk when every file gave
// a symbol, ExitNoSymbol when some did not (each named on `err` with why),
// ExitUsage for bad options.
int RunReadCli(std::span<const std::string> args, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace quillet
