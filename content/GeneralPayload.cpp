#include "content/GeneralPayload.h"

#include <array>
#include <charconv>
#include <optional>
#include <string_view>

#include "content/CodePage.h"
#include "content/Escaping.h"
#include "content/TextList.h"

namespace quillet {

namespace {

// The slots the composers read, as the catalogue numbers them.
int Slot(std::string_view tag) { return FieldSlotOfTag(tag); }

// The fields of one page, and the first problem found among them.
class Fields {
 public:
  explicit Fields(const FieldValueArray& values) : values_(values) {}

  const std::string& operator[](std::string_view tag) const { return values_[Slot(tag)]; }
  bool Has(std::string_view tag) const { return !(*this)[tag].empty(); }
  // Fails when the field is empty; for the form's required fields.
  bool Need(std::string_view tag) { return Has(tag) || Fail(FieldFailure::Missing, tag); }
  bool Fail(FieldFailure failure, std::string_view tag) {
    if (!problem_) problem_ = {failure, Slot(tag), {}};
    return false;
  }
  // For a form that the value leaves with nothing to compose.
  std::string Refuse(FieldFailure failure, std::string_view tag) {
    Fail(failure, tag);
    return {};
  }
  const FieldProblem& Problem() const { return problem_; }

 private:
  const FieldValueArray& values_;
  FieldProblem problem_;
};

constexpr std::string_view CrLf = "\r\n";

void AddLine(std::string& out, std::string_view name, std::string_view value) {
  out.append(name).append(":").append(value).append(CrLf);
}

// --- vCard 3.0 ---

// A property and the fields of its components in order; "" is a component
// left empty. Trailing empty components are written only where the
// structure is fixed (N, ADR).
struct CardProperty {
  std::string_view name;
  std::array<std::string_view, 7> components;
  bool fixedStructure = false;
};

constexpr CardProperty CardProperties[] = {
    {"N", {"N", "", "", "", ""}, true},
    {"FN", {"N"}},
    {"TEL;TYPE=CELL", {"M"}},
    {"TEL;TYPE=WORK,VOICE", {"TEL"}},
    {"TEL;TYPE=WORK,FAX", {"FAX"}},
    {"EMAIL;TYPE=INTERNET", {"EM"}},
    {"ORG", {"COR", "DIV"}},
    {"TITLE", {"TIL"}},
    {"ADR;TYPE=WORK", {"", "", "ADR", "", "", "ZIP", ""}, true},
    {"URL", {"URL"}},
    {"NOTE", {"NOTE"}},
};
constexpr size_t StructuredComponents(std::string_view name) { return name == "N" ? 5 : 7; }

std::optional<std::string> CardValue(const Fields& fields, const CardProperty& property) {
  std::string value;
  size_t kept = 0;
  bool any = false;
  const size_t count = property.fixedStructure ? StructuredComponents(property.name) : property.components.size();
  for (size_t i = 0; i < count; ++i) {
    const std::string_view tag = property.components[i];
    if (i > 0) value += ';';
    if (!tag.empty() && fields.Has(tag)) {
      value += EscapeCardText(fields[tag]);
      kept = value.size();
      any = true;
    }
  }
  if (!any) return std::nullopt;
  if (!property.fixedStructure) value.resize(kept);
  return value;
}

std::string ComposeCard(Fields& fields) {
  if (!fields.Need("N")) return {};
  std::string card;
  AddLine(card, "BEGIN", "VCARD");
  AddLine(card, "VERSION", "3.0");
  for (const CardProperty& property : CardProperties)
    if (const auto value = CardValue(fields, property)) AddLine(card, property.name, *value);
  AddLine(card, "END", "VCARD");
  return card;
}

// --- WIFI: ---

std::optional<std::string_view> ChoiceOf(const FieldSpec& field, std::string_view value) {
  for (const FieldChoice& choice : field.choices)
    if (SameIgnoringCase(choice.value, Trimmed(value))) return choice.value;
  return std::nullopt;
}


std::optional<bool> CheckBoxValue(std::string_view value) {
  value = Trimmed(value);
  if (value.empty() || SameIgnoringCase(value, UncheckedValue)) return false;
  if (SameIgnoringCase(value, CheckedValue)) return true;
  return std::nullopt;
}

constexpr int WifiTab = 1;

std::string ComposeWifi(Fields& fields) {
  if (!fields.Need("SSID")) return {};
  std::string_view security = fields.Has("PWD") ? "WPA" : WifiNoPassword;
  if (fields.Has("ENC")) {
    const auto chosen = ChoiceOf(*FindField(*PageForTab(GeneralFormat, WifiTab), Slot("ENC")), fields["ENC"]);
    if (!chosen) return fields.Refuse(FieldFailure::NotAChoice, "ENC");
    security = *chosen;
  }
  const auto hidden = CheckBoxValue(fields["HIDDEN"]);
  if (!hidden) return fields.Refuse(FieldFailure::NotAChoice, "HIDDEN");
  const bool open = security == WifiNoPassword;
  if (open && fields.Has("PWD")) return fields.Refuse(FieldFailure::PasswordUnused, "PWD");
  if (!open && !fields.Need("PWD")) return {};
  std::string wifi = "WIFI:T:" + std::string(security) + ";S:" + EscapeWifiValue(fields["SSID"]) + ";";
  if (!open) wifi += "P:" + EscapeWifiValue(fields["PWD"]) + ";";
  if (*hidden) wifi += "H:true;";
  return wifi + ";";
}

// --- URI forms ---

std::string ComposeLink(Fields& fields) {
  const std::string_view address = Trimmed(fields["URL"]);
  if (address.empty()) return fields.Refuse(FieldFailure::Missing, "URL");
  UriFailure failure = UriFailure::NoIdnaForm;
  const auto uri = AddressAsUri(address, &failure);
  if (!uri)
    return fields.Refuse(failure == UriFailure::NoIdnaLibrary ? FieldFailure::NoIdnaLibrary : FieldFailure::NoIdnaForm,
                         "URL");
  return *uri;
}

// A number as a dial pad takes it: blanks dropped, then digits and the
// signs of RFC 3966's numbers only ("#" is escaped, it would end a URI).
std::optional<std::string> DialNumber(std::string_view typed) {
  std::string number;
  bool digit = false;
  for (char c : typed) {
    if (c == ' ' || c == '\t') continue;
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (std::string_view("+-.()*#,;pPwW").find(c) == std::string_view::npos) {
      return std::nullopt;
    }
    number += c == '#' ? std::string("%23") : std::string(1, c);
  }
  if (!digit) return std::nullopt;
  return number;
}

std::optional<std::string> NeedNumber(Fields& fields, std::string_view tag) {
  if (!fields.Need(tag)) return std::nullopt;
  auto number = DialNumber(fields[tag]);
  if (!number) fields.Fail(FieldFailure::NotAPhoneNumber, tag);
  return number;
}

std::string ComposeDial(Fields& fields) {
  const auto number = NeedNumber(fields, "TEL");
  return number ? "tel:" + *number : std::string();
}

std::string ComposeMessage(Fields& fields) {
  const auto number = NeedNumber(fields, "SM");
  return number ? "SMSTO:" + *number + ":" + fields["TXT"] : std::string();
}

// Recipients separated by ",", each with an "@"; blanks around them dropped.
std::optional<std::string> Recipients(std::string_view typed) {
  std::string list;
  while (!typed.empty()) {
    const size_t comma = typed.find(',');
    const std::string_view one = Trimmed(typed.substr(0, comma));
    if (one.find('@') == std::string_view::npos) return std::nullopt;
    if (!list.empty()) list += ',';
    list += PercentEncode(one, "@");
    typed = comma == std::string_view::npos ? std::string_view() : typed.substr(comma + 1);
  }
  return list;
}

std::string ComposeMail(Fields& fields) {
  const auto to = Recipients(fields["TO"]);
  if (!to) return fields.Refuse(FieldFailure::NotAMailAddress, "TO");
  std::string query;
  if (fields.Has("SUB")) query += "subject=" + PercentEncode(fields["SUB"]);
  if (fields.Has("TXT")) query += std::string(query.empty() ? "" : "&") + "body=" + PercentEncode(CrLfLineBreaks(fields["TXT"]));
  return "mailto:" + *to + (query.empty() ? "" : "?" + query);
}

// A decimal number in degrees within ±limit, as geo: writes it: no "+",
// no blanks, no exponent.
std::optional<std::string> Degrees(Fields& fields, std::string_view tag, double limit) {
  if (!fields.Need(tag)) return std::nullopt;
  std::string_view text = Trimmed(fields[tag]);
  if (!text.empty() && text[0] == '+') text.remove_prefix(1);
  const bool decimal = !text.empty() && text.find_first_not_of("-0123456789.") == std::string_view::npos &&
                       text.find('-', 1) == std::string_view::npos;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (!decimal || error != std::errc() || end != text.data() + text.size()) {
    fields.Fail(FieldFailure::NotANumber, tag);
    return std::nullopt;
  }
  if (value < -limit || value > limit) {
    fields.Fail(FieldFailure::OutOfRange, tag);
    return std::nullopt;
  }
  return std::string(text);
}

std::string ComposePlace(Fields& fields) {
  const auto latitude = Degrees(fields, "LAT", 90);
  const auto longitude = Degrees(fields, "LON", 180);
  if (!latitude || !longitude) return {};
  std::string geo = "geo:" + *latitude + "," + *longitude;
  if (fields.Has("LABEL")) geo += "?q=" + PercentEncode(fields["LABEL"]);
  return geo;
}

// --- iCalendar ---

// "YYYY-MM-DD HH:MM" as a floating local time "YYYYMMDDTHHMM00", or nullopt
// when it is not that layout or names no real day and time.
std::optional<std::string> CalendarTime(std::string_view typed) {
  const std::string_view text = Trimmed(typed);
  if (text.size() != DateTimeLayout.size()) return std::nullopt;
  std::string digits;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool digitHere = DateTimeLayout[i] >= 'A' && DateTimeLayout[i] <= 'Z';
    if (digitHere != (text[i] >= '0' && text[i] <= '9')) return std::nullopt;
    // ISO 8601's "T" may stand for the blank, so that a command line needs no quotes.
    if (!digitHere && text[i] != DateTimeLayout[i] && !(DateTimeLayout[i] == ' ' && text[i] == 'T'))
      return std::nullopt;
    if (digitHere) digits += text[i];
  }
  const auto number = [&](size_t at, size_t length) { return std::stoi(digits.substr(at, length)); };
  const int year = number(0, 4), month = number(4, 2), day = number(6, 2);
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  static constexpr int Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || month < 1 || month > 12 || day < 1) return std::nullopt;
  if (day > Days[month - 1] + (month == 2 && leap ? 1 : 0)) return std::nullopt;
  if (number(8, 2) > 23 || number(10, 2) > 59) return std::nullopt;
  return digits.substr(0, 8) + "T" + digits.substr(8) + "00";
}

