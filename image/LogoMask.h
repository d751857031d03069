// The one home of a logo pad's modules: its box follows the logo's aspect
// ratio, and the shape pad clears only the modules under the logo's opaque
// pixels plus a margin of one. The bound counts these modules, and every
// writer clears and draws on exactly them.
#pragma once

#include "image/SymbolStyle.h"
#include "qr/LogoBound.h"

namespace quillet {

// A banner wider than this (or a logo taller) keeps its ratio inside a pad
// of this ratio, with room to spare across it: a pad one module high says
// nothing a scanner can see.
constexpr double MaxLogoAspect = 4.0;

// A pixel of the logo counts as opaque above this alpha; fainter ones (a
// soft shadow, the fringe of a smoothed edge) are drawn where a cleared
// module lets them, but clear none.
constexpr int LogoOpaqueAlpha = 64;

// The pad of `style`'s logo whose longer side is `longSide` modules: the
// shorter side the odd number nearest the logo's ratio, at least MinLogoPad
// (or the longer side when it is smaller); a square box without a logo.
PadMask LogoPadMask(const SymbolStyle& style, int longSide);
PadMaskFor LogoPadMasks(const SymbolStyle& style);

}  // namespace quillet
