#include <gtest/gtest.h>

#include <string>

#include "content/CodePage.h"

namespace {

struct ConversionCase {
  std::string name;
  std::string utf8;
  std::string bytes;
};

const ConversionCase ConversionCases[] = {
    {"Empty", "", ""},
    {"Ascii", "Hello, 1;2:3\r\n", "Hello, 1;2:3\r\n"},
    {"ControlAndZeroBytes", std::string("a\0\x01\x7F", 4), std::string("a\0\x01\x7F", 4)},
    {"GbkIdeographs", "客服", "\xBF\xCD\xB7\xFE"},
    {"MixedText", "中国移动v1.0", "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAFv1.0"},
    {"FullWidthPunctuation", "，。：；！", "\xA3\xAC\xA1\xA3\xA3\xBA\xA3\xBB\xA3\xA1"},
    {"EuroSignIsCodePage936Byte80", "€", "\x80"},
    {"MiddleDot", "·", "\xA1\xA4"},
    {"EmojiAsGb18030FourBytes", "😀", "\x94\x39\xFC\x36"},
    {"ExtensionBIdeographAsGb18030", "𠀀", "\x95\x32\x82\x36"},
    {"YenSignAsGb18030", "¥", "\x81\x30\x84\x36"},
    {"TwoByteGb18030OnlyCode", "ḿ", "\xA8\xBC"},
    {"VerticalCommaAsGb18030", "\xEF\xB8\x90", "\xA6\xD9"},
    {"LastBmpCharacter", "\xEF\xBF\xBF", "\x84\x31\xA4\x39"},
    {"LastCodePoint", "\xF4\x8F\xBF\xBF", "\xE3\x32\x9A\x35"},
    {"TagCharacterIsNotSwallowed", "\xF3\xA0\x81\x81", "\xD3\x36\x9C\x33"},
};

class Conversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(Conversion, ToCodePage) {
  std::string error;
  const auto bytes = Utf8ToCodePage(GetParam().utf8, &error);
  ASSERT_TRUE(bytes.has_value()) << error;
  EXPECT_EQ(*bytes, GetParam().bytes);
}

TEST_P(Conversion, BackToUtf8) {
  std::string error;
  const auto text = CodePageToUtf8(GetParam().bytes, &error);
  ASSERT_TRUE(text.has_value()) << error;
  EXPECT_EQ(*text, GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(CodePage, Conversion, testing::ValuesIn(ConversionCases),
                         [](const auto& info) { return info.param.name; });

struct InvalidCase {
  std::string name;
  std::string input;
  std::string where;  // expected part of the message
};

const InvalidCase InvalidUtf8Cases[] = {
    {"StrayContinuation", "ab\x80", "byte 2"},
    {"TruncatedAtEnd", "x\xE5\xAE", "byte 1"},
    {"TruncatedBeforeAscii", "\xE5\xAEx", "byte 0"},
    {"OverlongSlash", "\xC0\xAF", "byte 0"},
    {"OverlongThreeBytes", "\xE0\x80\xAF", "byte 0"},
    {"Surrogate", "ok\xED\xA0\x80", "byte 2"},
    {"AboveUnicode", "\xF4\x90\x80\x80", "byte 0"},
    {"ByteFF", "\xFF", "byte 0"},
};

class InvalidUtf8 : public testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidUtf8, IsRejectedSayingWhere) {
  std::string error;
  EXPECT_FALSE(Utf8ToCodePage(GetParam().input, &error).has_value());
  EXPECT_NE(error.find("UTF-8"), std::string::npos) << error;
  EXPECT_NE(error.find(GetParam().where), std::string::npos) << error;
  EXPECT_FALSE(Utf8ToCodePage(GetParam().input).has_value());  // no error sink needed
}

INSTANTIATE_TEST_SUITE_P(CodePage, InvalidUtf8, testing::ValuesIn(InvalidUtf8Cases),
                         [](const auto& info) { return info.param.name; });

const InvalidCase InvalidCodePageCases[] = {
    {"LoneLeadByte", "a\xBF", "byte 1"},
    {"ByteFF", "\xFF", "byte 0"},
    {"TruncatedFourByte", "\x94\x39\xFC", "byte 0"},
    {"BadTrailByte", "\xBF\x20", "byte 0"},
};

class InvalidCodePage : public testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidCodePage, IsRejectedSayingWhere) {
  std::string error;
  EXPECT_FALSE(CodePageToUtf8(GetParam().input, &error).has_value());
  EXPECT_NE(error.find(GetParam().where), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(CodePage, InvalidCodePage, testing::ValuesIn(InvalidCodePageCases),
                         [](const auto& info) { return info.param.name; });

std::string EncodeUtf8(char32_t c) {
  if (c < 0x80) return std::string(1, static_cast<char>(c));
  if (c < 0x800) return {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
  if (c < 0x10000)
    return {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
            static_cast<char>(0x80 | (c & 0x3F))};
  return {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
          static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
}

bool IsPrivateUse(char32_t c) { return c >= 0xE000 && c <= 0xF8FF; }

// Every Unicode scalar value survives the trip unchanged, so nothing typed is
// lost. The only exceptions are a few private-use code points that GB18030 no
// longer encodes; those are refused with a message, never altered.
TEST(CodePage, EveryCharacterRoundTripsOrIsRefused) {
  int failures = 0;
  int refused = 0;
  for (char32_t c = 1; c <= 0x10FFFF && failures < 5; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const std::string utf8 = EncodeUtf8(c);
    std::string error;
    const auto bytes = Utf8ToCodePage(utf8, &error);
    if (!bytes && IsPrivateUse(c) && !error.empty()) {
      ++refused;
      continue;
    }
    const auto back = bytes ? CodePageToUtf8(*bytes) : std::nullopt;
    if (!back || *back != utf8) {
      ADD_FAILURE() << "U+" << std::hex << static_cast<uint32_t>(c);
      ++failures;
    }
  }
  EXPECT_LE(refused, 24);
}

TEST(CodePage, UnencodablePrivateUseCharacterIsRefusedNotDropped) {
  std::string error;
  EXPECT_FALSE(Utf8ToCodePage("a\xEE\x9E\x8D", &error).has_value());  // U+E78D
  EXPECT_NE(error.find("byte 1"), std::string::npos) << error;
}

}  // namespace
