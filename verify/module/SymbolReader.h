// Inside the read-back module: every symbol in an image of unknown content.
#pragma once

#include "verify/ReadSymbols.h"

namespace quillet {

SymbolsInImage ReadSymbolsFromFile(const std::string& path);
SymbolsInImage ReadSymbolsFromBytes(std::string_view bytes);
SymbolsInImage ReadSymbolsFromPixels(const uint8_t* pixels, int width, int height);

}  // namespace quillet
