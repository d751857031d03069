#include "content/Payload.h"

namespace quillet {

bool StoreFieldValue(FieldValueArray& values, unsigned slot, std::string text) {
  if (slot >= values.size()) return false;
  values[slot] = std::move(text);
  return true;
}

std::string ComposeFieldPayload(const FieldValueArray& values, int operatorFormat, int tab) {
  const TabSpec* tabEntry = FindTab(operatorFormat, tab);
  if (tabEntry == nullptr) return {};
  std::string fields;
  for (int slot = 0; slot < FieldSlotCount; ++slot) {
    const std::string& value = values[slot];
    if (value.empty()) continue;
    fields.append(FieldTags[slot]).append(":").append(value).append(";");
  }
  if (fields.empty()) return {};
  std::string payload(tabEntry->typeTag);
  payload.append(":").append(fields).append(";");
  return payload;
}

std::string EncoderInput(const std::string& payload) {
  std::string input("\x01\x10", 2);
  input += payload;
  return input;
}

}  // namespace quillet
