// The logo's bound worked by hand from the module placement of version 1:
// the zigzag from the bottom right gives columns 12-11 rows 12-9 to codeword
// 15 and columns 10-9 rows 9-12 to codeword 20, so a pad of 3 x 3 modules
// around the centre (10, 10) destroys those two; its centre module alone is
// in codeword 20. A pad of 5 (8 to 12) adds row 8 of those columns
// (codewords 16 and 19) and columns 8-7 rows 12-9 (codeword 23), and reaches
// (8, 8), a format module.
#include <gtest/gtest.h>

#include "qr/LogoBound.h"

using namespace quillet;

namespace {

TEST(LogoBound, DestroyedCodewordsPerBlockMatchTheWorkedExamples) {
  const struct {
    int version;
    QrLevel level;
    int pad;
    std::vector<int> destroyed;
    int correctable;  // per block: (error-correction codewords - misdecode protection) / 2
    bool coversFixedPattern;
    bool allowed;
  } cases[] = {
      {1, QrLevel::H, 3, {2}, 8, false, true},    // (17 - 1) / 2
      {1, QrLevel::M, 3, {2}, 4, false, true},    // (10 - 2) / 2: two is just the half
      {1, QrLevel::L, 3, {2}, 2, false, false},   // (7 - 3) / 2: two is all it corrects
      {1, QrLevel::L, 1, {1}, 2, false, true},
      {1, QrLevel::H, 5, {5}, 8, true, false},    // within the bound, but on a format module
      {2, QrLevel::L, 1, {1}, 4, false, true},    // (10 - 2) / 2
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("version " + std::to_string(c.version) + " level " + QrLevelLetter(c.level) + " pad " +
                 std::to_string(c.pad));
    const LogoDamage damage = LogoPadDamage(c.version, c.level, c.pad);
    std::vector<int> destroyed;
    for (const BlockDamage& block : damage.blocks) {
      destroyed.push_back(block.destroyed);
      EXPECT_EQ(block.correctable, c.correctable);
    }
    EXPECT_EQ(destroyed, c.destroyed);
    EXPECT_EQ(damage.coversFixedPattern, c.coversFixedPattern);
    EXPECT_EQ(damage.Allowed(), c.allowed);
  }
}

// Every block is counted, and the bound holds in each: the largest pad
// leaves every block within half its capacity, one ring more does not.
TEST(LogoBound, LargestPadIsTheLastWithinHalfOfEveryBlock) {
  const struct {
    int version;
    QrLevel level;
    int largest;
    size_t blocks;
  } cases[] = {
      {1, QrLevel::L, 1, 1}, {1, QrLevel::H, 3, 1}, {10, QrLevel::M, 13, 5}, {10, QrLevel::H, 17, 8},
      {40, QrLevel::L, 29, 25}, {40, QrLevel::H, 61, 81},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("version " + std::to_string(c.version) + " level " + QrLevelLetter(c.level));
    EXPECT_EQ(LargestLogoPad(c.version, c.level), c.largest);
    EXPECT_EQ(LogoPadDamage(c.version, c.level, c.largest).blocks.size(), c.blocks);
    EXPECT_TRUE(LogoPadDamage(c.version, c.level, c.largest).Allowed());
    EXPECT_FALSE(LogoPadDamage(c.version, c.level, c.largest + 2).Allowed());
  }
}

}  // namespace
