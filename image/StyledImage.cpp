#include "image/StyledImage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>

#include "image/SymbolFrame.h"
#include "image/LogoCache.h"
#include "image/SymbolOutlines.h"

namespace quillet {

namespace {

struct Rgba {
  uint8_t red, green, blue, alpha;
};

Rgba Opaque(Rgb colour) { return {colour.red, colour.green, colour.blue, 255}; }

Rgba BackgroundOf(const SymbolStyle& style) {
  return style.transparentBackground ? Rgba{255, 255, 255, 0} : Opaque(style.background);
}

void Put(RgbaImage& image, int x, int y, Rgba colour) {
  uint8_t* pixel = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
  pixel[0] = colour.red;
  pixel[1] = colour.green;
  pixel[2] = colour.blue;
  pixel[3] = colour.alpha;
}

void FillModule(RgbaImage& image, int column, int row, int scale, Rgba colour) {
  for (int y = row * scale; y < (row + 1) * scale; ++y)
    for (int x = column * scale; x < (column + 1) * scale; ++x) Put(image, x, y, colour);
}

// `over` laid on `under` (both straight alpha).
Rgba Blend(Rgba over, Rgba under) {
  // Nearly every pixel of a symbol is opaque or clear.
  if (over.alpha == 255) return over;
  if (over.alpha == 0) return under;
  const int a = over.alpha, b = under.alpha * (255 - a) / 255, total = a + b;
  if (total == 0) return {255, 255, 255, 0};
  const auto mix = [&](int top, int bottom) { return static_cast<uint8_t>((top * a + bottom * b + total / 2) / total); };
  return {mix(over.red, under.red), mix(over.green, under.green), mix(over.blue, under.blue),
          static_cast<uint8_t>(total)};
}

// The logo's pixel at target (x, y) of a box `box` pixels wide: the mean
// of the source pixels the target pixel covers, weighted by alpha so that
// clear pixels add no colour.
Rgba SampleLogo(const RgbaImage& logo, int x, int y, int boxWidth, int boxHeight) {
  const int x0 = static_cast<int>(static_cast<int64_t>(x) * logo.width / boxWidth);
  const int y0 = static_cast<int>(static_cast<int64_t>(y) * logo.height / boxHeight);
  const int x1 = std::max(x0 + 1, static_cast<int>(static_cast<int64_t>(x + 1) * logo.width / boxWidth));
  const int y1 = std::max(y0 + 1, static_cast<int>(static_cast<int64_t>(y + 1) * logo.height / boxHeight));
  uint64_t red = 0, green = 0, blue = 0, alpha = 0;
  for (int sy = y0; sy < y1; ++sy)
    for (int sx = x0; sx < x1; ++sx) {
      const uint8_t* p = &logo.pixels[(static_cast<size_t>(sy) * logo.width + sx) * 4];
      red += p[0] * p[3];
      green += p[1] * p[3];
      blue += p[2] * p[3];
      alpha += p[3];
    }
  const uint64_t count = static_cast<uint64_t>(x1 - x0) * (y1 - y0);
  if (alpha == 0) return {0, 0, 0, 0};
  return {static_cast<uint8_t>(red / alpha), static_cast<uint8_t>(green / alpha), static_cast<uint8_t>(blue / alpha),
          static_cast<uint8_t>(alpha / count)};
}

RgbaImage ScaleLogo(const RgbaImage& logo, int width, int height) {
  RgbaImage scaled{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const Rgba p = SampleLogo(logo, x, y, width, height);
      uint8_t* out = &scaled.pixels[(static_cast<size_t>(y) * width + x) * 4];
      out[0] = p.red;
      out[1] = p.green;
      out[2] = p.blue;
      out[3] = p.alpha;
    }
  return scaled;
}

// The logo at a box's size, kept for the next symbol: a batch draws one logo
// in a few sizes on thousands of symbols (twice each, for the read-back and
// the file), and scaling it down is most of the drawing.
std::shared_ptr<const RgbaImage> ScaledLogo(const std::shared_ptr<const RgbaImage>& logo, int width, int height) {
  static LogoCache<RgbaImage, std::pair<int, int>, 32> cache;
  return cache.Get(logo, {width, height}, [&] { return ScaleLogo(*logo, width, height); });
}

// Whether pixel (x, y) of the image lies on a module the pad clears.
bool OnClearedModule(const LogoPlacement& placement, int x, int y, int quiet, int scale) {
  const int column = x / scale - quiet - placement.column, row = y / scale - quiet - placement.row;
  return column >= 0 && row >= 0 && column < placement.mask.width && row < placement.mask.height &&
         placement.mask.Clears(column, row);
}

// The logo in its frame, on the cleared modules only: the modules the pad
// leaves are the symbol's, whatever faint pixels the logo has around them.
void DrawLogo(RgbaImage& image, const LogoPlacement& placement, int quiet, int scale) {
  const RgbaImage& logo = *placement.logo;
  const LogoFrame frame = LogoFrameIn(placement.mask.width, placement.mask.height, logo);
  const int width = static_cast<int>(std::lround(frame.width * scale));
  const int height = static_cast<int>(std::lround(frame.height * scale));
  if (logo.Empty() || width <= 0 || height <= 0) return;
  const int left = (quiet + placement.column) * scale + static_cast<int>(std::lround(frame.left * scale));
  const int top = (quiet + placement.row) * scale + static_cast<int>(std::lround(frame.top * scale));
  const std::shared_ptr<const RgbaImage> scaled = ScaledLogo(placement.logo, width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (!OnClearedModule(placement, left + x, top + y, quiet, scale)) continue;
      uint8_t* p = &image.pixels[(static_cast<size_t>(top + y) * image.width + left + x) * 4];
      const uint8_t* q = &scaled->pixels[(static_cast<size_t>(y) * width + x) * 4];
      Put(image, left + x, top + y, Blend({q[0], q[1], q[2], q[3]}, {p[0], p[1], p[2], p[3]}));
    }
}

// Samples a side of each pixel that an outline's edge crosses: 16 levels of
// coverage smooth curves at any scale.
constexpr int Samples = 4;

// How much of pixel (x, y) the outline covers, 0..255; `scale` pixels a module.
int Coverage(const Outline& outline, int x, int y, int scale) {
  const auto inside = [&](double px, double py) { return outline.Contains(px / scale, py / scale); };
  constexpr double Edge = 1e-6;
  if (!outline.hasHole && inside(x + Edge, y + Edge) && inside(x + 1 - Edge, y + Edge) &&
      inside(x + Edge, y + 1 - Edge) && inside(x + 1 - Edge, y + 1 - Edge))
    return 255;  // a convex shape holds the whole pixel when it holds its corners
  int covered = 0;
  for (int sy = 0; sy < Samples; ++sy)
    for (int sx = 0; sx < Samples; ++sx)
      covered += inside(x + (sx + 0.5) / Samples, y + (sy + 0.5) / Samples);
  return (covered * 255 + Samples * Samples / 2) / (Samples * Samples);
}

// A colour, or a gradient over the symbol, at pixel (x, y).
struct Paint {
  Rgb from;
  Rgb to;
  Gradient gradient = Gradient::None;
  GradientLine line{};
  Rgb At(int x, int y, int scale) const {
    if (gradient == Gradient::None) return from;
    return MixColour(from, to, GradientShare(gradient, line, (x + 0.5) / scale, (y + 0.5) / scale));
  }
};

// An outline's coverage of the pixels of its box, made once for every
// outline of the same shape at the same place within its module: a symbol's
// dots are one shape thousands of times, and sampling edges is most of the
// drawing.
struct Stamp {
  int left = 0, top = 0, width = 0, height = 0;  // pixels, from the module's corner
  std::vector<uint8_t> coverage;
};

Stamp MakeStamp(const Outline& outline, int scale) {
  const RoundedBox& box = outline.box;
  Stamp stamp;
  stamp.left = static_cast<int>(box.left * scale), stamp.top = static_cast<int>(box.top * scale);
  stamp.width = static_cast<int>(std::ceil((box.left + box.width) * scale)) - stamp.left;
  stamp.height = static_cast<int>(std::ceil((box.top + box.height) * scale)) - stamp.top;
  stamp.coverage.resize(static_cast<size_t>(stamp.width) * stamp.height);
  for (int y = 0; y < stamp.height; ++y)
    for (int x = 0; x < stamp.width; ++x)
      stamp.coverage[static_cast<size_t>(y) * stamp.width + x] =
          static_cast<uint8_t>(Coverage(outline, stamp.left + x, stamp.top + y, scale));
  return stamp;
}

// The outline moved by whole modules to the top left module, and how far:
// outlines equal there cover the same pixels of their modules.
std::pair<Outline, std::array<int, 2>> AtOrigin(Outline outline) {
  const double dx = std::floor(outline.box.left), dy = std::floor(outline.box.top);
  outline.box.left -= dx, outline.box.top -= dy;
  if (outline.hasHole) outline.hole.left -= dx, outline.hole.top -= dy;
  return {outline, {static_cast<int>(dx), static_cast<int>(dy)}};
}

using StampKey = std::array<double, 17>;

StampKey KeyOf(const Outline& outline) {
  const RoundedBox &b = outline.box, &h = outline.hole;
  return {b.left, b.top, b.width, b.height, b.radius[0], b.radius[1], b.radius[2], b.radius[3],
          outline.hasHole ? 1.0 : 0.0, h.left, h.top, h.width, h.height, h.radius[0], h.radius[1], h.radius[2],
          h.radius[3]};
}

// The stamps of one drawing.
class Stamps {
 public:
  explicit Stamps(int scale) : scale_(scale) {}
  const Stamp& Of(const Outline& atOrigin) {
    auto [at, made] = stamps_.try_emplace(KeyOf(atOrigin));
    if (made) at->second = MakeStamp(atOrigin, scale_);
    return at->second;
  }

