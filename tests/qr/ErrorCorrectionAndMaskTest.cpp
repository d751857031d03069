// Second half of an encoding: Reed-Solomon codewords, the mask penalty and
// the mask chosen, format information and the final matrix.
#include "qr/DataEncoding.h"
#include "qr/EncodePlan.h"
#include "qr/EncoderSteps.h"
#include "qr/MaskPenalty.h"
#include "qr/QrCodeEncoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace qr;

using Bytes = std::vector<uint8_t>;

Bytes FromString(const std::string& text) { return Bytes(text.begin(), text.end()); }

// The intermediate results of one encoding, recomputed from the encoder's bit stream.
struct Steps {
  std::unique_ptr<CQrCodeEncoder> encoder = std::make_unique<CQrCodeEncoder>();
  Bytes data, ec;
  MaskPenalties penalties;
};

Steps Encode(const Bytes& input, int level) {
  Steps steps;
  steps.encoder->EcLevel = level;
  EXPECT_EQ(steps.encoder->EncodeData(input.data(), static_cast<int32_t>(input.size())), 0);
  const int version = steps.encoder->Version;
  const EncodePlan& plan = *FindEncodePlan(version, level);
  Bytes sequence(plan.TotalCodewords);
  PackCodewords(steps.encoder->BitStream, DataBitCapacity[level][version], sequence.data());
  AppendErrorCorrection(plan, sequence.data());
  steps.data.assign(sequence.begin(), sequence.begin() + plan.DataCodewords);
  steps.ec.assign(sequence.begin() + plan.DataCodewords, sequence.end());
  Bytes columns(CQrCodeEncoder::MaxSide * LineStride), rows(columns.size());
  PlaceModules(plan, sequence.data(), columns.data(), rows.data());
  steps.penalties = ScoreMasks(columns.data(), rows.data(), plan.Side, plan.DataModules);
  return steps;
}

const Bytes PrefixA{0x01, 0x10, 0x41};
const Bytes PrefixT7{0x01, 0x10, 'T', '7'};
const Bytes PrefixT11{0x01, 0x10, 'T', '1', '1'};

struct WorkedExample {
  const char* name;
  Bytes input;
  int level;
  Bytes data;
  Bytes ec;
};

const WorkedExample WorkedExamples[] = {
    {"PrefixA_M", PrefixA, 0,
     {0x40, 0x30, 0x11, 0x04, 0x10, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC},
     {0x4C, 0x93, 0x99, 0x9D, 0x88, 0xD3, 0x60, 0x4B, 0x14, 0xDB}},
    {"Digits_M", FromString("0123456789"), 0,
     {0x10, 0x28, 0x0C, 0x56, 0x6A, 0x69, 0x00, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC, 0x11, 0xEC},
     {}},
    {"HelloWorld_Q", FromString("HELLO WORLD"), 3,
     {0x20, 0x5B, 0x0B, 0x78, 0xD1, 0x72, 0xDC, 0x4D, 0x43, 0x40, 0xEC, 0x11, 0xEC},
     {0xA8, 0x48, 0x16, 0x52, 0xD9, 0x36, 0x9C, 0x00, 0x2E, 0x0F, 0xB4, 0x7A, 0x10}},
};

TEST(WorkedExamples, DataAndErrorCorrectionCodewords) {
  for (const WorkedExample& example : WorkedExamples) {
    SCOPED_TRACE(example.name);
    const Steps steps = Encode(example.input, example.level);
    EXPECT_EQ(steps.encoder->Version, 1);
    EXPECT_EQ(steps.data, example.data);
    if (!example.ec.empty()) {
      EXPECT_EQ(steps.ec, example.ec);
    }
  }
}

struct PenaltyExample {
  const char* name;
  Bytes input;
  int level;
  std::vector<std::pair<int, int32_t>> maskTotals;  // the lowest totals, or all eight
  int chosenMask;
};

const PenaltyExample PenaltyExamples[] = {
    {"PrefixA_M", PrefixA, 0, {{0, 366}, {1, 565}, {2, 322}, {3, 355}, {4, 239}, {5, 300}, {6, 340}, {7, 260}}, 4},
    {"HelloWorld_Q", FromString("HELLO WORLD"), 3, {{3, 294}, {4, 294}}, 4},
    {"PrefixT7_H", PrefixT7, 2, {{1, 252}, {5, 252}}, 5},
    {"PrefixT11_L", PrefixT11, 1, {{2, 253}, {4, 253}}, 4},
};

