#include "model/StylePresets.h"

namespace quillet {

namespace {

constexpr std::string_view ForegroundKey = "foreground", BackgroundKey = "background",
                           TransparentKey = "transparent", ModuleShapeKey = "moduleShape",
                           EyeShapeKey = "eyeShape", EyeColourKey = "eyeColour";

}  // namespace

std::vector<std::pair<std::string, std::string>> StyleValues(const SymbolStyle& style) {
  std::vector<std::pair<std::string, std::string>> values{
      {std::string(ForegroundKey), FormatColour(style.foreground)},
      {std::string(BackgroundKey), FormatColour(style.background)},
      {std::string(TransparentKey), style.transparentBackground ? "true" : "false"},
      {std::string(ModuleShapeKey), std::string(ShapeName(style.moduleShape))},
      {std::string(EyeShapeKey), std::string(ShapeName(style.eyeShape))},
      {std::string(EyeColourKey), style.eyeColour ? FormatColour(*style.eyeColour) : std::string()},
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
  if (symbology != Symbology::QrCode) return style;
  style.eyeShape = ParseEyeShape(text(EyeShapeKey)).value_or(EyeShape::Square);
  style.eyeColour = colour(EyeColourKey);
  return style;
}

}  // namespace quillet
