// Logo files to RGBA pixels: PNG and JPEG through libpng and libjpeg, SVG
// drawn by librsvg. The kind comes from the bytes; sides are checked before
// any pixel buffer is allocated.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "image/SymbolStyle.h"
#include "verify/LogoFile.h"

namespace quillet {

std::optional<RgbaImage> ReadLogo(std::string_view bytes, LogoReadProblem* problem);

}  // namespace quillet
