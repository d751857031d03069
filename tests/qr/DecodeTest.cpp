// Independent evidence: zxing-cpp must read back exactly the bytes we encoded.
#include "qr/DataEncoding.h"
#include "qr/QrCodeEncoder.h"
#include "tests/support/Decode.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

namespace {

using qr::DataBitCapacity;

// zxing-cpp does not locate version 40 at two pixels per module; three suffice.
std::optional<std::string> Decode(const CQrCodeEncoder& encoder) {
  const int scale = encoder.Version >= 40 ? 3 : 2;
  return DecodeModules(encoder.Side(), encoder.Side(), [&](int x, int y) { return encoder.IsDark(x, y); },
                       DecodeFormat::QrCode, scale, 4);
}

std::string RandomBytes(int length, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(length, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
  bytes[0] = '\x01';  // keeps every input in byte mode, as the QR page's payloads are
  return bytes;
}

int ByteCapacity(int version, int level) {
  const int countWidth = version <= 9 ? 8 : 16;
  return (DataBitCapacity[level][version] - 4 - countWidth) / 8;
}

struct Case {
  int version;
  int level;
};

class EveryVersionAndLevel : public testing::TestWithParam<Case> {};

TEST_P(EveryVersionAndLevel, FullAndOneByteShortDecodeToTheInput) {
  const auto [version, level] = GetParam();
  auto encoder = std::make_unique<CQrCodeEncoder>();
  for (int length : {ByteCapacity(version, level), ByteCapacity(version, level) - 1}) {
    const std::string input = RandomBytes(length, version * 16 + level * 4 + length);
    encoder->EcLevel = level;
    encoder->Version = version;
    ASSERT_EQ(encoder->EncodeData(input.data(), length), 0);
    EXPECT_EQ(encoder->Version, version) << "length " << length;
    EXPECT_EQ(Decode(*encoder), input) << "length " << length;
  }
}

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  for (int version = 1; version <= 40; ++version)
    for (int level = 0; level < 4; ++level) cases.push_back({version, level});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Qr, EveryVersionAndLevel, testing::ValuesIn(AllCases()), [](const auto& info) {
  return "V" + std::to_string(info.param.version) + "_" + "MLHQ"[info.param.level];
});

}  // namespace