 private:
  int scale_;
  std::map<StampKey, Stamp> stamps_;
};

// The outline in `paint`, antialiased, over what the image holds.
void FillOutline(RgbaImage& image, const Outline& outline, int scale, const Paint& paint, Stamps& stamps) {
  const auto [atOrigin, modules] = AtOrigin(outline);
  const Stamp& stamp = stamps.Of(atOrigin);
  const int left = stamp.left + modules[0] * scale, top = stamp.top + modules[1] * scale;
  for (int y = std::max(0, top); y < std::min(image.height, top + stamp.height); ++y)
    for (int x = std::max(0, left); x < std::min(image.width, left + stamp.width); ++x) {
      const uint8_t coverage = stamp.coverage[static_cast<size_t>(y - top) * stamp.width + (x - left)];
      if (coverage == 0) continue;
      uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
      const Rgb colour = paint.At(x, y, scale);
      Put(image, x, y, Blend({colour.red, colour.green, colour.blue, coverage}, {p[0], p[1], p[2], p[3]}));
    }
}

// The dark modules in the style's shapes, the finder patterns as eyes.
void DrawShapedModules(RgbaImage& image, const ModuleMatrix& drawn, const ImageOptions& options) {
  const SymbolStyle& style = options.style;
  const SymbolOutlines outlines = OutlineSymbol(drawn, style, options.quietZone);
  Paint modules{style.foreground, style.foreground2.value_or(style.foreground)};
  if (style.HasGradient()) modules = {modules.from, modules.to, style.gradient, GradientOver(drawn, options.quietZone)};
  const Paint eyes = style.eyeColour ? Paint{*style.eyeColour, *style.eyeColour} : modules;
  Stamps stamps(options.scale);
  for (const Outline& outline : outlines.modules) FillOutline(image, outline, options.scale, modules, stamps);
  for (const Outline& outline : outlines.eyes) FillOutline(image, outline, options.scale, eyes, stamps);
}

// The symbol and its quiet zone, without a frame.
RgbaImage RenderSymbolArea(const ModuleMatrix& matrix, const ImageOptions& options) {
  const int scale = options.scale, quiet = options.quietZone;
  RgbaImage image{(matrix.Columns() + 2 * quiet) * scale, (matrix.Rows() + 2 * quiet) * scale, {}};
  image.pixels.resize(static_cast<size_t>(image.width) * image.height * 4);
  const Rgba background = BackgroundOf(options.style), foreground = Opaque(options.style.foreground);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) Put(image, x, y, background);
  const LogoPlacement* placement = options.logo.get();
  const ModuleMatrix drawn = placement ? MatrixUnderLogo(matrix, *placement) : matrix;
  if (options.style.HasShapes()) DrawShapedModules(image, drawn, options);
  else
    for (int y = 0; y < drawn.Rows(); ++y)
      for (int x = 0; x < drawn.Columns(); ++x)
        if (drawn.IsDark(x, y)) FillModule(image, x + quiet, y + quiet, scale, foreground);
  if (!placement || !placement->logo) return image;
  DrawLogo(image, *placement, quiet, scale);
  return image;
}

// The frame in its colour around `symbol`, the caption on the band in the
// background's colour. A caption that cannot be shaped leaves the band
// plain; the writers refuse it before they draw (CheckImage).
RgbaImage FrameSymbol(const RgbaImage& symbol, const FrameLayout& layout, const SymbolStyle& style, int scale) {
  RgbaImage framed{layout.width * scale, layout.height * scale, {}};
  framed.pixels.resize(static_cast<size_t>(framed.width) * framed.height * 4);
  const Rgba frame = Opaque(style.FrameColour());
  for (int y = 0; y < framed.height; ++y)
    for (int x = 0; x < framed.width; ++x) Put(framed, x, y, frame);
  const int left = layout.symbolLeft * scale, top = layout.symbolTop * scale;
  for (int y = 0; y < symbol.height; ++y)
    std::copy_n(&symbol.pixels[static_cast<size_t>(y) * symbol.width * 4], symbol.width * 4,
                &framed.pixels[(static_cast<size_t>(top + y) * framed.width + left) * 4]);
  const ShapedCaption caption = ShapeCaption(style.frameText);
  if (!caption.outline) return framed;
  const std::vector<uint8_t> coverage = CaptionCoverage(
      *caption.outline, PlaceCaption(*caption.outline, layout), scale, framed.width, framed.height);
  const Rgb text = SolidBackground(style);
  for (int y = 0; y < framed.height; ++y)
    for (int x = 0; x < framed.width; ++x)
      if (const uint8_t c = coverage[static_cast<size_t>(y) * framed.width + x])
        Put(framed, x, y, Blend({text.red, text.green, text.blue, c}, frame));
  return framed;
}

}  // namespace

