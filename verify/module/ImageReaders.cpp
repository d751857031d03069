#include "verify/module/ImageReaders.h"

#include <gif_lib.h>
#include <jpeglib.h>
#include <jerror.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <string>

namespace quillet {

namespace {

// A progressive JPEG of thousands of tiny scans takes minutes to decode;
// a camera writes about ten.
constexpr int MaxJpegScans = 1000;

bool StartsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }
bool EndsWith(std::string_view bytes, std::string_view suffix) {
  return bytes.size() >= suffix.size() && bytes.substr(bytes.size() - suffix.size()) == suffix;
}

std::optional<GreyPixels> Fail(ImageReadProblem* problem, ImageReadFailure failure,
                               ImageReadDetail detail = ImageReadDetail::None, int number = 0) {
  *problem = {failure, {}, 0, detail, number};
  return std::nullopt;
}

// A library's own message, for the front ends that quote it.
ImageReadProblem LibrarySays(ImageReadFailure failure, std::string message) {
  return {failure, std::move(message), 0, ImageReadDetail::LibraryMessage};
}

std::optional<GreyPixels> Damaged(ImageReadProblem* problem, std::string message) {
  *problem = LibrarySays(ImageReadFailure::Damaged, std::move(message));
  return std::nullopt;
}

bool WithinBudget(int64_t width, int64_t height) {
  return width >= 1 && height >= 1 && width <= MaxImagePixels && height <= MaxImagePixels &&
         width * height <= MaxImagePixels;
}

std::optional<GreyPixels> TooLarge(int64_t width, int64_t height, ImageReadProblem* problem) {
  *problem = {ImageReadFailure::TooLarge, std::to_string(width) + " x " + std::to_string(height)};
  return std::nullopt;
}

std::optional<GreyPixels> Blank(int64_t width, int64_t height, ImageReadProblem* problem) {
  if (!WithinBudget(width, height)) return TooLarge(width, height, problem);
  return GreyPixels{static_cast<int>(width), static_cast<int>(height),
                    std::vector<uint8_t>(static_cast<size_t>(width * height), 255)};
}

uint8_t Luma(int red, int green, int blue) { return static_cast<uint8_t>((299 * red + 587 * green + 114 * blue) / 1000); }

std::optional<GreyPixels> ReadPng(std::string_view bytes, ImageReadProblem* problem) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    return Damaged(problem, image.message);
  image.format = PNG_FORMAT_GRAY;
  auto grey = Blank(image.width, image.height, problem);
  if (!grey) {
    png_image_free(&image);
    return grey;
  }
  if (png_image_finish_read(&image, nullptr, grey->pixels.data(), 0, nullptr)) return grey;
  // libpng's message does not tell a cut file from a damaged one; its last chunk does.
  if (!EndsWith(bytes, std::string_view("IEND\xae\x42\x60\x82", 8))) return Fail(problem, ImageReadFailure::Truncated);
  return Damaged(problem, image.message);
}

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf escape;
  ImageReadProblem problem;
  bool endedEarly = false;
};

// libjpeg's default ends the process on an error.
void EscapeJpegError(j_common_ptr info) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  if (errors->problem.failure == ImageReadFailure::None) {
    char message[JMSG_LENGTH_MAX];
    errors->manager.format_message(info, message);
    errors->problem = LibrarySays(ImageReadFailure::Damaged, message);
  }
  std::longjmp(errors->escape, 1);
}

// Warnings stay quiet (the failure is reported, not printed), but the one
// that says the data ended early makes the file truncated.
void NoteJpegWarning(j_common_ptr info, int level) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  if (level < 0 && errors->manager.msg_code == JWRN_JPEG_EOF) errors->endedEarly = true;
}

void LimitJpegScans(j_common_ptr info) {
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= MaxJpegScans) return;
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  errors->problem = {ImageReadFailure::Unsupported, {}, 0, ImageReadDetail::JpegScans, MaxJpegScans};
  std::longjmp(errors->escape, 1);
}

