#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "content/Catalogue.h"
#include "content/CodePage.h"
#include "content/Payload.h"

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

struct Tab {
  std::string_view caption, typeTag, pageClass;
  std::vector<std::string_view> fieldTags;  // top to bottom on the page
};

const Tab Card{"名片", "CARD", "CDialogTypeCard", {"N", "M", "TEL", "EM", "TIL", "DIV", "COR", "ADR", "ZIP", "FAX", "URL"}};
const Tab Mail{"邮件", "MAIL", "CDialogTypeMail", {"TO", "SUB", "TXT"}};
const Tab Sms{"短信", "SMS", "CDialogTypeSMS", {"SM", "TXT"}};
const Tab Txt{"文本", "DTXT", "CDialogTypeTxt", {"SUB", "TXT"}};
const Tab Phone{"电话", "PHONE", "CDialogTypePhone", {"SUB", "TEL", "M"}};
const Tab Url{"书签", "BM", "CDialogTypeUrl", {"SUB", "URL"}};
const Tab WapV1{" WAP业务 ", "AD", "CDialogTypeWapV10", {"SUB", "INTR", "URL", "M"}};
const Tab SmsV1{" SMS业务 ", "AD", "CDialogTypeSMSV10", {"SUB", "INTR", "DG", "SID", "M"}};
const Tab IvrV1{" IVR业务 ", "AD", "CDialogTypeIVRV10", {"SUB", "INTR", "CT", "M"}};
const Tab Wap{" WAP业务 ", "WAD", "CDialogTypeWap", {"BN", "INTR", "COD", "ST", "URL"}};
const Tab SmsService{" SMS业务 ", "SAD", "CDialogTypeSMST", {"BN", "INTR", "DG", "SID", "ST"}};
const Tab Ivr{" IVR业务 ", "IAD", "CDialogTypeIVR", {"BN", "INTR", "IVR", "ST"}};
const Tab Custom{"自定义", "CUSTOM", "CDialogTypeSelfSet", {"TEXT"}};

const std::pair<std::string_view, std::vector<Tab>> Formats[] = {
    {"中国移动v1.0", {Card, Mail, Sms, Txt, Phone, Url, WapV1, SmsV1, IvrV1}},
    {"中国移动v2.0", {Card, Mail, Sms, Txt, Wap, SmsService, Ivr}},
    {"中国联通", {Card, Mail, Sms, Txt, Url, Wap, SmsService, Ivr, Custom}},
};

// Each tab shows its caption and its page's fields, and composes under its type tag.
TEST(Catalogue, EveryTabHasItsCaptionPageFieldsAndTypeTag) {
  for (int format = 1; format <= 3; ++format) {
    const auto& [caption, tabs] = Formats[format - 1];
    ASSERT_EQ(FindOperatorFormat(format)->caption, caption);
    ASSERT_EQ(FindOperatorFormat(format)->tabs.size(), tabs.size());
    for (int tab = 0; tab < static_cast<int>(tabs.size()); ++tab) {
      const Tab& want = tabs[tab];
      SCOPED_TRACE(std::to_string(format) + "/" + std::to_string(tab));
      EXPECT_EQ(FindTab(format, tab)->caption, want.caption);
      const PageSpec* page = PageForTab(format, tab);
      ASSERT_NE(page, nullptr);
      EXPECT_EQ(page->className, want.pageClass);
      std::vector<std::string_view> tags;
      for (const FieldSpec& field : page->fields) tags.push_back(FieldTags.at(field.slot));
      EXPECT_EQ(tags, want.fieldTags);
      FieldValueArray values;
      values[page->fields[0].slot] = "x";
      EXPECT_EQ(ComposeFieldPayload(values, format, tab), std::string(want.typeTag) + ":" + std::string(tags[0]) + ":x;;");
    }
  }
}

// Page, field index from the top, control id, caption, multi-line. The slots
// of all fields are checked above.
const std::tuple<std::string_view, size_t, int, std::string_view, bool> FieldFacts[] = {
    {"CDialogTypeCard", 0, 1012, "* 姓名:", false},      {"CDialogTypeCard", 10, 1022, "网址:", false},
    {"CDialogTypeMail", 2, 1016, "正文:", true},         {"CDialogTypeUrl", 1, 1022, "* 网址:", true},
    {"CDialogTypeWapV10", 2, 1022, "*网址:", false},     {"CDialogTypeSMSV10", 4, 1031, "移动电话:", false},
    {"CDialogTypeIVRV10", 2, 1030, "*固话:", false},     {"CDialogTypeWap", 2, 1017, "* 代码:", false},
    {"CDialogTypeIVR", 2, 1021, "*IVR接入号:", false},   {"CDialogTypeSelfSet", 0, 1028, "", true},
};

TEST(Catalogue, FieldsHaveTheirControlIdCaptionAndKind) {
  for (const auto& [pageClass, index, controlId, caption, multiLine] : FieldFacts) {
    SCOPED_TRACE(std::string(pageClass) + " " + std::to_string(index));
    const PageSpec* page = FindPage(pageClass);
    ASSERT_TRUE(page != nullptr && index < page->fields.size());
    EXPECT_EQ(page->fields[index].controlId, controlId);
    EXPECT_EQ(page->fields[index].caption, caption);
    EXPECT_EQ(page->fields[index].multiLine, multiLine);
  }
}

}  // namespace

namespace {

TEST(Payload, SlotsAboveTwentyThreeStoreNothing) {
  FieldValueArray values;
  EXPECT_TRUE(StoreFieldValue(values, 23, "hello"));
  EXPECT_FALSE(StoreFieldValue(values, 24, "lost"));
  EXPECT_FALSE(StoreFieldValue(values, 0xFFFFFFFFu, "lost"));
  EXPECT_EQ(ComposeFieldPayload(values, 3, 8), "CUSTOM:TEXT:hello;;");
}

}  // namespace
