// The independent decoders, each given the same grey pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "verify/ReadSymbols.h"
#include "verify/module/ImageReaders.h"

namespace quillet {

// The symbol's bytes as zxing-cpp reads them; nullopt when it finds none.
std::optional<std::string> DecodeWithZxing(const GreyPixels& image, bool dataMatrix);
// The bytes as zbar reads them, without its text conversion. It scans every
// `lineSpacing`th row and column: with modules of several pixels each is still
// crossed, in a fraction of the time.
std::optional<std::string> DecodeWithZbar(const GreyPixels& image, int lineSpacing = 1);
// The bytes as libdmtx reads them; `moduleSide` (pixels, 0 unknown) lets it
// work on a reduced image, which keeps large symbols quick. `timeoutMs` bounds
// the search of a photo that may hold no symbol; 0, for the images we draw,
// bounds it by the image alone, so that the answer is the same on a busy machine.
std::optional<std::string> DecodeWithDmtx(const GreyPixels& image, int moduleSide, int timeoutMs = 0);

// A rectangle of an image's pixels.
struct PixelArea {
  int left = 0, top = 0, width = 0, height = 0;
};

// Every QR Code and Data Matrix symbol zxing-cpp finds in an image of
// unknown content, at any angle, with its level and box.
std::vector<FoundSymbol> FindWithZxing(const GreyPixels& image);
// The same in one area of the image; the boxes in the image's pixels.
std::vector<FoundSymbol> FindWithZxing(const GreyPixels& image, const PixelArea& area);
// The Data Matrix symbols libdmtx finds in one area of the image, with their
// boxes in the image's pixels; it gives up after `timeoutMs`.
std::vector<FoundSymbol> FindWithDmtx(const GreyPixels& image, const PixelArea& area, int timeoutMs);
// Every QR Code symbol zbar finds, as bytes.
std::vector<FoundSymbol> FindWithZbar(const GreyPixels& image);

}  // namespace quillet
