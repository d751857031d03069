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

// A style that loses a condition is mended as every front end makes it
// (MakeReadableSymbol): a level nobody chose is raised first, to H, then a
// version nobody chose grows; what was chosen is kept, and what still loses
// is refused, naming the condition.
TEST(CameraConditions, AStyleThatLosesAConditionIsRaisedUntilItReads) {
  constexpr Rgb Navy{0x1f, 0x3a, 0x93}, Cream{0xff, 0xf4, 0xd6};
  SymbolStyle dots;
  dots.moduleShape = ModuleShape::Dots;
  dots.eyeShape = EyeShape::Circle;
  RgbaImage red{8, 8, {}};
  for (int i = 0; i < 64; ++i) red.pixels.insert(red.pixels.end(), {200, 30, 30, 255});
  SymbolStyle logo{Navy, Cream, false, std::make_shared<const RgbaImage>(std::move(red)), {}};
  logo.logoShare = 0.14;
  const std::string url = "https://example.com/quillet";
  const struct {
    const char* name;
    std::string data;
    SymbolStyle style;
    bool levelChosen;
    int version;  // chosen; 0 for none
    bool reads;
    QrLevel level;
    int madeVersion;
    std::optional<QrLevel> raisedFrom;
    int grownFrom;
  } cases[] = {
      // The logo loses the tilt at 8-M and reads at 8-Q: more correction, the same version.
      {"logo: level raised at the same version", url, logo, false, 8, true, QrLevel::Q, 8, QrLevel::M, 0},
      {"logo: level and version chosen, refused", url, logo, true, 8, false, QrLevel::M, 8, std::nullopt, 0},
      // Circle eyes lose at version 1 whatever the level: raised, then grown.
      {"dots: level raised, then the version", "hello", dots, false, 0, true, QrLevel::H, 2, QrLevel::M, 1},
      {"dots: level chosen, the version grows", "hello", dots, true, 0, true, QrLevel::M, 2, std::nullopt, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SymbolRequest request;
    request.data = c.data;
    request.levelChosen = c.levelChosen;
    request.version = c.version;
    ImageOptions options;
    options.style = c.style;
    const Symbol first = MakeStyledSymbol(request, c.style).symbol;
    const ReadBackResult every = CheckStyledSymbol(first, options)->readBack;
    ASSERT_TRUE(LostCondition(every)) << "no loss at version " << first.version;
    // Batch stops at the first loss: the same verdict, in the same words, from fewer readings.
    const ReadBackResult quick = CheckStyledSymbol(first, options, CameraCheckDepth::UntilLoss)->readBack;
    EXPECT_EQ(quick.status, every.status);
    EXPECT_EQ(quick.fault, every.fault);
    EXPECT_EQ(quick.decoder, every.decoder);
    EXPECT_EQ(quick.advice.higherLevel, every.advice.higherLevel);
    EXPECT_EQ(quick.advice.smallerLogo, every.advice.smallerLogo);
    ASSERT_TRUE(LostCondition(quick));
    EXPECT_EQ(LostCondition(quick)->condition, LostCondition(every)->condition);
    EXPECT_EQ(LostCondition(quick), &quick.conditions.back());
    ASSERT_LE(quick.conditions.size(), every.conditions.size());
    for (size_t i = 0; i < quick.conditions.size(); ++i) {
      EXPECT_EQ(quick.conditions[i].condition, every.conditions[i].condition);
      EXPECT_EQ(quick.conditions[i].styled, every.conditions[i].styled);
      EXPECT_EQ(quick.conditions[i].plain, every.conditions[i].plain);
    }

    const CheckedSymbol made = MakeReadableSymbol(request, c.style, nullptr, [&](const Symbol& symbol) {
      return CheckStyledSymbol(symbol, options);
    });
    ASSERT_TRUE(made.made.Ok());
    ASSERT_TRUE(made.check);
    const ReadBackResult& read = made.check->readBack;
    EXPECT_EQ(made.made.symbol.level, c.level);
    EXPECT_EQ(made.made.symbol.version, c.madeVersion);
    EXPECT_LE(made.made.symbol.version, first.version + MaxReadBackGrowth);
    EXPECT_EQ(read.levelRaisedFrom, c.raisedFrom);
    EXPECT_EQ(read.versionGrownFrom, c.grownFrom);
    EXPECT_EQ(read.Ok(), c.reads);
    if (c.reads) EXPECT_EQ(ConditionsRead(read.conditions), CameraConditionCount);
    else EXPECT_EQ(read.fault, ReadBackFault::LostUnderCondition);
    // Chosen by the user and still lost: the advice names what was not raised.
    if (!c.reads) EXPECT_TRUE(read.advice.higherLevel);
  }
}

}  // namespace
