// The content catalogue: field slots and their tags, the operator formats,
// their tabs, and the fields of every content page. This one table is read
// by payload composition, the content pages, the QR page and the CLI.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

constexpr int FieldSlotCount = 24;
constexpr int OperatorFormatCount = 3;
constexpr int MaxTabsPerFormat = 10;

// Tag of every field slot, in slot order (slot 0 "N" ... slot 23 "TEXT").
extern const std::array<std::string_view, FieldSlotCount> FieldTags;

// Slot of a tag in any case ("N" or "n" -> 0), or -1.
int FieldSlotOfTag(std::string_view tag);

// A rectangle in dialog units.
struct DialogRect {
  int x, y, width, height;
};

struct FieldSpec {
  int controlId;
  std::string_view caption;  // UTF-8, exactly as shown; empty for none
  int slot;
  bool multiLine;
  DialogRect captionRect;    // width 0 when there is no caption
  DialogRect editRect;
};

struct PageSpec {
  std::string_view className;  // "CDialogTypeCard", ...
  int templateId;
  std::span<const FieldSpec> fields;  // top to bottom, also the tab order
};

struct TabSpec {
  std::string_view caption;    // UTF-8, e.g. " WAP业务 "
  std::string_view typeTag;    // e.g. "WAD"
  std::string_view pageClass;  // e.g. "CDialogTypeWap"
};

struct OperatorFormatSpec {
  int id;                      // 1, 2 or 3
  std::string_view caption;    // "中国移动v1.0", ...
  std::span<const TabSpec> tabs;
};

// The three formats, index 0 is format 1.
std::span<const OperatorFormatSpec> OperatorFormats();
// The thirteen pages, in the QR page's member order.
std::span<const PageSpec> ContentPages();

// Null when the format or tab is out of range.
const OperatorFormatSpec* FindOperatorFormat(int operatorFormat);
const TabSpec* FindTab(int operatorFormat, int tab);
const PageSpec* FindPage(std::string_view className);
// The page shown for a tab under a format, or null.
const PageSpec* PageForTab(int operatorFormat, int tab);
// A tab's caption without its padding blanks: "WAP业务".
std::string_view BareTabCaption(const TabSpec& tab);
// A field's caption, or a header that names one, without blanks, "*" and
// colons (ASCII or full-width), as it reads in a spreadsheet's first row:
// "* 姓名:" -> "姓名".
std::string BareCaption(std::string_view text);
// The position of the tab with this caption under a format, ignoring blanks
// around it and the case of ASCII letters ("wap业务"); -1 when there is none.
int TabOfCaption(int operatorFormat, std::string_view caption);
// A tab as the user sees it, for messages: "名片" of 中国移动v1.0 (the caption
// without its padding blanks); empty when the format or tab is out of range.
std::string TabInUserWords(int operatorFormat, int tab);
