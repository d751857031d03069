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

// Encodes at `level` from `requested` up: what zxing reads (or nothing), and the version used.
std::pair<std::optional<std::string>, int> RoundTrip(const std::string& input, int level, int requested) {
  static const auto shared = std::make_unique<CQrCodeEncoder>();  // too large for the stack
  CQrCodeEncoder& encoder = *shared;
  encoder.EcLevel = level;
  encoder.Version = requested;
  if (encoder.EncodeData(input.data(), static_cast<int32_t>(input.size())) != 0) return {std::nullopt, 0};
  return {DecodeModules(encoder.Side(), encoder.Side(), [&](int x, int y) { return encoder.IsDark(x, y); },
                        DecodeFormat::QrCode, 2, 4),
          encoder.Version};
}

std::pair<std::optional<std::string>, int> Expected(const std::string& input, int version) {
  return {input, version};
}

// Random bytes exactly filling each version and level, and one byte short.
TEST(Decode, EveryVersionAndLevelFullAndOneByteShort) {
  std::mt19937 random(3);
  for (int version = 1; version <= qr::MaxVersion; ++version)
    for (int level = 0; level < qr::LevelCount; ++level) {
      const int capacity = (DataBitCapacity[level][version] - 4 - (version <= 9 ? 8 : 16)) / 8;
      for (int length : {capacity, capacity - 1}) {
        std::string input(length, '\x01');  // a leading 0x01 keeps byte mode, as the QR page's payloads do
        for (size_t i = 1; i < input.size(); ++i) input[i] = static_cast<char>(random());
        SCOPED_TRACE(testing::Message() << "version " << version << " level " << level << " length " << length);
        EXPECT_EQ(RoundTrip(input, level, version), Expected(input, version));
      }
    }
}

// Numeric and alphanumeric inputs that exactly fill versions on either side of
// a change of count width, then one character more.
TEST(Decode, ModesAcrossCountWidths) {
  std::mt19937 random(5);
  for (const std::string alphabet : {"0123456789", "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:"})
    for (int version : {9, 10, 26, 27})
      for (int level = 0; level < qr::LevelCount; ++level) {
        const bool numeric = alphabet.size() == 10;
        const int countWidth = (numeric ? 10 : 9) + (version <= 9 ? 0 : version <= 26 ? 2 : 4);
        const int room = DataBitCapacity[level][version] - 4 - countWidth;
        const int fill = numeric ? 3 * (room / 10) + (room % 10 >= 7 ? 2 : room % 10 >= 4 ? 1 : 0)
                                 : 2 * (room / 11) + (room % 11 >= 6 ? 1 : 0);
        std::string input(fill, alphabet.back());  // ':' first keeps the second alphabet out of numeric mode
        for (size_t i = 1; i < input.size(); ++i) input[i] = alphabet[random() % alphabet.size()];
        SCOPED_TRACE(testing::Message() << alphabet << " version " << version << " level " << level);
        EXPECT_EQ(RoundTrip(input, level, 0), Expected(input, version));
        input.push_back(alphabet[0]);
        EXPECT_EQ(RoundTrip(input, level, 0), Expected(input, version + 1));
      }
}

// A payload as the QR page hands it over: 0x01 0x10, then GBK text.
TEST(Decode, PrefixAndGbkTextByteForByte) {
  const std::string gbk = "\x01\x10" "CARD:N:\xD5\xC5\xC8\xFD;TEL:13800138000;ADR:\xB1\xB1\xBE\xA9;;";
  for (int level = 0; level < 4; ++level) EXPECT_EQ(RoundTrip(gbk, level, 0).first, gbk) << "level " << level;
}

}  // namespace
