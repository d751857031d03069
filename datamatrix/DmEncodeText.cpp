// The whole pipeline from text to module grid.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "datamatrix/DmEncoder.h"
#include "datamatrix/DmInternal.h"

DmModuleGrid::DmModuleGrid(int columns, int rows)
    : columns_(columns), rows_(rows), cells_(new int32_t[static_cast<size_t>(columns) * rows]) {}

namespace {

std::unique_ptr<DmSymbolBuffers> MakeBuffers(int sizeIndex, const uint8_t* data) {
  auto buffers = std::make_unique<DmSymbolBuffers>();
  const int dataCount = DmSizeAttribute(sizeIndex, DataCapacity);
  buffers->modules.resize(static_cast<size_t>(DmSizeAttribute(sizeIndex, DataAreaRows)) *
                          DmSizeAttribute(sizeIndex, DataAreaColumns));
  buffers->codewords.resize(dataCount + DmSizeAttribute(sizeIndex, EccCodewords));
  std::memcpy(buffers->codewords.data(), data, dataCount);
  return buffers;
}

void StoreSize(DmEncodeParams& params, int sizeIndex, std::unique_ptr<DmSymbolBuffers> buffers) {
  params.sizeIndex = sizeIndex;
  params.symbolRows = DmSizeAttribute(sizeIndex, SymbolRows);
  params.symbolColumns = DmSizeAttribute(sizeIndex, SymbolColumns);
  params.dataAreaRows = DmSizeAttribute(sizeIndex, DataAreaRows);
  params.dataAreaColumns = DmSizeAttribute(sizeIndex, DataAreaColumns);
  params.buffers = std::move(buffers);
}

void ReportAllocationFailure(int error) {
  std::fprintf(stderr, "Calloc failed: %s\n", std::strerror(error != 0 ? error : ENOMEM));
}

}  // namespace

std::unique_ptr<DmModuleGrid> DmEncodeText(const uint8_t* text, int length, DmEncodeParams& params, int& size) {
  uint8_t data[DmCodewordBufferSize];
  int count = dm::EncodeDataForSize(text, length, params.scheme, size, data);
  const int sizeIndex = DmChooseSize(size, count);
  if (sizeIndex < 0) return nullptr;
  DmPadCodewords(data, count, DmSizeAttribute(sizeIndex, DataCapacity));
  errno = 0;
  try {
    auto buffers = MakeBuffers(sizeIndex, data);
    DmAppendEcc(sizeIndex, *buffers);
    DmPlaceCodewords(sizeIndex, buffers->modules.data(), buffers->codewords.data());
    auto grid = std::make_unique<DmModuleGrid>(DmSizeAttribute(sizeIndex, SymbolColumns),
                                               DmSizeAttribute(sizeIndex, SymbolRows));
    dm::FillGrid(sizeIndex, *buffers, *grid);
    StoreSize(params, sizeIndex, std::move(buffers));
    size = grid->Rows();
    return grid;
  } catch (const std::bad_alloc&) {
    ReportAllocationFailure(errno);
    return nullptr;
  }
}
