// The content catalogue: field slots and their tags, the formats (three
// operator formats and the general one), their tabs, and the fields of every
// content page. This one table is read by payload composition, the content
// pages, the QR page, batch and the CLI.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace quillet {

constexpr int FieldSlotCount = 35;
// Slots 0 to 23 are the operator formats' fields; the general format adds
// slots from here on and reuses the others where the meaning is the same.
constexpr int OperatorFieldSlotCount = 24;
// Formats 1 to 3 are the operator formats; format 4 is the general one.
constexpr int OperatorFormatCount = 4;
constexpr int GeneralFormat = 4;
constexpr int MaxTabsPerFormat = 10;

// Tag of every field slot, in slot order (slot 0 "N" ... slot 23 "TEXT",
// then the general format's "NOTE" ... "LOC").
extern const std::array<std::string_view, FieldSlotCount> FieldTags;

// Slot of a tag in any case ("N" or "n" -> 0), or -1.
int FieldSlotOfTag(std::string_view tag);

// A rectangle in dialog units.
struct DialogRect {
  int x, y, width, height;
};

// How a field is edited. Every field's value is text whatever its kind.
enum class FieldKind {
  Text,      // a single- or multi-line edit (FieldSpec::multiLine)
  Choice,    // a drop-down of FieldSpec::choices; the value is the chosen one's
  Check,     // a check box captioned by the field's caption: CheckedValue or empty
  DateTime,  // a date and time as DateTimeLayout
};

// One entry of a drop-down: the value composed and the caption shown.
struct FieldChoice {
  std::string_view value;
  std::string_view caption;  // UTF-8
};

// What a checked check box stores; "false" (or nothing) is unchecked.
constexpr std::string_view CheckedValue = "true";
constexpr std::string_view UncheckedValue = "false";
// The one written form of a date-time field, as users type it.
constexpr std::string_view DateTimeLayout = "YYYY-MM-DD HH:MM";

struct FieldSpec {
  int controlId;
  std::string_view caption;  // UTF-8, exactly as shown; empty for none
  int slot;
  bool multiLine;
  DialogRect captionRect;    // width 0 when there is no caption
  DialogRect editRect;       // for a check box, the box with its caption
  FieldKind kind = FieldKind::Text;
  std::span<const FieldChoice> choices = {};  // the first is the default
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
  // The tab's ASCII name for typing (--type wifi): unique within its format,
  // and the same word for the same kind of tab across formats.
  std::string_view name;
};

// How a format's fields become the bytes of a symbol.
enum class Composition {
  // Code page 936 tag:value pairs behind 0x01 0x10 (ComposeFieldPayload).
  OperatorTags,
  // UTF-8 in each tab's own standard form, read by every phone camera
  // (ComposeGeneralPayload); no prefix.
  General,
};

struct OperatorFormatSpec {
  int id;                      // 1 to 4
  std::string_view caption;    // "中国移动v1.0", ..., "通用格式"
  std::span<const TabSpec> tabs;
  Composition composition = Composition::OperatorTags;
  // Whether its symbols name their character set with an ECI unless asked
  // not to. 通用格式's do: without one, zbar guesses Shift JIS for a short
  // UTF-8 byte segment holding a Chinese name (bench/cli/general-cards).
  bool eciByDefault = false;
};

// A content page as the user picks it: the format's radio button and the
// tab under it. The QR page, recognition, the symbol request, the command
// line and batch all name a page by this pair.
struct FormatTab {
  int format = 1;
  int tab = 0;  // from 0, the left-most
  bool operator==(const FormatTab&) const = default;
};

// The four formats, index 0 is format 1.
std::span<const OperatorFormatSpec> OperatorFormats();
// The thirteen pages of the operator formats, in the QR page's member order.
std::span<const PageSpec> ContentPages();
// The nine pages of the general format, in tab order.
std::span<const PageSpec> GeneralPages();
// Whether the format composes in UTF-8 per tab (false also for no format).
bool IsGeneralFormat(int operatorFormat);
// The format's eciByDefault (false also for no format).
bool EciByDefault(int operatorFormat);

// Null when the format or tab is out of range.
const OperatorFormatSpec* FindOperatorFormat(int operatorFormat);
const TabSpec* FindTab(int operatorFormat, int tab);
const PageSpec* FindPage(std::string_view className);
// The page shown for a tab under a format, or null.
const PageSpec* PageForTab(int operatorFormat, int tab);
// The page's field fed by a slot, or null.
const FieldSpec* FindField(const PageSpec& page, int slot);
// Whether a field must be filled for its page to make a symbol: its caption
// starts with "*", or a choice on the page asks for it (the Wi-Fi password
// unless the network is open). `values` are the page's, in slot order.
bool FieldRequired(const PageSpec& page, const FieldSpec& field, const std::array<std::string, FieldSlotCount>& values);
// The caption as the page shows it: "* 密码:" when required, "密码:" when not.
std::string CaptionMarked(std::string_view caption, bool required);
// The Wi-Fi security choice of an open network, which takes no password.
constexpr std::string_view WifiNoPassword = "nopass";
// A tab's caption without its padding blanks: "WAP业务".
std::string_view BareTabCaption(const TabSpec& tab);
// A field's caption, or a header that names one, without blanks, "*" and
// colons (ASCII or full-width), as it reads in a spreadsheet's first row:
// "* 姓名:" -> "姓名".
std::string BareCaption(std::string_view text);
// The position of the tab with this caption or ASCII name under a format,
// ignoring blanks around it and the case of ASCII letters ("wap业务", "WiFi");
// -1 when there is none.
int TabOfName(int operatorFormat, std::string_view word);

// A word people head a column with for a field, besides its tag and its
// caption: "名字" for N. `tags` are the fields it may mean, most likely
// first; on a page it means the first of them the page has.
struct FieldWord {
  std::string_view word;  // UTF-8; ASCII letters in any case
  std::string_view tags;  // blank-separated: "TEL CT M SM"
};
std::span<const FieldWord> FieldWords();

// The field of `page` that `name` names: its tag in any case, its caption
// (as BareCaption reads both), or a word of FieldWords(). Batch headers and
// the command line's --field both name fields this way. Null when none.
const FieldSpec* FieldOfName(const PageSpec& page, std::string_view name);

}  // namespace quillet
