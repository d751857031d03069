#include "content/Catalogue.h"

#include <algorithm>

#include "content/TextList.h"

namespace quillet {

const std::array<std::string_view, FieldSlotCount> FieldTags = {
    "N",   "M",  "TEL", "EM", "TIL", "DIV", "COR", "ADR", "ZIP", "FAX", "SUB", "INTR",
    "CT",  "TO", "SM",  "TXT", "DG", "SID", "URL", "BN",  "COD", "ST",  "IVR", "TEXT",
    "NOTE", "SSID", "PWD", "ENC", "HIDDEN", "LAT", "LON", "LABEL", "START", "END", "LOC",
};

int FieldSlotOfTag(std::string_view tag) {
  const auto it = std::find_if(FieldTags.begin(), FieldTags.end(),
                               [&](std::string_view known) { return SameIgnoringCase(known, tag); });
  return it == FieldTags.end() ? -1 : static_cast<int>(it - FieldTags.begin());
}

namespace {

enum Slot : int {
  N, M, TEL, EM, TIL, DIV, COR, ADR, ZIP, FAX, SUB, INTR, CT, TO, SM, TXT, DG, SID, URL, BN, COD, ST, IVR, TEXT,
  NOTE, SSID, PWD, ENC, HIDDEN, LAT, LON, LABEL, START, END, LOC,
};
static_assert(TEXT + 1 == OperatorFieldSlotCount && LOC + 1 == FieldSlotCount);

// The two columns of a page: captions on the left, edits on the right.
struct Columns {
  int captionX, captionWidth, editX, editWidth;
};
constexpr Columns StandardColumns{7, 40, 53, 130};
constexpr Columns IvrColumns{7, 50, 58, 125};
constexpr Columns IvrV10Columns{7, 43, 51, 125};

constexpr int SingleLineHeight = 14;
constexpr int CaptionHeight = 8;
// Captions sit on the text line of their edit, not on its border.
constexpr int CaptionDrop = 3;

// Vertical positions shared by several pages.
constexpr int FirstRowY = 12;
constexpr int RowPitch = 22;
constexpr int IntroY = 32;
constexpr int IntroHeight = 146;
constexpr int BelowIntroY = 189;
constexpr int BodyY = 33;        // body under one single-line field
constexpr int BodyHeight = 220;
constexpr int MailBodyY = 58;    // body under two single-line fields
constexpr int MailBodyHeight = 195;

constexpr FieldSpec Field(int id, std::string_view caption, int slot, const Columns& c, int y, int height) {
  return FieldSpec{id,
                   caption,
                   slot,
                   height != SingleLineHeight,
                   DialogRect{c.captionX, y + CaptionDrop, c.captionWidth, CaptionHeight},
                   DialogRect{c.editX, y, c.editWidth, height}};
}
constexpr FieldSpec Line(int id, std::string_view caption, int slot, int y, const Columns& c = StandardColumns) {
  return Field(id, caption, slot, c, y, SingleLineHeight);
}
constexpr FieldSpec Row(int id, std::string_view caption, int slot, int row, const Columns& c = StandardColumns) {
  return Line(id, caption, slot, FirstRowY + row * RowPitch, c);
}
constexpr FieldSpec Below(int id, std::string_view caption, int slot, int row, const Columns& c = StandardColumns) {
  return Line(id, caption, slot, BelowIntroY + row * RowPitch, c);
}
constexpr FieldSpec Intro(const Columns& c = StandardColumns) {
  return Field(1016, "介绍:", INTR, c, IntroY, IntroHeight);
}

// Eleven rows do not fit from y 12, so the card starts higher.
constexpr int CardFirstY = 7;
constexpr FieldSpec CardRow(int id, std::string_view caption, int slot, int row) {
  return Line(id, caption, slot, CardFirstY + row * RowPitch);
}

constexpr FieldSpec CardFields[] = {
    CardRow(1012, "* 姓名:", N, 0),  CardRow(1020, "手机:", M, 1),  CardRow(1018, "固话:", TEL, 2),
    CardRow(1016, "邮箱:", EM, 3),   CardRow(1013, "职务:", TIL, 4), CardRow(1014, "部门:", DIV, 5),
    CardRow(1015, "公司:", COR, 6),  CardRow(1017, "地址:", ADR, 7), CardRow(1019, "邮编:", ZIP, 8),
    CardRow(1021, "传真:", FAX, 9),  CardRow(1022, "网址:", URL, 10),
};
constexpr FieldSpec MailFields[] = {
    Row(1014, "* 收件人:", TO, 0),
    Row(1015, "标题:", SUB, 1),
    Field(1016, "正文:", TXT, StandardColumns, MailBodyY, MailBodyHeight),
};
constexpr FieldSpec SmsFields[] = {
    Row(1015, "* 收件人:", SM, 0),
    Field(1016, "* 正文:", TXT, StandardColumns, BodyY, BodyHeight),
};
constexpr FieldSpec TxtFields[] = {
    Row(1015, "标题:", SUB, 0),
    Field(1016, "* 正文:", TXT, StandardColumns, BodyY, BodyHeight),
};
constexpr FieldSpec PhoneFields[] = {
    Row(1015, "* 标题:", SUB, 0),
    Row(1018, "固话:", TEL, 1),
    Row(1020, "手机:", M, 2),
};
constexpr FieldSpec UrlFields[] = {
    Row(1015, "* 标题:", SUB, 0),
    Field(1022, "* 网址:", URL, StandardColumns, BodyY, BodyHeight),
};
constexpr FieldSpec WapV10Fields[] = {
    Row(1015, "* 标题:", SUB, 0),
    Intro(),
    Below(1022, "*网址:", URL, 0),
    Below(1020, "手机:", M, 1),
};
constexpr FieldSpec SmsV10Fields[] = {
    Row(1015, "* 标题:", SUB, 0),
    Intro(),
    Below(1020, "订购指令:", DG, 0),
    Below(1021, "短信代码:", SID, 1),
    Below(1031, "移动电话:", M, 2),
};
constexpr FieldSpec IvrV10Fields[] = {
    Row(1015, "* 标题:", SUB, 0, IvrV10Columns),
    Intro(IvrV10Columns),
    Below(1030, "*固话:", CT, 0, IvrV10Columns),
    Below(1020, "手机:", M, 1, IvrV10Columns),
};
constexpr FieldSpec WapFields[] = {
    Row(1019, "业务名称:", BN, 0),
    Intro(),
    Below(1017, "* 代码:", COD, 0),
    Below(1018, "客服电话:", ST, 1),
    Below(1022, "网址:", URL, 2),
};
constexpr FieldSpec SmstFields[] = {
    Row(1019, "*业务名称:", BN, 0),
    Intro(),
    Below(1020, "订购指令:", DG, 0),
    Below(1021, "短信代码:", SID, 1),
    Below(1018, "客服电话:", ST, 2),
};
constexpr FieldSpec IvrFields[] = {
    Row(1019, "业务名称:", BN, 0, IvrColumns),
    Intro(IvrColumns),
    Below(1021, "*IVR接入号:", IVR, 0, IvrColumns),
    Below(1018, "客服电话:", ST, 1, IvrColumns),
};
// The custom page is one uncaptioned field covering the page.
constexpr FieldSpec SelfSetFields[] = {
    FieldSpec{1028, "", TEXT, true, DialogRect{0, 0, 0, 0}, DialogRect{7, 7, 176, 246}},
};

constexpr PageSpec Pages[] = {
    {"CDialogTypeCard", 130, CardFields},     {"CDialogTypeIVR", 137, IvrFields},
    {"CDialogTypeIVRV10", 152, IvrV10Fields}, {"CDialogTypeMail", 132, MailFields},
    {"CDialogTypePhone", 151, PhoneFields},   {"CDialogTypeSelfSet", 143, SelfSetFields},
    {"CDialogTypeSMS", 133, SmsFields},       {"CDialogTypeSMST", 136, SmstFields},
    {"CDialogTypeSMSV10", 147, SmsV10Fields}, {"CDialogTypeTxt", 134, TxtFields},
    {"CDialogTypeUrl", 149, UrlFields},       {"CDialogTypeWap", 135, WapFields},
    {"CDialogTypeWapV10", 154, WapV10Fields},
};

// The general format's pages: the same columns and rows as the operator
// pages. Twelve card rows need a tighter pitch than eleven.
constexpr int GeneralCardPitch = 21;
constexpr FieldSpec GeneralCardRow(int id, std::string_view caption, int slot, int row) {
  return Line(id, caption, slot, CardFirstY + row * GeneralCardPitch);
}
constexpr FieldSpec Body(int id, std::string_view caption, int slot, int rowsAbove) {
  const int y = FirstRowY + rowsAbove * RowPitch;
  return Field(id, caption, slot, StandardColumns, y, BodyY + BodyHeight - y);
}
constexpr FieldSpec Kind(FieldSpec field, FieldKind kind, std::span<const FieldChoice> choices = {}) {
  field.kind = kind;
  field.choices = choices;
  return field;
}

// WPA covers WPA2 and WPA3 too: readers join with whatever the network offers.
constexpr FieldChoice WifiSecurity[] = {
    {"WPA", "WPA/WPA2/WPA3"},
    {"WEP", "WEP"},
    {WifiNoPassword, "无密码"},
};

constexpr FieldSpec GeneralCardFields[] = {
    GeneralCardRow(1012, "* 姓名:", N, 0),   GeneralCardRow(1020, "手机:", M, 1),
    GeneralCardRow(1018, "固话:", TEL, 2),   GeneralCardRow(1021, "传真:", FAX, 3),
    GeneralCardRow(1016, "邮箱:", EM, 4),    GeneralCardRow(1015, "公司:", COR, 5),
    GeneralCardRow(1014, "部门:", DIV, 6),   GeneralCardRow(1013, "职务:", TIL, 7),
    GeneralCardRow(1017, "地址:", ADR, 8),   GeneralCardRow(1019, "邮编:", ZIP, 9),
    GeneralCardRow(1022, "网址:", URL, 10),  GeneralCardRow(1023, "备注:", NOTE, 11),
};
constexpr FieldSpec WifiFields[] = {
    Row(1040, "* 网络名称:", SSID, 0),
    Row(1041, "密码:", PWD, 1),
    Kind(Row(1042, "加密方式:", ENC, 2), FieldKind::Choice, WifiSecurity),
    Kind(FieldSpec{1043, "隐藏网络", HIDDEN, false, DialogRect{0, 0, 0, 0},
                   DialogRect{StandardColumns.editX, FirstRowY + 3 * RowPitch, StandardColumns.editWidth, 10}},
         FieldKind::Check),
};
constexpr FieldSpec LinkFields[] = {Row(1022, "* 网址:", URL, 0)};
constexpr FieldSpec DialFields[] = {Row(1018, "* 号码:", TEL, 0)};
constexpr FieldSpec MessageFields[] = {
    Row(1015, "* 号码:", SM, 0),
    Body(1016, "内容:", TXT, 1),
};
constexpr FieldSpec MailtoFields[] = {
    Row(1014, "收件人:", TO, 0),
    Row(1015, "主题:", SUB, 1),
    Body(1016, "正文:", TXT, 2),
};
constexpr FieldSpec PlaceFields[] = {
    Row(1044, "* 纬度:", LAT, 0),
    Row(1045, "* 经度:", LON, 1),
    Row(1046, "名称:", LABEL, 2),
};
constexpr FieldSpec EventFields[] = {
    Row(1015, "标题:", SUB, 0),
    Kind(Row(1047, "* 开始:", START, 1), FieldKind::DateTime),
    Kind(Row(1048, "结束:", END, 2), FieldKind::DateTime),
    Row(1049, "地点:", LOC, 3),
    Body(1016, "说明:", TXT, 4),
};
constexpr FieldSpec PlainTextFields[] = {Body(1028, "* 文本:", TEXT, 0)};

constexpr PageSpec GeneralPageSpecs[] = {
    {"CDialogTypeVCard", 160, GeneralCardFields}, {"CDialogTypeWifi", 161, WifiFields},
    {"CDialogTypeLink", 162, LinkFields},         {"CDialogTypeDial", 163, DialFields},
    {"CDialogTypeMessage", 164, MessageFields},   {"CDialogTypeMailto", 165, MailtoFields},
    {"CDialogTypePlace", 166, PlaceFields},       {"CDialogTypeEvent", 167, EventFields},
    {"CDialogTypePlainText", 168, PlainTextFields},
};

constexpr TabSpec CardTab{"名片", "CARD", "CDialogTypeCard", "card"};
constexpr TabSpec MailTab{"邮件", "MAIL", "CDialogTypeMail", "email"};
constexpr TabSpec SmsTab{"短信", "SMS", "CDialogTypeSMS", "sms"};
constexpr TabSpec TxtTab{"文本", "DTXT", "CDialogTypeTxt", "text"};
constexpr TabSpec PhoneTab{"电话", "PHONE", "CDialogTypePhone", "phone"};
constexpr TabSpec UrlTab{"书签", "BM", "CDialogTypeUrl", "bookmark"};
constexpr TabSpec WapTab{" WAP业务 ", "WAD", "CDialogTypeWap", "wap"};
constexpr TabSpec SmstTab{" SMS业务 ", "SAD", "CDialogTypeSMST", "sms-service"};
constexpr TabSpec IvrTab{" IVR业务 ", "IAD", "CDialogTypeIVR", "ivr"};

constexpr TabSpec MobileV1Tabs[] = {
    CardTab, MailTab, SmsTab, TxtTab, PhoneTab, UrlTab,
    {" WAP业务 ", "AD", "CDialogTypeWapV10", "wap"},
    {" SMS业务 ", "AD", "CDialogTypeSMSV10", "sms-service"},
    {" IVR业务 ", "AD", "CDialogTypeIVRV10", "ivr"},
};
constexpr TabSpec MobileV2Tabs[] = {CardTab, MailTab, SmsTab, TxtTab, WapTab, SmstTab, IvrTab};
constexpr TabSpec UnicomTabs[] = {
    CardTab, MailTab, SmsTab, TxtTab, UrlTab, WapTab, SmstTab, IvrTab,
    {"自定义", "CUSTOM", "CDialogTypeSelfSet", "custom"},
};

// The tags name the standard form each tab composes; the tab's position is
// its --type number, and the last column its --type name.
constexpr TabSpec GeneralTabs[] = {
    {"名片", "VCARD", "CDialogTypeVCard", "card"},  {"Wi-Fi", "WIFI", "CDialogTypeWifi", "wifi"},
    {"网址", "URI", "CDialogTypeLink", "url"},      {"电话", "TEL", "CDialogTypeDial", "tel"},
    {"短信", "SMSTO", "CDialogTypeMessage", "sms"}, {"邮件", "MAILTO", "CDialogTypeMailto", "email"},
    {"位置", "GEO", "CDialogTypePlace", "geo"},     {"日程", "VEVENT", "CDialogTypeEvent", "event"},
    {"文本", "TEXT", "CDialogTypePlainText", "text"},
};
static_assert(std::size(GeneralTabs) == std::size(GeneralPageSpecs));

constexpr OperatorFormatSpec Formats[] = {
    {1, "中国移动v1.0", MobileV1Tabs},
    {2, "中国移动v2.0", MobileV2Tabs},
    {3, "中国联通", UnicomTabs},
    {GeneralFormat, "通用格式", GeneralTabs, Composition::General, /*eciByDefault=*/true},
};
static_assert(std::size(Formats) == OperatorFormatCount && GeneralFormat == OperatorFormatCount);
static_assert(std::size(MobileV1Tabs) <= MaxTabsPerFormat && std::size(UnicomTabs) <= MaxTabsPerFormat);

}  // namespace

std::span<const OperatorFormatSpec> OperatorFormats() { return Formats; }

std::span<const PageSpec> ContentPages() { return Pages; }

std::span<const PageSpec> GeneralPages() { return GeneralPageSpecs; }

bool IsGeneralFormat(int operatorFormat) {
  const OperatorFormatSpec* format = FindOperatorFormat(operatorFormat);
  return format != nullptr && format->composition == Composition::General;
}

bool EciByDefault(int operatorFormat) {
  const OperatorFormatSpec* format = FindOperatorFormat(operatorFormat);
  return format != nullptr && format->eciByDefault;
}

const OperatorFormatSpec* FindOperatorFormat(int operatorFormat) {
  if (operatorFormat < 1 || operatorFormat > OperatorFormatCount) return nullptr;
  return &Formats[operatorFormat - 1];
}

const TabSpec* FindTab(int operatorFormat, int tab) {
  const OperatorFormatSpec* format = FindOperatorFormat(operatorFormat);
  if (format == nullptr || tab < 0 || tab >= static_cast<int>(format->tabs.size())) return nullptr;
  return &format->tabs[tab];
}

const PageSpec* FindPage(std::string_view className) {
  for (std::span<const PageSpec> pages : {ContentPages(), GeneralPages()})
    for (const PageSpec& page : pages)
      if (page.className == className) return &page;
  return nullptr;
}

const PageSpec* PageForTab(int operatorFormat, int tab) {
  const TabSpec* tabEntry = FindTab(operatorFormat, tab);
  return tabEntry == nullptr ? nullptr : FindPage(tabEntry->pageClass);
}

const FieldSpec* FindField(const PageSpec& page, int slot) {
  const auto it = std::find_if(page.fields.begin(), page.fields.end(), [&](const FieldSpec& f) { return f.slot == slot; });
  return it == page.fields.end() ? nullptr : &*it;
}

namespace {

constexpr std::string_view RequiredMark = "* ";

// A field that a drop-down on its page makes required, for every choice but
// one; with no choice made (a batch column left empty) composition decides.
struct ChoiceRequirement {
  std::string_view pageClass;
  int slot;
  int choiceSlot;
  std::string_view exceptChoice;
};
constexpr ChoiceRequirement ChoiceRequirements[] = {{"CDialogTypeWifi", PWD, ENC, WifiNoPassword}};

}  // namespace

bool FieldRequired(const PageSpec& page, const FieldSpec& field, const std::array<std::string, FieldSlotCount>& values) {
  if (field.caption.starts_with('*')) return true;
  return std::any_of(std::begin(ChoiceRequirements), std::end(ChoiceRequirements), [&](const ChoiceRequirement& rule) {
    const std::string& chosen = values[static_cast<size_t>(rule.choiceSlot)];
    return rule.pageClass == page.className && rule.slot == field.slot && !chosen.empty() && chosen != rule.exceptChoice;
  });
}

std::string CaptionMarked(std::string_view caption, bool required) {
  while (caption.starts_with('*') || caption.starts_with(' ')) caption.remove_prefix(1);
  return required ? std::string(RequiredMark) + std::string(caption) : std::string(caption);
}

namespace {

std::string_view WithoutBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string_view BareTabCaption(const TabSpec& tab) { return WithoutBlanks(tab.caption); }

std::string BareCaption(std::string_view text) {
  static constexpr std::string_view Dropped[] = {" ", "\t", "*", ":", "\xEF\xBC\x9A" /* ： */, "\xE3\x80\x80" /* 　 */};
  std::string bare;
  for (size_t pos = 0; pos < text.size();) {
    const auto drop = std::find_if(std::begin(Dropped), std::end(Dropped),
                                   [&](std::string_view d) { return text.substr(pos, d.size()) == d; });
    if (drop != std::end(Dropped)) {
      pos += drop->size();
    } else {
      bare += text[pos++];
    }
  }
  return bare;
}

int TabOfName(int operatorFormat, std::string_view word) {
  const OperatorFormatSpec* format = FindOperatorFormat(operatorFormat);
  if (format == nullptr) return -1;
  const std::string_view bare = WithoutBlanks(word);
  for (size_t tab = 0; tab < format->tabs.size(); ++tab) {
    const TabSpec& spec = format->tabs[tab];
    if (SameIgnoringCase(BareTabCaption(spec), bare) || SameIgnoringCase(spec.name, bare)) return static_cast<int>(tab);
  }
  return -1;
}

namespace {

// Header words of address books, shop spreadsheets and contact exports. A
// word that is a field's caption on one page (手机, 邮箱, 地址) is here for
// the pages where that field has another caption or another tag.
constexpr FieldWord CommonFieldWords[] = {
    {"名字", "N"},           {"全名", "N"},              {"联系人", "N"},         {"name", "N"},
    {"手机", "M SM"},        {"手机号", "M SM"},         {"手机号码", "M SM"},    {"移动电话", "M SM"},
    {"mobile", "M SM"},      {"电话", "TEL CT M SM"},    {"电话号码", "TEL CT M SM"}, {"phone", "TEL CT M SM"},
    {"固话", "TEL CT"},      {"座机", "TEL CT"},         {"固定电话", "TEL CT"},  {"办公电话", "TEL CT"},
    {"传真号码", "FAX"},     {"邮箱", "EM TO"},          {"电子邮件", "EM TO"},   {"电子邮箱", "EM TO"},
    {"邮件地址", "EM TO"},   {"email", "EM TO"},         {"e-mail", "EM TO"},     {"公司", "COR"},
    {"单位", "COR"},         {"单位名称", "COR"},        {"公司名称", "COR"},     {"企业", "COR"},
    {"company", "COR"},      {"职务", "TIL"},            {"职位", "TIL"},         {"头衔", "TIL"},
    {"职称", "TIL"},         {"地址", "ADR LOC"},        {"通讯地址", "ADR"},     {"联系地址", "ADR"},
    {"住址", "ADR"},         {"address", "ADR LOC"},     {"邮政编码", "ZIP"},     {"网址", "URL"},
    {"网站", "URL"},         {"主页", "URL"},            {"链接", "URL"},         {"网页", "URL"},
    {"website", "URL"},      {"主题", "SUB"},            {"内容", "TXT TEXT"},    {"正文", "TXT TEXT"},
    {"密码", "PWD"},         {"Wi-Fi密码", "PWD"},       {"WiFi密码", "PWD"},     {"无线密码", "PWD"},
    {"password", "PWD"},     {"Wi-Fi", "SSID"},          {"WiFi", "SSID"},        {"Wi-Fi名称", "SSID"},
    {"WiFi名称", "SSID"},    {"无线网络", "SSID"},       {"加密", "ENC"},         {"安全类型", "ENC"},
    {"开始时间", "START"},   {"结束时间", "END"},
};

// The first field of the page a word's tags name, or null.
const FieldSpec* FieldOfWord(const PageSpec& page, const FieldWord& word) {
  for (size_t at = 0; at < word.tags.size();) {
    const size_t end = std::min(word.tags.find(' ', at), word.tags.size());
    if (const FieldSpec* field = FindField(page, FieldSlotOfTag(word.tags.substr(at, end - at)))) return field;
    at = end + 1;
  }
  return nullptr;
}

}  // namespace

std::span<const FieldWord> FieldWords() { return CommonFieldWords; }

const FieldSpec* FieldOfName(const PageSpec& page, std::string_view name) {
  const std::string bare = BareCaption(name);
  if (bare.empty()) return nullptr;
  if (const FieldSpec* field = FindField(page, FieldSlotOfTag(bare))) return field;
  for (const FieldSpec& field : page.fields)
    if (bare == BareCaption(field.caption)) return &field;
  for (const FieldWord& word : CommonFieldWords)
    if (SameIgnoringCase(bare, word.word)) return FieldOfWord(page, word);
  return nullptr;
}

}  // namespace quillet
