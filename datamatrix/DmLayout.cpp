// Symbol layout: each data region framed by a solid line on its left and
// bottom and an alternating line on its top and right.
#include <array>

#include "datamatrix/DmEncoder.h"
#include "datamatrix/DmInternal.h"
#include "datamatrix/DmModules.h"

namespace {

using dm::AxisCell;

// One coordinate given as its place within its region (0..period-1, from the
// region's top or left) and the region's number. Rows have their solid line at
// the region's end (the bottom), columns at its start (the left).
AxisCell Classify(int inRegion, int region, int period, bool solidAtStart) {
  const int solid = solidAtStart ? 0 : period - 1;
  if (inRegion == solid) return {AxisCell::SolidLine, 0};
  if (inRegion == period - 1 - solid) return {AxisCell::AlternatingLine, 0};
  return {AxisCell::Data, region * (period - 2) + inRegion - 1};
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

AxisCell RowCellFromTop(const Frame& f, int y) {
  return Classify(y % f.regionHeight, y / f.regionHeight, f.regionHeight, false);
}
AxisCell ColumnCell(const Frame& f, int x) { return Classify(x % f.regionWidth, x / f.regionWidth, f.regionWidth, true); }

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
  return Status(RowCellFromTop(f, f.rows - 1 - row), ColumnCell(f, column), row, column, buffers.modules.data(),
                f.areaColumns);
}

namespace dm {

// A table, not a branch: module values are as good as random, a branch on
// them mispredicts every other time.
constexpr std::array<int32_t, 8> kGridValues = {255, 0, 0, 0, 0, 0, 0, 0};
int32_t GridValue(int status) { return kGridValues[status & kDarkModule]; }

// Classifies 0..count-1 walking through the regions, without dividing.
void ClassifyAll(int count, int period, bool solidAtStart, AxisCell* cells) {
  for (int i = 0, inRegion = 0, region = 0; i < count; ++i) {
    cells[i] = Classify(inRegion, region, period, solidAtStart);
    if (++inRegion == period) inRegion = 0, ++region;
  }
}

// The whole grid at once: each axis classified once, not per module, and the
// data modules, most of the symbol, read without going through the frame rules.
void FillGrid(int sizeIndex, const DmSymbolBuffers& buffers, DmModuleGrid& grid) {
  const Frame f = FrameOf(sizeIndex);
  std::array<AxisCell, 144> rowCells;  // by row from the top
  std::array<AxisCell, 144> columnCells;
  ClassifyAll(f.rows, f.regionHeight, false, rowCells.data());
  ClassifyAll(f.columns, f.regionWidth, true, columnCells.data());
  const uint8_t* modules = buffers.modules.data();
  for (int x = 0; x < f.columns; ++x) {
    const AxisCell c = columnCells[x];
    int32_t* column = grid.Column(x);
    const auto frameValue = [&](int y) {
      return GridValue(Status(rowCells[y], c, f.rows - 1 - y, x, modules, f.areaColumns));
    };
    if (c.kind != AxisCell::Data) {
      for (int y = 0; y < f.rows; ++y) column[y] = frameValue(y);
      continue;
    }
    // Data rows from the top are the data area's rows in order, a region's
    // rows one run.
    const uint8_t* data = modules + c.dataIndex;
    const int run = f.regionHeight - 2;
    for (int y = 0; y < f.rows; ++y) {
      if (rowCells[y].kind != AxisCell::Data) {
        column[y] = frameValue(y);
        continue;
      }
      for (int k = 0; k < run; ++k, data += f.areaColumns) column[y + k] = GridValue(*data);
      y += run - 1;
    }
  }
}

}  // namespace dm
