// Why an image could not be read: a kind with its subject, which each front
// end words in its own language.
#pragma once

#include <cstdint>
#include <string>

namespace quillet {

// A photo of 100 megapixels is larger than any camera's; a header claiming
// more is a decompression bomb (a 1 KB PNG can claim 100,000 x 100,000).
constexpr int64_t MaxImagePixels = 100'000'000;

enum class ImageReadFailure {
  None,
  CannotOpen,   // the file cannot be opened or read; error: errno
  NotAnImage,   // no PNG, JPEG, GIF or BMP signature
  Unsupported,  // a variant the readers do not decode; detail: which
  TooLarge,     // more pixels than the budget, or more bytes than any image; subject: "W x H" or empty
  Truncated,    // the file ends before its pixels do
  Damaged,      // detail: what the readers found, or the library's own message
  NoDecoders,   // the decoders' module cannot be loaded; subject: why
};

// What the readers can say of an image beyond its failure, for the front
// ends to word. A library's own message is no word of ours: the command line
// quotes it, the window, which speaks Chinese, leaves it out.
enum class ImageReadDetail {
  None,
  LibraryMessage,  // subject: the library's message
  GifError,        // giflib's error number `number`, for which it has no message
  NoGifImage,      // a GIF that ends before its first image
  JpegScans,       // a JPEG of more than `number` scans
  OldBmpHeader,    // a BMP with the header of OS/2 and Windows 2
  CompressedBmp,
  BmpBits,         // a BMP of `number` bits per pixel
  BmpPaletteIndex, // a BMP pixel that names no colour of its palette
  SvgUnreadable,   // an SVG that librsvg cannot parse, with no message of its own
  SvgNotDrawn,     // an SVG that librsvg cannot draw, with no message of its own
};

struct ImageReadProblem {
  ImageReadFailure failure = ImageReadFailure::None;
  std::string subject;
  int error = 0;
  ImageReadDetail detail = ImageReadDetail::None;
  int number = 0;  // as the detail says
};

}  // namespace quillet
