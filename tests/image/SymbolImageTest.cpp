#include <gtest/gtest.h>

#include <chrono>

#include "image/SymbolImage.h"
#include "tests/image/TestSymbols.h"

namespace {

struct SizeCase {
  std::string name;
  DecodeFormat format;
  std::string text;
  int modules;
  int scale;
  int side;
};

// A version 1 QR symbol at scale 4 is 100 pixels square; a 10x10 Data Matrix at scale 1, 14.
const SizeCase SizeCases[] = {
    {"QrVersion1Scale4", DecodeFormat::QrCode, "hello", 21, 4, 100},
    {"DataMatrix10Scale1", DecodeFormat::DataMatrix, "123", 10, 1, 14},
    {"QrVersion1Scale16", DecodeFormat::QrCode, "hello", 21, 16, 400},
};

class SavedSize : public testing::TestWithParam<SizeCase> {};

TEST_P(SavedSize, IsModulesPlusFourTimesScale) {
  const SizeCase& c = GetParam();
  const ModuleMatrix matrix = ZxingSymbol(c.format, c.text);
  ASSERT_EQ(matrix.Columns(), c.modules);
  const QImage image = RenderSymbol(matrix, c.scale, SavedQuietZoneModules);
  EXPECT_EQ(image.width(), c.side);
  EXPECT_EQ(image.height(), c.side);
  EXPECT_EQ(image.format(), QImage::Format_Grayscale8);
}

INSTANTIATE_TEST_SUITE_P(SymbolImage, SavedSize, testing::ValuesIn(SizeCases),
                         [](const auto& info) { return info.param.name; });

TEST(SymbolImage, FirstDarkPixelOfVersion1AtScale4IsAt8_8) {
  const QImage image = RenderSymbol(ZxingSymbol(DecodeFormat::QrCode, "hello"), 4, SavedQuietZoneModules);
  int first = -1;
  for (int i = 0; i < image.width() * image.height() && first < 0; ++i)
    if (image.constScanLine(i / image.width())[i % image.width()] == 0) first = i;
  EXPECT_EQ(first % image.width(), 8);
  EXPECT_EQ(first / image.width(), 8);
}

struct PixelCase {
  int columns, rows, scale, quiet;
};

const PixelCase PixelCases[] = {
    {21, 21, 1, 0}, {21, 21, 1, 2}, {21, 21, 3, 2}, {25, 25, 16, 2}, {10, 10, 7, 0},
    {18, 8, 5, 2},  {1, 1, 1, 2},   {177, 177, 1, 2}, {177, 177, 16, 2}, {144, 144, 4, 1},
};

class Pixels : public testing::TestWithParam<PixelCase> {};

TEST_P(Pixels, AreExactlyTheModules) {
  const PixelCase& c = GetParam();
  const ModuleMatrix matrix = PatternMatrix(c.columns, c.rows, 7u * c.columns + c.scale);
  const QImage image = RenderSymbol(matrix, c.scale, c.quiet);
  ASSERT_EQ(image.width(), (c.columns + 2 * c.quiet) * c.scale);
  ASSERT_EQ(image.height(), (c.rows + 2 * c.quiet) * c.scale);
  int wrong = 0;
  for (int py = 0; py < image.height(); ++py)
    for (int px = 0; px < image.width(); ++px)
      wrong += image.constScanLine(py)[px] != ExpectedPixel(matrix, c.scale, c.quiet, px, py);
  EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(SymbolImage, Pixels, testing::ValuesIn(PixelCases));

TEST(SymbolImage, RenderedSymbolsDecode) {
  for (const auto format : {DecodeFormat::QrCode, DecodeFormat::DataMatrix}) {
    const QImage image = RenderSymbol(ZxingSymbol(format, "Quillet 123"), 3, SavedQuietZoneModules);
    const auto pixels = GreyPixels(image);
    EXPECT_EQ(DecodeImage(pixels.data(), image.width(), image.height(), format), "Quillet 123");
  }
}

TEST(SymbolImage, NothingToDrawGivesANullImage) {
  const ModuleMatrix matrix = PatternMatrix(21, 21, 1);
  EXPECT_TRUE(RenderSymbol(ModuleMatrix(), 4, 2).isNull());
  EXPECT_TRUE(RenderSymbol(matrix, 0, 2).isNull());
  EXPECT_TRUE(RenderSymbol(matrix, 17, 2).isNull());
  EXPECT_TRUE(RenderSymbol(matrix, 4, -1).isNull());
}

// The pages render after every keystroke: the largest symbol at the largest
// scale must take a small fraction of a frame.
TEST(SymbolImage, LargestSymbolRendersQuickly) {
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
  GTEST_SKIP() << "timing is meaningful in optimised builds only";
#endif
  const ModuleMatrix matrix = PatternMatrix(177, 177, 3);
  const auto start = std::chrono::steady_clock::now();
  constexpr int Rounds = 20;
  for (int i = 0; i < Rounds; ++i) ASSERT_FALSE(RenderSymbol(matrix, MaxScale, SavedQuietZoneModules).isNull());
  const auto each = (std::chrono::steady_clock::now() - start) / Rounds;
  RecordProperty("microseconds", static_cast<int>(std::chrono::duration_cast<std::chrono::microseconds>(each).count()));
  EXPECT_LT(each, std::chrono::milliseconds(20));
}

}  // namespace
