// zbar apart: its C++ header and zxing-cpp's cannot share a file.
#include <zbar.h>

#include <cstdint>
#include <vector>

namespace quillet {

int ZbarScan(const std::vector<uint8_t>& pixels, int width, int height) {
  zbar::ImageScanner scanner;
  scanner.set_config(zbar::ZBAR_NONE, zbar::ZBAR_CFG_ENABLE, 0);
  scanner.set_config(zbar::ZBAR_QRCODE, zbar::ZBAR_CFG_ENABLE, 1);
  zbar::Image image(static_cast<unsigned>(width), static_cast<unsigned>(height), "Y800", pixels.data(), pixels.size());
  return scanner.scan(image);
}

}  // namespace quillet
