#include "verify/module/LogoReader.h"

#include <librsvg/rsvg.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "verify/LogoFile.h"
#include "verify/module/ImageReaders.h"

namespace quillet {

namespace {

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
std::optional<RgbaImage> ReadSvgLogo(std::string_view bytes, LogoReadProblem* problem) {
  GError* failure = nullptr;
  RsvgHandle* svg = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(bytes.data()), bytes.size(), &failure);
  if (!svg) {
    if (!failure) return FailLogo(problem, LogoFileFailure::Unreadable, ImageReadDetail::SvgUnreadable);
    LogoLibrarySays(problem, failure->message);
    g_error_free(failure);
    return std::nullopt;
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
    logo = BlankRgba(w, h);
    Unpremultiply(cairo_image_surface_get_data(surface), cairo_image_surface_get_stride(surface), *logo);
  } else if (failure) {
    LogoLibrarySays(problem, failure->message);
  } else {
    FailLogo(problem, LogoFileFailure::Unreadable, ImageReadDetail::SvgNotDrawn);
  }
  if (failure) g_error_free(failure);
  cairo_surface_destroy(surface);
  g_object_unref(svg);
  return logo;
}

}  // namespace

std::optional<RgbaImage> ReadLogo(std::string_view bytes, LogoReadProblem* problem) {
  const FileKind kind = SniffFileKind(bytes);
  return kind == FileKind::Svg ? ReadSvgLogo(bytes, problem) : ReadRasterRgba(kind, bytes, MaxLogoSide, problem);
}

}  // namespace quillet
