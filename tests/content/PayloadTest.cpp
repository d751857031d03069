#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "content/CodePage.h"
#include "content/Payload.h"

namespace {

using Fields = std::vector<std::pair<std::string_view, std::string>>;

FieldValueArray Values(const Fields& fields) {
  FieldValueArray values;
  for (const auto& [tag, value] : fields) values.at(FieldSlotOfTag(tag)) = value;
  return values;
}

struct ComposeCase {
  std::string name;
  int format;
  int tab;
  Fields fields;
  std::string payload;
};

const ComposeCase ComposeCases[] = {
    {"MailTitleComesBeforeRecipient", 1, 1, {{"TO", "sales"}, {"SUB", "Hi"}, {"TXT", "OK"}},
     "MAIL:SUB:Hi;TO:sales;TXT:OK;;"},
    {"MailWithoutTitle", 2, 1, {{"TO", "sales"}, {"TXT", "OK"}}, "MAIL:TO:sales;TXT:OK;;"},
    {"SmsServiceV2", 2, 5, {{"BN", "News"}, {"DG", "DY"}, {"SID", "1234"}}, "SAD:DG:DY;SID:1234;BN:News;;"},
    {"SmsServiceV1", 1, 7, {{"SUB", "News"}, {"DG", "DY"}, {"SID", "1234"}}, "AD:SUB:News;DG:DY;SID:1234;;"},
    {"CustomUnicom", 3, 8, {{"TEXT", "hello"}}, "CUSTOM:TEXT:hello;;"},
    {"OnlyUnmarkedField", 1, 0, {{"M", "12345"}}, "CARD:M:12345;;"},
    {"SingleBlankIsAValue", 1, 0, {{"N", " "}}, "CARD:N: ;;"},
    {"SeparatorsAreNotEscaped", 3, 3, {{"TXT", "a;b:c"}}, "DTXT:TXT:a;b:c;;"},
    {"LineBreaksKept", 1, 2, {{"SM", "10086"}, {"TXT", "one\r\ntwo"}}, "SMS:SM:10086;TXT:one\r\ntwo;;"},
    {"PhoneInSlotOrder", 1, 4, {{"SUB", "Home"}, {"TEL", "010"}, {"M", "139"}}, "PHONE:M:139;TEL:010;SUB:Home;;"},
    {"WapV1", 1, 6, {{"SUB", "S"}, {"URL", "u"}}, "AD:SUB:S;URL:u;;"},
    {"IvrV1", 1, 8, {{"SUB", "S"}, {"CT", "010"}}, "AD:SUB:S;CT:010;;"},
    {"WapUnicom", 3, 5, {{"COD", "1"}, {"URL", "u"}}, "WAD:URL:u;COD:1;;"},
    {"IvrV2", 2, 6, {{"IVR", "12580"}, {"ST", "10086"}}, "IAD:ST:10086;IVR:12580;;"},
    {"BookmarkUnicom", 3, 4, {{"URL", "http://a"}}, "BM:URL:http://a;;"},
    {"AllEmpty", 1, 0, {}, ""},
    {"EmptyStringsAreEmpty", 2, 1, {{"TO", ""}, {"TXT", ""}}, ""},
    {"TabBeyondFormat", 2, 7, {{"TEXT", "hello"}}, ""},
    {"UnknownFormat", 4, 0, {{"N", "x"}}, ""},
    {"NegativeTab", 1, -1, {{"N", "x"}}, ""},
};

class Compose : public testing::TestWithParam<ComposeCase> {};

TEST_P(Compose, GivesThePayload) {
  const ComposeCase& c = GetParam();
  EXPECT_EQ(ComposeFieldPayload(Values(c.fields), c.format, c.tab), c.payload);
}

INSTANTIATE_TEST_SUITE_P(Payload, Compose, testing::ValuesIn(ComposeCases),
                         [](const auto& info) { return info.param.name; });

TEST(Payload, BusinessCardInCodePage936) {
  FieldValueArray values;
  values[FieldSlotOfTag("N")] = *Utf8ToCodePage("客服");
  values[FieldSlotOfTag("M")] = "12345";
  for (int format = 1; format <= 3; ++format) {
    const std::string payload = ComposeFieldPayload(values, format, 0);
    EXPECT_EQ(payload, "CARD:N:\xBF\xCD\xB7\xFE;M:12345;;");
    EXPECT_EQ(payload.size(), 21u);
    const std::string input = EncoderInput(payload);
    EXPECT_EQ(input.size(), 23u);
    EXPECT_EQ(input, std::string("\x01\x10", 2) + payload);
  }
}

TEST(Payload, EncoderInputKeepsZeroBytesAndPrefixesEvenAnEmptyPayload) {
  const std::string payload("A\0B", 3);
  EXPECT_EQ(EncoderInput(payload), std::string("\x01\x10" "A\0B", 5));
  EXPECT_EQ(EncoderInput(""), std::string("\x01\x10", 2));
}

// Each field of every page shows up under its own tag, and in slot order.
TEST(Payload, EveryPageFieldIsComposedUnderItsTag) {
  for (int format = 1; format <= OperatorFormatCount; ++format) {
    const OperatorFormatSpec* formatEntry = FindOperatorFormat(format);
    for (int tab = 0; tab < static_cast<int>(formatEntry->tabs.size()); ++tab) {
      const PageSpec* page = PageForTab(format, tab);
      FieldValueArray values;
      for (const FieldSpec& field : page->fields) values[field.slot] = std::string("v").append(std::to_string(field.slot));
      std::string expected = std::string(formatEntry->tabs[tab].typeTag) + ":";
      for (int slot = 0; slot < FieldSlotCount; ++slot)
        if (!values[slot].empty()) expected.append(FieldTags[slot]).append(":").append(values[slot]).append(";");
      EXPECT_EQ(ComposeFieldPayload(values, format, tab), expected + ";") << format << "/" << tab;
    }
  }
}

}  // namespace
