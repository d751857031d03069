#include "image/LogoMask.h"

#include <algorithm>
#include <cmath>

#include "image/LogoCache.h"
#include "image/StyledImage.h"

namespace quillet {

namespace {

int OddNearest(double x) { return 2 * static_cast<int>(std::lround((x - 1) / 2)) + 1; }

// Opaque pixels of a logo summed from its top left corner, so that a
// module's share of the logo is counted in four reads whatever its size.
struct OpaqueCounts {
  int width = 0, height = 0;
  bool allOpaque = true;
  std::vector<uint32_t> sums;  // (width + 1) x (height + 1)
  uint32_t In(int x0, int y0, int x1, int y1) const {
    const auto at = [&](int x, int y) { return sums[static_cast<size_t>(y) * (width + 1) + x]; };
    return at(x1, y1) - at(x0, y1) - at(x1, y0) + at(x0, y0);
  }
};

OpaqueCounts CountOpaque(const RgbaImage& logo) {
  OpaqueCounts counts{logo.width, logo.height, true, std::vector<uint32_t>(static_cast<size_t>(logo.width + 1) * (logo.height + 1))};
  for (int y = 0; y < logo.height; ++y) {
    uint32_t row = 0;
    for (int x = 0; x < logo.width; ++x) {
      const bool opaque = logo.pixels[(static_cast<size_t>(y) * logo.width + x) * 4 + 3] > LogoOpaqueAlpha;
      counts.allOpaque = counts.allOpaque && opaque;
      row += opaque;
      counts.sums[static_cast<size_t>(y + 1) * (logo.width + 1) + x + 1] =
          counts.sums[static_cast<size_t>(y) * (logo.width + 1) + x + 1] + row;
    }
  }
  return counts;
}

// Counted once per logo: the bound asks for the mask of every pad side of
// every version while a symbol grows for its logo.
std::shared_ptr<const OpaqueCounts> CountsOf(const std::shared_ptr<const RgbaImage>& logo) {
  static LogoCache<OpaqueCounts, int, 8> cache;
  return cache.Get(logo, 0, [&] { return CountOpaque(*logo); });
}

// The logo's pixels from `from` to `to` (modules along one side of the box)
// given its frame there: a half-open range of source pixels, clamped.
std::pair<int, int> SourceSpan(double from, double to, double frameStart, double frameLength, int pixels) {
  const double perModule = pixels / frameLength;
  const int first = static_cast<int>(std::floor((from - frameStart) * perModule));
  const int last = static_cast<int>(std::ceil((to - frameStart) * perModule));
  return {std::clamp(first, 0, pixels), std::clamp(last, 0, pixels)};
}

// Every module of the box that holds an opaque pixel of the logo, grown by
// one module in each direction, within the box.
PadMask OutlineMask(const OpaqueCounts& counts, const RgbaImage& logo, int width, int height) {
  const LogoFrame frame = LogoFrameIn(width, height, logo);
  std::vector<uint8_t> opaque(static_cast<size_t>(width) * height, 0);
  for (int y = 0; y < height; ++y) {
    const auto [y0, y1] = SourceSpan(y, y + 1, frame.top, frame.height, counts.height);
    for (int x = 0; x < width; ++x) {
      const auto [x0, x1] = SourceSpan(x, x + 1, frame.left, frame.width, counts.width);
      opaque[static_cast<size_t>(y) * width + x] = x0 < x1 && y0 < y1 && counts.In(x0, y0, x1, y1) > 0;
    }
  }
  PadMask mask{width, height, std::vector<uint8_t>(opaque.size(), 0)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (!opaque[static_cast<size_t>(y) * width + x]) continue;
      for (int v = std::max(0, y - 1); v <= std::min(height - 1, y + 1); ++v)
        for (int u = std::max(0, x - 1); u <= std::min(width - 1, x + 1); ++u) mask.cleared[static_cast<size_t>(v) * width + u] = 1;
    }
  return mask;
}

}  // namespace

PadMask LogoPadMask(const SymbolStyle& style, int longSide) {
  if (!style.logo || style.logo->Empty()) return SquarePad(longSide);
  const double ratio = std::clamp(static_cast<double>(style.logo->width) / style.logo->height, 1 / MaxLogoAspect, MaxLogoAspect);
  const int shortSide = std::clamp(OddNearest(longSide / std::max(ratio, 1 / ratio)), std::min(MinLogoPad, longSide), longSide);
  const int width = ratio >= 1 ? longSide : shortSide, height = ratio >= 1 ? shortSide : longSide;
  if (style.logoPad == LogoPad::Square) return BoxPad(width, height);
  const std::shared_ptr<const OpaqueCounts> counts = CountsOf(style.logo);
  if (counts->allOpaque) return BoxPad(width, height);
  return OutlineMask(*counts, *style.logo, width, height);
}

PadMaskFor LogoPadMasks(const SymbolStyle& style) {
  return [style](int longSide) { return LogoPadMask(style, longSide); };
}

}  // namespace quillet
