#include <png.h>

#include <zlib.h>

#include <csetjmp>
#include <iterator>

#include "image/PixelRows.h"
#include "image/StyledImage.h"
#include "image/Writers.h"

namespace quillet {

namespace {

struct PngTarget {
  std::string* out;
  std::string error;
};

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  static_cast<PngTarget*>(png_get_io_ptr(png))->out->append(reinterpret_cast<const char*>(data), length);
}

void NoFlush(png_structp) {}

void RaiseError(png_structp png, png_const_charp message) {
  static_cast<PngTarget*>(png_get_error_ptr(png))->error = message ? message : "unknown error";
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// How rows are filtered and deflated, by scale, chosen by measuring the
// bytes of our symbols at every version against the time they cost. A
// repeated pixel row costs least as an Up-filtered row of zeros while module
// rows are two or three pixels high; taller ones pack better as deflate
// matches of whole unfiltered rows. At 4 and around 8 pixels a module (the
// usual sizes, and those of batches) a cheap level with small blocks packs
// as well as the highest level at a third of the time; the smaller memory
// level also clears less per image; large images pack better in the larger
// blocks of a larger memory level.
struct DeflateChoice {
  int maxScale;
  bool upForRepeats;
  int level;
  int strategy;
  int memLevel;
  int memLevelOfLargeImages;
};

// Filtered rows beyond this many bytes make a large image.
constexpr size_t LargeImageBytes = 32 * 1024;

constexpr DeflateChoice DeflateChoices[] = {
    {1, false, 5, Z_DEFAULT_STRATEGY, 8, 8},
    {3, true, Z_BEST_COMPRESSION, Z_FILTERED, 8, 8},
    {5, false, 4, Z_FILTERED, 5, 9},
    {6, false, Z_BEST_COMPRESSION, Z_FILTERED, 8, 8},
    {10, false, 5, Z_FILTERED, 8, 8},
    {MaxScale, false, Z_DEFAULT_COMPRESSION, Z_FILTERED, 8, 8},
};

const DeflateChoice& DeflateChoiceFor(int scale) {
  for (const DeflateChoice& choice : DeflateChoices)
    if (scale <= choice.maxScale) return choice;
  return DeflateChoices[std::size(DeflateChoices) - 1];
}

// The bytes deflate receives: each packed row behind its filter byte.
size_t FilteredBytes(const PixelRows& rows) {
  return (static_cast<size_t>(rows.Width() + 7) / 8 + 1) * static_cast<size_t>(rows.Height());
}

// Room for the whole compressed image, so that it goes out as one IDAT
// chunk (each further chunk costs 12 bytes): deflate never grows data by
// more than a few bytes per 16 KB block.
size_t DeflateBufferBytes(const PixelRows& rows) { return FilteredBytes(rows) + FilteredBytes(rows) / 1000 + 64; }

// A window no larger than the image: a small symbol then costs no clearing
// and touching of deflate's full-size window.
int WindowBits(const PixelRows& rows) {
  int bits = 9;
  while (bits < 15 && (size_t{1} << bits) < FilteredBytes(rows)) ++bits;
  return bits;
}

// Between setjmp and the end only plain data lives here, so the long jump
// of an error skips no destructor.
bool WriteRows(png_structp png, png_infop info, PixelRows& rows, const ImageOptions& options) {
  if (setjmp(png_jmpbuf(png))) return false;
  const bool coloured = options.style.HasColours();
  png_set_IHDR(png, info, static_cast<png_uint_32>(rows.Width()), static_cast<png_uint_32>(rows.Height()), 1,
               coloured ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // Index 0 the dark modules, 1 the light ones, as the packed rows have them.
  const png_color palette[2] = {{options.style.foreground.red, options.style.foreground.green,
                                 options.style.foreground.blue},
                                {options.style.background.red, options.style.background.green,
                                 options.style.background.blue}};
  const png_byte alpha[2] = {255, 0};
  if (coloured) png_set_PLTE(png, info, palette, 2);
  if (coloured && options.style.transparentBackground) png_set_tRNS(png, info, alpha, 2, nullptr);
  png_set_pHYs(png, info, PixelsPerMetre(options.dpi), PixelsPerMetre(options.dpi), PNG_RESOLUTION_METER);
  const DeflateChoice& choice = DeflateChoiceFor(options.scale);
  const bool upForRepeats = choice.upForRepeats && options.scale > 1;
  png_set_filter(png, PNG_FILTER_TYPE_BASE, upForRepeats ? PNG_FILTER_NONE | PNG_FILTER_UP : PNG_FILTER_NONE);
  png_set_compression_level(png, choice.level);
  png_set_compression_mem_level(png, FilteredBytes(rows) > LargeImageBytes ? choice.memLevelOfLargeImages
                                                                             : choice.memLevel);
  png_set_compression_buffer_size(png, DeflateBufferBytes(rows));
  png_set_compression_window_bits(png, WindowBits(rows));
  png_set_compression_strategy(png, choice.strategy);
  png_write_info(png, info);
  for (int y = 0; y < rows.Height(); ++y) {
    // Row 0 starts the writing with both filters allowed, so that libpng
    // keeps the previous row the Up filter needs.
    if (upForRepeats && y > 0) {
      const bool repeated = y % options.scale != 0;
      png_set_filter(png, PNG_FILTER_TYPE_BASE, repeated ? PNG_FILTER_UP : PNG_FILTER_NONE);
    }
    png_write_row(png, const_cast<png_bytep>(rows.PackedRow(y)));
  }
  png_write_end(png, info);
  return true;
}

// The whole picture, 8 bits a channel: RGBA where anything is transparent,
// else RGB. Rows of a styled symbol with a logo do not repeat by module.
bool WritePixels(png_structp png, png_infop info, const RgbaImage& image, bool alpha, int dpi) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
               alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_pHYs(png, info, PixelsPerMetre(dpi), PixelsPerMetre(dpi), PNG_RESOLUTION_METER);
  // Rows repeat by module and the logo is smooth: Up and Sub serve both,
  // and trying all five filters on every row costs more than it packs.
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP | PNG_FILTER_SUB);
  png_set_compression_level(png, 5);
  png_write_info(png, info);
  if (!alpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
  for (int y = 0; y < image.height; ++y)
    png_write_row(png, const_cast<png_bytep>(&image.pixels[static_cast<size_t>(y) * image.width * 4]));
  png_write_end(png, info);
  return true;
}

template <typename Write>
ImageResult WriteWithLibpng(std::string& out, Write write) {
  PngTarget target{&out, {}};
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &target, RaiseError, IgnoreWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return {ImageFailure::OutOfMemory, {}, 0};
  }
  png_set_write_fn(png, &target, AppendBytes, NoFlush);
  const bool written = write(png, info);
  png_destroy_write_struct(&png, &info);
  if (!written) return EncoderFailed("PNG: " + target.error);
  return {};
}

}  // namespace

ImageResult WriteRgbaPng(const RgbaImage& image, int dpi, std::string& out) {
  return WriteWithLibpng(out, [&](png_structp png, png_infop info) { return WritePixels(png, info, image, true, dpi); });
}

// Plain and coloured symbols as one bit a pixel (grey, or a palette of the
// two colours with the light one clear where the background is); a logo
// needs the whole picture.
ImageResult WritePng(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  if (options.NeedsPicture()) {
    const RgbaImage image = RenderStyledSymbol(matrix, options);
    const bool alpha = options.style.transparentBackground;
    return WriteWithLibpng(
        out, [&](png_structp png, png_infop info) { return WritePixels(png, info, image, alpha, options.dpi); });
  }
  PixelRows rows(matrix, options);
  return WriteWithLibpng(out, [&](png_structp png, png_infop info) { return WriteRows(png, info, rows, options); });
}

}  // namespace quillet
