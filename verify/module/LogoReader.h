// Logo files to RGBA pixels: PNG and JPEG through libpng and libjpeg, SVG
// drawn by librsvg. The kind comes from the bytes; sides are checked before
// any pixel buffer is allocated.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "image/SymbolStyle.h"

// On failure nullopt and `error`: "too large", "not a logo" or the library's reason.
std::optional<RgbaImage> ReadLogo(std::string_view bytes, std::string* error);
