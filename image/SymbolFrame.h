// A frame around a symbol and its quiet zone, with a band holding a caption
// ("扫一扫，加我为联系人"), as the "scan me" frames of web generators: a
// border one module wide and the band in the frame colour, the caption in
// the background's colour on the band (white when the background is
// transparent). The geometry is in whole modules, so that every format
// draws the same frame and raster files keep whole pixels a module.
#pragma once

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "image/SymbolStyle.h"

namespace quillet {

// The font a caption is drawn in; the package depends on it.
constexpr std::string_view CaptionFontFamily = "WenQuanYi Zen Hei";
// Characters, not bytes: a caption is a line under a symbol, not a paragraph.
constexpr int MaxCaptionCharacters = 64;
// The most a caption takes in UTF-8, four bytes a character: what a store bounds it by.
constexpr size_t MaxCaptionBytes = 4 * MaxCaptionCharacters;

constexpr int FrameBorderModules = 1;
// The band is about a fifth of the framed side, never thinner than this.
constexpr int MinCaptionBandModules = 4;
constexpr int CaptionBandShareDivisor = 5;

// In modules, from the framed image's top left. Without a frame the symbol
// and its quiet zone are the whole image.
struct FrameLayout {
  int width = 0, height = 0;          // the whole image
  int symbolLeft = 0, symbolTop = 0;  // where the quiet zone's top left corner goes
  int symbolWidth = 0, symbolHeight = 0;
  int bandTop = 0, bandHeight = 0;    // 0 high without a frame
  bool Framed() const { return bandHeight > 0; }
};

// Inline: the print module lays out frames too, and sees none of the program's symbols.
inline FrameLayout LayOutFrame(const SymbolStyle& style, int columns, int rows, int quiet) {
  FrameLayout layout;
  layout.symbolWidth = layout.width = columns + 2 * quiet;
  layout.symbolHeight = layout.height = rows + 2 * quiet;
  if (!style.HasFrame()) return layout;
  const int border = FrameBorderModules;
  layout.bandHeight = std::max(MinCaptionBandModules, (layout.symbolWidth + 2 * border) / CaptionBandShareDivisor);
  layout.width = layout.symbolWidth + 2 * border;
  // The band takes the place of the border on its side.
  layout.height = layout.symbolHeight + border + layout.bandHeight;
  layout.symbolLeft = border;
  const bool above = style.framePosition == FramePosition::Above;
  layout.symbolTop = above ? layout.bandHeight : border;
  layout.bandTop = above ? 0 : border + layout.symbolHeight;
  return layout;
}

enum class CaptionProblem {
  None,
  TooLong,           // subject: the number of characters
  ControlCharacter,  // subject: the character as U+XXXX
  NotUtf8,
  NoFont,            // subject: the family asked for
  MissingCharacter,  // subject: the character the font lacks
  NeedsShaping,      // subject: the first character of a script CheckCaptionScript refuses
  NoPrintModule,     // subject: the loader's words
};

struct CaptionCheck {
  CaptionProblem problem = CaptionProblem::None;
  std::string subject;
  bool Ok() const { return problem == CaptionProblem::None; }
};

// Whether `text` may be a caption: UTF-8, at most MaxCaptionCharacters, no
// control characters (a line break has no place in one line).
CaptionCheck CheckCaptionText(std::string_view text);

// The caption `text` makes: without the blanks around it (spaces, tabs,
// U+3000 and the other white space), which draw nothing but would push the
// visible text off the band's centre and shrink it. Empty for a text of only
// blanks: no caption, so no frame. Bytes that are no UTF-8 are kept, for
// CheckCaptionText to refuse.
std::string TrimCaption(std::string_view text);

// A caption's glyphs are laid one after another in the text's order, with
// no shaping: scripts written right to left, or whose letters join,
// reorder or stack (Arabic, Hebrew, Devanagari and the other Indic scripts,
// Thai, Tibetan, Khmer, ...), would come out wrong, so they are refused.
// `text` is UTF-8 (CheckCaptionText).
CaptionCheck CheckCaptionScript(std::string_view text);

// The character at byte `at` of `text` and its length in bytes; 0 for no
// UTF-8 (a stray continuation byte, an overlong form, a surrogate, beyond U+10FFFF).
int NextCharacter(std::string_view text, size_t at, char32_t* character);
// "U+00E9": how a character no font or line takes is named.
std::string CodePointName(char32_t character);

// A glyph outline as the font gives it: moves, lines, cubic curves (three
// points) and closes, in units of the font size, y down from the baseline.
struct PathStep {
  enum Kind : uint8_t { Move, Line, Curve, Close } kind = Move;
  std::array<double, 6> xy{};
};

struct CaptionOutline {
  std::vector<PathStep> steps;
  double left = 0, top = 0, right = 0, bottom = 0;  // the ink's box
};

struct ShapedCaption {
  CaptionCheck check;
  std::shared_ptr<const CaptionOutline> outline;  // set when the check holds
};

// The caption's glyphs in CaptionFontFamily, from the print module (cairo
// and fontconfig); refused when the font is not installed or lacks a
// character, rather than drawn as empty boxes. Remembered for the next symbol.
ShapedCaption ShapeCaption(std::string_view text);

// Where the caption goes in the band: module = (x · size + left, y · size + baseline).
struct CaptionPlacement {
  double size = 0, left = 0, baseline = 0;
  double X(double x) const { return x * size + left; }
  double Y(double y) const { return y * size + baseline; }
};
CaptionPlacement PlaceCaption(const CaptionOutline& outline, const FrameLayout& layout);

// The caption's coverage of each pixel of an image `width` x `height`,
// `scale` pixels a module: 0..255, nonzero winding, antialiased.
std::vector<uint8_t> CaptionCoverage(const CaptionOutline& outline, const CaptionPlacement& placement, int scale,
                                     int width, int height);

// Feeds a path builder (Move, Line, Curve, Close, in modules) the placed caption.
template <typename Path>
void TraceCaption(const CaptionOutline& outline, const CaptionPlacement& at, Path& path) {
  for (const PathStep& step : outline.steps) {
    const auto& p = step.xy;
    switch (step.kind) {
      case PathStep::Move: path.Move(at.X(p[0]), at.Y(p[1])); break;
      case PathStep::Line: path.Line(at.X(p[0]), at.Y(p[1])); break;
      case PathStep::Curve:
        path.Curve(at.X(p[0]), at.Y(p[1]), at.X(p[2]), at.Y(p[3]), at.X(p[4]), at.Y(p[5]));
        break;
      case PathStep::Close: path.Close(); break;
    }
  }
}

}  // namespace quillet
