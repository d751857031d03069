// Helpers shared by the Data Matrix tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "datamatrix/DmEncoder.h"

inline const uint8_t* Bytes(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

inline std::vector<int> DataCodewords(const std::string& text, int scheme) {
  uint8_t buffer[DmCodewordBufferSize];
  const int count = DmEncodeData(Bytes(text), static_cast<int>(text.size()), scheme, buffer);
  return std::vector<int>(buffer, buffer + count);
}
