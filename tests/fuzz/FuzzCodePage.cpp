// Code page conversion with arbitrary bytes as UTF-8: accepted text must
// come back unchanged from its code page bytes; rejected text says why.
#include <string>

#include "content/CodePage.h"
#include "tests/support/Require.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view utf8(reinterpret_cast<const char*>(data), size);
  TextProblem problem;
  const auto bytes = Utf8ToCodePage(utf8, &problem);
  if (!bytes) {
    Require(problem.failure != TextFailure::None && problem.offset < utf8.size());
    return 0;
  }
  const auto back = CodePageToUtf8(*bytes);
  Require(back && *back == utf8);
  return 0;
}
