#include "image/PixelRows.h"

#include <cmath>
#include <cstring>

namespace quillet {

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

namespace {

// Clears `count` bits of a packed row from bit `first` on (leftmost pixel in
// the high bit): a dark module at any scale, a byte at a time.
void ClearBits(uint8_t* packed, int first, int count) {
  while (count > 0) {
    const int bit = first % 8;
    const int taken = count < 8 - bit ? count : 8 - bit;
    packed[first / 8] &= static_cast<uint8_t>(~((0xFFu >> bit) & ~(0xFFu >> (bit + taken))));
    first += taken;
    count -= taken;
  }
}

}  // namespace

const uint8_t* PixelRows::PackedRow(int y) {
  // Straight from the modules: the packed rows are what PNG and BMP files
  // take, and going through one byte per pixel would double the work.
  const int moduleRow = ModuleRowOf(y);
  if (moduleRow == packedModuleRow_) return packed_.data();
  packedModuleRow_ = moduleRow;
  std::memset(packed_.data(), 0xFF, packed_.size());
  if (moduleRow < 0) return packed_.data();
  for (int x = 0; x < matrix_.Columns(); ++x)
    if (matrix_.IsDark(x, moduleRow)) ClearBits(packed_.data(), (quiet_ + x) * scale_, scale_);
  return packed_.data();
}

void AppendLittleEndian(std::string& out, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint32_t PixelsPerMetre(int dpi) { return static_cast<uint32_t>(std::lround(dpi / 0.0254)); }

}  // namespace quillet
