#include "content/GeneralRecognition.h"

#include <algorithm>
#include <vector>

#include "content/CodePage.h"
#include "content/Escaping.h"
#include "content/TextList.h"

namespace quillet {

namespace {

enum GeneralTab { CardTab, WifiTab, LinkTab, DialTab, MessageTab, MailTab, PlaceTab, EventTab };

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && SameIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// Fields of one tab being filled, and the first thing they could not hold.
class Filling {
 public:
  explicit Filling(int tab) : found_{PayloadKind::General, {GeneralFormat, tab}, {}, {}} {}

  // Stores a value; a second value for the same field is not held.
  void Put(std::string_view tag, std::string value) {
    std::string& field = found_.values[FieldSlotOfTag(tag)];
    if (!field.empty()) return NotHeld(UnheldReason::RepeatedTag, tag);
    field = std::move(value);
  }
  bool Has(std::string_view tag) const { return !found_.values[FieldSlotOfTag(tag)].empty(); }
  void NotHeld(UnheldReason reason, std::string_view subject) {
    if (found_.Exact()) found_.unheld = {reason, std::string(subject)};
  }
  Recognised Done(PayloadKind kind = PayloadKind::General) {
    found_.kind = kind;
    return found_;
  }

 private:
  Recognised found_;
};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// %XX back to its byte. `onlyHigh` keeps those of ASCII as they are (a web
// address means its %20 as written; the composer escaped only the rest).
std::string PercentDecode(std::string_view text, bool onlyHigh = false) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const int high = i + 2 < text.size() && text[i] == '%' ? HexDigit(text[i + 1]) : -1;
    const int low = high >= 0 ? HexDigit(text[i + 2]) : -1;
    if (low >= 0 && (!onlyHigh || high >= 8)) {
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// Text as the general format's pages hold it: UTF-8; code page 936 converted.
std::string AsUtf8(std::string_view text) {
  if (IsValidUtf8(text)) return std::string(text);
  return CodePageToUtf8(text).value_or(std::string(text));
}

// --- vCard and iCalendar: content lines ---

struct ContentLine {
  std::string name;    // upper case, without parameters
  std::string params;  // upper case, after the first ';'
  std::string value;
};

// Lines split at CR LF or LF, folded lines joined (a continuation starts
// with a blank or a tab).
std::vector<ContentLine> ContentLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!lines.empty() && !line.empty() && (line[0] == ' ' || line[0] == '\t')) lines.back().append(line.substr(1));
    else if (!line.empty()) lines.emplace_back(line);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  std::vector<ContentLine> parsed;
  for (const std::string& line : lines) {
    const size_t colon = line.find(':');
    const std::string head = line.substr(0, colon);
    const size_t semicolon = head.find(';');
    ContentLine content{head.substr(0, semicolon), semicolon == std::string::npos ? "" : head.substr(semicolon + 1),
                        colon == std::string::npos ? "" : line.substr(colon + 1)};
    for (std::string* upper : {&content.name, &content.params})
      std::transform(upper->begin(), upper->end(), upper->begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
    parsed.push_back(std::move(content));
  }
  return parsed;
}

// vCard and iCalendar text: "\n" a line break (CR LF, as the pages hold
// one), "\," "\;" "\\" the character.
std::string UnescapeCardText(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
    } else if (text[++i] == 'n' || text[i] == 'N') {
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

// A structured value's components, split at unescaped ';'.
std::vector<std::string> Components(std::string_view value) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) parts.back().append(value.substr(i++, 2));
    else if (value[i] == ';') parts.emplace_back();
    else parts.back() += value[i];
  }
  for (std::string& part : parts) part = UnescapeCardText(part);
  return parts;
}

std::string Component(const std::vector<std::string>& parts, size_t index) {
  return index < parts.size() ? parts[index] : std::string();
}

