// Why an image could not be read: a kind with its subject, which each front
// end words in its own language.
#pragma once

#include <cstdint>
#include <string>

// A photo of 100 megapixels is larger than any camera's; a header claiming
// more is a decompression bomb (a 1 KB PNG can claim 100,000 x 100,000).
constexpr int64_t MaxImagePixels = 100'000'000;

enum class ImageReadFailure {
  None,
  CannotOpen,   // the file cannot be opened or read; error: errno
  NotAnImage,   // no PNG, JPEG, GIF or BMP signature
  Unsupported,  // a variant the readers do not decode; subject: which ("16-bit BMP")
  TooLarge,     // more pixels than the budget, or more bytes than any image; subject: "W x H" or empty
  Truncated,    // the file ends before its pixels do
  Damaged,      // subject: the library's own message
  NoDecoders,   // the decoders' module cannot be loaded; subject: why
};

struct ImageReadProblem {
  ImageReadFailure failure = ImageReadFailure::None;
  std::string subject;
  int error = 0;
};
