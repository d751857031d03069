// Named styles that set a page's shapes and colours at once, and the style
// as text values for the settings that remember it between runs.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "image/SymbolStyle.h"
#include "symbol/Symbology.h"

namespace quillet {

enum class StylePreset { Classic, Dots, Rounded, Brand };

struct StylePresetRow {
  StylePreset preset;
  ModuleShape moduleShape;
  EyeShape eyeShape;
  Rgb foreground;
  std::optional<Rgb> eyeColour;  // unset: the foreground's
};

// In the order the dialog offers them.
std::span<const StylePresetRow> StylePresets();

// Data Matrix takes dots only besides squares: a preset of other modules is
// not offered on its page.
bool PresetFor(Symbology symbology, StylePreset preset);

// The preset's shapes and colours on a white background (Data Matrix: without
// the eyes it has none of); the logo and its size and a transparent
// background stay as they were.
SymbolStyle WithPreset(SymbolStyle style, StylePreset preset, Symbology symbology);

// The preset whose shapes and colours the style has, if one does.
std::optional<StylePreset> PresetOf(const SymbolStyle& style, Symbology symbology);

// The colours and shapes as named values, "foreground" = "#1a237e", ...;
// the logo is not kept.
std::vector<std::pair<std::string, std::string>> StyleValues(const SymbolStyle& style);
// Back from the values `lookup` finds (nullopt: not kept); a value missing
// or unreadable, or a shape the symbology does not take, stays plain.
SymbolStyle StyleFromValues(const std::function<std::optional<std::string>(std::string_view)>& lookup,
                            Symbology symbology);

}  // namespace quillet
