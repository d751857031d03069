#include "image/SymbolOutlines.h"

#include <algorithm>
#include <cmath>

namespace quillet {

namespace {

constexpr int FinderSide = 7;

// Dark ring, light ring, dark 3 x 3 centre.
bool IsFinderAt(const ModuleMatrix& matrix, int left, int top) {
  for (int y = 0; y < FinderSide; ++y)
    for (int x = 0; x < FinderSide; ++x) {
      const int ring = std::min({x, y, FinderSide - 1 - x, FinderSide - 1 - y});
      if (matrix.IsDark(left + x, top + y) != (ring != 1)) return false;
    }
  return true;
}

bool InFinder(const std::vector<std::array<int, 2>>& corners, int x, int y) {
  for (const auto& [left, top] : corners)
    if (x >= left && x < left + FinderSide && y >= top && y < top + FinderSide) return true;
  return false;
}

bool DarkAt(const ModuleMatrix& matrix, int x, int y) {
  return x >= 0 && y >= 0 && x < matrix.Columns() && y < matrix.Rows() && matrix.IsDark(x, y);
}

RoundedBox Box(double left, double top, double side, double radius) {
  return {left, top, side, side, {radius, radius, radius, radius}};
}

// The radii of an eye's outer ring, its hole and its centre, in modules.
struct EyeRadii {
  double outer, hole, centre;
};

EyeRadii RadiiOf(EyeShape shape) {
  switch (shape) {
    case EyeShape::Rounded: return {2.0, 1.0, 0.9};
    case EyeShape::Circle: return {3.5, 2.5, 1.5};
    case EyeShape::Square: break;
  }
  return {0, 0, 0};
}

void AddEyes(const std::vector<std::array<int, 2>>& corners, EyeShape shape, int quiet, SymbolOutlines& outlines) {
  const EyeRadii radii = RadiiOf(shape);
  for (const auto& [left, top] : corners) {
    const double x = left + quiet, y = top + quiet;
    outlines.eyes.push_back({Box(x, y, 7, radii.outer), true, Box(x + 1, y + 1, 5, radii.hole)});
    outlines.eyes.push_back({Box(x + 2, y + 2, 3, radii.centre), false, {}});
  }
}

// A run of dark modules as one box: its end corners rounded where no
// neighbour above or below meets them, so that neighbours join.
Outline RunBox(const ModuleMatrix& matrix, int x, int y, int length, bool rounded, int quiet) {
  Outline run{{static_cast<double>(x + quiet), static_cast<double>(y + quiet), static_cast<double>(length), 1, {}}};
  if (!rounded) return run;
  const int last = x + length - 1;
  const auto corner = [&](int column, int row) { return DarkAt(matrix, column, row) ? 0.0 : 0.5; };
  run.box.radius = {corner(x, y - 1), corner(last, y - 1), corner(last, y + 1), corner(x, y + 1)};
  return run;
}

void AddModules(const ModuleMatrix& matrix, const std::vector<std::array<int, 2>>& corners, ModuleShape shape,
                int quiet, SymbolOutlines& outlines) {
  const double inset = (1 - DotDiameter) / 2;
  for (int y = 0; y < matrix.Rows(); ++y)
    for (int x = 0; x < matrix.Columns();) {
      if (!matrix.IsDark(x, y) || InFinder(corners, x, y)) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < matrix.Columns() && matrix.IsDark(x, y) && !InFinder(corners, x, y)) ++x;
      if (shape != ModuleShape::Dots) {
        outlines.modules.push_back(RunBox(matrix, start, y, x - start, shape == ModuleShape::Rounded, quiet));
        continue;
      }
      // Without finder patterns (Data Matrix) the L of the left column and
      // bottom row stays solid: zxing-cpp finds the symbol by its straight edges.
      for (int column = start; column < x; ++column)
        if (corners.empty() && (column == 0 || y == matrix.Rows() - 1))
          outlines.modules.push_back(RunBox(matrix, column, y, 1, false, quiet));
        else
          outlines.modules.push_back({Box(column + quiet + inset, y + quiet + inset, DotDiameter, DotDiameter / 2)});
    }
}

}  // namespace

bool RoundedBox::Contains(double x, double y) const {
  if (x < left || y < top || x >= left + width || y >= top + height) return false;
  const double right = left + width, bottom = top + height;
  const double cornerX[4] = {left + radius[0], right - radius[1], right - radius[2], left + radius[3]};
  const double cornerY[4] = {top + radius[0], top + radius[1], bottom - radius[2], bottom - radius[3]};
  for (int k = 0; k < 4; ++k) {
    const bool outsideX = k == 0 || k == 3 ? x < cornerX[k] : x > cornerX[k];
    const bool outsideY = k < 2 ? y < cornerY[k] : y > cornerY[k];
    if (outsideX && outsideY) {
      const double dx = x - cornerX[k], dy = y - cornerY[k];
      return dx * dx + dy * dy <= radius[k] * radius[k];
    }
  }
  return true;
}

std::vector<std::array<int, 2>> FinderCorners(const ModuleMatrix& matrix) {
  const int side = matrix.Columns();
  // QR Code's sides are odd (17 + 4·version), Data Matrix's even.
  if (side != matrix.Rows() || side < 21 || side % 2 == 0) return {};
  const std::vector<std::array<int, 2>> corners{{0, 0}, {side - FinderSide, 0}, {0, side - FinderSide}};
  for (const auto& [left, top] : corners)
    if (!IsFinderAt(matrix, left, top)) return {};
  return corners;
}

SymbolOutlines OutlineSymbol(const ModuleMatrix& drawn, const SymbolStyle& style, int quiet) {
  SymbolOutlines outlines;
  const std::vector<std::array<int, 2>> corners = FinderCorners(drawn);
  AddEyes(corners, style.eyeShape, quiet, outlines);
  AddModules(drawn, corners, style.moduleShape, quiet, outlines);
  return outlines;
}

GradientLine GradientOver(const ModuleMatrix& matrix, int quiet) {
  const double columns = matrix.Columns(), rows = matrix.Rows();
  return {quiet + 0.0, quiet + 0.0, quiet + columns, quiet + rows, std::hypot(columns, rows) / 2};
}

double GradientShare(Gradient gradient, const GradientLine& line, double x, double y) {
  const double dx = line.x1 - line.x0, dy = line.y1 - line.y0;
  double share = 0;
  if (gradient == Gradient::Linear && dx * dx + dy * dy > 0)
    share = ((x - line.x0) * dx + (y - line.y0) * dy) / (dx * dx + dy * dy);
  else if (gradient == Gradient::Radial && line.radius > 0)
    share = std::hypot(x - (line.x0 + line.x1) / 2, y - (line.y0 + line.y1) / 2) / line.radius;
  return std::clamp(share, 0.0, 1.0);
}

Rgb MixColour(Rgb from, Rgb to, double share) {
  const auto mix = [share](uint8_t a, uint8_t b) { return static_cast<uint8_t>(std::lround(a + (b - a) * share)); };
  return {mix(from.red, to.red), mix(from.green, to.green), mix(from.blue, to.blue)};
}

}  // namespace quillet