// libjpeg's DCT scaling: the largest of 8, 4 and 2 that keeps the longer side at `fitSide`.
unsigned JpegReduction(unsigned width, unsigned height, int fitSide) {
  if (fitSide <= 0) return 1;
  unsigned denominator = 8;
  while (denominator > 1 && std::max(width, height) / denominator < static_cast<unsigned>(fitSide)) denominator /= 2;
  return denominator;
}

std::optional<GreyPixels> ReadJpeg(std::string_view bytes, ImageReadProblem* problem, int fitSide) {
  jpeg_decompress_struct info{};
  JpegErrors errors{};
  jpeg_progress_mgr progress{};
  progress.progress_monitor = LimitJpegScans;
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = EscapeJpegError;
  errors.manager.emit_message = NoteJpegWarning;
  std::optional<GreyPixels> grey;
  if (setjmp(errors.escape)) {
    jpeg_destroy_decompress(&info);
    // Data that ends inside a header reads as a damaged header to libjpeg.
    if (errors.endedEarly && errors.problem.failure == ImageReadFailure::Damaged) {
      errors.problem = ImageReadProblem{};
      errors.problem.failure = ImageReadFailure::Truncated;
    }
    *problem = errors.problem;
    return std::nullopt;
  }
  jpeg_create_decompress(&info);
  info.progress = &progress;
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (!WithinBudget(info.image_width, info.image_height)) {
    jpeg_destroy_decompress(&info);
    return TooLarge(info.image_width, info.image_height, problem);
  }
  info.out_color_space = JCS_GRAYSCALE;
  info.scale_num = 1;
  info.scale_denom = JpegReduction(info.image_width, info.image_height, fitSide);
  jpeg_start_decompress(&info);
  grey = Blank(info.output_width, info.output_height, problem);
  if (grey) {
    grey->reduction = static_cast<int>(info.scale_denom);
    while (info.output_scanline < info.output_height && !errors.endedEarly) {
      JSAMPROW row = grey->pixels.data() + static_cast<size_t>(info.output_scanline) * grey->width;
      jpeg_read_scanlines(&info, &row, 1);
    }
    if (!errors.endedEarly) jpeg_finish_decompress(&info);
  }
  jpeg_destroy_decompress(&info);
  if (errors.endedEarly) return Fail(problem, ImageReadFailure::Truncated);
  return grey;
}

struct MemoryInput {
  std::string_view bytes;
  size_t offset = 0;
};

int ReadGifBytes(GifFileType* gif, GifByteType* out, int length) {
  auto* input = static_cast<MemoryInput*>(gif->UserData);
  const size_t count = std::min(static_cast<size_t>(length), input->bytes.size() - input->offset);
  std::memcpy(out, input->bytes.data() + input->offset, count);
  input->offset += count;
  return static_cast<int>(count);
}

// giflib has no message for some of its failures (a null pointer), and
// none at all for a line that fails without setting its error.
std::optional<GreyPixels> GifDamaged(int code, ImageReadProblem* problem) {
  if (const char* message = GifErrorString(code)) return Damaged(problem, message);
  return Fail(problem, ImageReadFailure::Damaged, ImageReadDetail::GifError, code);
}

std::optional<GreyPixels> GifFailure(GifFileType* gif, ImageReadProblem* problem) {
  if (gif->Error == D_GIF_ERR_READ_FAILED || gif->Error == D_GIF_ERR_EOF_TOO_SOON)
    return Fail(problem, ImageReadFailure::Truncated);
  return GifDamaged(gif->Error, problem);
}

// Rows of an interlaced frame come in four passes.
std::vector<int> GifRowOrder(int height, bool interlaced) {
  std::vector<int> order;
  order.reserve(static_cast<size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  constexpr int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = start[pass]; y < height; y += step[pass]) order.push_back(y);
  return order;
}

