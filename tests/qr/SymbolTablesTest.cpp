// The symbol tables: documented sizes, ids and contents, and invariants that
// a wrong generator would break.
#include "qr/QrStandard.h"
#include "qr/SymbolTableStore.h"
#include "qr/SymbolTables.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace qr;

struct Qrv {
  SymbolTable table;
  int s;  // data-region modules

  uint8_t Column(int e) const { return table.Bytes[e]; }
  uint8_t Row(int e) const { return table.Bytes[s + e]; }
  uint8_t MaskBits(int e) const { return table.Bytes[2 * s + e]; }
  uint8_t FormatColumn(int k) const { return table.Bytes[3 * s + k]; }
  uint8_t FormatRow(int k) const { return table.Bytes[3 * s + 15 + k]; }
  int EcPerBlock() const { return table.Bytes[3 * s + 30]; }
  std::vector<int> BlockSizes() const {
    return std::vector<int>(table.Bytes + 3 * s + 31, table.Bytes + table.Size);
  }
};

Qrv FindQrv(int version, int level) {
  const int n = SideOf(version);
  // S from the raw count of function modules, without the alignment table.
  int centres = version == 1 ? 0 : version / 7 + 2;
  int s = n * n - 192 - 2 * (n - 16) - 31 - (version >= 7 ? 36 : 0);
  if (centres > 0) s -= 25 * (centres * centres - 3) - 10 * (centres - 2);
  return {SymbolTableStore::Find("QRV", QrvTableId(version, level)), s};
}

struct QrvFact {
  int id;
  size_t size;
  int ecPerBlock;
  std::vector<int> blockSizes;
};

TEST(QrvTables, DocumentedFacts) {
  std::vector<int> v40h(20, 45);
  v40h.insert(v40h.end(), 61, 46);
  const QrvFact facts[] = {
      {129, 656, 10, {26}},
      {130, 656, 7, {26}},
      {137, 1733, 26, {70}},
      {139, 1734, 22, {35, 35}},
      {140, 1734, 18, {35, 35}},
      {148, 0, 18, {33, 33, 34, 34}},
      {156, 0, 18, {32, 32, 33, 33, 33, 33}},
      {287, 89056, 30, v40h},
  };
  for (const QrvFact& fact : facts) {
    SCOPED_TRACE(fact.id);
    const int version = (fact.id - 125) / 4, level = (fact.id - 125) % 4;
    const Qrv qrv = FindQrv(version, level);
    ASSERT_TRUE(qrv.table);
    if (fact.size) {
      EXPECT_EQ(qrv.table.Size, fact.size);
    }
    EXPECT_EQ(qrv.EcPerBlock(), fact.ecPerBlock);
    EXPECT_EQ(qrv.BlockSizes(), fact.blockSizes);
  }
}

TEST(QrvTables, Version1StartsAtTheBottomRightWithItsMaskBits) {
  const Qrv qrv = FindQrv(1, 0);
  const std::pair<int, int> first[] = {{20, 20}, {19, 20}, {20, 19}, {19, 19}};
  for (int e = 0; e < 4; ++e) {
    EXPECT_EQ(qrv.Column(e), first[e].first);
    EXPECT_EQ(qrv.Row(e), first[e].second);
  }
  EXPECT_EQ(qrv.MaskBits(0), 0x13);
}

TEST(QrvTables, RangesOverAllTables) {
  std::set<int> ecCounts;
  int maxBlocks = 0, maxBlockSize = 0, minBlocks = 1000;
  for (int version = 1; version <= 40; ++version)
    for (int level = 0; level < 4; ++level) {
      const Qrv qrv = FindQrv(version, level);
      const std::vector<int> sizes = qrv.BlockSizes();
      int total = 0;
      for (int size : sizes) total += size;
      EXPECT_EQ(8 * total + RemainderBits(version), qrv.s) << version << " " << level;
      ecCounts.insert(qrv.EcPerBlock());
      maxBlocks = std::max<int>(maxBlocks, sizes.size());
      minBlocks = std::min<int>(minBlocks, sizes.size());
      for (int size : sizes) maxBlockSize = std::max(maxBlockSize, size);
      EXPECT_EQ(RemainderTableIndex(qrv.EcPerBlock()) >= 0, true);
    }
  EXPECT_EQ(ecCounts, (std::set<int>{7, 10, 13, 15, 16, 17, 18, 20, 22, 24, 26, 28, 30}));
  EXPECT_EQ(minBlocks, 1);
  EXPECT_EQ(maxBlocks, 81);
  EXPECT_EQ(maxBlockSize, 153);
}

TEST(QrvTables, Version2EndsWithSevenRemainderModules) {
  for (int level = 0; level < 4; ++level) EXPECT_EQ(FindQrv(2, level).s, 359);
  EXPECT_EQ(RemainderBits(2), 7);
}