TEST(WorkedExamples, PenaltiesAndChosenMask) {
  for (const PenaltyExample& example : PenaltyExamples) {
    SCOPED_TRACE(example.name);
    const Steps steps = Encode(example.input, example.level);
    for (const auto& [mask, total] : example.maskTotals) EXPECT_EQ(steps.penalties.Total(mask), total) << "mask " << mask;
    int32_t lowestListed = example.maskTotals.front().second;
    for (const auto& entry : example.maskTotals) lowestListed = std::min(lowestListed, entry.second);
    for (int mask = 0; mask < 8; ++mask) EXPECT_GE(steps.penalties.Total(mask), lowestListed);
    EXPECT_EQ(ChooseMask(steps.penalties), example.chosenMask);
    EXPECT_EQ(steps.encoder->MaskReference, example.chosenMask);
  }
}

TEST(WorkedExamples, HelloWorldPenaltyTerms) {
  const Steps steps = Encode(FromString("HELLO WORLD"), 3);
  EXPECT_EQ(steps.penalties.Runs[3], 248);
  EXPECT_EQ(steps.penalties.FinderPatterns[3], 1);
  EXPECT_EQ(steps.penalties.Balance[3], 6);
  EXPECT_EQ(steps.penalties.Runs[4], 252);
  EXPECT_EQ(steps.penalties.FinderPatterns[4], 1);
  EXPECT_EQ(steps.penalties.Balance[4], 2);
}

std::string FirstFormatCopy(const CQrCodeEncoder& encoder) {
  constexpr int columns[15] = {0, 1, 2, 3, 4, 5, 7, 8, 8, 8, 8, 8, 8, 8, 8};
  constexpr int rows[15] = {8, 8, 8, 8, 8, 8, 8, 8, 7, 5, 4, 3, 2, 1, 0};
  std::string bits;
  for (int k = 0; k < 15; ++k) bits += encoder.IsDark(columns[k], rows[k]) ? '1' : '0';
  return bits;
}

std::string SecondFormatCopy(const CQrCodeEncoder& encoder) {
  const int n = encoder.Side();
  std::string bits;
  for (int k = 0; k < 7; ++k) bits += encoder.IsDark(8, n - 1 - k) ? '1' : '0';
  for (int k = 0; k < 8; ++k) bits += encoder.IsDark(n - 8 + k, 8) ? '1' : '0';
  return bits;
}

TEST(WorkedExamples, FormatInformationInBothCopies) {
  const Steps steps = Encode(PrefixA, 0);
  EXPECT_EQ(FirstFormatCopy(*steps.encoder), "100010111111001");
  EXPECT_EQ(SecondFormatCopy(*steps.encoder), "100010111111001");
}

std::string FormatString(int level, int mask) {
  const uint16_t bits = FormatInformation(level, mask);
  std::string text;
  for (int k = 14; k >= 0; --k) text += (bits >> k & 1) ? '1' : '0';
  return text;
}

TEST(FormatStrings, DocumentedEntries) {
  EXPECT_EQ(FormatString(0, 0), "101010000010010");
  EXPECT_EQ(FormatString(1, 0), "111011111000100");
  EXPECT_EQ(FormatString(3, 7), "010101111101101");
}

// Unmasked, every format word is a multiple of the BCH generator 0x537 and
// starts with the level and mask it stands for.
TEST(FormatStrings, AreCodewordsOfTheBchCode) {
  for (int level = 0; level < 4; ++level)
    for (int mask = 0; mask < 8; ++mask) {
      uint32_t word = FormatInformation(level, mask) ^ 0x5412u;
      EXPECT_EQ(word >> 10, static_cast<uint32_t>(level << 3 | mask));
      for (int bit = 14; bit >= 10; --bit)
        if (word >> bit & 1) word ^= 0x537u << (bit - 10);
      EXPECT_EQ(word, 0u) << level << " " << mask;
    }
}

// Independent check of the remainder-row division: each block, data followed
// by its error-correction codewords, must vanish at alpha^0 .. alpha^(E-1).
uint8_t Multiply(uint8_t a, uint8_t b) {
  uint8_t product = 0;
  for (int i = 0; i < 8; ++i) {
    if (b >> i & 1) product ^= a;
    a = static_cast<uint8_t>(a << 1 ^ ((a & 0x80) ? 0x1D : 0));
  }
  return product;
}

uint8_t Evaluate(const Bytes& coefficients, uint8_t x) {
  uint8_t value = 0;
  for (uint8_t c : coefficients) value = Multiply(value, x) ^ c;
  return value;
}

TEST(ErrorCorrection, EveryBlockIsACodewordOfItsGenerator) {
  std::mt19937 random(7);
  for (int version : {1, 5, 7, 13, 22, 36, 40})
    for (int level = 0; level < 4; ++level) {
      const EncodePlan& plan = *FindEncodePlan(version, level);
      Bytes sequence(plan.TotalCodewords);
      for (int i = 0; i < plan.DataCodewords; ++i) sequence[i] = static_cast<uint8_t>(random());
      AppendErrorCorrection(plan, sequence.data());
      int dataStart = 0;
      for (size_t b = 0; b < plan.BlockDataSizes.size(); ++b) {
        Bytes block(sequence.begin() + dataStart, sequence.begin() + dataStart + plan.BlockDataSizes[b]);
        const auto ec = sequence.begin() + plan.DataCodewords + b * plan.EcPerBlock;
        block.insert(block.end(), ec, ec + plan.EcPerBlock);
        uint8_t root = 1;
        for (int i = 0; i < plan.EcPerBlock; ++i, root = Multiply(root, 2))
          ASSERT_EQ(Evaluate(block, root), 0) << "version " << version << " level " << level << " block " << b;
        dataStart += plan.BlockDataSizes[b];
      }
    }
}

