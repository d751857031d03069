#include "model/StylePresets.h"

namespace quillet {

namespace {

constexpr Rgb BrandBlue{0x1a, 0x23, 0x7e}, BrandRed{0xc6, 0x28, 0x28};

constexpr StylePresetRow PresetTable[] = {
    {StylePreset::Classic, ModuleShape::Square, EyeShape::Square, Black, std::nullopt},
    {StylePreset::Dots, ModuleShape::Dots, EyeShape::Circle, Black, std::nullopt},
    {StylePreset::Rounded, ModuleShape::Rounded, EyeShape::Rounded, Black, std::nullopt},
    {StylePreset::Brand, ModuleShape::Rounded, EyeShape::Rounded, BrandBlue, BrandRed},
};

const StylePresetRow& RowOf(StylePreset preset) {
  for (const StylePresetRow& row : PresetTable)
    if (row.preset == preset) return row;
  return PresetTable[0];
}

constexpr std::string_view ForegroundKey = "foreground", BackgroundKey = "background",
                           TransparentKey = "transparent", ModuleShapeKey = "moduleShape",
                           EyeShapeKey = "eyeShape", EyeColourKey = "eyeColour";

}  // namespace

std::span<const StylePresetRow> StylePresets() { return PresetTable; }

bool PresetFor(Symbology symbology, StylePreset preset) {
  return symbology == Symbology::QrCode || ShapeForDataMatrix(RowOf(preset).moduleShape);
}

SymbolStyle WithPreset(SymbolStyle style, StylePreset preset, Symbology symbology) {
  const StylePresetRow& row = RowOf(preset);
  const bool eyes = symbology == Symbology::QrCode;
  style.moduleShape = row.moduleShape;
  style.eyeShape = eyes ? row.eyeShape : EyeShape::Square;
  style.foreground = row.foreground;
  style.background = White;
  style.eyeColour = eyes ? row.eyeColour : std::nullopt;
  return style;
}

std::optional<StylePreset> PresetOf(const SymbolStyle& style, Symbology symbology) {
  for (const StylePresetRow& row : PresetTable) {
    const SymbolStyle preset = WithPreset(style, row.preset, symbology);
    if (PresetFor(symbology, row.preset) && style.moduleShape == preset.moduleShape &&
        style.eyeShape == preset.eyeShape && style.foreground == preset.foreground && style.background == White &&
        style.EyeColour() == preset.EyeColour())
      return row.preset;
  }
  return std::nullopt;
}

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
