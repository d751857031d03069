#include <gtest/gtest.h>

#include "batch/ColumnPlan.h"
#include "batch/NameTemplate.h"
#include "cli/Words.h"

using namespace quillet;

namespace {

NameTemplate Parsed(std::string_view text) {
  auto parsed = NameTemplate::Parse(text, nullptr);
  EXPECT_TRUE(parsed) << text;
  return parsed.value_or(*NameTemplate::Parse("{row}", nullptr));
}

TEST(NameTemplate, FillsRowsAndColumnsWithSafeValues) {
  struct Case {
    const char* text;
    long row;
    int width;
    std::vector<std::string> values;
    std::string name;
  } const cases[] = {
      {"{row}.png", 7, 3, {}, "007.png"},
      {"{row}.png", 1234, 3, {}, "1234.png"},
      {"card-{N}-{row}.svg", 2, 1, {"张三"}, "card-张三-2.svg"},
      {"{N}.png", 1, 1, {"../../x"}, "___.._x.png"},
      {"{N}.png", 1, 1, {"a\\b\tc\x7F"}, "a_b_c_.png"},
      {"{N}.png", 1, 1, {".hidden"}, "_hidden.png"},
      {"{N}.png", 1, 1, {""}, "_png"},
      {"{N}{M}.gif", 1, 1, {"..", ".x"}, "___x.gif"},
      {"{N}-{N}.png", 1, 1, {"a"}, "a-a.png"},
  };
  for (const Case& c : cases) EXPECT_EQ(Parsed(c.text).Expand(c.row, c.width, c.values), c.name) << c.text;
  // {row} is as wide as the last row: ten rows are 01 to 10.
  EXPECT_EQ((std::vector<int>{DecimalWidth(0), DecimalWidth(9), DecimalWidth(10), DecimalWidth(120)}),
            (std::vector<int>{1, 1, 2, 3}));
}

TEST(NameTemplate, RefusesTemplatesThatCouldLeaveTheFolderOrDoNotParse) {
  using enum TemplateFault;
  const std::pair<const char*, TemplateFault> refused[] = {
      {"a/{row}.png", UnsafeCharacter}, {"{row.png", UnclosedBrace}, {"{}.png", EmptyBraces}, {"x\n{row}.png", UnsafeCharacter}};
  for (const auto& [text, fault] : refused) {
    TemplateFault found = TemplateFault::None;
    EXPECT_FALSE(NameTemplate::Parse(text, &found)) << text;
    EXPECT_EQ(found, fault) << text;
  }
  const NameTemplate names = Parsed("{姓名}_{row}_{M}.png");
  EXPECT_EQ(names.Columns(), (std::vector<std::string>{"姓名", "M"}));
  EXPECT_TRUE(names.UsesRow());
}

struct PlanCase {
  const char* name;
  Symbology kind;
  int format, tab;
  std::vector<std::string> header;
  const char* nameTemplate;
  std::vector<int> slots;   // per column; -2 for the raw text column
  std::string error;        // a part of the message; empty when the plan succeeds
  HeaderFailure failure = HeaderFailure::None;  // the kind a front end words
};

const std::vector<PlanCase> PlanCases = {
    {"TagsInAnyCase", Symbology::QrCode, 1, 0, {"n", "M", "Tel"}, "{row}.png", {0, 1, 2}, ""},
    {"CaptionsWithoutStarAndColon", Symbology::QrCode, 1, 0, {"姓名", " 手机 ", "邮箱：", "* 姓名"}, "{row}.png", {}, "both give the field N", HeaderFailure::TwoColumnsOneField},
    {"Captions", Symbology::QrCode, 1, 0, {"姓名", " 手机 ", "邮箱："}, "{row}.png", {0, 1, 3}, ""},
    {"UnknownColumnNamesItAndThePage", Symbology::QrCode, 1, 0, {"N", "Nmae"}, "{row}.png", {},
     "column 'Nmae' is neither a field of \"名片\" of 中国移动v1.0 (N (姓名), M (手机)", HeaderFailure::UnknownColumn},
    {"TagOfAnotherPage", Symbology::QrCode, 2, 4, {"N"}, "{row}.png", {}, "\"WAP业务\" of 中国移动v2.0", HeaderFailure::UnknownColumn},
    // Every unknown column at once, in the header's order; a known one between them is not named.
    {"SeveralUnknownColumns", Symbology::QrCode, 4, 0, {"Nmae", "N", "Moblie", "Emial"}, "{row}.png", {},
     "columns 'Nmae', 'Moblie' and 'Emial' are neither fields of \"名片\" of 通用格式", HeaderFailure::UnknownColumn},
    // Header words of address books: the first of a word's fields that the page has.
    {"HeaderWordsOfACard", Symbology::QrCode, 4, 0, {"名字", "单位", "电子邮件", "手机号码", "电话", "Email ", "网站"},
     "{row}.png", {}, "columns '电子邮件' and 'Email ' both give the field EM", HeaderFailure::TwoColumnsOneField},
    {"HeaderWordWithoutItsFieldOnThePage", Symbology::QrCode, 4, 1, {"名字"}, "{row}.png", {}, "column '名字' is neither",
     HeaderFailure::UnknownColumn},
    // A word means the field the page has: 电话 is TEL on a card, CT (固话) on the IVR page of v1.0.
    {"HeaderWordFollowsThePage", Symbology::QrCode, 1, 8, {"电话", "标题"}, "{row}.png", {12, 10}, ""},
    {"RawTextOnTheCardTab", Symbology::QrCode, 1, 0, {"text", "sku"}, "{sku}.png", {-2, -1}, ""},
    {"TextIsAFieldOnTheCustomTab", Symbology::QrCode, 3, 8, {"Text"}, "{row}.png", {23}, ""},
    {"TwoTextColumns", Symbology::DataMatrix, 1, 0, {"text", "TEXT"}, "{row}.png", {}, "both give the text", HeaderFailure::TwoTextColumns},
    {"RawTextWithFields", Symbology::QrCode, 1, 0, {"text", "N"}, "{row}.png", {}, "no other column may be a field", HeaderFailure::TextWithField},
    {"NoFieldAtAll", Symbology::QrCode, 1, 0, {"id"}, "{id}.png", {}, "no column is a field of", HeaderFailure::NoField},
    {"TemplateColumnMissing", Symbology::QrCode, 1, 0, {"N"}, "{id}.png", {}, "uses {id}, which is no column", HeaderFailure::NoTemplateColumn},
    {"NoSuchTab", Symbology::QrCode, 2, 9, {"N"}, "{row}.png", {}, "tab 9 is not a tab of 中国移动v2.0", HeaderFailure::NoSuchTab},
    {"DataMatrixWithoutText", Symbology::DataMatrix, 1, 0, {"N"}, "{row}.png", {}, "column 'N' is neither 'text'", HeaderFailure::UnknownColumn},
    {"DataMatrixOnlyNameColumns", Symbology::DataMatrix, 1, 0, {"serial"}, "{serial}.png", {}, "no column is named 'text'", HeaderFailure::NoTextColumn},
    {"UnnamedColumnIsAllowed", Symbology::DataMatrix, 1, 0, {"text", ""}, "{row}.png", {-2, -1}, ""},
};

class PlanTable : public testing::TestWithParam<PlanCase> {};

TEST_P(PlanTable, MapsEveryColumnOrRefusesTheHeader) {
  const PlanCase& c = GetParam();
  HeaderRefusal refusal;
  const auto plan = PlanColumns(c.header, c.kind, {c.format, c.tab}, Parsed(c.nameTemplate), &refusal);
  EXPECT_EQ(refusal.failure, c.failure);
  const std::string words = DescribeHeaderRefusal(refusal);
  EXPECT_NE(words.find(c.error), std::string::npos) << words;
  ASSERT_EQ(plan.has_value(), c.error.empty()) << words;
  std::vector<int> slots;
  for (const BatchColumn& column : plan ? plan->columns : std::vector<BatchColumn>{})
    slots.push_back(column.text ? -2 : column.slot);
  EXPECT_EQ(slots, c.slots);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlanTable, testing::ValuesIn(PlanCases),
                         [](const testing::TestParamInfo<PlanCase>& info) { return info.param.name; });

}  // namespace
