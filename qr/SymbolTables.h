// Generators of the QR symbol tables: "QRV" (module path, mask bits, format
// positions and block structure per version and level), "QRSCR_FILE"
// (Reed-Solomon remainder rows per error-correction count) and "QRVFR_FILE"
// (the dark function modules of each version as text).
#pragma once

#include <cstdint>
#include <vector>

namespace quillet {

namespace qr {

inline constexpr char QrvType[] = "QRV";
inline constexpr char RemainderType[] = "QRSCR_FILE";
inline constexpr char FrameType[] = "QRVFR_FILE";

constexpr int QrvTableCount = 160;
constexpr int RemainderTableCount = 31;
constexpr int FrameTableCount = 40;

constexpr int QrvTableId(int version, int level) { return 125 + 4 * version + level; }
constexpr int FrameTableId(int version) { return 359 + version; }
constexpr int RemainderTableBaseId = 329;

// Index of the remainder table serving `ecCount` codewords per block, or -1.
constexpr int RemainderTableIndex(int ecCount) {
  constexpr int small[] = {7, 10, 13, 15, 16, 17};
  for (int i = 0; i < 6; ++i)
    if (small[i] == ecCount) return i;
  if (ecCount % 2 != 0) return -1;
  if (ecCount >= 18 && ecCount <= 36) return ecCount / 2 - 3;
  if (ecCount >= 40 && ecCount <= 68) return ecCount / 2 - 4;
  return -1;
}
constexpr int RemainderTableId(int ecCount) { return RemainderTableBaseId + RemainderTableIndex(ecCount); }

// The error-correction count served by remainder table `index` (0 to 30).
constexpr int EcCountOfRemainderTable(int index) {
  constexpr int small[] = {7, 10, 13, 15, 16, 17};
  if (index < 6) return small[index];
  return index <= 15 ? 2 * (index + 3) : 2 * (index + 4);
}

std::vector<uint8_t> BuildQrvTable(int version, int level);
std::vector<uint8_t> BuildRemainderTable(int ecCount);
std::vector<uint8_t> BuildFrameTable(int version);

}  // namespace qr

}  // namespace quillet
