// The encoder against the worked examples (codewords, penalties, mask, format
// information), the refusals that keep the previous symbol, and independent
// evidence: zxing-cpp and zbar read back exactly the bytes we encoded.
#include "qr/DataEncoding.h"
#include "qr/EncodePlan.h"
#include "qr/EncoderSteps.h"
#include "qr/MaskPenalty.h"
#include "qr/QrCodeEncoder.h"
#include "qr/QrStandard.h"
#include "tests/support/Decode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <vector>

using namespace quillet;

namespace {

using namespace qr;
using Bytes = std::vector<uint8_t>;

std::unique_ptr<CQrCodeEncoder> NewEncoder(int level, int version) {
  auto encoder = std::make_unique<CQrCodeEncoder>();
  encoder->EcLevel = level;
  encoder->Version = version;
  return encoder;
}

// What the decoders read of the encoder's symbol, or nothing.
std::optional<std::string> RoundTrip(const CQrCodeEncoder& encoder) {
  return DecodeModules(encoder.Side(), encoder.Side(), [&](int x, int y) { return encoder.IsDark(x, y); },
                       DecodeFormat::QrCode);
}

// Version 1 examples; an empty list is a value the example does not give.
struct WorkedExample {
  std::string input;
  int level;
  Bytes data, ec;
  std::vector<std::pair<int, int32_t>> maskTotals;  // the lowest totals, or all eight
  int chosenMask;
};

const WorkedExample WorkedExamples[] = {
    {"\x01\x10" "A", 0,
     {0x40, 0x30, 0x11, 0x04, 0x10, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC},
     {0x4C, 0x93, 0x99, 0x9D, 0x88, 0xD3, 0x60, 0x4B, 0x14, 0xDB},
     {{0, 366}, {1, 565}, {2, 322}, {3, 355}, {4, 239}, {5, 300}, {6, 340}, {7, 260}}, 4},
    {"0123456789", 0,
     {0x10, 0x28, 0x0C, 0x56, 0x6A, 0x69, 0x00, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC}, {}, {}, -1},
    {"HELLO WORLD", 3,
     {0x20, 0x5B, 0x0B, 0x78, 0xD1, 0x72, 0xDC, 0x4D, 0x43, 0x40, 0xEC, 0x11, 0xEC},
     {0xA8, 0x48, 0x16, 0x52, 0xD9, 0x36, 0x9C, 0x00, 0x2E, 0x0F, 0xB4, 0x7A, 0x10}, {{3, 294}, {4, 294}}, 4},
    {"\x01\x10" "T7", 2, {}, {}, {{1, 252}, {5, 252}}, 5},
    {"\x01\x10" "T11", 1, {}, {}, {{2, 253}, {4, 253}}, 4},
};

// Codewords and penalties recomputed from the encoder's bit stream, then
// compared with the examples; ties go to the highest mask.
TEST(WorkedExamples, CodewordsPenaltiesAndMask) {
  for (const WorkedExample& example : WorkedExamples) {
    SCOPED_TRACE(example.input);
    auto encoder = NewEncoder(example.level, 0);
    ASSERT_EQ(encoder->EncodeData(example.input.data(), static_cast<int32_t>(example.input.size())), 0);
    ASSERT_EQ(encoder->Version, 1);
    const EncodePlan& plan = *FindEncodePlan(1, example.level);
    Bytes sequence(plan.TotalCodewords), columns(CQrCodeEncoder::MaxSide * LineStride), rows(columns.size());
    PackCodewords(encoder->BitStream, DataBitCapacity[example.level][1], sequence.data());
    AppendErrorCorrection(plan, sequence.data());
    const auto ecStart = sequence.begin() + plan.DataCodewords;
    const Bytes data(sequence.begin(), ecStart), ec(ecStart, sequence.end());
    EXPECT_EQ(example.data.empty() ? data : example.data, data);
    EXPECT_EQ(example.ec.empty() ? ec : example.ec, ec);
    if (example.chosenMask < 0) continue;
    PlaceModules(plan, sequence.data(), columns.data(), rows.data());
    const MaskPenalties p = ScoreMasks(columns.data(), rows.data(), plan.Side, plan.DataModules);
    for (const auto& [mask, total] : example.maskTotals) EXPECT_EQ(p.Total(mask), total) << "mask " << mask;
    const int32_t lowest = std::ranges::min(example.maskTotals, {}, &std::pair<int, int32_t>::second).second;
    for (int mask = 0; mask < 8; ++mask) EXPECT_GE(p.Total(mask), lowest) << "mask " << mask;
    EXPECT_EQ(ChooseMask(p), example.chosenMask);
    EXPECT_EQ(encoder->MaskReference, example.chosenMask);
    if (example.input == "HELLO WORLD") {  // the terms of the tied masks 3 and 4
      EXPECT_EQ(std::tie(p.Runs[3], p.FinderPatterns[3], p.Balance[3]), std::make_tuple(248, 1, 6));
      EXPECT_EQ(std::tie(p.Runs[4], p.FinderPatterns[4], p.Balance[4]), std::make_tuple(252, 1, 2));
    }
  }
}

TEST(FormatInformation, DocumentedStringsAndBothCopiesInTheSymbol) {
  const std::tuple<int, int, std::string> strings[] = {
      {0, 0, "101010000010010"}, {1, 0, "111011111000100"}, {3, 7, "010101111101101"}};
  for (const auto& [level, mask, text] : strings)
    EXPECT_EQ(std::bitset<15>(FormatInformation(level, mask)).to_string(), text) << level << " " << mask;
  auto encoder = NewEncoder(0, 0);
  ASSERT_EQ(encoder->EncodeData("\x01\x10" "A", 3), 0);
  constexpr int columns[15] = {0, 1, 2, 3, 4, 5, 7, 8, 8, 8, 8, 8, 8, 8, 8};
  constexpr int rows[15] = {8, 8, 8, 8, 8, 8, 8, 8, 7, 5, 4, 3, 2, 1, 0};
  std::string first, second;
  for (int k = 0; k < 15; ++k) {
    first += encoder->IsDark(columns[k], rows[k]) ? '1' : '0';
    second += (k < 7 ? encoder->IsDark(8, 20 - k) : encoder->IsDark(6 + k, 8)) ? '1' : '0';
  }
  EXPECT_EQ(first, "100010111111001");
  EXPECT_EQ(second, "100010111111001");
}

// A requested version is a lower bound, and a symbol after another is the one
// a fresh encoder makes and the decoders read; a refusal leaves everything as
// it was. Both paths alike, but the optimal one pays for a segment of digits:
// at level M "a" and 28 digits are 20 + 14 + 94 = 128 bits, version 1's capacity.
TEST(EncodeData, VersionChoiceAndRefusals) {
  const std::tuple<std::string, int32_t, int, int, int32_t, int, int> cases[] = {
      // input, length (-1: its size), level, requested version, result, version of one segment, of optimal ones
      {"abc", -1, 0, 5, 0, 5, 5},                     {std::string(15, 'a'), -1, 0, 1, 0, 2, 2},
      {std::string(2953, 'a'), -1, 1, 0, 0, 40, 40},  {std::string(1273, 'a'), -1, 2, 0, 0, 40, 40},
      {std::string(7089, '9'), -1, 1, 0, 0, 40, 40},  {std::string(4296, 'Z'), -1, 1, 0, 0, 40, 40},
      {"a" + std::string(28, '7'), -1, 0, 0, 0, 3, 1}, {"a" + std::string(29, '7'), -1, 0, 0, 0, 3, 2},
      {"", 0, 0, 0, -1, 0, 0},                        {"abc", -5, 0, 0, -1, 0, 0},  // empty, negative length
      {"abc", -1, 7, 0, -1, 0, 0},                    {"abc", -1, 0, 41, -2, 0, 0},  // level 7, version 41
      {std::string(2954, 'a'), -1, 1, 0, -2, 0, 0},   {std::string(1274, 'a'), -1, 2, 0, -2, 0, 0},
      {std::string(7090, '1'), -1, 1, 0, -2, 0, 0},   {std::string(4297, 'Z'), -1, 1, 0, -2, 0, 0},
      {std::string(2000, 'a'), -1, 2, 30, -2, 0, 0}};  // fits version 40, but not at H
  for (const auto& [input, givenLength, level, requested, result, single, optimal] : cases)
    for (const QrSegments segments : {QrSegments::Single, QrSegments::Optimal}) {
      SCOPED_TRACE(testing::Message() << input.size() << " bytes level " << level << " version " << requested
                                      << (segments == QrSegments::Optimal ? " optimal" : " single"));
      auto encoder = NewEncoder(3, 7);
      ASSERT_EQ(encoder->EncodeData("previous symbol", 15), 0);
      encoder->EcLevel = level;
      encoder->Version = requested;
      // Refused: the state before the call; accepted: what a fresh encoder makes.
      const auto expected = result < 0 ? std::make_unique<CQrCodeEncoder>(*encoder) : NewEncoder(level, requested);
      const int32_t length = givenLength == -1 ? static_cast<int32_t>(input.size()) : givenLength;
      const auto* bytes = reinterpret_cast<const uint8_t*>(input.data());
      ASSERT_EQ(encoder->EncodeData(bytes, length, segments), result);
      if (result == 0) {
        ASSERT_EQ(expected->EncodeData(bytes, length, segments), 0);
        EXPECT_EQ(encoder->Version, segments == QrSegments::Optimal ? optimal : single);
        EXPECT_EQ(RoundTrip(*encoder), input);
      }
      const auto& [got, want] = std::tie(*encoder, *expected);
      EXPECT_EQ(std::tie(got.Version, got.EcLevel, got.MaskReference, got.BitStream.Count),
                std::tie(want.Version, want.EcLevel, want.MaskReference, want.BitStream.Count));
      EXPECT_EQ(std::memcmp(got.Modules, want.Modules, sizeof got.Modules), 0);
    }
}

// Every version at every level, in each mode in turn: the decoders read back
// exactly the input, so every block layout, count width and format and
// version information is right.
TEST(Decode, EveryVersionAndLevelInEveryMode) {
  const std::string alphabets[] = {"0123456789", ":0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%*+-./", "\x01\x80\xFF" "abc"};
  std::mt19937 random(3);
  const auto encoder = std::make_unique<CQrCodeEncoder>();
  for (int version = 1; version <= MaxVersion; ++version)
    for (int level = 0; level < LevelCount; ++level) {
      const std::string& alphabet = alphabets[(version + level) % 3];
      std::string input(1 + random() % 7, alphabet[0]);  // 7 bytes fit version 1 at H; ':' keeps numeric mode out
      for (size_t i = 1; i < input.size(); ++i) input[i] = alphabet[random() % alphabet.size()];
      SCOPED_TRACE(testing::Message() << "version " << version << " level " << level << ": " << Printable(input));
      encoder->EcLevel = level;
      encoder->Version = version;
      ASSERT_EQ(encoder->EncodeData(input.data(), static_cast<int32_t>(input.size())), 0);
      EXPECT_EQ(encoder->Version, version);
      EXPECT_EQ(RoundTrip(*encoder), input);
    }
}

}  // namespace
