#include "qr/SymbolTables.h"

#include "qr/QrStandard.h"

#include <algorithm>
#include <cstdlib>

namespace quillet {

namespace qr {

namespace {

enum class Module : uint8_t { Data, Light, Dark };

// The function patterns of one version; every module not claimed is data region.
class FunctionLayout {
 public:
  explicit FunctionLayout(int version) : version_(version), side_(SideOf(version)), cells_(side_ * side_, Module::Data) {
    PlaceFinders();
    PlaceTiming();
    PlaceAlignment();
    ReserveFormatAreas();
    PlaceVersionInformation();
  }

  int Side() const { return side_; }
  Module At(int x, int y) const { return cells_[y * side_ + x]; }

 private:
  void Set(int x, int y, Module m) { cells_[y * side_ + x] = m; }
  void Set(int x, int y, bool dark) { Set(x, y, dark ? Module::Dark : Module::Light); }

  // Finder with its separator: the 8x8 corner block; dark except the ring at distance 2.
  void PlaceFinder(int left, int top) {
    for (int dy = -1; dy <= 7; ++dy)
      for (int dx = -1; dx <= 7; ++dx) {
        const int x = left + dx, y = top + dy;
        if (x < 0 || y < 0 || x >= side_ || y >= side_) continue;
        const int distance = std::max(std::abs(dx - 3), std::abs(dy - 3));
        Set(x, y, distance <= 3 && distance != 2);
      }
  }
  void PlaceFinders() {
    PlaceFinder(0, 0);
    PlaceFinder(side_ - 7, 0);
    PlaceFinder(0, side_ - 7);
  }
  void PlaceTiming() {
    for (int i = 8; i < side_ - 8; ++i) {
      Set(i, 6, i % 2 == 0);
      Set(6, i, i % 2 == 0);
    }
  }
  void PlaceAlignment() {
    const std::vector<int> centres = AlignmentCentres(version_);
    const int first = centres.empty() ? 0 : centres.front(), last = centres.empty() ? 0 : centres.back();
    for (int cx : centres)
      for (int cy : centres) {
        const bool onFinder = (cx == first && cy == first) || (cx == first && cy == last) || (cx == last && cy == first);
        if (onFinder) continue;
        for (int dy = -2; dy <= 2; ++dy)
          for (int dx = -2; dx <= 2; ++dx) Set(cx + dx, cy + dy, std::max(std::abs(dx), std::abs(dy)) != 1);
      }
  }
  void ReserveFormatAreas() {
    for (int i = 0; i <= 8; ++i) {
      if (At(i, 8) == Module::Data) Set(i, 8, Module::Light);
      if (At(8, i) == Module::Data) Set(8, i, Module::Light);
    }
    for (int i = 0; i < 8; ++i) {
      Set(side_ - 1 - i, 8, Module::Light);
      Set(8, side_ - 1 - i, Module::Light);
    }
    Set(8, 4 * version_ + 9, Module::Dark);
  }
  void PlaceVersionInformation() {
    if (version_ < 7) return;
    const uint32_t bits = VersionInformation(version_);
    for (int i = 0; i < 18; ++i) {
      const bool dark = (bits >> i) & 1;
      Set(side_ - 11 + i % 3, i / 3, dark);
      Set(i / 3, side_ - 11 + i % 3, dark);
    }
  }

