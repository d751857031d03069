// Conversion between the user's Unicode text and code page 936 bytes.
// A character that code page 936 cannot represent is written as its
// GB18030 four-byte code instead of being dropped.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

// Why a text could not be converted, for front ends that word it.
enum class TextFailure {
  None,
  InvalidUtf8,      // the bytes at `offset` are no UTF-8 character
  InvalidCodePage,  // the bytes at `offset` are no code page 936 / GB18030 code
  NoCode,           // `character` has no GB18030 code
  NotInCodePage936, // `character` has only a four-byte GB18030 code (strict conversion)
};

struct TextProblem {
  TextFailure failure = TextFailure::None;
  size_t offset = 0;      // of the first byte at fault, in the text given
  std::string character;  // the bytes at `offset`: the character, or the first invalid byte
  explicit operator bool() const { return failure != TextFailure::None; }
};

// UTF-8 to code page 936 (GB18030 where 936 has no code). Invalid UTF-8
// gives nullopt and, when `problem` is given, where.
std::optional<std::string> Utf8ToCodePage(std::string_view utf8, TextProblem* problem = nullptr);
// As Utf8ToCodePage, but a character with only a four-byte GB18030 code is
// refused: for text promised to be code page 936 (GBK).
std::optional<std::string> Utf8ToCodePage936(std::string_view utf8, TextProblem* problem = nullptr);

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view text);

// Code page 936 / GB18030 bytes to UTF-8; invalid bytes give nullopt.
std::optional<std::string> CodePageToUtf8(std::string_view bytes, TextProblem* problem = nullptr);

}  // namespace quillet
