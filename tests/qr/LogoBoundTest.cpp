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
      {40, QrLevel::L, 29, 25}, {40, QrLevel::H, 47, 81},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("version " + std::to_string(c.version) + " level " + QrLevelLetter(c.level));
    EXPECT_EQ(LargestLogoPad(c.version, c.level), c.largest);
    EXPECT_EQ(LogoPadDamage(c.version, c.level, c.largest).blocks.size(), c.blocks);
    EXPECT_TRUE(LogoPadDamage(c.version, c.level, c.largest).Allowed());
    EXPECT_FALSE(LogoPadDamage(c.version, c.level, c.largest + 2).Allowed());
  }
}

// Nothing is drawn over the logo: from version 7 the pad covers the
// alignment pattern at the centre (version 7: at 22, 22 of 45 modules) and
// counts it lost; one off the centre stops the pad as a finder does.
// Version 40's patterns lie at 58, 86 and 114 around the middle (88): the
// pad of 47 modules (65..111) reaches only the one at 86, the pad of 49
// the ones at 114.
TEST(LogoBound, TheCentreAlignmentPatternGoesUnderThePadAndNoOther) {
  const struct {
    int version;
    int pad;
    bool centreLost;
    bool coversFixedPattern;
  } cases[] = {
      {6, 9, false, false},  // no alignment pattern at the centre below version 7
      {7, 1, true, false},   {7, 5, true, false},  {7, 11, true, false},
      {40, 47, true, false}, {40, 49, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("version " + std::to_string(c.version) + " pad " + std::to_string(c.pad));
    const LogoDamage damage = LogoPadDamage(c.version, QrLevel::H, c.pad);
    EXPECT_EQ(damage.centreAlignmentLost, c.centreLost);
    EXPECT_EQ(damage.coversFixedPattern, c.coversFixedPattern);
  }
}

}  // namespace
