#include "batch/TextEncoding.h"

#include "content/CodePage.h"
#include "content/TextList.h"

namespace quillet {

std::optional<TextEncoding> ParseTextEncoding(std::string_view name) {
  if (SameIgnoringCase(name, "utf-8") || SameIgnoringCase(name, "utf8")) return TextEncoding::Utf8;
  if (SameIgnoringCase(name, "gb18030")) return TextEncoding::Gb18030;
  return std::nullopt;
}

std::string_view TextEncodingName(TextEncoding encoding) {
  return encoding == TextEncoding::Utf8 ? "UTF-8" : "GB18030";
}

void EncodingDetector::See(std::string_view cell) {
  if (utf8_) utf8_ = IsValidUtf8(cell);
}

std::optional<std::string> CellToUtf8(std::string_view cell, TextEncoding encoding, TextProblem* problem) {
  if (encoding == TextEncoding::Gb18030) return CodePageToUtf8(cell, problem);
  if (IsValidUtf8(cell)) return std::string(cell);
  // The conversion finds the offending byte.
  Utf8ToCodePage(cell, problem);
  return std::nullopt;
}

std::optional<std::string> CellToCodePage(std::string_view cell, TextEncoding encoding, TextProblem* problem) {
  if (encoding == TextEncoding::Utf8) return Utf8ToCodePage(cell, problem);
  // Through Unicode, so that a character has the bytes the pages give it.
  const std::optional<std::string> utf8 = CodePageToUtf8(cell, problem);
  return utf8 ? Utf8ToCodePage(*utf8, problem) : std::nullopt;
}

}  // namespace quillet
