// Named styles and the style kept between runs, without a display.
#include <gtest/gtest.h>

#include <map>

#include "model/StylePresets.h"
#include "model/StyleState.h"

using namespace quillet;

namespace {

Symbol MadeFor(Symbology symbology) {
  SymbolRequest request;
  request.symbology = symbology;
  request.data = "https://example.com/preset";
  const SymbolResult made = MakeSymbol(request);
  EXPECT_TRUE(made.Ok());
  return made.symbol;
}

std::shared_ptr<const RgbaImage> Logo() {
  return std::make_shared<const RgbaImage>(RgbaImage{1, 1, {200, 0, 0, 255}});
}

}  // namespace

// Each preset the page offers sets its shapes and colours, is named again by
// them, keeps the logo, and its symbol passes the rules and reads back.
TEST(StylePresets, EachOfferedPresetIsRecognisedKeepsTheLogoAndReadsBack) {
  const struct {
    Symbology symbology;
    std::vector<StylePreset> offered;
  } pages[] = {
      {Symbology::QrCode, {StylePreset::Classic, StylePreset::Dots, StylePreset::Rounded, StylePreset::Brand}},
      {Symbology::DataMatrix, {StylePreset::Classic, StylePreset::Dots}},
  };
  for (const auto& page : pages) {
    std::vector<StylePreset> offered;
    for (const StylePresetRow& row : StylePresets())
      if (PresetFor(page.symbology, row.preset)) offered.push_back(row.preset);
    EXPECT_EQ(offered, page.offered);
    const Symbol symbol = MadeFor(page.symbology);
    for (const StylePreset preset : offered) {
      SCOPED_TRACE(static_cast<int>(preset));
      SymbolStyle before;
      before.background = Rgb{1, 2, 3};
      before.logo = page.symbology == Symbology::QrCode ? Logo() : nullptr;
      const SymbolStyle style = WithPreset(before, preset, page.symbology);
      EXPECT_EQ(PresetOf(style, page.symbology), preset);
      EXPECT_EQ(style.logo, before.logo);
      EXPECT_EQ(style.background, White);
      if (page.symbology == Symbology::DataMatrix) EXPECT_FALSE(style.eyeColour || style.eyeShape != EyeShape::Square);
      StyleState state;
      state.SetStyle(PageStyle{style, {}, {}});
      ImageOptions options;
      if (state.Draw(symbol, options)) {
        const StyledSymbolCheck check = PlaceAndReadBack(symbol, style, options);
        EXPECT_TRUE(check.Ok());
      }
      EXPECT_FALSE(state.Refused());
    }
  }
  SymbolStyle changed = WithPreset({}, StylePreset::Brand, Symbology::QrCode);
  changed.eyeColour = Black;
  EXPECT_EQ(PresetOf(changed, Symbology::QrCode), std::nullopt);
}

// The style comes back from its values as it was; values a hand or another
// version left unreadable, and what the page's symbology does not take,
// leave it plain there.
TEST(StylePresets, TheStyleComesBackFromItsValuesAndBadOnesStayPlain) {
  SymbolStyle style = WithPreset({}, StylePreset::Brand, Symbology::QrCode);
  style.transparentBackground = true;
  style = WithGradient(style, Gradient::Linear);
  style.frameText = "扫一扫，加我为联系人";
  style.framePosition = FramePosition::Above;
  style.frameColour = Rgb{0x12, 0x34, 0x56};
  style.logoPad = LogoPad::Square;
  std::map<std::string, std::string, std::less<>> kept;
  for (const auto& [key, value] : StyleValues(style)) kept[key] = value;
  const auto from = [&](const std::map<std::string, std::string, std::less<>>& values) {
    return [&values](std::string_view key) -> std::optional<std::string> {
      const auto found = values.find(key);
      return found == values.end() ? std::nullopt : std::optional(found->second);
    };
  };
  const SymbolStyle back = StyleFromValues(from(kept), Symbology::QrCode);
  EXPECT_EQ(StyleValues(back), StyleValues(style));

  const SymbolStyle onDm = StyleFromValues(from(kept), Symbology::DataMatrix);
  EXPECT_EQ(onDm.moduleShape, ModuleShape::Square);  // rounded is not offered there
  EXPECT_FALSE(onDm.eyeColour);
  EXPECT_EQ(onDm.foreground, style.foreground);
  EXPECT_EQ(onDm.logoPad, LogoPad::Shape);  // no logo there
  EXPECT_EQ(onDm.frameText, style.frameText);
  EXPECT_TRUE(onDm.HasGradient());

  std::map<std::string, std::string, std::less<>> bad{{"foreground", "navy"},   {"moduleShape", "Dots"},
                                                       {"eyeShape", "star"},    {"eyeColour", "#12345"},
                                                       {"transparent", "1"},    {"gradient", "Linear"},
                                                       {"secondColour", "#1565c0"}, {"frameText", "a\nb"},
                                                       {"framePosition", "left"}, {"logoPad", "round"}};
  const SymbolStyle fallen = StyleFromValues(from(bad), Symbology::QrCode);
  EXPECT_TRUE(fallen.IsPlain());
  EXPECT_EQ(fallen.framePosition, FramePosition::Below);
  EXPECT_EQ(fallen.logoPad, LogoPad::Shape);
  // A caption of only blanks, as one kept before blanks went, is no frame.
  bad["frameText"] = "\u3000 \t";
  EXPECT_FALSE(StyleFromValues(from(bad), Symbology::QrCode).HasFrame());
}
