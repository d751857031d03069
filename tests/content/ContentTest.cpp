// Code page conversion and payload composition against worked examples.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "content/Catalogue.h"
#include "content/CodePage.h"
#include "content/Payload.h"

using namespace quillet;

namespace {

struct ComposeCase {
  std::string name;
  int format, tab;
  std::vector<std::pair<std::string_view, std::string>> fields;  // tag, UTF-8 text
  std::string payload;                                           // code page 936 bytes
};

const ComposeCase ComposeCases[] = {
    {"CardWithGbkName", 1, 0, {{"N", "客服"}, {"M", "12345"}}, "CARD:N:\xBF\xCD\xB7\xFE;M:12345;;"},
    {"MailTitleBeforeRecipient", 1, 1, {{"TO", "sales"}, {"SUB", "Hi"}, {"TXT", "OK"}}, "MAIL:SUB:Hi;TO:sales;TXT:OK;;"},
    {"MailWithoutTitle", 2, 1, {{"TO", "sales"}, {"TXT", "OK"}}, "MAIL:TO:sales;TXT:OK;;"},
    {"SmsServiceV2", 2, 5, {{"BN", "News"}, {"DG", "DY"}, {"SID", "1234"}}, "SAD:DG:DY;SID:1234;BN:News;;"},
    {"SmsServiceV1", 1, 7, {{"SUB", "News"}, {"DG", "DY"}, {"SID", "1234"}}, "AD:SUB:News;DG:DY;SID:1234;;"},
    {"CustomUnicom", 3, 8, {{"TEXT", "hello"}}, "CUSTOM:TEXT:hello;;"},
    {"SingleBlankIsAValue", 1, 0, {{"N", " "}}, "CARD:N: ;;"},
    {"SeparatorsAreNotEscaped", 3, 3, {{"TXT", "a;b:c"}}, "DTXT:TXT:a;b:c;;"},
    {"LineBreaksKept", 1, 2, {{"SM", "10086"}, {"TXT", "one\r\ntwo"}}, "SMS:SM:10086;TXT:one\r\ntwo;;"},
    {"AllEmpty", 2, 1, {{"TO", ""}, {"TXT", ""}}, ""},
    {"TabBeyondFormat", 2, 7, {{"TEXT", "hello"}}, ""},
};

class Compose : public testing::TestWithParam<ComposeCase> {};

TEST_P(Compose, GivesThePayloadAndTheEncoderInput) {
  const ComposeCase& c = GetParam();
  FieldValueArray values;
  for (const auto& [tag, text] : c.fields) values.at(FieldSlotOfTag(tag)) = Utf8ToCodePage(text).value();
  const std::string payload = ComposeFieldPayload(values, c.format, c.tab);
  EXPECT_EQ(payload, c.payload);
  EXPECT_EQ(EncoderInput(payload), std::string("\x01\x10", 2) + c.payload);
}

INSTANTIATE_TEST_SUITE_P(Payload, Compose, testing::ValuesIn(ComposeCases),
                         [](const auto& info) { return info.param.name; });

TEST(Payload, SlotsBeyondTheLastStoreNothing) {
  FieldValueArray values;
  EXPECT_TRUE(StoreFieldValue(values, 23, "hello"));
  EXPECT_FALSE(StoreFieldValue(values, FieldSlotCount, "lost"));
  EXPECT_FALSE(StoreFieldValue(values, 0xFFFFFFFFu, "lost"));
  EXPECT_EQ(ComposeFieldPayload(values, 3, 8), "CUSTOM:TEXT:hello;;");
}

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
  EXPECT_EQ(Utf8ToCodePage(GetParam().utf8), GetParam().bytes);
  EXPECT_EQ(CodePageToUtf8(GetParam().bytes), GetParam().utf8);
}

// The strict conversion keeps two-byte codes and refuses the first character
// that has only a four-byte GB18030 code, naming it.
TEST(CodePage, StrictConversionRefusesFourByteCodes) {
  EXPECT_EQ(Utf8ToCodePage936("中€\xE1\xB8\xBF"), "\xD6\xD0\x80\xA8\xBC");
  const std::pair<std::string, std::string> refused[] = {{"😀", "😀"}, {"a¥😀", "¥"}, {"中\xF3\xA0\x81\x81", "\xF3\xA0\x81\x81"}};
  for (const auto& [text, character] : refused) {
    TextProblem problem;
    EXPECT_FALSE(Utf8ToCodePage936(text, &problem).has_value()) << text;
    EXPECT_EQ(problem.failure, TextFailure::NotInCodePage936) << text;
    EXPECT_EQ(problem.character, character);
    EXPECT_EQ(problem.offset, text.find(character));
  }
}

INSTANTIATE_TEST_SUITE_P(CodePage, Conversion, testing::ValuesIn(ConversionCases),
                         [](const auto& info) { return info.param.name; });

// Each invalid input with the kind, the offset and the first byte its problem names.
struct InvalidCase {
  std::string text;
  bool codePage;  // CodePageToUtf8 rather than Utf8ToCodePage
  TextFailure failure;
  size_t offset;
  char byte;
};

