// The ECC 200 symbol attribute table and every value derived from it, as
// constant data: the sizes' functions and the layouts built per size read it.
#pragma once

#include <array>

#include "datamatrix/DmEncoder.h"

namespace quillet {

namespace dm {

struct SizeRow {
  int symbolRows, symbolColumns;
  int regionRows, regionColumns, regionsAcross;
  int blocks, dataPerBlock, eccPerBlock;
};

// ECC 200 symbol attributes. For 144x144 the blocks are unequal (eight of 156
// data codewords, two of 155); its row holds the larger block.
constexpr std::array<SizeRow, DmSizeCount> kSizes = {{
    {10, 10, 8, 8, 1, 1, 3, 5},           {12, 12, 10, 10, 1, 1, 5, 7},
    {14, 14, 12, 12, 1, 1, 8, 10},        {16, 16, 14, 14, 1, 1, 12, 12},
    {18, 18, 16, 16, 1, 1, 18, 14},       {20, 20, 18, 18, 1, 1, 22, 18},
    {22, 22, 20, 20, 1, 1, 30, 20},       {24, 24, 22, 22, 1, 1, 36, 24},
    {26, 26, 24, 24, 1, 1, 44, 28},       {32, 32, 14, 14, 2, 1, 62, 36},
    {36, 36, 16, 16, 2, 1, 86, 42},       {40, 40, 18, 18, 2, 1, 114, 48},
    {44, 44, 20, 20, 2, 1, 144, 56},      {48, 48, 22, 22, 2, 1, 174, 68},
    {52, 52, 24, 24, 2, 2, 102, 42},      {64, 64, 14, 14, 4, 2, 140, 56},
    {72, 72, 16, 16, 4, 4, 92, 36},       {80, 80, 18, 18, 4, 4, 114, 48},
    {88, 88, 20, 20, 4, 4, 144, 56},      {96, 96, 22, 22, 4, 4, 174, 68},
    {104, 104, 24, 24, 4, 6, 136, 56},    {120, 120, 18, 18, 6, 6, 175, 68},
    {132, 132, 20, 20, 6, 8, 163, 62},    {144, 144, 22, 22, 6, 10, 156, 62},
    {8, 18, 6, 16, 1, 1, 5, 7},           {8, 32, 6, 14, 2, 1, 10, 11},
    {12, 26, 10, 24, 1, 1, 16, 14},       {12, 36, 10, 16, 2, 1, 22, 18},
    {16, 36, 14, 16, 2, 1, 32, 24},       {16, 48, 14, 22, 2, 1, 49, 28},
}};

constexpr int kUnequalBlocksSize = 23;   // 144x144
constexpr int kUnequalBlocksCapacity = DmMaxDataCodewords;

constexpr bool IsSizeIndex(int sizeIndex) { return sizeIndex >= 0 && sizeIndex < DmSizeCount; }

constexpr int RegionsDown(int sizeIndex) {
  return sizeIndex < DmSquareSizeCount ? kSizes[sizeIndex].regionsAcross : 1;
}

// Every attribute of every size, columns and derived values alike, worked
// out once: the pipeline asks for them many times per symbol.
constexpr int kAttributeCount = EccCodewords + 1;

constexpr int Derive(int sizeIndex, DmAttribute attribute) {
  const SizeRow& row = kSizes[sizeIndex];
  switch (attribute) {
    case SymbolRows: return row.symbolRows;
    case SymbolColumns: return row.symbolColumns;
    case DataRegionRows: return row.regionRows;
    case DataRegionColumns: return row.regionColumns;
    case DataRegionsAcross: return row.regionsAcross;
    case InterleavedBlocks: return row.blocks;
    case DataCodewordsPerBlock: return row.dataPerBlock;
    case EccCodewordsPerBlock: return row.eccPerBlock;
    case DataRegionsDown: return RegionsDown(sizeIndex);
    case DataAreaRows: return RegionsDown(sizeIndex) * row.regionRows;
    case DataAreaColumns: return row.regionsAcross * row.regionColumns;
    case DataCapacity:
      return sizeIndex == kUnequalBlocksSize ? kUnequalBlocksCapacity : row.blocks * row.dataPerBlock;
    case EccCodewords: return row.blocks * row.eccPerBlock;
  }
  return 0;
}

constexpr auto kAttributes = [] {
  std::array<std::array<int, kAttributeCount>, DmSizeCount> table{};
  for (int i = 0; i < DmSizeCount; ++i)
    for (int a = 0; a < kAttributeCount; ++a) table[i][a] = Derive(i, static_cast<DmAttribute>(a));
  return table;
}();

// The symbol modules and the data-area modules of all sizes together.
constexpr int kAllSymbolModules = [] {
  int total = 0;
  for (const auto& size : kAttributes) total += size[SymbolRows] * size[SymbolColumns];
  return total;
}();
constexpr int kAllDataAreaModules = [] {
  int total = 0;
  for (const auto& size : kAttributes) total += size[DataAreaRows] * size[DataAreaColumns];
  return total;
}();

}  // namespace dm

}  // namespace quillet
