// Conversion between the user's Unicode text and code page 936 bytes.
// A character that code page 936 cannot represent is written as its
// GB18030 four-byte code instead of being dropped.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// UTF-8 to code page 936 (GB18030 where 936 has no code). Invalid UTF-8
// gives nullopt and, when `error` is given, a message saying where.
std::optional<std::string> Utf8ToCodePage(std::string_view utf8, std::string* error = nullptr);

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view text);

// Code page 936 / GB18030 bytes to UTF-8; invalid bytes give nullopt.
std::optional<std::string> CodePageToUtf8(std::string_view bytes, std::string* error = nullptr);