LogoFrame LogoFrameIn(int padWidth, int padHeight, const RgbaImage& logo) {
  const double roomWidth = padWidth - 1.0, roomHeight = padHeight - 1.0;
  if (logo.Empty() || roomWidth <= 0 || roomHeight <= 0) return {0.5, 0.5, std::max(roomWidth, 0.0), std::max(roomHeight, 0.0)};
  const double ratio = static_cast<double>(logo.width) / logo.height;
  const double width = std::min(roomWidth, roomHeight * ratio), height = std::min(roomHeight, roomWidth / ratio);
  return {0.5 + (roomWidth - width) / 2, 0.5 + (roomHeight - height) / 2, width, height};
}

ModuleMatrix MatrixUnderLogo(const ModuleMatrix& matrix, const LogoPlacement& placement) {
  ModuleMatrix cleared = matrix;
  for (int y = 0; y < placement.mask.height; ++y)
    for (int x = 0; x < placement.mask.width; ++x)
      if (placement.mask.Clears(x, y)) cleared.SetDark(placement.column + x, placement.row + y, false);
  return cleared;
}

RgbaImage RenderStyledSymbol(const ModuleMatrix& matrix, const ImageOptions& options) {
  const FrameLayout layout = LayOutFrame(options.style, matrix.Columns(), matrix.Rows(), options.quietZone);
  RgbaImage symbol = RenderSymbolArea(matrix, options);
  if (!layout.Framed()) return symbol;
  return FrameSymbol(symbol, layout, options.style, options.scale);
}

