#include "image/PixelRows.h"
#include "image/StyledImage.h"
#include "image/Writers.h"

namespace quillet {

namespace {

constexpr uint32_t FileHeaderBytes = 14;
constexpr uint32_t InfoHeaderBytes = 40;
constexpr uint32_t PaletteBytes = 2 * 4;

void AppendColour(std::string& out, Rgb colour) {
  out += static_cast<char>(colour.blue);
  out += static_cast<char>(colour.green);
  out += static_cast<char>(colour.red);
}

// Two palette entries, blue green red reserved: 0 the dark modules, 1 the
// light ones (black and white unless styled).
void AppendPalette(std::string& out, const SymbolStyle& style) {
  AppendColour(out, style.foreground);
  out += '\0';
  AppendColour(out, SolidBackground(style));
  out += '\0';
}

void AppendHeaders(std::string& out, int width, int height, int bits, uint32_t pixelBytes, int dpi) {
  const uint32_t offset = FileHeaderBytes + InfoHeaderBytes + (bits == 1 ? PaletteBytes : 0);
  out.reserve(out.size() + offset + pixelBytes);
  out += "BM";
  AppendLittleEndian(out, offset + pixelBytes, 4);
  AppendLittleEndian(out, 0, 4);
  AppendLittleEndian(out, offset, 4);
  AppendLittleEndian(out, InfoHeaderBytes, 4);
  AppendLittleEndian(out, static_cast<uint32_t>(width), 4);
  AppendLittleEndian(out, static_cast<uint32_t>(height), 4);
  AppendLittleEndian(out, 1, 2);  // planes
  AppendLittleEndian(out, static_cast<uint32_t>(bits), 2);
  AppendLittleEndian(out, 0, 4);  // no compression
  AppendLittleEndian(out, pixelBytes, 4);
  AppendLittleEndian(out, PixelsPerMetre(dpi), 4);
  AppendLittleEndian(out, PixelsPerMetre(dpi), 4);
  AppendLittleEndian(out, bits == 1 ? 2 : 0, 4);  // colours used
  AppendLittleEndian(out, 0, 4);                  // all important
}

// A symbol with a logo: 24 bits a pixel, blue green red, on the background
// (BMP keeps no transparency: a clear background is written white).
ImageResult WritePictureBmp(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  const RgbaImage image = RenderStyledSymbol(matrix, options);
  const std::vector<uint8_t> rgb = CompositeRgb(image, SolidBackground(options.style));
  const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * 3 + 3) / 4 * 4;
  AppendHeaders(out, image.width, image.height, 24, rowBytes * static_cast<uint32_t>(image.height), options.dpi);
  for (int y = image.height - 1; y >= 0; --y) {
    const uint8_t* row = &rgb[static_cast<size_t>(y) * image.width * 3];
    for (int x = 0; x < image.width; ++x) AppendColour(out, {row[x * 3], row[x * 3 + 1], row[x * 3 + 2]});
    out.append(rowBytes - static_cast<uint32_t>(image.width) * 3, '\0');
  }
  return {};
}

}  // namespace

// One bit a pixel, rows bottom-up, each padded to four bytes.
ImageResult WriteBmp(const ModuleMatrix& matrix, const ImageOptions& options, std::string& out) {
  if (options.NeedsPicture()) return WritePictureBmp(matrix, options, out);
  PixelRows rows(matrix, options);
  const uint32_t rowBytes = (static_cast<uint32_t>(rows.Width()) + 31) / 32 * 4;
  const uint32_t pixelBytes = rowBytes * static_cast<uint32_t>(rows.Height());
  AppendHeaders(out, rows.Width(), rows.Height(), 1, pixelBytes, options.dpi);
  AppendPalette(out, options.style);
  const size_t packedBytes = static_cast<size_t>(rows.Width() + 7) / 8;
  for (int y = rows.Height() - 1; y >= 0; --y) {
    out.append(reinterpret_cast<const char*>(rows.PackedRow(y)), packedBytes);
    out.append(rowBytes - packedBytes, '\0');
  }
  return {};
}

}  // namespace quillet
