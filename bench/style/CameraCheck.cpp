// What the styled check costs under the camera's conditions, next to the
// plain read-back a saved file gets (--verify): at versions 2, 10, 25 and 40,
// for colours with a logo and colours alone. The counters give the conditions
// read and each decoder's readings of the styled symbol. Then every preset
// with every module shape at versions 2, 10 and 25, the level left to the
// check, as the window checks it.
//   build/bench/style/camera_check
#include <benchmark/benchmark.h>

#include <memory>

#include "image/PhysicalSize.h"
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

// One row of the styled batch: a 通用格式 business card, 307 bytes of UTF-8,
// with a logo, dot modules and a framed caption, its version and level left
// to the check and stopped at the first loss, as batch checks a row. Then
// the same card's conditions alone at the version the check settled on: the
// views and the decoders, no read-back of the print and no yardstick, the
// least any full check of that symbol costs.
SymbolRequest Card() {
  SymbolRequest request;
  request.data =
      "BEGIN:VCARD\r\nVERSION:3.0\r\nN:张伟1;;;;\r\nFN:张伟1\r\nTEL;TYPE=CELL:13800130001\r\n"
      "TEL;TYPE=WORK,VOICE:010-62750001\r\nEMAIL;TYPE=INTERNET:user1@example.cn\r\nORG:北京示例科技有限公司\r\n"
      "TITLE:销售经理\r\nADR;TYPE=WORK:;;北京市海淀区中关村大街2号;;;;\r\nURL:http://www.example.cn/1\r\n"
      "END:VCARD\r\n";
  request.level = QrLevel::H;  // the format's level, not chosen: the check may not lower it
  return request;
}

SymbolStyle CardStyle() {
  SymbolStyle style = Brand(true);
  style.moduleShape = ModuleShape::Dots;
  style.frameText = "扫一扫";
  return style;
}

void BM_StyledCardRow(benchmark::State& state) {
  const SymbolStyle style = CardStyle();
  const ImageOptions options{.style = style};
  CheckedSymbol checked;
  for (auto _ : state) {
    checked = MakeReadableSymbol(Card(), style, nullptr, [&](const Symbol& symbol) {
      return CheckStyledSymbol(symbol, options, CameraCheckDepth::UntilLoss);
    });
    benchmark::DoNotOptimize(checked);
  }
  state.SetLabel("version " + std::to_string(checked.made.symbol.version));
  if (checked.check) Count(state, checked.check->readBack);
}

void BM_StyledCardConditionsOnly(benchmark::State& state) {
  const SymbolStyle style = CardStyle();
  const ImageOptions requested{.style = style};
  const CheckedSymbol checked = MakeReadableSymbol(Card(), style, nullptr, [&](const Symbol& symbol) {
    return CheckStyledSymbol(symbol, requested, CameraCheckDepth::UntilLoss);
  });
  const Symbol& symbol = checked.made.symbol;
  ImageOptions options = SizedForSymbol(requested, symbol.matrix);
  ApplyStyle(symbol, options.style, options);
  for (auto _ : state)
    benchmark::DoNotOptimize(ReadUnderCameraConditions(symbol.matrix, options, symbol.symbology, symbol.data));
  state.SetLabel("version " + std::to_string(symbol.version));
}

}  // namespace

BENCHMARK(BM_StyledCardRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StyledCardConditionsOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PresetAndShape)
    ->ArgsProduct({{0, 1, 2, 3}, {0, 1, 2}, {2, 10, 25}})
    ->ArgNames({"preset", "shape", "version"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainReadBack)->Arg(2)->Arg(10)->Arg(25)->Arg(40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StyledColours)->Arg(2)->Arg(10)->Arg(25)->Arg(40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StyledLogoAndColours)->Arg(2)->Arg(10)->Arg(25)->Arg(40)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