// Text properties in the order they are written; the times go after SUMMARY.
constexpr std::pair<std::string_view, std::string_view> EventTexts[] = {
    {"LOCATION", "LOC"},
    {"DESCRIPTION", "TXT"},
};

std::string ComposeEvent(Fields& fields) {
  if (!fields.Need("START")) return {};
  const auto start = CalendarTime(fields["START"]);
  if (!start) return fields.Refuse(FieldFailure::NotADateTime, "START");
  std::optional<std::string> end;
  if (fields.Has("END")) {
    end = CalendarTime(fields["END"]);
    if (!end) return fields.Refuse(FieldFailure::NotADateTime, "END");
    // The layout is fixed-width, so the strings order as the times do.
    if (*end < *start) return fields.Refuse(FieldFailure::EndsBeforeStart, "END");
  }
  std::string event;
  AddLine(event, "BEGIN", "VCALENDAR");
  AddLine(event, "VERSION", "2.0");
  AddLine(event, "PRODID", "-//Quillet//Quillet//ZH");
  AddLine(event, "BEGIN", "VEVENT");
  if (fields.Has("SUB")) AddLine(event, "SUMMARY", EscapeCardText(fields["SUB"]));
  AddLine(event, "DTSTART", *start);
  if (end) AddLine(event, "DTEND", *end);
  for (const auto& [name, tag] : EventTexts)
    if (fields.Has(tag)) AddLine(event, name, EscapeCardText(fields[tag]));
  AddLine(event, "END", "VEVENT");
  AddLine(event, "END", "VCALENDAR");
  return event;
}

