// Independent evidence: zxing-cpp and libdmtx read our symbols back to the
// exact input bytes (144x144: libdmtx alone).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

#include "datamatrix/DmEncoder.h"
#include "tests/datamatrix/DmTestText.h"
#include "tests/support/Decode.h"

namespace {

struct Encoded {
  DmEncodeParams params;
  std::unique_ptr<DmModuleGrid> grid;
  std::optional<std::string> decoded;
};

Encoded EncodeAndDecode(const std::string& text, int scheme, int request) {
  Encoded out;
  out.params.scheme = scheme;
  out.grid = DmEncodeText(Bytes(text), static_cast<int>(text.size()), out.params, request);
  if (out.grid)
    out.decoded = DecodeModules(out.grid->Columns(), out.grid->Rows(),
                                [&](int x, int y) { return out.grid->IsDark(x, y); }, DecodeFormat::DataMatrix, 2, 2);
  return out;
}

std::string RandomText(std::mt19937& rng, const std::string& pool, int length) {
  std::string text;
  for (int i = 0; i < length; ++i) text += pool[rng() % pool.size()];
  return text;
}

std::string ByteRange(int first, int last) {
  std::string s;
  for (int b = first; b <= last; ++b) s += static_cast<char>(b);
  return s;
}

const std::string kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ", kLower = "abcdefghijklmnopqrstuvwxyz", kDigits = "0123456789";
const std::string kAutoPool = kLower + kLower + kLower + kUpper + kDigits + kDigits + " .,\r\n\xd6\xd0\xb0";

// Every size filled exactly in ASCII reads back; one byte more does not fit.
TEST(EverySize, FilledInAsciiReadBack) {
  for (int size = 0; size < DmSizeCount; ++size) {
    SCOPED_TRACE(testing::Message() << "size " << size);
    std::mt19937 rng(size);
    const std::string text = RandomText(rng, kUpper + kLower + " .", DmSizeAttribute(size, DataCapacity));
    const Encoded out = EncodeAndDecode(text, Ascii, size);
    ASSERT_TRUE(out.grid);
    const DmModuleGrid& grid = *out.grid;
    ASSERT_EQ(std::make_pair(grid.Rows(), grid.Columns()),
              std::make_pair(DmSizeAttribute(size, SymbolRows), DmSizeAttribute(size, SymbolColumns)));
    // The four modules left over in 12, 16, 20 and 24 are a fixed pattern no decoder looks at.
    if (size == 1 || size == 3 || size == 5 || size == 7) {
      const int n = grid.Columns() - 2;
      EXPECT_TRUE(grid.IsDark(n, n) && grid.IsDark(n - 1, n - 1) && !grid.IsDark(n - 1, n) && !grid.IsDark(n, n - 1));
    }
    EXPECT_EQ(out.decoded, text);
    EXPECT_FALSE(EncodeAndDecode(text + "x", Ascii, size).grid);
  }
}

// Lengths 1 to 250 cross the end of every square up to 48x48 in every
// scheme, so every end-of-data and unlatch rule meets a full symbol; the
// shorter ones also go into rectangles and larger squares, where the
// end-of-data decisions differ.
TEST(Schemes, RandomTextsOfEveryLengthAndRequest) {
  const std::pair<int, std::string> schemes[] = {
      {Ascii, kAutoPool},
      {C40, kUpper + kUpper + kDigits + "  !,.:[_`a{\x01\x1f\x7f\xc1\xe1\xb5\xff"},
      {Text, kLower + kLower + kDigits + "  !,.:[_`A{\x01\x1f\x7f\xc1\xe1\xb5\xff"},
      {X12, kUpper + kDigits + " *>\r"},
      {Edifact, ByteRange(32, 94)},
      {Base256, ByteRange(0, 255)},
      {Auto, kAutoPool}};
  for (const auto& [scheme, pool] : schemes) {
    std::mt19937 rng(scheme * 7919 + 1);
    int fullSymbols = 0;
    for (int length = 1; length <= 250; ++length) {
      const std::string text = RandomText(rng, pool, length);
      const Encoded square = EncodeAndDecode(text, scheme, DmSmallestSquare);
      ASSERT_TRUE(square.grid) << "scheme " << scheme << " length " << length;
      EXPECT_EQ(square.decoded, text) << "scheme " << scheme << " length " << length;
      const int capacity = DmSizeAttribute(square.params.sizeIndex, DataCapacity);
      const int dataCount = static_cast<int>(DataCodewords(text, scheme).size());
      fullSymbols += dataCount == capacity;
      if (scheme == Base256) {  // the length field grows from one codeword to two at 250 bytes
        EXPECT_EQ(dataCount, length + (length <= 249 ? 2 : 3));
      }
      if (length > 60) continue;
      const Encoded rectangle = EncodeAndDecode(text, scheme, DmSmallestRectangle);
      if (rectangle.grid) {
        EXPECT_EQ(rectangle.decoded, text) << "scheme " << scheme << " rectangle, length " << length;
      }
      for (int larger : {square.params.sizeIndex + 1, square.params.sizeIndex + 2})
        EXPECT_EQ(EncodeAndDecode(text, scheme, larger).decoded, text) << "scheme " << scheme << " size " << larger;
    }
    EXPECT_GE(fullSymbols, 3) << "scheme " << scheme;
  }
}

// One 144x144 symbol pinned: the start of its data, the first and the last
// error-correction codeword of each of its ten interleaved blocks.
TEST(Golden, Square144Codewords) {
  const std::string text = "Quillet 144x144";
  const Encoded out = EncodeAndDecode(text, Ascii, 23);
  ASSERT_TRUE(out.grid);
  const std::vector<int> codewords(out.params.buffers->codewords.begin(), out.params.buffers->codewords.end());
  ASSERT_EQ(codewords.size(), 2178u);
  EXPECT_EQ(std::vector<int>(codewords.begin(), codewords.begin() + 16),
            (std::vector<int>{82, 118, 106, 109, 109, 102, 117, 33, 144, 53, 121, 144, 53, 129, 87, 237}));
  EXPECT_EQ(std::vector<int>(codewords.begin() + 1558, codewords.begin() + 1568),
            (std::vector<int>{119, 23, 142, 137, 148, 126, 160, 171, 235, 120}));
  EXPECT_EQ(std::vector<int>(codewords.end() - 10, codewords.end()),
            (std::vector<int>{224, 85, 19, 4, 222, 103, 237, 50, 171, 6}));
  EXPECT_EQ(out.decoded, text);
}

// Under C40, Text and X12 a short text once gave latch, unlatch and ASCII,
// which libdmtx reads as other text; in every kind of size it now reads back.
TEST(Texts, ShortTextsInTripletSchemesAtEverySizeKind) {
  const std::pair<int, std::vector<std::string>> schemes[] = {
      {C40, {"A", "AB", "a", "12", "1A", "*", "A!", "\xC4", "AB\xC4"}},
      {Text, {"a", "ab", "A", "12", "a1", ">", "\xE4"}},
      {X12, {"A", "AB", "12", "1A", "*", ">", "A B", "ABCD"}}};
  for (const auto& [scheme, texts] : schemes)
    for (const std::string& text : texts)
      for (int request : {DmSmallestSquare, DmSmallestRectangle, 1, 5, 9, 23, 24, 29}) {
        const Encoded out = EncodeAndDecode(text, scheme, request);
        if (out.grid) {
          EXPECT_EQ(out.decoded, text) << "scheme " << scheme << " size " << request;
        }
      }
}

TEST(Texts, GbkLineBreaksHighBytesAndFixedEndings) {
  const std::string gbk = "\xd6\xd0\xce\xc4\xb6\xfe\xce\xac\xc2\xeb 2D \xc2\xeb";  // 中文二维码 2D 码
  const std::string lines = "line 1\r\nline 2\r\n\r\nend", high = ByteRange(128, 255);
  const std::pair<std::string, int> cases[] = {
      {gbk, Ascii},   {gbk, Auto},    {gbk, C40},  {gbk, Text},  {gbk, Base256}, {lines, Ascii},
      {lines, Auto},  {lines, Text},  {high, Ascii}, {high, Auto}, {high, C40},   {high, Text},
      {high, Base256}, {high + high + high, Ascii}, {"0123456789012", Ascii},
      // Each ending that once gave a symbol reading other than its input.
      {"\xb0" "1", Ascii}, {"A", Edifact}, {"ABCDE", X12}, {"AAb", C40}, {"AAAAAAAA\xC4", C40}};
  for (const auto& [text, scheme] : cases)
    EXPECT_EQ(EncodeAndDecode(text, scheme, DmSmallestSquare).decoded, text) << "scheme " << scheme << ": " << text;
}

}  // namespace
