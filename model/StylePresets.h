// The style as text values for the settings that remember it between runs;
// the named styles themselves are the image layer's.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "image/StylePresets.h"
#include "image/SymbolStyle.h"
#include "symbol/Symbology.h"

namespace quillet {

// The colours and shapes as named values, "foreground" = "#1a237e", ...;
// the logo is not kept.
std::vector<std::pair<std::string, std::string>> StyleValues(const SymbolStyle& style);
// Back from the values `lookup` finds (nullopt: not kept); a value missing
// or unreadable, or a shape the symbology does not take, stays plain.
SymbolStyle StyleFromValues(const std::function<std::optional<std::string>(std::string_view)>& lookup,
                            Symbology symbology);

}  // namespace quillet
