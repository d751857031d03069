// ECC 200 module placement: the walk that puts each codeword's eight bits
// into the data area, and the corner shapes it uses at the edges. The walk
// depends on the size only, so it runs once per size, into a map of where
// each module takes its bit from; placing codewords then reads the map.
#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>

#include "datamatrix/DmEncoder.h"
#include "datamatrix/DmModules.h"
#include "datamatrix/DmSizeTable.h"

namespace quillet {

namespace {

using Offsets = std::array<std::array<int, 2>, 8>;  // (row, column), bit 7 first

// Around the codeword's anchor (row, col).
constexpr Offsets kStandardShape = {{{-2, -2}, {-2, -1}, {-1, -2}, {-1, -1}, {-1, 0}, {0, -2}, {0, -1}, {0, 0}}};

// Corner shapes: a negative coordinate counts from the far edge (-1 the last).
constexpr std::array<Offsets, 4> kCornerShapes = {{
    {{{-1, 0}, {-1, 1}, {-1, 2}, {0, -2}, {0, -1}, {1, -1}, {2, -1}, {3, -1}}},
    {{{-3, 0}, {-2, 0}, {-1, 0}, {0, -4}, {0, -3}, {0, -2}, {0, -1}, {1, -1}}},
    {{{-3, 0}, {-2, 0}, {-1, 0}, {0, -2}, {0, -1}, {1, -1}, {2, -1}, {3, -1}}},
    {{{-1, 0}, {-1, -1}, {0, -3}, {0, -2}, {0, -1}, {1, -3}, {1, -2}, {1, -1}}},
}};

// Records the walk: for each codeword the data-area positions (row after
// row) of its eight modules, bit 7 first.
class Placer {
 public:
  Placer(uint16_t* positions, bool* visited, int rows, int columns)
      : positions_(positions), visited_(visited), rows_(rows), columns_(columns) {
    std::fill_n(visited_, rows * columns, false);
  }

  int Placed() const { return next_; }
  bool Visited(int row, int col) const { return visited_[row * columns_ + col]; }

  void Standard(int row, int col) {
    const int codeword = next_++;
    for (int bit = 0; bit < 8; ++bit) Bit(row + kStandardShape[bit][0], col + kStandardShape[bit][1], codeword, bit);
  }

  void Corner(int shape) {
    const int codeword = next_++;
    for (int bit = 0; bit < 8; ++bit) {
      const auto [r, c] = kCornerShapes[shape][bit];
      Bit(r < 0 ? rows_ + r : r, c < 0 ? columns_ + c : c, codeword, bit);
    }
  }

  // A corner left over by the walk gets a fixed pattern: dark diagonal.
  bool CornerLeftOver() const { return !Visited(rows_ - 1, columns_ - 1); }

 private:
  // Positions beyond the top or left edge wrap to the opposite side.
  void Bit(int row, int col, int codeword, int bit) {
    if (row < 0) {
      row += rows_;
      col += 4 - ((rows_ + 4) % 8);
    }
    if (col < 0) {
      col += columns_;
      row += 4 - ((columns_ + 4) % 8);
    }
    visited_[row * columns_ + col] = true;
    positions_[codeword * 8 + bit] = static_cast<uint16_t>(row * columns_ + col);
  }

