// PNG bytes of our writer for one text at a version and scale: of our own
// symbol, and of the very symbol libqrencode makes (so that the writers are
// compared on equal pixels; the mask chosen changes how well a symbol packs).
// Usage: png_bytes TEXT < CELLS, a line "VERSION SCALE QRENCODE_BYTES" per
// cell; prints a Markdown row per cell, then the largest ratio of ours to
// qrencode's bytes and the cells where ours are larger.
#include <qrencode.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "image/ImageFormats.h"
#include "qr/QrCodeEncoder.h"

using namespace quillet;

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
  if (argc != 2) {
    std::fprintf(stderr, "usage: png_bytes TEXT < CELLS   (lines: VERSION SCALE QRENCODE_BYTES)\n");
    return 1;
  }
  const std::string text = argv[1];
  int version = 0, scale = 0;
  size_t theirBytes = 0;
  double largestRatio = 0, largestOnTheirSymbol = 0;
  std::string larger;
  std::printf("| version | scale | qrencode | quillet | ratio | quillet writer on libqrencode's symbol | ratio |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  while (std::scanf("%d %d %zu", &version, &scale, &theirBytes) == 3) {
    const size_t ours = PngBytes(Ours(text, version), scale), onTheirs = PngBytes(Theirs(text, version), scale);
    const double ratio = double(ours) / double(theirBytes), ratioOnTheirs = double(onTheirs) / double(theirBytes);
    std::printf("| %d | %d | %zu | %zu | %.3f | %zu | %.3f |\n", version, scale, theirBytes, ours, ratio, onTheirs,
                ratioOnTheirs);
    largestRatio = std::max(largestRatio, ratio);
    largestOnTheirSymbol = std::max(largestOnTheirSymbol, ratioOnTheirs);
    if (ours > theirBytes) larger += " v" + std::to_string(version) + "s" + std::to_string(scale);
  }
  std::printf("\nlargest ratio to qrencode: %.3f (on libqrencode's own symbol: %.3f)\n", largestRatio,
              largestOnTheirSymbol);
  std::printf("cells where ours are larger:%s\n", larger.empty() ? " none" : larger.c_str());
  return 0;
}
