// What every raster writer needs: the saved image's size and its pixel rows,
// black or white, built one module row at a time. Internal to image/.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/ImageFormats.h"

namespace quillet {

class PixelRows {
 public:
  PixelRows(const ModuleMatrix& matrix, const ImageOptions& options);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Pixel row y, one byte per pixel: 1 dark, 0 light. Valid until the next call.
  const uint8_t* Row(int y);
  // Pixel row y packed eight pixels a byte, the leftmost in the high bit, a
  // set bit for a *light* pixel (so palette or grey index 0 is black); the
  // last byte is padded with light bits. (Width() + 7) / 8 bytes.
  const uint8_t* PackedRow(int y);

 private:
  // The module row a pixel row falls in, or -1 in the quiet zone.
  int ModuleRowOf(int y) const;

  const ModuleMatrix& matrix_;
  int scale_;
  int quiet_;
  int width_;
  int height_;
  int builtModuleRow_ = -2;
  std::vector<uint8_t> pixels_;
  std::vector<uint8_t> packed_;
  int packedModuleRow_ = -2;
};

// Appends the bytes of a little-endian integer of `size` bytes.
void AppendLittleEndian(std::string& out, uint32_t value, int size);

// Pixels per metre at `dpi`, rounded, as BMP and PNG record resolution.
uint32_t PixelsPerMetre(int dpi);

}  // namespace quillet
