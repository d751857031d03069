// DmEncodeText side by side with zint (its default, minimal encoder) and zxing-cpp, for lower-case text that
// fills about 90% of a square symbol's ASCII capacity.
#include <benchmark/benchmark.h>
#include <zint.h>
#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <array>
#include <string>

#include "datamatrix/DmEncoder.h"

using namespace quillet;

namespace {

constexpr std::array<int, 4> kSizeIndices = {0, 8, 14, 23};  // 10x10, 26x26, 52x52, 144x144

std::string TextFor(int sizeIndex) {
  const int length = (DmSizeAttribute(sizeIndex, DataCapacity) * 9 + 5) / 10;
  std::string text;
  for (int i = 0; i < length; ++i) text += static_cast<char>('a' + (i * 7) % 26);
  return text;
}

void Label(benchmark::State& state, int sizeIndex) {
  const int side = DmSizeAttribute(sizeIndex, SymbolRows);
  state.SetLabel(std::to_string(side) + "x" + std::to_string(side));
}

void Quillet(benchmark::State& state, int scheme) {
  const int sizeIndex = kSizeIndices[state.range(0)];
  const std::string text = TextFor(sizeIndex);
  for (auto _ : state) {
    DmEncodeParams params;
    params.scheme = scheme;
    int size = sizeIndex;
    auto grid = DmEncodeText(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int>(text.size()), params, size);
    if (!grid) state.SkipWithError("did not encode");
    benchmark::DoNotOptimize(grid);
  }
  Label(state, sizeIndex);
}

void QuilletAscii(benchmark::State& state) { Quillet(state, DmEncodation::Ascii); }
void QuilletAuto(benchmark::State& state) { Quillet(state, DmEncodation::Auto); }
void QuilletSmallest(benchmark::State& state) { Quillet(state, DmEncodation::Smallest); }

void Zint(benchmark::State& state) {
  const int sizeIndex = kSizeIndices[state.range(0)];
  const std::string text = TextFor(sizeIndex);
  zint_symbol* symbol = ZBarcode_Create();
  for (auto _ : state) {
    ZBarcode_Clear(symbol);
    symbol->symbology = BARCODE_DATAMATRIX;
    symbol->option_2 = sizeIndex + 1;  // zint numbers the squares from 1
    if (ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size())) >= 5)
      state.SkipWithError(symbol->errtxt);
    benchmark::DoNotOptimize(symbol->encoded_data);
  }
  ZBarcode_Delete(symbol);
  Label(state, sizeIndex);
}

void Zxing(benchmark::State& state) {
  const int sizeIndex = kSizeIndices[state.range(0)];
  const std::string text = TextFor(sizeIndex);
  const ZXing::MultiFormatWriter writer(ZXing::BarcodeFormat::DataMatrix);
  for (auto _ : state) {
    ZXing::BitMatrix matrix = writer.encode(text, 0, 0);
    benchmark::DoNotOptimize(matrix);
  }
  Label(state, sizeIndex);
}

BENCHMARK(QuilletAscii)->DenseRange(0, 3);
BENCHMARK(QuilletAuto)->DenseRange(0, 3);
BENCHMARK(QuilletSmallest)->DenseRange(0, 3);
BENCHMARK(Zint)->DenseRange(0, 3);
BENCHMARK(Zxing)->DenseRange(0, 3);

}  // namespace

BENCHMARK_MAIN();
