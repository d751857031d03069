// A styled symbol as pixels: what the raster writers write, what the
// read-back decodes and what the desktop preview shows.
#pragma once

#include "image/ImageFormats.h"

namespace quillet {

// The symbol with its quiet zone at the options' scale, in the style's
// colours, transparent where the background is, with the logo on its pad,
// in its frame when the style has one.
RgbaImage RenderStyledSymbol(const ModuleMatrix& matrix, const ImageOptions& options);

// Where the logo lies in its pad's box, in modules from the box's corner:
// the box less a rim of half a module, which keeps it apart from the modules
// around the pad, its ratio kept, centred.
struct LogoFrame {
  double left = 0, top = 0, width = 0, height = 0;
};
LogoFrame LogoFrameIn(int padWidth, int padHeight, const RgbaImage& logo);

// The matrix with the logo's pad cleared to light modules: what the vector
// writers draw as modules before the pad's picture.
ModuleMatrix MatrixUnderLogo(const ModuleMatrix& matrix, const LogoPlacement& placement);

// The pad's box cut out of a rendered symbol (without its frame), clear on
// the modules it does not clear: the picture the vector writers place over the pad.
RgbaImage CropLogoPad(const RgbaImage& rendered, const ImageOptions& options);
// The symbol drawn without its frame, and its pad cut out.
RgbaImage RenderLogoPad(const ModuleMatrix& matrix, const ImageOptions& options);

// The image on `background` (alpha folded in): 8-bit RGB, three bytes a pixel.
std::vector<uint8_t> CompositeRgb(const RgbaImage& image, Rgb background);

// The same as 8-bit grey, the luma of the gamma-encoded colours, as a camera sees them.
std::vector<uint8_t> CompositeGrey(const RgbaImage& image, Rgb background);

// What a transparent background is shown on where a format cannot keep it.
inline Rgb SolidBackground(const SymbolStyle& style) { return style.transparentBackground ? White : style.background; }

}  // namespace quillet
