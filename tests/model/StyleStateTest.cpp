// The style's state without a display: which styles are refused and why,
// and which read-back may speak for the symbol shown.
#include <gtest/gtest.h>

#include <cmath>

#include "model/StyleState.h"

using namespace quillet;

namespace {

Symbol Made(Symbology symbology, const std::string& data, QrLevel level = QrLevel::M) {
  SymbolRequest request;
  request.symbology = symbology;
  request.data = data;
  request.level = level;
  const SymbolResult made = MakeSymbol(request);
  EXPECT_TRUE(made.Ok());
  return made.symbol;
}

std::shared_ptr<const RgbaImage> RedLogo() {
  RgbaImage logo{8, 8, {}};
  for (int i = 0; i < 64; ++i) logo.pixels.insert(logo.pixels.end(), {255, 0, 0, 255});
  return std::make_shared<const RgbaImage>(std::move(logo));
}

constexpr Rgb Grey{0x99, 0x99, 0x99}, Navy{0x1f, 0x3a, 0x93}, Cream{0xff, 0xf4, 0xd6};

struct RefusalCase {
  const char* name;
  Symbology symbology;
  Rgb foreground, background;
  ContrastAllowance allowed;
  bool logo;
  std::optional<double> logoShare;
  StyleProblem problem;
  double ratio;             // for a contrast refusal, to two places as the page words it
  LogoFailure logoFailure;  // for a logo that does not fit
};

class StyleStateRefusals : public testing::TestWithParam<RefusalCase> {};

// Worked by hand: #999999 has relative luminance 0.3185, so on white the
// ratio is 1.05 / 0.3685 = 2.85; white on black is 21, but inverted. The
// colours are judged before the logo.
TEST_P(StyleStateRefusals, NameTheRuleAndWhatItMeasured) {
  const RefusalCase& c = GetParam();
  StyleState state;
  PageStyle style;
  style.style.foreground = c.foreground;
  style.style.background = c.background;
  style.allowed = c.allowed;
  if (c.logo) style.style.logo = RedLogo();
  style.style.logoShare = c.logoShare;
  state.SetStyle(style);
  ImageOptions options;
  const bool check = state.Draw(Made(c.symbology, "abc"), options);
  EXPECT_TRUE(state.Styled());
  EXPECT_EQ(state.Problem(), c.problem);
  EXPECT_EQ(state.Refused(), c.problem != StyleProblem::None);
  EXPECT_EQ(check, c.problem == StyleProblem::None);
  EXPECT_EQ(state.Pending(), check);
  EXPECT_EQ(state.Generation(), check ? 1u : 0u);
  if (c.problem == StyleProblem::LowContrast || c.problem == StyleProblem::Inverted) {
    EXPECT_EQ(std::round(state.Contrast().ratio * 100) / 100, c.ratio);
  }
  EXPECT_EQ(state.Fit().failure, c.logoFailure);
  // The style is drawn all the same, refused or not: the page shows what it refuses.
  EXPECT_EQ(options.style.foreground, c.foreground);
  EXPECT_EQ(options.logo != nullptr, c.logo && c.logoFailure == LogoFailure::None);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, StyleStateRefusals,
    testing::Values(
        RefusalCase{"LowContrast", Symbology::QrCode, Grey, White, {}, false, {}, StyleProblem::LowContrast, 2.85, LogoFailure::None},
        RefusalCase{"Inverted", Symbology::QrCode, White, Black, {}, false, {}, StyleProblem::Inverted, 21, LogoFailure::None},
        RefusalCase{"LowContrastAllowed", Symbology::QrCode, Grey, White, {true, false}, false, {}, StyleProblem::None, 0,
                    LogoFailure::None},
        RefusalCase{"InvertedAllowed", Symbology::DataMatrix, White, Black, {false, true}, false, {}, StyleProblem::None, 0,
                    LogoFailure::None},
        RefusalCase{"Colours", Symbology::DataMatrix, Navy, Cream, {}, false, {}, StyleProblem::None, 0, LogoFailure::None},
        RefusalCase{"Logo", Symbology::QrCode, Navy, Cream, {}, true, {}, StyleProblem::None, 0, LogoFailure::None},
        RefusalCase{"LogoInDm", Symbology::DataMatrix, Black, White, {}, true, {}, StyleProblem::LogoDoesNotFit, 0,
                    LogoFailure::NotQrCode},
        RefusalCase{"LogoTooLarge", Symbology::QrCode, Black, White, {}, true, 0.5, StyleProblem::LogoDoesNotFit, 0,
                    LogoFailure::TooLarge},
        RefusalCase{"ColoursBeforeLogo", Symbology::DataMatrix, Grey, White, {}, true, {}, StyleProblem::LowContrast, 2.85,
                    LogoFailure::NotQrCode}),
    [](const auto& info) { return std::string(info.param.name); });

// The page is held to the command line's rule for a frame's colour: its
// refusal names that colour, whose caption could not be read.
TEST(StyleState, APaleFrameIsRefusedByItsColour) {
  StyleState state;
  PageStyle style{SymbolStyle{Navy, White}, {}, {}};
  style.style.frameText = "扫一扫";
  style.style.frameColour = Rgb{0xee, 0xee, 0xee};
  state.SetStyle(style);
  ImageOptions options;
  EXPECT_FALSE(state.Draw(Made(Symbology::QrCode, "abc"), options));
  EXPECT_EQ(state.Problem(), StyleProblem::LowContrast);
  EXPECT_EQ(state.Contrast().dark, *style.style.frameColour);
  EXPECT_TRUE(state.Contrast().frame);
}

// A gradient is judged at its lighter end, which the refusal names; a
// caption is judged as the writers would draw it, after the colours. A
// gradient chosen without a second colour shades into the default one.
struct GradientFrameCase {
  const char* name;
  std::optional<Rgb> second;
  std::string caption;
  StyleProblem problem;
  Rgb judged;  // the dark colour the rule measured last: the lighter end first, so the darker when it passes
  ImageFailure captionFailure;
};

class StyleStateGradientFrame : public testing::TestWithParam<GradientFrameCase> {};

TEST_P(StyleStateGradientFrame, RefuseTheLighterEndAndACaptionNoFrameDraws) {
  const GradientFrameCase& c = GetParam();
  PageStyle style;
  style.style = WithGradient(SymbolStyle{Navy, White}, Gradient::Radial);
  if (c.second) style.style.foreground2 = c.second;
  style.style.frameText = c.caption;
  StyleState state;
  state.SetStyle(style);
  ImageOptions options;
  EXPECT_EQ(state.Draw(Made(Symbology::QrCode, "abc"), options), c.problem == StyleProblem::None);
  EXPECT_EQ(state.Problem(), c.problem);
  EXPECT_EQ(state.Contrast().dark, c.judged);
  EXPECT_EQ(state.Caption().failure, c.captionFailure);
  EXPECT_TRUE(options.style.HasGradient());  // drawn, refused or not
  EXPECT_EQ(Keepable(style), c.problem == StyleProblem::None);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, StyleStateGradientFrame,
    testing::Values(
        GradientFrameCase{"DefaultSecondColour", {}, "扫一扫，加我为联系人", StyleProblem::None, Navy,
                          ImageFailure::None},
        GradientFrameCase{"LighterEndTooLight", Grey, "", StyleProblem::LowContrast, Grey, ImageFailure::None},
        GradientFrameCase{"ColoursBeforeCaption", Grey, std::string(65, 'x'), StyleProblem::LowContrast, Grey,
                          ImageFailure::BadCaption},
        GradientFrameCase{"CaptionTooLong", {}, std::string(65, 'x'), StyleProblem::BadCaption, Navy,
                          ImageFailure::BadCaption},
        GradientFrameCase{"CharacterTheFontLacks", {}, "扫\U0001F600", StyleProblem::BadCaption, Navy,
                          ImageFailure::CaptionCharacter},
        GradientFrameCase{"ScriptDrawnOnlyShaped", {}, "扫 مرحبا", StyleProblem::BadCaption, Navy,
                          ImageFailure::CaptionScript}),
    [](const auto& info) { return std::string(info.param.name); });

// The page keeps, draws, saves and remembers the caption without the blanks
// around it; one of only blanks is no frame, as an empty one, and no refusal.
TEST(StyleState, BlanksAroundTheCaptionAreNotKept) {
  const struct {
    std::string typed, kept;
  } cases[] = {
      {" \t\u3000", ""},
      {"\u00a0\u2003\u200b", ""},
      {"\u3000扫一扫 ", "扫一扫"},
      {" scan me\t", "scan me"},
  };
  const Symbol symbol = Made(Symbology::QrCode, "abc");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    PageStyle style;
    style.style.frameText = c.typed;
    StyleState state;
    state.SetStyle(style);
    EXPECT_EQ(state.Style().style.frameText, c.kept);
    ImageOptions options;
    EXPECT_EQ(state.Draw(symbol, options), !c.kept.empty());
    EXPECT_EQ(state.Styled(), !c.kept.empty());
    EXPECT_FALSE(state.Refused());
    EXPECT_EQ(options.style.frameText, c.kept);
  }
}

