#include "image/Writers.h"

namespace {

// Indexed by (upper drawn) * 2 + (lower drawn).
constexpr std::string_view HalfBlocks[] = {" ", "\u2584", "\u2580", "\u2588"};

bool IsLight(const ModuleMatrix& matrix, int quiet, int x, int y) {
  const int column = x - quiet, row = y - quiet;
  const bool inside = column >= 0 && row >= 0 && column < matrix.Columns() && row < matrix.Rows();
  return !inside || !matrix.IsDark(column, row);
}

// Blocks where modules are light (`drawLight`) or dark; the rest is the
// terminal's own background, which must be the other shade.
std::string HalfBlockText(const ModuleMatrix& matrix, int quiet, bool drawLight) {
  const int columns = matrix.Columns() + 2 * quiet, rows = matrix.Rows() + 2 * quiet;
  const auto drawn = [&](int x, int y) { return IsLight(matrix, quiet, x, y) == drawLight; };
  std::string out;
  for (int y = 0; y < rows; y += 2) {
    for (int x = 0; x < columns; ++x) {
      // Below an odd last row the background shows.
      const bool lowerDrawn = y + 1 < rows && drawn(x, y + 1);
      out += HalfBlocks[drawn(x, y) * 2 + lowerDrawn];
    }
    out += '\n';
  }
  return out;
}

}  // namespace

ImageResult WriteHalfBlockText(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  out += HalfBlockText(matrix, options.quietZone, true);
  return {};
}

ImageResult WriteInverseHalfBlockText(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  out += HalfBlockText(matrix, options.quietZone, false);
  return {};
}