  int version_;
  int side_;
  std::vector<Module> cells_;
};

struct Position {
  uint8_t x, y;
};

// Data-region modules in the standard's placement order: two-module columns
// from the right, alternately upwards and downwards, skipping column 6.
std::vector<Position> PlacementPath(const FunctionLayout& layout) {
  const int side = layout.Side();
  std::vector<Position> path;
  path.reserve(side * side);
  bool upwards = true;
  for (int right = side - 1; right >= 1; right -= 2) {
    if (right == 6) right = 5;
    for (int step = 0; step < side; ++step) {
      const int y = upwards ? side - 1 - step : step;
      for (int x = right; x >= right - 1; --x)
        if (layout.At(x, y) == Module::Data) path.push_back({static_cast<uint8_t>(x), static_cast<uint8_t>(y)});
    }
    upwards = !upwards;
  }
  return path;
}

// For each place of the standard's interleaved codeword sequence, the index
// of that codeword in program order (data of block 0, 1, ..., then EC of
// block 0, 1, ...).
std::vector<int> ProgramIndexOfInterleavedPlace(int version, int level) {
  const std::vector<int> sizes = BlockSizes(version, level);
  const int ec = EcCodewordsPerBlock(version, level);
  const int blocks = static_cast<int>(sizes.size());
  std::vector<int> dataStart(blocks, 0);
  for (int b = 1; b < blocks; ++b) dataStart[b] = dataStart[b - 1] + sizes[b - 1] - ec;
  const int dataTotal = DataCodewords(version, level);
  std::vector<int> order;
  order.reserve(TotalCodewords(version));
  for (int i = 0; i < sizes.back() - ec; ++i)
    for (int b = 0; b < blocks; ++b)
      if (i < sizes[b] - ec) order.push_back(dataStart[b] + i);
  for (int i = 0; i < ec; ++i)
    for (int b = 0; b < blocks; ++b) order.push_back(dataTotal + b * ec + i);
  return order;
}

void AppendFormatPositions(std::vector<uint8_t>& table, int side) {
  for (int k = 0; k < 7; ++k) table.push_back(8);
  for (int k = 0; k < 8; ++k) table.push_back(static_cast<uint8_t>(side - 8 + k));
  for (int k = 0; k < 7; ++k) table.push_back(static_cast<uint8_t>(side - 1 - k));
  for (int k = 0; k < 8; ++k) table.push_back(8);
}

}  // namespace

std::vector<uint8_t> BuildQrvTable(int version, int level) {
  const FunctionLayout layout(version);
  const std::vector<Position> path = PlacementPath(layout);
  const std::vector<int> programIndex = ProgramIndexOfInterleavedPlace(version, level);
  const int modules = static_cast<int>(path.size());

  // Entry 8w + j is the module of bit 7 - j of program codeword w.
  std::vector<Position> entries(modules);
  for (size_t place = 0; place < programIndex.size(); ++place)
    for (int j = 0; j < 8; ++j) entries[8 * programIndex[place] + j] = path[8 * place + j];
  for (int e = 8 * static_cast<int>(programIndex.size()); e < modules; ++e) entries[e] = path[e];

  std::vector<uint8_t> table;
  table.reserve(3 * modules + 31 + BlockCount(version, level));
  for (const Position& p : entries) table.push_back(p.x);
  for (const Position& p : entries) table.push_back(p.y);
  for (const Position& p : entries) table.push_back(MaskBitsAt(p.y, p.x));
  AppendFormatPositions(table, layout.Side());
  table.push_back(static_cast<uint8_t>(EcCodewordsPerBlock(version, level)));
  for (int size : BlockSizes(version, level)) table.push_back(static_cast<uint8_t>(size));
  return table;
}

std::vector<uint8_t> BuildRemainderTable(int ecCount) {
  const std::vector<uint8_t> generator = GeneratorPolynomial(ecCount);
  std::vector<uint8_t> table(256 * ecCount);
  for (int r = 0; r < 256; ++r)
    for (int i = 0; i < ecCount; ++i) table[r * ecCount + i] = GfMultiply(static_cast<uint8_t>(r == 0 ? 1 : r), generator[i]);
  return table;
}

std::vector<uint8_t> BuildFrameTable(int version) {
  const FunctionLayout layout(version);
  const int side = layout.Side();
  std::vector<uint8_t> text;
  text.reserve(side * (side + 1));
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) text.push_back(layout.At(x, y) == Module::Dark ? '1' : '0');
    text.push_back('\n');
  }
  return text;
}

}  // namespace qr

}  // namespace quillet
