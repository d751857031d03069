#include "verify/module/ImageReaders.h"

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>

namespace {

// No file we write is larger; anything beyond is refused before allocating.
constexpr int MaxSide = 1 << 15;

bool StartsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

std::optional<GreyPixels> Fail(std::string* error, std::string reason) {
  *error = std::move(reason);
  return std::nullopt;
}

std::optional<GreyPixels> Blank(int width, int height, std::string* error) {
  if (width < 1 || height < 1 || width > MaxSide || height > MaxSide)
    return Fail(error, "image of " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
  return GreyPixels{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height, 255)};
}

uint8_t Luma(int red, int green, int blue) { return static_cast<uint8_t>((299 * red + 587 * green + 114 * blue) / 1000); }

std::optional<GreyPixels> ReadPng(std::string_view bytes, std::string* error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return Fail(error, image.message);
  image.format = PNG_FORMAT_GRAY;
  auto grey = Blank(static_cast<int>(image.width), static_cast<int>(image.height), error);
  if (!grey) {
    png_image_free(&image);
    return grey;
  }
  if (!png_image_finish_read(&image, nullptr, grey->pixels.data(), 0, nullptr)) return Fail(error, image.message);
  return grey;
}

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf escape;
  char message[JMSG_LENGTH_MAX];
};

// libjpeg's default ends the process on an error.
void EscapeJpegError(j_common_ptr info) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  errors->manager.format_message(info, errors->message);
  std::longjmp(errors->escape, 1);
}

