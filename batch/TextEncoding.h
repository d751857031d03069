// The text encodings a spreadsheet arrives in, and the conversions of its
// cells: to UTF-8 for headers and file names, to code page 936 for payloads.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "content/CodePage.h"

namespace quillet {

enum class TextEncoding { Utf8, Gb18030 };

// "utf-8" or "gb18030" (any case, "utf8" too); nullopt otherwise.
std::optional<TextEncoding> ParseTextEncoding(std::string_view name);
std::string_view TextEncodingName(TextEncoding encoding);

// Decides the encoding one cell at a time: UTF-8 until a cell is not valid
// UTF-8, then GB18030 for good, which is what spreadsheets export on Chinese
// systems. Cells can be judged alone because no multi-byte code of either
// encoding contains a delimiter, a quote or a line break.
class EncodingDetector {
 public:
  void See(std::string_view cell);
  TextEncoding Result() const { return utf8_ ? TextEncoding::Utf8 : TextEncoding::Gb18030; }

 private:
  bool utf8_ = true;
};

// The cell as UTF-8; nullopt and where when its bytes are invalid.
std::optional<std::string> CellToUtf8(std::string_view cell, TextEncoding encoding, TextProblem* problem);

// The cell as the code page 936 bytes the pages would store for the same text.
std::optional<std::string> CellToCodePage(std::string_view cell, TextEncoding encoding, TextProblem* problem);

}  // namespace quillet