// The first frame over the background, through its colour map, clipped to
// the screen. Read record by record rather than slurped: every frame of a
// slurp is allocated at the size its header claims.
std::optional<GreyPixels> ReadGifFrame(GifFileType* gif, ImageReadProblem* problem) {
  if (DGifGetImageDesc(gif) != GIF_OK) return GifFailure(gif, problem);
  const GifImageDesc& at = gif->Image;
  if (!WithinBudget(at.Width, at.Height)) return TooLarge(at.Width, at.Height, problem);
  auto grey = Blank(gif->SWidth, gif->SHeight, problem);
  if (!grey) return grey;
  const ColorMapObject* colours = at.ColorMap ? at.ColorMap : gif->SColorMap;
  std::vector<GifPixelType> line(static_cast<size_t>(at.Width));
  for (const int y : GifRowOrder(at.Height, at.Interlace)) {
    if (DGifGetLine(gif, line.data(), at.Width) != GIF_OK) return GifFailure(gif, problem);
    const int py = at.Top + y;
    if (!colours || py >= grey->height) continue;
    for (int x = 0; x < at.Width && at.Left + x < grey->width; ++x) {
      if (line[static_cast<size_t>(x)] >= colours->ColorCount) continue;
      const GifColorType& c = colours->Colors[line[static_cast<size_t>(x)]];
      grey->pixels[static_cast<size_t>(py) * grey->width + at.Left + x] = Luma(c.Red, c.Green, c.Blue);
    }
  }
  return grey;
}

std::optional<GreyPixels> ReadGifRecords(GifFileType* gif, ImageReadProblem* problem) {
  if (!WithinBudget(gif->SWidth, gif->SHeight)) return TooLarge(gif->SWidth, gif->SHeight, problem);
  for (;;) {
    GifRecordType record;
    if (DGifGetRecordType(gif, &record) != GIF_OK) return GifFailure(gif, problem);
    if (record == IMAGE_DESC_RECORD_TYPE) return ReadGifFrame(gif, problem);
    if (record == TERMINATE_RECORD_TYPE) return Fail(problem, ImageReadFailure::Damaged, ImageReadDetail::NoGifImage);
    if (record != EXTENSION_RECORD_TYPE) continue;
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) return GifFailure(gif, problem);
    while (block)
      if (DGifGetExtensionNext(gif, &block) != GIF_OK) return GifFailure(gif, problem);
  }
}

std::optional<GreyPixels> ReadGif(std::string_view bytes, ImageReadProblem* problem) {
  MemoryInput input{bytes};
  int status = 0;
  GifFileType* gif = DGifOpen(&input, ReadGifBytes, &status);
  if (!gif)
    return status == D_GIF_ERR_READ_FAILED ? Fail(problem, ImageReadFailure::Truncated)
                                           : GifDamaged(status, problem);
  auto grey = ReadGifRecords(gif, problem);
  DGifCloseFile(gif, &status);
  return grey;
}