  uint16_t* positions_;
  bool* visited_;
  int rows_;
  int columns_;
  int next_ = 0;
};

int CornerAt(int row, int col, int rows, int columns) {
  if (row == rows && col == 0) return 0;
  if (row == rows - 2 && col == 0 && columns % 4 != 0) return 1;
  if (row == rows - 2 && col == 0 && columns % 8 == 4) return 2;
  if (row == rows + 4 && col == 2 && columns % 8 == 0) return 3;
  return -1;
}

// Returns the number of codewords placed.
int Walk(Placer& placer, int rows, int columns) {
  int row = 4;
  int col = 0;
  do {
    if (const int corner = CornerAt(row, col, rows, columns); corner >= 0) placer.Corner(corner);
    do {  // up and to the right
      if (row < rows && col >= 0 && !placer.Visited(row, col)) placer.Standard(row, col);
      row -= 2;
      col += 2;
    } while (row >= 0 && col < columns);
    row += 1;
    col += 3;
    do {  // down and to the left
      if (row >= 0 && col < columns && !placer.Visited(row, col)) placer.Standard(row, col);
      row += 2;
      col -= 2;
    } while (row < rows && col >= 0);
    row += 3;
    col += 1;
  } while (row < rows || col < columns);
  return placer.Placed();
}

int AreaSize(int sizeIndex) {
  return DmSizeAttribute(sizeIndex, DataAreaRows) * DmSizeAttribute(sizeIndex, DataAreaColumns);
}

struct Walks {
  std::array<int, DmSizeCount + 1> start{};
  std::array<std::atomic<int>, DmSizeCount> placed{};  // 0 until the size's walk is recorded
  std::array<bool, DmSizeCount> cornerLeftOver{};
  std::mutex recording;
  // Room for the eight positions of every codeword the walk places.
  std::array<uint16_t, dm::kAllDataAreaModules> positions;
};

Walks& AllWalks() {
  static Walks walks;
  static const bool laidOut = [] {
    for (int i = 0; i < DmSizeCount; ++i) walks.start[i + 1] = walks.start[i] + AreaSize(i);
    return true;
  }();
  (void)laidOut;
  return walks;
}

// The walk of the size, recorded on first use.
const uint16_t* WalkOf(int sizeIndex, int& placed, bool& cornerLeftOver) {
  Walks& walks = AllWalks();
  uint16_t* positions = walks.positions.data() + walks.start[sizeIndex];
  placed = walks.placed[sizeIndex].load(std::memory_order_acquire);
  if (placed == 0) {
    const std::lock_guard<std::mutex> lock(walks.recording);
    placed = walks.placed[sizeIndex].load(std::memory_order_relaxed);
    if (placed == 0) {
      const int rows = DmSizeAttribute(sizeIndex, DataAreaRows);
      const int columns = DmSizeAttribute(sizeIndex, DataAreaColumns);
      static std::array<bool, 132 * 132> visited;  // the largest data area; guarded by the lock
      Placer placer(positions, visited.data(), rows, columns);
      placed = Walk(placer, rows, columns);
      walks.cornerLeftOver[sizeIndex] = placer.CornerLeftOver();
      walks.placed[sizeIndex].store(placed, std::memory_order_release);
    }
  }
  cornerLeftOver = walks.cornerLeftOver[sizeIndex];
  return positions;
}

// For every codeword value, the module state of each of its bits, bit 7
// first. By table, not by branch: codeword bits are as good as random.
constexpr auto kBitStates = [] {
  std::array<std::array<uint8_t, 8>, 256> states{};
  for (int value = 0; value < 256; ++value)
    for (int bit = 0; bit < 8; ++bit)
      states[value][bit] = static_cast<uint8_t>(dm::kPlacedModule | dm::kVisitedModule |
                                                (((value >> (7 - bit)) & 1) != 0 ? dm::kDarkModule : 0));
  return states;
}();

}  // namespace

int DmPlaceCodewords(int sizeIndex, uint8_t* modules, const uint8_t* codewords) {
  if (sizeIndex < 0 || sizeIndex >= DmSizeCount || modules == nullptr || codewords == nullptr) return 0;
  int placed = 0;
  bool cornerLeftOver = false;
  const uint16_t* positions = WalkOf(sizeIndex, placed, cornerLeftOver);
  for (int c = 0; c < placed; ++c, positions += 8) {
    const auto& states = kBitStates[codewords[c]];
    for (int bit = 0; bit < 8; ++bit) modules[positions[bit]] |= states[bit];
  }
  if (cornerLeftOver) {
    const int rows = DmSizeAttribute(sizeIndex, DataAreaRows);
    const int columns = DmSizeAttribute(sizeIndex, DataAreaColumns);
    modules[(rows - 1) * columns + columns - 1] |= dm::kDarkModule;
    modules[(rows - 2) * columns + columns - 2] |= dm::kDarkModule;
  }
  return placed;
}

}  // namespace quillet
