// First half of an encoding: level text, mode, bit stream, version choice and
// the refusals that must leave the previous symbol in place.
#include "qr/DataEncoding.h"
#include "qr/QrCodeEncoder.h"
#include "qr/QrStandard.h"
#include "qr/SymbolTableStore.h"
#include "qr/SymbolTables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace qr;

std::unique_ptr<CQrCodeEncoder> NewEncoder(int level = 0, int version = 0) {
  auto encoder = std::make_unique<CQrCodeEncoder>();
  encoder->EcLevel = level;
  encoder->Version = version;
  return encoder;
}

int32_t Encode(CQrCodeEncoder& encoder, const std::string& input) {
  return encoder.EncodeData(input.data(), static_cast<int32_t>(input.size()));
}

TEST(Level, TextSelectsTheLevelIndex) {
  const std::pair<const char*, int32_t> cases[] = {{"L", 1}, {"l", 1}, {"M", 0}, {"m", 0}, {"Q", 3}, {"q", 3},
                                                   {"H", 2}, {"h", 2}, {"", 0},  {"LL", 0}, {"High", 0}, {"x", 0}};
  for (const auto& [text, level] : cases) {
    auto encoder = NewEncoder(2);
    encoder->SetErrorCorrectionLevel(text);
    EXPECT_EQ(encoder->EcLevel, level) << '"' << text << '"';
  }
}

TEST(Mode, ChosenFromTheWholeInput) {
  const std::pair<std::string, Mode> cases[] = {
      {"0123456789", Mode::Numeric}, {"7", Mode::Numeric},         {"A1", Mode::Alphanumeric},
      {"12AB", Mode::Alphanumeric}, {"HELLO WORLD", Mode::Alphanumeric}, {"$%*+-./: ", Mode::Alphanumeric},
      {"hello", Mode::Byte},         {"HELLo", Mode::Byte},         {"12\x01", Mode::Byte},
      {"\x01\x10" "A", Mode::Byte},  {"A,B", Mode::Byte}};
  for (const auto& [input, mode] : cases)
    EXPECT_EQ(ChooseMode(reinterpret_cast<const uint8_t*>(input.data()), static_cast<int32_t>(input.size())), mode)
        << input;
}

struct VersionCase {
  const char* name;
  std::string input;
  int level;
  int requested;
  int expectedVersion;
  int terminatorBits;  // 0 when the stream fills the capacity
};

std::string Repeat(char c, int count) { return std::string(count, c); }

TEST(VersionChoice, SmallestFittingVersionRaisedToTheRequest) {
  const VersionCase cases[] = {
      {"14 bytes M fill v1 but the terminator", Repeat('a', 14), 0, 0, 1, 4},
      {"15 bytes M take v2", Repeat('a', 15), 0, 0, 2, 4},
      {"34 digits M fill v1 exactly", Repeat('7', 34), 0, 0, 1, 0},
      {"33 digits M leave 4 bits", Repeat('7', 33), 0, 0, 1, 4},
      {"35 digits M take v2", Repeat('7', 35), 0, 0, 2, 4},
      {"request 5 for 3 bytes stays", "abc", 0, 5, 5, 4},
      {"request 1 for 15 bytes rises", Repeat('a', 15), 0, 1, 2, 4},
      {"997 bytes H", Repeat('a', 997), 2, 0, 36, 4},
      {"997 bytes L", Repeat('a', 997), 1, 0, 22, 4},
      {"2953 bytes L", Repeat('a', 2953), 1, 0, 40, 0},
      {"1273 bytes H", Repeat('a', 1273), 2, 0, 40, 0},
      {"7089 digits L", Repeat('9', 7089), 1, 0, 40, 0},
      {"4296 characters L", Repeat('Z', 4296), 1, 0, 40, 0},
  };
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto encoder = NewEncoder(c.level, c.requested);
    ASSERT_EQ(Encode(*encoder, c.input), 0);
    EXPECT_EQ(encoder->Version, c.expectedVersion);
    const auto& stream = encoder->BitStream;
    int bits = 0;
    for (int e = 0; e < stream.Count; ++e) bits += stream.Lengths[e];
    const bool hasTerminator = bits - c.terminatorBits < DataBitCapacity[c.level][c.expectedVersion];
    EXPECT_EQ(hasTerminator ? stream.Lengths[stream.Count - 1] : 0, c.terminatorBits);
    EXPECT_LE(bits, DataBitCapacity[c.level][c.expectedVersion]);
  }
}

TEST(BitStream, CountWidthFollowsTheVersion) {
  struct Case {
    std::string input;
    int version;
    int width;
  };
  const Case cases[] = {{"a", 9, 8},    {"a", 10, 16}, {"a", 40, 16}, {"1", 9, 10}, {"1", 10, 12},
                        {"1", 26, 12},  {"1", 27, 14}, {"A", 9, 9},   {"A", 26, 11}, {"A", 27, 13}};
  for (const Case& c : cases) {
    auto encoder = NewEncoder(0, c.version);
    ASSERT_EQ(Encode(*encoder, c.input), 0);
    EXPECT_EQ(encoder->CountEntryIndex, 1);
    EXPECT_EQ(encoder->BitStream.Lengths[1], c.width) << c.input << " v" << c.version;
    EXPECT_EQ(encoder->BitStream.Values[1], 1);
  }
}

