// A symbol as the image output sees it: columns x rows modules, each dark or
// light, without quiet zone. Built from either encoder's own storage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillet {

class CQrCodeEncoder;
class DmModuleGrid;

class ModuleMatrix {
 public:
  ModuleMatrix() = default;
  ModuleMatrix(int columns, int rows);

  // The QR encoder's last symbol: n = 17 + 4 * Version, dark where a cell holds 1.
  static ModuleMatrix FromQr(const CQrCodeEncoder& encoder);
  // A Data Matrix grid: dark where a cell holds 0.
  static ModuleMatrix FromDm(const DmModuleGrid& grid);

  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  bool Empty() const { return columns_ == 0 || rows_ == 0; }
  bool IsDark(int x, int y) const { return cells_[static_cast<size_t>(y) * columns_ + x] != 0; }
  void SetDark(int x, int y, bool dark) { cells_[static_cast<size_t>(y) * columns_ + x] = dark ? 1 : 0; }
  // One byte per module, row after row, 1 dark.
  const std::vector<uint8_t>& Cells() const { return cells_; }

 private:
  int columns_ = 0;
  int rows_ = 0;
  std::vector<uint8_t> cells_;
};

// Calls run(x, y, length) for every horizontal run of dark modules, row by
// row from the top: vector formats draw each run as one rectangle.
template <typename Run>
void ForEachDarkRun(const ModuleMatrix& matrix, Run run) {
  for (int y = 0; y < matrix.Rows(); ++y)
    for (int x = 0; x < matrix.Columns();) {
      if (!matrix.IsDark(x, y)) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < matrix.Columns() && matrix.IsDark(x, y)) ++x;
      run(start, y, x - start);
    }
}

}  // namespace quillet
