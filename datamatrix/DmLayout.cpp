// Symbol layout: each data region framed by a solid line on its left and
// bottom and an alternating line on its top and right.
#include <array>
#include <atomic>
#include <cstring>
#include <mutex>

#include "datamatrix/DmEncoder.h"
#include "datamatrix/DmInternal.h"
#include "datamatrix/DmModules.h"
#include "datamatrix/DmSizeTable.h"

namespace quillet {

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

// Where a symbol module takes its state from: a line of the frame, dark or
// light, or the data-area module at `dataIndex`.
struct Source {
  bool fromData;
  uint8_t frameState;
  int dataIndex;
};

// DmModuleAt's rules. Solid lines win over alternating ones, row lines over
// column lines; `row` counts from the bottom.
Source SourceOf(const Frame& f, int row, int col) {
  const AxisCell r = RowCellFromTop(f, f.rows - 1 - row);
  const AxisCell c = ColumnCell(f, col);
  if (r.kind == AxisCell::SolidLine || c.kind == AxisCell::SolidLine) return {false, dm::kDarkModule, 0};
  if (r.kind == AxisCell::AlternatingLine) return {false, col % 2 == 0 ? dm::kDarkModule : uint8_t{0}, 0};
  if (c.kind == AxisCell::AlternatingLine) return {false, row % 2 == 0 ? dm::kDarkModule : uint8_t{0}, 0};
  return {true, 0, r.dataIndex * f.areaColumns + c.dataIndex};
}

}  // namespace

int DmModuleAt(int sizeIndex, const DmSymbolBuffers& buffers, int row, int column) {
  const Frame f = FrameOf(sizeIndex);
  if (row < 0 || row >= f.rows || column < 0 || column >= f.columns) return 0;
  const Source source = SourceOf(f, row, column);
  if (!source.fromData) return source.frameState;
  return (buffers.modules[source.dataIndex] & dm::kDarkModule) | dm::kFromDataArea;
}

namespace dm {
namespace {

// What a size's grid looks like before its data: the frame modules' values
// (data modules light), and for each data-area module, row after row, the
// grid cell it goes to. Built once per size, on first use.
struct Layouts {
  std::array<int, DmSizeCount + 1> gridStart{};
  std::array<int, DmSizeCount + 1> areaStart{};
  std::array<std::atomic<bool>, DmSizeCount> ready{};
  std::mutex building;
  std::array<int32_t, kAllSymbolModules> frames;
  std::array<uint16_t, kAllDataAreaModules> cellOf;  // 144x144 has 20736 cells
};

Layouts& AllLayouts() {
  static Layouts layouts;
  static const bool laidOut = [] {
    for (int i = 0; i < DmSizeCount; ++i) {
      const Frame f = FrameOf(i);
      layouts.gridStart[i + 1] = layouts.gridStart[i] + f.rows * f.columns;
      layouts.areaStart[i + 1] =
          layouts.areaStart[i] + DmSizeAttribute(i, DataAreaRows) * DmSizeAttribute(i, DataAreaColumns);
    }
    return true;
  }();
  (void)laidOut;
  return layouts;
}

// The symbol's frame and where each data-area module goes, by DmModuleAt's rules.
void BuildLayout(const Frame& f, int32_t* frame, uint16_t* cellOf) {
  for (int x = 0; x < f.columns; ++x)
    for (int y = 0; y < f.rows; ++y) {
      const Source source = SourceOf(f, f.rows - 1 - y, x);
      const int cell = x * f.rows + y;
      frame[cell] = source.frameState != 0 ? 0 : 255;
      if (source.fromData) cellOf[source.dataIndex] = static_cast<uint16_t>(cell);
    }
}

// The grid value of every module state. A table, not a branch: module
// values are as good as random, a branch on them mispredicts every other time.
constexpr std::array<int32_t, 256> kModuleValues = [] {
  std::array<int32_t, 256> values{};
  for (int state = 0; state < 256; ++state) values[state] = (state & kDarkModule) != 0 ? 0 : 255;
  return values;
}();

}  // namespace

// The frame copied whole, then each data module to its cell.
void FillGrid(int sizeIndex, const DmSymbolBuffers& buffers, DmModuleGrid& grid) {
  Layouts& layouts = AllLayouts();
  int32_t* frame = layouts.frames.data() + layouts.gridStart[sizeIndex];
  uint16_t* cellOf = layouts.cellOf.data() + layouts.areaStart[sizeIndex];
  if (!layouts.ready[sizeIndex].load(std::memory_order_acquire)) {
    const std::lock_guard<std::mutex> lock(layouts.building);
    if (!layouts.ready[sizeIndex].load(std::memory_order_relaxed)) {
      BuildLayout(FrameOf(sizeIndex), frame, cellOf);
      layouts.ready[sizeIndex].store(true, std::memory_order_release);
    }
  }
  int32_t* cells = grid.Column(0);
  std::memcpy(cells, frame, sizeof(int32_t) * (layouts.gridStart[sizeIndex + 1] - layouts.gridStart[sizeIndex]));
  const uint8_t* modules = buffers.modules.data();
  const int area = layouts.areaStart[sizeIndex + 1] - layouts.areaStart[sizeIndex];
  for (int d = 0; d < area; ++d) cells[cellOf[d]] = kModuleValues[modules[d]];
}

}  // namespace dm

}  // namespace quillet
