#include "content/Recognition.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "content/CodePage.h"
#include "content/TextList.h"

namespace {

constexpr std::string_view OperatorPrefix("\x01\x10", 2);
constexpr std::string_view TextTypeTag = "DTXT";

struct Pair {
  std::string tag, value;
};

// A field's value runs to the ';' that ends the payload or is followed by
// what reads as a tag (capital letters) and ':': the composer does not
// escape, so other ';' belong to the value. An unknown tag is then told as
// such rather than taken into the value before it.
bool EndsValue(std::string_view rest) {
  if (rest.empty() || rest == ";") return true;
  const size_t colon = rest.find(':');
  if (colon == 0 || colon == std::string_view::npos) return false;
  return std::all_of(rest.begin(), rest.begin() + colon, [](char c) { return c >= 'A' && c <= 'Z'; });
}

// "TAG:value;TAG:value;;" into its pairs; nullopt when it is not of that form.
std::optional<std::vector<Pair>> SplitPairs(std::string_view body) {
  std::vector<Pair> pairs;
  while (!body.empty() && body != ";") {
    const size_t colon = body.find(':');
    if (colon == std::string_view::npos || colon == 0) return std::nullopt;
    size_t end = colon + 1;
    while ((end = body.find(';', end)) != std::string_view::npos && !EndsValue(body.substr(end + 1))) ++end;
    if (end == std::string_view::npos) return std::nullopt;
    pairs.push_back({std::string(body.substr(0, colon)), std::string(body.substr(colon + 1, end - colon - 1))});
    body.remove_prefix(end + 1);
  }
  return pairs;
}

bool PageHolds(const PageSpec& page, int slot) {
  return std::any_of(page.fields.begin(), page.fields.end(), [&](const FieldSpec& f) { return f.slot == slot; });
}

// The first unheld pair on a page, or none.
Unheld FirstUnheld(const std::vector<Pair>& pairs, const PageSpec& page) {
  std::vector<bool> seen(FieldSlotCount);
  for (const Pair& pair : pairs) {
    const int slot = FieldSlotOfTag(pair.tag);
    if (slot < 0) return {UnheldReason::UnknownTag, pair.tag};
    if (!PageHolds(page, slot)) return {UnheldReason::TagNotOnPage, pair.tag};
    if (seen[slot]) return {UnheldReason::RepeatedTag, pair.tag};
    seen[slot] = true;
  }
  return {};
}

// The formats in the order they are tried: the preferred one first.
std::vector<int> FormatOrder(int preferredFormat) {
  std::vector<int> order{preferredFormat};
  for (const OperatorFormatSpec& format : OperatorFormats())
    if (format.id != preferredFormat) order.push_back(format.id);
  return order;
}

std::optional<Recognised> RecogniseOperator(std::string_view bytes, int preferredFormat) {
  if (bytes.substr(0, 2) != OperatorPrefix) return std::nullopt;
  const std::string_view payload = bytes.substr(2);
  const size_t colon = payload.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const std::string_view type = payload.substr(0, colon);
  const auto pairs = SplitPairs(payload.substr(colon + 1));
  std::optional<Recognised> best;
  for (const int format : FormatOrder(preferredFormat)) {
    const auto tabs = FindOperatorFormat(format)->tabs;
    for (size_t tab = 0; tab < tabs.size(); ++tab) {
      if (tabs[tab].typeTag != type) continue;
      Recognised found{PayloadKind::Operator, format, static_cast<int>(tab), {}, {UnheldReason::Malformed, {}}};
      const PageSpec& page = *PageForTab(format, static_cast<int>(tab));
      if (pairs) found.unheld = FirstUnheld(*pairs, page);
      // Where the fields cannot hold it all, they still show what they can.
      for (const Pair& pair : pairs.value_or(std::vector<Pair>{})) {
        const int slot = FieldSlotOfTag(pair.tag);
        if (slot >= 0 && PageHolds(page, slot) && found.values[slot].empty()) found.values[slot] = pair.value;
      }
      if (found.Exact()) return found;
      if (!best) best = found;
    }
  }
  return best;
}

// MECARD escapes '\', ';', ':' and ',' with a backslash.
std::string MecardUnescape(std::string_view text) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) plain += text[i] == '\\' && i + 1 < text.size() ? text[++i] : text[i];
  return plain;
}

