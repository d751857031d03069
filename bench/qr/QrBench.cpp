// EncodeData side by side with the peer encoders, on byte data that fills a
// version at a level; the optimal segments against one segment; and the cost
// of building the symbol tables.
#include "qr/QrCodeEncoder.h"
#include "qr/QrStandard.h"
#include "qr/SymbolTables.h"

#include <benchmark/benchmark.h>
#include <qrcodegen/qrcodegen.hpp>
#include <qrencode.h>
#include <zint.h>
#include <ZXing/BitMatrix.h>
#include <ZXing/CharacterSet.h>
#include <ZXing/MultiFormatWriter.h>

#include <chrono>
#include <exception>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace quillet;

namespace {

enum Level { M, H };

// Level index of our encoder (0 M, 2 H) for each benchmarked level.
constexpr int OurLevel[] = {0, 2};

int ByteCapacity(int version, Level level) {
  const int countWidth = version <= 9 ? 8 : 16;
  const int capacityBits = 8 * qr::DataCodewords(version, OurLevel[level]);
  return (capacityBits - 4 - countWidth) / 8;
}

// Lower-case letters: byte mode in every encoder, and plain text for zxing-cpp.
std::string Payload(int version, Level level) {
  std::string data(ByteCapacity(version, level), 'a');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>('a' + (i * 7 + i / 26) % 26);
  return data;
}

void Quillet(benchmark::State& state, int version, Level level) {
  const std::string data = Payload(version, level);
  auto encoder = std::make_unique<CQrCodeEncoder>();
  encoder->EcLevel = OurLevel[level];
  for (auto _ : state) {
    encoder->Version = version;
    benchmark::DoNotOptimize(encoder->EncodeData(data.data(), static_cast<int32_t>(data.size())));
    benchmark::ClobberMemory();
  }
  if (encoder->Version != version) state.SkipWithError("wrong version");
}

// The same length in runs of lower-case letters, digits and capitals, so that
// the optimal path weighs every mode at every character.
std::string MixedPayload(int version, Level level) {
  std::string data = Payload(version, level);
  for (size_t i = 0; i < data.size(); ++i) {
    const size_t run = i / 9 % 3;
    if (run == 1) data[i] = static_cast<char>('0' + i % 10);
    if (run == 2) data[i] = static_cast<char>('A' + i % 26);
  }
  return data;
}

// One segment against the optimal path on mixed data filling version 40:
// from version 40 requested, and from automatic (every count width planned).
void Segments(benchmark::State& state, QrSegments segments, int requested) {
  const std::string data = MixedPayload(40, M);
  auto encoder = std::make_unique<CQrCodeEncoder>();
  encoder->EcLevel = OurLevel[M];
  for (auto _ : state) {
    encoder->Version = requested;
    benchmark::DoNotOptimize(encoder->EncodeData(reinterpret_cast<const uint8_t*>(data.data()),
                                                 static_cast<int32_t>(data.size()), segments));
    benchmark::ClobberMemory();
  }
  state.SetLabel("version " + std::to_string(encoder->Version));
}

void LibQrencode(benchmark::State& state, int version, Level level) {
  const std::string data = Payload(version, level);
  for (auto _ : state) {
    QRcode* code = QRcode_encodeData(static_cast<int>(data.size()), reinterpret_cast<const unsigned char*>(data.data()),
                                     version, level == M ? QR_ECLEVEL_M : QR_ECLEVEL_H);
    if (!code || code->version != version) state.SkipWithError("libqrencode failed");
    benchmark::DoNotOptimize(code);
    QRcode_free(code);
  }
}

void QrCodeGen(benchmark::State& state, int version, Level level) {
  const std::string data = Payload(version, level);
  const std::vector<qrcodegen::QrSegment> segments{
      qrcodegen::QrSegment::makeBytes(std::vector<uint8_t>(data.begin(), data.end()))};
  const auto ecc = level == M ? qrcodegen::QrCode::Ecc::MEDIUM : qrcodegen::QrCode::Ecc::HIGH;
  for (auto _ : state) {
    const qrcodegen::QrCode code = qrcodegen::QrCode::encodeSegments(segments, ecc, version, version, -1, false);
    benchmark::DoNotOptimize(code.getSize());
  }
}

void Zint(benchmark::State& state, int version, Level level) {
  const std::string data = Payload(version, level);
  for (auto _ : state) {
    zint_symbol* symbol = ZBarcode_Create();
    symbol->symbology = BARCODE_QRCODE;
    symbol->input_mode = DATA_MODE;
    symbol->option_1 = level == M ? 2 : 4;
    symbol->option_2 = version;
    const int result =
        ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
    if (result >= ZINT_ERROR) state.SkipWithError(symbol->errtxt);
    benchmark::DoNotOptimize(symbol->width);
    ZBarcode_Delete(symbol);
  }
}

void ZXingCpp(benchmark::State& state, int version, Level level) {
  const std::string data = Payload(version, level);
  ZXing::MultiFormatWriter writer(ZXing::BarcodeFormat::QRCode);
  writer.setEccLevel(level == M ? 3 : 8).setMargin(0);
  try {
    for (auto _ : state) {
      const ZXing::BitMatrix matrix = writer.encode(data, 0, 0);
      benchmark::DoNotOptimize(matrix.width());
    }
  } catch (const std::exception& error) {
    state.SkipWithError(error.what());
  }
}

// Builds every table afresh, as a first request would.
void BuildAllTables(benchmark::State& state) {
  for (auto _ : state) {
    size_t bytes = 0;
    for (int version = 1; version <= qr::MaxVersion; ++version) {
      for (int level = 0; level < qr::LevelCount; ++level) bytes += qr::BuildQrvTable(version, level).size();
      bytes += qr::BuildFrameTable(version).size();
    }
    for (int index = 0; index < qr::RemainderTableCount; ++index)
      bytes += qr::BuildRemainderTable(qr::EcCountOfRemainderTable(index)).size();
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BuildAllTables)->Unit(benchmark::kMillisecond);

void BuildLargestQrvTable(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(qr::BuildQrvTable(40, 2).size());
}
BENCHMARK(BuildLargestQrvTable)->Unit(benchmark::kMicrosecond);

void BuildLargestRemainderTable(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(qr::BuildRemainderTable(68).size());
}
BENCHMARK(BuildLargestRemainderTable)->Unit(benchmark::kMicrosecond);

void BuildLargestFrameTable(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(qr::BuildFrameTable(40).size());
}
BENCHMARK(BuildLargestFrameTable)->Unit(benchmark::kMicrosecond);

// First encoding at version 40 level H in this process: its three tables and
// the encoder's derived plan are built inside this call.
void ReportFirstEncoding() {
  const std::string data = Payload(40, H);
  auto encoder = std::make_unique<CQrCodeEncoder>();
  encoder->EcLevel = OurLevel[H];
  encoder->Version = 40;
  const auto start = std::chrono::steady_clock::now();
  encoder->EncodeData(data.data(), static_cast<int32_t>(data.size()));
  const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
  std::fprintf(stderr, "first EncodeData at version 40 level H (tables built on the way): %.0f us\n", elapsed.count());
}

void RegisterSegments() {
  for (const int requested : {40, 0})
    for (const QrSegments segments : {QrSegments::Single, QrSegments::Optimal}) {
      const std::string label = std::string("Segments/v40/M/") + (requested ? "from40/" : "auto/") +
                                std::string(QrSegmentsNames[static_cast<int>(segments)]);
      benchmark::RegisterBenchmark(label.c_str(), Segments, segments, requested)->Unit(benchmark::kMicrosecond);
    }
}

void RegisterEncoders() {
  using Encoder = void (*)(benchmark::State&, int, Level);
  const std::pair<const char*, Encoder> encoders[] = {
      {"Quillet", Quillet}, {"libqrencode", LibQrencode}, {"qrcodegen", QrCodeGen}, {"zint", Zint}, {"zxing-cpp", ZXingCpp}};
  for (Level level : {M, H})
    for (int version : {1, 10, 25, 40})
      for (const auto& [name, encode] : encoders) {
        const std::string label = std::string("Encode/v") + std::to_string(version) + (level == M ? "/M/" : "/H/") + name;
        benchmark::RegisterBenchmark(label.c_str(), encode, version, level)->Unit(benchmark::kMicrosecond);
      }
}

}  // namespace

int main(int argc, char** argv) {
  ReportFirstEncoding();
  RegisterEncoders();
  RegisterSegments();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
