#include "symbol/ModuleMatrix.h"

#include "datamatrix/DmEncoder.h"
#include "qr/QrCodeEncoder.h"

namespace quillet {

ModuleMatrix::ModuleMatrix(int columns, int rows)
    : columns_(columns > 0 && rows > 0 ? columns : 0),
      rows_(columns > 0 && rows > 0 ? rows : 0),
      cells_(static_cast<size_t>(columns_) * rows_, 0) {}

ModuleMatrix ModuleMatrix::FromDm(const DmModuleGrid& grid) {
  ModuleMatrix matrix(grid.Columns(), grid.Rows());
  for (int x = 0; x < matrix.Columns(); ++x)
    for (int y = 0; y < matrix.Rows(); ++y) matrix.SetDark(x, y, grid.IsDark(x, y));
  return matrix;
}

ModuleMatrix ModuleMatrix::FromQr(const CQrCodeEncoder& encoder) {
  // Version 0 means nothing was encoded yet: no symbol.
  if (encoder.Version < 1 || encoder.Side() > CQrCodeEncoder::MaxSide) return ModuleMatrix();
  ModuleMatrix matrix(encoder.Side(), encoder.Side());
  for (int x = 0; x < matrix.Columns(); ++x)
    for (int y = 0; y < matrix.Rows(); ++y) matrix.SetDark(x, y, encoder.IsDark(x, y));
  return matrix;
}

}  // namespace quillet
