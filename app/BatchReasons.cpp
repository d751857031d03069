#include "app/BatchReasons.h"

#include <regex>
#include <string_view>

#include "content/pages/TextBytes.h"
#include "res/BatchStrings.h"

namespace {

struct Reason {
  std::regex pattern;     // the engine's words; groups are the parts it names
  std::string_view text;  // %1, %2: the groups
  bool nested = false;    // the last group is a reason of its own
};

const std::vector<Reason>& Reasons() {
  static const std::vector<Reason> reasons = {
      {std::regex("column '(.*)': (.*)"), UiText::BatchReasonColumn, true},
      {std::regex("column ([0-9]+): (.*)"), UiText::BatchReasonColumnNumber, true},
      {std::regex("every field is empty.*"), UiText::BatchReasonNoFields},
      {std::regex("the text is empty.*"), UiText::BatchReasonNoText},
      {std::regex("the data \\(([0-9]+) bytes\\) fits no QR Code version at level (.)"), UiText::BatchReasonQrTooLong},
      {std::regex("the text \\(([0-9]+) bytes\\) cannot be encoded.*"), UiText::BatchReasonDmTooLong},
      {std::regex("the row has ([0-9]+) cells, the header ([0-9]+)"), UiText::BatchReasonCells},
      {std::regex("the row is longer than ([0-9]+) bytes or ([0-9]+) cells"), UiText::BatchReasonTooLong},
      {std::regex("a quoted cell is not closed.*"), UiText::BatchReasonUnclosedQuote},
      {std::regex("the file name is empty"), UiText::BatchReasonEmptyName},
      {std::regex("the file name '(.*)' is already that of row ([0-9]+)"), UiText::BatchReasonSameName},
      {std::regex("a column without a name holds a value"), UiText::BatchReasonUnnamedValue},
      {std::regex("invalid UTF-8 at byte ([0-9]+) \\(0x(..)\\)"), UiText::BatchReasonBadUtf8},
      {std::regex("invalid code page 936 sequence at byte ([0-9]+) \\(0x(..)\\)"), UiText::BatchReasonBadGb18030},
      {std::regex("character without a GB18030 code at byte ([0-9]+) \\(0x(..)\\)"), UiText::BatchReasonNoCode},
      {std::regex("((?:cannot create a file in|writing|cannot replace) .*)"), UiText::BatchReasonCannotWrite},
  };
  return reasons;
}

}  // namespace

QString BatchReasonText(const std::string& reason) {
  std::smatch parts;
  for (const Reason& known : Reasons()) {
    if (!std::regex_match(reason, parts, known.pattern)) continue;
    QStringList values;
    for (size_t group = 1; group < parts.size(); ++group) {
      const bool last = group + 1 == parts.size();
      values << (known.nested && last ? BatchReasonText(parts[group].str()) : FromUtf8(parts[group].str()));
    }
    // One pass, so that a value holding "%2" stays as it is.
    const QString text = FromUtf8(known.text);
    return values.size() == 1 ? text.arg(values[0]) : values.size() == 2 ? text.arg(values[0], values[1]) : text;
  }
  return FromUtf8(reason);
}