RgbaImage RenderLogoPad(const ModuleMatrix& matrix, const ImageOptions& options) {
  return CropLogoPad(RenderSymbolArea(matrix, options), options);
}

RgbaImage CropLogoPad(const RgbaImage& rendered, const ImageOptions& options) {
  const LogoPlacement& placement = *options.logo;
  const int scale = options.scale, quiet = options.quietZone;
  const int width = placement.mask.width * scale, height = placement.mask.height * scale;
  const int left = (placement.column + quiet) * scale, top = (placement.row + quiet) * scale;
  RgbaImage crop{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 4, 0)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (OnClearedModule(placement, left + x, top + y, quiet, scale))
        std::copy_n(&rendered.pixels[(static_cast<size_t>(top + y) * rendered.width + left + x) * 4], 4,
                    &crop.pixels[(static_cast<size_t>(y) * width + x) * 4]);
  return crop;
}

std::vector<uint8_t> CompositeRgb(const RgbaImage& image, Rgb background) {
  std::vector<uint8_t> rgb(static_cast<size_t>(image.width) * image.height * 3);
  const Rgba under = Opaque(background);
  for (size_t i = 0, n = rgb.size() / 3; i < n; ++i) {
    const uint8_t* p = &image.pixels[i * 4];
    const Rgba mixed = Blend({p[0], p[1], p[2], p[3]}, under);
    rgb[i * 3] = mixed.red;
    rgb[i * 3 + 1] = mixed.green;
    rgb[i * 3 + 2] = mixed.blue;
  }
  return rgb;
}

std::vector<uint8_t> CompositeGrey(const RgbaImage& image, Rgb background) {
  const std::vector<uint8_t> rgb = CompositeRgb(image, background);
  std::vector<uint8_t> grey(rgb.size() / 3);
  for (size_t i = 0; i < grey.size(); ++i)
    grey[i] = static_cast<uint8_t>((299 * rgb[i * 3] + 587 * rgb[i * 3 + 1] + 114 * rgb[i * 3 + 2] + 500) / 1000);
  return grey;
}

}  // namespace quillet
