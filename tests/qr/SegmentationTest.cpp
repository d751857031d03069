// The optimal segmentation: worked examples of where a run pays for its own
// segment, hand-computed bit by bit, and random mixed inputs that zxing-cpp
// and zbar must read back exactly, never in a larger symbol than one segment.
#include "qr/QrCodeEncoder.h"
#include "qr/QrStandard.h"
#include "tests/support/Decode.h"

#include <gtest/gtest.h>

#include <bitset>
#include <memory>
#include <random>
#include <string>

using namespace quillet;

namespace {

std::string StreamText(const CQrCodeEncoder& encoder) {
  std::string bits;
  for (int e = 0; e < encoder.BitStream.Count; ++e)
    bits += std::bitset<32>(static_cast<uint32_t>(encoder.BitStream.Values[e])).to_string().substr(32 - encoder.BitStream.Lengths[e]);
  return bits;
}

int Encode(CQrCodeEncoder& encoder, const std::string& input, int level, int requested, QrSegments segments) {
  encoder.EcLevel = level;
  encoder.Version = requested;
  return encoder.EncodeData(reinterpret_cast<const uint8_t*>(input.data()), static_cast<int32_t>(input.size()), segments);
}

// Level M. Inside bytes, a digit run costs 8 bits a digit as bytes; its own
// segment costs 4 + 10 bits of header, 10 bits for three digits, and a new
// byte header (4 + 8) after it: six digits pay (46 < 48), five do not (43 > 40).
// At versions 10 to 26 the headers grow (12-bit numeric, 16-bit byte count),
// and six digits no longer pay (56 > 48). Six capitals after a byte pay for an
// alphanumeric segment (13 + 33 < 48), five do not (13 + 28 > 40).
TEST(Segments, WorkedExamplesOfRunsThatPayAndRunsThatDoNot) {
  const struct {
    std::string input;
    int requested, version;
    std::string bits;  // indicator, count, data of each segment, then the terminator
  } cases[] = {
      {"a123456a", 0, 1,
       "0100" "00000001" "01100001"
       "0001" "0000000110" "0001111011" "0111001000"
       "0100" "00000001" "01100001" "0000"},
      {"a12345a", 0, 1,
       "0100" "00000111" "01100001" "00110001" "00110010" "00110011" "00110100" "00110101" "01100001" "0000"},
      {"a123456a", 10, 10,
       "0100" "0000000000001000" "01100001" "00110001" "00110010" "00110011" "00110100" "00110101" "00110110"
       "01100001" "0000"},
      {"aABCDEF", 0, 1,
       "0100" "00000001" "01100001"
       "0010" "000000110" "00111001101" "01000101001" "01010000101" "0000"},
      {"aABCDE", 0, 1, "0100" "00000110" "01100001" "01000001" "01000010" "01000011" "01000100" "01000101" "0000"},
  };
  auto encoder = std::make_unique<CQrCodeEncoder>();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input + " from version " + std::to_string(c.requested));
    ASSERT_EQ(Encode(*encoder, c.input, 0, c.requested, QrSegments::Optimal), 0);
    EXPECT_EQ(encoder->Version, c.version);
    EXPECT_EQ(StreamText(*encoder), c.bits);
    EXPECT_EQ(DecodeModules(encoder->Side(), encoder->Side(), [&](int x, int y) { return encoder->IsDark(x, y); },
                            DecodeFormat::QrCode),
              c.input);
  }
}

// Runs of digits, capitals, lower-case letters and high bytes in random
// lengths, at every level: read back exactly, in the smallest symbol of the
// two paths. Long digit runs and 2953 bytes reach the largest versions.
TEST(Segments, RandomMixedInputsReadBackInNoLargerSymbol) {
  std::mt19937 random(24);
  const std::string alphabets[] = {"0123456789", "ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./:", "abcdefghijklmnopqrstuvwxyz@?&=",
                                   "\x80\xA1\xB0\xC8\xD4\xE9\xF7\xFE\x01\x10"};
  auto optimal = std::make_unique<CQrCodeEncoder>(), single = std::make_unique<CQrCodeEncoder>();
  int smaller = 0;
  for (int round = 0; round < 200; ++round) {
    std::string input;
    const int runs = 1 + static_cast<int>(random() % (round < 190 ? 12 : 200));
    for (int r = 0; r < runs; ++r) {
      const std::string& alphabet = alphabets[random() % std::size(alphabets)];
      for (int n = 1 + static_cast<int>(random() % 24); n > 0; --n) input += alphabet[random() % alphabet.size()];
    }
    const int level = round % qr::LevelCount;
    SCOPED_TRACE(testing::Message() << "round " << round << " level " << level << ": " << Printable(input));
    const bool singleFits = Encode(*single, input, level, 0, QrSegments::Single) == 0;
    if (Encode(*optimal, input, level, 0, QrSegments::Optimal) != 0) {
      EXPECT_FALSE(singleFits);
      continue;
    }
    EXPECT_LE(optimal->Version, singleFits ? single->Version : qr::MaxVersion);
    smaller += !singleFits || optimal->Version < single->Version;
    EXPECT_EQ(DecodeModules(optimal->Side(), optimal->Side(), [&](int x, int y) { return optimal->IsDark(x, y); },
                            DecodeFormat::QrCode),
              input);
  }
  EXPECT_GT(smaller, 50);
}

}  // namespace
