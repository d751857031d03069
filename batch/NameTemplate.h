// File names of a batch: "{row}" and "{COLUMN}" in a template, filled in per
// row with values made safe, so that no value can place a file outside the
// output folder or hide it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Why a template does not parse, for each front end to word.
enum class TemplateFault {
  None,
  UnclosedBrace,     // a "{" without "}"
  EmptyBraces,       // "{}"
  UnsafeCharacter,   // a file name's path separator or control character outside the braces
  ControlCharacter,  // a caption's control character outside the braces
};

class NameTemplate {
 public:
  static constexpr std::string_view Default = "{row}.png";
  static constexpr std::string_view RowPlaceholder = "row";

  // Nullopt and the fault for a "{" without "}", an empty "{}", a "/" or a
  // control character outside the braces.
  static std::optional<NameTemplate> Parse(std::string_view text, TemplateFault* fault);
  // The same placeholders for text shown under a label: only control
  // characters are refused outside the braces.
  static std::optional<NameTemplate> ParseCaption(std::string_view text, TemplateFault* fault);

  // The column names between braces, other than "row", in order of appearance.
  const std::vector<std::string>& Columns() const { return columns_; }
  bool UsesRow() const { return usesRow_; }
  const std::string& Text() const { return text_; }

  // `row` zero-padded to `rowWidth` digits; value i is column Columns()[i].
  std::string Expand(long row, int rowWidth, const std::vector<std::string>& values) const;
  // As Expand, but values are kept as they are, control characters (a line
  // break in a cell) shown as spaces: a caption, not a file name.
  std::string ExpandCaption(long row, int rowWidth, const std::vector<std::string>& values) const;

 private:
  struct Piece {
    std::string literal;  // used when column < 0 and not the row
    int column = -1;
    bool row = false;
  };
  static std::optional<NameTemplate> ParseWith(std::string_view text, bool (*refused)(char), TemplateFault* fault);

  std::string text_;
  std::vector<Piece> pieces_;
  std::vector<std::string> columns_;
  bool usesRow_ = false;
};

// Path separators and control characters become "_", and so do the dots at
// the start: the result names a plain file inside the folder ("" stays "").
std::string SafeFileNamePart(std::string_view value);

// The number of decimal digits of `n` (1 for 0).
int DecimalWidth(long n);

}  // namespace quillet
