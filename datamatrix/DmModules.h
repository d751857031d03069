// Module states of the data area and the symbol layout around it; shared by
// placement, the finished grid and the tests.
#pragma once

#include <cstdint>

namespace quillet {

namespace dm {

constexpr uint8_t kDarkModule = 0x07;
constexpr uint8_t kPlacedModule = 0x10;
constexpr uint8_t kVisitedModule = 0x20;
constexpr uint8_t kFromDataArea = 0x40;

// Where one coordinate of a symbol module falls within its data region.
struct AxisCell {
  enum Kind : uint8_t { SolidLine, AlternatingLine, Data } kind;
  int dataIndex;  // data-area row or column, for Data
};

}  // namespace dm

}  // namespace quillet