const InvalidCase InvalidCases[] = {
    {"ab\x80", false, TextFailure::InvalidUtf8, 2, '\x80'},
    {"x\xE5\xAE", false, TextFailure::InvalidUtf8, 1, '\xE5'},
    {"\xC0\xAF", false, TextFailure::InvalidUtf8, 0, '\xC0'},
    {"ok\xED\xA0\x80", false, TextFailure::InvalidUtf8, 2, '\xED'},
    {"\xF4\x90\x80\x80", false, TextFailure::InvalidUtf8, 0, '\xF4'},
    {"\xFF", false, TextFailure::InvalidUtf8, 0, '\xFF'},
    {"a\xFF", true, TextFailure::InvalidCodePage, 1, '\xFF'},
    {"\xB0\xA1\x81\x30", true, TextFailure::InvalidCodePage, 2, '\x81'},
};

TEST(CodePage, InvalidTextIsRejectedSayingWhere) {
  for (const InvalidCase& c : InvalidCases) {
    TextProblem problem;
    const auto converted = c.codePage ? CodePageToUtf8(c.text, &problem) : Utf8ToCodePage(c.text, &problem);
    EXPECT_FALSE(converted.has_value()) << c.offset;
    EXPECT_EQ(problem.failure, c.failure) << c.offset;
    EXPECT_EQ(problem.offset, c.offset);
    ASSERT_FALSE(problem.character.empty());
    EXPECT_EQ(problem.character[0], c.byte);
  }
}

// A field is named by its tag in any case, its caption (without "*", colons
// and blanks) or a word people head columns with; a word means the first of
// its fields that the page has.
TEST(Catalogue, FieldsByTagCaptionOrHeaderWord) {
  const struct {
    FormatTab page;
    std::string name;
    std::string_view tag;  // empty: no field of the page
  } cases[] = {
      {{4, 0}, "N", "N"},          {{4, 0}, " n ", "N"},        {{4, 0}, "姓名", "N"},      {{4, 0}, "* 姓名：", "N"},
      {{4, 0}, "名字", "N"},       {{4, 0}, "单位", "COR"},     {{4, 0}, "公司", "COR"},    {{4, 0}, "电子邮件", "EM"},
      {{4, 0}, "邮箱", "EM"},      {{4, 0}, "EMAIL", "EM"},     {{4, 0}, "手机", "M"},      {{4, 0}, "手机号码", "M"},
      {{4, 0}, "电话", "TEL"},     {{4, 0}, "座机", "TEL"},     {{4, 0}, "地址", "ADR"},    {{4, 0}, "网址", "URL"},
      {{4, 0}, "网站", "URL"},     {{4, 0}, "邮编", "ZIP"},     {{4, 0}, "邮政编码", "ZIP"}, {{4, 0}, "职务", "TIL"},
      {{4, 0}, "职位", "TIL"},     {{4, 0}, "备注", "NOTE"},    {{4, 0}, "密码", ""},       {{4, 0}, "SSID", ""},
      {{4, 1}, "密码", "PWD"},     {{4, 1}, "Wi-Fi密码", "PWD"}, {{4, 1}, "WiFi", "SSID"},  {{4, 1}, "加密", "ENC"},
      {{4, 3}, "电话", "TEL"},     {{4, 3}, "号码", "TEL"},     {{4, 4}, "手机", "SM"},     {{4, 4}, "电话", "SM"},
      {{4, 5}, "邮箱", "TO"},      {{4, 5}, "主题", "SUB"},     {{4, 7}, "地址", "LOC"},    {{4, 7}, "开始时间", "START"},
      {{4, 8}, "内容", "TEXT"},    {{1, 0}, "固话", "TEL"},     {{1, 0}, "单位", "COR"},    {{1, 8}, "电话", "CT"},
      {{1, 1}, "邮箱", "TO"},      {{1, 3}, "内容", "TXT"},     {{3, 8}, "text", "TEXT"},   {{2, 4}, "N", ""},
      {{4, 1}, "WiFi名称", "SSID"}, {{4, 4}, "内容", "TXT"},     {{4, 0}, "", ""},           {{4, 0}, "*", ""},
      {{4, 0}, "Nmae", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name + " on format " + std::to_string(c.page.format) + " tab " + std::to_string(c.page.tab));
    const FieldSpec* field = FieldOfName(*PageForTab(c.page.format, c.page.tab), c.name);
    EXPECT_EQ(field ? FieldTags[field->slot] : "", c.tag);
  }
}

// Every header word lists real tags and names a field on some page, and no
// word is itself a tag, which would shadow it.
TEST(Catalogue, HeaderWordsNameFieldsOfSomePage) {
  for (const FieldWord& word : FieldWords()) {
    SCOPED_TRACE(std::string(word.word));
    EXPECT_LT(FieldSlotOfTag(word.word), 0);
    bool onSomePage = false;
    for (std::string_view tags = word.tags; !tags.empty();) {
      const std::string_view tag = tags.substr(0, tags.find(' '));
      EXPECT_GE(FieldSlotOfTag(tag), 0) << tag;
      tags.remove_prefix(std::min(tags.size(), tag.size() + 1));
    }
    for (std::span<const PageSpec> pages : {ContentPages(), GeneralPages()})
      for (const PageSpec& page : pages) onSomePage = onSomePage || FieldOfName(page, word.word) != nullptr;
    EXPECT_TRUE(onSomePage);
  }
}

}  // namespace
