#include "image/StyledImage.h"
#include "image/Writers.h"

namespace quillet {

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

void AppendColourCode(std::string& out, int layer, const uint8_t* pixel) {
  // Clear pixels leave the terminal's own background.
  if (pixel[3] < 128) {
    out += layer == 38 ? "\x1b[39m" : "\x1b[49m";
    return;
  }
  out += "\x1b[" + std::to_string(layer) + ";2;" + std::to_string(pixel[0]) + ";" + std::to_string(pixel[1]) + ";" +
         std::to_string(pixel[2]) + "m";
}

// A styled symbol in the terminal's 24-bit colours, one module a pixel, two
// rows a line: the upper in the character's colour, the lower behind it. The
// colours are the style's own, so one drawing serves dark and light terminals.
std::string ColouredText(const ModuleMatrix& matrix, const ImageOptions& options) {
  ImageOptions pixelPerModule = options;
  pixelPerModule.scale = 1;
  // No caption is legible at a character a module: the terminal shows the symbol without its frame.
  pixelPerModule.style.frameText.clear();
  const RgbaImage image = RenderStyledSymbol(matrix, pixelPerModule);
  const auto pixel = [&](int x, int y) { return &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4]; };
  static constexpr uint8_t Clear[4] = {0, 0, 0, 0};
  std::string out;
  for (int y = 0; y < image.height; y += 2) {
    for (int x = 0; x < image.width; ++x) {
      AppendColourCode(out, 38, pixel(x, y));
      AppendColourCode(out, 48, y + 1 < image.height ? pixel(x, y + 1) : Clear);
      out += HalfBlocks[2];
    }
    out += "\x1b[0m\n";
  }
  return out;
}

}  // namespace

ImageResult WriteHalfBlockText(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  if (!options.IsPlain()) {
    out += ColouredText(matrix, options);
    return {};
  }
  out += HalfBlockText(matrix, options.quietZone, true);
  return {};
}

ImageResult WriteInverseHalfBlockText(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  if (!options.IsPlain()) return WriteHalfBlockText(matrix, options, out);
  out += HalfBlockText(matrix, options.quietZone, false);
  return {};
}

}  // namespace quillet
