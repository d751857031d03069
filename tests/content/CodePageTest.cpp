#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "content/CodePage.h"

namespace {

struct ConversionCase {
  std::string name, utf8, bytes;
};

const ConversionCase ConversionCases[] = {
    {"Ascii", "Hello, 1;2:3\r\n", "Hello, 1;2:3\r\n"},
    {"GbkIdeographs", "中国移动v1.0", "\xD6\xD0\xB9\xFA\xD2\xC6\xB6\xAFv1.0"},
    {"FullWidthPunctuation", "，。：；！", "\xA3\xAC\xA1\xA3\xA3\xBA\xA3\xBB\xA3\xA1"},
    {"EuroSignIsCodePage936Byte80", "€", "\x80"},
    {"EmojiAsGb18030FourBytes", "😀", "\x94\x39\xFC\x36"},
    {"ExtensionBIdeographAsGb18030", "𠀀", "\x95\x32\x82\x36"},
    {"YenSignAsGb18030", "¥", "\x81\x30\x84\x36"},
    {"TwoByteGb18030OnlyCode", "ḿ", "\xA8\xBC"},
    {"TagCharacterIsNotSwallowed", "\xF3\xA0\x81\x81", "\xD3\x36\x9C\x33"},
};

class Conversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(Conversion, GoesToTheBytesAndBack) {
  std::string error;
  EXPECT_EQ(Utf8ToCodePage(GetParam().utf8, &error), GetParam().bytes) << error;
  EXPECT_EQ(CodePageToUtf8(GetParam().bytes, &error), GetParam().utf8) << error;
}

INSTANTIATE_TEST_SUITE_P(CodePage, Conversion, testing::ValuesIn(ConversionCases),
                         [](const auto& info) { return info.param.name; });

// Each input with the position its message must name.
const std::pair<std::string, std::string> InvalidUtf8Cases[] = {
    {"ab\x80", "byte 2"},         {"x\xE5\xAE", "byte 1"},         {"\xC0\xAF", "byte 0"},
    {"ok\xED\xA0\x80", "byte 2"}, {"\xF4\x90\x80\x80", "byte 0"}, {"\xFF", "byte 0"},
};

TEST(CodePage, InvalidUtf8IsRejectedSayingWhere) {
  for (const auto& [input, where] : InvalidUtf8Cases) {
    std::string error;
    EXPECT_FALSE(Utf8ToCodePage(input, &error).has_value());
    EXPECT_NE(error.find("UTF-8"), std::string::npos) << error;
    EXPECT_NE(error.find(where), std::string::npos) << error;
  }
}

}  // namespace
