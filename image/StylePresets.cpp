#include "image/StylePresets.h"

namespace quillet {

namespace {

constexpr Rgb BrandBlue{0x1a, 0x23, 0x7e}, BrandRed{0xc6, 0x28, 0x28};

constexpr StylePresetRow PresetTable[] = {
    {StylePreset::Classic, "classic", "经典", ModuleShape::Square, EyeShape::Square, Black, std::nullopt},
    {StylePreset::Dots, "dots", "圆点", ModuleShape::Dots, EyeShape::Circle, Black, std::nullopt},
    {StylePreset::Rounded, "rounded", "圆角", ModuleShape::Rounded, EyeShape::Rounded, Black, std::nullopt},
    {StylePreset::Brand, "brand", "品牌", ModuleShape::Rounded, EyeShape::Rounded, BrandBlue, BrandRed},
};

}  // namespace

std::span<const StylePresetRow> StylePresets() { return PresetTable; }

const StylePresetRow& PresetRow(StylePreset preset) {
  for (const StylePresetRow& row : PresetTable)
    if (row.preset == preset) return row;
  return PresetTable[0];
}

std::optional<StylePreset> ParseStylePreset(std::string_view name, Symbology symbology) {
  for (const StylePresetRow& row : PresetTable)
    if (row.name == name && PresetFor(symbology, row.preset)) return row.preset;
  return std::nullopt;
}

bool PresetFor(Symbology symbology, StylePreset preset) {
  return symbology == Symbology::QrCode || ShapeForDataMatrix(PresetRow(preset).moduleShape);
}

SymbolStyle WithPreset(SymbolStyle style, StylePreset preset, Symbology symbology) {
  const StylePresetRow& row = PresetRow(preset);
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

}  // namespace quillet
