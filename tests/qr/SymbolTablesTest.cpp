// The symbol tables' documented facts: which ids exist, their sizes, the block
// tails, the dark module and a remainder row. Their contents as a whole are
// proved by decoding every version and level (EncoderTest).
#include "qr/SymbolTableStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace {

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
  // Version 1's frame: 21 lines of 21 modules, the dark module at (8, 13).
  EXPECT_EQ(SymbolTableStore::Find("QRVFR_FILE", 360).Bytes[13 * 22 + 8], '1');
  // Row 1 of the remainder table of 7 codewords is the generator polynomial.
  EXPECT_EQ(Slice(SymbolTableStore::Find("QRSCR_FILE", 329), 7, 14),
            (std::vector<int>{127, 122, 154, 164, 11, 68, 117}));
}

}  // namespace
