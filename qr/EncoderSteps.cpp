#include "qr/EncoderSteps.h"

#include "qr/QrCodeEncoder.h"
#include "qr/QrStandard.h"

#include <cstring>

namespace quillet {

namespace qr {

namespace {

constexpr uint8_t FormatCopy1Columns[15] = {0, 1, 2, 3, 4, 5, 7, 8, 8, 8, 8, 8, 8, 8, 8};
constexpr uint8_t FormatCopy1Rows[15] = {8, 8, 8, 8, 8, 8, 8, 8, 7, 5, 4, 3, 2, 1, 0};

void Xor32(uint8_t* target, const uint8_t* row) {
  for (int i = 0; i < RemainderRowStride; i += 8) {
    uint64_t a, b;
    std::memcpy(&a, target + i, 8);
    std::memcpy(&b, row + i, 8);
    a ^= b;
    std::memcpy(target + i, &a, 8);
  }
}

}  // namespace

// Divides each block by the generator with the remainder rows; row 0 of the
// padded rows is zero, so a zero leading byte needs no test.
void AppendErrorCorrection(const EncodePlan& plan, uint8_t* sequence) {
  const uint8_t* data = sequence;
  uint8_t* ec = sequence + plan.DataCodewords;
  uint8_t reg[256 + RemainderRowStride + 1];
  for (const uint16_t blockData : plan.BlockDataSizes) {
    std::memcpy(reg, data, blockData);
    std::memset(reg + blockData, 0, RemainderRowStride + 1);
    for (int i = 0; i < blockData; ++i) Xor32(reg + i + 1, plan.RemainderRows + reg[i] * RemainderRowStride);
    std::memcpy(ec, reg + blockData, plan.EcPerBlock);
    data += blockData;
    ec += plan.EcPerBlock;
  }
}

// One pass places every bit under all eight masks at once.
void PlaceModules(const EncodePlan& plan, const uint8_t* sequence, uint8_t* columns, uint8_t* rows) {
  const uint16_t* columnCells = plan.ColumnCells.data();
  const uint16_t* rowCells = plan.RowCells.data();
  const uint8_t* maskBits = plan.MaskBits.data();
  int e = 0;
  for (int w = 0; w < plan.TotalCodewords; ++w) {
    const unsigned codeword = sequence[w];
    for (int j = 0; j < 8; ++j, ++e) {
      const uint8_t value = maskBits[e] ^ static_cast<uint8_t>(0u - (codeword >> (7 - j) & 1u));
      columns[columnCells[e]] = value;
      rows[rowCells[e]] = value;
    }
  }
  for (; e < plan.DataModules; ++e) {
    columns[columnCells[e]] = maskBits[e];
    rows[rowCells[e]] = maskBits[e];
  }
}

void WriteFormatInformation(const EncodePlan& plan, int level, int mask, uint8_t* columns) {
  const uint16_t format = FormatInformation(level, mask);
  for (int k = 0; k < 15; ++k) {
    const uint8_t value = (format >> (14 - k) & 1) ? 0xFF : 0x00;
    columns[FormatCopy1Columns[k] * LineStride + FormatCopy1Rows[k]] = value;
    columns[plan.FormatCells[k]] = value;
  }
}

void WriteFinalMatrix(const EncodePlan& plan, const uint8_t* columns, int mask, uint8_t* modules) {
  const int side = plan.Side;
  std::memset(modules, 0, CQrCodeEncoder::MaxSide * CQrCodeEncoder::MaxSide);
  for (int x = 0; x < side; ++x) {
    const uint8_t* cells = columns + x * LineStride;
    const uint8_t* frame = plan.Frame + x * side;
    uint8_t* out = modules + x * CQrCodeEncoder::MaxSide;
    for (int y = 0; y < side; ++y) out[y] = static_cast<uint8_t>((cells[y] >> mask & 1) | frame[y]);
  }
}

}  // namespace qr

}  // namespace quillet
