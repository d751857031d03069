// Facts of ISO/IEC 18004 (QR Code, Model 2) that the symbol tables and the
// encoder's own small tables are derived from.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillet {

namespace qr {

constexpr int MaxVersion = 40;
// Tables are indexed by the format indicator (0 M, 1 L, 2 H, 3 Q); QrLevel
// (qr/QrLevel.h) names the levels.
constexpr int LevelCount = 4;
constexpr int MaskCount = 8;

constexpr int SideOf(int version) { return 17 + 4 * version; }

// Error-correction characteristics, indexed [level index][version - 1].
inline constexpr std::array<std::array<uint8_t, MaxVersion>, LevelCount> EcCodewordsPerBlockTable{{
    {10, 16, 26, 18, 24, 16, 18, 22, 22, 26, 30, 22, 22, 24, 24, 28, 28, 26, 26, 26,
     26, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28},
    {7, 10, 15, 20, 26, 18, 20, 24, 30, 18, 20, 24, 26, 30, 22, 24, 28, 30, 28, 28,
     28, 28, 30, 30, 26, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {17, 28, 22, 16, 22, 28, 26, 26, 24, 28, 24, 28, 22, 24, 24, 30, 28, 28, 26, 28,
     30, 24, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
    {13, 22, 18, 26, 18, 24, 18, 22, 20, 24, 28, 26, 24, 20, 30, 24, 28, 28, 26, 30,
     28, 30, 30, 30, 30, 28, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30},
}};

inline constexpr std::array<std::array<uint8_t, MaxVersion>, LevelCount> BlockCountTable{{
    {1, 1, 1, 2, 2, 4, 4, 4, 5, 5, 5, 8, 9, 9, 10, 10, 11, 13, 14, 16,
     17, 17, 18, 20, 21, 23, 25, 26, 28, 29, 31, 33, 35, 37, 38, 40, 43, 45, 47, 49},
    {1, 1, 1, 1, 1, 2, 2, 2, 2, 4, 4, 4, 4, 4, 6, 6, 6, 6, 7, 8,
     8, 9, 9, 10, 12, 12, 12, 13, 14, 15, 16, 17, 18, 19, 19, 20, 21, 22, 24, 25},
    {1, 1, 2, 4, 4, 4, 5, 6, 8, 8, 11, 11, 16, 16, 18, 16, 19, 21, 25, 25,
     25, 34, 30, 32, 35, 37, 40, 42, 45, 48, 51, 54, 57, 60, 63, 66, 70, 74, 77, 81},
    {1, 1, 2, 2, 4, 4, 6, 6, 8, 8, 8, 10, 12, 16, 12, 17, 16, 18, 21, 20,
     23, 23, 25, 27, 29, 34, 34, 35, 38, 40, 43, 45, 48, 51, 53, 56, 59, 62, 65, 68},
}};

constexpr int AlignmentCentreCount(int version) { return version == 1 ? 0 : version / 7 + 2; }

// Modules left for data and remainder bits once every function pattern,
// format and version area is taken out (S = 8B + U).
constexpr int DataModuleCount(int version) {
  const int side = SideOf(version);
  int modules = side * side - 3 * 64 - 2 * (side - 16) - 31;
  const int centres = AlignmentCentreCount(version);
  if (centres > 0) {
    const int patterns = centres * centres - 3;
    const int onTiming = 2 * (centres - 2);  // those on row or column 6 cover 5 timing modules each
    modules -= 25 * patterns - 5 * onTiming;
  }
  if (version >= 7) modules -= 36;
  return modules;
}

constexpr int TotalCodewords(int version) { return DataModuleCount(version) / 8; }
constexpr int RemainderBits(int version) { return DataModuleCount(version) % 8; }

constexpr int EcCodewordsPerBlock(int version, int level) { return EcCodewordsPerBlockTable[level][version - 1]; }
constexpr int BlockCount(int version, int level) { return BlockCountTable[level][version - 1]; }
constexpr int DataCodewords(int version, int level) {
  return TotalCodewords(version) - BlockCount(version, level) * EcCodewordsPerBlock(version, level);
}

// Total codewords (data and error correction) of each block, shorter blocks first.
std::vector<int> BlockSizes(int version, int level);

// Centre coordinates of the alignment patterns, the same list for rows and columns.
std::vector<int> AlignmentCentres(int version);

// 18-bit version information: the version in 6 bits, then its BCH(18,6) remainder.
uint32_t VersionInformation(int version);

// 15-bit format information for a level index and mask reference, already masked.
uint16_t FormatInformation(int level, int mask);

// Bit m set where data mask pattern m inverts the module at (row, column).
uint8_t MaskBitsAt(int row, int column);

// GF(2^8) with the prime polynomial 0x11D.
uint8_t GfMultiply(uint8_t a, uint8_t b);

// Coefficients of the monic generator polynomial of degree `ecCount`, below
// the leading one, highest degree first.
std::vector<uint8_t> GeneratorPolynomial(int ecCount);

}  // namespace qr

}  // namespace quillet
