#include "image/ModuleMatrix.h"

#include "datamatrix/DmEncoder.h"

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
