#include "content/Recognition.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "content/CodePage.h"
#include "content/GeneralRecognition.h"
#include "content/TextList.h"

namespace quillet {

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

// The operator formats in the order they are tried: the preferred one first.
std::vector<int> FormatOrder(int preferredFormat) {
  std::vector<int> order{preferredFormat};
  for (const OperatorFormatSpec& format : OperatorFormats())
    if (format.id != preferredFormat && !IsGeneralFormat(format.id)) order.push_back(format.id);
  return order;
}

// The operator formats' values are code page 936 in the symbol and UTF-8 in
// the fields; a value that is no code page 936 text is not held.
void ValuesToUtf8(Recognised& found) {
  for (std::string& value : found.values) {
    if (value.empty()) continue;
    std::optional<std::string> utf8 = CodePageToUtf8(value);
    if (!utf8 && found.Exact()) found.unheld = {UnheldReason::NotCodePage, {}};
    value = std::move(utf8).value_or(std::string());
  }
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
      Recognised found{PayloadKind::Operator, {format, static_cast<int>(tab)}, {}, {UnheldReason::Malformed, {}}};
      const PageSpec& page = *PageForTab(format, static_cast<int>(tab));
      if (pairs) found.unheld = FirstUnheld(*pairs, page);
      // Where the fields cannot hold it all, they still show what they can.
      for (const Pair& pair : pairs.value_or(std::vector<Pair>{})) {
        const int slot = FieldSlotOfTag(pair.tag);
        if (slot >= 0 && PageHolds(page, slot) && found.values[slot].empty()) found.values[slot] = pair.value;
      }
      ValuesToUtf8(found);
      if (found.Exact()) return found;
      if (!best) best = found;
    }
  }
  return best;
}

int TextTab(int format) {
  const auto tabs = FindOperatorFormat(format)->tabs;
  for (size_t tab = 0; tab < tabs.size(); ++tab)
    if (tabs[tab].typeTag == TextTypeTag) return static_cast<int>(tab);
  return 0;
}

bool KnownOperatorFormat(int format) { return FindOperatorFormat(format) != nullptr && !IsGeneralFormat(format); }

constexpr int GeneralTextTab = 8;

}  // namespace

Recognised RecogniseAsText(std::string_view bytes, int preferredFormat) {
  if (IsValidUtf8(bytes)) {
    Recognised found{PayloadKind::Text, {GeneralFormat, GeneralTextTab}, {}, {}};
    found.values[FieldSlotOfTag("TEXT")] = std::string(bytes);
    return found;
  }
  return RecogniseAsOperatorText(bytes, preferredFormat);
}

Recognised RecogniseAsOperatorText(std::string_view bytes, int preferredFormat) {
  if (!KnownOperatorFormat(preferredFormat)) preferredFormat = 1;
  Recognised found{PayloadKind::Text, {preferredFormat, TextTab(preferredFormat)}, {}, {}};
  // UTF-8 that code page 936 can carry, or code page 936 bytes.
  std::optional<std::string> text;
  if (IsValidUtf8(bytes) && Utf8ToCodePage936(bytes)) text = std::string(bytes);
  else text = CodePageToUtf8(bytes);
  if (text) found.values[FieldSlotOfTag("TXT")] = std::move(*text);
  else found.unheld = {UnheldReason::NotCodePage, {}};
  return found;
}

Recognised RecognisePayload(std::string_view bytes, int preferredFormat) {
  const int operatorFormat = KnownOperatorFormat(preferredFormat) ? preferredFormat : 1;
  if (auto found = RecogniseOperator(bytes, operatorFormat)) return *found;
  if (auto found = RecogniseGeneral(bytes)) return *found;
  return RecogniseAsText(bytes, operatorFormat);
}

}  // namespace quillet
