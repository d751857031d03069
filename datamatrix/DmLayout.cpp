// Symbol layout: each data region framed by a solid line on its left and
// bottom and an alternating line on its top and right.
#include <array>

#include "datamatrix/DmEncoder.h"
#include "datamatrix/DmInternal.h"
#include "datamatrix/DmModules.h"

namespace {

using dm::AxisCell;

// `fromFarSide` runs from the solid edge: rows from the bottom, columns from the
// left. `fromData` runs the way the data area is stored: rows from the top.
AxisCell Classify(int fromSolidSide, int fromDataStart, int period) {
  if (fromSolidSide % period == 0) return {AxisCell::SolidLine, 0};
  if ((fromSolidSide + 1) % period == 0) return {AxisCell::AlternatingLine, 0};
  return {AxisCell::Data, fromDataStart - 2 * (fromDataStart / period) - 1};
}

struct Frame {
  int rows, columns;           // symbol
  int regionHeight, regionWidth;  // data region plus its two lines
  int areaColumns;
};

Frame FrameOf(int sizeIndex) {
  return {DmSizeAttribute(sizeIndex, SymbolRows), DmSizeAttribute(sizeIndex, SymbolColumns),
          DmSizeAttribute(sizeIndex, DataRegionRows) + 2, DmSizeAttribute(sizeIndex, DataRegionColumns) + 2,
          DmSizeAttribute(sizeIndex, DataAreaColumns)};
}

AxisCell RowCell(const Frame& f, int row) { return Classify(row, f.rows - 1 - row, f.regionHeight); }
AxisCell ColumnCell(const Frame& f, int col) { return Classify(col, col, f.regionWidth); }

// Solid lines win over alternating ones, row lines over column lines.
int Status(const AxisCell& r, const AxisCell& c, int row, int col, const uint8_t* modules, int areaColumns) {
  if (r.kind == AxisCell::SolidLine || c.kind == AxisCell::SolidLine) return dm::kDarkModule;
  if (r.kind == AxisCell::AlternatingLine) return col % 2 == 0 ? dm::kDarkModule : 0;
  if (c.kind == AxisCell::AlternatingLine) return row % 2 == 0 ? dm::kDarkModule : 0;
  return (modules[r.dataIndex * areaColumns + c.dataIndex] & dm::kDarkModule) | dm::kFromDataArea;
}

}  // namespace

int DmModuleAt(int sizeIndex, const DmSymbolBuffers& buffers, int row, int column) {
  const Frame f = FrameOf(sizeIndex);
  if (row < 0 || row >= f.rows || column < 0 || column >= f.columns) return 0;
  return Status(RowCell(f, row), ColumnCell(f, column), row, column, buffers.modules.data(), f.areaColumns);
}

namespace dm {

int GridValue(int status) { return (status & kDarkModule) ? 0 : 255; }

// The whole grid at once: each axis classified once, not per module, and the
// data modules, most of the symbol, read without going through the frame rules.
void FillGrid(int sizeIndex, const DmSymbolBuffers& buffers, DmModuleGrid& grid) {
  const Frame f = FrameOf(sizeIndex);
  std::array<AxisCell, 144> rowCells;  // by row from the top
  for (int y = 0; y < f.rows; ++y) rowCells[y] = RowCell(f, f.rows - 1 - y);
  const uint8_t* modules = buffers.modules.data();
  for (int x = 0; x < f.columns; ++x) {
    const AxisCell c = ColumnCell(f, x);
    int32_t* column = grid.Column(x);
    for (int y = 0; y < f.rows; ++y) {
      const AxisCell& r = rowCells[y];
      column[y] = r.kind == AxisCell::Data && c.kind == AxisCell::Data
                      ? GridValue(modules[r.dataIndex * f.areaColumns + c.dataIndex])
                      : GridValue(Status(r, c, f.rows - 1 - y, x, modules, f.areaColumns));
    }
  }
}

}  // namespace dm
