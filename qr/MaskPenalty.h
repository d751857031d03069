// The encoder's own mask penalty, evaluated for all eight masks at once on
// bit-parallel cells (bit m of a cell byte = the module under mask m).
#pragma once

#include <array>
#include <cstdint>

namespace quillet {

namespace qr {

struct MaskPenalties {
  std::array<int32_t, 8> Runs{};            // L - 2 for each run of L > 5 ended by the other colour
  std::array<int32_t, 8> FinderPatterns{};  // count of dark-light-dark-dark-dark-light-dark
  std::array<int32_t, 8> Balance{};         // 2 * |dark * 100 / S - 50|

  int32_t Total(int mask) const { return Runs[mask] + 40 * FinderPatterns[mask] + Balance[mask]; }
};

// `columns` holds column x at x * LineStride, `rows` row y at y * LineStride;
// both cover side x side cells, and every byte from `side` to LineStride of a
// line is zero. `dataModules` is S, the divisor of the balance term.
MaskPenalties ScoreMasks(const uint8_t* columns, const uint8_t* rows, int side, int dataModules);

// Lowest total; among equal totals the highest mask reference.
int ChooseMask(const MaskPenalties& penalties);

}  // namespace qr

}  // namespace quillet
