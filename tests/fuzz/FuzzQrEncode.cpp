// EncodeData with fuzzed level, requested version and bytes. Checks that a
// success honours the request and stays inside its n x n area, and that a
// failure changes nothing; the optimal segments succeed wherever one segment
// does, in no larger a version.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "qr/QrCodeEncoder.h"
#include "tests/support/Require.h"

using namespace quillet;

namespace {

constexpr int FormatColumns[15] = {0, 1, 2, 3, 4, 5, 7, 8, 8, 8, 8, 8, 8, 8, 8};
constexpr int FormatRows[15] = {8, 8, 8, 8, 8, 8, 8, 8, 7, 5, 4, 3, 2, 1, 0};
constexpr const char* LevelTexts[] = {"M", "L", "H", "Q", "q", "", "Hh", "x"};
constexpr int LevelOfText[] = {0, 1, 2, 3, 3, 0, 0, 0};

int FormatLevel(const CQrCodeEncoder& encoder) {
  int bits = 0;
  for (int k = 0; k < 15; ++k) bits = (bits << 1) | encoder.Modules[FormatColumns[k] * 177 + FormatRows[k]];
  return (bits ^ 0x5412) >> 13;
}

void RequireCleanOutside(const CQrCodeEncoder& encoder) {
  const int n = encoder.Side();
  for (int x = 0; x < 177; ++x)
    for (int y = 0; y < 177; ++y)
      if (x >= n || y >= n) Require(encoder.Modules[x * 177 + y] == 0);
}

void RequireOptimalNoLarger(const CQrCodeEncoder& single, int32_t singleResult, int requested, const uint8_t* data,
                            int32_t length) {
  static auto optimal = std::make_unique<CQrCodeEncoder>();
  static auto modulesBefore = std::make_unique<uint8_t[]>(sizeof optimal->Modules);
  optimal->EcLevel = single.EcLevel;
  optimal->Version = requested;
  std::memcpy(modulesBefore.get(), optimal->Modules, sizeof optimal->Modules);
  const int32_t result = optimal->EncodeData(data, length, QrSegments::Optimal);
  if (result == 0) {
    Require(optimal->Version >= std::max(requested, 1) && optimal->Version <= 40);
    Require(singleResult != 0 || optimal->Version <= single.Version);
    Require(FormatLevel(*optimal) == optimal->EcLevel);
    RequireCleanOutside(*optimal);
    return;
  }
  Require(singleResult == result && optimal->Version == requested);
  Require(std::memcmp(modulesBefore.get(), optimal->Modules, sizeof optimal->Modules) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto encoder = std::make_unique<CQrCodeEncoder>();
  static auto modulesBefore = std::make_unique<uint8_t[]>(sizeof encoder->Modules);
  if (size < 2) return 0;
  const int levelChoice = data[0] & 7;
  const int requested = data[1] % 41;
  encoder->SetErrorCorrectionLevel(LevelTexts[levelChoice]);
  Require(encoder->EcLevel == LevelOfText[levelChoice]);
  encoder->Version = requested;
  std::memcpy(modulesBefore.get(), encoder->Modules, sizeof encoder->Modules);

  const int32_t result = encoder->EncodeData(data + 2, static_cast<int32_t>(size - 2));
  if (size == 2) {
    Require(result == -1);
  } else if (result == 0) {
    Require(encoder->Version >= 1 && encoder->Version <= 40 && encoder->Version >= requested);
    Require(FormatLevel(*encoder) == encoder->EcLevel);
    RequireCleanOutside(*encoder);
  } else {
    Require(result == -2 && size - 2 > 1273);  // 1273 bytes fit version 40 at every level
    Require(std::memcmp(modulesBefore.get(), encoder->Modules, sizeof encoder->Modules) == 0);
    Require(encoder->Version == requested);
  }
  RequireOptimalNoLarger(*encoder, result, requested, data + 2, static_cast<int32_t>(size - 2));
  return 0;
}
