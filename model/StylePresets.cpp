#include "model/StylePresets.h"

#include "image/SymbolFrame.h"

namespace quillet {

namespace {

constexpr std::string_view ForegroundKey = "foreground", BackgroundKey = "background",
                           TransparentKey = "transparent", ModuleShapeKey = "moduleShape",
                           EyeShapeKey = "eyeShape", EyeColourKey = "eyeColour", GradientKey = "gradient",
                           SecondColourKey = "secondColour", FrameTextKey = "frameText",
                           FramePositionKey = "framePosition", FrameColourKey = "frameColour",
                           LogoPadKey = "logoPad";

std::string OptionalColour(const std::optional<Rgb>& colour) { return colour ? FormatColour(*colour) : std::string(); }

}  // namespace

std::vector<std::pair<std::string, std::string>> StyleValues(const SymbolStyle& style) {
  std::vector<std::pair<std::string, std::string>> values{
      {std::string(ForegroundKey), FormatColour(style.foreground)},
      {std::string(BackgroundKey), FormatColour(style.background)},
      {std::string(TransparentKey), style.transparentBackground ? "true" : "false"},
      {std::string(ModuleShapeKey), std::string(ShapeName(style.moduleShape))},
      {std::string(EyeShapeKey), std::string(ShapeName(style.eyeShape))},
      {std::string(EyeColourKey), OptionalColour(style.eyeColour)},
      {std::string(GradientKey), std::string(GradientName(style.gradient))},
      {std::string(SecondColourKey), OptionalColour(style.foreground2)},
      {std::string(FrameTextKey), style.frameText},
      {std::string(FramePositionKey), std::string(FramePositionName(style.framePosition))},
      {std::string(FrameColourKey), OptionalColour(style.frameColour)},
      {std::string(LogoPadKey), std::string(ShapeName(style.logoPad))},
  };
  return values;
}

SymbolStyle StyleFromValues(const std::function<std::optional<std::string>(std::string_view)>& lookup,
                            Symbology symbology) {
  SymbolStyle style;
  const auto colour = [&](std::string_view key) -> std::optional<Rgb> {
    const std::optional<std::string> text = lookup(key);
    return text ? ParseColour(*text) : std::nullopt;
  };
  const auto text = [&](std::string_view key) { return lookup(key).value_or(std::string()); };
  style.foreground = colour(ForegroundKey).value_or(Black);
  style.background = colour(BackgroundKey).value_or(White);
  style.transparentBackground = text(TransparentKey) == "true";
  const std::optional<ModuleShape> module = ParseModuleShape(text(ModuleShapeKey));
  if (module && (symbology == Symbology::QrCode || ShapeForDataMatrix(*module))) style.moduleShape = *module;
  style.gradient = ParseGradient(text(GradientKey)).value_or(Gradient::None);
  style.foreground2 = colour(SecondColourKey);
  // A caption edited by hand into one no frame draws is dropped, not refused at every symbol.
  if (std::string caption = TrimCaption(text(FrameTextKey)); CheckCaptionText(caption).Ok())
    style.frameText = std::move(caption);
  style.framePosition = ParseFramePosition(text(FramePositionKey)).value_or(FramePosition::Below);
  style.frameColour = colour(FrameColourKey);
  if (symbology != Symbology::QrCode) return style;
  style.logoPad = ParseLogoPad(text(LogoPadKey)).value_or(LogoPad::Shape);
  style.eyeShape = ParseEyeShape(text(EyeShapeKey)).value_or(EyeShape::Square);
  style.eyeColour = colour(EyeColourKey);
  return style;
}

}  // namespace quillet
