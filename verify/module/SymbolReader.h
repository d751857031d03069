// Inside the read-back module: every symbol in an image of unknown content.
#pragma once

#include "verify/ReadSymbols.h"

namespace quillet {

SymbolsInImage ReadSymbolsFromFile(const std::string& path, const ReadStop* stop);
SymbolsInImage ReadSymbolsFromBytes(std::string_view bytes, const ReadStop* stop);
SymbolsInImage ReadSymbolsFromPixels(const uint8_t* pixels, int width, int height, const ReadStop* stop);

}  // namespace quillet
