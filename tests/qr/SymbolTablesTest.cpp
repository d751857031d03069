// The symbol tables: documented sizes, ids and contents, and invariants that
// a wrong generator would break.
#include "qr/QrStandard.h"
#include "qr/SymbolTableStore.h"
#include "qr/SymbolTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace qr;

std::vector<int> Slice(const SymbolTable& table, size_t from, size_t to) {
  return std::vector<int>(table.Bytes + from, table.Bytes + to);
}

// Which ids exist; sizes, and for QRV tables the last bytes: error-correction
// codewords per block, then each block's total codewords.
TEST(Store, DocumentedIdsSizesAndBlocks) {
  const std::tuple<const char*, int, int> ranges[] = {
      {"QRV", 129, 288}, {"QRSCR_FILE", 329, 359}, {"QRVFR_FILE", 360, 399}};
  for (const auto& [type, first, last] : ranges)
    for (int id = 0; id < 500; ++id)
      EXPECT_EQ(SymbolTableStore::Find(type, id).Size > 0, id >= first && id <= last) << type << " " << id;
  EXPECT_FALSE(SymbolTableStore::Find("qrv", 129));
  EXPECT_FALSE(SymbolTableStore::Find("", 129));
  std::vector<int> v40h(82, 46);
  v40h[0] = 30;
  std::fill_n(v40h.begin() + 1, 20, 45);
  const std::tuple<const char*, int, size_t, std::vector<int>> facts[] = {
      {"QRV", 129, 656, {10, 26}},      {"QRV", 130, 656, {7, 26}},        {"QRV", 137, 1733, {26, 70}},
      {"QRV", 139, 1734, {22, 35, 35}}, {"QRV", 140, 1734, {18, 35, 35}},  {"QRV", 287, 89056, v40h},
      {"QRV", 148, 3272, {18, 33, 33, 34, 34}}, {"QRV", 156, 4741, {18, 32, 32, 33, 33, 33, 33}},
      {"QRSCR_FILE", 329, 1792, {}},    {"QRSCR_FILE", 359, 17408, {}},    {"QRVFR_FILE", 360, 462, {}}};
  for (const auto& [type, id, size, tail] : facts) {
    const SymbolTable table = SymbolTableStore::Find(type, id);
    ASSERT_EQ(table.Size, size) << id;
    EXPECT_EQ(Slice(table, size - tail.size(), size), tail) << id;
  }
}

// The function modules, worked out from the standard's drawing rather than
// taken from the generator: finders with separators and format areas, timing,
// alignment patterns, version areas.
std::vector<bool> FunctionModules(int version) {
  const int n = SideOf(version);
  std::vector<bool> taken(n * n, false);
  auto block = [&](int x0, int y0, int w, int h) {
    for (int x = x0; x < x0 + w; ++x)
      for (int y = y0; y < y0 + h; ++y) taken[y * n + x] = true;
  };
  block(0, 0, 9, 9);
  block(n - 8, 0, 8, 9);
  block(0, n - 8, 9, 8);
  block(6, 0, 1, n);
  block(0, 6, n, 1);
  if (version >= 2) {
    const int count = version / 7 + 2;
    const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (count * 2 - 2) * 2;
    std::vector<int> centres{6};
    for (int k = 0; k <= count - 2; ++k) centres.push_back(n - 7 - k * step);
    for (int cx : centres)
      for (int cy : centres) {
        const bool onFinder = std::min(cx, cy) == 6 && (std::max(cx, cy) == 6 || std::max(cx, cy) == n - 7);
        if (!onFinder) block(cx - 2, cy - 2, 5, 5);
      }
  }
  if (version >= 7) {
    block(n - 11, 0, 3, 6);
    block(0, n - 11, 6, 3);
  }
  return taken;
}

// The zigzag path over every module that is not a function module.
std::vector<std::pair<int, int>> PlacementPath(int n, const std::vector<bool>& function) {
  std::vector<std::pair<int, int>> path;
  for (int right = n - 1, pass = 0; right > 0; right -= 2, ++pass) {
    if (right == 6) right = 5;
    for (int step = 0; step < n; ++step)
      for (int x : {right, right - 1}) {
        const int y = pass % 2 == 0 ? n - 1 - step : step;
        if (!function[y * n + x]) path.push_back({x, y});
      }
  }
  return path;
}

