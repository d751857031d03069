#include "batch/NameTemplate.h"

#include <algorithm>

namespace quillet {

namespace {

bool IsControlByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

bool IsUnsafeByte(char c) { return c == '/' || c == '\\' || IsControlByte(c); }

std::string PaddedRow(long row, int rowWidth) {
  const std::string digits = std::to_string(row);
  return std::string(static_cast<size_t>(std::max(0, rowWidth - static_cast<int>(digits.size()))), '0') + digits;
}

}  // namespace

std::optional<NameTemplate> NameTemplate::Parse(std::string_view text, TemplateFault* fault) {
  return ParseWith(text, IsUnsafeByte, fault);
}

std::optional<NameTemplate> NameTemplate::ParseCaption(std::string_view text, TemplateFault* fault) {
  return ParseWith(text, IsControlByte, fault);
}

std::optional<NameTemplate> NameTemplate::ParseWith(std::string_view text, bool (*refused)(char), TemplateFault* fault) {
  const auto fail = [&](TemplateFault why) -> std::optional<NameTemplate> {
    if (fault) *fault = why;
    return std::nullopt;
  };
  NameTemplate parsed;
  parsed.text_ = std::string(text);
  for (size_t pos = 0; pos < text.size();) {
    if (text[pos] != '{') {
      const size_t end = std::min(text.find('{', pos), text.size());
      const std::string_view literal = text.substr(pos, end - pos);
      if (std::any_of(literal.begin(), literal.end(), refused))
        return fail(refused == IsUnsafeByte ? TemplateFault::UnsafeCharacter : TemplateFault::ControlCharacter);
      parsed.pieces_.push_back({std::string(literal)});
      pos = end;
      continue;
    }
    const size_t close = text.find('}', pos);
    if (close == std::string_view::npos) return fail(TemplateFault::UnclosedBrace);
    const std::string column(text.substr(pos + 1, close - pos - 1));
    if (column.empty()) return fail(TemplateFault::EmptyBraces);
    if (column == RowPlaceholder) {
      parsed.usesRow_ = true;
      parsed.pieces_.push_back({{}, -1, true});
    } else {
      auto known = std::find(parsed.columns_.begin(), parsed.columns_.end(), column);
      if (known == parsed.columns_.end()) known = parsed.columns_.insert(known, column);
      parsed.pieces_.push_back({{}, static_cast<int>(known - parsed.columns_.begin())});
    }
    pos = close + 1;
  }
  return parsed;
}

std::string NameTemplate::ExpandCaption(long row, int rowWidth, const std::vector<std::string>& values) const {
  std::vector<std::string> shown = values;
  for (std::string& value : shown) std::replace_if(value.begin(), value.end(), IsControlByte, ' ');
  std::string caption;
  for (const Piece& piece : pieces_) {
    if (piece.row) caption += PaddedRow(row, rowWidth);
    else if (piece.column >= 0) caption += shown[static_cast<size_t>(piece.column)];
    else caption += piece.literal;
  }
  return caption;
}

std::string NameTemplate::Expand(long row, int rowWidth, const std::vector<std::string>& values) const {
  std::string name;
  for (const Piece& piece : pieces_) {
    if (piece.row) {
      name += PaddedRow(row, rowWidth);
    } else if (piece.column >= 0) {
      name += SafeFileNamePart(values[static_cast<size_t>(piece.column)]);
    } else {
      name += piece.literal;
    }
  }
  // The whole name may still begin with a dot, from the template or from an
  // empty value before a literal ".png".
  return SafeFileNamePart(name);
}

std::string SafeFileNamePart(std::string_view value) {
  std::string safe(value);
  bool leading = true;
  for (char& c : safe) {
    leading = leading && c == '.';
    if (leading || IsUnsafeByte(c)) c = '_';
  }
  return safe;
}

int DecimalWidth(long n) {
  int width = 1;
  for (; n >= 10; n /= 10) ++width;
  return width;
}

}  // namespace quillet
