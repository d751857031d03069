#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "content/Catalogue.h"

namespace {

struct TabCase {
  int format;
  int tab;
  std::string_view caption;
  std::string_view typeTag;
  std::string_view pageClass;
  std::vector<std::string_view> fieldTags;  // top to bottom
};

const std::vector<std::string_view> CardTags = {"N", "M", "TEL", "EM", "TIL", "DIV", "COR", "ADR", "ZIP", "FAX", "URL"};
const std::vector<std::string_view> MailTags = {"TO", "SUB", "TXT"};
const std::vector<std::string_view> SmsTags = {"SM", "TXT"};
const std::vector<std::string_view> TxtTags = {"SUB", "TXT"};
const std::vector<std::string_view> UrlTags = {"SUB", "URL"};
const std::vector<std::string_view> WapTags = {"BN", "INTR", "COD", "ST", "URL"};
const std::vector<std::string_view> SmstTags = {"BN", "INTR", "DG", "SID", "ST"};
const std::vector<std::string_view> IvrTags = {"BN", "INTR", "IVR", "ST"};

const TabCase TabCases[] = {
    {1, 0, "名片", "CARD", "CDialogTypeCard", CardTags},
    {1, 1, "邮件", "MAIL", "CDialogTypeMail", MailTags},
    {1, 2, "短信", "SMS", "CDialogTypeSMS", SmsTags},
    {1, 3, "文本", "DTXT", "CDialogTypeTxt", TxtTags},
    {1, 4, "电话", "PHONE", "CDialogTypePhone", {"SUB", "TEL", "M"}},
    {1, 5, "书签", "BM", "CDialogTypeUrl", UrlTags},
    {1, 6, " WAP业务 ", "AD", "CDialogTypeWapV10", {"SUB", "INTR", "URL", "M"}},
    {1, 7, " SMS业务 ", "AD", "CDialogTypeSMSV10", {"SUB", "INTR", "DG", "SID", "M"}},
    {1, 8, " IVR业务 ", "AD", "CDialogTypeIVRV10", {"SUB", "INTR", "CT", "M"}},
    {2, 0, "名片", "CARD", "CDialogTypeCard", CardTags},
    {2, 1, "邮件", "MAIL", "CDialogTypeMail", MailTags},
    {2, 2, "短信", "SMS", "CDialogTypeSMS", SmsTags},
    {2, 3, "文本", "DTXT", "CDialogTypeTxt", TxtTags},
    {2, 4, " WAP业务 ", "WAD", "CDialogTypeWap", WapTags},
    {2, 5, " SMS业务 ", "SAD", "CDialogTypeSMST", SmstTags},
    {2, 6, " IVR业务 ", "IAD", "CDialogTypeIVR", IvrTags},
    {3, 0, "名片", "CARD", "CDialogTypeCard", CardTags},
    {3, 1, "邮件", "MAIL", "CDialogTypeMail", MailTags},
    {3, 2, "短信", "SMS", "CDialogTypeSMS", SmsTags},
    {3, 3, "文本", "DTXT", "CDialogTypeTxt", TxtTags},
    {3, 4, "书签", "BM", "CDialogTypeUrl", UrlTags},
    {3, 5, " WAP业务 ", "WAD", "CDialogTypeWap", WapTags},
    {3, 6, " SMS业务 ", "SAD", "CDialogTypeSMST", SmstTags},
    {3, 7, " IVR业务 ", "IAD", "CDialogTypeIVR", IvrTags},
    {3, 8, "自定义", "CUSTOM", "CDialogTypeSelfSet", {"TEXT"}},
};

class EveryTab : public testing::TestWithParam<TabCase> {};

TEST_P(EveryTab, HasItsCaptionTypeTagPageAndFields) {
  const TabCase& c = GetParam();
  const TabSpec* tab = FindTab(c.format, c.tab);
  ASSERT_NE(tab, nullptr);
  EXPECT_EQ(tab->caption, c.caption);
  EXPECT_EQ(tab->typeTag, c.typeTag);
  const PageSpec* page = PageForTab(c.format, c.tab);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->className, c.pageClass);
  std::vector<std::string_view> tags;
  for (const FieldSpec& field : page->fields) tags.push_back(FieldTags.at(field.slot));
  EXPECT_EQ(tags, c.fieldTags);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryTab, testing::ValuesIn(TabCases));

TEST(Catalogue, FormatsHaveTheirCaptionsAndTabCounts) {
  const auto formats = OperatorFormats();
  ASSERT_EQ(formats.size(), 3u);
  EXPECT_EQ(formats[0].caption, "中国移动v1.0");
  EXPECT_EQ(formats[1].caption, "中国移动v2.0");
  EXPECT_EQ(formats[2].caption, "中国联通");
  EXPECT_EQ(formats[0].tabs.size(), 9u);
  EXPECT_EQ(formats[1].tabs.size(), 7u);
  EXPECT_EQ(formats[2].tabs.size(), 9u);
}

TEST(Catalogue, OutOfRangeLookupsGiveNull) {
  EXPECT_EQ(FindOperatorFormat(0), nullptr);
  EXPECT_EQ(FindOperatorFormat(4), nullptr);
  EXPECT_EQ(FindTab(2, 7), nullptr);
  EXPECT_EQ(FindTab(1, -1), nullptr);
  EXPECT_EQ(PageForTab(3, 9), nullptr);
  EXPECT_EQ(FindPage("CDialogTypeNone"), nullptr);
}

