// Small text rules that messages and name look-ups in every layer share:
// a list as a sentence says it, names that ignore ASCII case, and a value
// or a header without the blanks around it.
#pragma once

#include <iterator>
#include <string>
#include <string_view>

namespace quillet {

// "a, b or c"; other separators give "a|b|c".
template <typename Names>
std::string JoinNames(const Names& names, std::string_view separator = ", ", std::string_view last = " or ") {
  std::string text;
  const size_t count = std::size(names);
  size_t i = 0;
  for (const auto& name : names) {
    if (i > 0) text += i + 1 == count ? last : separator;
    text += name;
    ++i;
  }
  return text;
}

constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Equal but for the case of ASCII letters ("png" and "PNG"); other bytes,
// Chinese included, must match exactly.
constexpr bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

// `text` without the spaces and tabs at either end.
constexpr std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace quillet
