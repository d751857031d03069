// Image files back to 8-bit grey pixels, through the same libraries a viewer
// uses (libpng, libjpeg, giflib) and our own reading of BMP. Files may come
// from anywhere: a header is checked against a pixel budget before anything
// is allocated, and a damaged file is a failure with its kind, never a crash.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct GreyPixels {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // row after row, 0 black, 255 white
};

// What the file's first bytes say it is.
enum class FileKind { Png, Jpeg, Gif, Bmp, Pdf, Eps, Svg, Unknown };
FileKind SniffFileKind(std::string_view bytes);

// A photo of 100 megapixels is larger than any camera's; a header claiming
// more is a decompression bomb (a 1 KB PNG can claim 100,000 x 100,000).
constexpr int64_t MaxImagePixels = 100'000'000;

// Why an image could not be read; each front end words it.
enum class ImageReadFailure {
  None,
  NotAnImage,   // no PNG, JPEG, GIF or BMP signature
  Unsupported,  // a variant the readers do not decode; subject: which ("16-bit BMP")
  TooLarge,     // the header claims more than MaxImagePixels; subject: "W x H"
  Truncated,    // the file ends before its pixels do
  Damaged,      // subject: the library's own message
};

struct ImageReadProblem {
  ImageReadFailure failure = ImageReadFailure::None;
  std::string subject;
};

// Decoded pixels of a raster file; on failure empty, with the reason.
std::optional<GreyPixels> ReadRasterImage(FileKind kind, std::string_view bytes, std::string* error);

// The same with the failure's kind. `reduce` (1, 2, 4 or 8) lets a reader
// that can decode at a fraction of the size do so (JPEG does, cheaply);
// the others ignore it.
std::optional<GreyPixels> ReadRasterImage(FileKind kind, std::string_view bytes, ImageReadProblem* problem,
                                          int reduce = 1);
