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

// Walks the box's edge clockwise from the end of its top left corner:
// path.Line(x, y) draws a straight edge to (x, y), path.Corner(cx, cy, r,
// quarter, x, y) a quarter circle about (cx, cy) that starts at angle
// quarter·90° (0 pointing right, turning clockwise, as y grows down) and ends
// at (x, y); path.Close() ends the box.
template <typename Path>
void TraceBox(const RoundedBox& b, Path& path) {
  const double right = b.left + b.width, bottom = b.top + b.height;
  const auto& r = b.radius;
  path.Move(b.left + r[0], b.top);
  path.Line(right - r[1], b.top);
  if (r[1] > 0) path.Corner(right - r[1], b.top + r[1], r[1], 3, right, b.top + r[1]);
  path.Line(right, bottom - r[2]);
  if (r[2] > 0) path.Corner(right - r[2], bottom - r[2], r[2], 0, right - r[2], bottom);
  path.Line(b.left + r[3], bottom);
  if (r[3] > 0) path.Corner(b.left + r[3], bottom - r[3], r[3], 1, b.left, bottom - r[3]);
  path.Line(b.left, b.top + r[0]);
  if (r[0] > 0) path.Corner(b.left + r[0], b.top + r[0], r[0], 2, b.left + r[0], b.top);
  path.Close();
}

template <typename Path>
void TraceOutline(const Outline& outline, Path& path) {
  TraceBox(outline.box, path);
  if (outline.hasHole) TraceBox(outline.hole, path);  // filled even-odd, the hole stays clear
}

// The top left modules of a QR Code's three finder patterns; none for a
// matrix without them (Data Matrix).
std::vector<std::array<int, 2>> FinderCorners(const ModuleMatrix& matrix);

// The dark modules of `drawn` in the style's module shape, the finder
// patterns left out and drawn as eyes; `quiet` modules shift everything.
SymbolOutlines OutlineSymbol(const ModuleMatrix& drawn, const SymbolStyle& style, int quiet);

// Where a gradient runs over the symbol, quiet zone left out, in module
// units: a linear one from (x0, y0), the top left corner, to (x1, y1), the
// bottom right; a radial one from the centre between them out to `radius`,
// the corners. Every output paints it from these, so that all look alike.
struct GradientLine {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0, radius = 0;
};
GradientLine GradientOver(const ModuleMatrix& matrix, int quiet);

// How far along the gradient the point (x, y) lies: 0 at the foreground's
// end, 1 at the second colour's.
double GradientShare(Gradient gradient, const GradientLine& line, double x, double y);

// The colour a share of the way from `from` to `to`, channel by channel, as
// SVG and PDF readers mix a gradient's stops.
Rgb MixColour(Rgb from, Rgb to, double share);

}  // namespace quillet
