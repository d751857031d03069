#include "qr/QrStandard.h"

#include <cstddef>

namespace quillet {

namespace qr {

namespace {

// Alignment centres per version, from the standard's table (version 1 has none).
constexpr std::array<std::array<uint8_t, 7>, MaxVersion + 1> AlignmentTable{{
    {}, {},
    {6, 18}, {6, 22}, {6, 26}, {6, 30}, {6, 34},
    {6, 22, 38}, {6, 24, 42}, {6, 26, 46}, {6, 28, 50}, {6, 30, 54}, {6, 32, 58}, {6, 34, 62},
    {6, 26, 46, 66}, {6, 26, 48, 70}, {6, 26, 50, 74}, {6, 30, 54, 78}, {6, 30, 56, 82}, {6, 30, 58, 86},
    {6, 34, 62, 90},
    {6, 28, 50, 72, 94}, {6, 26, 50, 74, 98}, {6, 30, 54, 78, 102}, {6, 28, 54, 80, 106},
    {6, 32, 58, 84, 110}, {6, 30, 58, 86, 114}, {6, 34, 62, 90, 118},
    {6, 26, 50, 74, 98, 122}, {6, 30, 54, 78, 102, 126}, {6, 26, 52, 78, 104, 130},
    {6, 30, 56, 82, 108, 134}, {6, 34, 60, 86, 112, 138}, {6, 30, 58, 86, 114, 142},
    {6, 34, 62, 90, 118, 146},
    {6, 30, 54, 78, 102, 126, 150}, {6, 24, 50, 76, 102, 128, 154}, {6, 28, 54, 80, 106, 132, 158},
    {6, 32, 58, 84, 110, 136, 162}, {6, 26, 54, 82, 110, 138, 166}, {6, 30, 58, 86, 114, 142, 170},
}};

// Remainder of `value` * x^(degree of generator) divided by the generator, in GF(2).
uint32_t BchRemainder(uint32_t value, uint32_t generator, int generatorDegree) {
  uint32_t remainder = value << generatorDegree;
  for (int bit = 31; bit >= generatorDegree; --bit)
    if (remainder & (1u << bit)) remainder ^= generator << (bit - generatorDegree);
  return remainder;
}


}  // namespace

std::vector<int> BlockSizes(int version, int level) {
  const int blocks = BlockCount(version, level);
  const int total = TotalCodewords(version);
  const int shortSize = total / blocks;
  const int longBlocks = total % blocks;
  std::vector<int> sizes(blocks, shortSize);
  for (int b = blocks - longBlocks; b < blocks; ++b) sizes[b] = shortSize + 1;
  return sizes;
}

std::vector<int> AlignmentCentres(int version) {
  const auto& row = AlignmentTable[version];
  return std::vector<int>(row.begin(), row.begin() + AlignmentCentreCount(version));
}

uint32_t VersionInformation(int version) {
  return static_cast<uint32_t>(version) << 12 | BchRemainder(version, 0x1F25, 12);
}

uint16_t FormatInformation(int level, int mask) {
  const uint32_t data = static_cast<uint32_t>(level << 3 | mask);
  return static_cast<uint16_t>((data << 10 | BchRemainder(data, 0x537, 10)) ^ 0x5412);
}

// The standard's data mask conditions, i the row and j the column.
uint8_t MaskBitsAt(int i, int j) {
  const bool conditions[MaskCount] = {
      (i + j) % 2 == 0,
      i % 2 == 0,
      j % 3 == 0,
      (i + j) % 3 == 0,
      (i / 2 + j / 3) % 2 == 0,
      (i * j) % 2 + (i * j) % 3 == 0,
      ((i * j) % 2 + (i * j) % 3) % 2 == 0,
      ((i + j) % 2 + (i * j) % 3) % 2 == 0,
  };
  uint8_t bits = 0;
  for (int m = 0; m < MaskCount; ++m) bits |= static_cast<uint8_t>(conditions[m] << m);
  return bits;
}

namespace {

// Powers of 2 in GF(256) modulo x^8 + x^4 + x^3 + x^2 + 1, twice over so that
// a sum of two logarithms needs no reduction, and their logarithms: the
// tables of all first uses are built from thousands of products.
struct GfTables {
  uint8_t power[510] = {};
  uint8_t log[256] = {};
};

constexpr GfTables MakeGfTables() {
  GfTables tables;
  unsigned value = 1;
  for (int exponent = 0; exponent < 255; ++exponent) {
    tables.power[exponent] = tables.power[exponent + 255] = static_cast<uint8_t>(value);
    tables.log[value] = static_cast<uint8_t>(exponent);
    value <<= 1;
    if (value & 0x100) value ^= 0x11D;
  }
  return tables;
}

constexpr GfTables Gf = MakeGfTables();

}  // namespace

uint8_t GfMultiply(uint8_t a, uint8_t b) {
  if (a == 0 || b == 0) return 0;
  return Gf.power[Gf.log[a] + Gf.log[b]];
}

std::vector<uint8_t> GeneratorPolynomial(int ecCount) {
  // coefficients[0] is the leading (monic) one while multiplying by (x - a^k).
  std::vector<uint8_t> coefficients{1};
  uint8_t root = 1;
  for (int k = 0; k < ecCount; ++k) {
    coefficients.push_back(0);
    for (std::size_t i = coefficients.size() - 1; i > 0; --i)
      coefficients[i] ^= GfMultiply(coefficients[i - 1], root);
    root = GfMultiply(root, 2);
  }
  return std::vector<uint8_t>(coefficients.begin() + 1, coefficients.end());
}

}  // namespace qr

}  // namespace quillet
