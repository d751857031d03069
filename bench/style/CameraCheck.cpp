// What the styled check costs under the camera's conditions, next to the
// plain read-back a saved file gets (--verify): at versions 2, 10, 25 and 40,
// for colours with a logo and colours alone. The counters give the conditions
// read and each decoder's readings of the styled symbol. Then every preset
// with every module shape at versions 2, 10 and 25, the level left to the
// check, as the window checks it.
//   build/bench/style/camera_check
#include <benchmark/benchmark.h>

#include <memory>

#include "image/StylePresets.h"
#include "image/StyledSymbol.h"
#include "verify/ReadBack.h"

using namespace quillet;

namespace {

Symbol Make(int version, QrLevel level = QrLevel::H) {
  SymbolRequest request;
  request.data = "https://example.com/quillet";
  request.version = version;
  request.level = level;
  return MakeSymbol(request).symbol;
}

SymbolStyle Brand(bool logo) {
  SymbolStyle style{Rgb{0x1a, 0x23, 0x7e}, Rgb{0xff, 0xf8, 0xe1}};
  if (!logo) return style;
  RgbaImage red{8, 8, {}};
  for (int i = 0; i < 64; ++i) red.pixels.insert(red.pixels.end(), {200, 30, 30, 255});
  style.logo = std::make_shared<const RgbaImage>(std::move(red));
  return style;
}

void Count(benchmark::State& state, const ReadBackResult& read) {
  state.counters["ok"] = read.Ok();
  state.counters["conditions"] = ConditionsRead(read.conditions);
  for (const ConditionReading& reading : read.conditions)
    state.counters[reading.decoder] += reading.styled == CameraReading::Read;
}

void StyledCheck(benchmark::State& state, bool logo) {
  const Symbol symbol = Make(static_cast<int>(state.range(0)));
  const SymbolStyle style = Brand(logo);
  StyledSymbolCheck check;
  for (auto _ : state) {
    ImageOptions options;
    check = PlaceAndReadBack(symbol, style, options);
    benchmark::DoNotOptimize(check);
  }
  Count(state, check.readBack);
}

void BM_StyledLogoAndColours(benchmark::State& state) { StyledCheck(state, true); }
void BM_StyledColours(benchmark::State& state) { StyledCheck(state, false); }

// The plain symbol's read-back, as a file of it is checked.
void BM_PlainReadBack(benchmark::State& state) {
  const Symbol symbol = Make(static_cast<int>(state.range(0)));
  const ImageOptions options;
  for (auto _ : state)
    benchmark::DoNotOptimize(VerifySymbolModules(symbol.matrix, options, symbol.symbology, symbol.data));
}

constexpr ModuleShape Shapes[] = {ModuleShape::Square, ModuleShape::Dots, ModuleShape::Rounded};

// A preset with the module shape given beside it, at a version chosen and a
// level not, checked as every front end checks it: a level raised where the
// style loses. A plain style is not checked.
void BM_PresetAndShape(benchmark::State& state) {
  const StylePreset preset = StylePresets()[static_cast<size_t>(state.range(0))].preset;
  SymbolStyle style = WithPreset(SymbolStyle{}, preset, Symbology::QrCode);
  style.moduleShape = Shapes[state.range(1)];
  SymbolRequest request;
  request.data = "https://example.com/quillet";
  request.version = static_cast<int>(state.range(2));
  const ImageOptions options{.style = style};
  CheckedSymbol checked;
  for (auto _ : state) {
    checked = MakeReadableSymbol(request, style, nullptr, [&](const Symbol& symbol) {
      return CheckStyledSymbol(symbol, options);
    });
    benchmark::DoNotOptimize(checked);
  }
  const std::string level(1, QrLevelLetter(checked.made.symbol.level));
  state.SetLabel(std::string(PresetRow(preset).name) + (style.IsPlain() ? " (plain: not checked)" : " level " + level));
  if (checked.check) Count(state, checked.check->readBack);
}

}  // namespace

BENCHMARK(BM_PresetAndShape)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1, 2}, {2, 10, 25}})
    ->ArgNames({"preset", "shape", "version"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReadBack)->Arg(2)->Arg(10)->Arg(25)->Arg(40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StyledColours)->Arg(2)->Arg(10)->Arg(25)->Arg(40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StyledLogoAndColours)->Arg(2)->Arg(10)->Arg(25)->Arg(40)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