uint32_t Little(std::string_view bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

// Uncompressed BMP of 1, 4, 8 (through the palette), 24 or 32 bits per pixel,
// bottom-up or top-down.
std::optional<GreyPixels> ReadBmp(std::string_view bytes, ImageReadProblem* problem) {
  constexpr size_t FileHeader = 14;
  if (bytes.size() < FileHeader + 40) return Fail(problem, ImageReadFailure::Truncated);
  const uint32_t dataOffset = Little(bytes, 10, 4);
  const uint32_t infoSize = Little(bytes, 14, 4);
  const int64_t width = static_cast<int32_t>(Little(bytes, 18, 4));
  const int64_t signedHeight = static_cast<int32_t>(Little(bytes, 22, 4));
  const int bits = static_cast<int>(Little(bytes, 28, 2));
  const uint32_t compression = Little(bytes, 30, 4);
  if (infoSize < 40) return Fail(problem, ImageReadFailure::Unsupported, ImageReadDetail::OldBmpHeader);
  if (compression != 0 && !(compression == 3 && bits == 32))
    return Fail(problem, ImageReadFailure::Unsupported, ImageReadDetail::CompressedBmp);
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
    return Fail(problem, ImageReadFailure::Unsupported, ImageReadDetail::BmpBits, bits);
  const int64_t height = signedHeight < 0 ? -signedHeight : signedHeight;
  auto grey = Blank(width, height, problem);
  if (!grey) return grey;
  const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
  if (dataOffset > bytes.size() || stride * height > bytes.size() - dataOffset)
    return Fail(problem, ImageReadFailure::Truncated);
  const size_t palette = FileHeader + infoSize;
  const size_t paletteEntries = bits <= 8 ? (Little(bytes, 46, 4) ? Little(bytes, 46, 4) : 1u << bits) : 0;
  if (palette + 4 * paletteEntries > dataOffset) return Fail(problem, ImageReadFailure::Truncated);
  for (int y = 0; y < grey->height; ++y) {
    const size_t row = dataOffset + stride * static_cast<size_t>(signedHeight < 0 ? y : height - 1 - y);
    for (int x = 0; x < grey->width; ++x) {
      uint8_t value;
      if (bits <= 8) {
        const size_t bit = static_cast<size_t>(x) * bits;
        const int index = (static_cast<uint8_t>(bytes[row + bit / 8]) >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
        if (static_cast<size_t>(index) >= paletteEntries)
          return Fail(problem, ImageReadFailure::Damaged, ImageReadDetail::BmpPaletteIndex);
        const size_t entry = palette + 4 * static_cast<size_t>(index);  // blue, green, red, unused
        value = Luma(static_cast<uint8_t>(bytes[entry + 2]), static_cast<uint8_t>(bytes[entry + 1]),
                     static_cast<uint8_t>(bytes[entry]));
      } else {
        const size_t at = row + static_cast<size_t>(x) * (bits / 8);
        value = Luma(static_cast<uint8_t>(bytes[at + 2]), static_cast<uint8_t>(bytes[at + 1]),
                     static_cast<uint8_t>(bytes[at]));
      }
      grey->pixels[static_cast<size_t>(y) * grey->width + x] = value;
    }
  }
  return grey;
}

}  // namespace

FileKind SniffFileKind(std::string_view bytes) {
  if (StartsWith(bytes, "\x89PNG\r\n\x1a\n")) return FileKind::Png;
  if (StartsWith(bytes, "\xff\xd8\xff")) return FileKind::Jpeg;
  if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a")) return FileKind::Gif;
  if (StartsWith(bytes, "BM")) return FileKind::Bmp;
  if (StartsWith(bytes, "%PDF-")) return FileKind::Pdf;
  if (StartsWith(bytes, "%!PS-Adobe-")) return FileKind::Eps;
  if (StartsWith(bytes, "<?xml") || StartsWith(bytes, "<svg")) return FileKind::Svg;
  return FileKind::Unknown;
}

std::optional<GreyPixels> ReadRasterImage(FileKind kind, std::string_view bytes, ImageReadProblem* problem,
                                          int fitSide) {
  switch (kind) {
    case FileKind::Png: return ReadPng(bytes, problem);
    case FileKind::Jpeg: return ReadJpeg(bytes, problem, fitSide);
    case FileKind::Gif: return ReadGif(bytes, problem);
    case FileKind::Bmp: return ReadBmp(bytes, problem);
    default: return Fail(problem, ImageReadFailure::NotAnImage);
  }
}

// RGBA for logos, beside the grey reading of our own files: a logo keeps its
// colours and transparency.
namespace {

bool SideFits(long long width, long long height, int maxSide) {
  return width >= 1 && height >= 1 && width <= maxSide && height <= maxSide;
}

struct PngSource {
  std::string_view bytes;
  size_t at = 0;
};

void ReadPngBytes(png_structp png, png_bytep out, png_size_t length) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (length > source->bytes.size() - source->at) png_error(png, "the file is cut short");
  std::memcpy(out, source->bytes.data() + source->at, length);
  source->at += length;
}

void PngError(png_structp png, png_const_charp message) {
  *static_cast<std::string*>(png_get_error_ptr(png)) = message;
  png_longjmp(png, 1);
}

// Box sums of `factor` x `factor` pixels, colour weighted by alpha, so that
// a transparent pixel's colour does not bleed into the logo's edge.
struct BoxSums {
  int factor = 1;
  std::vector<uint32_t> sums;  // red·alpha, green·alpha, blue·alpha, alpha per output column

  void Add(const uint8_t* row, int width) {
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = row + static_cast<size_t>(x) * 4;
      uint32_t* sum = &sums[static_cast<size_t>(x / factor) * 4];
      for (int c = 0; c < 3; ++c) sum[c] += uint32_t{p[c]} * p[3];
      sum[3] += p[3];
    }
  }
  // The output row `y` of `logo` from `rows` input rows of `width` pixels.
  void Flush(RgbaImage& logo, int y, int rows, int width) {
    for (int x = 0; x < logo.width; ++x) {
      uint32_t* sum = &sums[static_cast<size_t>(x) * 4];
      const uint32_t count = static_cast<uint32_t>(rows * (std::min(width, (x + 1) * factor) - x * factor));
      uint8_t* out = &logo.pixels[(static_cast<size_t>(y) * logo.width + x) * 4];
      for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>(sum[3] ? (sum[c] + sum[3] / 2) / sum[3] : 0);
      out[3] = static_cast<uint8_t>((sum[3] + count / 2) / count);
      std::fill_n(sum, 4, 0);
    }
  }
};

