// Reading symbols from a camera photo (with and without a card's symbol) and
// from a 4K screen capture with two symbols: our reading as the desktop
// program calls it, beside zxing-cpp and zbar given the same grey pixels in
// this process (their decoding of the file is not counted; bench/read/run
// times their command lines, file and all, and an earlier build's).
#include <benchmark/benchmark.h>

#include <ZXing/ReadBarcode.h>

#include <QGuiApplication>
#include <vector>

#include "bench/read/Photos.h"
#include "verify/ReadSymbols.h"

using namespace quillet;

namespace quillet {
// The QR Code symbols zbar finds (ZbarScan.cpp).
int ZbarScan(const std::vector<uint8_t>& pixels, int width, int height);
}  // namespace quillet

namespace {

struct Sample {
  const char* name;
  QByteArray file;  // empty: pixels in memory, as a paste or a screen capture gives them
  QImage grey;
  size_t symbols;   // what must be found, or the timing compares nothing
};

const std::vector<Sample>& Samples() {
  static const std::vector<Sample> samples = [] {
    std::vector<Sample> made;
    for (const bool card : {false, true}) {
      const QByteArray jpeg = JpegOf(CameraPhoto(card));
      made.push_back({card ? "card_photo" : "empty_photo", jpeg, QImage::fromData(jpeg).convertToFormat(QImage::Format_Grayscale8),
                      card ? 1u : 0u});
    }
    made.push_back({"screen", {}, ScreenCapture().convertToFormat(QImage::Format_Grayscale8), 2});
    return made;
  }();
  return samples;
}

std::vector<uint8_t> Pixels(const QImage& grey) {
  std::vector<uint8_t> pixels(static_cast<size_t>(grey.width()) * grey.height());
  for (int y = 0; y < grey.height(); ++y)
    std::copy_n(grey.constScanLine(y), grey.width(), pixels.begin() + static_cast<ptrdiff_t>(y) * grey.width());
  return pixels;
}

void BM_Quillet(benchmark::State& state) {
  const Sample& sample = Samples()[static_cast<size_t>(state.range(0))];
  state.SetLabel(sample.name);
  const std::vector<uint8_t> pixels = Pixels(sample.grey);
  size_t found = 0;
  for (auto _ : state) {
    const SymbolsInImage read =
        sample.file.isEmpty() ? ReadSymbolsInPixels(pixels.data(), sample.grey.width(), sample.grey.height())
                              : ReadSymbolsInBytes(std::string_view(sample.file.constData(), static_cast<size_t>(sample.file.size())));
    found = read.symbols.size();
  }
  if (found != sample.symbols) state.SkipWithError("a symbol was missed");
}

void BM_ZxingCpp(benchmark::State& state) {
  const Sample& sample = Samples()[static_cast<size_t>(state.range(0))];
  state.SetLabel(sample.name);
  ZXing::DecodeHints hints;
  hints.setFormats(ZXing::BarcodeFormat::QRCode | ZXing::BarcodeFormat::DataMatrix);
  hints.setTryHarder(true);
  const QImage& grey = sample.grey;
  size_t found = 0;
  for (auto _ : state)
    found = ZXing::ReadBarcodes({grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum,
                                 static_cast<int>(grey.bytesPerLine())}, hints).size();
  state.counters["found"] = static_cast<double>(found);
}

void BM_Zbar(benchmark::State& state) {
  const Sample& sample = Samples()[static_cast<size_t>(state.range(0))];
  state.SetLabel(sample.name);
  const std::vector<uint8_t> pixels = Pixels(sample.grey);
  int found = 0;
  for (auto _ : state) found = ZbarScan(pixels, sample.grey.width(), sample.grey.height());
  state.counters["found"] = found;
}

}  // namespace

BENCHMARK(BM_Quillet)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ZxingCpp)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Zbar)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  QGuiApplication::setAttribute(Qt::AA_Use96Dpi);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // fonts for the screen's text
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