TEST(Catalogue, TagsAndSlotsAgree) {
  EXPECT_EQ(FieldSlotOfTag("N"), 0);
  EXPECT_EQ(FieldSlotOfTag("CT"), 12);
  EXPECT_EQ(FieldSlotOfTag("TEXT"), 23);
  EXPECT_EQ(FieldSlotOfTag("text"), -1);
  EXPECT_EQ(FieldSlotOfTag(""), -1);
  const std::set<std::string_view> distinct(FieldTags.begin(), FieldTags.end());
  EXPECT_EQ(distinct.size(), static_cast<size_t>(FieldSlotCount));
}

TEST(Catalogue, ThirteenPagesInMemberOrderWithTheirTemplates) {
  const std::pair<std::string_view, int> expected[] = {
      {"CDialogTypeCard", 130},   {"CDialogTypeIVR", 137},  {"CDialogTypeIVRV10", 152}, {"CDialogTypeMail", 132},
      {"CDialogTypePhone", 151},  {"CDialogTypeSelfSet", 143}, {"CDialogTypeSMS", 133}, {"CDialogTypeSMST", 136},
      {"CDialogTypeSMSV10", 147}, {"CDialogTypeTxt", 134},  {"CDialogTypeUrl", 149},    {"CDialogTypeWap", 135},
      {"CDialogTypeWapV10", 154},
  };
  const auto pages = ContentPages();
  ASSERT_EQ(pages.size(), std::size(expected));
  for (size_t i = 0; i < pages.size(); ++i) {
    EXPECT_EQ(pages[i].className, expected[i].first);
    EXPECT_EQ(pages[i].templateId, expected[i].second);
  }
}

bool Overlap(const DialogRect& a, const DialogRect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool Inside(const DialogRect& r) { return r.x >= 0 && r.y >= 0 && r.x + r.width <= 190 && r.y + r.height <= 260; }

// A layout fault (an edit covering another, a field off the page) hides a field from the user.
TEST(Catalogue, FieldsStayOnThePageAndDoNotOverlap) {
  for (const PageSpec& page : ContentPages()) {
    std::set<int> ids;
    for (size_t i = 0; i < page.fields.size(); ++i) {
      const FieldSpec& f = page.fields[i];
      SCOPED_TRACE(std::string(page.className) + " " + std::to_string(f.controlId));
      EXPECT_TRUE(ids.insert(f.controlId).second);
      EXPECT_TRUE(Inside(f.editRect));
      EXPECT_EQ(f.multiLine, f.editRect.height > 14);
      if (!f.caption.empty()) {
        EXPECT_TRUE(Inside(f.captionRect));
        EXPECT_FALSE(Overlap(f.captionRect, f.editRect));
      }
      for (size_t j = i + 1; j < page.fields.size(); ++j) {
        EXPECT_FALSE(Overlap(f.editRect, page.fields[j].editRect));
        if (j == i + 1) {
          EXPECT_LT(f.editRect.y, page.fields[j].editRect.y);  // top to bottom
        }
      }
    }
  }
}

TEST(Catalogue, MultiLineFieldsHaveTheirSizes) {
  struct Case {
    std::string_view page;
    int controlId;
    DialogRect edit;
  };
  const Case cases[] = {
      {"CDialogTypeMail", 1016, {53, 58, 130, 195}},  {"CDialogTypeSMS", 1016, {53, 33, 130, 220}},
      {"CDialogTypeTxt", 1016, {53, 33, 130, 220}},   {"CDialogTypeUrl", 1022, {53, 33, 130, 220}},
      {"CDialogTypeWap", 1016, {53, 32, 130, 146}},   {"CDialogTypeIVR", 1016, {58, 32, 125, 146}},
      {"CDialogTypeIVRV10", 1016, {51, 32, 125, 146}}, {"CDialogTypeSelfSet", 1028, {7, 7, 176, 246}},
  };
  for (const Case& c : cases) {
    const PageSpec* page = FindPage(c.page);
    ASSERT_NE(page, nullptr);
    bool found = false;
    for (const FieldSpec& f : page->fields) {
      if (f.controlId != c.controlId) continue;
      found = true;
      EXPECT_TRUE(f.multiLine) << c.page;
      EXPECT_EQ(f.editRect.x, c.edit.x) << c.page;
      EXPECT_EQ(f.editRect.y, c.edit.y) << c.page;
      EXPECT_EQ(f.editRect.width, c.edit.width) << c.page;
      EXPECT_EQ(f.editRect.height, c.edit.height) << c.page;
    }
    EXPECT_TRUE(found) << c.page;
  }
}

TEST(Catalogue, CaptionsAreExact) {
  const PageSpec* card = FindPage("CDialogTypeCard");
  ASSERT_NE(card, nullptr);
  EXPECT_EQ(card->fields[0].caption, "* 姓名:");
  EXPECT_EQ(card->fields[0].controlId, 1012);
  const PageSpec* ivr = FindPage("CDialogTypeIVR");
  EXPECT_EQ(ivr->fields[2].caption, "*IVR接入号:");
  EXPECT_EQ(ivr->fields[2].captionRect.width, 50);
  const PageSpec* sms = FindPage("CDialogTypeSMSV10");
  EXPECT_EQ(sms->fields[4].caption, "移动电话:");
  EXPECT_EQ(sms->fields[4].controlId, 1031);
  EXPECT_TRUE(FindPage("CDialogTypeSelfSet")->fields[0].caption.empty());
}

}  // namespace
