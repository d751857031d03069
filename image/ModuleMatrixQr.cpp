#include "image/ModuleMatrix.h"
#include "qr/QrCodeEncoder.h"

namespace {
constexpr int QrStride = 177;
constexpr int MaxQrVersion = 40;
}  // namespace

ModuleMatrix ModuleMatrix::FromQr(const CQrCodeEncoder& encoder) {
  // Version 0 means nothing was encoded yet: no symbol.
  if (encoder.Version < 1 || encoder.Version > MaxQrVersion) return ModuleMatrix();
  const int side = 17 + 4 * encoder.Version;
  ModuleMatrix matrix(side, side);
  for (int x = 0; x < side; ++x)
    for (int y = 0; y < side; ++y) matrix.SetDark(x, y, encoder.Modules[x * QrStride + y] == 1);
  return matrix;
}