std::optional<GreyPixels> ReadJpeg(std::string_view bytes, std::string* error) {
  jpeg_decompress_struct info{};
  JpegErrors errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = EscapeJpegError;
  // A damaged file is this check's business to report, not libjpeg's on standard error.
  errors.manager.output_message = [](j_common_ptr) {};
  std::optional<GreyPixels> grey;
  if (setjmp(errors.escape)) {
    jpeg_destroy_decompress(&info);
    return Fail(error, errors.message);
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_GRAYSCALE;
  jpeg_start_decompress(&info);
  grey = Blank(static_cast<int>(info.output_width), static_cast<int>(info.output_height), error);
  if (grey) {
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = grey->pixels.data() + static_cast<size_t>(info.output_scanline) * grey->width;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
  }
  jpeg_destroy_decompress(&info);
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

// The first frame over the background, through its colour map.
std::optional<GreyPixels> ReadGif(std::string_view bytes, std::string* error) {
  MemoryInput input{bytes};
  int status = 0;
  GifFileType* gif = DGifOpen(&input, ReadGifBytes, &status);
  if (!gif) return Fail(error, GifErrorString(status));
  std::optional<GreyPixels> grey;
  if (DGifSlurp(gif) != GIF_OK || gif->ImageCount < 1) {
    grey = Fail(error, GifErrorString(gif->Error));
  } else if ((grey = Blank(gif->SWidth, gif->SHeight, error))) {
    const SavedImage& frame = gif->SavedImages[0];
    const ColorMapObject* colours = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
    const GifImageDesc& at = frame.ImageDesc;
    for (int y = 0; y < at.Height && colours; ++y)
      for (int x = 0; x < at.Width; ++x) {
        const int px = at.Left + x, py = at.Top + y;
        if (px >= grey->width || py >= grey->height) continue;
        const int index = frame.RasterBits[static_cast<size_t>(y) * at.Width + x];
        if (index >= colours->ColorCount) continue;
        const GifColorType& c = colours->Colors[index];
        grey->pixels[static_cast<size_t>(py) * grey->width + px] = Luma(c.Red, c.Green, c.Blue);
      }
  }
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
std::optional<GreyPixels> ReadBmp(std::string_view bytes, std::string* error) {
  constexpr size_t FileHeader = 14;
  if (bytes.size() < FileHeader + 40) return Fail(error, "truncated BMP header");
  const uint32_t dataOffset = Little(bytes, 10, 4);
  const uint32_t infoSize = Little(bytes, 14, 4);
  const int width = static_cast<int32_t>(Little(bytes, 18, 4));
  const int signedHeight = static_cast<int32_t>(Little(bytes, 22, 4));
  const int bits = static_cast<int>(Little(bytes, 28, 2));
  const uint32_t compression = Little(bytes, 30, 4);
  if (infoSize < 40) return Fail(error, "old-style BMP header");
  if (compression != 0 && !(compression == 3 && bits == 32)) return Fail(error, "compressed BMP");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
    return Fail(error, std::to_string(bits) + "-bit BMP");
  if (signedHeight == INT32_MIN) return Fail(error, "BMP height");
  const int height = signedHeight < 0 ? -signedHeight : signedHeight;
  auto grey = Blank(width, height, error);
  if (!grey) return grey;
  const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
  if (dataOffset > bytes.size() || stride * height > bytes.size() - dataOffset) return Fail(error, "truncated BMP pixels");
  const size_t palette = FileHeader + infoSize;
  const size_t paletteEntries = bits <= 8 ? (Little(bytes, 46, 4) ? Little(bytes, 46, 4) : 1u << bits) : 0;
  if (palette + 4 * paletteEntries > dataOffset) return Fail(error, "truncated BMP palette");
  for (int y = 0; y < height; ++y) {
    const size_t row = dataOffset + stride * static_cast<size_t>(signedHeight < 0 ? y : height - 1 - y);
    for (int x = 0; x < width; ++x) {
      uint8_t value;
      if (bits <= 8) {
        const size_t bit = static_cast<size_t>(x) * bits;
        const int index = (static_cast<uint8_t>(bytes[row + bit / 8]) >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
        if (static_cast<size_t>(index) >= paletteEntries) return Fail(error, "BMP pixel outside its palette");
        const size_t entry = palette + 4 * static_cast<size_t>(index);  // blue, green, red, unused
        value = Luma(static_cast<uint8_t>(bytes[entry + 2]), static_cast<uint8_t>(bytes[entry + 1]),
                     static_cast<uint8_t>(bytes[entry]));
      } else {
        const size_t at = row + static_cast<size_t>(x) * (bits / 8);
        value = Luma(static_cast<uint8_t>(bytes[at + 2]), static_cast<uint8_t>(bytes[at + 1]),
                     static_cast<uint8_t>(bytes[at]));
      }
      grey->pixels[static_cast<size_t>(y) * width + x] = value;
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

std::optional<GreyPixels> ReadRasterImage(FileKind kind, std::string_view bytes, std::string* error) {
  switch (kind) {
    case FileKind::Png: return ReadPng(bytes, error);
    case FileKind::Jpeg: return ReadJpeg(bytes, error);
    case FileKind::Gif: return ReadGif(bytes, error);
    case FileKind::Bmp: return ReadBmp(bytes, error);
    default: return Fail(error, "not a raster image");
  }
}

// RGBA for logos, beside the grey reading of our own files: a logo keeps its
// colours and transparency.
namespace {

std::optional<RgbaImage> FailRgba(std::string* error, std::string reason) {
  *error = std::move(reason);
  return std::nullopt;
}

bool SideFits(long long width, long long height, int maxSide) {
  return width >= 1 && height >= 1 && width <= maxSide && height <= maxSide;
}

RgbaImage BlankRgba(int width, int height) {
  return {width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4, 0)};
}

std::optional<RgbaImage> ReadPngRgba(std::string_view bytes, int maxSide, std::string* error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return FailRgba(error, image.message);
  if (!SideFits(image.width, image.height, maxSide)) {
    png_image_free(&image);
    return FailRgba(error, "too large");
  }
  image.format = PNG_FORMAT_RGBA;
  RgbaImage logo = BlankRgba(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!png_image_finish_read(&image, nullptr, logo.pixels.data(), 0, nullptr)) return FailRgba(error, image.message);
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

std::optional<RgbaImage> ReadJpegRgba(std::string_view bytes, int maxSide, std::string* error) {
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
  if (tooLarge) return FailRgba(error, "too large");
  if (!read) return FailRgba(error, errors.message);
  return logo;
}

}  // namespace

std::optional<RgbaImage> ReadRasterRgba(FileKind kind, std::string_view bytes, int maxSide, std::string* error) {
  switch (kind) {
    case FileKind::Png: return ReadPngRgba(bytes, maxSide, error);
    case FileKind::Jpeg: return ReadJpegRgba(bytes, maxSide, error);
    default: return FailRgba(error, "not a logo");
  }
}
