#include "tests/support/Decode.h"

#include <ZXing/ReadBarcode.h>

#include <vector>

// Read by LeakSanitizer in sanitizer builds: fontconfig keeps 288 bytes of its
// first configuration substitution unreachable for the life of the process
// (once, not per call); label sheets look up their caption font through it.
// Every test program that decodes links this file.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

std::optional<std::string> DecodeImage(const uint8_t* pixels, int width, int height, DecodeFormat format, bool pure) {
  ZXing::DecodeHints hints;
  hints.setFormats(format == DecodeFormat::QrCode ? ZXing::BarcodeFormat::QRCode : ZXing::BarcodeFormat::DataMatrix);
  hints.setTryHarder(true);
  hints.setTryRotate(false);
  hints.setIsPure(pure);
  hints.setBinarizer(ZXing::Binarizer::FixedThreshold);
  const ZXing::ImageView view(pixels, width, height, ZXing::ImageFormat::Lum);
  const ZXing::Result result = ZXing::ReadBarcode(view, hints);
  if (!result.isValid()) return std::nullopt;
  const auto& bytes = result.bytes();
  return std::string(bytes.begin(), bytes.end());
}

std::optional<std::string> DecodeModules(int columns, int rows, const std::function<bool(int, int)>& isDark,
                                         DecodeFormat format, int scale, int quiet) {
  const int width = (columns + 2 * quiet) * scale;
  const int height = (rows + 2 * quiet) * scale;
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height, 255);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x) {
      if (!isDark(x, y)) continue;
      for (int py = 0; py < scale; ++py)
        for (int px = 0; px < scale; ++px)
          pixels[static_cast<size_t>((y + quiet) * scale + py) * width + (x + quiet) * scale + px] = 0;
    }
  if (auto pure = DecodeImage(pixels.data(), width, height, format, true)) return pure;
  return DecodeImage(pixels.data(), width, height, format);
}
