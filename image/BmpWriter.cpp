#include "image/PixelRows.h"
#include "image/Writers.h"

namespace {

constexpr uint32_t FileHeaderBytes = 14;
constexpr uint32_t InfoHeaderBytes = 40;
constexpr uint32_t PaletteBytes = 2 * 4;

// Two palette entries, blue green red reserved: 0 black, 1 white.
void AppendPalette(std::string& out) {
  out.append(4, '\0');
  out.append(3, '\xFF');
  out += '\0';
}

}  // namespace

// One bit a pixel, rows bottom-up, each padded to four bytes.
ImageResult WriteBmp(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  PixelRows rows(matrix, options);
  const uint32_t rowBytes = (static_cast<uint32_t>(rows.Width()) + 31) / 32 * 4;
  const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(rows.Height());
  const uint32_t offset = FileHeaderBytes + InfoHeaderBytes + PaletteBytes;
  out.reserve(out.size() + offset + pixelBytes);
  out += "BM";
  AppendLittleEndian(out, offset + pixelBytes, 4);
  AppendLittleEndian(out, 0, 4);
  AppendLittleEndian(out, offset, 4);
  AppendLittleEndian(out, InfoHeaderBytes, 4);
  AppendLittleEndian(out, static_cast<uint32_t>(rows.Width()), 4);
  AppendLittleEndian(out, static_cast<uint32_t>(rows.Height()), 4);
  AppendLittleEndian(out, 1, 2);  // planes
  AppendLittleEndian(out, 1, 2);  // bits per pixel
  AppendLittleEndian(out, 0, 4);  // no compression
  AppendLittleEndian(out, pixelBytes, 4);
  AppendLittleEndian(out, PixelsPerMetre(options.dpi), 4);
  AppendLittleEndian(out, PixelsPerMetre(options.dpi), 4);
  AppendLittleEndian(out, 2, 4);  // colours used
  AppendLittleEndian(out, 0, 4);  // all important
  AppendPalette(out);
  const size_t packedBytes = static_cast<size_t>(rows.Width() + 7) / 8;
  for (int y = rows.Height() - 1; y >= 0; --y) {
    out.append(reinterpret_cast<const char*>(rows.PackedRow(y)), packedBytes);
    out.append(rowBytes - packedBytes, '\0');
  }
  return {};
}
