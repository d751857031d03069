// The camera's conditions: plain symbols read under each by each decoder
// where they should, and a style that reads clean but loses what the plain
// symbol keeps under one of them is refused, naming it.
#include <gtest/gtest.h>

#include "image/StyledSymbol.h"
#include "tests/support/Symbols.h"
#include "verify/ReadBack.h"

using namespace quillet;

namespace {

Symbol Made(Symbology symbology, const std::string& data, int version = 0, QrLevel level = QrLevel::M) {
  Symbol symbol = RequestedSymbol(symbology, data, version, level);
  EXPECT_FALSE(symbol.matrix.Empty());
  return symbol;
}

std::string Name(const ConditionReading& reading) {
  return std::string(CameraConditions[reading.condition].name) + " by " + reading.decoder;
}

// Every plain symbol here reads under every condition, by every decoder of
// its symbology; nothing is misread.
TEST(CameraConditions, PlainSymbolsReadUnderEveryCondition) {
  const struct {
    const char* name;
    Symbol symbol;
  } cases[] = {
      {"QR version 2", Made(Symbology::QrCode, "https://example.com/a", 2)},
      {"QR version 10", Made(Symbology::QrCode, std::string(150, 'q') + "\xe4\xb8\xad", 10)},
      {"Data Matrix", Made(Symbology::DataMatrix, "Serial 000123 lot 77")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ImageOptions options;
    const auto readings = ReadUnderCameraConditions(c.symbol.matrix, options, c.symbol.symbology, c.symbol.data);
    ASSERT_EQ(readings.size(), (CameraConditionCount - 1) * CameraDecoders(c.symbol.symbology).size());
    for (const ConditionReading& reading : readings)
      EXPECT_EQ(reading.styled, CameraReading::Read) << Name(reading);
  }
}

// Every front end's gate: a style that reads clean at the file's scale but
// loses, under a camera condition, what the plain symbol keeps is refused,
// naming the condition, the decoder and what would help.
TEST(CameraConditions, AStyleMayLoseNothingThePlainSymbolKeeps) {
  constexpr Rgb Navy{0x1f, 0x3a, 0x93}, Cream{0xff, 0xf4, 0xd6}, LightGrey{0x94, 0x94, 0x94};
  RgbaImage red{8, 8, {}};
  for (int i = 0; i < 64; ++i) red.pixels.insert(red.pixels.end(), {200, 30, 30, 255});
  const auto logo = std::make_shared<const RgbaImage>(std::move(red));
  const struct {
    const char* name;
    Symbol symbol;
    SymbolStyle style;
    std::string_view lost;  // empty: accepted
    StyleAdvice advice;
  } cases[] = {
      // The logo spends the error correction the noise needs, and the
      // version is fixed: refused, where the plain symbol reads in harsher noise.
      {"navy on cream with a logo", Made(Symbology::QrCode, "https://example.com/q", 10, QrLevel::H),
       SymbolStyle{Navy, Cream, false, logo, {}}, "sensor noise", {true, false, true}},
      {"navy on cream, QR", Made(Symbology::QrCode, "https://example.com/q", 10, QrLevel::H), SymbolStyle{Navy, Cream},
       {}, {}},
      {"navy on cream, Data Matrix", Made(Symbology::DataMatrix, "Serial 000123 lot 77"), SymbolStyle{Navy, Cream},
       {}, {}},
      // Allowed by the contrast rule (3.03), read clean, lost in the noise.
      {"light grey, level M", Made(Symbology::QrCode, std::string(150, 'q'), 10), SymbolStyle{LightGrey, White},
       "sensor noise", {false, true, true}},
      {"light grey with a logo", Made(Symbology::QrCode, std::string(150, 'q'), 10, QrLevel::H),
       SymbolStyle{LightGrey, White, false, logo, {}}, "sensor noise", {true, false, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ImageOptions options;
    const StyledSymbolCheck check = PlaceAndReadBack(c.symbol, c.style, options);
    ASSERT_TRUE(check.fit.Ok());
    const ReadBackResult& read = check.readBack;
    const ConditionReading* lost = LostCondition(read);
    EXPECT_EQ(read.Ok(), c.lost.empty());
    if (c.lost.empty()) {
      EXPECT_EQ(ConditionsRead(read.conditions), CameraConditionCount);
      for (const ConditionReading& reading : read.conditions)
        EXPECT_EQ(reading.styled, CameraReading::Read) << Name(reading);
      EXPECT_FALSE(lost) << Name(*lost);
      continue;
    }
    ASSERT_TRUE(lost);
    EXPECT_EQ(CameraConditions[lost->condition].name, c.lost);
    EXPECT_EQ(read.fault, ReadBackFault::LostUnderCondition);
    EXPECT_EQ(read.decoder, lost->decoder);
    EXPECT_EQ(read.status, ReadBackStatus::NotRead);
    EXPECT_EQ(read.advice.smallerLogo, c.advice.smallerLogo);
    EXPECT_EQ(read.advice.higherLevel, c.advice.higherLevel);
    EXPECT_EQ(read.advice.moreContrast, c.advice.moreContrast);
    EXPECT_NE(lost->styled, CameraReading::Read);
  }
}

// A style that loses a condition at the smallest version grows, as every
// front end makes it (MakeReadableSymbol), until it reads under every one.
TEST(CameraConditions, AStyleThatLosesAConditionGrowsUntilItReads) {
  SymbolRequest request;
  request.data = "hello world";
  ImageOptions options;
  options.style.moduleShape = ModuleShape::Dots;
  options.style.eyeShape = EyeShape::Circle;
  const Symbol smallest = MakeStyledSymbol(request, options.style).symbol;
  const std::optional<StyledSymbolCheck> first = CheckStyledSymbol(smallest, options);
  ASSERT_TRUE(first);
  ASSERT_TRUE(LostCondition(first->readBack)) << "the case no longer loses at version " << smallest.version;

  const CheckedSymbol grown = MakeReadableSymbol(request, options.style, nullptr, [&](const Symbol& symbol) {
    return CheckStyledSymbol(symbol, options);
  });
  ASSERT_TRUE(grown.made.Ok());
  EXPECT_GT(grown.made.symbol.version, smallest.version);
  EXPECT_LE(grown.made.symbol.version, smallest.version + MaxReadBackGrowth);
  ASSERT_TRUE(grown.check);
  EXPECT_TRUE(grown.check->Ok());
  EXPECT_EQ(ConditionsRead(grown.check->readBack.conditions), CameraConditionCount);

  // A version chosen is kept: the loss is refused, naming the condition.
  request.version = smallest.version;
  const CheckedSymbol kept = MakeReadableSymbol(request, options.style, nullptr, [&](const Symbol& symbol) {
    return CheckStyledSymbol(symbol, options);
  });
  EXPECT_EQ(kept.made.symbol.version, smallest.version);
  ASSERT_TRUE(kept.check);
  EXPECT_FALSE(kept.check->Ok());
  EXPECT_EQ(kept.check->readBack.fault, ReadBackFault::LostUnderCondition);
}

}  // namespace
