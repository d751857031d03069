// zbar apart: its C++ header and zxing-cpp's cannot share a file.
#include <zbar.h>

#include "verify/module/Decoders.h"

namespace quillet {

using namespace zbar;  // its C functions live in this namespace when included from C++

namespace {

// Every symbol zbar finds in the image, in its order, as bytes.
std::vector<std::string> ScanWithZbar(const GreyPixels& image, int lineSpacing) {
  zbar_image_scanner_t* scanner = zbar_image_scanner_create();
  // Debian's zbar would announce every read on the system bus, and print to
  // standard error where there is none.
  zbar_image_scanner_request_dbus(scanner, 0);
  zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 0);
  zbar_image_scanner_set_config(scanner, ZBAR_QRCODE, ZBAR_CFG_ENABLE, 1);
  zbar_image_scanner_set_config(scanner, ZBAR_QRCODE, ZBAR_CFG_BINARY, 1);
  zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_X_DENSITY, lineSpacing);
  zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_Y_DENSITY, lineSpacing);
  zbar_image_t* frame = zbar_image_create();
  zbar_image_set_format(frame, zbar_fourcc('Y', '8', '0', '0'));
  zbar_image_set_size(frame, static_cast<unsigned>(image.width), static_cast<unsigned>(image.height));
  zbar_image_set_data(frame, image.pixels.data(), image.pixels.size(), nullptr);
  std::vector<std::string> found;
  if (zbar_scan_image(scanner, frame) > 0)
    for (const zbar_symbol_t* symbol = zbar_image_first_symbol(frame); symbol; symbol = zbar_symbol_next(symbol))
      found.emplace_back(zbar_symbol_get_data(symbol), zbar_symbol_get_data_length(symbol));
  zbar_image_destroy(frame);
  zbar_image_scanner_destroy(scanner);
  return found;
}

}  // namespace

std::optional<std::string> DecodeWithZbar(const GreyPixels& image, int lineSpacing) {
  auto found = ScanWithZbar(image, lineSpacing);
  if (found.empty()) return std::nullopt;
  return std::move(found.front());
}

std::vector<FoundSymbol> FindWithZbar(const GreyPixels& image) {
  std::vector<FoundSymbol> symbols;
  for (std::string& bytes : ScanWithZbar(image, 1)) symbols.push_back({Symbology::QrCode, std::move(bytes), {}, "zbar", {}});
  return symbols;
}

}  // namespace quillet