// Only plain data lives between setjmp and the end, so a long jump skips no
// destructor; the buffers are the caller's. One input row and one row of
// sums are all the memory the picture's size costs.
bool DecodeReducedPng(png_structp png, png_infop info, RgbaImage& logo, std::vector<uint8_t>& row, BoxSums& box,
                      bool* tooLarge) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  const int width = static_cast<int>(png_get_image_width(png, info));
  const int height = static_cast<int>(png_get_image_height(png, info));
  // An interlaced picture cannot be reduced a row at a time.
  if (png_get_interlace_type(png, info) != PNG_INTERLACE_NONE) {
    *tooLarge = true;
    return false;
  }
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) png_error(png, "unexpected pixel format");
  box.factor = (std::max(width, height) + LogoReducedSide - 1) / LogoReducedSide;
  logo = BlankRgba((width + box.factor - 1) / box.factor, (height + box.factor - 1) / box.factor);
  row.resize(static_cast<size_t>(width) * 4);
  box.sums.assign(static_cast<size_t>(logo.width) * 4, 0);
  for (int y = 0; y < height; ++y) {
    png_read_row(png, row.data(), nullptr);
    box.Add(row.data(), width);
    if ((y + 1) % box.factor == 0 || y + 1 == height) box.Flush(logo, y / box.factor, y % box.factor + 1, width);
  }
  return true;
}

// A picture above MaxLogoSide a side, scaled down as it is decoded.
std::optional<RgbaImage> ReadLargePngRgba(std::string_view bytes, LogoReadProblem* problem) {
  std::string message;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &message, PngError, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return LogoLibrarySays(problem, "out of memory");
  }
  PngSource source{bytes};
  png_set_read_fn(png, &source, ReadPngBytes);
  png_set_user_limits(png, MaxLogoSourceSide, MaxLogoSourceSide);
  RgbaImage logo;
  std::vector<uint8_t> row;
  BoxSums box;
  bool tooLarge = false;
  const bool read = DecodeReducedPng(png, info, logo, row, box, &tooLarge);
  png_destroy_read_struct(&png, &info, nullptr);
  if (tooLarge) return FailLogo(problem, LogoFileFailure::TooLarge);
  if (!read) return LogoLibrarySays(problem, message);
  return logo;
}

