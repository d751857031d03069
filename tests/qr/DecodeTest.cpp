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

std::optional<std::string> Decode(const CQrCodeEncoder& encoder) {
  return DecodeModules(encoder.Side(), encoder.Side(), [&](int x, int y) { return encoder.IsDark(x, y); },
                       DecodeFormat::QrCode, 2, 4);
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
  std::string name = "V";
  name += std::to_string(info.param.version);
  name += '_';
  name += "MLHQ"[info.param.level];
  return name;
});

// Numeric and alphanumeric inputs that exactly fill a version on either side
// of a change of count width.
struct ModeCase {
  const char* alphabet;
  int groupSize, groupBits, version;
};

int CharactersThatFill(const char* alphabet, int version, int level) {
  const bool numeric = std::string(alphabet).size() == 10;
  const int countWidth = (numeric ? 10 : 9) + (version <= 9 ? 0 : version <= 26 ? 2 : 4);
  const int room = DataBitCapacity[level][version] - 4 - countWidth;
  if (numeric) return 3 * (room / 10) + (room % 10 >= 7 ? 2 : room % 10 >= 4 ? 1 : 0);
  return 2 * (room / 11) + (room % 11 >= 6 ? 1 : 0);
}

TEST(ModesAcrossCountWidths, FillTheVersionAndDecode) {
  const char* const alphabets[] = {"0123456789", "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:"};
  std::mt19937 random(5);
  auto encoder = std::make_unique<CQrCodeEncoder>();
  for (const char* alphabet : alphabets)
    for (int version : {9, 10, 26, 27})
      for (int level = 0; level < 4; ++level) {
        const int size = static_cast<int>(std::string(alphabet).size());
        std::string input(CharactersThatFill(alphabet, version, level), '0');
        for (char& c : input) c = alphabet[random() % size];
        input[0] = alphabet[size - 1];  // a ':' makes sure that the second alphabet is not read as digits
        SCOPED_TRACE(testing::Message() << alphabet << " version " << version << " level " << level);
        encoder->EcLevel = level;
        encoder->Version = 0;
        ASSERT_EQ(encoder->EncodeData(input.data(), static_cast<int32_t>(input.size())), 0);
        EXPECT_EQ(encoder->Version, version);
        EXPECT_EQ(Decode(*encoder), input);
        input.push_back(alphabet[0]);  // one more character no longer fits
        encoder->Version = 0;
        ASSERT_EQ(encoder->EncodeData(input.data(), static_cast<int32_t>(input.size())), 0);
        EXPECT_EQ(encoder->Version, version + 1);
        EXPECT_EQ(Decode(*encoder), input);
      }
}

// A payload as the QR page hands it over: 0x01 0x10, then GBK text.
TEST(Payloads, PrefixAndGbkTextDecodeByteForByte) {
  const std::string gbk = "\x01\x10" "CARD:N:\xD5\xC5\xC8\xFD;TEL:13800138000;ADR:\xB1\xB1\xBE\xA9;;";
  auto encoder = std::make_unique<CQrCodeEncoder>();
  for (int level = 0; level < 4; ++level) {
    encoder->EcLevel = level;
    encoder->Version = 0;
    ASSERT_EQ(encoder->EncodeData(gbk.data(), static_cast<int32_t>(gbk.size())), 0);
    EXPECT_EQ(Decode(*encoder), gbk) << "level " << level;
  }
}

}  // namespace
