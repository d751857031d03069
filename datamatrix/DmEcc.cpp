// Reed-Solomon error correction over GF(256) with the field polynomial 301,
// interleaved over the blocks of the symbol.
#include <array>
#include <cstring>
#include <utility>

#include "datamatrix/DmEncoder.h"

namespace quillet {

namespace {

constexpr int kFieldPolynomial = 301;
constexpr int kMaxEcc = 68;
// Register rows padded with zeros to whole 16-byte vectors.
constexpr int kVector = 16;
constexpr int kRowWidth = (kMaxEcc + kVector - 1) / kVector * kVector;

struct FieldTables {
  std::array<uint8_t, 256> antilog{};
  std::array<uint8_t, 256> log{};
};

constexpr FieldTables BuildFieldTables() {
  FieldTables t;
  int value = 1;
  for (int i = 0; i < 255; ++i) {
    t.antilog[i] = static_cast<uint8_t>(value);
    t.log[value] = static_cast<uint8_t>(i);
    value <<= 1;
    if (value & 0x100) value ^= kFieldPolynomial;
  }
  t.antilog[255] = 1;
  return t;
}

constexpr FieldTables kField = BuildFieldTables();

constexpr uint8_t Multiply(int a, int b) {
  if (a == 0 || b == 0) return 0;
  return kField.antilog[(kField.log[a] + kField.log[b]) % 255];
}

// g(x) = (x + a^1)(x + a^2)...(x + a^k); coefficient i belongs to x^i.
std::array<uint8_t, kMaxEcc + 1> Generator(int k) {
  std::array<uint8_t, kMaxEcc + 1> g{};
  g[0] = 1;
  for (int root = 1; root <= k; ++root) {
    const uint8_t a = kField.antilog[root];
    for (int i = root; i > 0; --i) g[i] = g[i - 1] ^ Multiply(g[i], a);
    g[0] = Multiply(g[0], a);
  }
  return g;
}

// For every feedback value f, the products f * g[k-1] ... f * g[0]: the
// register update becomes a row of XORs. One row set per block length k in
// use, built on first use; static storage, so nothing is allocated.
struct GeneratorRows {
  std::array<std::array<uint8_t, kRowWidth>, 256> rows;
};

constexpr std::array<int, 16> kEccLengths = {5, 7, 10, 11, 12, 14, 18, 20, 24, 28, 36, 42, 48, 56, 62, 68};

struct AllGeneratorRows {
  std::array<GeneratorRows, kEccLengths.size()> byLength;
};

void Fill(AllGeneratorRows& all) {
  for (size_t n = 0; n < kEccLengths.size(); ++n) {
    const int k = kEccLengths[n];
    const auto g = Generator(k);
    for (int f = 0; f < 256; ++f)
      for (int j = 0; j < k; ++j) all.byLength[n].rows[f][j] = Multiply(f, g[k - 1 - j]);
  }
}

const AllGeneratorRows& Rows() {
  static AllGeneratorRows storage;
  static const bool filled = (Fill(storage), true);  // once, thread-safe
  (void)filled;
  return storage;
}

const GeneratorRows* RowsFor(int k) {
  for (size_t n = 0; n < kEccLengths.size(); ++n)
    if (kEccLengths[n] == k) return &Rows().byLength[n];
  return nullptr;
}

// Remainder of (block data) x^k divided by g, highest register first.
void BlockRemainder(const uint8_t* data, int count, int stride, int k, const GeneratorRows& g, uint8_t* remainder) {
  // Two registers in turn, so that each shift-and-add is a plain vector XOR;
  // past k the rows are zero, and so the registers stay.
  uint8_t regs[2][kRowWidth + 1] = {};
  uint8_t* reg = regs[0];
  uint8_t* next = regs[1];
  const int width = (k + kVector - 1) / kVector * kVector;
  for (int i = 0; i < count; ++i) {
    const uint8_t* row = g.rows[data[i * stride] ^ reg[0]].data();
    for (int j = 0; j < width; ++j) next[j] = reg[j + 1] ^ row[j];
    std::swap(reg, next);
  }
  std::memcpy(remainder, reg, k);
}

}  // namespace

void DmAppendEcc(int sizeIndex, DmSymbolBuffers& buffers) {
  const int dataCount = DmSizeAttribute(sizeIndex, DataCapacity);
  const int blocks = DmSizeAttribute(sizeIndex, InterleavedBlocks);
  const int k = DmSizeAttribute(sizeIndex, EccCodewordsPerBlock);
  const GeneratorRows* rows = RowsFor(k);
  if (rows == nullptr || buffers.codewords.size() < static_cast<size_t>(dataCount + blocks * k)) return;
  uint8_t* codewords = buffers.codewords.data();
  for (int b = 0; b < blocks; ++b) {
    const int count = (dataCount - b + blocks - 1) / blocks;  // positions b, b + blocks, ... below dataCount
    uint8_t remainder[kMaxEcc];
    BlockRemainder(codewords + b, count, blocks, k, *rows, remainder);
    for (int j = 0; j < k; ++j) codewords[dataCount + b + j * blocks] = remainder[j];
  }
}

}  // namespace quillet
