// What the encoder needs of one version and level, derived once from the
// store's tables into the shapes its hot loops want: working-cell offsets
// instead of coordinates, remainder rows padded for 8-byte exclusive-or,
// the frame in column order.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace quillet {

namespace qr {

// One working line: up to 177 modules plus zeroed room for 8-byte reads past its end.
constexpr int LineStride = 192;
constexpr int RemainderRowStride = 32;

struct EncodePlan {
  int Version = 0;
  int Side = 0;
  int TotalCodewords = 0;
  int DataCodewords = 0;
  int DataModules = 0;  // S: codeword bits plus remainder bits
  int EcPerBlock = 0;
  std::vector<uint16_t> BlockDataSizes;
  std::vector<uint16_t> ColumnCells;  // per entry: x * LineStride + y
  std::vector<uint16_t> RowCells;     // per entry: y * LineStride + x
  std::vector<uint8_t> MaskBits;
  std::array<uint16_t, 15> FormatCells{};  // second copy, as x * LineStride + y
  const uint8_t* RemainderRows = nullptr;  // 256 rows of RemainderRowStride bytes; row 0 is zero
  const uint8_t* Frame = nullptr;          // Side * Side bytes, x * Side + y, 1 where the frame is dark
};

// The plan of (version, level), or null when a table is missing or malformed.
const EncodePlan* FindEncodePlan(int version, int level);

}  // namespace qr

}  // namespace quillet