// The telephone fields in the order a TEL without a known type fills them.
void PutPhone(Filling& card, const std::string& params, std::string number) {
  if (params.find("FAX") != std::string::npos) return card.Put("FAX", std::move(number));
  if (params.find("CELL") != std::string::npos || (card.Has("TEL") && !card.Has("M"))) return card.Put("M", std::move(number));
  card.Put("TEL", std::move(number));
}

// Street and post code have fields; other address parts join the street.
std::string AddressText(const std::vector<std::string>& parts) {
  std::string text;
  for (size_t i : {0u, 1u, 2u, 3u, 4u, 6u})
    if (!Component(parts, i).empty()) text += (text.empty() ? "" : " ") + Component(parts, i);
  return text;
}

Recognised RecogniseCard(std::string_view bytes) {
  Filling card(CardTab);
  std::string formatted, structured;
  for (const ContentLine& line : ContentLines(bytes)) {
    const std::string& n = line.name;
    const std::vector<std::string> parts = Components(AsUtf8(line.value));
    if (n == "BEGIN" || n == "END" || n == "VERSION" || n == "PRODID" || n == "REV") continue;
    if (n == "FN") formatted = parts[0];
    else if (n == "N") structured = Component(parts, 1).empty() ? parts[0] : Component(parts, 0) + Component(parts, 1);
    else if (n == "TEL") PutPhone(card, line.params, parts[0]);
    else if (n == "EMAIL") card.Put("EM", parts[0]);
    else if (n == "ORG") {
      card.Put("COR", parts[0]);
      if (!Component(parts, 1).empty()) card.Put("DIV", parts[1]);
    } else if (n == "TITLE") card.Put("TIL", parts[0]);
    else if (n == "ADR") {
      if (const std::string street = AddressText(parts); !street.empty()) card.Put("ADR", street);
      if (!Component(parts, 5).empty()) card.Put("ZIP", parts[5]);
    } else if (n == "URL") card.Put("URL", UnescapeCardText(AsUtf8(line.value)));  // escaped as we write it, not split
    else if (n == "NOTE") card.Put("NOTE", parts[0]);
    else card.NotHeld(UnheldReason::UnknownTag, n);
  }
  // The formatted name is the name as written; N alone is joined from its parts.
  card.Put("N", formatted.empty() ? structured : formatted);
  return card.Done();
}

