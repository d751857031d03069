#include "app/SymbolImage.h"

#include <cstring>
#include <vector>

#include "image/ImageFormats.h"

namespace quillet {

namespace {

constexpr uint8_t BlackByte = 0;
constexpr uint8_t WhiteByte = 255;

// One pixel row of module row y: quiet zone, modules, quiet zone.
void RenderModuleRow(const ModuleMatrix& matrix, int y, int scale, int quietModules, uint8_t* row) {
  uint8_t* out = row + static_cast<size_t>(quietModules) * scale;
  for (int x = 0; x < matrix.Columns(); ++x, out += scale) std::memset(out, matrix.IsDark(x, y) ? BlackByte : WhiteByte, scale);
}

}  // namespace

QImage RenderSymbol(const ModuleMatrix& matrix, int scale, int quietModules) {
  if (matrix.Empty() || scale < MinScale || scale > MaxScale || quietModules < 0) return {};
  const int width = (matrix.Columns() + 2 * quietModules) * scale;
  const int height = (matrix.Rows() + 2 * quietModules) * scale;
  QImage image(width, height, QImage::Format_Grayscale8);
  if (image.isNull()) return {};
  uint8_t* bits = image.bits();
  const qsizetype stride = image.bytesPerLine();
  const qsizetype quietBytes = static_cast<qsizetype>(quietModules) * scale * stride;
  // The quiet rows are white; every module row is rendered once and copied
  // to its `scale` pixel rows.
  std::memset(bits, WhiteByte, quietBytes);
  std::memset(bits + (height * stride - quietBytes), WhiteByte, quietBytes);
  std::vector<uint8_t> row(static_cast<size_t>(stride), WhiteByte);
  for (int y = 0; y < matrix.Rows(); ++y) {
    RenderModuleRow(matrix, y, scale, quietModules, row.data());
    uint8_t* first = bits + static_cast<qsizetype>((y + quietModules) * scale) * stride;
    for (int line = 0; line < scale; ++line) std::memcpy(first + line * stride, row.data(), row.size());
  }
  return image;
}

QImage ToQImage(const RgbaImage& image) {
  if (image.Empty()) return {};
  const QImage view(image.pixels.data(), image.width, image.height, image.width * 4, QImage::Format_RGBA8888);
  return view.copy();
}

}  // namespace quillet
