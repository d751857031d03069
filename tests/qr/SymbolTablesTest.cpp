// The symbol tables' documented facts: which ids exist, their sizes, the block
// tails, the remainder index rule and frame lines. Their contents as a whole
// are proved by decoding every version and level (DecodeTest).
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

// For QRV tables the last bytes are the error-correction codewords per
// block, then each block's total codewords.
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

std::vector<std::string> FrameLines(int version) {
  const SymbolTable table = SymbolTableStore::Find("QRVFR_FILE", 359 + version);
  std::istringstream text(std::string(reinterpret_cast<const char*>(table.Bytes), table.Size));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

TEST(FrameTables, Version1And7Lines) {
  const std::vector<std::string> v1 = FrameLines(1);
  ASSERT_EQ(v1.size(), 21u);
  EXPECT_EQ(v1[0], "111111100000001111111");
  EXPECT_EQ(v1[6], "111111101010101111111");
  EXPECT_EQ(v1[13], "000000001000000000000");  // the dark module
  // Version 7's information is 000111 110010 010100, bit 0 last.
  const std::vector<std::string> v7 = FrameLines(7);
  const std::string code = "000111110010010100";
  for (int i = 0; i < 18; ++i) {
    EXPECT_EQ(v7[i / 3][34 + i % 3], code[17 - i]) << i;
    EXPECT_EQ(v7[34 + i % 3][i / 3], code[17 - i]) << i;
  }
}

}  // namespace
