// Named styles that set a symbol's shapes and colours at once: the window
// offers them by caption, the command line (--preset) by name.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "image/SymbolStyle.h"
#include "symbol/Symbology.h"

namespace quillet {

enum class StylePreset { Classic, Dots, Rounded, Brand };

struct StylePresetRow {
  StylePreset preset;
  std::string_view name;     // ASCII, for --preset
  std::string_view caption;  // the window's
  ModuleShape moduleShape;
  EyeShape eyeShape;
  Rgb foreground;
  std::optional<Rgb> eyeColour;  // unset: the foreground's
};

// In the order the dialog and the help offer them.
std::span<const StylePresetRow> StylePresets();
const StylePresetRow& PresetRow(StylePreset preset);
// By its name, among the presets the symbology takes.
std::optional<StylePreset> ParseStylePreset(std::string_view name, Symbology symbology);

// Data Matrix takes dots only besides squares: a preset of other modules is
// not offered for it.
bool PresetFor(Symbology symbology, StylePreset preset);

// The preset's shapes and colours on a white background (Data Matrix: without
// the eyes it has none of); the logo and its size and a transparent
// background stay as they were.
SymbolStyle WithPreset(SymbolStyle style, StylePreset preset, Symbology symbology);

// The preset whose shapes and colours the style has, if one does.
std::optional<StylePreset> PresetOf(const SymbolStyle& style, Symbology symbology);

}  // namespace quillet
