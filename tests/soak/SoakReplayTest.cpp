// Every input a soak run ever failed on is kept in regressions/ and must now
// decode back to itself. A kept file holds 'Q' or 'D', the QR level or the
// Data Matrix scheme, the requested version or size plus 2, then the data.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "datamatrix/DmEncoder.h"
#include "qr/QrCodeEncoder.h"
#include "tests/support/Decode.h"
#include "tests/support/TempFolder.h"

using namespace quillet;

namespace {

// What the decoders of its format read of the kept input's symbol; the data
// itself when it fits no symbol, which is no failure.
std::optional<std::string> ReadBack(const std::string& kept) {
  const int setting = static_cast<uint8_t>(kept[1]), request = static_cast<uint8_t>(kept[2]) - 2;
  const std::string data = kept.substr(3);
  const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
  if (kept[0] == 'Q') {
    auto encoder = std::make_unique<CQrCodeEncoder>();
    encoder->EcLevel = setting & 3;
    encoder->Version = request;
    if (encoder->EncodeData(bytes, static_cast<int32_t>(data.size())) != 0) return data;
    return DecodeModules(encoder->Side(), encoder->Side(), [&](int x, int y) { return encoder->IsDark(x, y); },
                         DecodeFormat::QrCode);
  }
  DmEncodeParams params;
  params.scheme = setting;
  int size = request;
  const auto grid = DmEncodeText(bytes, static_cast<int>(data.size()), params, size);
  if (!grid) return data;
  return DecodeModules(grid->Columns(), grid->Rows(), [&](int x, int y) { return grid->IsDark(x, y); },
                       DecodeFormat::DataMatrix);
}

TEST(SoakReplay, SavedFailuresNowRoundTrip) {
  for (const auto& entry : std::filesystem::directory_iterator(QUILLET_SOAK_REGRESSIONS)) {
    if (entry.path().extension() != ".case") continue;
    const std::string kept = ReadBytes(entry.path().string());
    ASSERT_TRUE(kept.size() >= 3 && (kept[0] == 'Q' || kept[0] == 'D')) << entry.path();
    const auto read = ReadBack(kept);
    EXPECT_EQ(read, kept.substr(3)) << entry.path() << " read as " << Printable(read);
  }
}

}  // namespace
