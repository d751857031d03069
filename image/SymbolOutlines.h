// A styled symbol's dark parts as outlines in module units, quiet zone
// included: what the raster drawing covers pixel by pixel and the vector
// writers draw as paths, so that every format draws the same shapes.
#pragma once

#include <array>
#include <vector>

#include "image/SymbolStyle.h"
#include "symbol/ModuleMatrix.h"

namespace quillet {

// A rectangle with its corners rounded, top left, top right, bottom right,
// bottom left; a circle is a square whose radii are half its side.
struct RoundedBox {
  double left = 0, top = 0, width = 0, height = 0;
  std::array<double, 4> radius{};
  bool Contains(double x, double y) const;
};

// A box, less the hole inside it when it has one (an eye's ring).
struct Outline {
  RoundedBox box;
  bool hasHole = false;
  RoundedBox hole{};
  bool Contains(double x, double y) const { return box.Contains(x, y) && !(hasHole && hole.Contains(x, y)); }
};

struct SymbolOutlines {
  std::vector<Outline> modules;  // in the foreground
  std::vector<Outline> eyes;     // in the eye colour
};

// The top left modules of a QR Code's three finder patterns; none for a
// matrix without them (Data Matrix).
std::vector<std::array<int, 2>> FinderCorners(const ModuleMatrix& matrix);

// The dark modules of `drawn` in the style's module shape, the finder
// patterns left out and drawn as eyes; `quiet` modules shift everything.
SymbolOutlines OutlineSymbol(const ModuleMatrix& drawn, const SymbolStyle& style, int quiet);

}  // namespace quillet