std::vector<std::string> FrameLines(int version) {
  const SymbolTable table = SymbolTableStore::Find("QRVFR_FILE", 359 + version);
  EXPECT_EQ(table.Bytes[table.Size - 1], '\n');
  std::istringstream text(std::string(reinterpret_cast<const char*>(table.Bytes), table.Size));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

// As sets, Columns/Rows and the path are equal: every data-region module
// exactly once, no function, format or version module. The remainder modules
// are the last of the path, in its order. Frames draw function modules only.
TEST(Tables, EveryVersionAgainstItsFunctionModules) {
  for (int version = 1; version <= qr::MaxVersion; ++version) {
    SCOPED_TRACE(testing::Message() << "version " << version);
    const int n = SideOf(version);
    const std::vector<bool> function = FunctionModules(version);
    const std::vector<std::string> lines = FrameLines(version);
    ASSERT_EQ(static_cast<int>(lines.size()), n);
    for (int y = 0; y < n; ++y) {  // '1' only on function modules
      ASSERT_EQ(static_cast<int>(lines[y].size()), n);
      for (int x = 0; x < n; ++x)
        ASSERT_TRUE(lines[y][x] == '0' || (lines[y][x] == '1' && function[y * n + x])) << x << "," << y;
    }
    EXPECT_EQ(lines[4 * version + 9][8], '1') << "dark module";
    const std::vector<std::pair<int, int>> path = PlacementPath(n, function);
    const int s = static_cast<int>(path.size());
    std::vector<std::pair<int, int>> sortedPath = path;
    std::sort(sortedPath.begin(), sortedPath.end());
    for (int level = 0; level < 4; ++level) {
      SCOPED_TRACE(testing::Message() << "level " << level);
      const SymbolTable table = SymbolTableStore::Find("QRV", QrvTableId(version, level));
      ASSERT_GT(table.Size, static_cast<size_t>(3 * s + 31));
      std::vector<std::pair<int, int>> entries;
      for (int e = 0; e < s; ++e) entries.push_back({table.Bytes[e], table.Bytes[s + e]});
      EXPECT_TRUE(std::equal(entries.end() - s % 8, entries.end(), path.end() - s % 8));
      std::sort(entries.begin(), entries.end());
      ASSERT_EQ(entries, sortedPath);
      for (int k = 0; k < 15; ++k) {
        EXPECT_EQ(table.Bytes[3 * s + k], k < 7 ? 8 : n - 15 + k);
        EXPECT_EQ(table.Bytes[3 * s + 15 + k], k < 7 ? n - 1 - k : 8);
      }
      int codewords = 0;
      for (int size : Slice(table, 3 * s + 31, table.Size)) codewords += size;
      EXPECT_EQ(codewords, s / 8);
    }
  }
}

TEST(RemainderTables, IndexRuleSizesAndFirstRows) {
  const std::pair<int, int> indexOf[] = {{7, 0}, {17, 5}, {18, 6}, {30, 12}, {36, 15}, {38, -1}, {40, 16}, {68, 30}};
  for (const auto& [ec, index] : indexOf) EXPECT_EQ(RemainderTableIndex(ec), index) << ec;
  for (int index = 0; index < 31; ++index) {
    const int e = EcCountOfRemainderTable(index);
    const SymbolTable table = SymbolTableStore::Find("QRSCR_FILE", 329 + index);
    ASSERT_EQ(table.Size, static_cast<size_t>(256 * e));
    EXPECT_EQ(Slice(table, 0, e), Slice(table, e, 2 * e)) << e;
  }
  EXPECT_EQ(Slice(SymbolTableStore::Find("QRSCR_FILE", 329), 7, 14),
            (std::vector<int>{127, 122, 154, 164, 11, 68, 117}));
}

TEST(FrameTables, Version1And7Lines) {
  const std::vector<std::string> v1 = FrameLines(1);
  EXPECT_EQ(v1[0], "111111100000001111111");
  EXPECT_EQ(v1[6], "111111101010101111111");
  EXPECT_EQ(v1[13], "000000001000000000000");
  // Version 7's information is 000111 110010 010100, bit 0 last.
  const std::vector<std::string> v7 = FrameLines(7);
  const std::string code = "000111110010010100";
  for (int i = 0; i < 18; ++i) {
    EXPECT_EQ(v7[i / 3][34 + i % 3], code[17 - i]) << i;
    EXPECT_EQ(v7[34 + i % 3][i / 3], code[17 - i]) << i;
  }
}

}  // namespace