std::optional<RgbaImage> ReadPngRgba(std::string_view bytes, int maxSide, LogoReadProblem* problem) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
    return LogoLibrarySays(problem, image.message);
  if (!SideFits(image.width, image.height, maxSide)) {
    png_image_free(&image);
    if (maxSide >= LogoReducedSide && SideFits(image.width, image.height, MaxLogoSourceSide))
      return ReadLargePngRgba(bytes, problem);
    return FailLogo(problem, LogoFileFailure::TooLarge);
  }
  image.format = PNG_FORMAT_RGBA;
  RgbaImage logo = BlankRgba(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!png_image_finish_read(&image, nullptr, logo.pixels.data(), 0, nullptr))
    return LogoLibrarySays(problem, image.message);
  return logo;
}

// Only plain data lives between setjmp and the end, so a long jump skips no
// destructor; the pixels are allocated by the caller once the size is known.
bool DecodeJpegRgba(jpeg_decompress_struct& info, JpegErrors& errors, std::string_view bytes, int maxSide,
                    RgbaImage& logo, std::vector<uint8_t>& row, bool* tooLarge) {
  if (setjmp(errors.escape)) return false;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  if (!SideFits(info.image_width, info.image_height, maxSide)) {
    *tooLarge = true;
    return false;
  }
  jpeg_start_decompress(&info);
  logo = BlankRgba(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
  row.resize(static_cast<size_t>(info.output_width) * 3);
  while (info.output_scanline < info.output_height) {
    uint8_t* out = &logo.pixels[static_cast<size_t>(info.output_scanline) * logo.width * 4];
    JSAMPROW in = row.data();
    jpeg_read_scanlines(&info, &in, 1);
    for (int x = 0; x < logo.width; ++x) {
      std::copy_n(&row[static_cast<size_t>(x) * 3], 3, out + x * 4);
      out[x * 4 + 3] = 255;
    }
  }
  jpeg_finish_decompress(&info);
  return true;
}

std::optional<RgbaImage> ReadJpegRgba(std::string_view bytes, int maxSide, LogoReadProblem* problem) {
  jpeg_decompress_struct info{};
  JpegErrors errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = EscapeJpegError;
  errors.manager.output_message = [](j_common_ptr) {};
  RgbaImage logo;
  std::vector<uint8_t> row;
  bool tooLarge = false;
  const bool read = DecodeJpegRgba(info, errors, bytes, maxSide, logo, row, &tooLarge);
  jpeg_destroy_decompress(&info);
  if (tooLarge) return FailLogo(problem, LogoFileFailure::TooLarge);
  if (!read) return LogoLibrarySays(problem, errors.problem.subject);
  return logo;
}

}  // namespace

RgbaImage BlankRgba(int width, int height) {
  return {width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4, 0)};
}

std::optional<RgbaImage> FailLogo(LogoReadProblem* problem, LogoFileFailure failure, ImageReadDetail reason) {
  *problem = {failure, reason, {}};
  return std::nullopt;
}

std::optional<RgbaImage> LogoLibrarySays(LogoReadProblem* problem, std::string message) {
  *problem = {LogoFileFailure::Unreadable, ImageReadDetail::LibraryMessage, std::move(message)};
  return std::nullopt;
}

std::optional<RgbaImage> ReadRasterRgba(FileKind kind, std::string_view bytes, int maxSide, LogoReadProblem* problem) {
  switch (kind) {
    case FileKind::Png: return ReadPngRgba(bytes, maxSide, problem);
    case FileKind::Jpeg: return ReadJpegRgba(bytes, maxSide, problem);
    default: return FailLogo(problem, LogoFileFailure::NotALogo);
  }
}

}  // namespace quillet