// The function modules of a version, worked out here from the standard's
// drawing rather than taken from the generator: finders with separators,
// timing, alignment patterns, both format areas, the dark module, version areas.
std::vector<bool> FunctionModules(int version) {
  const int n = SideOf(version);
  std::vector<bool> taken(n * n, false);
  auto take = [&](int x, int y) { taken[y * n + x] = true; };
  for (int i = 0; i < 8; ++i)
    for (int j = 0; j < 8; ++j) {
      take(i, j);
      take(n - 1 - i, j);
      take(i, n - 1 - j);
    }
  for (int i = 0; i < n; ++i) {
    take(i, 6);
    take(6, i);
  }
  for (int i = 0; i < 9; ++i) {
    take(i, 8);
    take(8, i);
  }
  for (int i = 0; i < 8; ++i) {
    take(n - 1 - i, 8);
    take(8, n - 1 - i);
  }
  if (version >= 2) {
    const int count = version / 7 + 2;
    const int step = version == 32 ? 26 : (version * 4 + count * 2 + 1) / (count * 2 - 2) * 2;
    std::vector<int> centres{6};
    for (int k = count - 2; k >= 0; --k) centres.insert(centres.begin() + 1, n - 7 - k * step);
    centres.erase(centres.begin() + count, centres.end());
    for (int cx : centres)
      for (int cy : centres) {
        if ((cx == 6 && cy == 6) || (cx == 6 && cy == n - 7) || (cx == n - 7 && cy == 6)) continue;
        for (int dx = -2; dx <= 2; ++dx)
          for (int dy = -2; dy <= 2; ++dy) take(cx + dx, cy + dy);
      }
  }
  if (version >= 7)
    for (int i = 0; i < 6; ++i)
      for (int j = 0; j < 3; ++j) {
        take(n - 11 + j, i);
        take(i, n - 11 + j);
      }
  return taken;
}

TEST(QrvTables, EveryDataModuleExactlyOnceAndNoFunctionModule) {
  for (int version = 1; version <= 40; ++version) {
    const int n = SideOf(version);
    const std::vector<bool> function = FunctionModules(version);
    for (int level = 0; level < 4; ++level) {
      const Qrv qrv = FindQrv(version, level);
      ASSERT_EQ(qrv.table.Size, static_cast<size_t>(3 * qrv.s + 31 + qrv.BlockSizes().size()));
      std::vector<int> seen(n * n, 0);
      for (int e = 0; e < qrv.s; ++e) {
        ASSERT_LT(qrv.Column(e), n);
        ASSERT_LT(qrv.Row(e), n);
        const int cell = qrv.Row(e) * n + qrv.Column(e);
        EXPECT_FALSE(function[cell]) << "version " << version << " entry " << e;
        ++seen[cell];
      }
      for (int cell = 0; cell < n * n; ++cell)
        ASSERT_EQ(seen[cell], function[cell] ? 0 : 1) << "version " << version << " level " << level << " cell " << cell;
    }
  }
}

// The placement path walked here, independently: its last U modules must be
// the remainder entries, in path order.
TEST(QrvTables, RemainderModulesAreTheLastOfThePath) {
  for (int version = 2; version <= 40; ++version) {
    const int n = SideOf(version), u = RemainderBits(version);
    const std::vector<bool> function = FunctionModules(version);
    std::vector<std::pair<int, int>> path;
    for (int right = n - 1, pass = 0; right > 0; right -= 2, ++pass) {
      if (right == 6) right = 5;
      for (int step = 0; step < n; ++step)
        for (int x : {right, right - 1}) {
          const int y = pass % 2 == 0 ? n - 1 - step : step;
          if (!function[y * n + x]) path.push_back({x, y});
        }
    }
    const Qrv qrv = FindQrv(version, 1);
    ASSERT_EQ(static_cast<int>(path.size()), qrv.s);
    for (int k = 0; k < u; ++k) {
      const int e = qrv.s - u + k;
      EXPECT_EQ(std::make_pair(int{qrv.Column(e)}, int{qrv.Row(e)}), path[path.size() - u + k]) << version;
    }
  }
}

TEST(QrvTables, MaskBitsFollowTheMaskConditions) {
  for (int version : {1, 2, 7, 40}) {
    const Qrv qrv = FindQrv(version, 3);
    for (int e = 0; e < qrv.s; ++e) {
      const int i = qrv.Row(e), j = qrv.Column(e);
      const bool conditions[8] = {(i + j) % 2 == 0, i % 2 == 0, j % 3 == 0, (i + j) % 3 == 0,
                                  (i / 2 + j / 3) % 2 == 0, (i * j) % 2 + (i * j) % 3 == 0,
                                  ((i * j) % 2 + (i * j) % 3) % 2 == 0, ((i + j) % 2 + (i * j) % 3) % 2 == 0};
      for (int m = 0; m < 8; ++m) ASSERT_EQ(qrv.MaskBits(e) >> m & 1, conditions[m]) << version << " " << e;
    }
  }
}

TEST(QrvTables, SecondFormatCopyPositions) {
  for (int version : {1, 17, 40}) {
    const int n = SideOf(version);
    const Qrv qrv = FindQrv(version, 0);
    for (int k = 0; k < 15; ++k) {
      EXPECT_EQ(qrv.FormatColumn(k), k < 7 ? 8 : n - 15 + k);
      EXPECT_EQ(qrv.FormatRow(k), k < 7 ? n - 1 - k : 8);
    }
  }
}

