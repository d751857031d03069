// How a symbol looks beyond its modules: the colours of dark and light
// modules, a transparent background, and a logo in the middle of a QR Code.
// Without any of these a symbol is black on white and every writer's bytes
// are those of the plain symbol.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/SymbolShapes.h"
#include "qr/LogoBound.h"

namespace quillet {

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

constexpr Rgb Black{0, 0, 0};
constexpr Rgb White{255, 255, 255};

// Pixels with alpha, row after row, four bytes a pixel (red, green, blue,
// alpha), not premultiplied.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels{};
  bool Empty() const { return width <= 0 || height <= 0; }
};

// "#RRGGBB" in either case; nullopt for anything else.
std::optional<Rgb> ParseColour(std::string_view text);
// "#rrggbb".
std::string FormatColour(Rgb colour);
constexpr size_t ColourTextLength = 7;

// The logo pad's longer side as a share of the symbol's side (a square
// pad's side; a banner's width); `--logo-size` takes it
// as a fraction ("0.2"), a percentage ("20%" or "20"), or "max".
constexpr double MinLogoShare = 0.05;
constexpr double MaxLogoShare = 0.5;
// A logo whose size was not given is about what a logo on a card looks like.
constexpr double DefaultLogoShare = 0.22;
// "--logo-size max": the largest the symbol's bound allows. No share parsed
// from a number reaches it.
constexpr double LargestLogoShare = 1.0;
std::optional<double> ParseLogoShare(std::string_view text);

struct SymbolStyle {
  Rgb foreground = Black;
  Rgb background = White;
  bool transparentBackground = false;  // the background and quiet zone left clear
  // QR Code only: drawn centred on a pad of light modules.
  std::shared_ptr<const RgbaImage> logo{};
  std::optional<double> logoShare{};  // unset: DefaultLogoShare, or less when a chosen version allows less
  ModuleShape moduleShape = ModuleShape::Square;
  // QR Code only: how the three finder patterns are drawn, and in what colour
  // (unset: the foreground's).
  EyeShape eyeShape = EyeShape::Square;
  std::optional<Rgb> eyeColour{};
  // Dark modules shade from the foreground into `foreground2` (the eyes too,
  // unless they have a colour of their own); both are needed for a gradient.
  Gradient gradient = Gradient::None;
  std::optional<Rgb> foreground2{};
  // A frame around the symbol and its quiet zone, with a band holding the
  // caption (UTF-8, CheckCaptionText) in the frame colour (unset: the
  // foreground's); no frame without a caption.
  std::string frameText{};
  FramePosition framePosition = FramePosition::Below;
  std::optional<Rgb> frameColour{};
  // QR Code only: which modules of its box the logo's pad clears.
  LogoPad logoPad = LogoPad::Shape;

  bool HasColours() const { return foreground != Black || background != White || transparentBackground; }
  Rgb EyeColour() const { return eyeColour.value_or(foreground); }
  bool HasGradient() const { return gradient != Gradient::None && foreground2.has_value(); }
  // Anything that one bit a pixel cannot draw.
  bool HasShapes() const {
    return moduleShape != ModuleShape::Square || eyeShape != EyeShape::Square || EyeColour() != foreground ||
           HasGradient();
  }
  bool HasFrame() const { return !frameText.empty(); }
  Rgb FrameColour() const { return frameColour.value_or(foreground); }
  bool IsPlain() const { return !HasColours() && !HasShapes() && !logo && !HasFrame(); }
};

// WCAG 2 relative luminance (0 black .. 1 white) and contrast ratio (1..21).
double RelativeLuminance(Rgb colour);
double ContrastRatio(Rgb a, Rgb b);

// Dark modules must be darker than the light ones and stand out from them
// by at least this ratio, or a scanner's camera sees one grey.
constexpr double MinContrastRatio = 3.0;

enum class StyleFailure {
  None,
  LowContrast,  // subject: "#rrggbb on #rrggbb"
  Inverted,     // dark modules lighter than the background; subject as above
};

struct StyleCheck {
  StyleFailure failure = StyleFailure::None;
  std::string subject;
  double ratio = 0;  // the contrast ratio of the colours checked
  Rgb dark = Black;  // the dark colour checked: the foreground's, or the eye colour's
  bool Ok() const { return failure == StyleFailure::None; }
};

struct ContrastAllowance {
  bool lowContrast = false;
  bool inverted = false;
};

// A transparent background is checked as white, the paper it usually
// lands on. The eye colour is checked as the dark modules are, and so are
// both ends of a gradient, the lighter first: every colour between them
// (mixed channel by channel) is no lighter than the lighter end.
StyleCheck CheckContrast(const SymbolStyle& style, ContrastAllowance allowed = {});

// Where one symbol's logo goes: a pad whose box starts at module (column,
// row), its cleared modules light; the logo fills the box less a rim of half
// a module, its ratio kept, and is drawn on the cleared modules only.
struct LogoPlacement {
  std::shared_ptr<const RgbaImage> logo{};
  int column = 0;
  int row = 0;
  PadMask mask{};
};

}  // namespace quillet
