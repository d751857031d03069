// 通用格式 composition with fuzzed values (any bytes) and tabs: never a crash
// or a hang, a payload or a problem but never both, and a payload of valid
// UTF-8 only.
#include <string>

#include "content/CodePage.h"
#include "content/GeneralPayload.h"
#include "tests/support/Require.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int tab = data[0] % 10;  // 9 is no tab
  FieldValueArray values;
  for (size_t i = 1; i + 1 < size;) {
    const size_t length = std::min<size_t>(data[i + 1], size - i - 2);
    values[data[i] % FieldSlotCount].assign(reinterpret_cast<const char*>(data + i + 2), length);
    i += 2 + length;
  }
  FieldProblem problem;
  const std::string payload = ComposeGeneralPayload(values, tab, &problem);
  Require(payload.empty() || !problem);
  Require(IsValidUtf8(payload));
  if (tab == 9) Require(payload.empty() && !problem);
  return 0;
}
