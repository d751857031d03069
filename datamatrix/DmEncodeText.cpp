// The whole pipeline from text to module grid.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "datamatrix/DmEncoder.h"
#include "datamatrix/DmInternal.h"

namespace quillet {

std::unique_ptr<DmModuleGrid> DmModuleGrid::Create(int columns, int rows) {
  static_assert(sizeof(DmModuleGrid) % alignof(int32_t) == 0);
  void* block = ::operator new(sizeof(DmModuleGrid) + sizeof(int32_t) * static_cast<size_t>(columns) * rows);
  auto* cells = reinterpret_cast<int32_t*>(static_cast<char*>(block) + sizeof(DmModuleGrid));
  return std::unique_ptr<DmModuleGrid>(new (block) DmModuleGrid(columns, rows, cells));
}

namespace {

std::unique_ptr<DmSymbolBuffers> MakeBuffers(int sizeIndex, const uint8_t* data) {
  auto buffers = std::make_unique<DmSymbolBuffers>();
  const int dataCount = DmSizeAttribute(sizeIndex, DataCapacity);
  buffers->modules.assign(static_cast<size_t>(DmSizeAttribute(sizeIndex, DataAreaRows)) *
                              DmSizeAttribute(sizeIndex, DataAreaColumns),
                          0);
  buffers->codewords.assign(dataCount + DmSizeAttribute(sizeIndex, EccCodewords), 0);
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

// The ECI codeword and the designator in one codeword (values up to 126).
constexpr int EciCodeword = 241;
constexpr int MaxOneCodewordEci = 126;

// Puts the ECI in front of the codewords. Other schemes than ASCII depend on
// where they stand (Base256's randomising, the end-of-data rules for a size),
// so they cannot move.
bool PrependEci(int eci, int scheme, uint8_t* data, int& count) {
  if (eci == 0) return true;
  // The buffer has room for two codewords more than any size holds.
  if (scheme != Ascii || eci < 0 || eci > MaxOneCodewordEci) return false;
  std::memmove(data + 2, data, count);
  data[0] = EciCodeword;
  data[1] = static_cast<uint8_t>(eci + 1);
  count += 2;
  return true;
}

void ReportAllocationFailure(int error) {
  std::fprintf(stderr, "Calloc failed: %s\n", std::strerror(error != 0 ? error : ENOMEM));
}

}  // namespace

// The encoder's failures come back as a kind in the parameters; the one
// message of this layer is the allocation failure's.
std::unique_ptr<DmModuleGrid> DmEncodeText(const uint8_t* text, int length, DmEncodeParams& params, int& size) {
  uint8_t data[DmCodewordBufferSize];
  errno = 0;
  try {
    const dm::Encoded encoded = dm::EncodeDataForSize(text, length, params.scheme, size, data);
    int count = encoded.count;
    if (count > 0 && !PrependEci(params.eci, params.scheme, data, count)) {
      params.failure = DmFailure::CannotEncode;
      return nullptr;
    }
    const int sizeIndex = DmChooseSize(size, count);
    if (sizeIndex < 0) {
      params.failure = encoded.failure != DmFailure::None ? encoded.failure : DmFailure::FitsNoSize;
      return nullptr;
    }
    DmPadCodewords(data, count, DmSizeAttribute(sizeIndex, DataCapacity));
    auto buffers = MakeBuffers(sizeIndex, data);
    DmAppendEcc(sizeIndex, *buffers);
    DmPlaceCodewords(sizeIndex, buffers->modules.data(), buffers->codewords.data());
    auto grid = DmModuleGrid::Create(DmSizeAttribute(sizeIndex, SymbolColumns), DmSizeAttribute(sizeIndex, SymbolRows));
    dm::FillGrid(sizeIndex, *buffers, *grid);
    StoreSize(params, sizeIndex, std::move(buffers));
    size = grid->Rows();
    return grid;
  } catch (const std::bad_alloc&) {
    ReportAllocationFailure(errno);
    params.failure = DmFailure::OutOfMemory;
    return nullptr;
  }
}

}  // namespace quillet
