// ECC 200 module placement: the walk that puts each codeword's eight bits
// into the data area, and the corner shapes it uses at the edges. The walk
// depends on the size only, so it runs once per size, into a map of where
// each module takes its bit from; placing codewords then reads the map.
#include <array>
#include <atomic>
#include <cstdlib>
#include <mutex>

#include "datamatrix/DmEncoder.h"
#include "datamatrix/DmModules.h"

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

// A module's source: codeword index times 8 plus the bit (0 the most
// significant), or one of these for the modules the walk leaves.
constexpr uint16_t kUnvisited = 0xFFFF;
constexpr uint16_t kFixedDark = 0xFFFE;

// Records the walk into a map of the data area, row after row.
class Placer {
 public:
  Placer(uint16_t* map, int rows, int columns) : map_(map), rows_(rows), columns_(columns) {
    for (int i = 0; i < rows * columns; ++i) map_[i] = kUnvisited;
  }

  int Placed() const { return next_; }
  bool Visited(int row, int col) const { return map_[row * columns_ + col] != kUnvisited; }

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

  // A corner left over by the walk gets its fixed pattern: dark diagonal.
  void FillUnvisitedCorner() {
    if (Visited(rows_ - 1, columns_ - 1)) return;
    map_[(rows_ - 1) * columns_ + columns_ - 1] = kFixedDark;
    map_[(rows_ - 2) * columns_ + columns_ - 2] = kFixedDark;
  }

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
    map_[row * columns_ + col] = static_cast<uint16_t>(codeword * 8 + bit);
  }

  uint16_t* map_;
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
  placer.FillUnvisitedCorner();
  return placer.Placed();
}

// All sizes' maps in one static table, each built on first use.
int MapSize(int sizeIndex) {
  return DmSizeAttribute(sizeIndex, DataAreaRows) * DmSizeAttribute(sizeIndex, DataAreaColumns);
}

// The data-area modules of all 30 sizes together.
constexpr int kAllMapCells = 92640;

struct Maps {
  std::array<int, DmSizeCount + 1> start{};
  std::array<std::atomic<int>, DmSizeCount> placed{};  // 0 until the size's map is built
  std::mutex building;
  std::array<uint16_t, kAllMapCells> sources;
};

Maps& AllMaps() {
  static Maps maps;
  static const bool laidOut = [] {
    for (int i = 0; i < DmSizeCount; ++i) maps.start[i + 1] = maps.start[i] + MapSize(i);
    if (maps.start[DmSizeCount] > kAllMapCells) std::abort();  // the size table and the constant disagree
    return true;
  }();
  (void)laidOut;
  return maps;
}

const uint16_t* MapFor(int sizeIndex, int& placed) {
  Maps& maps = AllMaps();
  uint16_t* map = maps.sources.data() + maps.start[sizeIndex];
  placed = maps.placed[sizeIndex].load(std::memory_order_acquire);
  if (placed == 0) {
    const std::lock_guard<std::mutex> lock(maps.building);
    placed = maps.placed[sizeIndex].load(std::memory_order_relaxed);
    if (placed == 0) {
      const int rows = DmSizeAttribute(sizeIndex, DataAreaRows);
      const int columns = DmSizeAttribute(sizeIndex, DataAreaColumns);
      Placer placer(map, rows, columns);
      placed = Walk(placer, rows, columns);
      maps.placed[sizeIndex].store(placed, std::memory_order_release);
    }
  }
  return map;
}

// Arithmetic, not a branch: codeword bits are as good as random.
uint8_t Status(const uint8_t* codewords, uint16_t source) {
  if (source >= kFixedDark) return source == kFixedDark ? dm::kDarkModule : 0;
  const int dark = (codewords[source >> 3] >> (7 - (source & 7))) & 1;
  return static_cast<uint8_t>(dm::kDarkModule * dark | dm::kPlacedModule | dm::kVisitedModule);
}

}  // namespace

int DmPlaceCodewords(int sizeIndex, uint8_t* modules, const uint8_t* codewords) {
  if (sizeIndex < 0 || sizeIndex >= DmSizeCount || modules == nullptr || codewords == nullptr) return 0;
  int placed = 0;
  const uint16_t* map = MapFor(sizeIndex, placed);
  const int count = MapSize(sizeIndex);
  for (int i = 0; i < count; ++i) modules[i] |= Status(codewords, map[i]);
  return placed;
}