// Reference penalty: one mask, one line at a time, exactly as described.
MaskPenalties ReferencePenalties(const Bytes& columns, int side, int dataModules) {
  MaskPenalties result;
  for (int m = 0; m < 8; ++m) {
    auto cell = [&](int x, int y) { return columns[x * LineStride + y] >> m & 1; };
    int dark = 0;
    for (int direction = 0; direction < 2; ++direction)
      for (int line = 0; line < side; ++line) {
        auto at = [&](int i) { return direction == 0 ? cell(line, i) : cell(i, line); };
        int run = 1;
        for (int i = 1; i < side; ++i) {
          if (at(i) == at(i - 1)) {
            ++run;
            continue;
          }
          if (run > 5) result.Runs[m] += run - 2;
          run = 1;
        }
        for (int i = 0; i + 7 <= side; ++i) {
          static constexpr int finder[7] = {1, 0, 1, 1, 1, 0, 1};
          bool match = true;
          for (int k = 0; k < 7; ++k) match = match && at(i + k) == finder[k];
          result.FinderPatterns[m] += match;
        }
        if (direction == 0)
          for (int i = 0; i < side; ++i) dark += at(i);
      }
    result.Balance[m] = 2 * std::abs(dark * 100 / dataModules - 50);
  }
  return result;
}

Bytes Transposed(const Bytes& columns, int side) {
  Bytes rows(columns.size());
  for (int x = 0; x < side; ++x)
    for (int y = 0; y < side; ++y) rows[y * LineStride + x] = columns[x * LineStride + y];
  return rows;
}

TEST(MaskPenalty, MatchesOneMaskAtATimeReference) {
  std::mt19937 random(11);
  for (int side : {21, 25, 29, 57, 101, 177})
    for (int density : {2, 8, 50}) {  // sparse matrices give long runs, dense ones many finders
      Bytes columns(CQrCodeEncoder::MaxSide * LineStride, 0);
      for (int x = 0; x < side; ++x)
        for (int y = 0; y < side; ++y) {
          uint8_t cell = 0;
          for (int m = 0; m < 8; ++m) cell |= static_cast<uint8_t>((static_cast<int>(random() % 100) < density) << m);
          columns[x * LineStride + y] = cell;
        }
      const Bytes rows = Transposed(columns, side);
      const int dataModules = side * side - 100;
      const MaskPenalties fast = ScoreMasks(columns.data(), rows.data(), side, dataModules);
      const MaskPenalties reference = ReferencePenalties(columns, side, dataModules);
      EXPECT_EQ(fast.Runs, reference.Runs) << "side " << side << " density " << density;
      EXPECT_EQ(fast.FinderPatterns, reference.FinderPatterns) << "side " << side << " density " << density;
      EXPECT_EQ(fast.Balance, reference.Balance) << "side " << side << " density " << density;
    }
}

// Six dark modules at the top of a column, then light: the run is ended and
// adds 6 - 2. The same six at the bottom edge stay open and add nothing.
TEST(MaskPenalty, RunScoresOnlyWhenEndedByTheOtherColour) {
  struct Case {
    int firstDarkRow;
    int32_t expectedRuns;
  };
  constexpr int side = 21;
  for (const Case c : {Case{0, 4}, Case{15, 0}}) {
    Bytes columns(CQrCodeEncoder::MaxSide * LineStride, 0);
    for (int y = 0; y < side; ++y) {
      const bool inRun = y >= c.firstDarkRow && y < c.firstDarkRow + 6;
      const bool alternating = c.firstDarkRow > 0 && y < c.firstDarkRow && y % 2 == 1;
      columns[3 * LineStride + y] = (inRun || alternating) ? 1 : 0;
    }
    const Bytes rows = Transposed(columns, side);
    EXPECT_EQ(ScoreMasks(columns.data(), rows.data(), side, 208).Runs[0], c.expectedRuns) << c.firstDarkRow;
  }
}

TEST(MaskChoice, TiesGoToTheHighestMask) {
  MaskPenalties penalties;
  penalties.Runs = {10, 5, 9, 5, 7, 5, 8, 6};
  EXPECT_EQ(ChooseMask(penalties), 5);
  penalties.Runs = {3, 9, 9, 9, 9, 9, 9, 9};
  EXPECT_EQ(ChooseMask(penalties), 0);
}

}  // namespace
