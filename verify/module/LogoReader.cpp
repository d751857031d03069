#include "verify/module/LogoReader.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE first
#include <jpeglib.h>
// clang-format on
#include <librsvg/rsvg.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>

#include "verify/LogoFile.h"
#include "verify/module/ImageReaders.h"

namespace {

std::optional<RgbaImage> Fail(std::string* error, std::string reason) {
  *error = std::move(reason);
  return std::nullopt;
}

bool SideFits(long long width, long long height) {
  return width >= 1 && height >= 1 && width <= MaxLogoSide && height <= MaxLogoSide;
}

RgbaImage Blank(int width, int height) {
  return {width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4, 0)};
}

std::optional<RgbaImage> ReadPngLogo(std::string_view bytes, std::string* error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return Fail(error, image.message);
  if (!SideFits(image.width, image.height)) {
    png_image_free(&image);
    return Fail(error, "too large");
  }
  image.format = PNG_FORMAT_RGBA;
  RgbaImage logo = Blank(static_cast<int>(image.width), static_cast<int>(image.height));
  if (!png_image_finish_read(&image, nullptr, logo.pixels.data(), 0, nullptr)) return Fail(error, image.message);
  return logo;
}

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf escape;
  char message[JMSG_LENGTH_MAX];
};

void EscapeJpegError(j_common_ptr info) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  errors->manager.format_message(info, errors->message);
  std::longjmp(errors->escape, 1);
}

// Only plain data lives between setjmp and the end, so a long jump skips no
// destructor; the pixels are allocated by the caller once the size is known.
bool DecodeJpeg(jpeg_decompress_struct& info, JpegErrors& errors, std::string_view bytes, RgbaImage& logo,
                std::vector<uint8_t>& row, bool* tooLarge) {
  if (setjmp(errors.escape)) return false;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  if (!SideFits(info.image_width, info.image_height)) {
    *tooLarge = true;
    return false;
  }
  jpeg_start_decompress(&info);
  logo = Blank(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
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

std::optional<RgbaImage> ReadJpegLogo(std::string_view bytes, std::string* error) {
  jpeg_decompress_struct info{};
  JpegErrors errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = EscapeJpegError;
  errors.manager.output_message = [](j_common_ptr) {};
  RgbaImage logo;
  std::vector<uint8_t> row;
  bool tooLarge = false;
  const bool read = DecodeJpeg(info, errors, bytes, logo, row, &tooLarge);
  jpeg_destroy_decompress(&info);
  if (tooLarge) return Fail(error, "too large");
  if (!read) return Fail(error, errors.message);
  return logo;
}

// Cairo's premultiplied native-endian ARGB to straight RGBA.
void Unpremultiply(const uint8_t* data, int stride, RgbaImage& logo) {
  for (int y = 0; y < logo.height; ++y)
    for (int x = 0; x < logo.width; ++x) {
      uint32_t argb;
      std::memcpy(&argb, data + static_cast<size_t>(y) * stride + x * 4, 4);
      const uint32_t alpha = argb >> 24;
      uint8_t* out = &logo.pixels[(static_cast<size_t>(y) * logo.width + x) * 4];
      for (int c = 0; c < 3; ++c) {
        const uint32_t value = argb >> (16 - 8 * c) & 0xFF;
        out[c] = static_cast<uint8_t>(alpha ? std::min<uint32_t>(255, (value * 255 + alpha / 2) / alpha) : 0);
      }
      out[3] = static_cast<uint8_t>(alpha);
    }
}

// Drawn at LogoRenderSide pixels on its longer side. No base file is given,
// so librsvg loads no external reference, and it keeps its own limits on
// the size of the document.
std::optional<RgbaImage> ReadSvgLogo(std::string_view bytes, std::string* error) {
  GError* failure = nullptr;
  RsvgHandle* svg = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(bytes.data()), bytes.size(), &failure);
  if (!svg) {
    const std::string reason = failure ? failure->message : "unreadable SVG";
    if (failure) g_error_free(failure);
    return Fail(error, reason);
  }
  double width = 0, height = 0;
  if (!rsvg_handle_get_intrinsic_size_in_pixels(svg, &width, &height) || !(width > 0 && height > 0))
    width = height = LogoRenderSide;
  const double fit = LogoRenderSide / std::max(width, height);
  const int w = std::max(1, static_cast<int>(std::lround(width * fit)));
  const int h = std::max(1, static_cast<int>(std::lround(height * fit)));
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(surface);
  const RsvgRectangle viewport{0, 0, static_cast<double>(w), static_cast<double>(h)};
  const bool drawn = rsvg_handle_render_document(svg, cr, &viewport, &failure);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  std::optional<RgbaImage> logo;
  if (drawn && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    logo = Blank(w, h);
    Unpremultiply(cairo_image_surface_get_data(surface), cairo_image_surface_get_stride(surface), *logo);
  } else {
    *error = failure ? failure->message : "the SVG cannot be drawn";
  }
  if (failure) g_error_free(failure);
  cairo_surface_destroy(surface);
  g_object_unref(svg);
  return logo;
}

}  // namespace

std::optional<RgbaImage> ReadLogo(std::string_view bytes, std::string* error) {
  switch (SniffFileKind(bytes)) {
    case FileKind::Png: return ReadPngLogo(bytes, error);
    case FileKind::Jpeg: return ReadJpegLogo(bytes, error);
    case FileKind::Svg: return ReadSvgLogo(bytes, error);
    default: return Fail(error, "not a logo");
  }
}
