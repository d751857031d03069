#include "image/Writers.h"

namespace {

// Indexed by (upper light) * 2 + (lower light).
constexpr std::string_view HalfBlocks[] = {" ", "\u2584", "\u2580", "\u2588"};

bool IsLight(const ModuleMatrix& matrix, int quiet, int x, int y) {
  const int column = x - quiet, row = y - quiet;
  const bool inside = column >= 0 && row >= 0 && column < matrix.Columns() && row < matrix.Rows();
  return !inside || !matrix.IsDark(column, row);
}

}  // namespace

ImageResult WriteHalfBlockText(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  const int quiet = options.quietZone;
  const int columns = matrix.Columns() + 2 * quiet, rows = matrix.Rows() + 2 * quiet;
  for (int y = 0; y < rows; y += 2) {
    for (int x = 0; x < columns; ++x) {
      // Below an odd last row the terminal's own dark background shows.
      const bool lowerLight = y + 1 < rows && IsLight(matrix, quiet, x, y + 1);
      out += HalfBlocks[IsLight(matrix, quiet, x, y) * 2 + lowerLight];
    }
    out += '\n';
  }
  return {};
}