// "YYYYMMDDTHHMMSS" as the page writes it, "YYYY-MM-DD HH:MM"; nullopt for
// other forms (a time in UTC, seconds, a date alone).
std::optional<std::string> PageDateTime(std::string_view value) {
  if (value.size() != 15 || value[8] != 'T' || value.substr(13) != "00") return std::nullopt;
  const std::string digits = std::string(value.substr(0, 8)) + std::string(value.substr(9, 4));
  if (digits.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  return digits.substr(0, 4) + "-" + digits.substr(4, 2) + "-" + digits.substr(6, 2) + " " + digits.substr(8, 2) + ":" +
         digits.substr(10, 2);
}

Recognised RecogniseEvent(std::string_view bytes) {
  Filling event(EventTab);
  constexpr std::string_view Ignored[] = {"BEGIN", "END", "VERSION", "PRODID", "CALSCALE", "METHOD", "UID", "DTSTAMP"};
  for (const ContentLine& line : ContentLines(bytes)) {
    const std::string& n = line.name;
    if (std::find(std::begin(Ignored), std::end(Ignored), n) != std::end(Ignored)) continue;
    const std::string text = UnescapeCardText(AsUtf8(line.value));
    if (n == "SUMMARY") event.Put("SUB", text);
    else if (n == "LOCATION") event.Put("LOC", text);
    else if (n == "DESCRIPTION") event.Put("TXT", text);
    else if (n == "DTSTART" || n == "DTEND") {
      const auto time = PageDateTime(line.value);
      if (time) event.Put(n == "DTSTART" ? "START" : "END", *time);
      else event.NotHeld(UnheldReason::NotAChoice, line.value);
    } else event.NotHeld(UnheldReason::UnknownTag, n);
  }
  return event.Done();
}

// --- WIFI: and MECARD: "KEY:value;" with backslash escapes ---

struct KeyValue {
  std::string key, value;
};

std::vector<KeyValue> EscapedPairs(std::string_view body) {
  std::vector<KeyValue> pairs;
  std::string current;
  const auto flush = [&] {
    if (current.empty()) return;
    const size_t colon = current.find(':');
    pairs.push_back({current.substr(0, colon), colon == std::string::npos ? "" : current.substr(colon + 1)});
    current.clear();
  };
  for (size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\\' && i + 1 < body.size()) current += body[++i] == ':' ? std::string("\x01", 1) : std::string(1, body[i]);
    else if (body[i] == ';') flush();
    else current += body[i];
  }
  flush();
  // An escaped ':' is kept apart from the key's until the split is done.
  for (KeyValue& pair : pairs) std::replace(pair.value.begin(), pair.value.end(), '\x01', ':');
  return pairs;
}

Recognised RecogniseWifi(std::string_view body) {
  Filling wifi(WifiTab);
  for (const KeyValue& pair : EscapedPairs(body)) {
    if (SameIgnoringCase(pair.key, "S")) wifi.Put("SSID", AsUtf8(pair.value));
    else if (SameIgnoringCase(pair.key, "P")) wifi.Put("PWD", AsUtf8(pair.value));
    else if (SameIgnoringCase(pair.key, "H")) {
      if (SameIgnoringCase(pair.value, CheckedValue)) wifi.Put("HIDDEN", std::string(CheckedValue));
      else if (!SameIgnoringCase(pair.value, UncheckedValue)) wifi.NotHeld(UnheldReason::NotAChoice, pair.value);
    } else if (SameIgnoringCase(pair.key, "T")) {
      const FieldSpec* field = FindField(*PageForTab(GeneralFormat, WifiTab), FieldSlotOfTag("ENC"));
      const auto choice = std::find_if(field->choices.begin(), field->choices.end(),
                                       [&](const FieldChoice& c) { return SameIgnoringCase(c.value, pair.value); });
      if (choice != field->choices.end()) wifi.Put("ENC", std::string(choice->value));
      else if (!pair.value.empty()) wifi.NotHeld(UnheldReason::NotAChoice, pair.value);
    } else wifi.NotHeld(UnheldReason::UnknownTag, pair.key);
  }
  return wifi.Done();
}

// MECARD's properties and the card's fields they fill: a second TEL goes to
// the second telephone field.
struct MecardProperty {
  std::string_view name;
  std::string_view tags[2];
};
constexpr MecardProperty MecardProperties[] = {
    {"N", {"N"}},     {"TEL", {"M", "TEL"}}, {"EMAIL", {"EM"}},   {"ADR", {"ADR"}},
    {"URL", {"URL"}}, {"ORG", {"COR"}},      {"TITLE", {"TIL"}},  {"NOTE", {"NOTE"}},
};

Recognised RecogniseMecard(std::string_view body) {
  Filling card(CardTab);
  for (const KeyValue& pair : EscapedPairs(body)) {
    const auto property = std::find_if(std::begin(MecardProperties), std::end(MecardProperties),
                                       [&](const MecardProperty& p) { return SameIgnoringCase(p.name, pair.key); });
    if (property == std::end(MecardProperties)) {
      card.NotHeld(UnheldReason::UnknownTag, pair.key);
      continue;
    }
    const std::string_view tag = card.Has(property->tags[0]) && !property->tags[1].empty() ? property->tags[1]
                                                                                            : property->tags[0];
    card.Put(tag, AsUtf8(pair.value));
  }
  return card.Done(PayloadKind::Mecard);
}

// --- URIs ---

// "key=value&..." of a URI's query, percent-decoded.
std::vector<KeyValue> QueryPairs(std::string_view query) {
  std::vector<KeyValue> pairs;
  while (!query.empty()) {
    const size_t amp = query.find('&');
    const std::string_view item = query.substr(0, amp);
    const size_t equals = item.find('=');
    pairs.push_back({PercentDecode(item.substr(0, equals)),
                     equals == std::string_view::npos ? "" : PercentDecode(item.substr(equals + 1))});
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
  }
  return pairs;
}

Recognised RecogniseMail(std::string_view uri) {
  Filling mail(MailTab);
  const size_t question = uri.find('?');
  if (const std::string to = PercentDecode(uri.substr(0, question)); !to.empty()) mail.Put("TO", AsUtf8(to));
  if (question != std::string_view::npos)
    for (const KeyValue& pair : QueryPairs(uri.substr(question + 1))) {
      if (SameIgnoringCase(pair.key, "subject")) mail.Put("SUB", AsUtf8(pair.value));
      else if (SameIgnoringCase(pair.key, "body")) mail.Put("TXT", AsUtf8(pair.value));
      else mail.NotHeld(UnheldReason::UnknownTag, pair.key);
    }
  return mail.Done();
}

Recognised RecognisePlace(std::string_view uri) {
  Filling place(PlaceTab);
  const size_t question = uri.find('?');
  const std::string_view where = uri.substr(0, question);
  const size_t comma = where.find(',');
  if (comma == std::string_view::npos || where.find_first_of(";,", comma + 1) != std::string_view::npos)
    place.NotHeld(UnheldReason::Malformed, {});
  place.Put("LAT", std::string(where.substr(0, comma)));
  if (comma != std::string_view::npos) place.Put("LON", std::string(where.substr(comma + 1)));
  if (question != std::string_view::npos)
    for (const KeyValue& pair : QueryPairs(uri.substr(question + 1))) {
      if (pair.key == "q") place.Put("LABEL", AsUtf8(pair.value));
      else place.NotHeld(UnheldReason::UnknownTag, pair.key);
    }
  return place.Done();
}

Recognised RecogniseMessage(std::string_view body) {
  Filling message(MessageTab);
  const size_t colon = body.find(':');
  message.Put("SM", PercentDecode(body.substr(0, colon)));
  if (colon != std::string_view::npos && colon + 1 < body.size()) message.Put("TXT", AsUtf8(body.substr(colon + 1)));
  return message.Done();
}

Recognised RecogniseSingle(int tab, std::string_view tag, std::string value) {
  Filling single(tab);
  single.Put(tag, std::move(value));
  return single.Done();
}

}  // namespace

