// DmEncodeText with fuzzed scheme, size request and bytes. A success must
// name one of the thirty sizes, hold its codewords and fill its grid; a
// failure must say why. The scheme smallest must succeed with the same request
// wherever the fuzzed scheme does, in a symbol no larger.

#include "datamatrix/DmEncoder.h"
#include "tests/support/Require.h"

using namespace quillet;

namespace {

void CheckSymbol(const DmEncodeParams& params, const DmModuleGrid& grid, int requested, int rowsOut) {
  const int index = params.sizeIndex;
  Require(index >= 0 && index < DmSizeCount);
  if (requested >= 0) Require(index == requested);
  if (requested == DmSmallestSquare) Require(index < DmSquareSizeCount);
  if (requested == DmSmallestRectangle) Require(index >= DmSquareSizeCount);
  Require(params.symbolRows == DmSizeAttribute(index, SymbolRows) && rowsOut == params.symbolRows);
  Require(params.symbolColumns == DmSizeAttribute(index, SymbolColumns));
  Require(grid.Rows() == params.symbolRows && grid.Columns() == params.symbolColumns);
  Require(params.buffers && params.buffers->codewords.size() ==
                                static_cast<size_t>(DmSizeAttribute(index, DataCapacity) + DmSizeAttribute(index, EccCodewords)));
  for (int x = 0; x < grid.Columns(); ++x)
    for (int y = 0; y < grid.Rows(); ++y) Require(grid.At(x, y) == 0 || grid.At(x, y) == 255);
  // Every symbol's bottom row and left column are solid.
  for (int x = 0; x < grid.Columns(); ++x) Require(grid.IsDark(x, grid.Rows() - 1));
  for (int y = 0; y < grid.Rows(); ++y) Require(grid.IsDark(0, y));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 4000) return 0;
  const int scheme = data[0] & 7;
  const int requested = static_cast<int>(data[1] % 32) - 2;  // -2 .. 29
  DmEncodeParams params;
  params.scheme = scheme;
  int sizeInOut = requested;
  const auto grid = DmEncodeText(data + 2, static_cast<int>(size - 2), params, sizeInOut);
  if (!grid) {
    Require(sizeInOut == requested && !params.buffers && params.failure != DmFailure::None);
    return 0;
  }
  Require(scheme != DmEncodation::NoEncodation && size > 2);
  CheckSymbol(params, *grid, requested, sizeInOut);
  DmEncodeParams smallest;
  smallest.scheme = DmEncodation::Smallest;
  int smallestSize = requested;
  const auto best = DmEncodeText(data + 2, static_cast<int>(size - 2), smallest, smallestSize);
  Require(best != nullptr && smallest.sizeIndex <= params.sizeIndex);
  CheckSymbol(smallest, *best, requested, smallestSize);
  return 0;
}
