#include "qr/MaskPenalty.h"

#include "qr/EncodePlan.h"

#include <bit>
#include <cstdlib>
#include <cstring>

namespace quillet {

namespace qr {

namespace {

static_assert(std::endian::native == std::endian::little, "byte i of a loaded word is the cell at offset i");

constexpr uint64_t EveryFourthBit = 0x1111111111111111ULL;
constexpr uint64_t LowNibbles = 0x0F0F0F0F0F0F0F0FULL;
constexpr uint64_t ByteOnes = 0x0101010101010101ULL;

uint64_t Load8(const uint8_t* cells) {
  uint64_t word;
  std::memcpy(&word, cells, 8);
  return word;
}

// Keeps the first `count` cells of a word of eight.
uint64_t FirstCells(int count) {
  if (count >= 8) return ~0ULL;
  if (count <= 0) return 0;
  return (1ULL << (8 * count)) - 1;
}

// Bit m of `bits` becomes byte m (0 or 1).
constexpr std::array<uint64_t, 256> SpreadTable = [] {
  std::array<uint64_t, 256> table{};
  for (int bits = 0; bits < 256; ++bits)
    for (int m = 0; m < 8; ++m)
      if (bits >> m & 1) table[bits] |= 1ULL << (8 * m);
  return table;
}();

// Counts set bits per mask over words of eight cells. The eight mask bits of
// each cell are split into 4-bit fields (masks k and k + 4 share the shift k),
// which are summed up to 15 times before they could overflow.
class LaneCounter {
 public:
  void Add(uint64_t word) {
    for (int k = 0; k < 4; ++k) fields_[k] += (word >> k) & EveryFourthBit;
    if (++pending_ == 15) Flush();
  }
  std::array<int32_t, 8> Totals() {
    Flush();
    return totals_;
  }

 private:
  static int32_t SumOfBytes(uint64_t word) { return static_cast<int32_t>((word * ByteOnes) >> 56); }
  void Flush() {
    for (int k = 0; k < 4; ++k) {
      totals_[k] += SumOfBytes(fields_[k] & LowNibbles);
      totals_[k + 4] += SumOfBytes(fields_[k] >> 4 & LowNibbles);
      fields_[k] = 0;
    }
    pending_ = 0;
  }

  std::array<uint64_t, 4> fields_{};
  std::array<int32_t, 8> totals_{};
  int pending_ = 0;
};

struct LineTerms {
  LaneCounter sameSix;     // windows of six equal cells
  LaneCounter runEnds;     // a window of six equal cells followed by the other colour
  LaneCounter finders;     // dark, light, dark, dark, dark, light, dark
  std::array<int32_t, 8> openWindows{};  // windows of six inside the run still open at the line's end
};

// A run of L > 5 ended by the other colour scores L - 2: its L - 5 windows of
// six plus 3 for its end. Windows of the run open at the end are taken back.
void ScoreLine(const uint8_t* cells, int side, LineTerms& terms) {
  const int windowStarts = side - 5;
  for (int p = 0; p < windowStarts; p += 8) {
    const uint64_t c0 = Load8(cells + p), c1 = Load8(cells + p + 1), c2 = Load8(cells + p + 2),
                   c3 = Load8(cells + p + 3), c4 = Load8(cells + p + 4), c5 = Load8(cells + p + 5),
                   c6 = Load8(cells + p + 6);
    const uint64_t d0 = c0 ^ c1, d1 = c1 ^ c2, d2 = c2 ^ c3, d3 = c3 ^ c4, d4 = c4 ^ c5, d5 = c5 ^ c6;
    const uint64_t sameSix = ~(d0 | d1 | d2 | d3 | d4);
    const uint64_t sevenFit = FirstCells(windowStarts - 1 - p);
    terms.sameSix.Add(sameSix & FirstCells(windowStarts - p));
    terms.runEnds.Add(sameSix & d5 & sevenFit);
    terms.finders.Add(c0 & d0 & d1 & ~d2 & ~d3 & d4 & d5 & sevenFit);
  }
  uint8_t open = 0xFF;
  uint64_t extraLengths = 0;
  for (int p = side - 2; p >= 0 && open != 0; --p) {
    open &= static_cast<uint8_t>(~(cells[p] ^ cells[p + 1]));
    extraLengths += SpreadTable[open];
  }
  for (int m = 0; m < 8; ++m) {
    const int length = 1 + static_cast<int>(extraLengths >> (8 * m) & 0xFF);
    if (length > 5) terms.openWindows[m] += length - 5;
  }
}

std::array<int32_t, 8> DarkCounts(const uint8_t* columns, int side) {
  LaneCounter dark;
  for (int x = 0; x < side; ++x)
    for (int p = 0; p < side; p += 8) dark.Add(Load8(columns + x * LineStride + p));
  return dark.Totals();
}

}  // namespace

MaskPenalties ScoreMasks(const uint8_t* columns, const uint8_t* rows, int side, int dataModules) {
  LineTerms terms;
  for (int line = 0; line < side; ++line) {
    ScoreLine(columns + line * LineStride, side, terms);
    ScoreLine(rows + line * LineStride, side, terms);
  }
  const std::array<int32_t, 8> sameSix = terms.sameSix.Totals(), runEnds = terms.runEnds.Totals(),
                               finders = terms.finders.Totals(), dark = DarkCounts(columns, side);
  MaskPenalties penalties;
  for (int m = 0; m < 8; ++m) {
    penalties.Runs[m] = sameSix[m] - terms.openWindows[m] + 3 * runEnds[m];
    penalties.FinderPatterns[m] = finders[m];
    penalties.Balance[m] = 2 * std::abs(dark[m] * 100 / dataModules - 50);
  }
  return penalties;
}

int ChooseMask(const MaskPenalties& penalties) {
  int chosen = 0;
  for (int m = 1; m < 8; ++m)
    if (penalties.Total(m) <= penalties.Total(chosen)) chosen = m;
  return chosen;
}

}  // namespace qr

}  // namespace quillet
