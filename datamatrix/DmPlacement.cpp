// ECC 200 module placement: the walk that puts each codeword's eight bits
// into the data area, and the corner shapes it uses at the edges.
#include <array>

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

class Placer {
 public:
  Placer(uint8_t* modules, int rows, int columns, const uint8_t* codewords)
      : modules_(modules), rows_(rows), columns_(columns), codewords_(codewords) {
    for (int bit = 0; bit < 8; ++bit) standardOffsets_[bit] = kStandardShape[bit][0] * columns + kStandardShape[bit][1];
  }

  int Placed() const { return next_; }
  bool Visited(int row, int col) const { return modules_[row * columns_ + col] & dm::kVisitedModule; }

  void Standard(int row, int col) {
    const int codeword = codewords_[next_++];
    if (row >= 2 && col >= 2) {  // nothing wraps: the shape's modules at fixed offsets
      uint8_t* anchor = modules_ + row * columns_ + col;
      for (int bit = 0; bit < 8; ++bit) anchor[standardOffsets_[bit]] |= Status(codeword & (0x80 >> bit));
      return;
    }
    for (int bit = 0; bit < 8; ++bit)
      Bit(row + kStandardShape[bit][0], col + kStandardShape[bit][1], codeword & (0x80 >> bit));
  }

  void Corner(int shape) {
    const int codeword = codewords_[next_++];
    for (int bit = 0; bit < 8; ++bit) {
      const auto [r, c] = kCornerShapes[shape][bit];
      Bit(r < 0 ? rows_ + r : r, c < 0 ? columns_ + c : c, codeword & (0x80 >> bit));
    }
  }

  // A corner left over by the walk gets its fixed pattern: dark diagonal.
  void FillUnvisitedCorner() {
    if (Visited(rows_ - 1, columns_ - 1)) return;
    modules_[(rows_ - 1) * columns_ + columns_ - 1] |= dm::kDarkModule;
    modules_[(rows_ - 2) * columns_ + columns_ - 2] |= dm::kDarkModule;
  }

 private:
  // Positions beyond the top or left edge wrap to the opposite side.
  void Bit(int row, int col, bool dark) {
    if (row < 0) {
      row += rows_;
      col += 4 - ((rows_ + 4) % 8);
    }
    if (col < 0) {
      col += columns_;
      row += 4 - ((columns_ + 4) % 8);
    }
    modules_[row * columns_ + col] |= Status(dark);
  }

  // Arithmetic, not a branch: codeword bits are as good as random.
  static uint8_t Status(bool dark) {
    return static_cast<uint8_t>(dm::kDarkModule * static_cast<int>(dark) | dm::kPlacedModule | dm::kVisitedModule);
  }

  uint8_t* modules_;
  int rows_;
  int columns_;
  const uint8_t* codewords_;
  std::array<int, 8> standardOffsets_;
  int next_ = 0;
};

int CornerAt(int row, int col, int rows, int columns) {
  if (row == rows && col == 0) return 0;
  if (row == rows - 2 && col == 0 && columns % 4 != 0) return 1;
  if (row == rows - 2 && col == 0 && columns % 8 == 4) return 2;
  if (row == rows + 4 && col == 2 && columns % 8 == 0) return 3;
  return -1;
}

}  // namespace

int DmPlaceCodewords(int sizeIndex, uint8_t* modules, const uint8_t* codewords) {
  const int rows = DmSizeAttribute(sizeIndex, DataAreaRows);
  const int columns = DmSizeAttribute(sizeIndex, DataAreaColumns);
  if (rows == 0 || modules == nullptr || codewords == nullptr) return 0;
  Placer placer(modules, rows, columns, codewords);
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
