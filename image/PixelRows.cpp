#include "image/PixelRows.h"

#include <cmath>
#include <cstring>

PixelRows::PixelRows(const ModuleMatrix& matrix, const ImageOptions& options)
    : matrix_(matrix),
      scale_(options.scale),
      quiet_(options.quietZone),
      width_((matrix.Columns() + 2 * options.quietZone) * options.scale),
      height_((matrix.Rows() + 2 * options.quietZone) * options.scale),
      pixels_(static_cast<size_t>(width_)),
      packed_(static_cast<size_t>(width_ + 7) / 8) {}

int PixelRows::ModuleRowOf(int y) const {
  const int row = y / scale_ - quiet_;
  return row >= 0 && row < matrix_.Rows() ? row : -1;
}

const uint8_t* PixelRows::Row(int y) {
  // The `scale` pixel rows of one module row are equal: build each once.
  const int moduleRow = ModuleRowOf(y);
  if (moduleRow == builtModuleRow_) return pixels_.data();
  builtModuleRow_ = moduleRow;
  std::memset(pixels_.data(), 0, pixels_.size());
  if (moduleRow < 0) return pixels_.data();
  uint8_t* out = pixels_.data() + static_cast<size_t>(quiet_) * scale_;
  for (int x = 0; x < matrix_.Columns(); ++x, out += scale_)
    if (matrix_.IsDark(x, moduleRow)) std::memset(out, 1, static_cast<size_t>(scale_));
  return pixels_.data();
}

const uint8_t* PixelRows::PackedRow(int y) {
  const int moduleRow = ModuleRowOf(y);
  if (moduleRow == packedModuleRow_) return packed_.data();
  packedModuleRow_ = moduleRow;
  const uint8_t* pixels = Row(y);
  std::memset(packed_.data(), 0xFF, packed_.size());
  for (int x = 0; x < width_; ++x)
    if (pixels[x]) packed_[static_cast<size_t>(x) / 8] &= static_cast<uint8_t>(~(0x80u >> (x % 8)));
  return packed_.data();
}

void AppendLittleEndian(std::string& out, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint32_t PixelsPerMetre(int dpi) { return static_cast<uint32_t>(std::lround(dpi / 0.0254)); }