// MECARD's properties and the card's fields they fill, in order: a second
// TEL goes to the second telephone field.
struct MecardProperty {
  std::string_view name;
  std::string_view tags[2];
};
constexpr MecardProperty MecardProperties[] = {
    {"N", {"N"}},       {"TEL", {"M", "TEL"}}, {"EMAIL", {"EM"}}, {"ADR", {"ADR"}},
    {"URL", {"URL"}},   {"ORG", {"COR"}},      {"TITLE", {"TIL"}},
};

// Pairs of a MECARD body, split at unescaped ';'.
std::vector<Pair> MecardPairs(std::string_view body) {
  std::vector<Pair> pairs;
  std::string current;
  for (size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\\' && i + 1 < body.size()) {
      current.append(body.substr(i++, 2));
    } else if (body[i] != ';') {
      current += body[i];
    } else if (!current.empty()) {
      const size_t colon = current.find(':');
      pairs.push_back({current.substr(0, colon), colon == std::string::npos ? "" : current.substr(colon + 1)});
      current.clear();
    }
  }
  if (!current.empty()) pairs.push_back({current, {}});
  return pairs;
}

// Text as the pages hold it: code page 936 bytes. UTF-8 is converted; bytes
// that are not UTF-8 are taken as code page 936 already.
std::optional<std::string> PageText(std::string_view text) {
  if (IsValidUtf8(text)) return Utf8ToCodePage936(text);
  if (CodePageToUtf8(text)) return std::string(text);
  return std::nullopt;
}

int CardTab(int format) {
  const auto tabs = FindOperatorFormat(format)->tabs;
  for (size_t tab = 0; tab < tabs.size(); ++tab)
    if (tabs[tab].typeTag == "CARD") return static_cast<int>(tab);
  return 0;
}

std::optional<Recognised> RecogniseMecard(std::string_view bytes, int preferredFormat) {
  if (!SameIgnoringCase(bytes.substr(0, 7), "MECARD:")) return std::nullopt;
  Recognised found{PayloadKind::Mecard, preferredFormat, CardTab(preferredFormat), {}, {}};
  std::vector<int> used(std::size(MecardProperties));
  for (const Pair& pair : MecardPairs(bytes.substr(7))) {
    const auto property = std::find_if(std::begin(MecardProperties), std::end(MecardProperties),
                                       [&](const MecardProperty& p) { return SameIgnoringCase(p.name, pair.tag); });
    const size_t index = property - std::begin(MecardProperties);
    std::string_view tag = property == std::end(MecardProperties) || used[index] >= 2 ? "" : property->tags[used[index]];
    if (tag.empty()) {
      if (found.Exact()) found.unheld = {property == std::end(MecardProperties) ? UnheldReason::UnknownTag
                                                                                 : UnheldReason::RepeatedTag,
                                         pair.tag};
      continue;
    }
    ++used[index];
    const auto text = PageText(MecardUnescape(pair.value));
    if (!text && found.Exact()) found.unheld = {UnheldReason::NotCodePage, pair.tag};
    found.values[FieldSlotOfTag(tag)] = text.value_or("");
  }
  return found;
}

int TextTab(int format) {
  const auto tabs = FindOperatorFormat(format)->tabs;
  for (size_t tab = 0; tab < tabs.size(); ++tab)
    if (tabs[tab].typeTag == TextTypeTag) return static_cast<int>(tab);
  return 0;
}

bool KnownFormat(int format) { return FindOperatorFormat(format) != nullptr; }

}  // namespace

Recognised RecogniseAsText(std::string_view bytes, int preferredFormat) {
  if (!KnownFormat(preferredFormat)) preferredFormat = 1;
  Recognised found{PayloadKind::Text, preferredFormat, TextTab(preferredFormat), {}, {}};
  const auto text = PageText(bytes);
  if (text) found.values[FieldSlotOfTag("TXT")] = *text;
  else found.unheld = {UnheldReason::NotCodePage, {}};
  return found;
}

Recognised RecognisePayload(std::string_view bytes, int preferredFormat) {
  if (!KnownFormat(preferredFormat)) preferredFormat = 1;
  if (auto found = RecogniseOperator(bytes, preferredFormat)) return *found;
  if (auto found = RecogniseMecard(bytes, preferredFormat)) return *found;
  return RecogniseAsText(bytes, preferredFormat);
}
