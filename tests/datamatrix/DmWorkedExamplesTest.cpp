// The worked examples: codewords, sizes, padding, error correction, layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datamatrix/DmEncoder.h"
#include "datamatrix/DmModules.h"
#include "tests/datamatrix/DmTestText.h"

namespace {

struct CodewordCase {
  std::string text;
  int scheme;
  std::vector<int> codewords;
};

class DataCodewordsTest : public testing::TestWithParam<CodewordCase> {};

TEST_P(DataCodewordsTest, MatchWorkedExample) {
  EXPECT_EQ(DataCodewords(GetParam().text, GetParam().scheme), GetParam().codewords);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, DataCodewordsTest,
    testing::Values(CodewordCase{"1", Ascii, {50}}, CodewordCase{"12", Ascii, {50, 51}},
                    CodewordCase{"123", Ascii, {50, 153}}, CodewordCase{"1234", Ascii, {50, 153, 53}},
                    CodewordCase{"12345", Ascii, {50, 153, 175}}, CodewordCase{"A12", Ascii, {66, 142}},
                    CodewordCase{"\xB0" "1", Ascii, {235, 49, 50}}, CodewordCase{"\xC4", Ascii, {235, 69}},
                    CodewordCase{"\xD6\xD0", Ascii, {235, 87, 235, 81}}, CodewordCase{"\r\n", Ascii, {14, 11}},
                    CodewordCase{"AIMAIMAIM", C40, {230, 91, 11, 91, 11, 91, 11, 254}},
                    CodewordCase{"aimaimaim", Text, {239, 91, 11, 91, 11, 91, 11, 254}},
                    CodewordCase{"ABC", Edifact, {240, 4, 32, 223}},
                    CodewordCase{"AB", Base256, {231, 46, 2, 153}},
                    // A lone EDIFACT value plus the unlatch would be the last two
                    // codewords, which a decoder reads as ASCII: the byte goes in ASCII.
                    CodewordCase{"A", Edifact, {240, 66}},
                    // X12 cannot fill a triple with a shift (its 0 is CR): unlatch, ASCII.
                    CodewordCase{"ABCDE", X12, {238, 89, 233, 254, 69, 70}},
                    // The two values of 'b' straddle the pair: its shift stays packed,
                    // the byte itself follows the unlatch in ASCII.
                    CodewordCase{"AAb", C40, {230, 89, 179, 254, 99}}));

struct PaddedCase {
  std::string text;
  std::vector<int> codewords;
};

class PaddedCodewordsTest : public testing::TestWithParam<PaddedCase> {};

TEST_P(PaddedCodewordsTest, FillTheSmallestSquare) {
  uint8_t buffer[DmCodewordBufferSize];
  const std::string& text = GetParam().text;
  int count = DmEncodeData(Bytes(text), static_cast<int>(text.size()), Ascii, buffer);
  const int size = DmChooseSize(DmSmallestSquare, count);
  ASSERT_GE(size, 0);
  DmPadCodewords(buffer, count, DmSizeAttribute(size, DataCapacity));
  EXPECT_EQ(std::vector<int>(buffer, buffer + count), GetParam().codewords);
}

INSTANTIATE_TEST_SUITE_P(Examples, PaddedCodewordsTest,
                         testing::Values(PaddedCase{"A", {66, 129, 70}}, PaddedCase{"1", {50, 129, 70}},
                                         PaddedCase{"12", {50, 51, 129}},
                                         PaddedCase{"ABCD", {66, 67, 68, 69, 129}}));

struct SizeCase {
  int request;
  int count;
  int size;
};

class ChooseSizeTest : public testing::TestWithParam<SizeCase> {};

TEST_P(ChooseSizeTest, PicksTheExpectedIndex) {
  EXPECT_EQ(DmChooseSize(GetParam().request, GetParam().count), GetParam().size);
}

INSTANTIATE_TEST_SUITE_P(Examples, ChooseSizeTest,
                         testing::Values(SizeCase{-1, 3, 0}, SizeCase{-1, 4, 1}, SizeCase{0, 4, -1},
                                         SizeCase{-1, 1558, 23}, SizeCase{-1, 1559, -1}, SizeCase{-2, 1559, -1},
                                         SizeCase{23, 1559, -1}, SizeCase{23, 1558, 23}, SizeCase{-2, 6, 25},
                                         SizeCase{-2, 5, 24}, SizeCase{-2, 50, -1}, SizeCase{-1, 0, -1},
                                         SizeCase{5, 0, -1}, SizeCase{29, 49, 29}, SizeCase{30, 1, -1},
                                         SizeCase{-3, 1, -1}));

// Capacity plus error correction fills the data area, eight modules a codeword.
TEST(SizeAttributes, CodewordsFillTheDataArea) {
  for (int size = 0; size < DmSizeCount; ++size) {
    const int modules = DmSizeAttribute(size, DataAreaRows) * DmSizeAttribute(size, DataAreaColumns);
    EXPECT_EQ(DmSizeAttribute(size, DataCapacity) + DmSizeAttribute(size, EccCodewords), modules / 8) << size;
    const bool fourLeftOver = size == 1 || size == 3 || size == 5 || size == 7;
    EXPECT_EQ(modules % 8, fourLeftOver ? 4 : 0) << size;
  }
}

TEST(SizeAttributes, UnequalBlocksOf144) {
  EXPECT_EQ(DmSizeAttribute(23, SymbolRows), 144);
  EXPECT_EQ(DmSizeAttribute(23, DataCapacity), 1558);
  EXPECT_EQ(DmSizeAttribute(23, EccCodewords), 620);
  EXPECT_EQ(DmSizeAttribute(23, InterleavedBlocks), 10);
  EXPECT_EQ(DmSizeAttribute(23, DataAreaRows), 132);
}

TEST(SizeAttributes, RectanglesHaveOneRowOfRegions) {
  for (int size = DmSquareSizeCount; size < DmSizeCount; ++size) {
    EXPECT_EQ(DmSizeAttribute(size, DataRegionsDown), 1);
    EXPECT_LT(DmSizeAttribute(size, SymbolRows), DmSizeAttribute(size, SymbolColumns));
  }
}

TEST(ErrorCorrection, TenByTenExample) {
  DmSymbolBuffers buffers;
  buffers.codewords = {142, 164, 186, 0, 0, 0, 0, 0};
  DmAppendEcc(0, buffers);
  EXPECT_EQ(buffers.codewords, (std::vector<uint8_t>{142, 164, 186, 114, 25, 5, 88, 102}));
}

TEST(EncodeText, LetterAGivesTenByTen) {
  DmEncodeParams params;
  int size = DmSmallestSquare;
  const auto grid = DmEncodeText(Bytes("A"), 1, params, size);
  ASSERT_TRUE(grid);
  EXPECT_EQ(size, 10);
  EXPECT_EQ(params.sizeIndex, 0);
  EXPECT_EQ(params.buffers->codewords, (std::vector<uint8_t>{66, 129, 70, 138, 234, 82, 82, 95}));
  std::vector<uint8_t> modules(64);
  EXPECT_EQ(DmPlaceCodewords(0, modules.data(), params.buffers->codewords.data()), 8);
  EXPECT_EQ(modules, params.buffers->modules);
}

std::unique_ptr<DmModuleGrid> EncodeForSize(int sizeIndex, DmEncodeParams& params) {
  int size = sizeIndex;
  return DmEncodeText(Bytes("Q"), 1, params, size);
}

bool Dark(const DmModuleGrid& g, int x, int rowFromBottom) { return g.IsDark(x, g.Rows() - 1 - rowFromBottom); }

class LayoutTest : public testing::TestWithParam<int> {};

TEST_P(LayoutTest, FinderAndAlignmentLines) {
  DmEncodeParams params;
  const auto grid = EncodeForSize(GetParam(), params);
  ASSERT_TRUE(grid);
  const int rows = grid->Rows(), columns = grid->Columns();
  EXPECT_EQ(rows, DmSizeAttribute(GetParam(), SymbolRows));
  EXPECT_EQ(columns, DmSizeAttribute(GetParam(), SymbolColumns));
  for (int x = 0; x < columns; ++x) {
    EXPECT_TRUE(Dark(*grid, x, 0)) << "bottom " << x;
    EXPECT_EQ(Dark(*grid, x, rows - 1), x % 2 == 0) << "top " << x;
  }
  for (int r = 0; r < rows; ++r) {
    EXPECT_TRUE(Dark(*grid, 0, r)) << "left " << r;
    EXPECT_EQ(Dark(*grid, columns - 1, r), r % 2 == 0) << "right " << r;
  }
  // The top-right module of every region is light.
  const int h = DmSizeAttribute(GetParam(), DataRegionRows) + 2;
  const int w = DmSizeAttribute(GetParam(), DataRegionColumns) + 2;
  for (int r = h - 1; r < rows; r += h)
    for (int x = w - 1; x < columns; x += w) EXPECT_FALSE(Dark(*grid, x, r)) << x << "," << r;
}

// The grid is filled a whole axis at a time; each module must still be what
// the per-module layout rule says.
TEST_P(LayoutTest, GridAgreesWithModuleAt) {
  DmEncodeParams params;
  const auto grid = EncodeForSize(GetParam(), params);
  ASSERT_TRUE(grid);
  for (int x = 0; x < grid->Columns(); ++x)
    for (int r = 0; r < grid->Rows(); ++r)
      ASSERT_EQ(Dark(*grid, x, r), (DmModuleAt(GetParam(), *params.buffers, r, x) & dm::kDarkModule) != 0) << x << "," << r;
}

INSTANTIATE_TEST_SUITE_P(AllSizes, LayoutTest, testing::Range(0, DmSizeCount));

TEST(Layout, InnerFramesOf32By32) {
  DmEncodeParams params;
  const auto grid = EncodeForSize(9, params);
  ASSERT_TRUE(grid);
  for (int i = 0; i < 32; ++i) {
    EXPECT_TRUE(Dark(*grid, i, 16)) << i;            // solid bottom line of the upper regions
    EXPECT_EQ(Dark(*grid, i, 15), i % 2 == 0) << i;  // alternating top line of the lower regions
    EXPECT_TRUE(Dark(*grid, 16, i)) << i;            // solid left line of the right regions
    // alternating right line of the left regions, cut by the solid row 16
    EXPECT_EQ(Dark(*grid, 15, i), i % 2 == 0 || i == 16) << i;
  }
}

class CornerTest : public testing::TestWithParam<int> {};

// The four modules left over in 12, 16, 20 and 24 are a fixed pattern.
TEST_P(CornerTest, FixedDarkPairOnlyWhereModulesAreLeftOver) {
  DmEncodeParams params;
  const int size = GetParam();
  ASSERT_TRUE(EncodeForSize(size, params));
  const auto& m = params.buffers->modules;
  const int nrow = params.dataAreaRows, ncol = params.dataAreaColumns;
  auto at = [&](int r, int c) { return m[static_cast<size_t>(r) * ncol + c]; };
  const bool fixed = size == 1 || size == 3 || size == 5 || size == 7;
  if (fixed) {
    EXPECT_EQ(at(nrow - 1, ncol - 1) & dm::kDarkModule, dm::kDarkModule);
    EXPECT_EQ(at(nrow - 2, ncol - 2) & dm::kDarkModule, dm::kDarkModule);
    EXPECT_EQ(at(nrow - 1, ncol - 2), 0);
    EXPECT_EQ(at(nrow - 2, ncol - 1), 0);
  }
  EXPECT_EQ((at(nrow - 1, ncol - 1) & dm::kPlacedModule) == 0, fixed);
}

INSTANTIATE_TEST_SUITE_P(AllSizes, CornerTest, testing::Range(0, DmSizeCount));

TEST(ModuleAt, MarksDataAreaModules) {
  DmEncodeParams params;
  ASSERT_TRUE(EncodeForSize(0, params));
  EXPECT_EQ(DmModuleAt(0, *params.buffers, 0, 0), dm::kDarkModule);      // frame corner
  EXPECT_EQ(DmModuleAt(0, *params.buffers, 9, 9), 0);                    // top right
  EXPECT_NE(DmModuleAt(0, *params.buffers, 5, 5) & dm::kFromDataArea, 0);
}

}  // namespace
