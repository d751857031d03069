// Independent evidence: zxing-cpp reads our symbols back to the exact input
// bytes. (144x144 is checked by reading codewords back instead: zxing 1.4
// does not read its standard interleaving.)
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "datamatrix/DmEncoder.h"
#include "tests/datamatrix/DmTestText.h"
#include "tests/support/Decode.h"

namespace {

constexpr int kUndecodableSize = 23;

struct Outcome {
  bool encoded = false;
  int sizeIndex = -1;
  int dataCount = 0;  // data codewords before padding
  std::optional<std::string> decoded;
};

Outcome EncodeAndDecode(const std::string& text, int scheme, int request) {
  Outcome out;
  DmEncodeParams params;
  params.scheme = scheme;
  int size = request;
  const auto grid = DmEncodeText(Bytes(text), static_cast<int>(text.size()), params, size);
  if (!grid) return out;
  out.encoded = true;
  out.sizeIndex = params.sizeIndex;
  uint8_t buffer[DmCodewordBufferSize];
  out.dataCount = DmEncodeData(Bytes(text), static_cast<int>(text.size()), scheme, buffer);
  if (params.sizeIndex != kUndecodableSize)
    out.decoded = DecodeModules(
        grid->Columns(), grid->Rows(), [&](int x, int y) { return grid->IsDark(x, y); }, DecodeFormat::DataMatrix,
        2, 2);
  return out;
}

std::string RandomText(std::mt19937& rng, const std::string& pool, int length) {
  std::uniform_int_distribution<size_t> pick(0, pool.size() - 1);
  std::string text;
  for (int i = 0; i < length; ++i) text += pool[pick(rng)];
  return text;
}

std::string ByteRange(int first, int last) {
  std::string s;
  for (int b = first; b <= last; ++b) s += static_cast<char>(b);
  return s;
}

const std::string kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const std::string kLower = "abcdefghijklmnopqrstuvwxyz";
const std::string kDigits = "0123456789";
// Mostly the basic set, with every kind of shift now and then.
const std::string kC40Pool = kUpper + kUpper + kDigits + "  " + "!,.:[_`a{\x01\x1f\x7f\xc1\xe1\xb5\xff";
const std::string kTextPool = kLower + kLower + kDigits + "  " + "!,.:[_`A{\x01\x1f\x7f\xc1\xe1\xb5\xff";
const std::string kX12Pool = kUpper + kDigits + " *>\r";
const std::string kEdifactPool = ByteRange(32, 94);
const std::string kBase256Pool = ByteRange(0, 255);
const std::string kAutoPool = kLower + kLower + kLower + kUpper + kDigits + kDigits + " .,\r\n\xd6\xd0\xb0";

struct SchemeCase {
  const char* name;
  int scheme;
  const std::string* pool;
};

const SchemeCase kSchemes[] = {{"Ascii", Ascii, &kAutoPool},      {"C40", C40, &kC40Pool},
                               {"Text", Text, &kTextPool},        {"X12", X12, &kX12Pool},
                               {"Edifact", Edifact, &kEdifactPool}, {"Base256", Base256, &kBase256Pool},
                               {"Auto", Auto, &kAutoPool}};

class SchemeDecodeTest : public testing::TestWithParam<SchemeCase> {};

// Lengths 1 to 250 cross the end of every square up to 48x48 in every scheme,
// so every end-of-data and unlatch rule meets a full symbol.
TEST_P(SchemeDecodeTest, RandomTextsOfEveryLengthDecode) {
  std::mt19937 rng(GetParam().scheme * 7919 + 1);
  int fullSymbols = 0;
  for (int length = 1; length <= 250; ++length) {
    const std::string text = RandomText(rng, *GetParam().pool, length);
    const Outcome out = EncodeAndDecode(text, GetParam().scheme, DmSmallestSquare);
    ASSERT_TRUE(out.encoded) << length;
    EXPECT_EQ(out.decoded, text) << "length " << length << " size " << out.sizeIndex;
    if (out.dataCount == DmSizeAttribute(out.sizeIndex, DataCapacity)) ++fullSymbols;
  }
  EXPECT_GE(fullSymbols, 3);
}

// End-of-data decisions depend on the size requested: rectangles and a
// square one larger than needed must decode as well.
TEST_P(SchemeDecodeTest, OtherSizeRequestsDecode) {
  std::mt19937 rng(GetParam().scheme * 104729 + 3);
  for (int length = 1; length <= 60; ++length) {
    const std::string text = RandomText(rng, *GetParam().pool, length);
    const Outcome rect = EncodeAndDecode(text, GetParam().scheme, DmSmallestRectangle);
    if (rect.encoded) {
      EXPECT_EQ(rect.decoded, text) << "rectangle, length " << length;
    }
    const Outcome square = EncodeAndDecode(text, GetParam().scheme, DmSmallestSquare);
    ASSERT_TRUE(square.encoded);
    for (int larger = square.sizeIndex + 1; larger <= square.sizeIndex + 2; ++larger) {
      const Outcome out = EncodeAndDecode(text, GetParam().scheme, larger);
      ASSERT_TRUE(out.encoded) << length;
      EXPECT_EQ(out.decoded, text) << "size " << larger << ", length " << length;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Schemes, SchemeDecodeTest, testing::ValuesIn(kSchemes),
                         [](const auto& info) { return std::string(info.param.name); });

class CapacityDecodeTest : public testing::TestWithParam<int> {};

TEST_P(CapacityDecodeTest, AsciiTextFillingTheCapacityDecodes) {
  const int size = GetParam();
  std::mt19937 rng(size);
  const std::string text = RandomText(rng, kUpper + kLower + " .", DmSizeAttribute(size, DataCapacity));
  const Outcome out = EncodeAndDecode(text, Ascii, size);
  ASSERT_TRUE(out.encoded);
  EXPECT_EQ(out.dataCount, DmSizeAttribute(size, DataCapacity));
  if (size != kUndecodableSize) {
    EXPECT_EQ(out.decoded, text);
  }
  EXPECT_FALSE(EncodeAndDecode(text + "x", Ascii, size).encoded);
}

INSTANTIATE_TEST_SUITE_P(AllSizes, CapacityDecodeTest, testing::Range(0, DmSizeCount));

struct TextCase {
  const char* name;
  std::string text;
  int scheme;
};

class SpecialTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(SpecialTextTest, Decodes) {
  const Outcome out = EncodeAndDecode(GetParam().text, GetParam().scheme, DmSmallestSquare);
  ASSERT_TRUE(out.encoded);
  EXPECT_EQ(out.decoded, GetParam().text);
}

const std::string kGbk = "\xd6\xd0\xce\xc4\xb6\xfe\xce\xac\xc2\xeb 2D \xc2\xeb";  // 中文二维码 2D 码
const std::string kLines = "line 1\r\nline 2\r\n\r\nend";
const std::string kHigh = ByteRange(128, 255);
const std::string kLongHigh = kHigh + kHigh + kHigh;

INSTANTIATE_TEST_SUITE_P(
    Texts, SpecialTextTest,
    testing::Values(TextCase{"GbkAscii", kGbk, Ascii}, TextCase{"GbkAuto", kGbk, Auto}, TextCase{"GbkC40", kGbk, C40},
                    TextCase{"GbkText", kGbk, Text}, TextCase{"GbkBase256", kGbk, Base256},
                    TextCase{"LinesAscii", kLines, Ascii}, TextCase{"LinesAuto", kLines, Auto},
                    TextCase{"LinesText", kLines, Text}, TextCase{"HighAscii", kHigh, Ascii},
                    TextCase{"HighAuto", kHigh, Auto}, TextCase{"HighC40", kHigh, C40},
                    TextCase{"HighText", kHigh, Text}, TextCase{"HighBase256", kHigh, Base256},
                    TextCase{"LongHighAscii", kLongHigh, Ascii}, TextCase{"Digits", "0123456789012", Ascii},
                    TextCase{"DigitAfterUpperShift", "\xb0" "1", Ascii}, TextCase{"LoneEdifact", "A", Edifact},
                    TextCase{"X12TwoLeft", "ABCDE", X12}, TextCase{"StraddlingShift", "AAb", C40}),
    [](const auto& info) { return std::string(info.param.name); });

class Base256LengthTest : public testing::TestWithParam<int> {};

// The length field grows from one codeword to two at 250 bytes.
TEST_P(Base256LengthTest, Decodes) {
  std::mt19937 rng(GetParam());
  const std::string text = RandomText(rng, kBase256Pool, GetParam());
  const Outcome out = EncodeAndDecode(text, Base256, DmSmallestSquare);
  ASSERT_TRUE(out.encoded);
  EXPECT_EQ(out.dataCount, GetParam() + (GetParam() <= 249 ? 2 : 3));
  EXPECT_EQ(out.decoded, text);
}

INSTANTIATE_TEST_SUITE_P(AcrossTheFieldChange, Base256LengthTest,
                         testing::Values(247, 248, 249, 250, 251, 252, 499, 500, 1000));

}  // namespace
