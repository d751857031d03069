// First half of an encoding: mode choice, the bit stream, version choice and
// the data codewords.
#pragma once

#include "qr/QrCodeEncoder.h"
#include "qr/QrStandard.h"

#include <array>
#include <cstdint>

namespace qr {

enum class Mode { Numeric, Alphanumeric, Byte };

// Data bits of each level and version (entry 0 unused): 8 x data codewords.
inline constexpr auto DataBitCapacity = [] {
  std::array<std::array<int32_t, MaxVersion + 1>, LevelCount> table{};
  for (int level = 0; level < LevelCount; ++level)
    for (int v = 1; v <= MaxVersion; ++v) table[level][v] = 8 * DataCodewords(v, level);
  return table;
}();

// Bits added to the base width of the character count at a version.
constexpr int CountWidthExtra(Mode mode, int version) {
  if (version <= 9) return 0;
  if (mode == Mode::Byte) return 8;
  return version <= 26 ? 2 : 4;
}

Mode ChooseMode(const uint8_t* data, int32_t length);

// Bits of the whole segment with the base count width (T).
int64_t SegmentBits(Mode mode, int64_t length);

// Smallest version whose capacity at `level` holds the segment, or 0.
int SmallestFittingVersion(Mode mode, int level, int64_t segmentBits);

// Rewrites `stream` with the segment's entries, the count already at the
// width of `version`, and the terminator for `capacityBits`.
void BuildBitStream(CQrCodeEncoder::BitStreamEntries& stream, Mode mode, const uint8_t* data, int32_t length,
                    int version, int capacityBits);

// Packs the entries into `capacityBits` / 8 codewords, padding with 0xEC, 0x11, ...
void PackCodewords(const CQrCodeEncoder::BitStreamEntries& stream, int capacityBits, uint8_t* codewords);

}  // namespace qr
