// Codewords read back from the finished grid (frames stripped, placement walk)
// equal the encoder's codeword array, and every block checks out under
// Reed-Solomon; for 144x144 this is the evidence that zxing cannot give.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "datamatrix/DmEncoder.h"
#include "tests/datamatrix/DmSymbolReader.h"
#include "tests/datamatrix/DmTestText.h"

namespace {

class ReadBackTest : public testing::TestWithParam<int> {};

TEST_P(ReadBackTest, GridHoldsTheCodewordsAndEveryBlockIsValid) {
  const int sizeIndex = GetParam();
  std::mt19937 rng(sizeIndex + 100);
  std::uniform_int_distribution<int> letter('a', 'z');
  std::string text(DmSizeAttribute(sizeIndex, DataCapacity) - 1, ' ');
  for (char& c : text) c = static_cast<char>(letter(rng));
  DmEncodeParams params;
  int size = sizeIndex;
  const auto grid = DmEncodeText(Bytes(text), static_cast<int>(text.size()), params, size);
  ASSERT_TRUE(grid);
  const std::vector<uint8_t>& codewords = params.buffers->codewords;
  ASSERT_EQ(static_cast<int>(codewords.size()),
            DmSizeAttribute(sizeIndex, DataCapacity) + DmSizeAttribute(sizeIndex, EccCodewords));
  EXPECT_EQ(ReadSymbolCodewords(sizeIndex, [&](int x, int y) { return grid->IsDark(x, y); }), codewords);
  for (int block = 0; block < DmSizeAttribute(sizeIndex, InterleavedBlocks); ++block)
    for (int syndrome : BlockSyndromes(sizeIndex, codewords, block)) ASSERT_EQ(syndrome, 0) << "block " << block;
}

INSTANTIATE_TEST_SUITE_P(AllSizes, ReadBackTest, testing::Range(0, DmSizeCount));

TEST(ReadBack, BlocksOf144TakeUnequalData) {
  const std::vector<int> expected = {156, 156, 156, 156, 156, 156, 156, 156, 155, 155};
  for (int block = 0; block < 10; ++block) EXPECT_EQ(BlockDataCount(23, block), expected[block]);
}

}  // namespace
