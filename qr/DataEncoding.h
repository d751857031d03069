// First half of an encoding: mode choice, the bit stream, version choice and
// the data codewords.
#pragma once

#include "qr/QrCodeEncoder.h"
#include "qr/QrStandard.h"

#include <array>
#include <cstdint>

namespace quillet {

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

struct ModeFacts {
  int indicator;
  int baseCountWidth;
};
constexpr ModeFacts FactsOf(Mode mode) {
  switch (mode) {
    case Mode::Numeric: return {1, 10};
    case Mode::Alphanumeric: return {2, 9};
    case Mode::Byte: break;
  }
  return {4, 8};
}

constexpr int CountWidth(Mode mode, int version) { return FactsOf(mode).baseCountWidth + CountWidthExtra(mode, version); }

bool IsDigit(uint8_t byte);
bool HasAlphanumericValue(uint8_t byte);

Mode ChooseMode(const uint8_t* data, int32_t length);

// Bits of the whole segment with the base count width (T).
constexpr int64_t SegmentBits(Mode mode, int64_t length) {
  int64_t dataBits = 8 * length;
  if (mode == Mode::Numeric) dataBits = 10 * (length / 3) + (length % 3 == 2 ? 7 : length % 3 == 1 ? 4 : 0);
  if (mode == Mode::Alphanumeric) dataBits = 11 * (length / 2) + 6 * (length % 2);
  return 4 + FactsOf(mode).baseCountWidth + dataBits;
}

// Smallest version whose capacity at `level` holds the segment, or 0.
int SmallestFittingVersion(Mode mode, int level, int64_t segmentBits);

// Rewrites `stream` with the segment's entries, the count already at the
// width of `version`, and the terminator for `capacityBits`.
void BuildBitStream(CQrCodeEncoder::BitStreamEntries& stream, Mode mode, const uint8_t* data, int32_t length,
                    int version, int capacityBits);

// Appends one segment's entries (indicator, count at the width of `version`, data).
void AppendSegment(CQrCodeEncoder::BitStreamEntries& stream, Mode mode, const uint8_t* data, int32_t length,
                   int version);

// Appends the terminator: up to 4 zero bits, as many as `capacityBits` leaves after `usedBits`.
void AppendTerminator(CQrCodeEncoder::BitStreamEntries& stream, int64_t usedBits, int capacityBits);

// Packs the entries into `capacityBits` / 8 codewords, padding with 0xEC, 0x11, ...
void PackCodewords(const CQrCodeEncoder::BitStreamEntries& stream, int capacityBits, uint8_t* codewords);

}  // namespace qr

}  // namespace quillet