// Everything a refused call must leave alone.
struct Snapshot {
  int32_t version, level, count, mask;
  std::vector<uint8_t> modules;
  std::vector<int32_t> entries;

  explicit Snapshot(const CQrCodeEncoder& e)
      : version(e.Version), level(e.EcLevel), count(e.BitStream.Count), mask(e.MaskReference),
        modules(e.Modules, e.Modules + sizeof e.Modules),
        entries(e.BitStream.Values, e.BitStream.Values + e.BitStream.Count) {
    entries.insert(entries.end(), e.BitStream.Lengths, e.BitStream.Lengths + e.BitStream.Count);
  }
  bool operator==(const Snapshot&) const = default;
};

TEST(Refusal, NothingChanges) {
  struct Case {
    const char* name;
    std::string input;
    int32_t length;  // -1: the input's size
    int level;
    int requested;
    int32_t result;
  };
  const Case cases[] = {
      {"empty", "", 0, 0, 0, -1},
      {"negative length", "abc", -5, 0, 0, -1},
      {"level out of range", "abc", -1, 7, 0, -1},
      {"2954 bytes at L", Repeat('a', 2954), -1, 1, 0, -2},
      {"1274 bytes at H", Repeat('a', 1274), -1, 2, 0, -2},
      {"7090 digits at L", Repeat('1', 7090), -1, 1, 0, -2},
      {"4297 characters at L", Repeat('Z', 4297), -1, 1, 0, -2},
      {"version 41 requested", "abc", -1, 0, 41, -2},
      {"fits v40 M but not at requested level H", Repeat('a', 2000), -1, 2, 30, -2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto encoder = NewEncoder(3, 7);
    ASSERT_EQ(Encode(*encoder, "previous symbol"), 0);
    encoder->EcLevel = c.level;
    encoder->Version = c.requested;
    const Snapshot before(*encoder);
    const int32_t length = c.length == -1 ? static_cast<int32_t>(c.input.size()) : c.length;
    EXPECT_EQ(encoder->EncodeData(c.input.data(), length), c.result);
    EXPECT_TRUE(Snapshot(*encoder) == before);
  }
}

TEST(Matrix, SameInputSameSymbolWhateverCameBefore) {
  auto fresh = NewEncoder(0, 3);
  ASSERT_EQ(Encode(*fresh, "short"), 0);
  auto reused = NewEncoder(0, 0);
  ASSERT_EQ(Encode(*reused, Repeat('x', 400)), 0);
  reused->Version = 3;
  ASSERT_EQ(Encode(*reused, "short"), 0);
  EXPECT_EQ(reused->Version, 3);
  EXPECT_EQ(std::memcmp(fresh->Modules, reused->Modules, sizeof fresh->Modules), 0);
  EXPECT_EQ(fresh->BitStream.Count, reused->BitStream.Count);
}

TEST(Matrix, CellsBeyondTheSymbolAreZero) {
  auto encoder = NewEncoder();
  ASSERT_EQ(Encode(*encoder, Repeat('x', 2000)), 0);
  encoder->Version = 0;
  ASSERT_EQ(Encode(*encoder, "x"), 0);
  const int n = encoder->Side();
  ASSERT_EQ(n, 21);
  for (int x = 0; x < CQrCodeEncoder::MaxSide; ++x)
    for (int y = 0; y < CQrCodeEncoder::MaxSide; ++y)
      if (x >= n || y >= n) {
        ASSERT_EQ(encoder->Modules[x * CQrCodeEncoder::MaxSide + y], 0) << x << "," << y;
      }
}

TEST(Matrix, CellsAreZeroOrOneAndTheDarkModuleIsDark) {
  auto encoder = NewEncoder(2);
  for (int version = 1; version <= 40; ++version) {
    encoder->Version = version;
    ASSERT_EQ(Encode(*encoder, "\x01"), 0);
    ASSERT_EQ(encoder->Version, version);
    EXPECT_TRUE(encoder->IsDark(8, 4 * version + 9)) << version;
    for (uint8_t cell : encoder->Modules) ASSERT_LE(cell, 1);
  }
}

TEST(Matrix, Version2RemainderModulesShowTheMaskCondition) {
  for (int level = 0; level < 4; ++level) {
    auto encoder = NewEncoder(level, 2);
    ASSERT_EQ(Encode(*encoder, "remainder"), 0);
    const SymbolTable qrv = SymbolTableStore::Find("QRV", QrvTableId(2, level));
    constexpr int s = 359, firstRemainder = 8 * 44;
    for (int e = firstRemainder; e < s; ++e) {
      const int x = qrv.Bytes[e], y = qrv.Bytes[s + e];
      EXPECT_EQ(encoder->IsDark(x, y), (MaskBitsAt(y, x) >> encoder->MaskReference & 1) == 1) << x << "," << y;
    }
  }
}

}  // namespace
