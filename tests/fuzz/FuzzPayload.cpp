// Payload composition with fuzzed field values (any bytes, NUL included),
// slot numbers (also above 23), operator format and tab. The payload must
// carry every non-empty value whole, in slot order, between its tag and ";".
#include <string>

#include "content/Payload.h"
#include "tests/support/Require.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int operatorFormat = data[0] % 6;  // 0 and 5 are out of range
  const int tab = data[1] % 12;
  FieldValueArray values;
  bool anyValue = false;
  for (size_t i = 2; i + 1 < size;) {
    const unsigned slot = data[i];
    const size_t length = std::min<size_t>(data[i + 1], size - i - 2);
    std::string value(reinterpret_cast<const char*>(data + i + 2), length);
    i += 2 + length;
    const FieldValueArray before = values;
    const bool stored = StoreFieldValue(values, slot, value);
    Require(stored == (slot < FieldSlotCount));
    if (!stored) Require(values == before);
  }
  for (const std::string& value : values) anyValue |= !value.empty();

  const std::string payload = ComposeFieldPayload(values, operatorFormat, tab);
  const TabSpec* tabSpec = FindTab(operatorFormat, tab);
  if (!anyValue || !tabSpec) {
    Require(payload.empty());
    return 0;
  }
  std::string expected = std::string(tabSpec->typeTag) + ":";
  for (int slot = 0; slot < FieldSlotCount; ++slot)
    if (!values[slot].empty()) expected += std::string(FieldTags[slot]) + ":" + values[slot] + ";";
  Require(payload == expected + ";");
  const std::string input = EncoderInput(payload);
  Require(input.size() == payload.size() + 2 && input[0] == 0x01 && input[1] == 0x10);
  return 0;
}
