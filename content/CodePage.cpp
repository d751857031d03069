#include "content/CodePage.h"

#include <iconv.h>

namespace quillet {

namespace {

// One iconv descriptor per direction and thread; descriptors are not
// thread-safe, and opening one per call is far slower than a character.
// Opened at the first character that needs it: opening loads the code page
// module, most of the time of a short run of the command line, and ASCII
// text needs none.
class Converter {
 public:
  Converter(const char* to, const char* from) : to_(to), from_(from) {}
  ~Converter() {
    if (opened_ && Valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts exactly one character; nullopt when the target has no code for it.
  std::optional<std::string> One(std::string_view character) {
    if (!opened_) {
      cd_ = iconv_open(to_, from_);
      opened_ = true;
    }
    if (!Valid()) return std::nullopt;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char out[16];
    char* in = const_cast<char*>(character.data());
    size_t inLeft = character.size();
    char* outPtr = out;
    size_t outLeft = sizeof out;
    if (iconv(cd_, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
    // glibc's CP936 silently swallows the Unicode tag characters: no output is no code.
    if (outPtr == out) return std::nullopt;
    return std::string(out, outPtr);
  }

 private:
  bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  const char* to_;
  const char* from_;
  bool opened_ = false;
  iconv_t cd_ = reinterpret_cast<iconv_t>(-1);
};

// Length of the well-formed UTF-8 sequence at the start of `s`, 0 when it is
// not one (overlong forms, surrogates and code points above U+10FFFF included).
size_t Utf8SequenceLength(std::string_view s) {
  const auto byte = [&](size_t i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0u; };
  const auto continuation = [&](size_t i) { return (byte(i) & 0xC0) == 0x80; };
  const unsigned lead = byte(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return continuation(1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    const unsigned low = lead == 0xE0 ? 0xA0 : 0x80;
    const unsigned high = lead == 0xED ? 0x9F : 0xBF;
    return byte(1) >= low && byte(1) <= high && continuation(2) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    const unsigned low = lead == 0xF0 ? 0x90 : 0x80;
    const unsigned high = lead == 0xF4 ? 0x8F : 0xBF;
    return byte(1) >= low && byte(1) <= high && continuation(2) && continuation(3) ? 4 : 0;
  }
  return 0;
}

// Length of the code page 936 / GB18030 character starting at `s`: one byte
// below 0x80 (and the euro sign 0x80), four when the second byte is a digit,
// otherwise two. Whether the bytes form a valid code is iconv's to say.
size_t Gb18030SequenceLength(std::string_view s) {
  const unsigned lead = static_cast<unsigned char>(s[0]);
  if (lead <= 0x80 || lead == 0xFF || s.size() < 2) return 1;
  const unsigned second = static_cast<unsigned char>(s[1]);
  return second >= 0x30 && second <= 0x39 ? 4 : 2;
}

std::optional<std::string> Fail(TextProblem* problem, TextFailure failure, size_t offset, std::string_view bytes) {
  if (problem != nullptr) *problem = {failure, offset, std::string(bytes)};
  return std::nullopt;
}

// How a conversion reads its input and what it refuses.
struct Direction {
  size_t (*sequenceLength)(std::string_view);
  TextFailure malformed;
  TextFailure noCode;
  bool fourByteRefused = false;  // the strict conversion to code page 936
};

// Converts character by character: ASCII as it is, everything else through
// `primary`, or `fallback` where `primary` has no code for it.
std::optional<std::string> ConvertEach(std::string_view text, const Direction& direction, Converter& primary,
                                       Converter& fallback, TextProblem* problem) {
  std::string out;
  out.reserve(text.size() * 3 / 2);
  for (size_t pos = 0; pos < text.size();) {
    const size_t length = direction.sequenceLength(text.substr(pos));
    if (length == 0) return Fail(problem, direction.malformed, pos, text.substr(pos, 1));
    const std::string_view character = text.substr(pos, length);
    if (static_cast<unsigned char>(character[0]) < 0x80) {
      out += character[0];
    } else if (auto bytes = primary.One(character)) {
      out += *bytes;
    } else if (auto fallbackBytes = fallback.One(character)) {
      if (direction.fourByteRefused && fallbackBytes->size() == 4)
        return Fail(problem, TextFailure::NotInCodePage936, pos, character);
      out += *fallbackBytes;
    } else {
      return Fail(problem, direction.noCode, pos, direction.noCode == direction.malformed ? text.substr(pos, 1) : character);
    }
    pos += length;
  }
  return out;
}

std::optional<std::string> FromUtf8(std::string_view utf8, bool fourByteRefused, TextProblem* problem) {
  thread_local Converter toCp936("CP936", "UTF-8");
  thread_local Converter toGb18030("GB18030", "UTF-8");
  const Direction direction{Utf8SequenceLength, TextFailure::InvalidUtf8, TextFailure::NoCode, fourByteRefused};
  return ConvertEach(utf8, direction, toCp936, toGb18030, problem);
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    const size_t length = Utf8SequenceLength(text.substr(pos));
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

std::optional<std::string> Utf8ToCodePage(std::string_view utf8, TextProblem* problem) {
  return FromUtf8(utf8, false, problem);
}

std::optional<std::string> Utf8ToCodePage936(std::string_view utf8, TextProblem* problem) {
  return FromUtf8(utf8, true, problem);
}

std::optional<std::string> CodePageToUtf8(std::string_view bytes, TextProblem* problem) {
  thread_local Converter fromCp936("UTF-8", "CP936");
  thread_local Converter fromGb18030("UTF-8", "GB18030");
  const Direction direction{Gb18030SequenceLength, TextFailure::InvalidCodePage, TextFailure::InvalidCodePage};
  return ConvertEach(bytes, direction, fromCp936, fromGb18030, problem);
}

}  // namespace quillet