std::optional<Recognised> RecogniseGeneral(std::string_view bytes) {
  if (StartsWithIgnoringCase(bytes, "BEGIN:VCARD")) return RecogniseCard(bytes);
  if (StartsWithIgnoringCase(bytes, "BEGIN:VCALENDAR") || StartsWithIgnoringCase(bytes, "BEGIN:VEVENT"))
    return RecogniseEvent(bytes);
  if (StartsWithIgnoringCase(bytes, "WIFI:")) return RecogniseWifi(bytes.substr(5));
  if (StartsWithIgnoringCase(bytes, "MECARD:")) return RecogniseMecard(bytes.substr(7));
  if (StartsWithIgnoringCase(bytes, "mailto:")) return RecogniseMail(bytes.substr(7));
  if (StartsWithIgnoringCase(bytes, "geo:")) return RecognisePlace(bytes.substr(4));
  if (StartsWithIgnoringCase(bytes, "SMSTO:")) return RecogniseMessage(bytes.substr(6));
  if (StartsWithIgnoringCase(bytes, "tel:")) return RecogniseSingle(DialTab, "TEL", PercentDecode(bytes.substr(4)));
  const bool web = StartsWithIgnoringCase(bytes, "http://") || StartsWithIgnoringCase(bytes, "https://");
  // One line of address only: text that starts with one is still text.
  if (web && bytes.find_first_of(" \t\r\n") == std::string_view::npos && IsValidUtf8(bytes)) {
    std::string address = PercentDecode(WithReadableHost(bytes), true);
    return RecogniseSingle(LinkTab, "URL", IsValidUtf8(address) ? address : std::string(bytes));
  }
  return std::nullopt;
}

}  // namespace quillet