std::string ComposeText(Fields& fields) { return fields["TEXT"]; }

// By tab position, which is also the --type number.
using Composer = std::string (*)(Fields&);
constexpr Composer Composers[] = {ComposeCard,    ComposeWifi, ComposeLink,  ComposeDial, ComposeMessage,
                                  ComposeMail,    ComposePlace, ComposeEvent, ComposeText};

}  // namespace

std::string ComposeGeneralPayload(const FieldValueArray& values, int tab, FieldProblem* problem) {
  const PageSpec* page = PageForTab(GeneralFormat, tab);
  if (page == nullptr || tab >= static_cast<int>(std::size(Composers))) return {};
  Fields fields(values);
  // A page is empty while nothing is typed: a drop-down or check box always
  // holds some value and alone asks for no symbol.
  bool anyFilled = false;
  for (const FieldSpec& field : page->fields) {
    if (values[field.slot].empty()) continue;
    if (field.kind == FieldKind::Text || field.kind == FieldKind::DateTime) anyFilled = true;
    if (!IsValidUtf8(values[field.slot])) fields.Fail(FieldFailure::NotUtf8, FieldTags[field.slot]);
  }
  std::string payload;
  if (anyFilled && !fields.Problem()) payload = Composers[tab](fields);
  if (problem != nullptr) *problem = fields.Problem();
  return fields.Problem() ? std::string() : payload;
}

}  // namespace quillet