TEST(RemainderTables, IdsAndIndexRule) {
  EXPECT_EQ(RemainderTableIndex(7), 0);
  EXPECT_EQ(RemainderTableIndex(17), 5);
  EXPECT_EQ(RemainderTableIndex(18), 6);
  EXPECT_EQ(RemainderTableIndex(30), 12);
  EXPECT_EQ(RemainderTableId(30), 341);
  EXPECT_EQ(RemainderTableIndex(36), 15);
  EXPECT_EQ(RemainderTableIndex(38), -1);
  EXPECT_EQ(RemainderTableIndex(40), 16);
  EXPECT_EQ(RemainderTableIndex(68), 30);
}

TEST(RemainderTables, SizesRowOneAndRowZero) {
  for (int index = 0; index < 31; ++index) {
    const int e = EcCountOfRemainderTable(index);
    ASSERT_EQ(RemainderTableIndex(e), index);
    const SymbolTable table = SymbolTableStore::Find("QRSCR_FILE", 329 + index);
    ASSERT_EQ(table.Size, static_cast<size_t>(256 * e));
    EXPECT_TRUE(std::equal(table.Bytes, table.Bytes + e, table.Bytes + e)) << e;
  }
  const SymbolTable seven = SymbolTableStore::Find("QRSCR_FILE", 329);
  EXPECT_EQ(std::vector<int>(seven.Bytes + 7, seven.Bytes + 14), (std::vector<int>{127, 122, 154, 164, 11, 68, 117}));
}

std::vector<std::string> FrameLines(int version) {
  const SymbolTable table = SymbolTableStore::Find("QRVFR_FILE", 359 + version);
  const std::string text(reinterpret_cast<const char*>(table.Bytes), table.Size);
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  EXPECT_EQ(text.back(), '\n');
  return lines;
}

TEST(FrameTables, ShapeOfEveryFrame) {
  for (int version = 1; version <= 40; ++version) {
    const int n = SideOf(version);
    const std::vector<std::string> lines = FrameLines(version);
    ASSERT_EQ(static_cast<int>(lines.size()), n);
    for (const std::string& line : lines) {
      ASSERT_EQ(static_cast<int>(line.size()), n);
      EXPECT_EQ(line.find_first_not_of("01"), std::string::npos);
    }
    EXPECT_EQ(lines[4 * version + 9][8], '1') << "dark module, version " << version;
  }
}

TEST(FrameTables, Version1Lines) {
  const std::vector<std::string> lines = FrameLines(1);
  EXPECT_EQ(lines[0], "111111100000001111111");
  EXPECT_EQ(lines[6], "111111101010101111111");
  EXPECT_EQ(lines[13], "000000001000000000000");
  EXPECT_EQ(SymbolTableStore::Find("QRVFR_FILE", 360).Size, 462u);
}

// Version 7's information is 000111 110010 010100, bit 0 last.
TEST(FrameTables, Version7Information) {
  const std::vector<std::string> lines = FrameLines(7);
  const std::string code = "000111110010010100";
  for (int i = 0; i < 18; ++i) {
    const char expected = code[17 - i];
    EXPECT_EQ(lines[i / 3][34 + i % 3], expected) << i;
    EXPECT_EQ(lines[34 + i % 3][i / 3], expected) << i;
  }
}

TEST(Store, UnknownTypesAndIdsAreEmpty) {
  const std::pair<const char*, int> unknown[] = {
      {"QRV", 128}, {"QRV", 289}, {"QRSCR_FILE", 328}, {"QRSCR_FILE", 360},
      {"QRVFR_FILE", 359}, {"QRVFR_FILE", 400}, {"qrv", 129}, {"", 129}};
  for (const auto& [type, id] : unknown) {
    const SymbolTable table = SymbolTableStore::Find(type, id);
    EXPECT_EQ(table.Bytes, nullptr) << type << " " << id;
    EXPECT_EQ(table.Size, 0u);
  }
}

TEST(Store, AllTablesPresentAndSharedAcrossThreads) {
  int count = 0;
  for (int id = 129; id <= 288; ++id) count += static_cast<bool>(SymbolTableStore::Find("QRV", id));
  for (int id = 329; id <= 359; ++id) count += static_cast<bool>(SymbolTableStore::Find("QRSCR_FILE", id));
  for (int id = 360; id <= 399; ++id) count += static_cast<bool>(SymbolTableStore::Find("QRVFR_FILE", id));
  EXPECT_EQ(count, 231);

  std::vector<const uint8_t*> seen(4);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) threads.emplace_back([&seen, t] { seen[t] = SymbolTableStore::Find("QRV", 286).Bytes; });
  for (std::thread& thread : threads) thread.join();
  for (const uint8_t* bytes : seen) EXPECT_EQ(bytes, seen[0]);
}

}  // namespace
