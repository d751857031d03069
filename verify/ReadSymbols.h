// Reading symbols from an image that was not made here: a photo, a scan, a
// screenshot. Every QR Code and Data Matrix symbol found, with the bytes as
// encoded (not text re-encoded) and the QR level where a decoder tells it.
// The decoders live in the read-back module, opened on first use.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "qr/QrLevel.h"
#include "symbol/Symbology.h"
#include "verify/ImageRead.h"

namespace quillet {

// Where a symbol lies, in the image's pixels: the box around its corners.
struct SymbolBox {
  int left = 0, top = 0, right = 0, bottom = 0;

  bool Overlaps(const SymbolBox& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
  int Side() const { return std::max(right - left, bottom - top); }
};

struct FoundSymbol {
  Symbology symbology = Symbology::QrCode;
  std::string bytes;
  std::optional<QrLevel> level;  // QR Code only, when the decoder reports it
  std::string decoder;           // "zxing-cpp", "zbar", "libdmtx"
  std::optional<SymbolBox> box;  // when the decoder tells where
};

// No symbols and no problem: the image was read, and nothing was found in it.
struct SymbolsInImage {
  ImageReadProblem problem;
  std::vector<FoundSymbol> symbols;

  bool ImageRead() const { return problem.failure == ImageReadFailure::None; }
};

// Set from another thread, it ends a read at its next stage (the decoding,
// the quick look, each tile, each decoder); the read then returns what it
// found so far, which whoever stopped it drops.
using ReadStop = std::atomic<bool>;

// The file's content decides how it is read (PNG, JPEG, GIF, BMP), never its name.
SymbolsInImage ReadSymbolsInFile(const std::string& path, const ReadStop* stop = nullptr);
SymbolsInImage ReadSymbolsInBytes(std::string_view bytes, const ReadStop* stop = nullptr);
// Pixels in memory (a pasted picture), 8-bit grey, row after row.
SymbolsInImage ReadSymbolsInPixels(const uint8_t* pixels, int width, int height, const ReadStop* stop = nullptr);

}  // namespace quillet
