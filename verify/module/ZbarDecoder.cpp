// zbar apart: its C++ header and zxing-cpp's cannot share a file.
#include <zbar.h>

#include "verify/module/Decoders.h"

using namespace zbar;  // its C functions live in this namespace when included from C++

std::optional<std::string> DecodeWithZbar(const GreyPixels& image, int lineSpacing) {
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
  std::optional<std::string> bytes;
  if (zbar_scan_image(scanner, frame) > 0)
    if (const zbar_symbol_t* symbol = zbar_image_first_symbol(frame))
      bytes = std::string(zbar_symbol_get_data(symbol), zbar_symbol_get_data_length(symbol));
  zbar_image_destroy(frame);
  zbar_image_scanner_destroy(scanner);
  return bytes;
}