// A plain style, or no symbol, has nothing to say and nothing to read back.
TEST(StyleState, NothingIsCheckedWithoutAStyleOrASymbol) {
  StyleState state;
  ImageOptions options;
  EXPECT_FALSE(state.Draw(Made(Symbology::QrCode, "abc"), options));
  EXPECT_FALSE(state.Styled() || state.Pending() || state.Refused());
  state.SetStyle(PageStyle{SymbolStyle{Grey, White}, {}, {}});
  EXPECT_FALSE(state.Draw(Symbol{}, options));
  EXPECT_FALSE(state.Styled() || state.Pending() || state.Refused());
  EXPECT_EQ(state.Generation(), 0u);
}

ReadBackResult Read(ReadBackStatus status) {
  ReadBackResult result;
  result.status = status;
  return result;
}

// Each symbol drawn is a generation; a read-back of an older one is dropped,
// the current one's taken once; a symbol drawn plain or no symbol ends the
// one pending. The real read-back of the styled symbol is what is taken.
TEST(StyleState, OnlyTheReadBackOfTheSymbolShownCounts) {
  StyleState state;
  state.SetStyle(PageStyle{SymbolStyle{Navy, Cream}, {}, {}});
  ImageOptions options;
  const Symbol symbol = Made(Symbology::QrCode, "abc");
  ASSERT_TRUE(state.Draw(symbol, options));
  ASSERT_TRUE(state.Draw(symbol, options));
  EXPECT_EQ(state.Generation(), 2u);
  EXPECT_FALSE(state.Accept(1, Read(ReadBackStatus::NotRead)));
  EXPECT_TRUE(state.Pending());
  EXPECT_FALSE(state.Refused());
  const ReadBackResult read = VerifyStyledSymbol(symbol.matrix, options, Symbology::QrCode, symbol.data);
  ASSERT_TRUE(read.Ok());
  EXPECT_TRUE(state.Accept(2, read));
  EXPECT_FALSE(state.Pending() || state.Refused());
  EXPECT_FALSE(state.Accept(2, Read(ReadBackStatus::NotRead)));  // taken once
  EXPECT_FALSE(state.Refused());

  ASSERT_TRUE(state.Draw(symbol, options));
  EXPECT_TRUE(state.Accept(3, Read(ReadBackStatus::NotRead)));
  EXPECT_EQ(state.Problem(), StyleProblem::NotReadBack);
  EXPECT_EQ(state.ReadBack().status, ReadBackStatus::NotRead);
  EXPECT_TRUE(state.Refused());

  ASSERT_TRUE(state.Draw(symbol, options));
  EXPECT_FALSE(state.Refused());  // a new symbol is judged afresh
  state.SetStyle(PageStyle{});
  EXPECT_FALSE(state.Draw(symbol, options));
  EXPECT_FALSE(state.Pending());
  EXPECT_FALSE(state.Accept(4, Read(ReadBackStatus::ReadBack)));
  EXPECT_FALSE(state.Styled());
}

}  // namespace

namespace {

// A read-back that lost a camera condition advises a higher level only for
// a QR Code below H: the page's symbol, not the read-back, knows the level.
TEST(StyleState, AHigherLevelIsAdvisedBelowH) {
  ReadBackResult lost = Read(ReadBackStatus::NotRead);
  lost.fault = ReadBackFault::LostUnderCondition;
  lost.conditions = {{1, "zbar", CameraReading::NotRead, CameraReading::Read}};
  const struct {
    Symbology symbology;
    QrLevel level;
    bool advised;
  } cases[] = {{Symbology::QrCode, QrLevel::M, true}, {Symbology::QrCode, QrLevel::H, false},
               {Symbology::DataMatrix, QrLevel::M, false}};
  for (const auto& c : cases) {
    StyleState state;
    state.SetStyle(PageStyle{SymbolStyle{Navy, Cream}, {}, {}});
    ImageOptions options;
    ASSERT_TRUE(state.Draw(Made(c.symbology, "abc", c.level), options));
    ASSERT_TRUE(state.Accept(state.Generation(), lost));
    EXPECT_EQ(state.ReadBack().advice.higherLevel, c.advised);
  }
}

}  // namespace
