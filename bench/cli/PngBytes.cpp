// PNG bytes of our writer for one text at a version and scale: of our own
// symbol, and of the very symbol libqrencode makes (so that the writers are
// compared on equal pixels; the mask chosen changes how well a symbol packs).
// Usage: png_bytes TEXT VERSION SCALE   prints "ours_symbol ours_on_libqrencode_symbol"
#include <qrencode.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "image/ImageFormats.h"
#include "qr/QrCodeEncoder.h"

namespace {

size_t PngBytes(const ModuleMatrix& matrix, int scale) {
  ImageOptions options;
  options.scale = scale;
  std::string bytes;
  return EncodeImage(matrix, *FindFormatByName("png"), options, bytes).Ok() ? bytes.size() : 0;
}

ModuleMatrix Ours(const std::string& text, int version) {
  auto encoder = std::make_unique<CQrCodeEncoder>();
  encoder->SetErrorCorrectionLevel("M");
  encoder->Version = version;
  if (encoder->EncodeData(text.data(), static_cast<int32_t>(text.size())) != 0) return {};
  return ModuleMatrix::FromQr(*encoder);
}

ModuleMatrix Theirs(const std::string& text, int version) {
  QRcode* code = QRcode_encodeString8bit(text.c_str(), version, QR_ECLEVEL_M);
  if (code == nullptr) return {};
  ModuleMatrix matrix(code->width, code->width);
  for (int y = 0; y < code->width; ++y)
    for (int x = 0; x < code->width; ++x) matrix.SetDark(x, y, code->data[y * code->width + x] & 1);
  QRcode_free(code);
  return matrix;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: png_bytes TEXT VERSION SCALE\n");
    return 1;
  }
  const std::string text = argv[1];
  const int version = std::atoi(argv[2]), scale = std::atoi(argv[3]);
  std::printf("%zu %zu\n", PngBytes(Ours(text, version), scale), PngBytes(Theirs(text, version), scale));
  return 0;
}
