#include "tests/datamatrix/DmSymbolReader.h"

#include "datamatrix/DmEncoder.h"

namespace {

// Plain shift-and-add product in GF(256) modulo 301, kept apart from the
// encoder's log tables.
int GfMultiply(int a, int b) {
  int product = 0;
  for (; b != 0; b >>= 1) {
    if (b & 1) product ^= a;
    a <<= 1;
    if (a & 0x100) a ^= 301;
  }
  return product;
}

int GfPower(int exponent) {
  int value = 1;
  for (int i = 0; i < exponent; ++i) value = GfMultiply(value, 2);
  return value;
}

// The data area with frames removed, row-major from the top left.
struct DataArea {
  int rows, columns;
  std::vector<bool> dark;
  std::vector<bool> used;
};

DataArea StripFrames(int sizeIndex, const std::function<bool(int, int)>& isDark) {
  const int regionRows = DmSizeAttribute(sizeIndex, DataRegionRows);
  const int regionColumns = DmSizeAttribute(sizeIndex, DataRegionColumns);
  DataArea area{DmSizeAttribute(sizeIndex, DataAreaRows), DmSizeAttribute(sizeIndex, DataAreaColumns), {}, {}};
  area.dark.resize(static_cast<size_t>(area.rows) * area.columns);
  area.used.resize(area.dark.size());
  for (int r = 0; r < area.rows; ++r)
    for (int c = 0; c < area.columns; ++c) {
      // Each region has an alternating line above it and a solid line left of it.
      const int y = (r / regionRows) * (regionRows + 2) + 1 + r % regionRows;
      const int x = (c / regionColumns) * (regionColumns + 2) + 1 + c % regionColumns;
      area.dark[static_cast<size_t>(r) * area.columns + c] = isDark(x, y);
    }
  return area;
}

class Walker {
 public:
  explicit Walker(DataArea& area) : a_(area) {}
  std::vector<uint8_t> codewords;

  void Read(const int (*positions)[2]) {
    int value = 0;
    for (int bit = 0; bit < 8; ++bit) value = value << 1 | Module(positions[bit][0], positions[bit][1]);
    codewords.push_back(static_cast<uint8_t>(value));
  }
  void Utah(int row, int col) {
    const int p[8][2] = {{row - 2, col - 2}, {row - 2, col - 1}, {row - 1, col - 2}, {row - 1, col - 1},
                         {row - 1, col},     {row, col - 2},     {row, col - 1},     {row, col}};
    Read(p);
  }
  bool Used(int row, int col) const { return a_.used[static_cast<size_t>(row) * a_.columns + col]; }

 private:
  int Module(int row, int col) {
    const int nrow = a_.rows, ncol = a_.columns;
    if (row < 0) row += nrow, col += 4 - ((nrow + 4) % 8);
    if (col < 0) col += ncol, row += 4 - ((ncol + 4) % 8);
    a_.used[static_cast<size_t>(row) * ncol + col] = true;
    return a_.dark[static_cast<size_t>(row) * ncol + col] ? 1 : 0;
  }
  DataArea& a_;
};

}  // namespace

std::vector<uint8_t> ReadSymbolCodewords(int sizeIndex, const std::function<bool(int, int)>& isDark) {
  DataArea area = StripFrames(sizeIndex, isDark);
  const int nrow = area.rows, ncol = area.columns;
  Walker w(area);
  int row = 4, col = 0;
  do {
    if (row == nrow && col == 0) {
      const int p[8][2] = {{nrow - 1, 0}, {nrow - 1, 1}, {nrow - 1, 2}, {0, ncol - 2},
                           {0, ncol - 1}, {1, ncol - 1}, {2, ncol - 1}, {3, ncol - 1}};
      w.Read(p);
    } else if (row == nrow - 2 && col == 0 && ncol % 4 != 0) {
      const int p[8][2] = {{nrow - 3, 0},  {nrow - 2, 0},  {nrow - 1, 0},  {0, ncol - 4},
                           {0, ncol - 3}, {0, ncol - 2}, {0, ncol - 1}, {1, ncol - 1}};
      w.Read(p);
    } else if (row == nrow - 2 && col == 0 && ncol % 8 == 4) {
      const int p[8][2] = {{nrow - 3, 0}, {nrow - 2, 0}, {nrow - 1, 0}, {0, ncol - 2},
                           {0, ncol - 1}, {1, ncol - 1}, {2, ncol - 1}, {3, ncol - 1}};
      w.Read(p);
    } else if (row == nrow + 4 && col == 2 && ncol % 8 == 0) {
      const int p[8][2] = {{nrow - 1, 0}, {nrow - 1, ncol - 1}, {0, ncol - 3}, {0, ncol - 2},
                           {0, ncol - 1}, {1, ncol - 3},        {1, ncol - 2}, {1, ncol - 1}};
      w.Read(p);
    }
    do {
      if (row < nrow && col >= 0 && !w.Used(row, col)) w.Utah(row, col);
      row -= 2, col += 2;
    } while (row >= 0 && col < ncol);
    row += 1, col += 3;
    do {
      if (row >= 0 && col < ncol && !w.Used(row, col)) w.Utah(row, col);
      row += 2, col -= 2;
    } while (row < nrow && col >= 0);
    row += 3, col += 1;
  } while (row < nrow || col < ncol);
  return w.codewords;
}

int BlockDataCount(int sizeIndex, int block) {
  const int blocks = DmSizeAttribute(sizeIndex, InterleavedBlocks);
  int count = 0;
  for (int p = block; p < DmSizeAttribute(sizeIndex, DataCapacity); p += blocks) ++count;
  return count;
}

std::vector<int> BlockSyndromes(int sizeIndex, const std::vector<uint8_t>& codewords, int block) {
  const int blocks = DmSizeAttribute(sizeIndex, InterleavedBlocks);
  const int dataCount = DmSizeAttribute(sizeIndex, DataCapacity);
  const int k = DmSizeAttribute(sizeIndex, EccCodewordsPerBlock);
  std::vector<int> poly;  // highest power first
  for (int p = block; p < dataCount; p += blocks) poly.push_back(codewords[p]);
  for (int j = 0; j < k; ++j) poly.push_back(codewords[dataCount + block + j * blocks]);
  std::vector<int> syndromes;
  for (int i = 1; i <= k; ++i) {
    const int x = GfPower(i);
    int value = 0;
    for (int c : poly) value = GfMultiply(value, x) ^ c;
    syndromes.push_back(value);
  }
  return syndromes;
}
