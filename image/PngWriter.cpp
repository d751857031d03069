#include <png.h>

#include <zlib.h>

#include <csetjmp>

#include "image/PixelRows.h"
#include "image/Writers.h"

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

// How each row is filtered and packed, by scale, from measuring our
// symbols: a repeated pixel row costs least as an Up-filtered row of zeros
// while module rows are a few pixels high; taller ones pack better as
// deflate matches of whole unfiltered rows.
constexpr int MaxScaleForUpFilter = 4;

int ZlibStrategy(int scale) { return scale == 1 ? Z_DEFAULT_STRATEGY : Z_FILTERED; }
// Very tall module rows are long exact repeats, which deflate's lazy
// matching at the highest level splits worse than the default level does.
int ZlibLevel(int scale) { return scale >= 12 ? Z_DEFAULT_COMPRESSION : Z_BEST_COMPRESSION; }
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
  png_set_IHDR(png, info, static_cast<png_uint_32>(rows.Width()), static_cast<png_uint_32>(rows.Height()), 1,
               PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_pHYs(png, info, PixelsPerMetre(options.dpi), PixelsPerMetre(options.dpi), PNG_RESOLUTION_METER);
  const bool upForRepeats = options.scale > 1 && options.scale <= MaxScaleForUpFilter;
  png_set_filter(png, PNG_FILTER_TYPE_BASE, upForRepeats ? PNG_FILTER_NONE | PNG_FILTER_UP : PNG_FILTER_NONE);
  png_set_compression_level(png, ZlibLevel(options.scale));
  png_set_compression_buffer_size(png, DeflateBufferBytes(rows));
  png_set_compression_window_bits(png, WindowBits(rows));
  png_set_compression_strategy(png, ZlibStrategy(options.scale));
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

}  // namespace

ImageResult WritePng(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  PixelRows rows(matrix, options);
  PngTarget target{&out, {}};
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &target, RaiseError, IgnoreWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return {ImageFailure::OutOfMemory, {}, 0};
  }
  png_set_write_fn(png, &target, AppendBytes, NoFlush);
  const bool written = WriteRows(png, info, rows, options);
  png_destroy_write_struct(&png, &info);
  if (!written) return EncoderFailed("PNG: " + target.error);
  return {};
}
